#pragma once

#include "geometry/MeshGroupRecord.h"

#include <memory>
#include <vector>

class DsCylider;
class DsPoint;

// The record shared by all rods and balls of a model's hand-placed supports. Copying a group
// copies the balls first and points the copied rods at the copied balls.
class ManualSupportRecord : public MeshGroupRecord
{
  public:
    std::shared_ptr<MeshGroupRecord>
    cloneGroup(const std::vector<std::shared_ptr<Mesh3D>> &parts,
               std::vector<std::shared_ptr<Mesh3D>> &outParts) const override;

    // Creates a rod with its two balls, all owned by this record's group; appends the balls and
    // the rod to `parts` (balls first) and returns the rod.
    static std::shared_ptr<DsCylider> addRod(const std::shared_ptr<ManualSupportRecord> &record,
                                             std::vector<std::shared_ptr<Mesh3D>> &parts,
                                             const struct ManualSupportSettings &settings);
};
