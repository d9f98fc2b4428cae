#pragma once

#include "geometry/Model.h"
#include "geometry/SupportParameters.h"

#include <memory>
#include <vector>

// Small meshes generated in code for the support tests.
namespace fixtures
{

struct MeshData {
    std::vector<Vec3f> vertices;
    std::vector<Face> faces;

    void append(const MeshData &other);
};

// Axis-aligned box, faces wound outward.
MeshData box(const Vec3f &min, const Vec3f &max);
// UV sphere around c: `stacks` bands from the south pole to the north pole, `slices` around.
MeshData sphere(const Vec3f &c, float r, int stacks, int slices);
// A lumpy, slightly noisy blob like a scanned part: the sphere's vertices pushed in and out by
// smooth waves and a small deterministic noise (seeded).
MeshData blob(const Vec3f &c, float r, int stacks, int slices, std::uint32_t seed);
// Torus lying flat (axis along z) around c, ring radius R, tube radius r.
MeshData torus(const Vec3f &c, float R, float r, int ringSegments, int tubeSegments);
// A vault: half of a thick cylindrical shell with its axis along y at height 0, standing on the
// platform on both feet; its inner surface overhangs.
MeshData vault(float innerRadius, float outerRadius, float length, int segments);
// A table: a slab from z = legHeight to legHeight + thickness on four legs.
MeshData table(float size, float legHeight, float thickness, float legSize);
// A square frame with a hole (four boxes) lifted to z0.
MeshData frame(float outer, float inner, float z0, float thickness);

// Thin supports sized for the small meshes here: 0.4 mm columns, 0.3 mm tips, 0.2 mm links,
// 4 mm apart; everything else default.
SupportParameters thinParams();
// thinParams() on a 1.2 mm base reaching 2.5 mm out, with a 5 mm lift for a model that does not
// stand on supports of its own yet (`hasSupports` false).
SupportParameters basedParams(bool hasSupports);

// A model made of the mesh with face normals, bounds and centroid computed.
std::shared_ptr<Model> makeModel(const MeshData &mesh);

} // namespace fixtures
