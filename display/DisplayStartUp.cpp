// The start-up steps of the display panel and the S-meter.
#include "display/DisplayStartUp.h"

#include "platform/runtime/Convert.h"
#include "platform/runtime/RuntimeError.h"

namespace display::startup {

namespace {

using runtime::resumeNext;

int16_t box(bool ticked) {
    return ticked ? 1 : 0;
}

ScopeBox modeBox(int32_t mode) {
    return mode == 1   ? ScopeBox::chkScopeMode1
           : mode == 2 ? ScopeBox::chkScopeMode2
                       : ScopeBox::chkScopeMode0;
}

} // namespace

void ShowAnalyserActive(ScopePanelCore& panel) {
    const ScopePanelContext& c = panel.context();
    resumeNext([&] { c.view.setValue(ScopeBox::chkSpectrumAnalyser, box(c.analyser.Active)); });
}

void InitialiseSpectrumAnalyser(ScopePanelCore& panel, const Trace& trace) {
    if (trace) trace(":Initialising SpectrumAnalyser");
    const ScopePanelContext& c = panel.context();
    clsSpectrumAnalyser& a = c.analyser;
    a.FSampling = 48000;
    a.Order = 11;
    resumeNext([&] { a.picDisplay0(c.view.displayPicture(0)); });
    resumeNext([&] { a.picDisplay1(c.view.displayPicture(1)); });
    a.StartBin = 0;
    a.StopBin = 1024;
    a.FStart = 0;
    resumeNext([&] { a.FEnd = runtime::checkedNarrow<int32_t>(int64_t{c.state.BaseIF} * 2); });
    resumeNext([&] {
        a.FOffset =
            runtime::CLng(c.vfo.TunedFrequency() / 10.0 - (static_cast<double>(a.FEnd) - a.FStart) / 2.0);
    });
    // Unticked first, so the box's handler runs for the mode whatever the box showed.
    const ScopeBox stored = modeBox(a.mode());
    resumeNext([&] { c.view.setValue(stored, 0); });
    resumeNext([&] { c.view.setValue(stored, 1); });
    resumeNext([&] { a.init(); });
    resumeNext([&] { c.view.setValue(ScopeBox::chkScopeShowFilters, box(a.ShowFilter())); });
    a.setShowNotch(c.state.NotchActive);
}

void ShowRestoredScopeState(ScopePanelCore& panel) {
    const ScopePanelContext& c = panel.context();
    resumeNext([&] { c.view.selectSource(static_cast<int16_t>(c.state.ScopeSource)); });
    resumeNext([&] { c.view.setValue(ScopeBox::chkSpectrumAnalyser, box(c.analyser.Active)); });
    resumeNext([&] { c.view.setValue(ScopeBox::chkPerfStatsOn, box(c.state.PerfStatsOn)); });
}

void DrawSMeterScale(SMeter& meter) {
    resumeNext([&] { meter.DrawSMeterScale(); });
}

} // namespace display::startup
