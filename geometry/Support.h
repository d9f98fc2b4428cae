#pragma once

#include <memory>
#include <vector>

class Mesh3D;
class MeshGroupRecord;

// Generated support structure of a model: tips, columns, beams, feet and base as meshes.
struct Support {
    std::vector<std::shared_ptr<Mesh3D>> parts;
};

// Hand-placed supports of a model: the cylinders and their end points, and the record all of
// them share (null when there are none).
struct ManualSupports {
    std::vector<std::shared_ptr<Mesh3D>> parts;
    std::shared_ptr<MeshGroupRecord> shared;

    bool isEmpty() const { return parts.empty(); }
};

// State that the support generator keeps for a model between runs (the virtual nail grid).
// The supports library implements it; Model holds one (possibly none) and drives it through
// this interface so that geometry does not depend on the supports library.
class ISupportGeneratorState
{
  public:
    virtual ~ISupportGeneratorState() = default;
    // Forgets the virtual nail grid; called when the model moves horizontally.
    virtual void discardNailGrid() = 0;
    // A copy for a copied model.
    virtual std::unique_ptr<ISupportGeneratorState> clone() const = 0;
};
