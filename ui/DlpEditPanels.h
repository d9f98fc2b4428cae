#pragma once

#include <functional>

class DlpMainWindow;
class DlpMenuBar;
class DSharedApp;

namespace Orvane3Ds
{
class DViewInput;
}

// Puts the model editing into the window: the scale, rotate and layout panels of the tool
// strip and the Edit menu's Undo and Redo. The window owns what is created. `input` gives the
// view's input dispatch, or null once the view is gone.
void installEditPanels(DlpMainWindow &window, DSharedApp &app,
                       std::function<Orvane3Ds::DViewInput *()> input, DlpMenuBar &menuBar);
