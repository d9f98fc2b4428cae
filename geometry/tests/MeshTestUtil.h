#pragma once

#include "geometry/Mesh3D.h"

#include "testsupport/TestFiles.h"

// Fills a mesh as a triangle soup from the shared test triangles.
inline void fillSoup(Mesh3D &mesh, const std::vector<testsupport::Triangle> &triangles)
{
    mesh.vertices().clear();
    mesh.faces().clear();
    for (const auto &t : triangles) {
        const auto base = std::uint32_t(mesh.vertices().size());
        for (const auto &v : t)
            mesh.vertices().push_back({v[0], v[1], v[2]});
        mesh.faces().push_back(Face{{base, base + 1, base + 2}});
    }
    mesh.recomputeBounds();
    mesh.computeFaceNormals();
    mesh.computeCentroid();
}
