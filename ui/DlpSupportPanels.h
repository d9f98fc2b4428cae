#pragma once

#include <functional>

class DlpMainWindow;
class DSharedApp;

namespace Orvane3Ds
{
class DViewInput;
}

// Puts the support work into the window: the support panel of the tool strip (profiles,
// generate / remove, editing of overhang points in the view through `input`, the parameter
// dialog). While support work runs or points are edited, the tool strip and the menu bar are
// off. The window owns what is created.
void installSupportPanels(DlpMainWindow &window, DSharedApp &app,
                          std::function<Orvane3Ds::DViewInput *()> input);

// Puts the manual support panel (DSupportWindow) behind the tool strip's jewelry support
// button. While rods are drawn the menu bar and the tool strip's load and printer buttons are
// off; choosing another panel ends the drawing. `input` gives the view's input dispatch, or null
// once the view is gone.
void installManualSupportPanel(DlpMainWindow &window, DSharedApp &app,
                               std::function<Orvane3Ds::DViewInput *()> input);
