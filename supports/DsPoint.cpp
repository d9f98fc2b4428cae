#include "supports/DsPoint.h"

#include "supports/ManualSupportRecord.h"
#include "supports/Sphere.h"

#include "geometry/Object3D.h"

DsPoint::DsPoint(const Point3f &centre, float radius) : m_centre(centre), m_radius(radius)
{
    setKindTag(ObjectKind::ManualSupportPoint);
    rebuild();
}

std::shared_ptr<Mesh3D> DsPoint::clone() const
{
    auto copy = std::make_shared<DsPoint>(*this);
    copy->m_links.clear();
    copy->m_owner.reset();
    return copy;
}

std::shared_ptr<Model> DsPoint::manualOwner() const
{
    if (std::shared_ptr<Model> owner = m_owner.lock())
        return owner;
    return ManualSupportRecord::ownerOf(*this);
}

int DsPoint::ballRodCount() const
{
    int count = 0;
    for (const auto &link : m_links)
        if (!link.expired())
            ++count;
    return count;
}

void DsPoint::transform(const Matrix4f &matrix)
{
    m_centre = transformPoint(matrix, m_centre);
    Mesh3D::transform(matrix);
}

void DsPoint::setCentre(const Point3f &centre)
{
    m_centre = centre;
    rebuild();
}

void DsPoint::setRadius(float radius)
{
    m_radius = radius;
    rebuild();
}

void DsPoint::rebuild()
{
    Sphere::buildInto(*this, m_centre, m_radius);
    notifyChanged();
}
