#pragma once

#include "io/DVxpjUnserializeHelperV2.h"

// Reader of version 3 project files: adds the overhang size value and the link point radius.
class DVxpjUnserializeHelperV3 : public DVxpjUnserializeHelperV2
{
  public:
    using DVxpjUnserializeHelperV2::DVxpjUnserializeHelperV2;

    std::int32_t version() const override { return 3; }

  protected:
    float readOverhangSize(float radius) override;
    std::int64_t overhangRecordBytes() const override;
    void readParameterFields(Model &model) override;
};
