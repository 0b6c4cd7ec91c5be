// The sound engine on the real backend, end to end through a private PulseAudio daemon: a 1 kHz I/Q
// tone goes into one null sink, the engine passes it through from that sink's monitor to a second
// sink, and the second sink's monitor must carry the tone at its level.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <algorithm>
#include <chrono>
#include <cmath>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <numbers>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

#include "dsp/NerixDX8.h"
#include "dsp/frmDX8Events.h"
#include "platform/process/testing/ChildProcess.h"
#include "platform/runtime/Hooks.h"
#include "platform/sound/RtAudioSoundSystem.h"

extern char** environ;

namespace {

namespace fs = std::filesystem;

Nerix::Wrappers& vectors() {
    static ReceiverState state;
    static nerixdll::NerixDll nerix{NERIX_TEST_NERIX_LIB};
    static nspdll::NspDll nsp{NERIX_TEST_NSP_LIB};
    static Nerix::Wrappers wrappers{state, nerix, nsp};
    return wrappers;
}
using Clock = std::chrono::steady_clock;
using process::testing::onPath;

constexpr int32_t kRate = 48000;
constexpr double kToneHz = 1000.0;
constexpr double kToneAmplitude = 8000.0;

// Starts a program with its output to a file (or nowhere); returns its pid, or -1.
pid_t spawn(const std::vector<std::string>& args, const std::string& stdoutFile = "/dev/null") {
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, stdoutFile.c_str(),
                                     O_WRONLY | O_CREAT | O_TRUNC, 0644);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    std::vector<char*> argv;
    for (const auto& a : args)
        argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    pid_t pid = -1;
    if (posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), environ) != 0) pid = -1;
    posix_spawn_file_actions_destroy(&actions);
    return pid;
}

// Waits up to the timeout for a child; kills it when it does not end. True when it exited with 0.
bool reap(pid_t pid, std::chrono::milliseconds timeout, int signal = 0) {
    if (pid <= 0) return false;
    if (signal) ::kill(pid, signal);
    const auto deadline = Clock::now() + timeout;
    int status = 0;
    while (Clock::now() < deadline) {
        if (::waitpid(pid, &status, WNOHANG) == pid) return WIFEXITED(status) && WEXITSTATUS(status) == 0;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    ::kill(pid, SIGKILL);
    ::waitpid(pid, &status, 0);
    return false;
}

bool run(const std::vector<std::string>& args) {
    return reap(spawn(args), std::chrono::seconds(5));
}

// Amplitude of the tone in a window, by the Goertzel recurrence.
double goertzelAmplitude(const int16_t* x, size_t n, double hz) {
    const double w = 2.0 * std::numbers::pi * hz / kRate;
    const double coeff = 2.0 * std::cos(w);
    double s1 = 0.0, s2 = 0.0;
    for (size_t i = 0; i < n; ++i) {
        const double s0 = x[i] + coeff * s1 - s2;
        s2 = s1;
        s1 = s0;
    }
    const double power = s1 * s1 + s2 * s2 - coeff * s1 * s2;
    return 2.0 * std::sqrt(std::max(power, 0.0)) / static_cast<double>(n);
}

struct PassThrough final : NerixDX8Listener {
    NerixDX8* engine = nullptr;
    int blocks = 0;
    void DataReady(std::span<int16_t> c1, std::span<int16_t>, int32_t n) override {
        ++blocks;
        engine->Output(c1, c1, n);
    }
    void DataOut(std::span<int16_t>, int32_t, int32_t) override {}
};

// Runs before the private server exists; a machine with a sound card of its own skips it.
TEST(NoSoundDevice, ListsAreEmptyAndPreparingFailsWithTheEnginesMessage) {
    const std::string nowhere = "unix:/nonexistent/nerix-no-server";
    ::setenv("PULSE_SERVER", nowhere.c_str(), 1);
    auto system = sound::createRtAudioSoundSystem();
    if (!system->CaptureDevices().empty() || !system->PlaybackDevices().empty())
        GTEST_SKIP() << "this machine has sound devices of its own";
    std::vector<std::string> messages;
    runtime::ScopedHooks hooks({.msgBox = [&](const std::string& prompt, int32_t, const std::string&) {
        messages.push_back(prompt);
        return runtime::mb::kOk;
    }});
    NerixDX8 engine(*system, vectors());
    frmDX8Events form(engine);
    form.Load();
    std::vector<std::string> names{"stale"};
    EXPECT_EQ(engine.GetPlayDeviceNames(names), -1);
    EXPECT_TRUE(names.empty());
    EXPECT_EQ(engine.GetCapDeviceNames(names), -1);
    EXPECT_NE(engine.StartSound(), 0);
    EXPECT_FALSE(engine.Prepared());
    EXPECT_FALSE(engine.InAction());
    EXPECT_EQ(messages, (std::vector<std::string>{NerixDX8::kMsgNoDevice}));
}

class PrivateSoundServer : public ::testing::Test {
protected:
    void SetUp() override {
        const bool ci = std::getenv("CI") && std::string(std::getenv("CI")) == "true";
        for (const char* tool : {"pulseaudio", "pactl", "pacat", "parec"}) {
            if (onPath(tool)) continue;
            if (ci) FAIL() << tool << " is missing; the test command installs pulseaudio under CI=true";
            GTEST_SKIP() << "PulseAudio is not installed (packages pulseaudio, pulseaudio-utils): "
                            "the end-to-end sound test needs a private PulseAudio daemon";
        }
        char pattern[] = "/tmp/nerix-sound-XXXXXX";
        ASSERT_NE(::mkdtemp(pattern), nullptr);
        dir_ = pattern;
        const std::string socket = dir_ + "/native";
        std::ofstream(dir_ + "/default.pa")
            << "load-module module-native-protocol-unix auth-anonymous=1 socket=" << socket << "\n"
            << "load-module module-null-sink sink_name=nerix_in rate=48000 channels=2 "
               "sink_properties=device.description=NerixIn\n"
            << "load-module module-null-sink sink_name=nerix_out rate=48000 channels=1 "
               "sink_properties=device.description=NerixOut\n";
        std::ofstream(dir_ + "/client.conf") << "autospawn = no\n";
        ::setenv("XDG_RUNTIME_DIR", dir_.c_str(), 1);
        ::setenv("HOME", dir_.c_str(), 1);
        ::setenv("PULSE_SERVER", ("unix:" + socket).c_str(), 1);
        ::setenv("PULSE_CLIENTCONFIG", (dir_ + "/client.conf").c_str(), 1);
        daemon_ = spawn({"pulseaudio", "-n", "-F", dir_ + "/default.pa", "--daemonize=no",
                         "--exit-idle-time=-1", "--use-pid-file=no", "--system=false", "--disallow-exit"});
        bool up = false;
        for (const auto deadline = Clock::now() + std::chrono::seconds(5);
             daemon_ > 0 && Clock::now() < deadline;) {
            if ((up = run({"pactl", "info"}))) break;
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
        if (!up) {
            if (ci) FAIL() << "the private PulseAudio daemon did not start";
            GTEST_SKIP() << "the private PulseAudio daemon did not start";
        }
        ASSERT_TRUE(run({"pactl", "set-default-sink", "nerix_out"}));
        ASSERT_TRUE(run({"pactl", "set-default-source", "nerix_in.monitor"}));
    }

    void TearDown() override {
        for (const pid_t pid : children_)
            reap(pid, std::chrono::seconds(2), SIGTERM);
        if (daemon_ > 0) reap(daemon_, std::chrono::seconds(3), SIGTERM);
        if (!dir_.empty()) fs::remove_all(dir_);
    }

    std::string dir_;
    pid_t daemon_ = -1;
    std::vector<pid_t> children_;
};

size_t indexOf(const std::vector<std::string>& names, const std::string& part) {
    for (size_t i = 0; i < names.size(); ++i)
        if (names[i].find(part) != std::string::npos) return i;
    return 0; // the default device, which the test made the right one
}

TEST_F(PrivateSoundServer, APassThroughHandlerCarriesAToneFromOneSinkToTheOther) {
    // Eight seconds of a 1 kHz I/Q tone: I the cosine, Q the sine.
    {
        std::ofstream tone(dir_ + "/tone.raw", std::ios::binary);
        for (int32_t m = 0; m < 8 * kRate; ++m) {
            const double phase = 2.0 * std::numbers::pi * kToneHz * m / kRate;
            const int16_t iq[2] = {static_cast<int16_t>(std::lround(kToneAmplitude * std::cos(phase))),
                                   static_cast<int16_t>(std::lround(kToneAmplitude * std::sin(phase)))};
            tone.write(reinterpret_cast<const char*>(iq), sizeof iq);
        }
    }
    // A null sink renders its first two seconds at once; both sinks must be past that, with a
    // short latency asked for, before the engine's blocks can flow at their pace.
    const std::string recording = dir_ + "/out.raw";
    const std::string warmup = dir_ + "/in.raw";
    children_.push_back(spawn({"parec", "--device=nerix_out.monitor", "--format=s16le", "--rate=48000",
                               "--channels=1", "--raw", "--latency-msec=20"},
                              recording));
    children_.push_back(spawn({"parec", "--device=nerix_in.monitor", "--format=s16le", "--rate=48000",
                               "--channels=2", "--raw", "--latency-msec=20"},
                              warmup));
    children_.push_back(spawn({"pacat", "--playback", "--device=nerix_in", "--format=s16le", "--rate=48000",
                               "--channels=2", "--raw", "--latency-msec=20", dir_ + "/tone.raw"}));
    const auto flowing = [&] {
        std::error_code ec;
        return fs::file_size(recording, ec) > 0 && fs::file_size(warmup, ec) > 0;
    };
    for (const auto deadline = Clock::now() + std::chrono::seconds(4); !flowing() && Clock::now() < deadline;)
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    ASSERT_TRUE(flowing()) << "the null sinks' monitors never delivered";
    const auto recordedBefore = fs::file_size(recording);

    auto system = sound::createRtAudioSoundSystem();
    NerixDX8 engine(*system, vectors());
    engine.setFSampling(kRate);
    engine.setNoChannelsIn(2);
    engine.setNoChannelsOut(1);
    engine.setNoBlocksInBuffer(2);
    engine.setSamplesPerEvent(2048);
    engine.setBitsPerSample(16);
    engine.setInp2OutpBufferRatio(2);
    frmDX8Events form(engine);
    form.Load();
    PassThrough handler;
    handler.engine = &engine;
    engine.setListener(&handler);

    std::vector<std::string> names;
    ASSERT_GE(engine.GetCapDeviceNames(names), 0) << "the private server lists no capture device";
    engine.setCurrentCaptureDevice(static_cast<int32_t>(indexOf(names, "NerixIn")) + 1);
    ASSERT_GE(engine.GetPlayDeviceNames(names), 0) << "the private server lists no playback device";
    engine.setCurrentPlaybackDevice(static_cast<int32_t>(indexOf(names, "NerixOut")) + 1);

    ASSERT_EQ(engine.StartSound(), 0);
    for (const auto deadline = Clock::now() + std::chrono::milliseconds(2500); Clock::now() < deadline;)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    EXPECT_EQ(engine.StopSound(), 0);
    EXPECT_EQ(engine.ReleaseDevices(), 0);
    EXPECT_GE(handler.blocks, 30) << "about 58 blocks arrive in 2.5 s";

    reap(children_.front(), std::chrono::seconds(2), SIGINT);
    children_.erase(children_.begin());
    std::ifstream in(recording, std::ios::binary);
    in.seekg(static_cast<std::streamoff>(recordedBefore & ~uintmax_t{1}));
    const std::string bytes((std::istreambuf_iterator<char>(in)), {});
    std::vector<int16_t> heard(bytes.size() / 2);
    std::memcpy(heard.data(), bytes.data(), heard.size() * 2);

    // The steady part: 50 ms windows where the tone is on, past its start and before its end.
    constexpr size_t kWindow = kRate / 20;
    std::vector<double> levels;
    for (size_t at = 0; at + kWindow <= heard.size(); at += kWindow)
        levels.push_back(goertzelAmplitude(heard.data() + at, kWindow, kToneHz));
    std::vector<double> on;
    for (double a : levels)
        if (a > kToneAmplitude / 4) on.push_back(a);
    ASSERT_GE(on.size(), 10u) << "the tone must be heard for at least half a second";
    std::sort(on.begin(), on.end());
    const double median = on[on.size() / 2];
    EXPECT_NEAR(20.0 * std::log10(median / kToneAmplitude), 0.0, 1.0) << "median tone amplitude " << median;
}

} // namespace

// The sound server's client library keeps a few allocations until the process ends.
extern "C" const char* __lsan_default_suppressions() {
    return "leak:libpulse.so\n";
}

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    QCoreApplication app(argc, argv);
    return RUN_ALL_TESTS();
}
