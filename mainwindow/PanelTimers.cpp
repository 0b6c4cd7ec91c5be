// The three front-panel timers. Each statement is skipped when it fails, as the housekeeping's are: an
// error in a repeating tick must neither end the program nor show a message box.
#include "mainwindow/PanelTimers.h"

#include "frame/NerixStrings.h"
#include "frame/NumberFormat.h"
#include "platform/runtime/Convert.h"
#include "platform/runtime/RuntimeError.h"

namespace mainwindow {

using runtime::resumeNext;

namespace {

bool containsNoCase(const std::string& text, std::string_view find) {
    return Nerix::Replace(text, find, "", 1, 1, Nerix::kTextCompare).size() != text.size();
}

} // namespace

void PanelTimers::tmrTune_Timer(const std::string& currentModelSection) {
    PanelTimerPorts& p = ports_;
    ReceiverState& st = state_;
    if (st.TuneUpRequest) {
        resumeNext([&] { p.IncFreq(st.RepeatStep); });
        resumeNext([&] { p.StepDial(+1); });
        st.TuneUpRequest = false;
    }
    if (st.TuneDownRequest) {
        resumeNext([&] { p.DecFreq(st.RepeatStep); });
        resumeNext([&] { p.StepDial(-1); });
        st.TuneDownRequest = false;
    }
    resumeNext([&] { ReadoutFrequency = p.TunedFrequency(); });
    resumeNext([&] {
        if (st.VFOControl && containsNoCase(currentModelSection, "ELEKTOR 2007-05 IQ SDR"))
            ReadoutFrequency =
                runtime::checkedNarrow<int32_t>(int64_t{p.TunedFrequency()} + 10 * int64_t{st.BfoOffset});
    });
    resumeNext([&] { p.Display7Seg(NumberFormat::Format(ReadoutFrequency, "000000000")); });
    resumeNext([&] { p.SetScopeXCentre(); });
    resumeNext([&] { p.CopyTuningRate(); });
    resumeNext([&] {
        const int16_t sel = p.SelectedRFInput();
        if (sel == 1 || sel == 2 || sel < 0) p.SelectRFInput(p.TunedFrequency() > 17999999 ? 2 : 1);
    });
}

void PanelTimers::tmrVFOUpdate_Timer() {
    PanelTimerPorts& p = ports_;
    bool autoUpdate = false;
    resumeNext([&] { autoUpdate = p.AutoUpdate(); });
    if (!autoUpdate) return;
    resumeNext([&] {
        if (!p.OscillatorBusy()) p.RefreshOscillator();
    });
    resumeNext([&] { p.SetVfoUpdateInterval(runtime::CLng(1500 + 1500 * p.Random())); });
}

void PanelTimers::tmrClock_Timer() {
    PanelTimerPorts& p = ports_;
    resumeNext([&] { p.SetClock(Nerix::UtcClock(p.UtcNow())); });
    resumeNext([&] { p.EnableRit(state_.VFOControl); });
}

} // namespace mainwindow
