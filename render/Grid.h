#pragma once

#include "render/OpenGLObject.h"

#include <vector>

namespace Orvane3Ds
{

// Platform outline, tenth lines, build volume, axis stubs, letters and arrow heads, as line
// segments (each pair of points one segment). Built once from the platform size.
class Grid : public OpenGLObject
{
  public:
    explicit Grid(const Vec3f &platform);

    // Segment end points for a platform of size (X, Y, Z) in millimetres.
    static std::vector<Vec3f> buildSegments(const Vec3f &platform);

    void refresh() override;
    // Normal program bound here: colour (0.93, 0.93, 0.93), never cut.
    void draw(CContext &context) override;

    const std::vector<Vec3f> &points() const { return m_points; }

  private:
    Vec3f m_platform;
    std::vector<Vec3f> m_points;
};

} // namespace Orvane3Ds
