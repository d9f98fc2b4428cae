#pragma once

#include "render/IFrameInteractor.h"

#include "geometry/RayHit.h"

namespace Orvane3Ds
{

class COrvaneFrame;

// Root of the pluggable input modes of the 3D view. Every operation is empty; isActive() answers
// false and rayAt() an empty ray. The frame offers middle presses and wheel steps to the
// installed interactor through IFrameInteractor.
//
// GUI thread only.
class DInteractor3d : public IFrameInteractor
{
  public:
    ~DInteractor3d() override = default;

    // The interactor's dispatch of one input record (InputEvent, KeyEventRecord or
    // ResizeEventRecord, valid for the call only).
    virtual void handleEvent(const void * /*record*/) {}
    // Ray callbacks of the editors.
    virtual void onMove(const Ray &) {}
    virtual void onPress(const Ray &) {}
    virtual void onRelease(const Ray &) {}
    // True when the interactor took the wheel step (the frame then does not zoom).
    virtual bool onWheel(int /*delta*/) { return false; }
    virtual void onMiddlePress(int /*x*/, int /*y*/) {}
    virtual void onKey(int /*key*/) {}
    // Non-zero switches the interactor on, zero off.
    virtual void setMode(int /*mode*/) {}
    // Picking ray under a widget pixel for this interactor: from the near plane towards the far
    // plane through the pixel (works for the perspective and the orthographic projection).
    virtual Ray rayAt(int /*x*/, int /*y*/, int /*width*/, int /*height*/) const { return {}; }
    // Keeps the frame (and through it the scene).
    virtual void attach(COrvaneFrame * /*frame*/) {}

    // IFrameInteractor
    bool offerPress(int x, int y) override
    {
        onMiddlePress(x, y);
        return false;
    }
    bool offerWheel(int delta) override { return onWheel(delta); }
};

} // namespace Orvane3Ds
