#include "supports/DSphere.h"

#include "supports/Sphere.h"

DSphere::DSphere(const Point3f &centre, float radius, int rings, int points)
    : m_centre(centre), m_radius(radius), m_rings(rings), m_points(points)
{
    Sphere::buildLattice(*this, centre, radius, rings, points);
}

std::shared_ptr<Mesh3D> DSphere::clone() const
{
    return std::make_shared<DSphere>(*this);
}
