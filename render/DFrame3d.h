#pragma once

#include "render/DFrame.h"

#include "geometry/RayHit.h"

namespace Orvane3Ds
{

// A frame with a camera: gestures, camera steps and picking. Empty defaults; COrvaneFrame
// implements them.
class DFrame3d : public DFrame
{
  public:
    virtual void pressRight(int /*x*/, int /*y*/) {}
    virtual void pressMiddle(int /*x*/, int /*y*/) {}
    virtual void dragRotate(int /*x*/, int /*y*/) {}
    virtual void dragPan(int /*x*/, int /*y*/) {}
    virtual void wheel(int /*delta*/) {}
    virtual void zoomBy(float /*amount*/) {}
    virtual void pitchBy(float /*degrees*/) {}
    virtual void yawBy(float /*degrees*/) {}
    virtual void homeView() {}
    virtual void topViewReset() {}
    virtual Ray pickRay(int /*x*/, int /*y*/, int /*width*/, int /*height*/) { return {}; }
    virtual void setEditMode(bool /*edit*/) {}
};

} // namespace Orvane3Ds
