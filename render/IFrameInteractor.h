#pragma once

#include "geometry/RayHit.h"

#include <vector>

namespace Orvane3Ds
{

class CContext;

// What the frame needs from the active interactor (the tool the left mouse button drives).
// Every offer returns true when the interactor took the event.
class IFrameInteractor
{
  public:
    virtual ~IFrameInteractor() = default;

    // True while the interactor is working (for example dragging); enables the highlight pass.
    virtual bool isActive() const { return false; }
    // Faces of the edited model to highlight in support-editing mode.
    virtual std::vector<int> highlightedFaces() const { return {}; }
    // Draws its overlay with the model program bound.
    virtual void drawOverlay(CContext &) {}
    virtual bool offerPress(int /*x*/, int /*y*/) { return false; }
    virtual bool offerWheel(int /*delta*/) { return false; }
    // Lets the interactor supply its own picking ray.
    virtual bool offerPickRay(int /*x*/, int /*y*/, int /*w*/, int /*h*/, Ray *) { return false; }
};

} // namespace Orvane3Ds
