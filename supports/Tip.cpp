#include "supports/Tip.h"

#include "geometry/Object3D.h"
#include "geometry/Overhang.h"

Tip::Tip(const std::shared_ptr<Overhang> &overhang, float topRadius, float endRadius, float length)
    : Tip(overhang, overhang->position(), overhang->direction(), topRadius, endRadius, length)
{
}

Tip::Tip(const std::shared_ptr<Overhang> &overhang, const Point3f &start, const Vec3f &direction,
         float topRadius, float endRadius, float length)
    : Tip(overhang, start, start + direction * length, direction, topRadius, endRadius, length)
{
}

Tip::Tip(const std::shared_ptr<Overhang> &overhang, const Point3f &start, const Point3f &end,
         const Vec3f &direction, float topRadius, float endRadius, float length)
    : Cylinder(start, end, topRadius, endRadius), m_overhang(overhang), m_direction(direction),
      m_length(length)
{
    setKindTag(ObjectKind::SupportTip);
}

std::shared_ptr<Mesh3D> Tip::clone() const
{
    return std::make_shared<Tip>(*this);
}
