#pragma once

#include "supports/DCylider.h"

// A six-sided vertical column of the support factory, from its top down to its bottom.
class DNail : public DCylider
{
  public:
    static constexpr int kSegments = 6;

    DNail(const Point3f &top, const Point3f &bottom, float radius)
        : DCylider(kSegments, top, bottom, radius, radius)
    {
    }
    std::shared_ptr<Mesh3D> clone() const override { return std::make_shared<DNail>(*this); }

    const Point3f &top() const { return firstCentre(); }
    const Point3f &bottom() const { return secondCentre(); }
    float topZ() const { return firstCentre().z; }
    float bottomZ() const { return secondCentre().z; }
    float height() const { return firstCentre().z - secondCentre().z; }
    float radius() const { return firstRadius(); }
};
