#include "supports/MeshQuery.h"

#include "supports/SupportMath.h"

#include <algorithm>

namespace
{
constexpr std::uint32_t kLeafSize = 4;
}

MeshQuery::MeshQuery(const std::vector<Vec3f> &vertices, const std::vector<Face> &faces,
                     QueryMode mode)
    : m_vertices(vertices), m_faces(faces), m_mode(mode)
{
    build();
}

Vec3f MeshQuery::faceNormal(std::uint32_t f) const
{
    const Face &face = m_faces[f];
    const Vec3f &a = m_vertices[face[0]];
    return (m_vertices[face[1]] - a).cross(m_vertices[face[2]] - a).normalized();
}

void MeshQuery::build()
{
    const std::size_t n = m_faces.size();
    m_faceBoxes.resize(n);
    std::vector<Vec3f> centres;
    if (m_mode == QueryMode::Indexed)
        centres.resize(n);
    for (std::size_t f = 0; f < n; ++f) {
        Box3f box;
        for (int k = 0; k < 3; ++k)
            SupportMath::growBox(box, m_vertices[m_faces[f][k]]);
        m_faceBoxes[f] = box;
        SupportMath::growBox(m_bounds, box);
        if (m_mode == QueryMode::Indexed)
            centres[f] = box.center();
    }
    if (m_mode != QueryMode::Indexed || n == 0)
        return;
    m_order.resize(n);
    for (std::uint32_t i = 0; i < n; ++i)
        m_order[i] = i;
    m_nodes.reserve(2 * n / kLeafSize + 2);
    m_nodes.emplace_back();
    buildNode(0, static_cast<std::uint32_t>(n), centres);
}

// Builds the subtree over m_order[first, first + count) into the node already reserved at the
// back of m_nodes. Children are stored next to each other, so an inner node names only the left.
std::uint32_t MeshQuery::buildNode(std::uint32_t first, std::uint32_t count,
                                   std::vector<Vec3f> &centres)
{
    // Iterative to keep the stack bounded on degenerate inputs. Splits at the median of the
    // widest axis of the face centres; boxes are filled bottom-up afterwards.
    struct Task {
        std::uint32_t node, first, count;
    };
    std::vector<Task> tasks;
    tasks.push_back({static_cast<std::uint32_t>(m_nodes.size() - 1), first, count});
    while (!tasks.empty()) {
        const Task task = tasks.back();
        tasks.pop_back();
        Box3f centreBox;
        for (std::uint32_t i = task.first; i < task.first + task.count; ++i)
            SupportMath::growBox(centreBox, centres[m_order[i]]);
        const Vec3f ext = centreBox.extent();
        if (task.count <= kLeafSize || (ext.x <= 0.0f && ext.y <= 0.0f && ext.z <= 0.0f)) {
            m_nodes[task.node].first = task.first;
            m_nodes[task.node].count = task.count;
            continue;
        }
        const int axis = ext.x >= ext.y && ext.x >= ext.z ? 0 : (ext.y >= ext.z ? 1 : 2);
        const std::uint32_t half = task.count / 2;
        auto begin = m_order.begin() + task.first;
        std::nth_element(begin, begin + half, begin + task.count,
                         [&centres, axis](std::uint32_t a, std::uint32_t b) {
                             const float ca = centres[a][axis], cb = centres[b][axis];
                             return ca < cb || (ca == cb && a < b);
                         });
        const auto left = static_cast<std::uint32_t>(m_nodes.size());
        m_nodes.emplace_back();
        m_nodes.emplace_back();
        m_nodes[task.node].first = left;
        m_nodes[task.node].count = 0;
        tasks.push_back({left, task.first, half});
        tasks.push_back({left + 1, task.first + half, task.count - half});
    }
    // Children always come after their parent, so a backward sweep sees them first.
    for (std::size_t k = m_nodes.size(); k-- > 0;) {
        Node &node = m_nodes[k];
        Box3f box;
        if (node.count > 0) {
            for (std::uint32_t i = node.first; i < node.first + node.count; ++i)
                SupportMath::growBox(box, m_faceBoxes[m_order[i]]);
        } else {
            SupportMath::growBox(box, m_nodes[node.first].box);
            SupportMath::growBox(box, m_nodes[node.first + 1].box);
        }
        node.box = box;
    }
    return 0;
}

bool MeshQuery::anyHitOpen(const Box3f &box, const Vec3f *origins, const Vec3f *dirs, int rayCount,
                           float tMin, float tMax) const
{
    bool found = false;
    visitFaces(box, [&](std::uint32_t f) {
        const Face &face = m_faces[f];
        const Vec3f &a = m_vertices[face[0]];
        const Vec3f &b = m_vertices[face[1]];
        const Vec3f &c = m_vertices[face[2]];
        for (int r = 0; r < rayCount; ++r) {
            float t, u, v;
            if (SupportMath::rayTriangle(origins[r], dirs[r], a, b, c, &t, &u, &v) && t > tMin &&
                t < tMax) {
                found = true;
                return true;
            }
        }
        return false;
    });
    return found;
}

bool MeshQuery::nearestHit(const Box3f &box, const Vec3f &origin, const Vec3f &dir, float tMin,
                           bool tMinInclusive, float tMax, bool tMaxExclusive, Hit *hit) const
{
    bool found = false;
    Hit best;
    visitFaces(box, [&](std::uint32_t f) {
        const Face &face = m_faces[f];
        float t, u, v;
        if (!SupportMath::rayTriangle(origin, dir, m_vertices[face[0]], m_vertices[face[1]],
                                      m_vertices[face[2]], &t, &u, &v))
            return false;
        if (tMinInclusive ? t < tMin : t <= tMin)
            return false;
        if (tMaxExclusive ? t >= tMax : t > tMax)
            return false;
        if (!found || t < best.t || (t == best.t && f < best.face)) {
            best.t = t;
            best.face = f;
            found = true;
        }
        return false;
    });
    if (found)
        *hit = best;
    return found;
}
