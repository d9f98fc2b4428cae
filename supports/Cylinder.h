#pragma once

#include "geometry/Mesh3D.h"

// An open cone frustum between two horizontal rings of 12 points: vertices 0..11 the ring of the
// first radius around the first centre, 12..23 the ring of the second radius around the second
// centre, 24 side triangles, no caps. The rings stay horizontal whatever the axis, so a slanted
// cylinder has horizontal ends. Used for columns, beams and foot cones.
class Cylinder : public Mesh3D
{
  public:
    static constexpr int kSegments = 12;

    Cylinder(const Point3f &firstCentre, const Point3f &secondCentre, float firstRadius,
             float secondRadius);
    std::shared_ptr<Mesh3D> clone() const override;

    const Point3f &firstCentre() const { return m_firstCentre; }
    const Point3f &secondCentre() const { return m_secondCentre; }
    float firstRadius() const { return m_firstRadius; }
    float secondRadius() const { return m_secondRadius; }

    // Point i of the 12-point horizontal ring of radius r around c.
    static Point3f ringPoint(const Point3f &c, float r, int i);

  protected:
    void build();

  private:
    Point3f m_firstCentre;
    Point3f m_secondCentre;
    float m_firstRadius;
    float m_secondRadius;
};
