#pragma once

#include "supports/Cylinder.h"

#include <memory>

class Overhang;

// The cone that touches the model at an overhang: from the overhang position P (top radius)
// along a unit direction D for `length` (end radius). Its end point is P + D * length.
//
// The overhang is held weakly: the overhang owns its tip, and a strong back reference would keep
// both alive forever.
class Tip : public Cylinder
{
  public:
    // Along the overhang's current position and direction.
    Tip(const std::shared_ptr<Overhang> &overhang, float topRadius, float endRadius, float length);
    // Along an explicit start and unit direction.
    Tip(const std::shared_ptr<Overhang> &overhang, const Point3f &start, const Vec3f &direction,
        float topRadius, float endRadius, float length);
    std::shared_ptr<Mesh3D> clone() const override;

    std::shared_ptr<Overhang> overhang() const { return m_overhang.lock(); }
    const Point3f &start() const { return firstCentre(); }
    const Point3f &endPoint() const { return secondCentre(); }
    const Vec3f &direction() const { return m_direction; }
    float topRadius() const { return firstRadius(); }
    float endRadius() const { return secondRadius(); }
    float length() const { return m_length; }

  protected:
    // With an explicit end point (links end exactly on their contact point).
    Tip(const std::shared_ptr<Overhang> &overhang, const Point3f &start, const Point3f &end,
        const Vec3f &direction, float topRadius, float endRadius, float length);

  private:
    std::weak_ptr<Overhang> m_overhang;
    Vec3f m_direction;
    float m_length;
};
