// The start-up steps of the receiver's controls.
#include "frontpanel/ControlsStartUp.h"

#include <cmath>
#include <optional>

#include "frame/NumberFormat.h"
#include "frame/TuningPort.h"
#include "frontpanel/StartUpTraces.h"
#include "platform/runtime/Convert.h"
#include "platform/runtime/RuntimeError.h"

namespace frontpanel::startup {

namespace {

using runtime::CLng;
using runtime::resumeNext;

int16_t box(bool ticked) {
    return ticked ? 1 : 0;
}

void setUpAgcSlider(PanelSlider& s, int32_t value) {
    resumeNext([&] { s.setTickFrequency(CLng((static_cast<double>(s.Max()) - s.Min()) / 10)); });
    resumeNext([&] { s.setLargeChange(s.TickFrequency()); });
    resumeNext([&] { s.setSmallChange(CLng(s.LargeChange() / 2.0)); });
    resumeNext([&] { s.setValue(value); });
}

} // namespace

void InitialiseAgcSliders(FrontPanelCore& core, const Trace& trace) {
    TraceSequence steps(trace, kAgcSliderTraces);
    steps.next();
    setUpAgcSlider(core.levels.sldAGCAttack, 100);
    steps.next();
    setUpAgcSlider(core.levels.sldAGCDecay, 40);
}

void SelectFastAgc(FrontPanelCore& core) {
    ReceiverState& st = core.state;
    resumeNext([&] { core.levels.optAGC.setValue(1, true); });
    st.AGCMode = 1;
    st.AGCOn = false;
}

void FillDefaultTables(FrontPanelCore& core, const Trace& trace) {
    FilterTables& tables = core.tables;
    ReceiverState& st = core.state;
    const FilterTables defaults = DefaultFilterTables();
    TraceSequence steps(trace, kDefaultTableTraces);
    for (size_t row = 0; row < 5; ++row) {
        steps.next();
        tables.AfFilterPreset[row] = defaults.AfFilterPreset[row];
    }
    // The three AGC rows are traced together, then filled at once from the AGC knobs' maxima.
    for (int row = 1; row <= 3; ++row)
        steps.next();
    resumeNext([&] {
        FillAgcPresetRows(tables, core.ctlArray[kAGCAttackKnob].Max, core.ctlArray[kAGCDecayKnob].Max);
    });
    LevelControls& levels = core.levels;
    resumeNext([&] { levels.chkAGC.setValue(box(st.AGCOn)); });
    resumeNext([&] { levels.optAGC.setValue(runtime::checkedNarrow<int16_t>(st.AGCMode), true); });
    resumeNext([&] { levels.chkAGC_Click(); });

    FilterControls& filters = core.filterControls;
    st.IFFilterMode = IFFilterMode::Track;
    resumeNext([&] { filters.optIFFilter.setValue(IFFilterMode::Track, true); });
    st.IFFilterActive = false;
    resumeNext([&] { filters.chkIFFilter.setValue(0); });
    steps.next();
    tables.IfFilterTable = defaults.IfFilterTable;

    steps.next();
    st.NotchWidth = 200;
    st.NotchCentre = 1000;
    st.NotchBuiltCentre = 1000;
}

void ShowChannelSwap(FrontPanelCore& core) {
    resumeNext([&] { core.switches.chkFlipIQ.setValue(box(core.state.FlipIQ)); });
}

void ShowMuteLoSideAndNoiseReduction(FrontPanelCore& core, bool hiSideLo) {
    const ReceiverState& st = core.state;
    LevelControls& levels = core.levels;
    ReceiverSwitches& switches = core.switches;
    resumeNext([&] { levels.chkMute.setValue(box(st.MuteAf)); });
    resumeNext([&] { levels.chkMute_Click(); });
    resumeNext([&] { switches.chkTuneLo.setValue(0); });
    if (!hiSideLo) {
        resumeNext([&] { switches.chkTuneLo.setValue(1); });
        resumeNext([&] { switches.chkTuneLo_Click(); });
    }
    resumeNext([&] { levels.chkNB.setValue(box(st.NBOn)); });
    resumeNext([&] { levels.chkNB_Click(); });
}

void ShowNotchAndIfFilter(FrontPanelCore& core) {
    const ReceiverState& st = core.state;
    LevelControls& levels = core.levels;
    FilterControls& filters = core.filterControls;
    resumeNext([&] { levels.chkNotchOn.setValue(box(st.NotchActive)); });
    resumeNext([&] { levels.chkNotchType.setValue(box(st.NotchType != NotchType::AF)); });
    resumeNext([&] { levels.optNotch_Click(runtime::checkedNarrow<int16_t>(st.NotchMode)); });
    resumeNext([&] { levels.chkNotchType.setValue(runtime::checkedNarrow<int16_t>(st.NotchType)); });
    resumeNext([&] { levels.optNotch.setValue(runtime::checkedNarrow<int16_t>(st.NotchMode), true); });
    resumeNext([&] { filters.optIFFilter.setValue(runtime::checkedNarrow<int16_t>(st.IFFilterMode), true); });
    resumeNext([&] { filters.chkIFFilter.setValue(box(st.IFFilterActive)); });

    FilterTables& tables = core.tables;
    resumeNext([&] {
        const IfFilterRow& r = ifFilterRow(tables, st.IFFilterMode, st.DemodMode, "IfFilterTable");
        core.ctlArray[kIFHiKnob].Value = static_cast<float>(r.Hi);
        core.ctlArray[kIFLoKnob].Value = static_cast<float>(r.Lo);
    });
    resumeNext([&] { core.routines.SetIFHi(); });
    resumeNext([&] { core.routines.SetIFLo(); });
}

void CaptionFilterButtons(FrontPanelCore& core) {
    PanelOptionGroup& presets = core.filterControls.optFilter;
    resumeNext([&] { presets[2].setCaption(NumberFormat::Format(2, "0.0 kHz")); });
    resumeNext([&] { presets[3].setCaption(NumberFormat::Format(3, "0.0 kHz")); });
}

void ShowRecordingFormat(FrontPanelCore& core, int32_t bitsPerSample, int32_t decimator) {
    ReceiverSwitches& switches = core.switches;
    resumeNext([&] { switches.optRecordSamplePerBit.setValue(bitsPerSample == 8 ? 1 : 0, true); });
    resumeNext([&] {
        const int16_t index =
            decimator < 1 || decimator > 16 ? 0 : runtime::CInt(std::log2(static_cast<double>(decimator)));
        switches.optRecordSampleRate.setValue(index, true);
    });
}

void ResetUpperSideBox(FrontPanelCore& core) {
    resumeNext([&] { core.switches.chkIQSelectUpper.setForeColor(0x0000FF); });
    resumeNext([&] { core.switches.chkIQSelectUpper.setValue(0); });
}

void CheckUpperSide(FrontPanelCore& core) {
    if (core.state.VFOControl) return;
    // The box shows the side the chain's first block will take (no step before it), and the receiver
    // keeps the tuning it was left at: moving it by twice the IF below the base would change the saved
    // tuning and the station heard at every start.
    resumeNext([&] {
        const std::optional<double> base = core.vfo.OscillatorBase();
        if (base && iqUpperSide(core.vfo.TunedFrequency(), CLng(*base), 0))
            core.switches.chkIQSelectUpper.setValue(1);
    });
}

} // namespace frontpanel::startup
