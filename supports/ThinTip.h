#pragma once

#include "supports/Sphere.h"
#include "supports/Tip.h"

// A link from an overhang straight to a contact point on the model: a tip from the overhang
// position (top radius linkPointRadius) to the contact point (end radius overhangRadius), with a
// ball of radius overhangRadius at the contact point.
class ThinTip : public Tip
{
  public:
    ThinTip(const std::shared_ptr<Overhang> &overhang, const Point3f &start, const Point3f &contact,
            float linkPointRadius, float overhangRadius);
    ThinTip(const ThinTip &other);
    std::shared_ptr<Mesh3D> clone() const override;

    const Point3f &contact() const { return endPoint(); }
    const std::shared_ptr<Sphere> &endSphere() const { return m_endSphere; }

  private:
    std::shared_ptr<Sphere> m_endSphere;
};
