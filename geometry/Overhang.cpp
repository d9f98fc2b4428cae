#include "geometry/Overhang.h"

#include "geometry/MarkerShapes.h"
#include "geometry/SphereMesh.h"

namespace
{

void buildOverhangSphere(Mesh3D &mesh, const Point3f &centre, float radius)
{
    buildSphereMesh(mesh, centre, radius);
}

} // namespace

Overhang::Overhang(const Point3f &position, const Vec3f &direction, float overhangRadius,
                   float linkPointRadius)
    : m_position(position), m_direction(direction), m_overhangRadius(overhangRadius),
      m_linkPointRadius(linkPointRadius)
{
    rebuildSphere();
}

Overhang::~Overhang() = default;

void Overhang::rebuildSphere()
{
    if (!m_shape || m_shapeRadius != m_overhangRadius) {
        m_shape = sharedMarkerShape(&buildOverhangSphere, m_overhangRadius);
        m_shapeRadius = m_overhangRadius;
    }
    placeShape();
}

void Overhang::placeShape()
{
    Box3f box = m_shape->boundingBox();
    if (!box.isEmpty()) {
        box.min = box.min + m_position;
        box.max = box.max + m_position;
    }
    setShapeBounds(box);
}

void Overhang::buildPlacedShape(Mesh3D &out) const
{
    buildSphereMesh(out, m_position, m_shapeRadius);
}

void Overhang::setPosition(const Point3f &p)
{
    m_position = p;
    placeShape();
}

void Overhang::transform(const Matrix4f &matrix)
{
    m_position = transformPoint(matrix, m_position);
    m_direction = transformVector(matrix, m_direction);
    placeShape();
    notifyChanged();
}

std::shared_ptr<Mesh3D> Overhang::clone() const
{
    return cloneOverhang();
}

std::shared_ptr<Overhang> Overhang::cloneOverhang() const
{
    auto copy =
        std::make_shared<Overhang>(m_position, m_direction, m_overhangRadius, m_linkPointRadius);
    copy->setColour(colour());
    return copy;
}
