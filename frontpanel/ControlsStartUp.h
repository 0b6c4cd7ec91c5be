// The main window's start-up steps that set the receiver's controls up, in the terms of the steps: the
// AGC sliders, the "Fast" AGC row, the default tables with the controls that show them, and the restored
// state shown on the controls. The main window runs each at its place in its start-up; every statement
// is guarded on its own, as the start-up's are (one that fails is skipped silently).
#pragma once

#include <cstdint>
#include <functional>

#include "frontpanel/FrontPanelCore.h"

namespace frontpanel::startup {

using Trace = std::function<void(const char* step)>;

// The AGC sliders: a tenth of the range between ticks, the large change the same, the small change half
// of it, then their design values (the attack's 100 lies beyond its range and shows its end).
void InitialiseAgcSliders(FrontPanelCore& core, const Trace& trace = {});
// "Fast" selected (its handler runs), then AGCMode 1 and the AGC off.
void SelectFastAgc(FrontPanelCore& core);
// The audio-filter presets, the AGC rows from the AGC knobs' maxima with the AGC controls, the IF filter
// in Track and off, the IF filter rows, and the notch's start values.
void FillDefaultTables(FrontPanelCore& core, const Trace& trace = {});
// The channel swap box from FlipIQ.
void ShowChannelSwap(FrontPanelCore& core);
// Mute, the LO side as the VFO has it (hiSideLo), and the noise reduction, each with its handler.
void ShowMuteLoSideAndNoiseReduction(FrontPanelCore& core, bool hiSideLo);
// The notch switches and mode, the IF filter mode and switch, then the IF filter knobs from the table.
void ShowNotchAndIfFilter(FrontPanelCore& core);
// The captions "2.0 kHz" and "3.0 kHz" of the two middle presets.
void CaptionFilterButtons(FrontPanelCore& core);
// The recorder's width and rate as it read them from its settings (the rate's button runs its handler).
void ShowRecordingFormat(FrontPanelCore& core, int32_t bitsPerSample, int32_t decimator);
// The upper-side box in its start colour, unticked.
void ResetUpperSideBox(FrontPanelCore& core);
// Without VFO control: ticks the upper-side box when the I/Q chain will take the upper side for the
// tuned frequency (iqUpperSide, frame/TuningPort.h); the tuning itself is left as it is.
void CheckUpperSide(FrontPanelCore& core);

} // namespace frontpanel::startup
