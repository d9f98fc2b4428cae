#pragma once

#include "geometry/Vec3.h"

#include <cstdint>
#include <vector>

// How the support code finds the model faces near a point, a ray or a box.
enum class QueryMode {
    Indexed,   // bounding-volume hierarchy over the faces and grids over points (default)
    Reference, // every face, every point: the plain scans the indexed mode must agree with
};

// Ray and box queries against one triangle mesh, read-only once built.
//
// Every query first selects the faces whose bounding box overlaps a query box (inclusive
// comparisons on the float boxes) and then tests single triangles. The reference mode scans all
// faces in index order; the indexed mode walks a bounding-volume hierarchy. Both select exactly the
// same faces, and "nearest" queries break distance ties by the lower face index, so the two modes
// give identical answers.
class MeshQuery
{
  public:
    struct Hit {
        float t = 0.0f;
        std::uint32_t face = 0;
    };

    MeshQuery(const std::vector<Vec3f> &vertices, const std::vector<Face> &faces,
              QueryMode mode = QueryMode::Indexed);

    QueryMode mode() const { return m_mode; }
    std::size_t faceCount() const { return m_faces.size(); }
    const std::vector<Vec3f> &vertices() const { return m_vertices; }
    const std::vector<Face> &faces() const { return m_faces; }
    const Box3f &faceBox(std::uint32_t f) const { return m_faceBoxes[f]; }
    const Box3f &bounds() const { return m_bounds; }
    // Unit normal of the face computed from its corners ((b - a) x (c - a), normalised).
    Vec3f faceNormal(std::uint32_t f) const;

    // True when one of the rays, tested against the faces overlapping `box`, hits at a distance
    // t with tMin < t < tMax (strict on both ends).
    bool anyHitOpen(const Box3f &box, const Vec3f *origins, const Vec3f *dirs, int rayCount,
                    float tMin, float tMax) const;
    // Nearest hit of one ray among the faces overlapping `box` whose distance satisfies
    // tMin < t (or tMin <= t when `tMinInclusive`) and t <= tMax (or t < tMax when
    // `tMaxExclusive`). Ties go to the lowest face index. False when nothing qualifies.
    bool nearestHit(const Box3f &box, const Vec3f &origin, const Vec3f &dir, float tMin,
                    bool tMinInclusive, float tMax, bool tMaxExclusive, Hit *hit) const;

    // Calls fn(faceIndex) for every face whose box overlaps `box`; fn returns true to stop.
    // The reference mode visits in index order; the indexed mode in hierarchy order.
    template <typename Fn> void visitFaces(const Box3f &box, Fn &&fn) const;

  private:
    struct Node {
        Box3f box;
        std::uint32_t first = 0; // leaf: first entry in m_order; inner: index of the left child
        std::uint32_t count = 0; // leaf: number of faces; 0 for an inner node
    };

    void build();
    std::uint32_t buildNode(std::uint32_t first, std::uint32_t count, std::vector<Vec3f> &centres);

    const std::vector<Vec3f> &m_vertices;
    const std::vector<Face> &m_faces;
    QueryMode m_mode;
    std::vector<Box3f> m_faceBoxes;
    Box3f m_bounds;
    std::vector<Node> m_nodes;
    std::vector<std::uint32_t> m_order;
};

template <typename Fn> void MeshQuery::visitFaces(const Box3f &box, Fn &&fn) const
{
    auto overlaps = [&box](const Box3f &b) {
        return b.min.x <= box.max.x && b.max.x >= box.min.x && b.min.y <= box.max.y &&
               b.max.y >= box.min.y && b.min.z <= box.max.z && b.max.z >= box.min.z;
    };
    if (m_mode == QueryMode::Reference) {
        for (std::uint32_t f = 0; f < m_faceBoxes.size(); ++f)
            if (overlaps(m_faceBoxes[f]) && fn(f))
                return;
        return;
    }
    if (m_nodes.empty())
        return;
    std::uint32_t stack[64];
    int top = 0;
    stack[top++] = 0;
    while (top > 0) {
        const Node &node = m_nodes[stack[--top]];
        if (!overlaps(node.box))
            continue;
        if (node.count > 0) {
            for (std::uint32_t i = node.first; i < node.first + node.count; ++i) {
                const std::uint32_t f = m_order[i];
                if (overlaps(m_faceBoxes[f]) && fn(f))
                    return;
            }
        } else {
            stack[top++] = node.first + 1;
            stack[top++] = node.first;
        }
    }
}
