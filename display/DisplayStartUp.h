// The main window's start-up steps that set the display panel and the S-meter up, in the terms of the
// steps: the analyser switch after the analyser is made, the analyser on the panel's pictures with the
// stored mode shown, the restored source point and switches, and the S-meter's scale. The main window
// runs each at its place in its start-up; every statement is guarded on its own, as the start-up's are
// (one that fails is skipped silently).
#pragma once

#include <functional>

#include "display/SMeter.h"
#include "display/ScopePanelCore.h"

namespace display::startup {

using Trace = std::function<void(const char* step)>;

// The analyser switch from the analyser's Active.
void ShowAnalyserActive(ScopePanelCore& panel);
// The analyser at 48000 Hz, order 11, on the panel's two pictures, bins 0 to 1024 over 0 to twice the
// base IF, offset by the tuned frequency less half the span; the stored mode's box ticked (its handler
// sets the rest of the panel); init; the filter switch from ShowFilter; the notch marker from
// NotchActive.
void InitialiseSpectrumAnalyser(ScopePanelCore& panel, const Trace& trace = {});
// The restored state: the source point's button (its handler runs), the analyser and statistics
// switches.
void ShowRestoredScopeState(ScopePanelCore& panel);
// The S-meter's scale, after the controls are darkened.
void DrawSMeterScale(SMeter& meter);

} // namespace display::startup
