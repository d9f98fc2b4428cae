#pragma once

#include "io/DVxpjSerializBase.h"

// Writes project files of version 5, the only version written: per model its overhangs, manual
// supports, support parameters and geometry (or, for SLC contour models, the contour values and
// layers), then the names.
class DVxpjSerializeHelperV5 : public DVxpjSerializBase
{
  public:
    using DVxpjSerializBase::DVxpjSerializBase;

  protected:
    std::int32_t version() const override { return 5; }
    void writeBody() override;

  private:
    void writeModel(const Model &model);
    void writeOverhangBlock(const Model &model);
    void writeManualSupportBlock(const Model &model);
    void writeParameterBlock(const Model &model);
    void writeContourModel(const Model &model);
};
