#pragma once

#include "geometry/Mesh3D.h"

#include <memory>

// A rod of the support factory: two rings of n points perpendicular to the rod's axis (the first
// radius around the first centre, the second radius around the second centre), 2n side
// triangles, open ends. Unlike Cylinder the rings turn with the axis, so a slanted rod keeps a
// round cross-section.
class DCylider : public Mesh3D
{
  public:
    DCylider(int segments, const Point3f &firstCentre, const Point3f &secondCentre,
             float firstRadius, float secondRadius);
    std::shared_ptr<Mesh3D> clone() const override;

    int segments() const { return m_segments; }
    const Point3f &firstCentre() const { return m_firstCentre; }
    const Point3f &secondCentre() const { return m_secondCentre; }
    float firstRadius() const { return m_firstRadius; }
    float secondRadius() const { return m_secondRadius; }
    float length() const { return (m_secondCentre - m_firstCentre).length(); }

  private:
    void build();

    int m_segments;
    Point3f m_firstCentre;
    Point3f m_secondCentre;
    float m_firstRadius;
    float m_secondRadius;
};
