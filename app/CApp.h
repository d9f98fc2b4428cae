#pragma once

namespace Orvane3Ds
{

// The engine interface the 3D view drives: initialise GL, paint, handle an input event, and the
// model operations of the layout and selection panels.
class CApp
{
  public:
    virtual ~CApp() = default;

    // Called once with the GL context current; false when the context is not usable.
    virtual bool initializeGL() = 0;
    virtual bool isReady() { return true; }
    virtual void paint() = 0;
    // `record` is one input record of the view (mouse, key or resize), valid for the call only.
    virtual void handleEvent(const void *record) = 0;

    // count copies of every selected model, laid out with `interval` mm between them.
    virtual void copyModels(int count, int interval) = 0;
    // Lays the scene's models out with `interval` mm between them.
    virtual void layoutModels(int interval) = 0;
    virtual void selectAllModels() = 0;
    virtual void invertSelection() = 0;

    // Two integers for the frame (its view settings).
    virtual void forwardToFrame(int first, int second) = 0;
    // Cancel state of the running operation, handed to the root progress object.
    virtual void setCancel(bool cancel) = 0;
    virtual void setFurtherFlag(bool flag) = 0;
};

} // namespace Orvane3Ds
