// The display as a component of the main window: the spectrum analyser the load creates, the display
// panel in the window's scope container with its core, the redraw pacing, the S-meter on the form, and the
// adapters through which the receive path, the front panel and the configuration dialog reach the
// analyser (each raises Object variable not set, or feeds nothing, while the analyser is missing).
#pragma once

#include <memory>

#include "mainwindow/MainWindowComponents.h"

class clsSpectrumAnalyser;
class frmUpDateScopeDisplay;
namespace display {
class ScopePanel;
class ScopePanelCore;
class SMeterControls;
} // namespace display

namespace mainwindow {

std::unique_ptr<DisplayComponent> makeDisplay(ComponentHost& host);

// The program's display as its tests reach it. The panel and the meter are made with the component; the
// analyser, the panel's core and the pacing once the analyser is made (the core and the pacing over the
// front panel's knobs). Everything is absent for another component.
struct DisplayParts {
    display::ScopePanel* Panel = nullptr;
    display::SMeterControls* Meter = nullptr;
    clsSpectrumAnalyser* Analyser = nullptr;
    display::ScopePanelCore* Core = nullptr;
    frmUpDateScopeDisplay* Pacing = nullptr;
};
DisplayParts partsOf(DisplayComponent& display);

} // namespace mainwindow
