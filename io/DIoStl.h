#pragma once

#include "io/DIoPartBase.h"

class Model;
class QFile;

// Binary STL reader: 80-byte header, uint32 triangle count, 50 bytes per triangle. The mesh is a
// triangle soup (face i uses vertices 3i..3i+2), welded above the weld threshold.
// Rejects files shorter than their triangle count says and files without triangles.
class DIoStl : public DIoPartBase
{
  public:
    std::shared_ptr<Mesh3D> read() override;

  protected:
    // Parses bytes as binary STL into model (vertices and faces only). Throws DIoError on
    // malformed input; returns false when cancelled.
    bool parseBinary(const QByteArray &bytes, Model &model) const;
    // The same from an open file (positioned at its start), read block by block instead of
    // whole, with the same errors.
    bool streamBinary(QFile &file, Model &model) const;
    // Weld and post-process with their progress levels; returns null when cancelled.
    std::shared_ptr<Mesh3D> finish(std::shared_ptr<Model> model);

  private:
    // The triangle count of the header, checked against the input size; throws DIoError.
    quint32 checkedTriangleCount(const char *header, qint64 size) const;
    // Appends n 50-byte triangle records as triangles first..first+n-1 of the soup.
    static void appendTriangles(const char *records, quint32 first, quint32 n, Model &model);
};
