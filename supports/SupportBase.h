#pragma once

#include "geometry/Mesh3D.h"
#include "geometry/PlatformSize.h"

#include <memory>
#include <vector>

// The plate under the columns that stand on the platform: their bounding rectangle in XY grown by
// `baseExtern` on every side, clipped to the platform (centred on the origin), snapped to whole
// micrometres and extruded from z = 0 to z = `baseHeight` into a closed prism (side walls, then a
// bottom and a top face per triangle of the outline). No column on the platform, a rectangle
// left empty by the clipping, or a height of 0 or less gives no plate (null).
std::shared_ptr<Mesh3D> buildSupportBase(const std::vector<Point3f> &axisPoints, float baseExtern,
                                         float baseHeight,
                                         const PlatformSize &platform = PlatformSize());
