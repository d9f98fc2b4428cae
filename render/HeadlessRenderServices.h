#pragma once

#include "app/HeadlessCli.h"

namespace Orvane3Ds
{

// The command line's GL services (snapshots and work-package previews) backed by the renderer.
HeadlessServices headlessRenderServices();

} // namespace Orvane3Ds
