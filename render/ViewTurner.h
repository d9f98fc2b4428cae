#pragma once

#include <deque>
#include <functional>
#include <memory>

class QTimer;

namespace Orvane3Ds
{

class DFrame3d;

// Drives the standard views (top, bottom, left, right, home, far, near) as animated camera
// transitions of 3-degree steps. Its state persists between presses; any mouse movement in the
// view marks it dirty so that the next standard view starts from homeView.
//
// Animated (the window): a press queues its steps and returns; a timer on the GUI thread runs
// one step per tick (every stepPause ms), each step turning the camera and calling the repaint
// callback, so the window keeps answering between the frames. A press while a transition runs
// first completes that one at once. Not animated (the default): the steps run within the call,
// each followed by the repaint callback and a pause.
class ViewTurner
{
  public:
    explicit ViewTurner(DFrame3d *frame, std::function<void()> repaint = {});
    ~ViewTurner();
    ViewTurner(const ViewTurner &) = delete;
    ViewTurner &operator=(const ViewTurner &) = delete;

    void setAnimated(bool animated);
    // A queued transition has steps left.
    bool isAnimating() const;
    // Applies the remaining steps of a running transition at once and repaints.
    void finish();

    void top();
    void bottom();
    void left();
    void right();
    void home();
    void farther(); // zoom by -40
    void nearer();  // zoom by +40
    void markDirty() { m_dirty = true; }

    // Pause after each step, in milliseconds (0 in tests); the timer interval when animated.
    void setStepPause(int milliseconds) { m_pauseMs = milliseconds; }
    void setRepaint(std::function<void()> repaint) { m_repaint = std::move(repaint); }
    void setFrame(DFrame3d *frame) { m_frame = frame; }

    bool topEnabled() const { return m_topEnabled; }
    bool bottomEnabled() const { return m_bottomEnabled; }
    bool topShown() const { return m_topShown; }
    bool bottomShown() const { return m_bottomShown; }
    bool isDirty() const { return m_dirty; }
    float yawTotal() const { return m_yawTotal; }
    float pitchTotal() const { return m_pitchTotal; }

  private:
    // True when the view was reset to home because it was dirty.
    bool prepare();
    // Queues a camera change; `repaint`: the change ends a frame (repaint, then the pause).
    void queue(std::function<void()> change, bool repaint = true, bool pause = true);
    // Runs the queued changes of the next frame (timer tick).
    void advance();
    void pitchStep(float degrees);
    void yawStep(float degrees);
    void homeStep();
    void repaintAndPause(bool pause = true);
    // Left and right: 30 steps about the vertical (a negative step turns left), levelling a top
    // or bottom view on the way.
    void turnSideways(float yawPerStep);

    DFrame3d *m_frame = nullptr;
    std::function<void()> m_repaint;
    bool m_topShown = false;
    bool m_bottomShown = false;
    bool m_viewChanged = false;
    float m_yawTotal = 0.0f;
    float m_pitchUpNeeded = 90.0f;
    float m_pitchDownNeeded = 90.0f;
    float m_pitchTotal = 0.0f;
    bool m_dirty = false;
    bool m_topEnabled = true;
    bool m_bottomEnabled = true;
    int m_pauseMs = 10;

    struct QueuedStep {
        std::function<void()> change;
        bool repaint = true;
    };
    bool m_animated = false;
    std::deque<QueuedStep> m_steps;
    std::unique_ptr<QTimer> m_timer;
};

} // namespace Orvane3Ds
