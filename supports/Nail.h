#pragma once

#include "supports/Cylinder.h"
#include "supports/Sphere.h"

#include <memory>
#include <vector>

// A height interval along a column; empty when high < low.
struct Span {
    float low = 0.0f;
    float high = 0.0f;

    bool isEmpty() const { return high < low; }
};

// A straight rod of radius supportRadius from one column at one height to another column at
// another height.
struct Beam {
    Point3f from; // (from-column axis, from-height)
    Point3f to;   // (to-column axis, to-height)
    float radius = 0.0f;

    float fromHeight() const { return from.z; }
    float toHeight() const { return to.z; }
};

// Where a column that ends on the model touches it: cones from the column's lower end to the
// contact points and a small ball at each contact.
struct Foot {
    std::vector<std::shared_ptr<Cylinder>> cones;
    std::vector<std::shared_ptr<Sphere>> spheres;
};

// A vertical column under a tip, standing on the platform (bottom z = 0), on the model (with
// feet) or on a fork (with beams to two neighbours).
class Nail
{
  public:
    Nail(const Point3f &top, float radius, float bottomZ = 0.0f);
    virtual ~Nail() = default;
    // Deep copy (feet meshes are copied too).
    virtual std::shared_ptr<Nail> copy() const;

    std::vector<Beam> beams;
    std::vector<Foot> feet;
    Point3f top;
    float axisX = 0.0f;
    float axisY = 0.0f;
    float bottomZ = 0.0f;
    Span spanA; // where fork beams may reach this column
    Span spanB; // where this column may carry a fork partner's beam
    float radius = 0.0f;
    bool forked = false;
    bool visible = true;

    float height() const { return top.z - bottomZ; }
    Point3f bottom() const { return {axisX, axisY, bottomZ}; }
    // Sets the bottom to h and lifts the low end of both spans to h where they are lower.
    void raiseBottom(float h);

    virtual bool isVirtual() const { return false; }
};

// A candidate column at a grid point that no overhang asked for; becomes a real column when it
// serves as a fork partner. Beams may reach it only above the base plate.
class VirtualNail : public Nail
{
  public:
    VirtualNail(const Point3f &top, float radius, float baseHeight);
    std::shared_ptr<Nail> copy() const override;
    bool isVirtual() const override { return true; }
};
