#include "io/DIoPartBase.h"

#include "geometry/Mesh3D.h"

std::shared_ptr<Mesh3D> DIoPartBase::read()
{
    return nullptr;
}

void DIoPartBase::write(const std::shared_ptr<Mesh3D> &) {}
