#include "io/DIoProjectBase.h"

#include "geometry/Model.h"

std::vector<std::shared_ptr<Model>> DIoProjectBase::read()
{
    return {};
}

void DIoProjectBase::write(const std::vector<std::shared_ptr<Model>> &) {}
