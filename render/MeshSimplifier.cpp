#include "render/MeshSimplifier.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <unordered_map>

namespace Orvane3Ds
{

namespace
{

constexpr std::size_t PollEvery = 1u << 16;

bool cancelled(const std::atomic<bool> *cancel)
{
    return cancel && cancel->load(std::memory_order_relaxed);
}

struct Clusters {
    std::vector<std::uint32_t> ofVertex; // cluster index per vertex
    std::vector<Vec3f> positions;        // mean position per cluster
};

// Assigns every vertex to its grid cell; false when cancelled.
bool cluster(const std::vector<Vec3f> &vertices, const Box3f &box, float cell, Clusters &out,
             const std::atomic<bool> *cancel)
{
    const Vec3f extent = box.extent();
    const auto cells = [cell](float length) {
        return static_cast<std::uint64_t>(std::floor(length / cell)) + 1;
    };
    const std::uint64_t ny = cells(extent.y);
    const std::uint64_t nz = cells(extent.z);
    std::unordered_map<std::uint64_t, std::uint32_t> index;
    index.reserve(std::min<std::size_t>(vertices.size(), 1u << 20));
    std::vector<Vec3f> sums;
    std::vector<std::uint32_t> counts;
    out.ofVertex.resize(vertices.size());
    const float inverse = 1.0f / cell;
    for (std::size_t i = 0; i < vertices.size(); ++i) {
        if (i % PollEvery == 0 && cancelled(cancel))
            return false;
        const Vec3f d = vertices[i] - box.min;
        const auto ix = static_cast<std::uint64_t>(std::max(0.0f, d.x * inverse));
        const auto iy = std::min(ny - 1, static_cast<std::uint64_t>(std::max(0.0f, d.y * inverse)));
        const auto iz = std::min(nz - 1, static_cast<std::uint64_t>(std::max(0.0f, d.z * inverse)));
        const std::uint64_t key = (ix * ny + iy) * nz + iz;
        const auto found = index.emplace(key, static_cast<std::uint32_t>(sums.size()));
        if (found.second) {
            sums.push_back(vertices[i]);
            counts.push_back(1);
        } else {
            sums[found.first->second] += vertices[i];
            ++counts[found.first->second];
        }
        out.ofVertex[i] = found.first->second;
    }
    out.positions.resize(sums.size());
    for (std::size_t c = 0; c < sums.size(); ++c)
        out.positions[c] = sums[c] * (1.0f / static_cast<float>(counts[c]));
    return true;
}

// Faces that survive the clustering, as cluster triples; false when cancelled.
bool collapse(const std::vector<Face> &faces, const Clusters &clusters, std::size_t vertexCount,
              std::vector<Face> &out, const std::atomic<bool> *cancel)
{
    out.clear();
    for (std::size_t f = 0; f < faces.size(); ++f) {
        if (f % PollEvery == 0 && cancelled(cancel))
            return false;
        const Face &face = faces[f];
        if (face[0] >= vertexCount || face[1] >= vertexCount || face[2] >= vertexCount)
            continue;
        Face c;
        for (int k = 0; k < 3; ++k)
            c[k] = clusters.ofVertex[face[k]];
        if (c[0] == c[1] || c[1] == c[2] || c[0] == c[2])
            continue;
        out.push_back(c);
    }
    return true;
}

} // namespace

SimplifiedTriangles simplifyByClustering(const std::vector<Vec3f> &vertices,
                                         const std::vector<Face> &faces, std::size_t targetFaces,
                                         const std::atomic<bool> *cancel)
{
    SimplifiedTriangles result;
    if (faces.size() <= targetFaces || targetFaces == 0 || vertices.empty())
        return result;

    Box3f box;
    for (const Vec3f &v : vertices)
        for (int i = 0; i < 3; ++i) {
            box.min[i] = std::min(box.min[i], v[i]);
            box.max[i] = std::max(box.max[i], v[i]);
        }
    double area = 0.0;
    for (std::size_t f = 0; f < faces.size(); ++f) {
        if (f % PollEvery == 0 && cancelled(cancel))
            return {};
        const Face &face = faces[f];
        if (face[0] >= vertices.size() || face[1] >= vertices.size() || face[2] >= vertices.size())
            continue;
        const Vec3f &a = vertices[face[0]];
        area += 0.5 * (vertices[face[1]] - a).cross(vertices[face[2]] - a).length();
    }
    const float longest = std::max({box.extent().x, box.extent().y, box.extent().z});
    if (!(area > 0.0) || !(longest > 0.0f))
        return result;

    // A surface cut by cells of edge h touches about 1.5 * area / h^2 cells, and a clustered
    // surface keeps about two faces per cell.
    const double target = static_cast<double>(targetFaces);
    // The grid never gets finer than 2^20 cells along the longest side (key stays in 64 bits).
    const float finest = longest / static_cast<float>(1u << 20);
    float cell = std::max(finest, static_cast<float>(std::sqrt(3.0 * area / target)));
    Clusters clusters;
    std::vector<Face> kept;
    for (int pass = 0; pass < 4; ++pass) {
        if (!cluster(vertices, box, cell, clusters, cancel) ||
            !collapse(faces, clusters, vertices.size(), kept, cancel))
            return {};
        const double ratio = static_cast<double>(kept.size()) / target;
        if (ratio <= 1.25 && (ratio >= 0.75 || cell <= finest))
            break;
        if (pass == 3 && ratio <= 1.6)
            break;
        // Face count goes with 1 / h^2.
        cell = std::max(finest, cell * static_cast<float>(std::sqrt(std::max(ratio, 0.05))));
    }
    if (kept.size() >= faces.size())
        return result;

    result.interleaved.reserve(kept.size() * 18);
    for (const Face &c : kept) {
        const Vec3f &a = clusters.positions[c[0]];
        const Vec3f &b = clusters.positions[c[1]];
        const Vec3f &d = clusters.positions[c[2]];
        const Vec3f n = (b - a).cross(d - a);
        if (!(n.length() > 0.0f))
            continue;
        const Vec3f unit = n.normalized();
        for (const Vec3f *p : {&a, &b, &d})
            result.interleaved.insert(result.interleaved.end(),
                                      {p->x, p->y, p->z, unit.x, unit.y, unit.z});
    }
    result.faceCount = result.interleaved.size() / 18;
    result.cellSize = cell;
    return result;
}

} // namespace Orvane3Ds
