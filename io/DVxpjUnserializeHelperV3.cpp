#include "io/DVxpjUnserializeHelperV3.h"

#include "geometry/Model.h"

float DVxpjUnserializeHelperV3::readOverhangSize(float)
{
    return readFloat("an overhang");
}

std::int64_t DVxpjUnserializeHelperV3::overhangRecordBytes() const
{
    return 8 * 4;
}

void DVxpjUnserializeHelperV3::readParameterFields(Model &model)
{
    DVxpjUnserializeHelperV2::readParameterFields(model);
    model.supportParameters().linkPointRadius = readFloat("the parameter block");
}
