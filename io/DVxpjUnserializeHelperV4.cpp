#include "io/DVxpjUnserializeHelperV4.h"

#include "io/TextNumbers.h"

#include "geometry/Model.h"

#include <vector>

void DVxpjUnserializeHelperV4::readManualSupportBlock(Model &model)
{
    const std::int32_t count = readCount("manual support", Vxpj::RodBytes);
    std::vector<Vxpj::Rod> rods;
    rods.reserve(std::size_t(count));
    for (std::int32_t i = 0; i < count; ++i) {
        Vxpj::Rod rod;
        rod.top = readPoint("a manual support");
        rod.topRadius = readFloat("a manual support");
        rod.bottom = readPoint("a manual support");
        rod.bottomRadius = readFloat("a manual support");
        rod.rodTopRadius = readFloat("a manual support");
        rod.rodBottomRadius = readFloat("a manual support");
        rod.flag = readBool("a manual support");
        const bool usable = usableCoordinate(rod.top.x) && usableCoordinate(rod.top.y) &&
                            usableCoordinate(rod.top.z) && usableCoordinate(rod.bottom.x) &&
                            usableCoordinate(rod.bottom.y) && usableCoordinate(rod.bottom.z) &&
                            usableCoordinate(rod.topRadius) && usableCoordinate(rod.bottomRadius) &&
                            usableCoordinate(rod.rodTopRadius) &&
                            usableCoordinate(rod.rodBottomRadius);
        if (!usable)
            fail(QStringLiteral("manual support rod %1 holds a number that is not finite or out "
                                "of range")
                     .arg(i + 1));
        rods.push_back(rod);
    }
    if (!rods.empty() && rodCodec().isValid())
        rodCodec().fromRods(rods, model.manualSupports());
}
