// The main window's start-up steps of the band plan, in the terms of the steps: the band selector filled,
// the sub-band and preset buttons captioned and coloured, and the band used last selected. The widgets'
// layout (BandPlanControls::LayOut) places the buttons and records the popups' places between the first
// and the last. Every statement is guarded on its own, as the start-up's are.
#pragma once

#include <vector>

#include "frontpanel/BandPlanPanel.h"

namespace frontpanel::startup {

// Every band's Caption, from the lowest index up, so that a list index is a band index.
void FillBandSelector(BandPlanPanel& panel, const std::vector<MainBandRec>& MainBands);
// "S1" to "S18" in the sub-band colour.
void InitialiseSubBandButtons(BandPlanPanel& panel);
// "P1" to "P12" in the other colour.
void InitialisePresetButtons(BandPlanPanel& panel);
// The band at CurrentMainBandIndex when the selector has it, else the first: its selection loads and
// applies it.
void SelectBandUsedLast(BandPlanPanel& panel, int32_t CurrentMainBandIndex);

} // namespace frontpanel::startup
