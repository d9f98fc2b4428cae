#pragma once

#include "geometry/Mesh3D.h"

// A ball of 12 latitude rings of 12 points (poles on the Y axis, the last point of a ring
// repeating the first), 144 vertices and 242 triangles, built around the origin and moved to its
// centre. Used for foot contact balls and the end balls of links.
class Sphere : public Mesh3D
{
  public:
    static constexpr int kRings = 12;
    static constexpr int kPoints = 12;

    Sphere(const Point3f &centre, float radius);
    std::shared_ptr<Mesh3D> clone() const override;

    const Point3f &centre() const { return m_centre; }
    float radius() const { return m_radius; }

    // Fills mesh with the sphere layout (shared with the manual-support end balls).
    static void buildInto(Mesh3D &mesh, const Point3f &centre, float radius);
    // The same layout with `rings` rings of `points` points (both at least 2).
    static void buildLattice(Mesh3D &mesh, const Point3f &centre, float radius, int rings,
                             int points);

  private:
    Point3f m_centre;
    float m_radius;
};
