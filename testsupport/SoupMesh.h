#pragma once

#include "geometry/Mesh3D.h"
#include "geometry/Model.h"
#include "testsupport/TestFiles.h"

#include <memory>
#include <vector>

namespace testsupport
{

// Replaces the mesh by a triangle soup (three vertices of its own per face), bounds and face
// normals computed. The centroid is left to the caller.
inline void fillSoup(Mesh3D &mesh, const std::vector<Triangle> &triangles)
{
    mesh.vertices().clear();
    mesh.faces().clear();
    for (const auto &t : triangles) {
        const auto base = static_cast<std::uint32_t>(mesh.vertices().size());
        for (const auto &v : t)
            mesh.vertices().push_back(Vec3f{v[0], v[1], v[2]});
        mesh.faces().push_back(Face{{base, base + 1, base + 2}});
    }
    mesh.recomputeBounds();
    mesh.computeFaceNormals();
}

// A model of the box (x0,y0,z0)-(x1,y1,z1) as 12 soup faces wound outward, bounds and face
// normals computed.
inline std::shared_ptr<Model> soupBoxModel(float x0, float y0, float z0, float x1, float y1,
                                           float z1)
{
    auto model = std::make_shared<Model>();
    fillSoup(*model, boxTriangles(x0, y0, z0, x1, y1, z1));
    return model;
}

} // namespace testsupport
