#include "supports/DCylider.h"

#include "supports/DsCylider.h"
#include "supports/SupportMath.h"

DCylider::DCylider(int segments, const Point3f &firstCentre, const Point3f &secondCentre,
                   float firstRadius, float secondRadius)
    : m_segments(segments), m_firstCentre(firstCentre), m_secondCentre(secondCentre),
      m_firstRadius(firstRadius), m_secondRadius(secondRadius)
{
    build();
}

std::shared_ptr<Mesh3D> DCylider::clone() const
{
    return std::make_shared<DCylider>(*this);
}

void DCylider::build()
{
    const int n = m_segments;
    const Vec3f axis = m_secondCentre - m_firstCentre;
    auto &v = vertices();
    v.clear();
    v.reserve(static_cast<std::size_t>(2 * n));
    for (int k = 0; k < n; ++k)
        v.push_back(DsCylider::perpendicularRingPoint(m_firstCentre, axis, m_firstRadius, k, n));
    for (int k = 0; k < n; ++k)
        v.push_back(DsCylider::perpendicularRingPoint(m_secondCentre, axis, m_secondRadius, k, n));
    SupportMath::tubeSideFaces(faces(), n);
    setIndexed(true);
    computeFaceNormals();
    recomputeBounds();
}
