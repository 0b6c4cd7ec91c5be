// The receiver's ports, over its cores and the window's view.
#include "mainwindow/ReceiverPorts.h"

#include <span>

#include "frame/modIniFiles.h"
#include "frontpanel/ScrollLabel.h"
#include "platform/runtime/Convert.h"
#include "platform/runtime/Hooks.h"
#include "radio/clsVFO.h"

namespace mainwindow {

namespace {

constexpr size_t kBlockSamples = 2048;

} // namespace

void Receiver::Neighbours::Spectrum::LoadSamples_S(const float* c1, const float* c2) {
    r_.analyser().LoadSamples_S(std::span<const float>(c1, kBlockSamples),
                                std::span<const float>(c2, kBlockSamples));
}

void Receiver::Neighbours::Spectrum::LoadSamples_INT16(const int16_t* c1, const int16_t* c2) {
    r_.analyser().LoadSamples_INT16(std::span<const int16_t>(c1, kBlockSamples),
                                    std::span<const int16_t>(c2, kBlockSamples));
}

void Receiver::Ports::ApplyLayout() {
    r_.views_.Window.optDisplaySize_Click(static_cast<int16_t>(runtime::CInt(r_.Context.State.DisplayMode)));
}

void Receiver::Ports::SetBfoRange(int32_t min, int32_t max) {
    ScrollLabel& bfo = frontpanel::knobAt(r_.Front.ctlArray, lblBFOIndex);
    bfo.Max = static_cast<float>(max);
    bfo.Min = static_cast<float>(min);
}

void Receiver::Ports::SetPriorityClass(int32_t c) {
    if (priority_.SetPriorityClass(c) == 0)
        runtime::AddLog("frmMain.SetPriorityClass: class " + std::to_string(c) + " refused by the system");
}

void Receiver::Ports::StopTimers() {
    for (const WindowTimer t :
         {WindowTimer::Clock, WindowTimer::PerfStats, WindowTimer::Tune, WindowTimer::VfoUpdate})
        runtime::resumeNext([&] { r_.views_.Window.stopTimer(t); });
    runtime::resumeNext([&] { r_.views_.Window.stopSubBandTracking(); });
}

bool Receiver::Ports::SaveBandPlan(int32_t i, BandSaveFailure& failure) {
    MainBandRec& band = r_.Context.MainBands.at(static_cast<size_t>(i));
    failure.File = band.FilePath;
    return r_.Context.BandPlan.SaveBandPlan(band, &failure.Reason);
}

void Receiver::Ports::SaveLineSettings() {
    LineInterface* line = r_.oscillator().IFHandler();
    if (!line) runtime::raise(runtime::err::kObjectNotSet, "Vfo.OscType.IFHandler");
    line->SaveSettings();
}

void Receiver::Ports::ClosePort(int32_t line) {
    if (!r_.Context.Radio) return;
    const modSetupRX::RadioObjects r = r_.Context.Radio();
    LineInterface* const lines[] = {r.ParallelLine, r.SerialLine, r.NullLine,
                                    r.Drb30Line,    r.Us232cLine, r.Ft232Line};
    LineInterface* l = lines[static_cast<size_t>(line)];
    if (!l) runtime::raise(runtime::err::kObjectNotSet, "LineInterface");
    l->ClosePort();
}

void Receiver::Ports::ProfileSaveItem(const std::string& section, const std::string& key,
                                      const std::string& value) {
    modIniFiles::ProfileSaveItem(section, key, value, r_.Context.ProgramFolder + "/Dream.ini");
}

void Receiver::Ports::Sleep(int32_t ms) {
    if (!timingReady_) {
        timing_.InitTiming();
        timingReady_ = true;
    }
    timing_.DelayMicroseconds(static_cast<float>(ms) * 1000.0f);
}

const BlockStatistics* Receiver::Ports::Statistics() {
    if (!r_.Path) return nullptr;
    const Nerix::BlockDrivers& d = r_.Path->Drivers();
    stats_ = {d.InputPeakRing, d.OutputPeakRing, d.BlockTimeRing};
    return &stats_;
}

void Receiver::Ports::ShowModelControls(bool iq, bool tuneLo, bool sam) {
    frontpanel::ReceiverSwitches& s = r_.Front.switches;
    runtime::resumeNext([&] { s.chkIQSelectUpper.setVisible(iq); });
    runtime::resumeNext([&] { s.chkTuneLo.setVisible(tuneLo); });
    if (!tuneLo) runtime::resumeNext([&] { s.chkTuneLo.setValue(0); });
    runtime::resumeNext([&] { r_.Front.modes.optMode[6].setVisible(sam); });
}

void Receiver::Ports::StepDial(int32_t delta) {
    frontpanel::DialPosition& dial = r_.views_.Dial;
    dial.setValue(dial.Value() + delta);
}

int16_t Receiver::Ports::SelectedRFInput() {
    frontpanel::PanelOptionGroup& group = r_.Front.switches.optRFInSel;
    for (int16_t i = 0; i < group.Count(); ++i)
        if (group.Value(i)) return i;
    return -1;
}

// The RIT knob answers the wheel only on fixed-LO models.
void Receiver::Ports::EnableRit(bool enabled) {
    frontpanel::knobAt(r_.Front.ctlArray, lblBFOIndex).Disabled = !enabled;
}

} // namespace mainwindow
