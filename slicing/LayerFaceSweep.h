#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace Lamellor
{

class Mesh;

// Finds the faces of consecutive layers without scanning the whole mesh per layer. Faces are
// sorted once by their lowest z and swept upward; the faces crossing a window of layers are kept
// in face order, so every layer gets exactly the faces a full scan would give, in the same order.
// Layers are z0 + i * step (um), i = 0..layerCount-1; windows must be asked for in rising order.
class LayerFaceSweep
{
  public:
    LayerFaceSweep(const Mesh &mesh, int32_t z0, int32_t step, int layerCount);

    // Fills the faces of layers [first, first + count): layer first + k has the faces
    // faces[offsets[k]] .. faces[offsets[k + 1] - 1]. Buffers are reused by the caller.
    void window(int first, int count, std::vector<int> &offsets, std::vector<int> &faces);

  private:
    int64_t layerZ(int64_t i) const { return int64_t(m_z0) + i * m_step; }
    // Index of the first layer at or above z, and of the last layer at or below z.
    int64_t firstLayerAtOrAbove(int64_t z) const;
    int64_t lastLayerAtOrBelow(int64_t z) const;

    const Mesh &m_mesh;
    int32_t m_z0;
    int32_t m_step;
    int m_layerCount;
    std::vector<int> m_byMinZ; // face indices sorted by lowest z
    size_t m_nextByMinZ = 0;
    std::vector<int> m_active; // faces that may cross the current window, in face order
    std::vector<int> m_incoming;
    std::vector<int> m_merged;
};

} // namespace Lamellor
