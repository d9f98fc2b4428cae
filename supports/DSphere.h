#pragma once

#include "geometry/Mesh3D.h"

#include <memory>

// A ball of the support factory: `rings` latitude rings of `points` points each (poles on the Y
// axis, the last point of a ring repeating the first), built around the origin and moved to its
// centre. With 12 x 12 it has the layout of Sphere.
class DSphere : public Mesh3D
{
  public:
    DSphere(const Point3f &centre, float radius, int rings = 12, int points = 12);
    std::shared_ptr<Mesh3D> clone() const override;

    const Point3f &centre() const { return m_centre; }
    float radius() const { return m_radius; }
    int rings() const { return m_rings; }
    int points() const { return m_points; }

  private:
    Point3f m_centre;
    float m_radius;
    int m_rings;
    int m_points;
};
