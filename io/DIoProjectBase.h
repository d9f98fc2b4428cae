#pragma once

#include "io/DIoBase.h"

#include <memory>
#include <vector>

class Model;

// Reader/writer of a project file (a list of models). The base reads nothing.
class DIoProjectBase : public DIoBase
{
  public:
    virtual std::vector<std::shared_ptr<Model>> read();
    virtual void write(const std::vector<std::shared_ptr<Model>> &models);
};
