#pragma once

#include "io/DVxpjUnserializeHelperV4.h"

// Reader of version 5 project files: adds the support method and the name block.
class DVxpjUnserializeHelperV5 : public DVxpjUnserializeHelperV4
{
  public:
    using DVxpjUnserializeHelperV4::DVxpjUnserializeHelperV4;

    std::int32_t version() const override { return 5; }

  protected:
    void readParameterFields(Model &model) override;
    void readNameBlock() override;
};
