#pragma once

#include "render/OrvaneInteractor.h"

#include <memory>

class Model;
class ModelPlacementCommand;

namespace Orvane3Ds
{

// Moves the selected models on the platform plane with the left mouse button (layout panel).
// Click selection: a click on an unselected model selects it alone (with Ctrl or Shift: adds
// it); Ctrl or Shift with a click on a selected model that is not dragged deselects it; a click
// on nothing clears the selection. Dragging moves every selected drawable by the motion of the
// cursor on the plane z = 0; only the release moves the meshes (once), rests models without
// supports on the platform and records the move. While dragging the view draws the models'
// stand-ins, so a large model stays fluid.
class DMoveModelInteractor : public OrvaneInteractor
{
  public:
    DMoveModelInteractor();
    ~DMoveModelInteractor() override;

    void handleEvent(const void *record) override;

    bool isPressed() const { return m_pressed; }
    bool isMoved() const { return m_moved; }
    // Platform-plane offset of the drag in progress (0 when none).
    Vec3f dragOffset() const { return m_offset; }

  private:
    void press(int x, int y, int width, int height, bool addToSelection);
    void drag(int x, int y, int width, int height);
    void release(bool addToSelection);
    bool planePoint(int x, int y, int width, int height, Vec3f *point) const;

    int m_lastX = 0;
    int m_lastY = 0;
    RayHit m_lastHit;
    std::shared_ptr<Model> m_pressedModel;
    bool m_pressed = false;
    bool m_moved = false;
    Vec3f m_offset;
    std::shared_ptr<ModelPlacementCommand> m_command;
};

} // namespace Orvane3Ds
