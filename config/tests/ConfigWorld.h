// A live receiver for the configuration dialog's tests: the receiver state, the model table and rig
// list, a VFO on a fake oscillator, fake serial and parallel lines, a CY27EE16 on a simulated serial
// port, the Hilbert filter, a sound engine on the simulated sound card, a fake analyser and knob table,
// and scripted dialogs; the main window is a bare form that owns the dialog. Also a user's click.
#pragma once

#include <QTest>
#include <array>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "clockgen/clsCY27EE16.h"
#include "config/ConfigContext.h"
#include "config/ConfigDialogHost.h"
#include "config/LiveObjects.h"
#include "config/frmConfig.h"
#include "dsp/NerixDX8.h"
#include "dsp/clsFFTFilter.h"
#include "dsp/testing/DspFixture.h"
#include "frame/PublicFuncs.h"
#include "frame/clsComDlg.h"
#include "platform/profile/SettingsStore.h"
#include "platform/runtime/Hooks.h"
#include "platform/runtime/testing/FakePerformanceCounter.h"
#include "platform/sound/testing/SimulatedSoundSystem.h"
#include "platform/ui/Form.h"
#include "platform/ui/testing/ScriptedDialogService.h"
#include "radio/clsDDSNullIF.h"
#include "radio/clsDDSSerialIF.h"
#include "radio/clsVFO.h"
#include "radio/testing/PinTrace.h"
#include "radio/testing/SimSerialLines.h"

namespace configtest {

class FakeLine final : public LineInterface {
public:
    double waitTime = 5E-06;
    int32_t portNo = 1;
    int32_t portAddress = 888;
    bool inverting = false;
    int32_t ioupd = 2, sclck = 1, sdata = 0;

    double WaitTime() const override { return waitTime; }
    void setWaitTime(double seconds) override { waitTime = seconds; }
    int32_t PortNo() const override { return portNo; }
    void setPortNo(int32_t value) override { portNo = value; }
    int32_t PortAddress() const override { return portAddress; }
    void setPortAddress(int32_t value) override { portAddress = value; }
    bool Inverting() const override { return inverting; }
    void setInverting(bool value) override { inverting = value; }
    int32_t IOUPDBitNo() const override { return ioupd; }
    void setIOUPDBitNo(int32_t value) override { ioupd = value; }
    int32_t SCLCKBitNo() const override { return sclck; }
    void setSCLCKBitNo(int32_t value) override { sclck = value; }
    int32_t SDATABitNo() const override { return sdata; }
    void setSDATABitNo(int32_t value) override { sdata = value; }

protected:
    std::string_view className() const override { return "FakeLine"; }
};

class FakeOscillator final : public Oscillator {
public:
    double clock = 125'000'000;
    int32_t base = 0;
    int32_t rigNo = 1;
    double scaling = 1;

    double ClkIn() const override { return clock; }
    void setClkIn(double hertz) override { clock = hertz; }
    int32_t BaseFrequency() const override { return base; }
    void setBaseFrequency(int32_t hertz) override { base = hertz; }
    double FreqScaling() const override { return scaling; }
    void setFreqScaling(double value) override { scaling = value; }
    int32_t RigNo() const override { return rigNo; }
    void setRigNo(int32_t value) override { rigNo = value; }

protected:
    std::string_view className() const override { return "FakeOscillator"; }
};

class FakeAnalyser final : public config::AnalyserSettings {
public:
    // Back, graticule, Y1, Y2, filter curve, notch, X text, Y text.
    std::array<int32_t, 8> colours{0x000000, 0x007F00, 0x00FF00, 0x00FFFF,
                                   0x0000C0, 0xC0FF60, 0xFFFF00, 0xFF7F00};
    int32_t focused = 255, normal = 192;
    int32_t y1 = 0x00FF00, y2 = 0x00FFFF;
    bool hideFreqToolTip = false;
    int32_t smoothCount = 8;

    int32_t ScopeBackColour() const override { return colours[0]; }
    void setScopeBackColour(int32_t c) override { colours[0] = c; }
    int32_t GraticuleColour() const override { return colours[1]; }
    void setGraticuleColour(int32_t c) override { colours[1] = c; }
    int32_t Y1BaseColour() const override { return colours[2]; }
    void setY1BaseColour(int32_t c) override { colours[2] = c; }
    int32_t Y2BaseColour() const override { return colours[3]; }
    void setY2BaseColour(int32_t c) override { colours[3] = c; }
    int32_t FilterCurveColour() const override { return colours[4]; }
    void setFilterCurveColour(int32_t c) override { colours[4] = c; }
    int32_t NotchFilterColour() const override { return colours[5]; }
    void setNotchFilterColour(int32_t c) override { colours[5] = c; }
    int32_t XTextColour() const override { return colours[6]; }
    void setXTextColour(int32_t c) override { colours[6] = c; }
    int32_t YTextColour() const override { return colours[7]; }
    void setYTextColour(int32_t c) override { colours[7] = c; }
    int32_t ControlColourFocused() const override { return focused; }
    void setControlColourFocused(int32_t c) override { focused = c; }
    int32_t ControlColourNormal() const override { return normal; }
    void setControlColourNormal(int32_t c) override { normal = c; }
    int32_t Y1Colour() const override { return y1; }
    void setY1Colour(int32_t c) override { y1 = c; }
    int32_t Y2Colour() const override { return y2; }
    void setY2Colour(int32_t c) override { y2 = c; }
    void SetChannelBrightness(int16_t channel, int16_t level) override {
        if (channel == 0) y1 = PublicFuncs::ScaleColour(colours[2], level);
        if (channel == 1) y2 = PublicFuncs::ScaleColour(colours[3], level);
    }
    bool HideFreqToolTip() const override { return hideFreqToolTip; }
    void setHideFreqToolTip(bool hide) override { hideFreqToolTip = hide; }
    int32_t DefaultSmoothCount() const override { return smoothCount; }
    void setDefaultSmoothCount(int32_t count) override { smoothCount = count; }
};

class FakeKnobs final : public config::KnobValues {
public:
    struct Record {
        float value = 0, defaultValue = 0;
        int32_t normal = 0, focus = 0;
    };
    std::array<Record, 25> records{};
    int setBfoCalls = 0;
    FakeKnobs() { records[config::lblSpectrumSmoothIndex].value = 8; }

    float Value(int16_t knob) const override { return records.at(static_cast<std::size_t>(knob)).value; }
    void setValue(int16_t knob, float v) override { records.at(static_cast<std::size_t>(knob)).value = v; }
    void setDefault(int16_t knob, float v) override {
        records.at(static_cast<std::size_t>(knob)).defaultValue = v;
    }
    void setNormalColour(int16_t knob, int32_t c) override {
        records.at(static_cast<std::size_t>(knob)).normal = c;
    }
    void setFocusColour(int16_t knob, int32_t c) override {
        records.at(static_cast<std::size_t>(knob)).focus = c;
    }
    void SetBFO() override { ++setBfoCalls; }
};

// The main window as far as the dialog sees it: what it was last told.
class FakeShell final : public config::MainWindowShell {
public:
    std::vector<std::string> calls;
    std::string caption;
    int32_t backColor = -1;
    std::optional<bool> titleBar;
    std::optional<int16_t> layout = 1;

    void ShowTitleBar(bool on) override {
        titleBar = on;
        calls.push_back("ShowTitleBar");
    }
    void setBackColor(int32_t c) override {
        backColor = c;
        calls.push_back("BackColor");
    }
    void ReColour() override { calls.push_back("ReColour"); }
    void DarkenControls() override { calls.push_back("DarkenControls"); }
    void UnFocusFrames() override { calls.push_back("UnFocusFrames"); }
    std::optional<int16_t> SelectedDisplaySize() const override { return layout; }
    void optDisplaySize_Click(int16_t Index) override {
        calls.push_back("optDisplaySize_Click(" + std::to_string(Index) + ")");
    }
    void setCaption(const std::string& c) override { caption = c; }
    void StartSound() override { calls.push_back("StartSound"); }
    comm::MSComm* MSComm1() override { return nullptr; }
    void EncoderSwitchChanged() override { calls.push_back("EncoderSwitchChanged"); }
};

// Collects the trace log.
// The user clicks the middle of a control.
inline void click(ui::Control& c, Qt::MouseButton button = Qt::LeftButton) {
    QTest::mouseClick(c.widget(), button, Qt::NoModifier, c.widget()->rect().center());
}

struct TraceLog {
    std::vector<std::string> lines;
    runtime::ScopedHooks hooks{
        runtime::Hooks{{}, [this](const std::string& line) { lines.push_back(line); }, {}}};

    bool mentions(const std::string& text) const {
        for (const auto& l : lines)
            if (l.find(text) != std::string::npos) return true;
        return false;
    }
};

struct World {
    World() {
        RXDefinitions::Initialise(models, state.BaseIF);
        rigs.BuildRigList();
        useModel(2); // "IQ,AD9850 DDS"
        sound.playbackNames = {"Default", "Speakers", "HDMI"};
        sound.captureNames = {"Default", "Line In"};
        vfo.setOscType(&osc);
        vfo.setOscMultiplier(4);
        vfo.setPLLMultiplier(1);
        vfo.setIFFrequency(12'000);
        vfo.setHiSideLo(true);
        vfo.setAutoUpdate(true);
        vfo.setDDSInterfaceType(1);
        ports.plugIn(1);
        i2cLine.Initialise();
        i2cLine.OpenPort(false);
        cy.setIFHandler(&i2cLine);
        state.SaveRecordingsPath = "/home/user/recordings";
        state.RunPriority = 256;
        state.SDRColourSchemes = {0x000000, 0xBFBF00, 0xFFFF00, 0xBFBF00, 0x0000FF, 0xBFBF00, 0x0000FF};
    }
    ~World() {
        if (vfoSlot) vfoSlot->setOscType(nullptr);
    }

    void useModel(int32_t modelNo) {
        state.SDRModelNo = modelNo;
        setup.ModelSection = "RXModel." + models.RxModels[static_cast<std::size_t>(modelNo)].Name;
        setup.CurrentModel.IQMode = models.RxModels[static_cast<std::size_t>(modelNo)].IQMode;
    }
    modSetupRX::RadioObjects radio() {
        modSetupRX::RadioObjects r;
        r.Vfo = vfoSlot.get();
        r.SerialLine = &serial;
        r.ParallelLine = &parallel;
        r.NullLine = &nullLine;
        r.Cy27ee16Osc = &cy;
        r.HamlibOsc = &hamlib;
        return r;
    }
    NerixDX8& soundCard() {
        if (!engine) {
            engine = std::make_unique<NerixDX8>(sound, dsp.wrappers);
            engine->setCurrentPlaybackDevice(3);
            engine->setCurrentCaptureDevice(1);
        }
        return *engine;
    }
    // A dialog of its own, filled as the Config button fills it.
    std::unique_ptr<frmConfig> load() {
        auto dialog = std::make_unique<frmConfig>(context, &mainWindow);
        dialog->SoundCard = &soundCard();
        dialog->Load();
        return dialog;
    }

    DspLibraries dsp;
    ReceiverState& state = dsp.state;
    profile::MemorySettingsStore store;
    RXDefinitions::RxModelTable models;
    modRigList::RigListTable rigs;
    modSetupRX::ReceiverSetup setup;
    FakeLine serial, parallel;
    clsDDSNullIF nullLine{store};
    FakeOscillator osc, hamlib;
    runtime::testing::FakePerformanceCounter counter{10'000'000, 1};
    modTiming::Timing timing{counter};
    pins::PinTrace trace{counter};
    pins::SimSerialPorts ports{trace};
    clsDDSSerialIF i2cLine{store, timing, ports};
    clsCY27EE16 cy{store};
    // Where the VFO in use lives; Apply replaces it on a change of model.
    std::unique_ptr<clsVFO> vfoSlot = std::make_unique<clsVFO>(store);
    clsVFO& vfo = *vfoSlot;
    clsFFTFilter hilbert{dsp.wrappers};
    sound::testing::SimulatedSoundSystem sound;
    std::unique_ptr<NerixDX8> engine;
    FakeAnalyser analyser;
    FakeKnobs knobs;
    FakeShell shell;
    ui::testing::ScriptedDialogService dialogs;
    clsComDlg comDlg{dialogs, store};
    config::LiveRadio liveRadio{{store, state, models, setup, vfoSlot, [this] { return radio(); }, {}}};
    config::ConfigContext context{
        state,      store,     models,
        rigs,       setup,     [this] { return radio(); },
        &hilbert,   &analyser, &knobs,
        comDlg,     dialogs,   config::ProgramVersion{"NerixSDR", 0, 1, 0, "", "", ""},
        &liveRadio, &shell};
    ui::Form mainWindow;
    config::ConfigDialogHost host{context, &mainWindow};
};

} // namespace configtest
