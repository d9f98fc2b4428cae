#pragma once

#include <memory>
#include <vector>

class Mesh3D;

// Base of the records shared by all pieces of one group of meshes (the cylinders and end points
// of one manual support set). Mesh3D::sharedOwner() and ManualSupports::shared point at it; the
// supports library derives the concrete record.
class MeshGroupRecord
{
  public:
    virtual ~MeshGroupRecord() = default;

    // Deep-copies a group: fills outParts with new pieces for parts (same order) and returns the
    // record the new pieces share. The default clones every piece (Mesh3D::clone()), points the
    // copies' shared owner at the returned record, and returns a plain new record; derived records
    // override it to rewire references between pieces.
    virtual std::shared_ptr<MeshGroupRecord>
    cloneGroup(const std::vector<std::shared_ptr<Mesh3D>> &parts,
               std::vector<std::shared_ptr<Mesh3D>> &outParts) const;
};
