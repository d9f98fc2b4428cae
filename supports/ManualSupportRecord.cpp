#include "supports/ManualSupportRecord.h"

#include "supports/DsCylider.h"
#include "supports/ManualSupportSettings.h"

#include <map>

std::shared_ptr<MeshGroupRecord>
ManualSupportRecord::cloneGroup(const std::vector<std::shared_ptr<Mesh3D>> &parts,
                                std::vector<std::shared_ptr<Mesh3D>> &outParts) const
{
    auto record = std::make_shared<ManualSupportRecord>();
    std::map<const DsPoint *, std::shared_ptr<DsPoint>> balls;
    auto ballCopy = [&balls, &record](const std::shared_ptr<DsPoint> &ball) {
        if (!ball)
            return std::shared_ptr<DsPoint>();
        auto &slot = balls[ball.get()];
        if (!slot) {
            slot = std::static_pointer_cast<DsPoint>(ball->clone());
            slot->setSharedOwner(record);
        }
        return slot;
    };
    outParts.clear();
    outParts.reserve(parts.size());
    for (const auto &part : parts) {
        std::shared_ptr<Mesh3D> copy;
        if (auto ball = std::dynamic_pointer_cast<DsPoint>(part)) {
            copy = ballCopy(ball);
        } else if (auto rod = std::dynamic_pointer_cast<DsCylider>(part)) {
            auto rodCopy = std::static_pointer_cast<DsCylider>(rod->clone());
            rodCopy->setEnds(ballCopy(rod->top()), ballCopy(rod->bottom()));
            for (const auto &end : {rodCopy->top(), rodCopy->bottom()})
                if (end)
                    end->links().push_back(rodCopy);
            copy = rodCopy;
        } else if (part) {
            copy = part->clone();
        }
        if (copy)
            copy->setSharedOwner(record);
        outParts.push_back(copy);
    }
    return record;
}

std::shared_ptr<Model> ManualSupportRecord::ownerOf(const Mesh3D &piece)
{
    const auto *record = dynamic_cast<const ManualSupportRecord *>(piece.sharedOwner().get());
    return record ? record->owner() : nullptr;
}

std::shared_ptr<DsCylider> ManualSupportRecord::addRod(
    const std::shared_ptr<ManualSupportRecord> &record, std::vector<std::shared_ptr<Mesh3D>> &parts,
    const ManualSupportSettings &settings, const std::shared_ptr<Model> &owner)
{
    auto top = std::make_shared<DsPoint>(settings.topPoint, settings.topBallRadius);
    auto bottom = std::make_shared<DsPoint>(settings.bottomPoint, settings.bottomBallRadius);
    auto rod =
        std::make_shared<DsCylider>(top, bottom, settings.rodTopRadius, settings.rodBottomRadius);
    for (const std::shared_ptr<Mesh3D> &piece :
         {std::shared_ptr<Mesh3D>(top), std::shared_ptr<Mesh3D>(bottom),
          std::shared_ptr<Mesh3D>(rod)})
        piece->setSharedOwner(record);
    top->setColour(DsPoint::kPlacedColour);
    bottom->setColour(DsPoint::kPlacedColour);
    rod->setColour(DsCylider::kPlacedColour);
    top->links().push_back(rod);
    bottom->links().push_back(rod);
    if (owner)
        rod->setManualOwner(owner);
    parts.push_back(top);
    parts.push_back(bottom);
    parts.push_back(rod);
    return rod;
}
