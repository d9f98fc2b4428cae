#pragma once

#include "render/DInteractor3d.h"

#include <functional>
#include <memory>

class Command;
class DScene;
struct CommandTarget;

namespace Orvane3Ds
{

// What interactors do to the application beyond the scene: record a change, delete the
// selected models. Empty hooks are skipped.
struct InteractorHooks {
    std::function<void(std::shared_ptr<Command>)> record;
    std::function<void()> deleteSelection;
    std::shared_ptr<CommandTarget> commandTarget;
};

// Base of the application's interactors: a mode (0 = off), the frame and its scene, and the
// default dispatch of the camera gestures, the Delete key, resizes and wheel steps.
class OrvaneInteractor : public DInteractor3d
{
  public:
    void attach(COrvaneFrame *frame) override;
    void setMode(int mode) override { m_mode = mode; }
    int mode() const { return m_mode; }
    bool isActive() const override { return m_mode != 0; }
    void handleEvent(const void *record) override { defaultDispatch(record); }
    // Zooms the camera by delta / 10 (integer division).
    bool onWheel(int delta) override;
    Ray rayAt(int x, int y, int width, int height) const override;

    void setHooks(InteractorHooks hooks) { m_hooks = std::move(hooks); }
    const InteractorHooks &hooks() const { return m_hooks; }
    COrvaneFrame *frame() const { return m_frame; }
    DScene *scene() const { return m_scene; }

  protected:
    // Right press / drag: rotate the camera; middle press / drag: pan; Delete: delete the
    // selected models; resize; wheel (through the frame, which offers it to onWheel()).
    void defaultDispatch(const void *record);
    // The editors' shared handler: left press, left release and every move become onPress,
    // onRelease and onMove with the ray under the cursor, key presses onKey; then the default
    // dispatch.
    void editorDispatch(const void *record);

    int m_mode = 0;
    COrvaneFrame *m_frame = nullptr;
    DScene *m_scene = nullptr;
    InteractorHooks m_hooks;
};

} // namespace Orvane3Ds
