#include "supports/Nail.h"

#include <algorithm>

Nail::Nail(const Point3f &t, float r, float bz)
    : top(t), axisX(t.x), axisY(t.y), bottomZ(bz), spanA{0.0f, t.z}, spanB{0.0f, t.z}, radius(r)
{
    if (bz > 0.0f)
        raiseBottom(bz);
}

std::shared_ptr<Nail> Nail::copy() const
{
    auto n = std::make_shared<Nail>(*this);
    for (Foot &foot : n->feet) {
        for (auto &cone : foot.cones)
            cone = std::make_shared<Cylinder>(*cone);
        for (auto &sphere : foot.spheres)
            sphere = std::make_shared<Sphere>(*sphere);
    }
    return n;
}

void Nail::raiseBottom(float h)
{
    bottomZ = h;
    spanA.low = std::max(spanA.low, h);
    spanB.low = std::max(spanB.low, h);
}

VirtualNail::VirtualNail(const Point3f &t, float r, float baseHeight) : Nail(t, r)
{
    spanA.low = std::max(spanA.low, baseHeight);
    spanB.low = std::max(spanB.low, baseHeight);
}

std::shared_ptr<Nail> VirtualNail::copy() const
{
    return std::make_shared<VirtualNail>(*this);
}
