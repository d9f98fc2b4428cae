#pragma once

#include <QString>

namespace Orvane3Ds
{

// Multisampling of the 3D view. A software renderer (Mesa's llvmpipe, softpipe or swrast, or a
// renderer calling itself software) gets none: it resolves every sample on the CPU, and each
// frame becomes several times slower. Any other gets up to 8 samples, as many as it offers
// (`maxSamples`, GL_MAX_SAMPLES; 0 when it offers none).
int viewSampleCount(const QString &renderer, int maxSamples);

// viewSampleCount() for the default GL context of this machine, probed once on an offscreen
// surface (GUI thread). 0 when no context can be made.
int probeViewSampleCount();

} // namespace Orvane3Ds
