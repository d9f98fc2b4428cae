#pragma once

#include "testsupport/SoupMesh.h"

// Fills a mesh as a triangle soup from the shared test triangles, centroid included.
inline void fillSoup(Mesh3D &mesh, const std::vector<testsupport::Triangle> &triangles)
{
    testsupport::fillSoup(mesh, triangles);
    mesh.computeCentroid();
}
