#pragma once

#include "geometry/MeshGroupRecord.h"

#include <memory>
#include <vector>

class DsCylider;
class DsPoint;
class Mesh3D;
class Model;

// The record shared by all rods and balls of a model's hand-placed supports. Copying a group
// copies the balls first and points the copied rods at the copied balls.
class ManualSupportRecord : public MeshGroupRecord
{
  public:
    std::shared_ptr<MeshGroupRecord>
    cloneGroup(const std::vector<std::shared_ptr<Mesh3D>> &parts,
               std::vector<std::shared_ptr<Mesh3D>> &outParts) const override;

    // Creates a rod with its two balls, all owned by this record's group and in the placed
    // colours; appends the balls and the rod to `parts` (balls first) and returns the rod. owner,
    // when given, becomes the pieces' model.
    static std::shared_ptr<DsCylider> addRod(const std::shared_ptr<ManualSupportRecord> &record,
                                             std::vector<std::shared_ptr<Mesh3D>> &parts,
                                             const struct ManualSupportSettings &settings,
                                             const std::shared_ptr<Model> &owner = nullptr);

    // The model whose manual supports this record groups (weak: the model owns the record).
    // A copied group starts without one.
    void setOwner(const std::shared_ptr<Model> &owner) { m_owner = owner; }
    std::shared_ptr<Model> owner() const { return m_owner.lock(); }
    // The owner of the record piece belongs to; empty when its record is not one of these.
    static std::shared_ptr<Model> ownerOf(const Mesh3D &piece);

  private:
    std::weak_ptr<Model> m_owner;
};
