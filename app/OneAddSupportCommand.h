#pragma once

#include "app/Command.h"

#include "geometry/Mesh3D.h"
#include "geometry/Overhang.h"
#include "geometry/Support.h"

#include <vector>

class ModelState;

// Supports added to one model (generated or edited). Keeps copies of every overhang point and
// support mesh that was added, the model's base height before and after, and the model's state
// before and after the change.
class OneAddSupportCommand : public Command
{
  public:
    // Create it after the supports were added; `before` is the model's state captured before
    // the change (ModelState::capture), `given` the list the recording code hands over.
    OneAddSupportCommand(std::shared_ptr<CommandTarget> owner, Orvane3Ds::CSupportApp *supportApp,
                         ModelPtr model, std::shared_ptr<const ModelState> before,
                         OverhangList given, float baseHeightBefore, float baseHeightAfter);
    ~OneAddSupportCommand() override;

    // The model's current overhang points are taken out; fresh copies of the recorded overhang
    // points and support meshes are given to it through the scene, at the "after" placement.
    void redo() override;
    // The recorded supports and overhang points are taken away; the model is as before.
    void undo() override;
    std::size_t bytes() const override;

    float baseHeightBefore() const { return m_baseBefore; }
    float baseHeightAfter() const { return m_baseAfter; }
    const std::vector<Overhang> &addedOverhangs() const { return m_overhangs; }
    const std::vector<Mesh3D> &addedSupports() const { return m_supports; }

  protected:
    std::list<ModelPtr> models() const override { return {m_model}; }

  private:
    Orvane3Ds::CSupportApp *m_supportApp;
    std::shared_ptr<Support> m_supportList;
    OverhangList m_given;
    std::vector<Overhang> m_overhangs;
    std::vector<Mesh3D> m_supports;
    float m_baseBefore;
    float m_baseAfter;
    ModelPtr m_model;
    std::shared_ptr<const ModelState> m_before;
    std::shared_ptr<const ModelState> m_after;
};
