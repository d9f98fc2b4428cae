#include "io/VxpjRodCodec.h"

#include "geometry/Support.h"
#include "supports/DsCylider.h"
#include "supports/ManualSupportRecord.h"
#include "supports/ManualSupportSettings.h"

namespace Vxpj
{

namespace
{

std::vector<Rod> toRods(const ManualSupports &supports)
{
    std::vector<Rod> rods;
    for (const std::shared_ptr<Mesh3D> &part : supports.parts) {
        const auto cylinder = std::dynamic_pointer_cast<DsCylider>(part);
        if (!cylinder)
            continue;
        Rod rod;
        if (const auto &top = cylinder->top()) {
            rod.top = top->centre();
            rod.topRadius = top->radius();
        }
        if (const auto &bottom = cylinder->bottom()) {
            rod.bottom = bottom->centre();
            rod.bottomRadius = bottom->radius();
        }
        rod.rodTopRadius = cylinder->topRadius();
        rod.rodBottomRadius = cylinder->bottomRadius();
        rod.flag = cylinder->flag();
        rods.push_back(rod);
    }
    return rods;
}

void fromRods(const std::vector<Rod> &rods, ManualSupports &supports)
{
    auto record = std::dynamic_pointer_cast<ManualSupportRecord>(supports.shared);
    if (!record) {
        record = std::make_shared<ManualSupportRecord>();
        supports.shared = record;
    }
    for (const Rod &rod : rods) {
        ManualSupportSettings settings;
        settings.topPoint = rod.top;
        settings.topBallRadius = rod.topRadius;
        settings.bottomPoint = rod.bottom;
        settings.bottomBallRadius = rod.bottomRadius;
        settings.rodTopRadius = rod.rodTopRadius;
        settings.rodBottomRadius = rod.rodBottomRadius;
        ManualSupportRecord::addRod(record, supports.parts, settings)->setFlag(rod.flag);
    }
}

} // namespace

RodCodec manualSupportRodCodec()
{
    return RodCodec{toRods, fromRods};
}

} // namespace Vxpj
