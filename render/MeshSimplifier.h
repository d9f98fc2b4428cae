#pragma once

#include "geometry/Vec3.h"

#include <atomic>
#include <cstddef>
#include <vector>

namespace Orvane3Ds
{

// A coarse stand-in for a large triangle mesh, drawn while the camera moves.
struct SimplifiedTriangles {
    // Per corner: position x, y, z then the face normal x, y, z (the lit-mesh buffer layout,
    // 72 bytes per face), three corners per face.
    std::vector<float> interleaved;
    std::size_t faceCount = 0;
    float cellSize = 0.0f; // edge of the clustering grid cell, millimetres
};

// Vertex clustering: vertices falling into the same cell of a uniform grid merge into their
// mean position; faces whose corners end up in fewer than three cells disappear. The cell size
// is chosen from the surface area and refined (a few passes) so the result lands near
// `targetFaces`. Face winding is kept, so front and back stay what they were.
//
// Returns an empty result when the mesh already has no more than `targetFaces` faces, when it
// is empty, or when `cancel` becomes true (polled regularly). Safe to call on a worker thread
// with its own copies of the arrays.
SimplifiedTriangles simplifyByClustering(const std::vector<Vec3f> &vertices,
                                         const std::vector<Face> &faces, std::size_t targetFaces,
                                         const std::atomic<bool> *cancel = nullptr);

} // namespace Orvane3Ds
