#include "geometry/MarkerShapes.h"

#include "geometry/Mesh3D.h"

#include <cstdint>
#include <cstring>
#include <map>
#include <mutex>
#include <utility>

namespace
{

using Key = std::pair<MarkerShapeBuilder, std::uint32_t>;

struct Cache {
    std::mutex mutex;
    std::map<Key, std::weak_ptr<const Mesh3D>> shapes;
};

Cache &cache()
{
    static Cache c;
    return c;
}

} // namespace

std::shared_ptr<const Mesh3D> sharedMarkerShape(MarkerShapeBuilder build, float radius)
{
    // The radius by its bits: the same number gives the same shape, and no two numbers meet.
    std::uint32_t bits = 0;
    std::memcpy(&bits, &radius, sizeof bits);
    Cache &c = cache();
    std::lock_guard<std::mutex> lock(c.mutex);
    std::weak_ptr<const Mesh3D> &slot = c.shapes[{build, bits}];
    if (std::shared_ptr<const Mesh3D> shape = slot.lock())
        return shape;
    // Shapes nobody holds any more are forgotten before a new one is made.
    for (auto it = c.shapes.begin(); it != c.shapes.end();)
        it = it->second.expired() && &it->second != &slot ? c.shapes.erase(it) : std::next(it);
    auto shape = std::make_shared<Mesh3D>();
    build(*shape, {0.0f, 0.0f, 0.0f}, radius);
    slot = shape;
    return shape;
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
