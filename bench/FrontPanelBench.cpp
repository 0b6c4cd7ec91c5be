// The front panel's hot paths: a turn of the wheel over the readout, from the event given to the
// application to the oscillator's new frequency (through the wheel filter, the knob table, the wheel
// tuning with its one message pump, the VFO and an AD9851 on the null line); and a changed readout
// repainted.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QWheelEvent>
#include <QWidget>
#include <cstdlib>
#include <memory>

#include "frontpanel/FrontPanelCore.h"
#include "frontpanel/TuningControls.h"
#include "platform/profile/SettingsStore.h"
#include "platform/runtime/Hooks.h"
#include "platform/ui/DialogService.h"
#include "platform/ui/Form.h"
#include "platform/ui/WheelFilter.h"
#include "radio/clsAD9851.h"
#include "radio/clsDDSNullIF.h"
#include "radio/clsVFO.h"

namespace {

struct Dial final : frontpanel::DialPosition {
    int32_t value = 0;
    int32_t Value() const override { return value; }
    void setValue(int32_t v) override { value = v; }
};

struct Shell final : frontpanel::ShellHighlight {
    void HighlightValueLabel(int16_t&) override {}
    void UnhighlightValueLabel() override {}
    void UnhighlightValueLabel(int16_t) override {}
    void DarkenControls() override {}
    void FocusFrame(frontpanel::KnobFrame) override {}
    void UnFocusFrames() override {}
    void focusSink() override {}
};

struct View final : frontpanel::ReadoutView {
    void setDigitCaption(int16_t, const std::string&) override {}
    void setDigitColour(int16_t, int32_t) override {}
    void setMarker(const frontpanel::TwipsRect&, int32_t) override {}
    void setTuningRateCaption(const std::string&) override {}
    void setTuningRateLook(int32_t, const std::string&) override {}
    void setLockPictureVisible(bool) override {}
    void setLoCaption(const std::string&) override {}
    void showStepSelector(int32_t, int32_t) override {}
    void hideStepSelector() override {}
    void focusReadout() override {}
    void setTuneRepeatInterval(int32_t) override {}
    frontpanel::TwipsRect digitRect(int16_t) const override { return {}; }
    frontpanel::TwipsRect readoutRect() const override { return {}; }
    frontpanel::TwipsRect dialRect() const override { return {}; }
    frontpanel::TwipsRect tuningRateRect() const override { return {}; }
    frontpanel::TwipsRect stepSelectorRect() const override { return {}; }
};

// No dialog is asked for on this path.
struct NoDialogs final : ui::CancellingDialogService {
    int32_t MsgBox(const std::string&, int32_t, const std::string&) override { return 0; }
};

} // namespace

// One wheel event a turn: each notch steps the knob once.
static void BM_WheelTurnOverTheReadoutToTheOscillator(benchmark::State& st) {
    profile::MemorySettingsStore store;
    clsDDSNullIF line(store);
    line.Initialise();
    clsAD9851 osc(store);
    osc.setClkIn(180'000'000);
    osc.setIFHandler(&line);
    osc.Initialise();
    clsVFO vfo(store);
    vfo.setOscType(&osc);
    vfo.setRxMaxFreq(30'000'000);
    vfo.setTunedFrequency(70'000'000);
    vfo.setTuneStep(1000);

    ReceiverState state;
    nerixdll::NerixDll nerix;
    nspdll::NspDll nsp;
    Nerix::Wrappers wrappers(state, nerix, nsp);
    frontpanel::FilterTables tables = frontpanel::DefaultFilterTables();
    frontpanel::CurrentVfo current([&] { return &vfo; });
    Dial dial;
    Shell shell;
    View view;
    NoDialogs dialogs;
    const frontpanel::TuningStepTable steps{};
    frontpanel::FrontPanelCore core({state, wrappers, tables, current, dial, shell, view, dialogs, steps});
    core.ctlArray[kFrequencyReadoutKnob].Apply = core.routines.applyOf(kFrequencyReadoutKnob);
    state.ActiveKnob = kFrequencyReadoutKnob;

    runtime::ScopedHooks pump({[] { QCoreApplication::processEvents(); }, {}, {}});
    QWidget window;
    window.resize(200, 100);
    window.show();
    ui::WheelFilter filter;
    filter.Hook([&](const ui::HookMessage& m) { return core.wheel.deliver(m); });

    int sign = 1;
    quint64 stamp = 0;
    const auto turn = [&] {
        QWheelEvent e(QPointF(50, 50), window.mapToGlobal(QPointF(50, 50)), QPoint(), QPoint(0, 120 * sign),
                      Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
        e.setTimestamp(++stamp);
        QApplication::sendEvent(&window, &e);
    };
    // One turn up reaches the oscillator; then the turns go up and down alternately.
    const int32_t before = vfo.OscOut();
    turn();
    if (vfo.OscOut() == before) st.SkipWithError("the wheel never reached the oscillator");
    sign = -sign;
    for (auto _ : st) {
        turn();
        sign = -sign;
    }
}
BENCHMARK(BM_WheelTurnOverTheReadoutToTheOscillator);

// The tuning-repeat timer's readout with a new frequency: nine digits and the "LO" value, painted.
static void BM_ChangedReadoutRepainted(benchmark::State& st) {
    profile::MemorySettingsStore store;
    clsVFO vfo(store);
    vfo.setRxMaxFreq(30'000'000);
    ReceiverState state;
    nerixdll::NerixDll nerix;
    nspdll::NspDll nsp;
    Nerix::Wrappers wrappers(state, nerix, nsp);
    frontpanel::FilterTables tables = frontpanel::DefaultFilterTables();
    frontpanel::CurrentVfo current([&] { return &vfo; });
    Shell shell;
    NoDialogs dialogs;
    const frontpanel::TuningStepTable steps{};
    ui::Form form;
    form.setClientSize(8400, 2700);
    std::string lo;
    frontpanel::TuningControls controls(&form, 240, 120, {[&](const std::string& c) { lo = c; }, {}});
    frontpanel::FrontPanelCore core(
        {state, wrappers, tables, current, controls, shell, controls, dialogs, steps});
    controls.connect(core, steps);
    form.Show();
    QCoreApplication::processEvents();
    QWidget* readout = controls.picFreqDisp.widget();
    int32_t f = 140'741'234;
    for (auto _ : st) {
        f = f == 140'741'234 ? 140'741'334 : 140'741'234;
        vfo.setTunedFrequency(f);
        core.tuning.Display7Seg(vfo.FormattedTunedFreq());
        readout->repaint();
    }
    benchmark::DoNotOptimize(lo);
}
BENCHMARK(BM_ChangedReadoutRepainted);
