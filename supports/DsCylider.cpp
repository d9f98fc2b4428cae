#include "supports/DsCylider.h"

#include "supports/ManualSupportRecord.h"
#include "supports/SupportMath.h"

#include "geometry/Object3D.h"

#include <algorithm>
#include <cmath>

DsCylider::DsCylider(std::shared_ptr<DsPoint> top, std::shared_ptr<DsPoint> bottom, float topRadius,
                     float bottomRadius)
    : m_top(std::move(top)), m_bottom(std::move(bottom)), m_topRadius(topRadius),
      m_bottomRadius(bottomRadius)
{
    setKindTag(ObjectKind::ManualSupportCylinder);
    rebuild();
}

std::shared_ptr<Mesh3D> DsCylider::clone() const
{
    auto copy = std::make_shared<DsCylider>(*this);
    copy->m_owner.reset();
    return copy;
}

void DsCylider::setManualOwner(const std::shared_ptr<Model> &owner)
{
    m_owner = owner;
    for (const auto &ball : {m_top, m_bottom})
        if (ball)
            ball->setManualOwner(owner);
}

std::shared_ptr<Model> DsCylider::manualOwner() const
{
    if (std::shared_ptr<Model> owner = m_owner.lock())
        return owner;
    if (std::shared_ptr<Model> owner = ManualSupportRecord::ownerOf(*this))
        return owner;
    return m_top ? m_top->manualOwner() : nullptr;
}

void DsCylider::detachRodFromBalls()
{
    for (const auto &ball : {m_top, m_bottom}) {
        if (!ball)
            continue;
        auto &links = ball->links();
        links.erase(std::remove_if(links.begin(), links.end(),
                                   [this](const std::weak_ptr<Mesh3D> &link) {
                                       const std::shared_ptr<Mesh3D> rod = link.lock();
                                       return !rod || rod.get() == this;
                                   }),
                    links.end());
    }
}

void DsCylider::setEnds(std::shared_ptr<DsPoint> top, std::shared_ptr<DsPoint> bottom)
{
    m_top = std::move(top);
    m_bottom = std::move(bottom);
    rebuild();
}

void DsCylider::setRadii(float topRadius, float bottomRadius)
{
    m_topRadius = topRadius;
    m_bottomRadius = bottomRadius;
    rebuild();
}

Point3f DsCylider::perpendicularRingPoint(const Point3f &c, const Vec3f &axis, float r, int k,
                                          int n)
{
    Vec3f a = axis;
    if (a.x == 0.0f && a.y == 0.0f && a.z == 0.0f)
        a = {0.0f, 0.0f, 1.0f};
    Vec3f u = a.cross({1.0f, 0.0f, 0.0f});
    if (u.x == 0.0f && u.y == 0.0f && u.z == 0.0f)
        u = a.cross({0.0f, 1.0f, 0.0f});
    u = u.normalized();
    const Vec3f w = a.cross(u).normalized();
    const float angle = 2.0f * SupportMath::kPi * static_cast<float>(k) / static_cast<float>(n);
    return c + (u * std::cos(angle) + w * std::sin(angle)) * r;
}

void DsCylider::rebuild()
{
    if (!m_top || !m_bottom)
        return;
    const int n = kSegments;
    const Point3f t = m_top->centre();
    const Point3f b = m_bottom->centre();
    const Vec3f axis = b - t;
    auto &v = vertices();
    v.clear();
    for (int k = 0; k < n; ++k)
        v.push_back(perpendicularRingPoint(t, axis, m_topRadius, k, n));
    for (int k = 0; k < n; ++k)
        v.push_back(perpendicularRingPoint(b, axis, m_bottomRadius, k, n));
    SupportMath::tubeSideFaces(faces(), n);
    setIndexed(true);
    computeFaceNormals();
    recomputeBounds();
    notifyChanged();
}
