#pragma once

#include "geometry/IProgressable.h"
#include "io/VxpjFormat.h"

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <memory>
#include <vector>

class Model;
class QIODevice;
class QSaveFile;

// Common part of the project writers: the output, its buffer and the save sequence.
//
// Writing to a path goes through a temporary file beside the target that replaces the target
// only after the whole project was written and flushed, so a failed or cancelled save leaves
// the previous file as it was. The writer is a progress object: give it the caller's progress
// object as parent and clear the cancel flag before save().
class DVxpjSerializBase : public IProgressable
{
  public:
    using ModelList = std::vector<std::shared_ptr<Model>>;

    // Prepares writing models (scene order) to path. Throws DIoError("Vxpj file open error: ...")
    // when the temporary file cannot be created; the target is not touched then.
    DVxpjSerializBase(const QString &path, ModelList models);
    // Writes into an open device owned by the caller (in-memory data, tests).
    DVxpjSerializBase(QIODevice *device, ModelList models);
    ~DVxpjSerializBase() override;

    // Writes the whole project. Returns true, or false when writing failed or was cancelled
    // (errorMessage() then tells why and the target keeps its previous content). In every case
    // reports 100 % "Success Saved" at the end.
    bool save();
    const QString &errorMessage() const { return m_error; }

    // Turns manual supports into the rods of the file; a model with manual supports cannot be
    // saved without a valid codec.
    void setRodCodec(Vxpj::RodCodec codec) { m_rodCodec = std::move(codec); }

  protected:
    virtual std::int32_t version() const = 0;
    // Everything after the header; throws DIoError on failure.
    virtual void writeBody() = 0;

    // Buffered little-endian output.
    void putInt32(std::int32_t v);
    void putFloat(float v);
    void putBool(bool v);
    void putPoint(const Point3f &p);
    void putBytes(const QByteArray &bytes);
    void putZeros(int count);
    // Writes count elements of 12 bytes (points or faces) straight from memory, checking the
    // cancel flag and reporting progress under stage between chunks.
    void putBlock(const void *data, std::int64_t count, const QString &stage);
    // A count as int32; throws when it does not fit.
    void putCount(std::size_t count, const char *what);

    void checkCancel() const;
    const ModelList &models() const { return m_models; }
    const Vxpj::RodCodec &rodCodec() const { return m_rodCodec; }

  private:
    void writeHeader();
    void flushBuffer();
    [[noreturn]] void writeFailed() const;

    std::unique_ptr<QSaveFile> m_saveFile;
    QIODevice *m_device = nullptr;
    ModelList m_models;
    QByteArray m_buffer;
    QString m_error;
    Vxpj::RodCodec m_rodCodec;
};
