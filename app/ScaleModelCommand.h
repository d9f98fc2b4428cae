#pragma once

#include "app/Command.h"

#include "geometry/Vec3.h"

#include <cstdint>

class ModelState;

// A scale of one model by the scale panel. Keeps the model, the matrix that was applied to it
// and the model's support-state value at the time of recording, plus the model's state before
// and after (an inverse matrix would not give the old vertices back exactly).
class ScaleModelCommand : public Command
{
  public:
    // Create it before the model is scaled; call finish() afterwards.
    ScaleModelCommand(std::shared_ptr<CommandTarget> owner, ModelPtr model, const Matrix4f &matrix,
                      std::int32_t supportState);
    ~ScaleModelCommand() override;

    void finish();
    // Takes a later scale of the same model into this one: undo then goes back to before this
    // one, redo forward to after the later one. False (nothing changed) for another model.
    bool absorb(const ScaleModelCommand &later);

    // Generated supports are discarded (they no longer fit), the scaled state is put back: the
    // model rests on the platform as it did after the scale.
    void redo() override;
    // The model as it was before the scale, supports included.
    void undo() override;
    std::size_t bytes() const override;

    const Matrix4f &matrix() const { return m_matrix; }
    std::int32_t supportState() const { return m_supportState; }
    const ModelPtr &model() const { return m_model; }

  protected:
    std::list<ModelPtr> models() const override { return {m_model}; }

  private:
    ModelPtr m_model;
    Matrix4f m_matrix;
    std::int32_t m_supportState;
    std::shared_ptr<const ModelState> m_before;
    std::shared_ptr<const ModelState> m_after;
};
