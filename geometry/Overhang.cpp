#include "geometry/Overhang.h"

#include "geometry/SphereMesh.h"

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
    buildSphereMesh(*this, m_position, m_overhangRadius);
}

void Overhang::transform(const Matrix4f &matrix)
{
    m_position = transformPoint(matrix, m_position);
    m_direction = transformVector(matrix, m_direction);
    Mesh3D::transform(matrix);
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
