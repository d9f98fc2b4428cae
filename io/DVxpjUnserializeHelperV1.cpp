#include "io/DVxpjUnserializeHelperV1.h"

#include "geometry/Model.h"

float DVxpjUnserializeHelperV1::readOverhangSize(float radius)
{
    // Files before version 3 keep no size value: the radius serves for both.
    return radius;
}

std::int64_t DVxpjUnserializeHelperV1::overhangRecordBytes() const
{
    return 7 * 4;
}

void DVxpjUnserializeHelperV1::readManualSupportBlock(Model &) {}

void DVxpjUnserializeHelperV1::readParameterFields(Model &model)
{
    SupportParameters &p = model.supportParameters();
    model.setHasSupports(readBool("the parameter block"));
    p.supportRadius = readFloat("the parameter block");
    p.baseExtern = readFloat("the parameter block");
    p.baseHeight = readFloat("the parameter block");
}

void DVxpjUnserializeHelperV1::readNameBlock() {}
