#pragma once

#include "io/DVxpjUnserializeBase.h"

#include <QString>

#include <cstdint>
#include <memory>

class QIODevice;

// Version probe and reader factory of project files.
class DVxpjUnserializeFactory
{
  public:
    // Opens the file, reads header length, magic length, magic and version, and returns the
    // version. Throws DIoError("vxpj file version read error") when the file cannot be opened
    // or ends inside those fields, and the damaged-file error for a magic length above 255.
    static std::int32_t probeVersion(const QString &path);
    // The same on an open random-access device; the position is restored afterwards.
    static std::int32_t probeVersion(QIODevice *device);

    // True when the file starts with the project header (standard magic and a version from 1
    // to 5). Never throws; used to recognise projects whose suffix is not ".vxpj".
    static bool hasProjectHeader(const QString &path);

    // Probes the version and creates the reader of exactly that version; other versions throw
    // DIoError("vxpj unserialize failed").
    static std::unique_ptr<DVxpjUnserializeBase> create(const QString &path);
    static std::unique_ptr<DVxpjUnserializeBase> create(QIODevice *device);

  private:
    static std::unique_ptr<DVxpjUnserializeBase>
    createForVersion(std::int32_t version, const QString &path, QIODevice *device);
};
