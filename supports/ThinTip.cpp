#include "supports/ThinTip.h"

namespace
{
Vec3f unitTowards(const Point3f &from, const Point3f &to)
{
    const Vec3f d = to - from;
    const float l = d.length();
    return l > 0.0f ? d * (1.0f / l) : Vec3f{0.0f, 0.0f, -1.0f};
}
} // namespace

ThinTip::ThinTip(const std::shared_ptr<Overhang> &overhang, const Point3f &start,
                 const Point3f &contact, float linkPointRadius, float overhangRadius)
    : Tip(overhang, start, contact, unitTowards(start, contact), linkPointRadius, overhangRadius,
          (contact - start).length()),
      m_endSphere(std::make_shared<Sphere>(contact, overhangRadius))
{
}

ThinTip::ThinTip(const ThinTip &other)
    : Tip(other), m_endSphere(std::make_shared<Sphere>(*other.m_endSphere))
{
}

std::shared_ptr<Mesh3D> ThinTip::clone() const
{
    return std::make_shared<ThinTip>(*this);
}
