// The configuration dialog's change of receiver model replaces the VFO while the main window's users of
// it live on: the block drivers and the chain, the display, the shaft encoder and the recorder's frequency
// log. Under the sanitizers, a block, a display frame, an encoder tick and a log entry after the
// replacement show that none of them is left on the released object.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "config/LiveObjects.h"
#include "display/clsSpectrumAnalyser.h"
#include "mainwindow/tests/DriverRig.h"
#include "platform/files/FileSystem.h"
#include "platform/profile/testing/TempFolder.h"
#include "platform/ui/testing/FakePlatformTimers.h"
#include "platform/ui/testing/RecordingPicture.h"
#include "radio/EncoderReadout.h"
#include "radio/modEncoder.h"
#include "recorder/clsWavFile.h"

namespace {

struct Readout final : EncoderReadout {
    std::vector<std::string> shown;
    void Display7Seg(const std::string& digits) override { shown.push_back(digits); }
    void setLabel15Caption(const std::string&) override {}
};

} // namespace

TEST(VfoReplacement, TheDriversTheDisplayTheEncoderAndTheRecorderWorkOnTheNewVfo) {
    rig::DriverRig r(1);
    // The VFO lives in one slot, as the application holds it.
    std::unique_ptr<clsVFO> slot = std::make_unique<clsVFO>(r.store);
    const auto wire = [&](clsVFO& v, int32_t tuned) {
        v.setRXMinFreq(0);
        v.setRxMaxFreq(200'000'000);
        v.setOscType(&r.osc);
        v.setTunedFrequency(tuned);
    };
    wire(*slot, 70'000'000);
    // The receive path reaches the VFO through its tuning port, which asks the slot at each call.
    r.currentVfo = [&] { return slot.get(); };

    RXDefinitions::RxModelTable models;
    modSetupRX::ReceiverSetup setup;
    config::LiveRadio live{
        {r.store, r.state, models, setup, slot, [] { return modSetupRX::RadioObjects{}; }, {}}};
    // The I/Q display's pass band reads the LO side of the VFO.
    clsSpectrumAnalyser analyser(r.store, r.state, r.wrappers, {r.bank.get(), slot.get()});
    ui::testing::RecordingPicture pic0(1024, 300), pic1(1024, 300);
    analyser.picDisplay0(pic0);
    analyser.picDisplay1(pic1);
    analyser.FSampling = 48000;
    analyser.Order = 11;
    analyser.FEnd = 24000;
    analyser.init();
    analyser.setIQMode(true);
    analyser.setMode(display::kModeSpectrum);
    // The display keeps the object itself: it is re-pointed.
    live.onReplaced([&](clsVFO& v) { analyser.setPorts({r.bank.get(), &v}); });

    ui::testing::FakePlatformTimers timers;
    Readout readout;
    const bool encoderOn = true;
    modEncoder::Encoder encoder([&] { return slot.get(); }, timers, readout, encoderOn);
    encoder.setEncoderHwnd(&timers);
    encoder.setEncoderElapse(10);
    encoder.StartEncoderTimer();

    profile::testing::TempFolder folder;
    files::PosixFileSystem disk;
    // The recorder's frequency log reads the same tuning port as the receive path.
    recorder::WavFilePorts ports;
    ports.vfo = &r.tuning;
    auto wav = std::make_unique<recorder::clsWavFile>(r.store, disk, folder.path(), ports);

    r.run(
        [](double t) {
            return std::pair{1000.0 * std::cos(6283.0 * t), 1000.0 * std::sin(6283.0 * t)};
        },
        2);
    live.ReplaceVfo();
    wire(*slot, 71'000'000);

    const auto played = r.engine.left.size();
    r.run(
        [](double t) {
            return std::pair{1000.0 * std::cos(6283.0 * t), 1000.0 * std::sin(6283.0 * t)};
        },
        2);
    EXPECT_EQ(r.engine.left.size(), played + 2);
    const std::vector<float> quiet(2048, 0.0f);
    analyser.LoadSamples_S(quiet, quiet);
    EXPECT_NO_THROW(analyser.Display());
    timers.advance(10);
    ASSERT_FALSE(readout.shown.empty());
    EXPECT_EQ(readout.shown.back(), slot->FormattedTunedFreq());
    wav->TempFileName = folder.path() + "/~NerixWAV.TMP";
    ASSERT_EQ(wav->OpenRecording(), 0);
    EXPECT_EQ(wav->LogRecords().front().TunedFrequency, 71'000'000);
    wav->NewLogRecord(slot->TunedFrequency());
    wav.reset();
    encoder.StopEncoderTimer();
    slot->setOscType(nullptr);
}
