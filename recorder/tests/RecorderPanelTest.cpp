// The recorder panel's logic over the real recorder on a temporary folder: the transport actions and their
// enable patterns, the track list, the disk timers, the queued end of playback and the faults the user is
// told of. The widgets are a recording fake; files are checked with sox.
#include "recorder/RecorderPanel.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <random>
#include <unistd.h>

#include "platform/files/testing/FaultyFileSystem.h"
#include "platform/profile/SettingsStore.h"
#include "platform/runtime/Hooks.h"
#include "platform/runtime/RuntimeError.h"
#include "recorder/TrackList.h"
#include "recorder/clsWavFile.h"
#include "recorder/tests/FixedTuning.h"
#include "recorder/tests/WavBytes.h"

namespace {

namespace fs = std::filesystem;
using recorder::testing::le16;
using recorder::testing::le32;
using recorder::testing::soxInfo;
using namespace recorder;

constexpr int32_t kBlock = 2048;
constexpr int32_t kHalf = 4 * kBlock;

// The panel's widgets as the core leaves them.
struct FakeView final : RecorderPanelView {
    RecorderPanel* panel = nullptr;
    int focusMoves = 0;
    EnablePattern enabled{};
    std::map<int16_t, int32_t> faces;
    std::vector<int16_t> focusedButtons;
    std::string fileName = "nerixsdr.wav", recordTime = "00:00:00", recordSize = "000,000,000";
    std::string header;
    std::vector<std::pair<std::string, int32_t>> rows;
    int32_t selection = -1;
    bool panelShown = false;
    int32_t panelBack = 0;
    double panelW = 0, panelH = 0, panelL = 0, panelT = 0;
    double headerWidth = 0, headerHeight = 285, listTop = 0, listWidth = 0, listHeight = 0;
    int32_t headerText = 0;
    std::map<RecorderTimer, int32_t> armed; // interval, 0 when disarmed
    int arms = 0;
    std::vector<std::string> waits, reports;
    std::vector<bool> busyDuringWait;
    std::function<void()> duringWait;

    void focusOffFocusSink() override { ++focusMoves; }
    void setButtonsEnabled(const EnablePattern& p) override { enabled = p; }
    void setButtonFace(int16_t i, int32_t c) override { faces[i] = c; }
    void focusButton(int16_t i) override { focusedButtons.push_back(i); }
    std::string fileNameText() const override { return fileName; }
    void setFileNameText(const std::string& t) override { fileName = t; }
    void setRecordTime(const std::string& c) override { recordTime = c; }
    void setRecordSize(const std::string& c) override { recordSize = c; }
    void setTrackHeader(const std::string& t) override { header = t; }
    void clearTracks() override {
        rows.clear();
        selection = -1;
    }
    void addTrack(const std::string& r, int32_t e) override { rows.emplace_back(r, e); }
    void showTrackSelection(int32_t r) override { selection = r; }
    void showTrackPanel(int32_t b, double w, double h, double l, double t) override {
        panelBack = b, panelW = w, panelH = h, panelL = l, panelT = t;
        panelShown = true;
    }
    double trackPanelScaleWidth() const override { return panelW - 30; }
    void showTrackHeader(double w, int32_t c) override { headerWidth = w, headerText = c; }
    double trackHeaderTop() const override { return 0; }
    double trackHeaderHeight() const override { return headerHeight; }
    void showTrackList(double t, double w, double h) override { listTop = t, listWidth = w, listHeight = h; }
    void hideTrackPanel() override { panelShown = false; }
    void armTimer(RecorderTimer t, int32_t ms) override {
        armed[t] = ms;
        ++arms;
    }
    void disarmTimer(RecorderTimer t) override { armed[t] = 0; }
    void showRecordFileError(const std::string& m) override {
        waits.push_back(m);
        busyDuringWait.push_back(panel->WavCtlsBusy());
        if (duringWait) duringWait();
    }
    void reportRecordFileError(const std::string& m) override { reports.push_back(m); }
};

struct FakePower final : PowerButton {
    std::vector<std::pair<int16_t, bool>> calls;
    std::function<void()> during; // the messages the power's actions pump
    void setPowerChoice(int16_t i, bool s) override {
        calls.emplace_back(i, s);
        if (during) during();
    }
};

struct FakeChoices final : RecordingChoices {
    int32_t rate = -2, colour = 0;
    void SelectRecordSampleRate(int32_t i) override { rate = i; }
    void setCaptionColour(int32_t c) override { colour = c; }
};

struct FakePresets final : PresetFrame {
    int32_t BackColor() const override { return 0x404040; }
    double Left() const override { return 7000; }
    double Top() const override { return 600; }
    double Width() const override { return 5200; }
    double Height() const override { return 2400; }
};

struct Dialogs final : FileDialogService {
    std::deque<std::optional<std::string>> answers;
    std::function<void()> during;
    int opens = 0, saves = 0;
    std::optional<std::string> next() {
        if (during) during();
        if (answers.empty()) return std::nullopt;
        auto a = answers.front();
        answers.pop_front();
        return a;
    }
    std::optional<std::string> ShowOpen(const FileDialogRequest&) override {
        ++opens;
        return next();
    }
    std::optional<std::string> ShowSave(const FileDialogRequest&) override {
        ++saves;
        return next();
    }
};

using Vfo = recorder::testing::FixedTuning;

struct Clock final : RecorderClock {
    double Now() const override { return dateFromParts(2007, 7, 1, 12, 34, 56); }
};

// A WAV file written here from the format, with a frequency log of (kHz x 10000, seconds) tracks; the
// samples count their own position, so a seek shows where it landed.
struct Track {
    int32_t tenthsHz;
    double seconds;
};
void writeWav(const std::string& path, int32_t rate, int bits, const std::vector<Track>& tracks) {
    const int bytes = bits / 8;
    std::string log, data;
    int64_t offset = 44;
    for (const Track& t : tracks) {
        const int64_t n = int64_t(t.seconds * rate + 0.5) * bytes;
        char entry[128];
        std::snprintf(entry, sizeof entry, "F=%010d\4T=2007-07-01 12:34:56\4S=%010lld\4E=%010lld\4",
                      t.tenthsHz, (long long)offset, (long long)(offset + n));
        log += std::string(entry) + '\0';
        offset += n;
    }
    for (int64_t i = 0; i < (offset - 44) / bytes; ++i)
        data += bytes == 2 ? le16(uint16_t(i & 0x7FFF)) : std::string(1, char(0x80));
    std::string wide;
    for (char c : log) {
        wide += c;
        wide += '\0';
    }
    std::ofstream out(path, std::ios::binary);
    out << "RIFF" << le32(uint32_t(36 + data.size())) << "WAVEfmt " << le32(16) << le16(1) << le16(1)
        << le32(uint32_t(rate)) << le32(uint32_t(rate * bytes)) << le16(uint16_t(bytes))
        << le16(uint16_t(bits)) << "data" << le32(uint32_t(data.size())) << data << "Nerix" << wide;
}

class RecorderPanelTest : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() / ("nerix-panel-" + std::to_string(::getpid()) + "-" +
                                            ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(dir_);
        fs::create_directories(dir_);
        make();
    }
    void TearDown() override {
        wav_.reset(); // its close may still report to the panel
        panel_.reset();
        fs::remove_all(dir_);
    }

    void make() {
        wav_.reset();
        panel_.reset();
        wav_ = std::make_unique<clsWavFile>(settings_, faulty_, dir_.string());
        wav_->setName("WavFile");
        wav_->setRecBlockSizeInSamples(kHalf);
        wav_->setPlayBlockSizeInSamples(kHalf);
        RecorderPanel::Ports ports;
        ports.power = &power_;
        ports.choices = &choices_;
        ports.presets = &presets_;
        ports.recordingsFolder = [this] { return dir_.string(); };
        ports.currentDirectory = [] { return std::string("/home/op"); };
        ports.separators = {".", ","};
        panel_ = std::make_unique<RecorderPanel>(*wav_, view_, ports);
        view_.panel = panel_.get();
        WavFilePorts wp;
        wp.listener = panel_.get();
        wp.vfo = &vfo_;
        wp.dialogs = &dialogs_;
        wp.clock = &clock_;
        wav_->setPorts(wp);
    }

    std::string path(const std::string& name) const { return (dir_ / name).string(); }
    void click(int16_t i) { panel_->cmdWavCtls_Click(i); }

    // Sound blocks as the block drivers hand them over, the write timer firing between them.
    void feed(int blocks) {
        std::vector<int16_t> b(kBlock);
        for (int n = 0; n < blocks; ++n) {
            for (auto& s : b)
                s = int16_t(rng_());
            wav_->AddSamples(b, kBlock);
            if (view_.armed[RecorderTimer::Write] > 0) panel_->tmrRecorderWrite_Timer();
        }
    }

    // One sound block played; the read timer fires after it, the queued events when the loop runs.
    std::vector<int16_t> playBlock() {
        std::vector<int16_t> out(kBlock);
        wav_->GetNextSamples(out, int16_t(kBlock));
        if (view_.armed[RecorderTimer::Read] > 0) panel_->tmrPlaybackRead_Timer();
        return out;
    }

    fs::path dir_;
    files::PosixFileSystem real_;
    files::testing::FaultyFileSystem faulty_{real_};
    profile::MemorySettingsStore settings_;
    FakeView view_;
    FakePower power_;
    FakeChoices choices_;
    FakePresets presets_;
    Dialogs dialogs_;
    Vfo vfo_;
    Clock clock_;
    std::mt19937 rng_{7};
    std::unique_ptr<clsWavFile> wav_;
    std::unique_ptr<RecorderPanel> panel_;
};

using namespace patterns;

TEST_F(RecorderPanelTest, TheTransportActionsSetTheirPatternsThroughARecordingAndItsPlayback) {
    runtime::ScopedHooks hooks({});
    panel_->startUp();
    EXPECT_EQ(view_.enabled, kStartUp);

    click(transport::kRecord);
    EXPECT_EQ(view_.enabled, kRecording);
    EXPECT_EQ(wav_->TempFileName, path("~NerixWAV.TMP"));
    EXPECT_EQ(view_.fileName, "");
    EXPECT_EQ(choices_.colour, 0xC0C000);
    feed(15);
    vfo_.f = 70600000; // a retune makes the second track
    wav_->NewLogRecord(vfo_.f);
    feed(15);
    EXPECT_EQ(view_.recordSize, "61,440");

    click(transport::kStop);
    EXPECT_EQ(view_.enabled, kStoppedRecording);
    EXPECT_EQ(power_.calls, (std::vector<std::pair<int16_t, bool>>{{0, false}, {1, true}}));
    EXPECT_TRUE(wav_->IsRecording());

    click(transport::kRecord); // resumes the same recording
    EXPECT_EQ(view_.enabled, kRecording);
    EXPECT_EQ(wav_->PlayerMode(), 1);
    feed(4);

    click(transport::kPlay); // plays the open recording back
    EXPECT_EQ(view_.enabled, kRecording);
    EXPECT_EQ(wav_->PlayerMode(), 5);
    EXPECT_EQ(power_.calls.back(), (std::pair<int16_t, bool>{0, true}));

    click(transport::kPause);
    EXPECT_EQ(view_.faces[transport::kPause], kToggleActiveFace);
    EXPECT_EQ(view_.enabled, kRecording);

    dialogs_.answers = {path("take1")};
    click(transport::kSave);
    EXPECT_EQ(view_.enabled, kLoaded);
    EXPECT_EQ(view_.fileName, "");
    EXPECT_EQ(view_.recordTime, "");
    EXPECT_EQ(view_.recordSize, "");
    EXPECT_EQ(soxInfo(path("take1.wav"), "-s"), std::to_string(34 * kBlock));

    dialogs_.answers = {path("take1.wav")};
    click(transport::kLoad);
    EXPECT_EQ(view_.enabled, kLoaded);
    EXPECT_EQ(view_.fileName, "take1.wav");
    EXPECT_EQ(choices_.rate, 0);
    EXPECT_EQ(view_.header, kTrackHeader);
    ASSERT_EQ(view_.rows.size(), 2u);
    EXPECT_EQ(view_.rows[0].first.substr(0, 6), "  7050");
    EXPECT_EQ(view_.rows[1].first.substr(0, 6), "  7060");
    EXPECT_EQ(view_.selection, 0);
    // The track list covers the preset frame, its heading at the top and the list below it.
    EXPECT_TRUE(view_.panelShown);
    EXPECT_EQ(view_.panelBack, 0x404040);
    EXPECT_EQ(std::tuple(view_.panelL, view_.panelT, view_.panelW, view_.panelH),
              std::tuple(7000.0, 600.0, 5200.0, 2400.0));
    EXPECT_EQ(view_.headerWidth, 5170);
    EXPECT_EQ(view_.headerText, 0x00FFFF);
    EXPECT_DOUBLE_EQ(view_.listTop, 0.7 * 285);
    EXPECT_DOUBLE_EQ(view_.listHeight, 2400 - 0.7 * 285);
    EXPECT_EQ(view_.listWidth, 5170);

    click(transport::kPlay);
    EXPECT_EQ(view_.enabled, kPlayingFile);
    EXPECT_EQ(wav_->PlayerMode(), 2);

    click(transport::kNextTrack);
    EXPECT_EQ(view_.selection, 1);
    click(transport::kNextTrack);
    EXPECT_EQ(view_.selection, 0);
    click(transport::kPreviousTrack);
    EXPECT_EQ(view_.selection, 1);
    EXPECT_EQ(view_.enabled, kPlayingFile);

    click(transport::kLoop);
    EXPECT_TRUE(wav_->Looping);
    EXPECT_EQ(view_.faces[transport::kLoop], kToggleActiveFace);
    click(transport::kLoop);
    EXPECT_EQ(view_.faces[transport::kLoop], kButtonFace);

    click(transport::kClose);
    EXPECT_EQ(view_.enabled, kClosed);
    EXPECT_FALSE(view_.panelShown);
    EXPECT_EQ(choices_.colour, 0xFFFF00);
    EXPECT_EQ(view_.fileName, "");
    EXPECT_EQ(wav_->PlayerMode(), 0);

    // Every click moved the focus first.
    EXPECT_EQ(view_.focusMoves, 14);
    EXPECT_FALSE(panel_->WavCtlsBusy());
}

TEST_F(RecorderPanelTest, AFailedRecordOrCloseKeepsThePatternAndWaitsOnItsMessage) {
    runtime::ScopedHooks hooks({});
    panel_->startUp();
    faulty_.faults.createError = runtime::err::kPermissionDenied;
    click(transport::kRecord);
    EXPECT_EQ(view_.enabled, kStartUp);
    ASSERT_EQ(view_.waits.size(), 1u);
    EXPECT_EQ(view_.waits[0], "Unable to Create Temporary File " + path("~NerixWAV.TMP") +
                                  "\r\n Another application may be using the file\r\n"
                                  "Close the file in the other application");
    EXPECT_EQ(view_.busyDuringWait, std::vector<bool>{true});
    EXPECT_FALSE(panel_->WavCtlsBusy());
    EXPECT_EQ(choices_.colour, 0); // untouched

    faulty_.faults.createError = 0;
    writeWav(path("a.wav"), 48000, 16, {{70500000, 1.0}});
    dialogs_.answers = {path("a.wav")};
    click(transport::kLoad);
    wav_->setRecordFileName("/rec/a.wav");
    faulty_.faults.closeError = runtime::err::kDeviceIo;
    click(transport::kClose);
    ASSERT_EQ(view_.waits.size(), 2u);
    EXPECT_EQ(view_.waits[1], "Unable to Close /rec/a.wav\r\n Another application may be using the file\r\n"
                              "Close the file in the other application");
    EXPECT_EQ(view_.enabled, kLoaded);
    EXPECT_EQ(view_.focusedButtons, std::vector<int16_t>{transport::kPause});
    EXPECT_FALSE(view_.panelShown); // hidden before the close was tried
    EXPECT_EQ(view_.fileName, "a.wav");
}

TEST_F(RecorderPanelTest, AClickWhileADialogOrTheErrorWindowWaitsOnlyMovesTheFocus) {
    runtime::ScopedHooks hooks({});
    panel_->startUp();
    int focusBefore = 0;
    dialogs_.during = [&] {
        focusBefore = view_.focusMoves;
        for (int16_t i : {transport::kRecord, transport::kPlay, transport::kStop, int16_t(10), int16_t(-1)})
            click(i);
    };
    click(transport::kLoad);
    EXPECT_EQ(view_.focusMoves, focusBefore + 5);
    EXPECT_FALSE(wav_->IsRecording());
    EXPECT_TRUE(power_.calls.empty());
    EXPECT_EQ(view_.enabled, kLoaded);

    // The end of a playback that arrives meanwhile is refused too, and stays refused.
    dialogs_.during = nullptr;
    faulty_.faults.createError = runtime::err::kPermissionDenied;
    view_.duringWait = [&] { panel_->WavFile_PlayEnd(); };
    click(transport::kRecord);
    EXPECT_TRUE(power_.calls.empty());
    // Outside any action every index but 0 to 9 runs nothing.
    view_.duringWait = nullptr;
    click(10);
    click(-1);
    EXPECT_FALSE(panel_->WavCtlsBusy());
    EXPECT_EQ(view_.enabled, kLoaded);
}

// While an action pumps messages (the power's Off and On, the file dialogs) every button shows disabled,
// so a click then meets a disabled button rather than an enabled one that ignores it; the action's
// pattern shows once it has ended.
TEST_F(RecorderPanelTest, TheButtonsShowDisabledWhileAnActionRunsAndItsPatternAfter) {
    runtime::ScopedHooks hooks({});
    panel_->startUp();
    click(transport::kRecord);
    feed(4);
    std::vector<EnablePattern> meanwhile;
    const auto clickSaveMeanwhile = [&] {
        meanwhile.push_back(view_.enabled);
        click(transport::kSave);
    };
    power_.during = clickSaveMeanwhile;
    dialogs_.during = clickSaveMeanwhile;
    const struct Case {
        int16_t button;
        EnablePattern after;
    } cases[] = {{transport::kStop, kStoppedRecording},
                 {transport::kSave, kLoaded},
                 {transport::kLoad, kLoaded},
                 {transport::kPlay, kPlayingFile},
                 {transport::kStop, kStopped}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.button);
        meanwhile.clear();
        const int saves = dialogs_.saves;
        dialogs_.answers = {path("take")};
        if (c.button == transport::kLoad) dialogs_.answers = {path("take.wav")};
        click(c.button);
        ASSERT_FALSE(meanwhile.empty());
        for (const EnablePattern& shown : meanwhile)
            EXPECT_EQ(shown, kNone);
        EXPECT_EQ(view_.enabled, c.after);
        EXPECT_EQ(dialogs_.saves, saves + (c.button == transport::kSave)) << "a click meanwhile ran";
    }
}

TEST_F(RecorderPanelTest, CloseOfAnUnsavedRecordingAsksAndSavesOrDiscardsAsAnswered) {
    struct Case {
        int32_t answer;
        bool saved;
    };
    for (const Case c : {Case{runtime::mb::kYes, true}, Case{runtime::mb::kNo, false}}) {
        std::vector<std::tuple<std::string, int32_t, std::string>> asked;
        runtime::ScopedHooks hooks({.msgBox = [&](const std::string& p, int32_t b, const std::string& t) {
            asked.emplace_back(p, b, t);
            return c.answer;
        }});
        click(transport::kRecord);
        feed(9);
        dialogs_.answers = {path("kept.wav")};
        click(transport::kClose);
        ASSERT_EQ(asked.size(), 1u);
        EXPECT_EQ(asked[0],
                  std::make_tuple(std::string("Current Recording Not Saved\r\nDo you want to Save it ?"),
                                  runtime::mb::kYesNo, std::string("NerixSDR")));
        EXPECT_EQ(fs::exists(path("kept.wav")), c.saved);
        EXPECT_EQ(dialogs_.saves, c.saved ? 1 : 0);
        // Either way the recording is decided: nothing marks it for recovery.
        EXPECT_EQ(settings_.GetSetting("NerixSDR", "WavFile", kUnsavedRecordingKey, "x"), "");
        EXPECT_EQ(view_.enabled, kClosed);
        fs::remove(path("kept.wav"));
        dialogs_.saves = 0;
    }
}

TEST(FormatHms, HoursMinutesAndWholeSecondsPastNinetyNineHours) {
    const std::vector<std::pair<float, std::string>> cases = {
        {0, "00:00:00"},      {59.99f, "00:00:59"},  {164, "00:02:44"},
        {5400, "01:30:00"},   {36000, "10:00:00"},   {129600, "36:00:00"},
        {359999, "99:59:59"}, {360000, "100:00:00"}, {3600.0f * 1000, "1000:00:00"},
    };
    for (const auto& [s, text] : cases)
        EXPECT_EQ(FormatHms(s), text) << s;
}

TEST_F(RecorderPanelTest, TrackRowsShowTheLogWithDurationsInTheFilesOwnSampleWidth) {
    // 3000 Hz keeps the 164 s track small; the 0.4 s track gets no row, the 0.5 s one rounds up.
    writeWav(path("log.wav"), 3000, 16, {{70500000, 164}, {70510000, 0.4}, {-70520000, 0.5}});
    dialogs_.answers = {path("log.wav")};
    click(transport::kLoad);
    EXPECT_EQ(view_.header, " F(KHz)   Date      Time   Duration");
    ASSERT_EQ(view_.rows.size(), 2u);
    EXPECT_EQ(view_.rows[0], std::make_pair(std::string("  7050 2007-07-01 12:34:56 00:02:44"), 0));
    EXPECT_EQ(view_.rows[1], std::make_pair(std::string("  7052 2007-07-01 12:34:56 00:00:01"), 2));
    EXPECT_EQ(choices_.rate, 4);

    // An 8-bit file's three seconds are three seconds, not one and a half.
    writeWav(path("eight.wav"), 48000, 8, {{70500000, 3}});
    dialogs_.answers = {path("eight.wav")};
    click(transport::kLoad);
    ASSERT_EQ(view_.rows.size(), 1u);
    EXPECT_EQ(view_.rows[0].first.substr(27), "00:00:03");

    // A rate no choice has selects none; a file without a log says so.
    writeWav(path("none.wav"), 44100, 16, {});
    dialogs_.answers = {path("none.wav")};
    click(transport::kLoad);
    EXPECT_TRUE(view_.rows.empty());
    EXPECT_EQ(view_.header, "No Track Information Found");
    EXPECT_EQ(choices_.rate, -1);
}

TEST_F(RecorderPanelTest, AShortMiddleTrackKeepsPicksAndPlaybackOnTheirOwnEntries) {
    writeWav(path("three.wav"), 48000, 16, {{70500000, 1}, {70600000, 0.2}, {70700000, 1}});
    dialogs_.answers = {path("three.wav")};
    click(transport::kLoad);
    ASSERT_EQ(panel_->ListCount(), 2);
    EXPECT_EQ(panel_->entryOfRow(1), 2);
    click(transport::kPlay);
    playBlock();

    // The pick of the second row seeks to the third entry's first sample.
    const int32_t thirdStart = wav_->LogRecords()[2].Start;
    panel_->userPicksTrack(1);
    const std::vector<int16_t> played = playBlock();
    EXPECT_EQ(played[0], int16_t(((thirdStart - 44) / 2) & 0x7FFF));

    // Following playback: a position inside the third entry selects its row; on the boundary shared by
    // the first two entries the earlier one's row is chosen, and no seek follows a selection so made.
    panel_->WavFile_DiskRead(wav_->LogRecords()[0].End);
    EXPECT_EQ(view_.selection, 0);
    panel_->WavFile_DiskRead(thirdStart + 100);
    EXPECT_EQ(view_.selection, 1);
    EXPECT_FALSE(panel_->TrackSelectLock());
    const std::vector<int16_t> next = playBlock();
    EXPECT_EQ(next[0], int16_t(played[0] + kBlock));
}

TEST_F(RecorderPanelTest, NextAndPreviousGoRoundAndDoNothingOnAnEmptyList) {
    click(transport::kNextTrack);
    click(transport::kPreviousTrack);
    EXPECT_EQ(view_.selection, -1);
    writeWav(path("three.wav"), 48000, 16, {{70500000, 1}, {70600000, 1}, {70700000, 1}});
    dialogs_.answers = {path("three.wav")};
    click(transport::kLoad);
    panel_->userPicksTrack(2);
    click(transport::kNextTrack);
    EXPECT_EQ(view_.selection, 0);
    click(transport::kPreviousTrack);
    EXPECT_EQ(view_.selection, 2);
}

TEST_F(RecorderPanelTest, SizeLabelGroupsThousandsByTheUsersLocale) {
    struct Case {
        const char* locale;
        const char* size;
    };
    const std::string before = std::setlocale(LC_ALL, nullptr);
    for (const Case c : {Case{"C.UTF-8", "64,800,000"}, Case{"de_DE.UTF-8", "64.800.000"}}) {
        if (!std::setlocale(LC_ALL, c.locale)) GTEST_SKIP() << c.locale << " is not installed";
        RecorderPanel::Ports ports;
        ports.separators = NumberFormat::userSeparators();
        RecorderPanel panel(*wav_, view_, ports);
        wav_->setWavSamplingRate(12000);
        panel.WavFile_SamplesPlayed(0, 64800000);
        EXPECT_EQ(view_.recordSize, c.size);
        EXPECT_EQ(view_.recordTime, "01:30:00");
    }
    std::setlocale(LC_ALL, before.c_str());
}

TEST_F(RecorderPanelTest, EachDiskTimerRunsOnceAnArmingAndNeverNested) {
    click(transport::kRecord);
    std::vector<int16_t> b(kBlock, 1);
    for (int i = 0; i < 4; ++i)
        wav_->AddSamples(b, kBlock);
    EXPECT_EQ(view_.armed[RecorderTimer::Write], 2);
    // Paused: the timer fires and disarms, nothing is written.
    click(transport::kPause);
    const auto sizeBefore = fs::file_size(path("~NerixWAV.TMP"));
    panel_->tmrRecorderWrite_Timer();
    EXPECT_EQ(view_.armed[RecorderTimer::Write], 0);
    EXPECT_EQ(fs::file_size(path("~NerixWAV.TMP")), sizeBefore);
    // The resume arms it again for the waiting half; a tick inside the write is refused.
    click(transport::kPause);
    EXPECT_EQ(view_.armed[RecorderTimer::Write], 2);
    int nested = 0;
    faulty_.faults.duringWrite = [&] {
        ++nested;
        view_.armed[RecorderTimer::Write] = 2;
        panel_->tmrRecorderWrite_Timer();
    };
    panel_->tmrRecorderWrite_Timer();
    EXPECT_GE(nested, 1);
    EXPECT_EQ(view_.armed[RecorderTimer::Write], 2); // the nested tick did not disarm it
    EXPECT_EQ(fs::file_size(path("~NerixWAV.TMP")), sizeBefore + 2 * kHalf);
    faulty_.faults.duringWrite = nullptr;

    panel_->WavFile_ReadNextBlockFromDisk();
    EXPECT_EQ(view_.armed[RecorderTimer::Read], 4);
    panel_->tmrPlaybackRead_Timer();
    EXPECT_EQ(view_.armed[RecorderTimer::Read], 0);
    panel_->stopTimers();
}

TEST_F(RecorderPanelTest, TheEndOfPlaybackRunsAfterTheSoundBlockAndStopsOrLoops) {
    writeWav(path("short.wav"), 48000, 16, {{70500000, 0.5}});
    dialogs_.answers = {path("short.wav")};
    click(transport::kLoad);
    click(transport::kPlay);
    power_.calls.clear();
    int blocks = 0;
    while (!wav_->PlayEnd && blocks < 100) {
        playBlock();
        ++blocks;
    }
    ASSERT_TRUE(wav_->PlayEnd);
    // Raised inside the block; nothing ran there.
    EXPECT_TRUE(power_.calls.empty());
    EXPECT_EQ(view_.enabled, kPlayingFile);
    EXPECT_EQ(panel_->deferredEvents().drain(), 1u);
    EXPECT_EQ(power_.calls, (std::vector<std::pair<int16_t, bool>>{{0, false}, {1, true}}));
    EXPECT_EQ(view_.enabled, kStopped);
    EXPECT_EQ(wav_->NumSamples(), 0);

    // Looping: the next pass plays the file again from its first sample.
    click(transport::kLoop);
    click(transport::kPlay);
    while (!wav_->PlayEnd)
        playBlock();
    panel_->deferredEvents().drain();
    EXPECT_EQ(wav_->PlayerMode(), 2);
    EXPECT_EQ(view_.selection, 0);
    EXPECT_EQ(playBlock()[0], 0);
    EXPECT_EQ(playBlock()[0], kBlock);
}

TEST_F(RecorderPanelTest, ADiskFullRecordingIsReportedOnceAndStillSavesAValidFile) {
    runtime::ScopedHooks hooks({});
    click(transport::kRecord);
    faulty_.faults.failWritesAtByte = 44 + 2 * 2 * kHalf + 100;
    feed(30);
    EXPECT_TRUE(view_.reports.empty()); // not from inside the sound path
    panel_->deferredEvents().drain();
    feed(5);
    panel_->deferredEvents().drain();
    ASSERT_EQ(view_.reports.size(), 1u);
    EXPECT_EQ(view_.reports[0], "Recording stopped: unable to write " + path("~NerixWAV.TMP") + "\r\n" +
                                    files::describeError(files::err::kDiskFull));
    EXPECT_EQ(view_.enabled, kRecording); // Save and Close still act on it
    faulty_.faults.failWritesAtByte = std::numeric_limits<int64_t>::max();
    dialogs_.answers = {path("full.wav")};
    click(transport::kSave);
    EXPECT_EQ(soxInfo(path("full.wav"), "-s"), std::to_string(2 * kHalf));
}

TEST(RecorderFaultMessages, EachFaultHasItsText) {
    EXPECT_EQ(messages::recordingFault(RecorderFault::FileLimit, 0, "/t"),
              "Recording stopped: the recording file has reached its largest size");
    EXPECT_EQ(messages::recordingFault(RecorderFault::SamplesDropped, 0, "/t"),
              "Samples were lost: the disk could not keep up");
    EXPECT_EQ(messages::recordingFault(RecorderFault::TrailerNotWritten, 61, "/t/~NerixWAV.TMP"),
              "The frequency log could not be written to /t/~NerixWAV.TMP");
}

TEST_F(RecorderPanelTest, ARecordingLeftUnsavedIsNamedOnceAtTheNextStartUp) {
    click(transport::kRecord);
    feed(9);
    make(); // the program ends with the recording undecided and starts again
    wav_->init();
    panel_->startUp();
    ASSERT_EQ(view_.reports.size(), 1u);
    const std::string prefix = "An unsaved recording was kept as " + path("recovered_2007-07-01_12-34-56");
    EXPECT_EQ(view_.reports[0].substr(0, prefix.size()), prefix);
    EXPECT_TRUE(fs::exists(view_.reports[0].substr(33)));
    EXPECT_TRUE(wav_->RecoveredFileName.empty());
    panel_->startUp();
    EXPECT_EQ(view_.reports.size(), 1u);
}

TEST_F(RecorderPanelTest, ALoadThatCannotOpenClearsTheListAndSaysWhy) {
    runtime::ScopedHooks hooks({});
    writeWav(path("good.wav"), 48000, 16, {{70500000, 1}});
    dialogs_.answers = {path("good.wav")};
    click(transport::kLoad);
    ASSERT_EQ(view_.rows.size(), 1u);

    std::ofstream(path("text.wav")) << "not a sound file at all, and longer than a header would be......";
    struct Case {
        std::string file;
        std::string reason;
    };
    for (const Case& c : {Case{path("text.wav"), ""}, Case{path("missing.wav"), files::describeError(53)}}) {
        view_.reports.clear();
        dialogs_.answers = {c.file};
        click(transport::kLoad);
        EXPECT_TRUE(view_.rows.empty());
        EXPECT_EQ(view_.header, "No Track Information Found");
        ASSERT_EQ(view_.reports.size(), 1u);
        const std::string start = "Unable to open " + c.file + "\r\n";
        EXPECT_EQ(view_.reports[0].substr(0, start.size()), start);
        EXPECT_GT(view_.reports[0].size(), start.size());
        if (!c.reason.empty()) {
            EXPECT_EQ(view_.reports[0], start + c.reason);
        }
        EXPECT_EQ(view_.enabled, kLoaded);
        EXPECT_TRUE(view_.panelShown);
        EXPECT_EQ(view_.fileName, fs::path(c.file).filename().string());
    }
}

TEST_F(RecorderPanelTest, TheFileNameBoxJoinsItsTextToTheLastFolder) {
    struct Case {
        std::string recordFileName, text, joined;
    };
    for (const Case& c : {Case{"/rec/old.wav", "new.wav", "/rec/new.wav"},
                          Case{"", "new.wav", "/home/op/new.wav"}, Case{"old.wav", "new.wav", "new.wav"}}) {
        wav_->setRecordFileName(c.recordFileName);
        view_.fileName = c.text;
        panel_->txtRecordFileName_LostFocus();
        EXPECT_EQ(wav_->RecordFileName(), c.joined);
    }
}

} // namespace
