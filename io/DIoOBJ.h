#pragma once

#include "io/DIoPartBase.h"

// Wavefront OBJ reader: "v x y z" vertices and "f" faces (polygons fanned from their first
// reference; "i", "i/t", "i/t/n" and "i//n" references, 1-based). Comments run from "#" to the
// end of the line; other statements are ignored. Vertices are shared, the mesh is not welded.
// Rejects faces with fewer than three references ("Face found with less three indices."),
// zero, negative (relative) and out-of-range indices, and files without faces.
class DIoOBJ : public DIoPartBase
{
  public:
    std::shared_ptr<Mesh3D> read() override;
};
