// The display panel's handlers on the main window, Qt-free: the display mode, channel, trigger, scale and
// averaging switches, the source point, the sliders in their holder, the pointer over the display (the
// frequency under it, the wheel step its height chooses, click-to-tune) and the hover handlers of the
// bare window and the frames around. The panel's widgets forward their events here.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "display/ScopePanelView.h"
#include "display/clsSpectrumAnalyser.h"
#include "frame/ReceiverState.h"
#include "frontpanel/KnobRoutines.h"
#include "frontpanel/PanelPorts.h"
#include "frontpanel/ScrollLabel.h"

namespace display {

// What the handlers reach; none of it is owned.
struct ScopePanelContext {
    ReceiverState& state;
    clsSpectrumAnalyser& analyser;
    CtlArray& ctlArray;                    // the display knobs, knob 16's wheel step
    MouseOverS::KnobRoutines& routines;    // the knobs' apply routines the mode change runs
    frontpanel::ShellHighlight& highlight; // the main window's hover routines
    frontpanel::TuningVfo& vfo;
    ScopePanelView& view;
};

class ScopePanelCore {
public:
    explicit ScopePanelCore(const ScopePanelContext& context) : c_(context) {}
    ScopePanelCore(const ScopePanelCore&) = delete;
    ScopePanelCore& operator=(const ScopePanelCore&) = delete;

    // Simple switches: each sets one analyser member (or PerfStatsOn) from its box.
    void chkChn1On_Click();
    void chkChn2On_Click();
    void chkScopeShowFilters_Click();
    void chkSpectrumAutoGain_Click();
    void chkSpectrumAnalyser_Click();
    void chkPerfStatsOn_Click();
    // "Lin" unticked is the logarithmic scale; the mode is set again so the scale is refitted.
    void chkLog_Click();
    // "Fast": no averaging, and the averaging knob hidden.
    void chkSmoothSpectrum_Click();
    // The trigger pair acts as a choice in which a click always selects the clicked box.
    void chkTrigOn_Click(int16_t Index);
    // The display mode: the mode, the panel's visibility, the boxes from the mode's record (whose own
    // handlers run), the sliders' handling, then the span from the knobs. A nested call returns at once.
    void chkScopeMode_Click(int16_t Index);
    // The source point: the view's span, direction and offset, and a filter rebuild.
    void optSpectrumSource_Click(int16_t Index);

    // The sliders. Button 2 is the right button.
    void sldSpectrumGain_Change();
    void sldSpectrumGain_MouseDown(int16_t Button);
    void sldXCentre_Change();
    void sldXCentre_MouseDown(int16_t Button);
    void sldXWidth_Change();
    void sldXWidth_MouseDown(int16_t Button);

    // The pointer over the display pictures, X and Y in their user scale.
    void picScope_MouseMove(int16_t Index, int16_t Button, int16_t Shift, float X, float Y);
    void picScope_MouseDown(int16_t Index, int16_t Button, int16_t Shift, float X, float Y);
    // The pointer leaving the display for the areas around it.
    void picScopeContainer_MouseMove();
    void picScopeCtls_MouseMove();
    void imgAreaScope_MouseMove();
    void picCalib_MouseMove();

    // The pointer over the bare window, and over the mode and filter frames of the front panel, whose
    // caption paintCaption colours.
    void Form_MouseMove();
    void frDemod_MouseMove(const std::function<void(int32_t)>& paintCaption);
    void frFilters_MouseMove(const std::function<void(int32_t)>& paintCaption);

    // What the handlers reach, for the start-up steps.
    const ScopePanelContext& context() const noexcept { return c_; }

    // The number picture of the frequency label, as the last move chose it.
    const std::string& ScopeFreqFormat() const noexcept { return scopeFreqFormat_; }

private:
    ScrollLabel& knob(int16_t index) { return frontpanel::knobAt(c_.ctlArray, index); }
    bool ticked(ScopeBox box) const { return c_.view.Value(box) == 1; }
    void showChannelKnobs(int16_t gainKnob, float gain, int16_t shiftKnob, float shift);
    void showModeParts(int16_t Index);
    void showModeRecord();
    void centreSweepSliders();
    void hideFreqLabels();

    ScopePanelContext c_;
    bool scopeModeBusy_ = false;
    bool trigOnBusy_ = false;
    std::string scopeFreqFormat_ = "###0";
};

} // namespace display
