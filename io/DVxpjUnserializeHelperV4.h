#pragma once

#include "io/DVxpjUnserializeHelperV3.h"

// Reader of version 4 project files: adds the manual support block.
class DVxpjUnserializeHelperV4 : public DVxpjUnserializeHelperV3
{
  public:
    using DVxpjUnserializeHelperV3::DVxpjUnserializeHelperV3;

    std::int32_t version() const override { return 4; }

  protected:
    void readManualSupportBlock(Model &model) override;
};
