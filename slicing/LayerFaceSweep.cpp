#include "slicing/LayerFaceSweep.h"

#include "slicing/Mesh.h"

#include <algorithm>

namespace Lamellor
{

namespace
{

int64_t floorDiv(int64_t a, int64_t b)
{
    int64_t q = a / b;
    if ((a % b != 0) && ((a < 0) != (b < 0)))
        --q;
    return q;
}

} // namespace

LayerFaceSweep::LayerFaceSweep(const Mesh &mesh, int32_t z0, int32_t step, int layerCount)
    : m_mesh(mesh), m_z0(z0), m_step(step > 0 ? step : 1), m_layerCount(layerCount)
{
    const int faceCount = int(mesh.faces().size());
    std::vector<int32_t> minZ(static_cast<size_t>(faceCount));
    for (int i = 0; i < faceCount; ++i)
        minZ[size_t(i)] = mesh.faceMinZ(i);
    m_byMinZ.reserve(size_t(faceCount));
    for (int i = 0; i < faceCount; ++i)
        m_byMinZ.push_back(i);
    std::sort(m_byMinZ.begin(), m_byMinZ.end(), [&minZ](int a, int b) {
        return minZ[size_t(a)] < minZ[size_t(b)] || (minZ[size_t(a)] == minZ[size_t(b)] && a < b);
    });
}

int64_t LayerFaceSweep::firstLayerAtOrAbove(int64_t z) const
{
    return -floorDiv(int64_t(m_z0) - z, m_step);
}

int64_t LayerFaceSweep::lastLayerAtOrBelow(int64_t z) const
{
    return floorDiv(z - m_z0, m_step);
}

void LayerFaceSweep::window(int first, int count, std::vector<int> &offsets,
                            std::vector<int> &faces)
{
    offsets.assign(size_t(count) + 1, 0);
    faces.clear();
    if (count <= 0)
        return;
    const int64_t low = layerZ(first);
    const int64_t high = layerZ(int64_t(first) + count - 1);

    // Faces ending below this window never cross a later layer either.
    m_active.erase(std::remove_if(m_active.begin(), m_active.end(),
                                  [this, low](int f) { return m_mesh.faceMaxZ(f) < low; }),
                   m_active.end());
    m_incoming.clear();
    while (m_nextByMinZ < m_byMinZ.size()) {
        const int f = m_byMinZ[m_nextByMinZ];
        if (m_mesh.faceMinZ(f) > high)
            break;
        ++m_nextByMinZ;
        if (m_mesh.faceMaxZ(f) >= low)
            m_incoming.push_back(f);
    }
    if (!m_incoming.empty()) {
        std::sort(m_incoming.begin(), m_incoming.end());
        m_merged.resize(m_active.size() + m_incoming.size());
        std::merge(m_active.begin(), m_active.end(), m_incoming.begin(), m_incoming.end(),
                   m_merged.begin());
        m_active.swap(m_merged);
    }

    // Two passes over the active faces in face order: count per layer, then fill.
    auto rangeOf = [this, first, count](int f, int64_t &a, int64_t &b) {
        a = std::max<int64_t>(firstLayerAtOrAbove(m_mesh.faceMinZ(f)), first);
        b = std::min<int64_t>(lastLayerAtOrBelow(m_mesh.faceMaxZ(f)), int64_t(first) + count - 1);
    };
    int64_t a, b;
    for (int f : m_active) {
        rangeOf(f, a, b);
        for (int64_t k = a; k <= b; ++k)
            ++offsets[size_t(k - first) + 1];
    }
    for (int k = 0; k < count; ++k)
        offsets[size_t(k) + 1] += offsets[size_t(k)];
    faces.resize(size_t(offsets[size_t(count)]));
    m_merged.assign(offsets.begin(), offsets.end() - 1);
    for (int f : m_active) {
        rangeOf(f, a, b);
        for (int64_t k = a; k <= b; ++k)
            faces[size_t(m_merged[size_t(k - first)]++)] = f;
    }
    (void)m_layerCount;
}

} // namespace Lamellor
