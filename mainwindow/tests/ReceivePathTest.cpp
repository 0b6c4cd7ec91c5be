// The receive path as the program composes it: the sound engine on the simulated sound card captures an
// I/Q station, the path plays its audio and records it, all reaching the VFO in use through the path's
// tuning port.
#include <gtest/gtest.h>

#include <memory>

#include "dsp/NerixDX8.h"
#include "dsp/frmDX8Events.h"
#include "mainwindow/RecorderBlocks.h"
#include "mainwindow/tests/DriverRig.h"
#include "platform/files/FileSystem.h"
#include "platform/profile/testing/TempFolder.h"
#include "platform/sound/testing/SimulatedSoundSystem.h"
#include "recorder/clsWavFile.h"

using namespace rig;

namespace {

struct ProgramPath : StartupParts {
    ProgramPath() {
        presetReceiver(true);
        setMode(DemodMode::USB);
        // Tuned below the oscillator's base: the LO goes to the high side and the stations below it, at
        // positive frequencies of the capture, are received.
        osc.base = 7'000'000;
        vfo.setRXMinFreq(0);
        vfo.setRxMaxFreq(200'000'000);
        vfo.setOscType(&osc);
        vfo.setTunedFrequency(69'000'000);
        sim.captureSource = [](int64_t frame, int32_t channel) {
            const auto [i, q] = station(11000, double(frame) / kFs, 8000);
            return int16_t(std::lround(channel == 0 ? i : q));
        };
        engine.setFSampling(48000);
        engine.setNoChannelsIn(2);
        engine.setNoChannelsOut(2);
        engine.setNoBlocksInBuffer(2);
        engine.setSamplesPerEvent(kN);
        engine.setBitsPerSample(16);
        engine.setInp2OutpBufferRatio(2);
        form.Load();
    }
    // Channel 1 of the last n frames played.
    std::vector<int16_t> lastPlayed(size_t n) const {
        const auto channels = static_cast<size_t>(sim.playedChannels);
        std::vector<int16_t> out;
        for (size_t f = sim.played.size() / channels - n; f < sim.played.size() / channels; ++f)
            out.push_back(sim.played[f * channels]);
        return out;
    }
    profile::MemorySettingsStore store;
    clsVFO vfo{store};
    StubOscillator osc;
    sound::testing::SimulatedSoundSystem sim;
    NerixDX8 engine{sim, wrappers};
    frmDX8Events form{engine};
    profile::testing::TempFolder folder;
    files::PosixFileSystem files;
    recorder::clsWavFile wav{store, files, folder.path()};
};

} // namespace

TEST(ReceivePath, TheProgramsPathPlaysTheStationTheSoundCardCapturesAndRecordsItUnderTheTunedFrequency) {
    ProgramPath p;
    mainwindow::WavFileRecorder recorder(p.wav);
    frontpanel::CurrentVfo tuning([&p] { return &p.vfo; }, frontpanel::CurrentVfo::Absent::ReadsNothing);
    auto path = std::make_unique<Nerix::ReceivePath>(
        p.state, p.wrappers, *p.bank, p.nco, p.profiler,
        Nerix::ReceivePathPorts{.Recorder = &recorder, .Tuning = &tuning}, p.engine);
    p.wav.setPorts({.vfo = path->Ports().Tuning});
    ASSERT_EQ(p.wav.OpenRecording(), 0);
    ASSERT_EQ(p.engine.StartSound(), 0);
    p.sim.advance(24 * kN);

    // An upper-sideband tone 11 kHz below the LO, 1 kHz above the carrier 12 kHz below it, heard at
    // 1 kHz.
    const auto heard = p.lastPlayed(2 * kN);
    EXPECT_NEAR(strongest(heard), 1000.0, 30.0);
    EXPECT_GT(level(heard, 1000), 1000.0);
    // The LO side was decided on the VFO in use, and the recording took the played blocks under its
    // tuned frequency.
    EXPECT_TRUE(p.vfo.HiSideLo());
    EXPECT_FALSE(p.state.IQSelectUpper);
    EXPECT_GT(p.wav.SamplesQueued(), 0);
    ASSERT_FALSE(p.wav.LogRecords().empty());
    EXPECT_EQ(p.wav.LogRecords()[0].TunedFrequency, 69'000'000);
    EXPECT_FALSE(p.state.DspBusy);

    // Once the path is gone the engine runs on without raising its blocks to it.
    p.wav.StopRecording();
    p.wav.setPorts({});
    path.reset();
    const size_t before = p.sim.played.size();
    p.sim.advance(4 * kN);
    EXPECT_GT(p.sim.played.size(), before);
    EXPECT_EQ(p.engine.StopSound(), 0);
}
