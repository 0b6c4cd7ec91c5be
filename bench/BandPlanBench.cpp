// The band plan store on a full band (18 sub-bands of 12 presets, every block captured): the shutdown
// save, the first selection's load and one preset's block read; and on the front panel, a preset pressed
// until the receiver is in force (through the real handlers, an AD9851 on the null line, no sound engine)
// and one tick of the tracking timer.
#include <benchmark/benchmark.h>

#include <memory>
#include <string>

#include "dsp/FilterBank.h"
#include "frontpanel/BandPlanPanel.h"
#include "frontpanel/ControlsStartUp.h"
#include "frontpanel/FrontPanelCore.h"
#include "frontpanel/modBandPlan.h"
#include "platform/profile/SettingsStore.h"
#include "platform/profile/testing/TempFolder.h"
#include "radio/clsAD9851.h"
#include "radio/clsDDSNullIF.h"
#include "radio/clsVFO.h"

namespace {

struct FullBand {
    profile::testing::TempFolder dir;
    MainBandArray MainBands;
    ReceiverState State;
    modBandPlan::BandPlanStore store{MainBands, State, [] { return std::string("2026-12-10 13:45:00"); }};

    FullBand() {
        dir.write("Full.bpl", "[MainBand]\r\n");
        MainBands.push_back(modBandPlan::newMainBand(dir.path(), "Full.bpl", 0));
        MainBandRec& band = MainBands.back();
        store.InitBandPlanArrays(band);
        store.LoadBandPlan(band);
        for (int32_t i = 0; i < 18; ++i) {
            SubBandRec& sub = band.SubBand[static_cast<std::size_t>(i)];
            sub.FreqMin = 1000000 * (i + 1);
            sub.FreqMax = sub.FreqMin + 500000;
            sub.Settings.FreqCurrent = sub.FreqMin;
            sub.Settings.AGCAttack = 2.5f;
            sub.Settings.Dirty = true;
            for (int32_t j = 0; j < 12; ++j) {
                PresetSettings& s = sub.Preset[static_cast<std::size_t>(j)].Settings;
                s.FreqCurrent = sub.FreqMin + 1000 * j;
                s.OutputAttenuation = -12.25f;
                s.Loaded = s.Dirty = true;
            }
        }
        store.SaveBandPlan(band);
    }
};

} // namespace

static void BM_SaveFullBand(benchmark::State& state) {
    FullBand full;
    for (auto _ : state)
        benchmark::DoNotOptimize(full.store.SaveBandPlan(full.MainBands[0]));
}
BENCHMARK(BM_SaveFullBand)->Unit(benchmark::kMillisecond);

static void BM_LoadFullBand(benchmark::State& state) {
    FullBand full;
    for (auto _ : state) {
        MainBandRec band = modBandPlan::newMainBand(full.dir.path(), "Full.bpl", 0);
        full.store.InitBandPlanArrays(band);
        benchmark::DoNotOptimize(full.store.LoadBandPlan(band));
    }
}
BENCHMARK(BM_LoadFullBand)->Unit(benchmark::kMillisecond);

static void BM_PresetPress(benchmark::State& state) {
    FullBand full;
    PresetSettings& s = full.MainBands[0].SubBand[9].Preset[6].Settings;
    for (auto _ : state) {
        s.Loaded = false;
        full.store.LoadPresetOnDemand(0, 9, 6);
    }
}
BENCHMARK(BM_PresetPress)->Unit(benchmark::kMillisecond);

namespace {

struct Quiet final : frontpanel::ShellHighlight,
                     frontpanel::DialPosition,
                     frontpanel::ReadoutView,
                     frontpanel::ReceiverShell,
                     frontpanel::SoundCardStatus,
                     frontpanel::BandPlanShell,
                     frontpanel::PresetDescPopup,
                     frontpanel::PresetDialog,
                     frontpanel::FrequencyLog,
                     frontpanel::NotchOverlay,
                     frontpanel::FilterCurveSink,
                     ui::CancellingDialogService {
    void setShowNotch(bool) override {}
    void LoadFilterCoeffs_T_S(const float*, int32_t) override {}
    void HighlightValueLabel(int16_t&) override {}
    void UnhighlightValueLabel() override {}
    void UnhighlightValueLabel(int16_t) override {}
    void DarkenControls() override {}
    void FocusFrame(frontpanel::KnobFrame) override {}
    void UnFocusFrames() override {}
    void focusSink() override {}
    int32_t Value() const override { return 0; }
    void setValue(int32_t) override {}
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
    bool PowerOn() const override { return false; }
    void StartSound() override {}
    void RunDREAM() override {}
    void CloseProcessWindows() override {}
    bool Prepared() const override { return false; }
    int32_t StopSound() override { return 0; }
    int32_t ReleaseDevices() override { return 0; }
    bool FormLoading() const override { return false; }
    bool DreamStarting() const override { return false; }
    int32_t WindowLeft() const override { return 0; }
    int32_t WindowTop() const override { return 0; }
    void ShowSplash(const std::string&) override {}
    void HideSplash() override {}
    void setShown(bool) override {}
    bool Shown() const override { return false; }
    void MoveTo(int32_t, int32_t) override {}
    void BringToFront() override {}
    void setLines(const std::string&, const std::string&) override {}
    void ShowModal(frontpanel::PresetEdit&) override {}
    void NewLogRecord(int32_t) override {}
    int32_t MsgBox(const std::string&, int32_t, const std::string&) override { return 0; }
};

// The front panel over the full band: a VFO driving an AD9851 on the null line, the filter bank, and the
// band plan panel with the band selected.
struct Receiver {
    FullBand full;
    profile::MemorySettingsStore settings;
    clsDDSNullIF line{settings};
    clsAD9851 osc{settings};
    clsVFO vfo{settings};
    nerixdll::NerixDll nerix;
    nspdll::NspDll nsp;
    Nerix::Wrappers wrappers{full.State, nerix, nsp};
    std::unique_ptr<Nerix::FilterBank> bank = Nerix::CreateFilterBank(wrappers, 12000);
    frontpanel::FilterTables tables = frontpanel::DefaultFilterTables();
    frontpanel::CurrentVfo current{[this] { return &vfo; }};
    Quiet quiet;
    frontpanel::TuningStepTable steps{100000, 90000, 50000, 30000, 25000, 10000, 5000, 2500, 1000,
                                      500,    250,   100,   50,    25,    10,    5,    2,    1};
    std::unique_ptr<frontpanel::FrontPanelCore> core;
    std::unique_ptr<frontpanel::BandPlanPanel> panel;

    Receiver() {
        line.Initialise();
        osc.setClkIn(180'000'000);
        osc.setIFHandler(&line);
        osc.Initialise();
        vfo.setOscType(&osc);
        vfo.setRxMaxFreq(30'000'000);
        vfo.setTunedFrequency(70'000'000);
        frontpanel::FrontPanelContext c{full.State, wrappers, tables, current,         quiet,   quiet,
                                        quiet,      quiet,    steps,  &full.MainBands, nullptr, bank.get()};
        c.receiverShell = &quiet;
        c.soundCard = &quiet;
        c.notchDisplay = &quiet;
        c.filterCurve = &quiet;
        core = std::make_unique<frontpanel::FrontPanelCore>(c);
        core->knobs.FillKnobTable(core->levels.twinSetUp());
        frontpanel::startup::SelectFastAgc(*core);
        frontpanel::startup::FillDefaultTables(*core);
        panel = std::make_unique<frontpanel::BandPlanPanel>(
            *core, frontpanel::BandPlanPorts{full.MainBands, full.store, quiet, quiet, quiet, quiet, &quiet});
        // Two presets a mode and a filter apart in sub-band 9, both with their blocks read.
        MainBandRec& band = full.MainBands[0];
        band.ActiveSubBand = 9;
        for (int32_t j : {6, 7}) {
            PresetSettings& s = band.SubBand[9].Preset[static_cast<std::size_t>(j)].Settings;
            s.DemodMode = j == 6 ? 1 : 2;
            s.FilterMode = j == 6 ? 2 : 3;
            s.FilterHi = s.FilterLo = s.IFFilterHi = s.IFFilterLo = -1;
            s.AGCOn = true;
            s.AGCMode = j == 6 ? 2 : -1;
            s.AGCAttack = 120;
            s.AGCDecay = 400;
        }
        full.State.CurrentMainBandIndex = 0;
    }
};

} // namespace

// A left press on a preset, alternately on two, until the oscillator has the new frequency and every
// control the new state (the filters are rebuilt by the housekeeping timer, not here).
static void BM_PresetPressUntilTheReceiverIsInForce(benchmark::State& state) {
    Receiver rx;
    int16_t j = 6;
    const int32_t before = rx.vfo.OscOut();
    rx.panel->optPreset_MouseDown(j, 1, 0, 0, 0);
    if (rx.vfo.OscOut() == before) state.SkipWithError("the press never reached the oscillator");
    for (auto _ : state) {
        j = j == 6 ? 7 : 6;
        rx.panel->optPreset_MouseDown(j, 1, 0, 0, 0);
    }
}
BENCHMARK(BM_PresetPressUntilTheReceiverIsInForce)->Unit(benchmark::kMicrosecond);

// One tick of the tracking timer with a preset in force, capturing the receiver into it.
static void BM_TrackingTick(benchmark::State& state) {
    Receiver rx;
    rx.full.State.AutoTrackPresets = true;
    rx.panel->optPreset_MouseDown(6, 1, 0, 0, 0);
    for (auto _ : state)
        rx.panel->tmrSubBands_Timer();
}
BENCHMARK(BM_TrackingTick)->Unit(benchmark::kMicrosecond);
