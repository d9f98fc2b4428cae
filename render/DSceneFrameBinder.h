#pragma once

class DScene;

namespace Orvane3Ds
{

class COrvaneFrame;

// Keeps the frame's drawables in step with the scene: installs the scene callbacks for models,
// supports, overhang points and manual pieces (support drawables of their model). Other callbacks
// of the scene are left as they are. Both objects must outlive the installed callbacks (the
// application owns both); callbacks run on the GUI thread with the view's context current or not —
// drawables created outside a frame upload on their first draw.
void bindSceneToFrame(DScene &scene, COrvaneFrame &frame);

} // namespace Orvane3Ds
