#pragma once

#include "supports/DCylider.h"

// A six-sided cone of the support factory: the tip from an overhang to the top of its column,
// a short column, or a foot cone under a column standing on the model.
class DTip : public DCylider
{
  public:
    static constexpr int kSegments = 6;

    DTip(const Point3f &start, const Point3f &end, float startRadius, float endRadius)
        : DCylider(kSegments, start, end, startRadius, endRadius)
    {
    }
    std::shared_ptr<Mesh3D> clone() const override { return std::make_shared<DTip>(*this); }

    const Point3f &start() const { return firstCentre(); }
    const Point3f &endPoint() const { return secondCentre(); }
    float endRadius() const { return secondRadius(); }
};
