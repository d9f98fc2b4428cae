#pragma once

#include <functional>

namespace Orvane3Ds
{

// The three GL entry points the view widget calls, plus the repaint hook it installs.
class IGlApplication
{
  public:
    virtual ~IGlApplication() = default;
    // Called once with the context current; false leaves the view blank and input ignored.
    virtual bool initialiseGL() = 0;
    virtual void paintGL() = 0;
    // `record` is an InputEvent, KeyEventRecord or ResizeEventRecord, valid for the call only.
    virtual void handleGLEvent(const void *record) = 0;
    // Installed by the view: redraws synchronously on the GUI thread.
    virtual void setRepaintCallback(std::function<void()> repaint) = 0;
};

} // namespace Orvane3Ds
