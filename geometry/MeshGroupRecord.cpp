#include "geometry/MeshGroupRecord.h"

#include "geometry/Mesh3D.h"

std::shared_ptr<MeshGroupRecord>
MeshGroupRecord::cloneGroup(const std::vector<std::shared_ptr<Mesh3D>> &parts,
                            std::vector<std::shared_ptr<Mesh3D>> &outParts) const
{
    auto record = std::make_shared<MeshGroupRecord>();
    outParts.clear();
    outParts.reserve(parts.size());
    for (const auto &part : parts) {
        if (!part)
            continue;
        auto copy = part->clone();
        copy->setSharedOwner(record);
        outParts.push_back(std::move(copy));
    }
    return record;
}
