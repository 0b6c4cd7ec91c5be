// Receiving as a user does: a preset of the band used last tunes a station in, the wheel on the readout
// moves it, the mute switch and the power buttons silence it and bring it back, and it stays heard
// without the AGC.
#include <functional>
#include <string>

#include "e2e/EndToEnd.h"
#include "e2e/Gestures.h"
#include "e2e/harness/TestBand.h"
#include "mainwindow/MainWindowDesign.h"

namespace e2e {
namespace {

namespace design = mainwindow::design;

constexpr bool kElektorPanel = false; // model 13 has none
constexpr int64_t kSubBandHz = 7'040'000;
constexpr int64_t kPresetHz = 7'050'000;
constexpr int64_t kAudioHz = 1000;
constexpr int64_t kStepHz = 100;
// The station the preset plays as 1000 Hz.
constexpr int64_t kStationHz = stationHz(kPresetHz, Sideband::Usb, kAudioHz);
static_assert(kSoftRockLoHz - kStationHz < 20'000 && kStationHz - kSoftRockLoHz < 20'000,
              "inside the complex band, clear of its edges");
// After one step up, in the upper sideband, the same station sounds lower.
constexpr int64_t kSteppedAudioHz = audioHz(kPresetHz + kStepHz, Sideband::Usb, kStationHz);
static_assert(kSteppedAudioHz == kAudioHz - kStepHz);

constexpr auto kMeasure = 500ms;

class Receive : public EndToEnd {
protected:
    // The last stretch of "out" heard, once one satisfies the check or the bound has passed.
    Sound heardUntil(const std::function<bool(const ToneReading&)>& check) {
        const auto heard = [&](const Sound& s) { return check(measureTone(s.left)); };
        return listenUntil(servers_->folder(), "out", heard, kMeasure, kSettle);
    }
    // "out" comes to play the tone cleanly at the AGC's level. (A block lost on a busy machine may spoil
    // one stretch, never all.)
    void expectTone(double hz, const std::string& when) {
        const ToneReading r = measureTone(heardUntil([&](const ToneReading& t) {
                                              return isTone(t, hz) && t.levelDb >= kToneLevelLowDb &&
                                                     t.levelDb <= kToneLevelHighDb;
                                          }).left);
        EXPECT_NEAR(r.hz, hz, kToneToleranceHz) << when;
        EXPECT_GE(r.levelDb, kToneLevelLowDb) << when;
        EXPECT_LE(r.levelDb, kToneLevelHighDb) << when;
        EXPECT_LE(r.neighbourDb, r.levelDb - kNeighbourMarginDb) << when;
    }
    void expectSilence(const std::string& when) {
        const auto silent = [](const ToneReading& t) { return t.rmsDb < kSilenceDb; };
        EXPECT_LT(measureTone(heardUntil(silent).left).rmsDb, kSilenceDb) << when;
    }
    void click(const ui::DesignPath& control) { clickControl(screen(), *main_, control); }
};

TEST_F(Receive, APresetTunesAStationInAndTheWheelMuteAndPowerActOnWhatIsHeard) {
    sandbox_.addBandPlan(kTestBandFile, testBandPlan(kSubBandHz, Sideband::Lsb, kPresetHz, Sideband::Usb));
    sandbox_.writeSettings(testBandSettings());
    auto program = start();
    ASSERT_TRUE(main_);
    ASSERT_TRUE(waitForLine(sandbox_.traceFile(), "frmMain:frmMain:Form_Load:End", kBound));
    ASSERT_EQ(traceCount(sandbox_, "frmSupervisor.Initialise:Processing " + kTestBandFile), 1u)
        << "the test's band plan was not read";

    ToneSource station(servers_->folder(), toneOffsetHz(kStationHz));
    click(design::presetButton(0, kElektorPanel));
    expectTone(kAudioHz, "after the preset");
    photograph(*main_, "receive_preset");

    // A click on the digit makes its place the tuning step (the band's own step is locked until then);
    // one notch of the wheel away from the user tunes up by one step.
    const auto digit = design::readoutDigit(frontpanel::design::kDigit100Hz);
    click(digit);
    wheelControl(screen(), *main_, digit, 1);
    expectTone(kSteppedAudioHz, "after one 100 Hz step up");
    photograph(*main_, "receive_stepped");

    click(design::muteSwitch());
    expectSilence("muted");
    click(design::muteSwitch());
    expectTone(kSteppedAudioHz, "unmuted");

    EXPECT_TRUE(clickPower(screen(), *main_, sandbox_, design::kPowerOff));
    expectSilence("powered off");
    EXPECT_TRUE(clickPower(screen(), *main_, sandbox_, design::kPowerOn));
    expectTone(kSteppedAudioHz, "powered on again");

    // Without the AGC no gain is applied: a station in the pass band comes out at the chain's own level,
    // which the output limiter holds at half of full scale.
    click(design::agcSwitch());
    expectTone(kSteppedAudioHz, "with the AGC off");

    EXPECT_TRUE(sandbox_.dialogs().empty()) << "a message was shown: " << sandbox_.dialogs().front();
}

} // namespace
} // namespace e2e
