#include "geometry/MarkerShapes.h"

#include "geometry/Mesh3D.h"

#include <cstdint>
#include <cstring>
#include <functional>
#include <map>
#include <mutex>
#include <tuple>

namespace
{

// A shape is known by its builder (one of the two kinds, the other null) and its radii by their
// bits: the same numbers give the same shape, and no two numbers meet.
using Key = std::tuple<MarkerShapeBuilder, TubeShapeBuilder, std::uint32_t, std::uint32_t>;

struct Cache {
    std::mutex mutex;
    std::map<Key, std::weak_ptr<const Mesh3D>> shapes;
};

Cache &cache()
{
    static Cache c;
    return c;
}

std::uint32_t bitsOf(float value)
{
    std::uint32_t bits = 0;
    std::memcpy(&bits, &value, sizeof bits);
    return bits;
}

std::shared_ptr<const Mesh3D> sharedShape(const Key &key,
                                          const std::function<void(Mesh3D &)> &build)
{
    Cache &c = cache();
    std::lock_guard<std::mutex> lock(c.mutex);
    std::weak_ptr<const Mesh3D> &slot = c.shapes[key];
    if (std::shared_ptr<const Mesh3D> shape = slot.lock())
        return shape;
    // Shapes nobody holds any more are forgotten before a new one is made.
    for (auto it = c.shapes.begin(); it != c.shapes.end();)
        it = it->second.expired() && &it->second != &slot ? c.shapes.erase(it) : std::next(it);
    auto shape = std::make_shared<Mesh3D>();
    build(*shape);
    slot = shape;
    return shape;
}

} // namespace

std::shared_ptr<const Mesh3D> sharedMarkerShape(MarkerShapeBuilder build, float radius)
{
    return sharedShape(Key{build, nullptr, bitsOf(radius), 0u}, [&](Mesh3D &mesh) {
        build(mesh, {0.0f, 0.0f, 0.0f}, radius);
    });
}

std::shared_ptr<const Mesh3D> sharedTubeShape(TubeShapeBuilder build, float topRadius,
                                              float bottomRadius)
{
    return sharedShape(Key{nullptr, build, bitsOf(topRadius), bitsOf(bottomRadius)},
                       [&](Mesh3D &mesh) { build(mesh, topRadius, bottomRadius); });
}

std::size_t sharedMarkerShapeCount()
{
    Cache &c = cache();
    std::lock_guard<std::mutex> lock(c.mutex);
    std::size_t alive = 0;
    for (const auto &entry : c.shapes)
        alive += entry.second.expired() ? 0 : 1;
    return alive;
}
