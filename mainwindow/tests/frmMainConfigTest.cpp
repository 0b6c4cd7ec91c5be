// The configuration dialog opened from the running window's Config button: Apply changes the model (a new
// VFO that the window's users tune), the sound devices, the line interface and the colours of the window.
#include <gtest/gtest.h>

#include <QApplication>
#include <algorithm>
#include <cstdlib>
#include <stdexcept>
#include <utility>

#include "config/frmConfig.h"
#include "frame/modTiming.h"
#include "mainwindow/MainWindowDesign.h"
#include "mainwindow/tests/MainWindowRig.h"
#include "platform/runtime/RuntimeError.h"
#include "platform/runtime/testing/FakePerformanceCounter.h"
#include "platform/ui/Twips.h"
#include "radio/clsDDSNullIF.h"
#include "radio/clsDDSParallelIF.h"
#include "radio/clsSoftDDS.h"
#include "radio/testing/PinTrace.h"
#include "radio/testing/SimParallelPort.h"

namespace {

// The crystal-controlled models: a software oscillator behind the null line.
constexpr int32_t kCrystalModel = 4; // "IQ,Crystal Controlled"
constexpr int32_t kSoftRock40 = 13;  // "Soft Rock 40-7.055MHz"
constexpr int16_t kParallelKind = 1; // optIF(1), "Par"
constexpr int32_t kNewBackground = 0x402010;

// The window over a receiver the real set-up builds: the VFO in the rig's slot, the software oscillator,
// the null line and a parallel line on a simulated port.
struct ConfigOnTheWindow : ::testing::Test, mainwindowtest::MainWindowRig {
    ConfigOnTheWindow() {
        context.Radio = [this] { return radio(); };
        initialiseRX = [this] {
            int32_t model = -1;
            setup.InitialiseRX(model, {store, state(), models, radio(), nullptr});
        };
        store.SaveSetting("NerixSDR", "frmMain", "SDRModelNo", std::to_string(kCrystalModel));
        state().SDRModelNo = kCrystalModel;
        sound.playbackNames = {"Default", "Speakers", "HDMI"};
        sound.captureNames = {"Default", "Line In"};
    }
    ~ConfigOnTheWindow() override {
        // The window and the VFO go after the oscillator and lines of this fixture.
        window.reset();
        if (vfoSlot) vfoSlot->setOscType(nullptr);
    }

    modSetupRX::RadioObjects radio() {
        modSetupRX::RadioObjects r;
        r.Vfo = vfoSlot.get();
        r.ParallelLine = &parallel;
        r.NullLine = &nullLine;
        r.SoftDdsOsc = &soft;
        return r;
    }
    // Config pressed as a user presses it; the dialog is the window's child.
    frmConfig& pressConfig(frmMain& w) {
        w.cmdConfig.setValue(true);
        for (QWidget* child : w.findChildren<QWidget*>())
            if (auto* d = dynamic_cast<frmConfig*>(child)) return *d;
        throw std::runtime_error("no configuration dialog");
    }

    runtime::testing::FakePerformanceCounter counter{10'000'000, 1};
    modTiming::Timing timing{counter};
    pins::PinTrace pinTrace{counter};
    pins::SimParallelPort port{pinTrace};
    clsDDSParallelIF parallel{store, timing, port};
    clsDDSNullIF nullLine{store};
    clsSoftDDS soft{store};
};

TEST_F(ConfigOnTheWindow, ApplyChangesTheModelTheDevicesTheInterfaceAndTheColoursOfTheRunningWindow) {
    auto& w = make();
    w.Show();
    ASSERT_EQ(w.Caption(), "NerixSDR - IQ,Crystal Controlled");
    ASSERT_EQ(soft.Parent(), &vfo);
    w.optPwr[0].setValue(true);
    ASSERT_TRUE(receiver().SoundCard && receiver().SoundCard->InAction());
    w.optDisplaySize[3].setValue(true);
    const auto fullLayouts = std::count(effects.begin(), effects.end(), "Layout 3");
    const size_t devicesMade = sound.createdPlaybackIds.size();
    const clsVFO* old = vfoSlot.get();

    frmConfig& d = pressConfig(w);
    ASSERT_TRUE(d.isVisible());
    d.TabStrip1.setSelectedItem(1);
    d.cboSDRModel.setListIndex(kSoftRock40);
    d.TabStrip1.setSelectedItem(2);
    d.cboPlayDevices.setListIndex(1);
    d.cboCapDevices.setListIndex(1);
    d.TabStrip1.setSelectedItem(4);
    d.optIF[kParallelKind].setValue(true);
    d.TabStrip1.setSelectedItem(9);
    dialogs.colourAnswers.push_back(ui::ColourDialogResult{kNewBackground, {}});
    d.cmdSDrBackGroundColour.setValue(true);
    d.cmdApply.setValue(true);
    QCoreApplication::processEvents();
    EXPECT_TRUE(dialogs.messages.empty());

    // The model: a new VFO in the slot, built by the set-up, and the window captioned for it.
    ASSERT_NE(vfoSlot.get(), old);
    clsVFO& now = *vfoSlot;
    EXPECT_EQ(state().SDRModelNo, kSoftRock40);
    EXPECT_EQ(now.OscType(), &soft);
    EXPECT_EQ(soft.Parent(), &now);
    EXPECT_EQ(now.TunedFrequency(), 10 * models.RxModels[kSoftRock40].TunedFrequency); // tenths of a hertz
    EXPECT_EQ(w.Caption(), "NerixSDR - Soft Rock 40-7.055MHz");
    // The layout chosen on the window is laid out again.
    EXPECT_GT(std::count(effects.begin(), effects.end(), "Layout 3"), fullLayouts);
    EXPECT_EQ(state().DisplayMode, 3);
    // The window's users tune it: the receive path and the recorder through the tuning port, and the
    // shaft encoder (a tick on the released VFO is a use after free under the sanitizers).
    ASSERT_TRUE(receiver().Path);
    EXPECT_EQ(receiver().Path->Ports().Tuning->TunedFrequency(), now.TunedFrequency());
    state().EnableShaftEncoder = true;
    receiver().EncoderSwitchChanged();
    ASSERT_TRUE(timers.isArmed(&receiver(), 4));
    timers.advance(10);
    // The devices: sound runs again on the devices chosen, and blocks run through the new VFO's tuning.
    EXPECT_EQ(receiver().SoundCard->CurrentPlaybackDevice(), 2);
    EXPECT_EQ(receiver().SoundCard->CurrentCaptureDevice(), 2);
    EXPECT_GT(sound.createdPlaybackIds.size(), devicesMade);
    EXPECT_TRUE(receiver().SoundCard->InAction());
    EXPECT_TRUE(w.optPwr[0].Value());
    const size_t played = sound.played.size();
    sound.advance(4 * 2048);
    QCoreApplication::processEvents();
    EXPECT_GT(sound.played.size(), played);
    // The interface: the oscillator now drives the parallel line.
    EXPECT_EQ(now.DDSInterfaceType(), kParallelKind);
    EXPECT_EQ(soft.IFHandler(), &parallel);
    // The colours: the scheme, the window and every frame and picture of every component.
    EXPECT_EQ(state().SDRColourSchemes.Background, kNewBackground);
    EXPECT_EQ(w.BackColor(), kNewBackground);
    int painted = 0;
    w.forEachControl([&](ui::Control& c) {
        if (dynamic_cast<ui::Frame*>(&c) || dynamic_cast<ui::Label*>(&c)) {
            ++painted;
            EXPECT_EQ(c.BackColor(), kNewBackground) << c.widget()->objectName().toStdString();
        }
    });
    EXPECT_GT(painted, 30);
    EXPECT_EQ(w.optPwr[0].ForeColor(), 0x00FF00); // the power buttons keep their own colours

    EXPECT_TRUE(d.grab().save(RENDER_DIR "/config_dialog_on_window.png"));
    d.cmdOK.setValue(true);
    EXPECT_FALSE(d.isVisible());
    QCoreApplication::processEvents();
    EXPECT_TRUE(w.grab().save(RENDER_DIR "/main_window_after_apply.png"));
    w.optPwr[1].setValue(true);
}

// Wherever the title bar is removed (the start-up with "FormCaptionOffOnPwrOn" set, Apply with its box
// ticked), the layout stops counting it, as after the power button: the window is C lower and B higher.
TEST_F(ConfigOnTheWindow, ALayoutAppliedWithoutTheTitleBarNoLongerCountsIt) {
    namespace md = mainwindow::design;
    constexpr int32_t B = 60, C = 330;
    constexpr auto kFullRows = static_cast<int32_t>(md::clientHeight(md::kLayoutFull, false));
    // The layout's outer height and the client height it leaves, in twips on whole pixels.
    const auto full = [](frmMain& w) { return std::pair(w.Layout.LayoutHeight, w.ScaleHeight()); };
    const auto expected = [](int32_t outer, int32_t client) {
        return std::pair(float(outer), ui::twips(ui::pixels(client)));
    };
    for (const bool atStartUp : {true, false}) {
        SCOPED_TRACE(atStartUp ? "start-up" : "Apply");
        store.SaveSetting("NerixSDR", "frmMain", "FormCaptionOffOnPwrOn", atStartUp ? "True" : "False");
        store.SaveSetting("NerixSDR", "frmMain", "DisplayMode", "3");
        auto& w = make();
        w.Show();
        ASSERT_EQ(state().DisplayMode, 3);
        if (!atStartUp) {
            EXPECT_EQ(full(w), expected(kFullRows + B + C, kFullRows + B));
            frmConfig& d = pressConfig(w);
            d.FormCaptionOffOnPwrOn.setValue(1);
            d.cmdApply.setValue(true);
            d.cmdOK.setValue(true);
        }
        EXPECT_TRUE(w.windowFlags().testFlag(Qt::FramelessWindowHint));
        EXPECT_EQ(full(w), expected(kFullRows + 2 * B, kFullRows));
        window.reset();
    }
}

// The analyser keeps the VFO itself: the display is handed the new one once it is in the slot, before the
// old one is released.
TEST_F(ConfigOnTheWindow, AModelChangeHandsTheDisplayTheNewVfo) {
    auto& w = make();
    w.Show();
    frmConfig& d = pressConfig(w);
    d.cboSDRModel.setListIndex(kSoftRock40);
    d.cmdOK.setValue(true);
    EXPECT_EQ(receiver().HandedVfo, vfoSlot.get());
    EXPECT_TRUE(receiver().HandedVfoInSlot);
    EXPECT_EQ(soft.Parent(), vfoSlot.get());
}

// A crystal-controlled receiver tunes by the front panel's BFO knob: a retune moves the signal path's
// mixer by the offset from the crystal, and once the window is gone the oscillator no longer reaches it.
TEST_F(ConfigOnTheWindow, ACrystalReceiverTunesTheSignalPathThroughTheFrontPanelsBfoKnob) {
    store.SaveSetting("NerixSDR", "frmMain", "SDRModelNo", std::to_string(kSoftRock40));
    state().SDRModelNo = kSoftRock40;
    auto& w = make();
    w.Show();
    ASSERT_EQ(w.Caption(), "NerixSDR - Soft Rock 40-7.055MHz");
    ASSERT_EQ(soft.Parent(), &vfo);
    // 7 kHz below the crystal's 7.055 MHz, the 12 kHz IF puts the oscillator 7 kHz above it.
    vfo.setTunedFrequency(70'500'000);
    EXPECT_EQ(std::abs(state().BfoOffset), 7'000);
    EXPECT_EQ(std::abs(state().MixerCentre - state().BaseIF), 7'000);
    vfo.setTunedFrequency(70'510'000);
    EXPECT_EQ(std::abs(state().BfoOffset), 8'000);

    window.reset();
    try {
        soft.SetFrequency(282'480'000);
        ADD_FAILURE() << "the oscillator still reaches the knob of a window that is gone";
    } catch (const runtime::RuntimeError& e) {
        EXPECT_EQ(e.Number(), runtime::err::kObjectNotSet);
    }
}

} // namespace
