#pragma once

#include "app/Command.h"

#include "geometry/Overhang.h"
#include "geometry/Support.h"

class ModelState;

// The supports of one model removed. Keeps the model's support list, its overhang points, the
// base height it had and its state before and after the removal.
class OneRemoveSupportCommand : public Command
{
  public:
    // Create it before the supports are removed; call finish() afterwards.
    OneRemoveSupportCommand(std::shared_ptr<CommandTarget> owner,
                            Orvane3Ds::CSupportApp *supportApp, ModelPtr model, float baseHeight);
    ~OneRemoveSupportCommand() override;

    void finish();

    // Supports and overhang points are taken away; the model rests on the platform.
    void redo() override;
    // The model is lifted back; its overhang points and support list are given back.
    void undo() override;
    std::size_t bytes() const override;

    float baseHeight() const { return m_baseHeight; }

  protected:
    std::list<ModelPtr> models() const override { return {m_model}; }

  private:
    Orvane3Ds::CSupportApp *m_supportApp;
    std::shared_ptr<Support> m_supportList;
    OverhangList m_overhangs;
    float m_baseHeight;
    ModelPtr m_model;
    std::shared_ptr<const ModelState> m_before;
    std::shared_ptr<const ModelState> m_after;
};
