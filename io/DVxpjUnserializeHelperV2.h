#pragma once

#include "io/DVxpjUnserializeHelperV1.h"

// Reader of version 2 project files: adds overhang radius, support gap and height, base mode,
// four reserved bytes and the parameters' has-supports flag. The link point radius of a
// version 2 file equals its overhang radius.
class DVxpjUnserializeHelperV2 : public DVxpjUnserializeHelperV1
{
  public:
    using DVxpjUnserializeHelperV1::DVxpjUnserializeHelperV1;

    std::int32_t version() const override { return 2; }

  protected:
    void readParameterFields(Model &model) override;
};
