#include "supports/DsPoint.h"

#include "supports/ManualSupportRecord.h"
#include "supports/Sphere.h"

#include "geometry/MarkerShapes.h"
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
    rebuild();
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
    if (!m_shape || m_shapeRadius != m_radius) {
        m_shape = sharedMarkerShape(&Sphere::buildInto, m_radius);
        m_shapeRadius = m_radius;
    }
    Box3f box = m_shape->boundingBox();
    if (!box.isEmpty()) {
        box.min = box.min + m_centre;
        box.max = box.max + m_centre;
    }
    setShapeBounds(box);
    notifyChanged();
}

void DsPoint::buildPlacedShape(Mesh3D &out) const
{
    Sphere::buildInto(out, m_centre, m_radius);
}
