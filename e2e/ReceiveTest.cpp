// Receiving as a user does: a preset of the band used last tunes a station in, the wheel on the readout
// moves it, and the mute switch and the power buttons silence it and bring it back.
#include <string>

#include "e2e/EndToEnd.h"
#include "e2e/harness/TestBand.h"
#include "mainwindow/MainWindowDesign.h"

namespace e2e {
namespace {

namespace design = mainwindow::design;
using Receive = EndToEnd;

constexpr bool kElektorPanel = false; // model 13 has none
constexpr int64_t kSubBandHz = 7'040'000;
constexpr int64_t kPresetHz = 7'050'000;
constexpr int64_t kAudioHz = 1000;
constexpr int64_t kStepHz = 100;
// A station the preset plays as 1000 Hz.
constexpr int64_t kStationHz = stationHz(kPresetHz, Sideband::Usb, kAudioHz);
static_assert(kSoftRockLoHz - kStationHz < 20'000 && kStationHz - kSoftRockLoHz < 20'000,
              "inside the complex band, clear of its edges");

constexpr auto kPiece = 400ms;
constexpr auto kSettle = 8s; // the output's latency and the AGC, with room for a busy machine
constexpr auto kMeasure = 500ms;

class Receiving : public Receive {
protected:
    // Waits until "out" plays the tone, then measures a fresh stretch of it.
    ToneReading toneAfterSettling(double hz) {
        listenUntil(
            servers_->folder(), "out", [&](const Sound& s) { return isTone(measureTone(s.left), hz); },
            kPiece, kSettle);
        return measureTone(recordSink(servers_->folder(), "out", kMeasure).left);
    }
    // Waits until "out" is silent, then measures a fresh stretch.
    double rmsAfterSettling() {
        listenUntil(
            servers_->folder(), "out", [](const Sound& s) { return measureTone(s.left).rmsDb < kSilenceDb; },
            kPiece, kSettle);
        return measureTone(recordSink(servers_->folder(), "out", kMeasure).left).rmsDb;
    }
    void click(const ui::DesignPath& path) {
        const auto r = path.pixels();
        screen().click(*main_, r.centreX(), r.centreY());
    }
    void expectTone(const ToneReading& r, double hz, const std::string& when) {
        EXPECT_NEAR(r.hz, hz, kToneToleranceHz) << when;
        EXPECT_GE(r.levelDb, kToneLevelLowDb) << when;
        EXPECT_LE(r.levelDb, kToneLevelHighDb) << when;
        EXPECT_LE(r.neighbourDb, r.levelDb - kNeighbourMarginDb) << when;
    }
};

TEST_F(Receiving, APresetTunesAStationInAndTheWheelMuteAndPowerActOnWhatIsHeard) {
    sandbox_.addBandPlan(kTestBandFile, testBandPlan(kSubBandHz, Sideband::Lsb, kPresetHz, Sideband::Usb));
    sandbox_.writeSettings(testBandSettings());
    auto program = start();
    ASSERT_TRUE(main_);
    ASSERT_TRUE(waitForLine(sandbox_.traceFile(), "frmMain:frmMain:Form_Load:End", kBound));
    ASSERT_TRUE(
        waitForLine(sandbox_.traceFile(), "frmSupervisor.Initialise:Processing " + kTestBandFile, 0ms))
        << "the test's band plan was not read";

    ToneSource station(servers_->folder(), toneOffsetHz(kStationHz));
    click(design::presetButton(0, kElektorPanel));
    expectTone(toneAfterSettling(kAudioHz), kAudioHz, "after the preset");
    photograph(*main_, "receive_preset");

    // A click on the digit makes its place the tuning step (the band's own step is locked until then);
    // the wheel away from the user tunes up by it, one step for every second notch. In the upper
    // sideband a higher dial lowers the tone.
    const auto digit = design::readoutDigit(frontpanel::design::kDigit100Hz).pixels();
    screen().click(*main_, digit.centreX(), digit.centreY());
    screen().wheel(*main_, digit.centreX(), digit.centreY(), 2);
    const double stepped =
        static_cast<double>(audioHz(kPresetHz + kStepHz, Sideband::Usb, kStationHz)); // 900 Hz
    expectTone(toneAfterSettling(stepped), stepped, "after one 100 Hz step up");
    photograph(*main_, "receive_stepped");

    click(design::muteSwitch());
    EXPECT_LT(rmsAfterSettling(), kSilenceDb) << "muted";
    click(design::muteSwitch());
    expectTone(toneAfterSettling(stepped), stepped, "unmuted");

    click(design::powerButton(design::kPowerOff));
    EXPECT_LT(rmsAfterSettling(), kSilenceDb) << "powered off";
    click(design::powerButton(design::kPowerOn));
    expectTone(toneAfterSettling(stepped), stepped, "powered on again");

    EXPECT_TRUE(sandbox_.dialogs().empty()) << "a message was shown: " << sandbox_.dialogs().front();
}

} // namespace
} // namespace e2e
