// The front panel's core over small fakes: a real VFO (reached through the panel's VFO port), a dial
// position, a shell that marks knobs as the window's highlight does, a spectrum analyser's settings, a
// readout view that remembers what it shows, scripted dialogs, the filter bank as the start-up makes it,
// and the main window's power, sound and decoder steps recorded in one list.
#pragma once

#include <array>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "dsp/FilterBank.h"
#include "dsp/testing/DspFixture.h"
#include "frontpanel/FrontPanelCore.h"
#include "platform/profile/SettingsStore.h"
#include "platform/runtime/RuntimeError.h"
#include "platform/ui/testing/ScriptedDialogService.h"
#include "radio/clsVFO.h"

namespace paneltest {

struct RecordingLabel final : frontpanel::KnobLabel {
    std::string caption;
    int captions = 0;
    int32_t colour = -1;
    void setCaption(const std::string& c) override {
        caption = c;
        ++captions;
    }
    void setForeColor(int32_t bgr) override { colour = bgr; }
    void setBorder(bool single) override { border = single; }
    bool border = false;
};

// The main window's side of the mode's sound-card hand-over, recording the calls that act in one list;
// a step can be made to fail.
struct FakeReceiverShell final : frontpanel::ReceiverShell, frontpanel::SoundCardStatus {
    std::vector<std::string> calls;
    bool power = true;
    bool prepared = true;
    int32_t stopStatus = 0;
    bool releaseThrows = false;
    bool startThrows = false;

    bool PowerOn() const override { return power; }
    void StartSound() override {
        calls.push_back("StartSound");
        if (startThrows) {
            power = false;
            runtime::raise(7, "SoundCard.PrepareDevices");
        }
        prepared = true;
    }
    std::function<void()> duringRunDream; // the messages the decoder's start pumps
    void RunDREAM() override {
        calls.push_back("RunDREAM");
        if (duringRunDream) duringRunDream();
    }
    void CloseProcessWindows() override { calls.push_back("CloseProcessWindows"); }
    bool Prepared() const override { return prepared; }
    int32_t StopSound() override {
        calls.push_back("StopSound");
        return stopStatus;
    }
    int32_t ReleaseDevices() override {
        calls.push_back("ReleaseDevices");
        if (releaseThrows) runtime::raise(runtime::err::kObjectNotSet, "SoundCard.ReleaseDevices");
        prepared = false;
        return 0;
    }
};

struct FakeNotchDisplay final : frontpanel::NotchOverlay {
    bool shown = false;
    void setShowNotch(bool show) override { shown = show; }
};

// Counts the filter bank's rebuilds: each one hands the display the IF filter's curve once.
struct CountingCurve final : frontpanel::FilterCurveSink {
    int loads = 0;
    void LoadFilterCoeffs_T_S(const float*, int32_t) override { ++loads; }
};

struct FakeRecorder final : frontpanel::RecorderFormat {
    bool closed = true;
    int32_t decimator = 1;
    int32_t bits = 16;
    bool IsClosed() const override { return closed; }
    void setDecimator(int32_t factor) override { decimator = factor; }
    int32_t WavSamplingRate() const override { return 48000 / decimator; }
    void setBitsPerSample(int32_t b) override { bits = b; }
};

struct FakeDial final : frontpanel::DialPosition {
    int32_t value = 0;
    int32_t Value() const override { return value; }
    void setValue(int32_t v) override { value = v; }
};

// Marks and unmarks knobs by the window's rules: the knob already active is left alone, a negative
// index stands for the active knob, a disabled knob is never made active.
struct FakeShell final : frontpanel::ShellHighlight {
    ReceiverState* state = nullptr;
    CtlArray* ctlArray = nullptr;
    std::vector<std::string> calls;

    void HighlightValueLabel(int16_t& Index) override {
        calls.push_back("Highlight " + std::to_string(Index));
        if (Index == state->ActiveKnob) return;
        if (Index < 0) Index = state->ActiveKnob;
        if ((*ctlArray)[static_cast<size_t>(Index)].Disabled) return;
        state->ActiveKnob = Index;
        marked = Index;
    }
    void UnhighlightValueLabel() override {
        calls.push_back("Unhighlight");
        state->ActiveKnob = 0;
    }
    void UnhighlightValueLabel(int16_t Index) override {
        calls.push_back("Unhighlight " + std::to_string(Index));
        state->ActiveKnob = 0;
    }
    void DarkenControls() override {
        calls.push_back("Darken");
        state->ActiveKnob = 0;
    }
    void FocusFrame(frontpanel::KnobFrame) override { calls.push_back("FocusFrame"); }
    void UnFocusFrames() override { calls.push_back("UnFocusFrames"); }
    void focusSink() override { calls.push_back("focusSink"); }
    int16_t marked = 0;
};

struct FakeAnalyser final : frontpanel::AnalyserKnobs {
    float chn1Gain = 0, chn1Shift = 0, chn2Gain = 0, chn2Shift = 0;
    int32_t smooth = 8, defaultSmooth = 8, frameRate = 1, mode_ = 0, startBin = 0, stopBin = 0,
            screenWidth = 0;
    bool iq = false;
    float hzPerBin = 11.71875f;
    int32_t fOffset = 0;
    std::array<int16_t, 2> brightness{};
    std::vector<std::string> calls;

    void setChn1Gain(float v) override { chn1Gain = v; }
    void setChn1Shift(float v) override { chn1Shift = v; }
    void setChn2Gain(float v) override { chn2Gain = v; }
    void setChn2Shift(float v) override { chn2Shift = v; }
    int32_t SpectrumSmooth() const override { return smooth; }
    void setSpectrumSmooth(int32_t v) override { smooth = v; }
    int32_t DefaultSmoothCount() const override { return defaultSmooth; }
    void SetChannelBrightness(int16_t channel, int16_t b) override {
        brightness[static_cast<size_t>(channel)] = b;
    }
    int32_t FrameRate() const override { return frameRate; }
    void setFrameRate(int32_t v) override { frameRate = v; }
    int32_t mode() const override { return mode_; }
    bool IQMode() const override { return iq; }
    int32_t StartBin() const override { return startBin; }
    void setStartBin(int32_t v) override {
        startBin = v;
        calls.push_back("StartBin " + std::to_string(v));
    }
    int32_t StopBin() const override { return stopBin; }
    void setStopBin(int32_t v) override {
        stopBin = v;
        calls.push_back("StopBin " + std::to_string(v));
    }
    void setScreenWidth(int32_t v) override { screenWidth = v; }
    float HzPerBin() const override { return hzPerBin; }
    int32_t FOffset() const override { return fOffset; }
    int32_t ControlColourNormal() const override { return 192; }
    int32_t ControlColourFocused() const override { return 255; }
};

// Digit i sits at 300 i twips across the readout picture, which sits at (1000, 500) on the panel.
struct RecordingView final : frontpanel::ReadoutView {
    std::array<std::string, 9> digits{};
    std::array<int32_t, 9> digitColours{};
    int digitWrites = 0;
    frontpanel::TwipsRect marker{};
    int32_t markerColour = 0;
    std::string rate;
    int32_t rateColour = 0;
    std::string rateToolTip;
    bool lockPicture = false;
    std::string lo;
    int loWrites = 0;
    bool selectorShown = false;
    int32_t selectorLeft = 0, selectorTop = 0;
    int32_t tuneInterval = 250;
    int focusCount = 0;

    void setDigitCaption(int16_t d, const std::string& c) override {
        digits[static_cast<size_t>(d)] = c;
        ++digitWrites;
    }
    void setDigitColour(int16_t d, int32_t bgr) override { digitColours[static_cast<size_t>(d)] = bgr; }
    void setMarker(const frontpanel::TwipsRect& place, int32_t border) override {
        marker = place;
        markerColour = border;
    }
    void setTuningRateCaption(const std::string& c) override { rate = c; }
    void setTuningRateLook(int32_t colour, const std::string& tip) override {
        rateColour = colour;
        rateToolTip = tip;
    }
    void setLockPictureVisible(bool v) override { lockPicture = v; }
    void setLoCaption(const std::string& c) override {
        lo = c;
        ++loWrites;
    }
    void showStepSelector(int32_t left, int32_t top) override {
        selectorShown = true;
        selectorLeft = left;
        selectorTop = top;
    }
    void hideStepSelector() override { selectorShown = false; }
    void focusReadout() override { ++focusCount; }
    void setTuneRepeatInterval(int32_t ms) override { tuneInterval = ms; }
    frontpanel::TwipsRect digitRect(int16_t d) const override { return {300 * d, 0, 285, 600}; }
    frontpanel::TwipsRect readoutRect() const override { return {1000, 500, 3000, 700}; }
    frontpanel::TwipsRect dialRect() const override { return {6000, 400, 1200, 1200}; }
    frontpanel::TwipsRect tuningRateRect() const override { return {4000, 1300, 1000, 250}; }
    frontpanel::TwipsRect stepSelectorRect() const override { return {0, 0, 1100, 300}; }
};

inline constexpr frontpanel::TuningStepTable kTuningSteps = {
    100000, 90000, 50000, 30000, 25000, 10000, 5000, 2500, 1000, 500, 250, 100, 50, 25, 10, 5, 2, 1};
// Knob 1's colours: the tuning colour and 85 % of it.
inline constexpr int32_t kReadoutFocus = 0x00FFFF, kReadoutNormal = 0x00D9D9;

struct PanelRig {
    explicit PanelRig(bool withAnalyser = true) {
        vfoObject.setRXMinFreq(0);
        vfoObject.setRxMaxFreq(30'000'000);
        vfoObject.setTunedFrequency(140'741'234);
        shell.state = &state();
        if (!withAnalyser) context.analyser = nullptr;
        context.receiverShell = &receiver;
        context.soundCard = &receiver;
        context.notchDisplay = &notchDisplay;
        context.filterCurve = &curve;
        context.switches.modelSection = [this] { return modelSection; };
        context.switches.recorder = &recorder;
        rebuild();
    }

    // A new core over the context as it now stands (say, with twins added); its table is empty.
    void rebuild() {
        core = std::make_unique<frontpanel::FrontPanelCore>(context);
        shell.ctlArray = &core->ctlArray;
        auto& readout = core->ctlArray[kFrequencyReadoutKnob];
        readout.FocusColour = kReadoutFocus;
        readout.NormalColour = kReadoutNormal;
        for (int16_t k = 2; k < kKnobCount; ++k)
            core->knobs.setKnobLabel(k, &labels[static_cast<size_t>(k)]);
    }

    ReceiverState& state() { return dsp.state; }
    ScrollLabel& knob(int16_t k) { return core->ctlArray[static_cast<size_t>(k)]; }
    RecordingLabel& label(int16_t k) { return labels[static_cast<size_t>(k)]; }

    // One wheel message of the hook, distance +120 or -120, with key flags.
    bool wheel(int sign, int32_t flags = 0) {
        ui::HookMessage m;
        m.message = ui::HookMessage::kMouseWheel;
        m.wParam = static_cast<int32_t>((static_cast<uint32_t>(sign > 0 ? 120 : -120) << 16) |
                                        static_cast<uint32_t>(flags));
        return core->wheel.deliver(m);
    }
    // One notch, which is one step of the active knob.
    void wheelStep(int sign, int32_t flags = 0) { wheel(sign, flags); }

    DspLibraries dsp;
    profile::MemorySettingsStore store;
    clsVFO vfoObject{store};
    frontpanel::CurrentVfo vfo{[this] { return &vfoObject; }};
    frontpanel::FilterTables tables = frontpanel::DefaultFilterTables();
    std::unique_ptr<Nerix::FilterBank> bank = Nerix::CreateFilterBank(dsp.wrappers, 12000);
    Nerix::FilterBank& filters = *bank;
    FakeReceiverShell receiver;
    FakeNotchDisplay notchDisplay;
    CountingCurve curve;
    FakeRecorder recorder;
    std::string modelSection = "RXModel.Sat Schneider DRT1";
    FakeDial dial;
    FakeShell shell;
    RecordingView view;
    ui::testing::ScriptedDialogService dialogs;
    std::vector<MainBandRec> bands;
    FakeAnalyser analyser;
    std::array<RecordingLabel, kKnobCount> labels{};
    frontpanel::FrontPanelContext context{dsp.state, dsp.wrappers, tables,       vfo,    dial,      shell,
                                          view,      dialogs,      kTuningSteps, &bands, &analyser, &filters};
    std::unique_ptr<frontpanel::FrontPanelCore> core;
};

} // namespace paneltest
