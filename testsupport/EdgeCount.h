#pragma once

#include "geometry/Mesh3D.h"

#include <array>
#include <cstdint>
#include <cstring>
#include <map>
#include <utility>
#include <vector>

namespace testsupport
{

// How often the edges of a mesh are used by its faces.
struct EdgeUse {
    int faces = 0;   // faces counted (faces collapsed to a line or point are left out)
    int open = 0;    // edges used by exactly one face
    int shared = 0;  // edges used by exactly two faces
    int crowded = 0; // edges used by three or more faces

    bool closed() const { return faces > 0 && open == 0 && crowded == 0; }
};

enum class VertexJoin {
    // Corners join when their float positions are equal.
    ExactPosition,
    // Corners join the way the slice engine melds them: truncated to whole micrometres, then the
    // first earlier corner of the same 30 um cell (offset by 15) within 30 um is reused.
    Meld30Microns,
};

// Counts the edge use of `mesh` after joining its corners by position as `join` says. The
// vertex indices of the mesh play no part, so a seam of duplicated vertices counts as shared.
inline EdgeUse edgeUse(const Mesh3D &mesh, VertexJoin join)
{
    using Key = std::array<std::int64_t, 3>;
    std::map<Key, std::vector<int>> cells;
    std::vector<Key> points;
    auto micrometres = [](float mm) {
        return static_cast<std::int64_t>(static_cast<double>(mm) * 1000.0);
    };
    auto joined = [&](const Point3f &p) {
        if (join == VertexJoin::ExactPosition) {
            // The float bit patterns as the key; -0 and +0 are the same position.
            auto bits = [](float c) {
                const float positive = c + 0.0f;
                std::uint32_t b = 0;
                std::memcpy(&b, &positive, sizeof b);
                return static_cast<std::int64_t>(b);
            };
            const Key key{bits(p.x), bits(p.y), bits(p.z)};
            auto &list = cells[key];
            if (list.empty()) {
                list.push_back(static_cast<int>(points.size()));
                points.push_back(key);
            }
            return list.front();
        }
        const Key um{micrometres(p.x), micrometres(p.y), micrometres(p.z)};
        const Key cell{(um[0] + 15) / 30, (um[1] + 15) / 30, (um[2] + 15) / 30};
        auto &list = cells[cell];
        for (int index : list) {
            const Key &q = points[static_cast<std::size_t>(index)];
            const std::int64_t dx = q[0] - um[0], dy = q[1] - um[1], dz = q[2] - um[2];
            if (dx >= -30 && dx <= 30 && dy >= -30 && dy <= 30 && dz >= -30 && dz <= 30 &&
                dx * dx + dy * dy + dz * dz <= 900)
                return index;
        }
        list.push_back(static_cast<int>(points.size()));
        points.push_back(um);
        return list.back();
    };

    EdgeUse use;
    std::map<std::pair<int, int>, int> edges;
    for (const Face &f : mesh.faces()) {
        std::array<int, 3> v{};
        for (int k = 0; k < 3; ++k)
            v[static_cast<std::size_t>(k)] = joined(mesh.vertices()[f[k]]);
        if (v[0] == v[1] || v[1] == v[2] || v[0] == v[2])
            continue;
        ++use.faces;
        for (int k = 0; k < 3; ++k) {
            const int a = v[static_cast<std::size_t>(k)];
            const int b = v[static_cast<std::size_t>((k + 1) % 3)];
            ++edges[{a < b ? a : b, a < b ? b : a}];
        }
    }
    for (const auto &edge : edges) {
        if (edge.second == 1)
            ++use.open;
        else if (edge.second == 2)
            ++use.shared;
        else
            ++use.crowded;
    }
    return use;
}

} // namespace testsupport
