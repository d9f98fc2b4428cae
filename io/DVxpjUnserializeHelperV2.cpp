#include "io/DVxpjUnserializeHelperV2.h"

#include "geometry/Model.h"

void DVxpjUnserializeHelperV2::readParameterFields(Model &model)
{
    DVxpjUnserializeHelperV1::readParameterFields(model);
    SupportParameters &p = model.supportParameters();
    p.overhangRadius = readFloat("the parameter block");
    p.supportGaps = readFloat("the parameter block");
    p.supportHeight = readFloat("the parameter block");
    p.baseMode = readInt32("the parameter block");
    skip(4, "the parameter block");
    p.hasSupports = readBool("the parameter block");
    p.linkPointRadius = p.overhangRadius;
}
