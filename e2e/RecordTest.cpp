// Recording as a user does: a recording with one tuning step in it is saved under a name of the test's,
// read by an outside WAV reader with its frequency log, loaded again and played with a silent antenna.
#include <algorithm>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "e2e/EndToEnd.h"
#include "e2e/Gestures.h"
#include "e2e/harness/TestBand.h"
#include "mainwindow/MainWindowDesign.h"
#include "recorder/RecorderPanelPorts.h"

namespace e2e {
namespace {

namespace design = mainwindow::design;
namespace transport = recorder::transport;
namespace fs = std::filesystem;

constexpr bool kElektorPanel = false; // model 13 has none
const std::string kPowerClickEnd = "optPwr_click : End";
constexpr int64_t kSubBandHz = 7'040'000;
constexpr int64_t kDialHz = 7'050'000; // the preset's
constexpr int64_t kAudioHz = 1000;
constexpr int64_t kStepHz = 100;
constexpr int64_t kStationHz = stationHz(kDialHz, Sideband::Usb, kAudioHz);
constexpr int64_t kSteppedAudioHz = audioHz(kDialHz + kStepHz, Sideband::Usb, kStationHz);

// How long each tone stands in the recording, at the least.
constexpr auto kStretch = 1300ms;
// The recorder's format, as its settings stand by default: 48 kHz, one channel, 16 bits.
constexpr int kRecordRate = 48000, kRecordChannels = 1, kRecordBits = 16;
// The file holds every 2048-sample block captured between Record and Stop. Up to 16 captured blocks
// (0.68 s) may wait for the program to take them, and the clicks take a moment to be handled: the file
// holds the time between the clicks to within a second.
constexpr int64_t kBlock = 2048;
constexpr double kLengthToleranceS = 1.0;

// What an outside reader, sox, says of a file.
std::string soxi(const std::string& option, const fs::path& file) {
    std::string out;
    EXPECT_EQ(runHelper({"soxi", option, file.string()}, &out), 0) << "soxi " << option << " " << file;
    while (!out.empty() && (out.back() == '\n' || out.back() == '\r' || out.back() == ' '))
        out.pop_back();
    return out;
}

// The tuned frequencies (tenths of a hertz) of the log entries in the recorder's record form: two bytes a
// character, fields "F=", "T=", "S=", "E=" each ended by 0x04, a record ended by a NUL.
std::vector<int64_t> loggedFrequencies(const std::string& bytes) {
    std::string text;
    for (size_t k = 0; k + 1 < bytes.size(); k += 2)
        text += bytes[k];
    std::vector<int64_t> out;
    size_t at = 0;
    while ((at = text.find("F=", at)) != std::string::npos) {
        const size_t end = text.find('\x04', at);
        if (end == std::string::npos) break;
        out.push_back(std::stoll(text.substr(at + 2, end - at - 2)));
        at = end;
    }
    return out;
}

// The journals of the frequency log the recorder keeps beside an undecided recording, wherever in the
// sandbox the recordings go.
std::vector<fs::path> journals(const fs::path& root) {
    std::vector<fs::path> found;
    std::error_code ec; // a file the program removes meanwhile ends nothing
    for (auto it = fs::recursive_directory_iterator(root, ec);
         !ec && it != fs::recursive_directory_iterator(); it.increment(ec))
        if (it->path().extension() == ".frequency-log") found.push_back(it->path());
    return found;
}

class Record : public EndToEnd {
protected:
    void click(const ui::DesignPath& control) { clickControl(screen(), *main_, control); }
    void clickRecorder(int16_t button) { click(design::recorderButton(button, kElektorPanel)); }
    bool waitForDialog(const std::string& line) {
        return waitForLine(sandbox_.root() / "dialogs", line, kBound);
    }
};

TEST_F(Record, ARecordingWithOneStepSavesWithItsLogAndPlaysBothTonesBackInOrder) {
    if (!onPath("soxi")) {
        if (underCi()) FAIL() << "sox is not installed";
        GTEST_SKIP() << "sox is not installed";
    }
    sandbox_.addBandPlan(kTestBandFile, testBandPlan(kSubBandHz, Sideband::Lsb, kDialHz, Sideband::Usb));
    sandbox_.writeSettings(testBandSettings());
    auto program = start();
    ASSERT_TRUE(main_);
    ASSERT_TRUE(waitForLine(sandbox_.traceFile(), "frmMain:frmMain:Form_Load:End", kBound));

    using Clock = std::chrono::steady_clock;
    Clock::time_point recordAt, stopAt;
    {
        ToneSource station(servers_->folder(), toneOffsetHz(kStationHz));
        click(design::presetButton(0, kElektorPanel));
        ASSERT_TRUE(waitForTone(servers_->folder(), kAudioHz)) << "the preset does not play the station";

        clickRecorder(transport::kRecord);
        recordAt = Clock::now();
        std::this_thread::sleep_for(kStretch);
        // The digit clicked sets the step; one notch of the wheel is one step up.
        const auto digit = design::readoutDigit(frontpanel::design::kDigit100Hz);
        click(digit);
        wheelControl(screen(), *main_, digit, 1);
        const auto steppedAt = Clock::now();
        // The recorder takes the blocks before the output's latency: once the new tone is heard, most of
        // its stretch is already recorded.
        EXPECT_TRUE(waitForTone(servers_->folder(), kSteppedAudioHz)) << "the step did not tune";
        std::this_thread::sleep_until(steppedAt + kStretch);
        const size_t powerClicks = traceCount(sandbox_, kPowerClickEnd);
        clickRecorder(transport::kStop);
        stopAt = Clock::now();
        // Stop switches the receiver off; the panel takes no click until it has.
        ASSERT_TRUE(waitForTraceCount(sandbox_, kPowerClickEnd, powerClicks + 1));
    }
    EXPECT_TRUE(waitForSilence(servers_->folder())) << "the receiver still plays after Stop";

    // Until it is saved the log is kept beside the temporary recording, entry by entry, so a crash
    // cannot lose it.
    const std::vector<int64_t> logged{kDialHz * 10, (kDialHz + kStepHz) * 10};
    const auto kept = journals(sandbox_.root());
    ASSERT_EQ(kept.size(), 1u);
    EXPECT_EQ(loggedFrequencies(readFile(kept.front())), logged);

    const fs::path saved = sandbox_.root() / "files" / "two tones.wav";
    sandbox_.answerFileDialog(saved.string());
    clickRecorder(transport::kSave);
    ASSERT_TRUE(waitForDialog("Select Filename to Save Recording\tfile save\t" + saved.string()));
    // The dialog is written down before the file is placed and the journal dropped.
    const auto saveBound = Clock::now() + kBound;
    while ((!fs::exists(saved) || !journals(sandbox_.root()).empty()) && Clock::now() < saveBound)
        std::this_thread::sleep_for(20ms);
    ASSERT_TRUE(fs::exists(saved));
    EXPECT_TRUE(journals(sandbox_.root()).empty()) << "the saved recording's journal is left behind";

    EXPECT_EQ(soxi("-t", saved), "wav");
    EXPECT_EQ(soxi("-r", saved), std::to_string(kRecordRate));
    EXPECT_EQ(soxi("-c", saved), std::to_string(kRecordChannels));
    EXPECT_EQ(soxi("-b", saved), std::to_string(kRecordBits));
    const int64_t samples = std::stoll(soxi("-s", saved));
    const double seconds = static_cast<double>(samples) / kRecordRate;
    const double between = std::chrono::duration<double>(stopAt - recordAt).count();
    EXPECT_NEAR(seconds, between, kLengthToleranceS);
    EXPECT_EQ(samples % kBlock, 0) << "a block was cut";

    // The log follows the samples: a marker, then the entries.
    const std::string bytes = readFile(saved);
    const size_t dataEnd = 44 + static_cast<size_t>(samples) * (kRecordBits / 8);
    ASSERT_GT(bytes.size(), dataEnd + 5);
    EXPECT_EQ(bytes.substr(dataEnd, 5), "Nerix");
    EXPECT_EQ(loggedFrequencies(bytes.substr(dataEnd + 5)), logged);

    sandbox_.answerFileDialog(saved.string());
    clickRecorder(transport::kLoad);
    ASSERT_TRUE(waitForDialog("Select Filename\tfile open\t" + saved.string()));
    photograph(*main_, "record_loaded");

    // The antenna is silent now: what "out" carries is the file.
    clickRecorder(transport::kPlay);
    const Sound heard = recordSink(servers_->folder(), "out",
                                   std::chrono::milliseconds(static_cast<int64_t>(seconds * 1000)) + 2000ms);
    constexpr double kWindow = 0.25, kHop = 0.125;
    std::vector<double> first, second; // the times each tone is heard
    for (double t = 0; t + kWindow <= heard.seconds(); t += kHop) {
        const ToneReading r = measureTone(heard.slice(t, t + kWindow).left);
        if (isTone(r, kAudioHz)) first.push_back(t);
        if (isTone(r, kSteppedAudioHz)) second.push_back(t);
    }
    ASSERT_FALSE(first.empty()) << "the first tone is not played back";
    ASSERT_FALSE(second.empty()) << "the second tone is not played back";
    // Every window of the first tone comes before every window of the second. (Each tone needs only one
    // clean window: on a busy machine the output may play a block of silence now and then.)
    EXPECT_LT(first.back(), second.front()) << "the tones are played back out of order";
    EXPECT_EQ(sandbox_.dialogs().size(), 2u) << "a message was shown";
}

} // namespace
} // namespace e2e
