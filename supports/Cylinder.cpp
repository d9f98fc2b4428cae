#include "supports/Cylinder.h"

#include "supports/SupportMath.h"

Cylinder::Cylinder(const Point3f &firstCentre, const Point3f &secondCentre, float firstRadius,
                   float secondRadius)
    : m_firstCentre(firstCentre), m_secondCentre(secondCentre), m_firstRadius(firstRadius),
      m_secondRadius(secondRadius)
{
    build();
}

std::shared_ptr<Mesh3D> Cylinder::clone() const
{
    return std::make_shared<Cylinder>(*this);
}

Point3f Cylinder::ringPoint(const Point3f &c, float r, int i)
{
    return SupportMath::circlePoint(c, r, i, kSegments);
}

void Cylinder::build()
{
    const int n = kSegments;
    auto &v = vertices();
    v.clear();
    v.reserve(2 * n);
    for (int i = 0; i < n; ++i)
        v.push_back(ringPoint(m_firstCentre, m_firstRadius, i));
    for (int i = 0; i < n; ++i)
        v.push_back(ringPoint(m_secondCentre, m_secondRadius, i));
    SupportMath::tubeSideFaces(faces(), n);
    setIndexed(true);
    computeFaceNormals();
    recomputeBounds();
}
