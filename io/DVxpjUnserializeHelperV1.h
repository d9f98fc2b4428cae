#pragma once

#include "io/DVxpjUnserializeBase.h"

// Reader of version 1 project files: overhang records without a size value, no manual
// supports, the first four support parameters, no names.
class DVxpjUnserializeHelperV1 : public DVxpjUnserializeBase
{
  public:
    using DVxpjUnserializeBase::DVxpjUnserializeBase;

    std::int32_t version() const override { return 1; }

  protected:
    float readOverhangSize(float radius) override;
    std::int64_t overhangRecordBytes() const override;
    void readManualSupportBlock(Model &model) override;
    void readParameterFields(Model &model) override;
    void readNameBlock() override;
};
