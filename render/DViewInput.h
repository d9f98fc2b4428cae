#pragma once

#include <memory>

class DSharedApp;

namespace Orvane3Ds
{

class COrvaneFrame;
class DInteractor3d;
class DMoveModelInteractor;
class DRotateModelInteractor;
struct InteractorHooks;

// The application's dispatch of the 3D view's input: an active interactor gets every event;
// otherwise a left click selects the model under the cursor (with Ctrl or Shift it adds it to or
// takes it out of the selection), a release refreshes the scene state and Delete deletes the
// selected models. Camera gestures are left to the render engine. Also owns the move and rotate
// interactors of the layout and rotate panels.
//
// GUI thread only. The application outlives this object.
class DViewInput
{
  public:
    explicit DViewInput(DSharedApp &app);
    ~DViewInput();

    // Called once the frame exists: attaches the interactors, installs one asked for earlier
    // and gives the commands the frame.
    void setFrame(COrvaneFrame *frame);
    COrvaneFrame *frame() const { return m_frame; }

    // True when the event was handled completely (the camera must not see it).
    bool handle(const void *record);

    // Attaches `interactor`, makes it the frame's only interactor and sets its mode. Before GL
    // is ready the installation waits for setFrame().
    void install(const std::shared_ptr<DInteractor3d> &interactor, int mode = 1);
    // Switches it off and, when it is the frame's interactor, leaves the frame without one.
    void remove(const std::shared_ptr<DInteractor3d> &interactor);
    std::shared_ptr<DInteractor3d> installed() const;

    // Created once, with the application's hooks.
    const std::shared_ptr<DMoveModelInteractor> &moveInteractor();
    const std::shared_ptr<DRotateModelInteractor> &rotateInteractor();

    InteractorHooks hooks() const;

  private:
    void selectAt(int x, int y, int width, int height, bool toggle);

    DSharedApp &m_app;
    COrvaneFrame *m_frame = nullptr;
    std::shared_ptr<DInteractor3d> m_pending;
    int m_pendingMode = 0;
    std::shared_ptr<DMoveModelInteractor> m_move;
    std::shared_ptr<DRotateModelInteractor> m_rotate;
};

} // namespace Orvane3Ds
