#include "supports/DsCylider.h"

#include "supports/ManualSupportRecord.h"
#include "supports/SupportMath.h"

#include "geometry/MarkerShapes.h"
#include "geometry/Object3D.h"

#include <algorithm>
#include <cmath>
#include <utility>

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

void DsCylider::ringBasis(const Vec3f &axis, Vec3f &u, Vec3f &w)
{
    Vec3f a = axis;
    if (a.x == 0.0f && a.y == 0.0f && a.z == 0.0f)
        a = {0.0f, 0.0f, 1.0f};
    u = a.cross({1.0f, 0.0f, 0.0f});
    if (u.x == 0.0f && u.y == 0.0f && u.z == 0.0f)
        u = a.cross({0.0f, 1.0f, 0.0f});
    u = u.normalized();
    w = a.cross(u).normalized();
}

Point3f DsCylider::perpendicularRingPoint(const Point3f &c, const Vec3f &axis, float r, int k,
                                          int n)
{
    Vec3f u;
    Vec3f w;
    ringBasis(axis, u, w);
    const float angle = 2.0f * SupportMath::kPi * static_cast<float>(k) / static_cast<float>(n);
    return c + (u * std::cos(angle) + w * std::sin(angle)) * r;
}

void DsCylider::buildUnitTube(Mesh3D &mesh, float topRadius, float bottomRadius)
{
    const int n = kSegments;
    auto &v = mesh.vertices();
    v.clear();
    for (const auto &[radius, z] : {std::pair{topRadius, 0.0f}, std::pair{bottomRadius, 1.0f}})
        for (int k = 0; k < n; ++k) {
            const float angle =
                2.0f * SupportMath::kPi * static_cast<float>(k) / static_cast<float>(n);
            v.push_back({std::cos(angle) * radius, std::sin(angle) * radius, z});
        }
    SupportMath::tubeSideFaces(mesh.faces(), n);
    mesh.setIndexed(true);
    mesh.computeFaceNormals();
    mesh.recomputeBounds();
}

void DsCylider::transform(const Matrix4f &matrix)
{
    m_topCentre = transformPoint(matrix, m_topCentre);
    m_bottomCentre = transformPoint(matrix, m_bottomCentre);
    place();
}

void DsCylider::rebuild()
{
    if (!m_top || !m_bottom)
        return;
    setCentres(m_top->centre(), m_bottom->centre());
}

void DsCylider::setCentres(const Point3f &top, const Point3f &bottom)
{
    m_topCentre = top;
    m_bottomCentre = bottom;
    place();
}

void DsCylider::place()
{
    if (!m_shape || m_shapeRadii[0] != m_topRadius || m_shapeRadii[1] != m_bottomRadius) {
        m_shape = sharedTubeShape(&DsCylider::buildUnitTube, m_topRadius, m_bottomRadius);
        m_shapeRadii = {m_topRadius, m_bottomRadius};
    }
    // The box of the rings as a mesh of its own would hold them.
    const Vec3f axis = m_bottomCentre - m_topCentre;
    Box3f box;
    for (int k = 0; k < kSegments; ++k) {
        box.expand(perpendicularRingPoint(m_topCentre, axis, m_topRadius, k, kSegments));
        box.expand(perpendicularRingPoint(m_bottomCentre, axis, m_bottomRadius, k, kSegments));
    }
    setShapeBounds(box);
    notifyChanged();
}

Matrix4f DsCylider::shapePlacement() const
{
    const Vec3f axis = m_bottomCentre - m_topCentre;
    Vec3f u;
    Vec3f w;
    ringBasis(axis, u, w);
    const Point3f &t = m_topCentre;
    return {u.x,    u.y,    u.z,    0.0f, w.x, w.y, w.z, 0.0f,
            axis.x, axis.y, axis.z, 0.0f, t.x, t.y, t.z, 1.0f};
}

void DsCylider::buildPlacedShape(Mesh3D &out) const
{
    const int n = kSegments;
    const Vec3f axis = m_bottomCentre - m_topCentre;
    auto &v = out.vertices();
    v.clear();
    v.reserve(std::size_t(2 * n));
    for (int k = 0; k < n; ++k)
        v.push_back(perpendicularRingPoint(m_topCentre, axis, m_topRadius, k, n));
    for (int k = 0; k < n; ++k)
        v.push_back(perpendicularRingPoint(m_bottomCentre, axis, m_bottomRadius, k, n));
    SupportMath::tubeSideFaces(out.faces(), n);
    out.setIndexed(true);
    out.computeFaceNormals();
    out.recomputeBounds();
}
