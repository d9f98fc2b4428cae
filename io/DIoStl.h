#pragma once

#include "io/DIoPartBase.h"

class Model;

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
    // Weld and post-process with their progress levels; returns null when cancelled.
    std::shared_ptr<Mesh3D> finish(std::shared_ptr<Model> model);
};
