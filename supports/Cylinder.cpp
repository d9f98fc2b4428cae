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
    auto &f = faces();
    f.clear();
    f.reserve(2 * n);
    auto u = [](int i) { return static_cast<std::uint32_t>(i); };
    for (int i = 0; i < n; ++i)
        f.push_back(Face{{u(i + n), u(i), u((i + 1) % n + n)}});
    for (int j = 0; j < n; ++j)
        f.push_back(Face{{u((j + n - 1) % n), u(j), u(j + n)}});
    setIndexed(true);
    computeFaceNormals();
    recomputeBounds();
}
