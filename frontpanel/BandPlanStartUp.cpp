// The start-up steps of the band plan.
#include "frontpanel/BandPlanStartUp.h"

#include <string>

#include "platform/runtime/RuntimeError.h"

namespace frontpanel::startup {

using runtime::resumeNext;

void FillBandSelector(BandPlanPanel& panel, const std::vector<MainBandRec>& MainBands) {
    resumeNext([&] { panel.cboBandSelect.Clear(); });
    for (const MainBandRec& band : MainBands)
        resumeNext([&] { panel.cboBandSelect.AddItem(band.Caption); });
}

void InitialiseSubBandButtons(BandPlanPanel& panel) {
    for (int16_t i = 0; i < kSubBandButtons; ++i) {
        resumeNext([&] { panel.optSubBand[i].setForeColor(kSubBandColour); });
        resumeNext([&] { panel.optSubBand[i].setCaption("S" + std::to_string(i + 1)); });
    }
}

void InitialisePresetButtons(BandPlanPanel& panel) {
    for (int16_t i = 0; i < kPresetButtons; ++i) {
        resumeNext([&] { panel.optPreset[i].setForeColor(kOtherColour); });
        resumeNext([&] { panel.optPreset[i].setCaption("P" + std::to_string(i + 1)); });
    }
}

void SelectBandUsedLast(BandPlanPanel& panel, int32_t CurrentMainBandIndex) {
    resumeNext([&] {
        const int32_t k = CurrentMainBandIndex >= 0 && CurrentMainBandIndex < panel.cboBandSelect.ListCount()
                              ? CurrentMainBandIndex
                              : 0;
        panel.cboBandSelect.setListIndex(k);
    });
}

} // namespace frontpanel::startup
