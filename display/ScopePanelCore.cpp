// The display panel's handlers over its view, the analyser, the knob table and the VFO.
#include "display/ScopePanelCore.h"

#include <initializer_list>
#include <optional>

#include "frame/NumberFormat.h"
#include "frame/ScopedFlag.h"
#include "platform/runtime/Convert.h"

namespace display {

namespace {

constexpr int16_t kLeftButton = 1;
constexpr int16_t kRightButton = 2;

ScopeBox modeBox(int16_t index) {
    return index == 0   ? ScopeBox::chkScopeMode0
           : index == 1 ? ScopeBox::chkScopeMode1
                        : ScopeBox::chkScopeMode2;
}

int16_t boxValue(bool ticked) {
    return ticked ? 1 : 0;
}

} // namespace

// ---- Simple switches

void ScopePanelCore::chkChn1On_Click() {
    c_.analyser.setChn1Enabled(ticked(ScopeBox::chkChn1On));
}

void ScopePanelCore::chkChn2On_Click() {
    c_.analyser.setChn2Enabled(ticked(ScopeBox::chkChn2On));
}

void ScopePanelCore::chkScopeShowFilters_Click() {
    c_.analyser.setShowFilter(ticked(ScopeBox::chkScopeShowFilters));
}

void ScopePanelCore::chkSpectrumAutoGain_Click() {
    c_.analyser.AutoGain = ticked(ScopeBox::chkSpectrumAutoGain);
}

void ScopePanelCore::chkSpectrumAnalyser_Click() {
    c_.analyser.Active = ticked(ScopeBox::chkSpectrumAnalyser);
}

void ScopePanelCore::chkPerfStatsOn_Click() {
    c_.state.PerfStatsOn = ticked(ScopeBox::chkPerfStatsOn);
}

void ScopePanelCore::chkLog_Click() {
    const int16_t v = c_.view.Value(ScopeBox::chkLog);
    if (v == 0) c_.analyser.setLogMode(true);
    if (v == 1) c_.analyser.setLogMode(false);
    c_.analyser.setMode(c_.analyser.mode());
}

void ScopePanelCore::chkSmoothSpectrum_Click() {
    const bool fast = ticked(ScopeBox::chkSmoothSpectrum);
    c_.analyser.SmoothSpectrum = !fast;
    c_.analyser.setFastMode(fast);
    c_.view.setVisible(ScopePart::lblSpectrumSmooth, !fast);
}

void ScopePanelCore::chkTrigOn_Click(int16_t Index) {
    if (trigOnBusy_) return;
    const ScopedFlag busy(trigOnBusy_);
    c_.view.setValue(ScopeBox::chkTrigOn1, boxValue(Index == 1));
    c_.view.setValue(ScopeBox::chkTrigOn2, boxValue(Index == 2));
    c_.analyser.setTriggerChn(Index);
}

// ---- The display mode

void ScopePanelCore::showChannelKnobs(int16_t gainKnob, float gain, int16_t shiftKnob, float shift) {
    knob(gainKnob).Value = gain;
    frontpanel::writeCaption(knob(gainKnob));
    knob(shiftKnob).Value = shift;
    frontpanel::writeCaption(knob(shiftKnob));
}

void ScopePanelCore::chkScopeMode_Click(int16_t Index) {
    if (scopeModeBusy_) return;
    const ScopedFlag busy(scopeModeBusy_);
    c_.analyser.setMode(Index);
    showModeParts(Index);
    showModeRecord();
    if (Index >= kModeSpectrum && Index <= kModeXY) centreSweepSliders();
    // The span the knobs set replaces what the sliders left before any frame is drawn.
    c_.routines.SetScopeXCentre();
    c_.routines.SetScopeXWidth();
}

// The parts of the panel the mode uses, its captions, and the mode's box alone ticked.
void ScopePanelCore::showModeParts(int16_t Index) {
    clsSpectrumAnalyser& a = c_.analyser;
    ScopePanelView& v = c_.view;
    for (const ScopePart p :
         {ScopePart::frScopeSweep, ScopePart::frScopeYMode, ScopePart::chkTrigOn1, ScopePart::chkTrigOn2,
          ScopePart::lblScopeCtl2, ScopePart::lblScopeCtl3, ScopePart::chkScopeShowFilters,
          ScopePart::chkChn1On, ScopePart::chkChn2On, ScopePart::lblScopeXCentre, ScopePart::lblScopeCtl7})
        v.setVisible(p, false);
    // The other boxes' handlers find this one running and return.
    for (int16_t i = 0; i <= 2; ++i)
        v.setValue(modeBox(i), boxValue(i == Index));

    const auto show = [&v](std::initializer_list<ScopePart> parts) {
        for (const ScopePart p : parts)
            v.setVisible(p, true);
    };
    // The time scope and the X-Y plot draw every frame as it comes, on a linear scale.
    const auto fastAndLinear = [&] {
        a.setFastMode(true);
        a.setLogMode(false);
        v.setValue(ScopeBox::chkSmoothSpectrum, 1);
        v.setValue(ScopeBox::chkLog, 1);
        v.setEnabled(ScopePart::frScopeYMode, false);
        v.setVisible(ScopePart::frScopeYMode, false);
    };
    switch (Index) {
    case kModeSpectrum:
        show({ScopePart::chkChn1On, ScopePart::chkChn2On, ScopePart::frScopeYMode, ScopePart::frScopeSweep});
        v.setCaption(ScopePart::frScopeSweep, "Sweep");
        v.setCaption(ScopePart::lblScopeCtl6, "Hz/Div");
        knob(kScopeXWidthKnob).Format = "#,###";
        show({ScopePart::chkScopeShowFilters, ScopePart::lblScopeXCentre, ScopePart::lblScopeCtl7});
        v.setEnabled(ScopePart::frScopeYMode, true);
        break;
    case kModeTime:
        show({ScopePart::chkChn1On, ScopePart::chkChn2On, ScopePart::frScopeSweep});
        v.setCaption(ScopePart::frScopeSweep, "Timebase");
        v.setCaption(ScopePart::lblScopeCtl6, "ms/Div");
        knob(kScopeXWidthKnob).Format = "0.000";
        show(
            {ScopePart::chkTrigOn1, ScopePart::chkTrigOn2, ScopePart::lblScopeCtl2, ScopePart::lblScopeCtl3});
        fastAndLinear();
        break;
    case kModeXY:
        // The mode turns both channels on itself, so their boxes stay hidden.
        show({ScopePart::lblScopeCtl2, ScopePart::lblScopeCtl3});
        fastAndLinear();
        break;
    default:
        break;
    }
}

// The boxes and knobs from the new mode's record; each box whose value changes runs its handler.
void ScopePanelCore::showModeRecord() {
    clsSpectrumAnalyser& a = c_.analyser;
    ScopePanelView& v = c_.view;
    v.setValue(ScopeBox::chkChn1On, boxValue(a.Chn1Enabled()));
    v.setValue(ScopeBox::chkTrigOn1, boxValue(a.Chn1Trig()));
    v.setValue(ScopeBox::chkLog, boxValue(!a.LogMode()));
    v.setValue(ScopeBox::chkSmoothSpectrum, boxValue(a.FastMode()));
    showChannelKnobs(kScopeChn1GainKnob, a.Chn1Gain(), kScopeChn1ShiftKnob, a.Chn1Shift());
    c_.routines.SetChn1Shift();
    v.setValue(ScopeBox::chkChn2On, boxValue(a.Chn2Enabled()));
    v.setValue(ScopeBox::chkTrigOn2, boxValue(a.Chn2Trig()));
    showChannelKnobs(kScopeChn2GainKnob, a.Chn2Gain(), kScopeChn2ShiftKnob, a.Chn2Shift());
    c_.routines.SetChn2Shift();
}

// The sweep sliders from 0 to the width's maximum, the centre in the middle.
void ScopePanelCore::centreSweepSliders() {
    ScopePanelView& v = c_.view;
    v.setMin(ScopeSlider::sldXWidth, 0);
    v.setSteps(ScopeSlider::sldXWidth, sweepSliderSteps(v.Max(ScopeSlider::sldXWidth)));
    v.Refresh(ScopeSlider::sldXWidth);
    v.setMin(ScopeSlider::sldXCentre, 0);
    v.setMax(ScopeSlider::sldXCentre, v.Max(ScopeSlider::sldXWidth));
    v.setValue(ScopeSlider::sldXCentre,
               (v.Max(ScopeSlider::sldXCentre) - v.Min(ScopeSlider::sldXCentre)) / 2);
    v.setSteps(ScopeSlider::sldXCentre, sweepSliderSteps(v.Max(ScopeSlider::sldXCentre)));
    v.Refresh(ScopeSlider::sldXCentre);
    sldXCentre_Change();
}

void ScopePanelCore::optSpectrumSource_Click(int16_t Index) {
    c_.state.ScopeSource = Index;
    clsSpectrumAnalyser& a = c_.analyser;
    const int32_t tuned = Index == ScopeSource::AFOut ? 0 : c_.vfo.TunedFrequency();
    const SourceView s = sourceView(Index, a.FSampling, c_.state.BaseIF, c_.state.HiSideLoActive, tuned);
    a.FStart = s.FStart;
    a.FEnd = s.FEnd;
    a.ReverseSpectrum = s.ReverseSpectrum;
    a.FOffset = s.FOffset;
    // The next housekeeping tick rebuilds the filters and reloads the filter curve.
    c_.state.FiltersDirty = true;
}

// ---- Sliders

void ScopePanelCore::sldSpectrumGain_Change() {
    if (ticked(ScopeBox::chkSpectrumAutoGain)) return;
    ScopePanelView& v = c_.view;
    const SpectrumGain g =
        spectrumGain(v.Max(ScopeSlider::sldSpectrumGain), v.Value(ScopeSlider::sldSpectrumGain));
    v.setToolTipText(ScopeSlider::sldSpectrumGain, g.ToolTip);
    c_.analyser.Gain = g.Gain;
}

void ScopePanelCore::sldSpectrumGain_MouseDown(int16_t Button) {
    if (Button != kRightButton) return;
    ScopePanelView& v = c_.view;
    v.setValue(ScopeSlider::sldSpectrumGain,
               sliderMiddle(v.Min(ScopeSlider::sldSpectrumGain), v.Max(ScopeSlider::sldSpectrumGain)));
}

void ScopePanelCore::sldXCentre_Change() {
    ScopePanelView& v = c_.view;
    v.setToolTipText(
        ScopeSlider::sldXCentre,
        centreToolTip(c_.analyser.HzPerBin(), v.Value(ScopeSlider::sldXCentre), c_.analyser.FOffset));
    sldXWidth_Change();
}

void ScopePanelCore::sldXCentre_MouseDown(int16_t Button) {
    if (Button != kRightButton) return;
    ScopePanelView& v = c_.view;
    v.setValue(ScopeSlider::sldXCentre,
               sliderMiddle(v.Min(ScopeSlider::sldXCentre), v.Max(ScopeSlider::sldXCentre)));
    sldXCentre_Change();
}

void ScopePanelCore::sldXWidth_Change() {
    ScopePanelView& v = c_.view;
    clsSpectrumAnalyser& a = c_.analyser;
    const int32_t min = v.Min(ScopeSlider::sldXWidth);
    const int32_t max = v.Max(ScopeSlider::sldXWidth);
    const int32_t value = v.Value(ScopeSlider::sldXWidth);
    if (a.mode() == kModeSpectrum) {
        const SpectrumSpan s = spectrumSpan(min, max, value, v.Value(ScopeSlider::sldXCentre));
        a.StartBin = s.StartBin;
        a.StopBin = s.StopBin;
        v.setToolTipText(ScopeSlider::sldXWidth, spectrumWidthToolTip(a.HzPerBin(), a.StartBin, a.StopBin));
    } else if (a.mode() == kModeTime) {
        const int32_t w = timebaseWidth(min, max, value);
        a.ScreenWidth = w;
        a.StartBin = 0;
        a.StopBin = w - 1;
        v.setToolTipText(ScopeSlider::sldXWidth, timebaseToolTip(a.StartBin, a.StopBin));
    }
}

void ScopePanelCore::sldXWidth_MouseDown(int16_t Button) {
    if (Button != kRightButton) return;
    ScopePanelView& v = c_.view;
    v.setValue(ScopeSlider::sldXWidth, v.Max(ScopeSlider::sldXWidth) - v.Min(ScopeSlider::sldXWidth));
    sldXWidth_Change();
}

// ---- The pointer over the display

void ScopePanelCore::picScope_MouseMove(int16_t Index, int16_t Button, int16_t Shift, float X, float Y) {
    (void)Button;
    (void)Shift;
    ScopePanelView& v = c_.view;
    c_.highlight.UnFocusFrames();

    // The pointer's height chooses the wheel's tuning step: higher up, larger steps.
    const bool wheel = c_.state.ScrollWheelEnableOverScope;
    ScrollLabel& scope = knob(PicScopeIndex);
    if (wheel) {
        c_.state.ActiveKnob = PicScopeIndex;
        if (const std::optional<int32_t> step = wheelStepHz(Y, v.displayPicture(Index).ScaleHeight()))
            scope.Text = runtime::CStr(int64_t{*step});
        scope.Text = flooredWheelStep(scope.Text);
        c_.vfo.setTuneStep(10.0 * wheelStepValue(scope.Text));
        c_.state.RepeatStep = static_cast<float>(c_.vfo.TuneStep());
        c_.vfo.setTuneStepLSD(c_.vfo.TuneStep());
    } else {
        c_.state.ActiveKnob = 0;
    }

    const clsSpectrumAnalyser& a = c_.analyser;
    const bool rf = rfView(a.FOffset, a.FSampling);
    const double f = frequencyUnderPointer(X, a.HzPerBin(), c_.state.IQMode, a.FOffset, rf);
    v.setTag(0, runtime::CStr(f));
    scopeFreqFormat_ = std::string(scopeFreqFormat(rf));
    v.setTag(1, v.Tag(0));

    std::string caption =
        NumberFormat::Format(runtime::parseDouble(v.Tag(0)).value_or(0.0), scopeFreqFormat_);
    if (wheel) caption += " : " + NumberFormat::Format(wheelStepValue(scope.Text), "###0");
    v.setFreqLabelCaption(0, caption);

    const ui::Picture& pic0 = v.displayPicture(0);
    const double left = freqLabelLeft(X, pic0.Left(), pic0.ScaleWidth(), v.FreqLabelWidth(0));
    const double width = v.FreqLabelWidth(0);
    const double height = v.FreqLabelHeight(0);
    v.moveFreqLabel(0, left, Y, width, height);
    v.moveFreqLabel(1, left, Y, width, height);
    v.setFreqLabelCaption(1, caption);

    v.setFreqLabelVisible(Index, !a.HideFreqToolTip());
    v.setFreqLabelVisible(Index == 0 ? 1 : 0, false);
}

void ScopePanelCore::picScope_MouseDown(int16_t Index, int16_t Button, int16_t Shift, float X, float Y) {
    (void)Index;
    (void)Shift;
    (void)X;
    (void)Y;
    if ((Button & kLeftButton) == 0) return;
    if (!rfView(c_.analyser.FOffset, c_.analyser.FSampling)) return;
    // A tag that gives no frequency, or a VFO that refuses it, tunes nothing.
    runtime::resumeNext([&] {
        if (const std::optional<int32_t> tuned = clickTuneFrequency(c_.view.Tag(0)))
            c_.vfo.setTunedFrequency(*tuned);
    });
}

void ScopePanelCore::hideFreqLabels() {
    c_.view.setFreqLabelVisible(0, false);
    c_.view.setFreqLabelVisible(1, false);
}

void ScopePanelCore::picScopeContainer_MouseMove() {
    hideFreqLabels();
    c_.highlight.UnFocusFrames();
    c_.highlight.UnhighlightValueLabel(0);
}

void ScopePanelCore::picScopeCtls_MouseMove() {
    c_.highlight.UnhighlightValueLabel(0);
}

void ScopePanelCore::imgAreaScope_MouseMove() {
    c_.highlight.DarkenControls();
    hideFreqLabels();
}

void ScopePanelCore::picCalib_MouseMove() {
    c_.highlight.DarkenControls();
}

// ---- The bare window and the front panel's mode and filter frames

void ScopePanelCore::Form_MouseMove() {
    c_.highlight.DarkenControls();
    c_.state.ActiveKnob = 0;
}

void ScopePanelCore::frDemod_MouseMove(const std::function<void(int32_t)>& paintCaption) {
    c_.highlight.UnFocusFrames();
    if (paintCaption) paintCaption(c_.state.SDRColourSchemes.FrameFocus);
    c_.highlight.UnhighlightValueLabel(kFilterHiKnob);
    c_.highlight.UnhighlightValueLabel(kFilterLoKnob);
    c_.highlight.UnhighlightValueLabel(0);
}

void ScopePanelCore::frFilters_MouseMove(const std::function<void(int32_t)>& paintCaption) {
    c_.highlight.UnFocusFrames();
    if (paintCaption) paintCaption(c_.state.SDRColourSchemes.FrameFocus);
    c_.highlight.UnhighlightValueLabel(0);
    c_.highlight.UnhighlightValueLabel(kFilterHiKnob);
    c_.highlight.UnhighlightValueLabel(kFilterLoKnob);
}

} // namespace display
