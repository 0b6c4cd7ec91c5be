// A recording the user neither saved nor discarded survives a crash with its frequency log, whether or not
// the settings file can keep the marker; read back by sox and by a trailer reader written from the format.
#include "recorder/clsWavFile.h"

#include "platform/files/testing/FaultyFileSystem.h"
#include "platform/profile/FileSettingsStore.h"
#include "platform/profile/testing/TempFolder.h"
#include "platform/runtime/Hooks.h"
#include "platform/runtime/RuntimeError.h"
#include "recorder/tests/FixedTuning.h"
#include "recorder/tests/WavBytes.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <optional>
#include <poll.h>
#include <random>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;
using recorder::clsWavFile;
using recorder::testing::soxSamples;

constexpr int32_t kBlock = 2048;
constexpr int32_t kHalf = 4 * kBlock;
constexpr int32_t kBlockBytes = kBlock * 2;
constexpr int32_t kF0 = 70500000, kF1 = 70502000, kF2 = 70504000;
// The tuned frequency moves after these many blocks; the recording then holds nine.
constexpr int kFirstRetune = 3, kSecondRetune = 9;
constexpr char kSettingsText[] = "[WavFile]\r\nDecimator=1\r\n";

using Vfo = recorder::testing::FixedTuning;

struct Clock : recorder::RecorderClock {
    double Now() const override { return recorder::dateFromParts(2026, 12, 10, 13, 5, 9); }
};

struct Dialogs : recorder::FileDialogService {
    std::optional<std::string> answer;
    std::optional<std::string> ShowOpen(const recorder::FileDialogRequest&) override { return answer; }
    std::optional<std::string> ShowSave(const recorder::FileDialogRequest&) override { return answer; }
};

struct Entry {
    int64_t f = 0, start = 0, end = 0;
    std::string time;
    bool operator==(const Entry&) const = default;
};

std::ostream& operator<<(std::ostream& o, const Entry& e) {
    return o << "{F=" << e.f << " T=" << e.time << " S=" << e.start << " E=" << e.end << "}";
}

// The trailer as the format lays it out: the marker right after the counted samples, then characters
// of two bytes (code, zero), fields ended by code 4, records by code 0. Nothing when it is not there.
std::optional<std::vector<Entry>> readTrailer(const std::string& path) {
    const std::string file = profile::testing::TempFolder::readFile(path);
    if (file.size() < 44) return std::nullopt;
    uint32_t dataSize = 0;
    for (int i = 3; i >= 0; --i)
        dataSize = dataSize << 8 | uint8_t(file[40 + std::size_t(i)]);
    const std::size_t at = 44 + std::size_t(dataSize);
    if (file.compare(at, 5, "Nerix") != 0) return std::nullopt;
    std::vector<Entry> entries;
    Entry e;
    std::string field;
    for (std::size_t i = at + 5; i < file.size(); i += 2) {
        if (i + 1 >= file.size() || file[i + 1] != '\0') return std::nullopt;
        const char c = file[i];
        if (c == '\4') {
            const std::string value = field.substr(2);
            if (field.rfind("F=", 0) == 0) e.f = std::stoll(value);
            if (field.rfind("S=", 0) == 0) e.start = std::stoll(value);
            if (field.rfind("E=", 0) == 0) e.end = std::stoll(value);
            if (field.rfind("T=", 0) == 0) e.time = value;
            field.clear();
        } else if (c == '\0') {
            entries.push_back(e);
            e = Entry{};
        } else {
            field += c;
        }
    }
    return entries;
}

// How the recording ends before the next Record.
enum class Ending {
    Killed,              // SIGKILL while recording
    CountNotWritten,     // dies after a half reached the file, before the header counted it
    ExitWithoutDecision, // the recorder is destroyed at exit: closed with its trailer, still unsaved
    TornTrailer,         // dies while the trailer is being written at the close
};

struct Crash {
    const char* name;
    Ending ending;
    bool settingsReadOnly;
    int blocksKept;  // the samples a reader finds in the recovered file
    int entriesMade; // log entries made before the end
};

void PrintTo(const Crash& c, std::ostream* os) {
    *os << c.name;
}

class RecoveryTest : public ::testing::TestWithParam<Crash> {
protected:
    void SetUp() override {
        settingsFile_ = folder_.write("config/NerixSDR/NerixSDR.ini", kSettingsText);
        fs::create_directories(folder_.file("rec"));
        temp_ = folder_.file("rec/~NerixWAV.TMP");
    }

    void makeSettingsReadOnly() const { ASSERT_EQ(::chmod(settingsFile_.c_str(), 0444), 0); }

    std::unique_ptr<clsWavFile> makeRecorder(profile::SettingsStore& settings) {
        recorder::WavFilePorts ports;
        ports.vfo = &vfo_;
        ports.clock = &clock_;
        ports.dialogs = &dialogs_;
        auto w = std::make_unique<clsWavFile>(settings, faulty_, folder_.path(), ports);
        w->setName("WavFile");
        w->setRecBlockSizeInSamples(kHalf);
        w->TempFileName = temp_;
        return w;
    }

    std::vector<int16_t> block() {
        std::vector<int16_t> b(kBlock);
        for (auto& s : b)
            s = int16_t(rng_());
        return b;
    }

    void feed(clsWavFile& wav, int blocks) {
        for (int i = 0; i < blocks; ++i) {
            wav.AddSamples(block(), kBlock);
            while (wav.BufferFull())
                wav.WriteToDisk();
        }
    }

    // What the recording's first `blocks` blocks hold: the same seeded draws the recorder got.
    static std::vector<int16_t> samples(int blocks) {
        std::mt19937 rng(99);
        std::vector<int16_t> out;
        for (int i = 0; i < blocks * kBlock; ++i)
            out.push_back(int16_t(rng()));
        return out;
    }

    // Entries at the retunes, each ending where the next starts; an entry made after the last sample
    // that reached the file points at its end.
    static std::vector<Entry> expectedLog(int blocksKept, int entriesMade) {
        const int64_t dataEnd = 44 + int64_t(blocksKept) * kBlockBytes;
        const std::vector<std::pair<int32_t, int>> made = {
            {kF0, 0}, {kF1, kFirstRetune}, {kF2, kSecondRetune}};
        std::vector<Entry> out;
        for (int i = 0; i < entriesMade; ++i)
            out.push_back({made[std::size_t(i)].first,
                           std::min(dataEnd, 44 + int64_t(made[std::size_t(i)].second) * kBlockBytes),
                           dataEnd, "2026-12-10 13:05:09"});
        for (std::size_t i = 0; i + 1 < out.size(); ++i)
            out[i].end = out[i + 1].start;
        return out;
    }

    // Runs in the child: records with two retunes and ends as the case says, never returning.
    [[noreturn]] void recordAndEnd(Ending ending, int signalFd) {
        profile::FileSettingsStore settings(folder_.file("config"));
        auto wav = makeRecorder(settings);
        if (wav->OpenRecording() != 0) ::_exit(2);
        if (ending == Ending::CountNotWritten) {
            // The write after the second half's samples is its count in the header.
            faulty_.faults.duringWrite = [this] {
                if (fs::file_size(temp_) >= 44 + 2 * std::uintmax_t(kHalf) * 2) ::_exit(0);
            };
        }
        feed(*wav, kFirstRetune);
        vfo_.f = kF1;
        wav->NewLogRecord(vfo_.f);
        feed(*wav, kSecondRetune - kFirstRetune);
        vfo_.f = kF2;
        wav->NewLogRecord(vfo_.f);
        if (ending == Ending::TornTrailer) {
            faulty_.faults.failWritesAtByte = 44 + int64_t(kSecondRetune) * kBlockBytes + 30;
            faulty_.faults.truncateError = 5;
        }
        if (ending == Ending::Killed) {
            const char ready = 'k';
            (void)!::write(signalFd, &ready, 1);
            for (;;)
                ::pause();
        }
        wav.reset();
        ::_exit(0);
    }

    profile::testing::TempFolder folder_;
    std::string settingsFile_, temp_;
    files::PosixFileSystem real_;
    files::testing::FaultyFileSystem faulty_{real_};
    Vfo vfo_{kF0};
    Clock clock_;
    Dialogs dialogs_;
    std::mt19937 rng_{99};
};

TEST_P(RecoveryTest, TheNextRecordMovesTheCrashedRecordingAsideWithItsFrequencyLog) {
    const Crash c = GetParam();
    if (c.settingsReadOnly) makeSettingsReadOnly();

    int fds[2];
    ASSERT_EQ(::pipe(fds), 0);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        ::close(fds[0]);
        recordAndEnd(c.ending, fds[1]);
    }
    ::close(fds[1]);
    // Ready, or the pipe closed by the child's end; bounded in case the child hangs.
    pollfd p{fds[0], POLLIN, 0};
    ASSERT_EQ(::poll(&p, 1, 60000), 1);
    ::kill(child, SIGKILL);
    int status = 0;
    ::waitpid(child, &status, 0);
    ::close(fds[0]);
    if (c.ending != Ending::Killed) {
        ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
    }
    ASSERT_TRUE(fs::exists(temp_));

    profile::FileSettingsStore settings(folder_.file("config"));
    auto wav = makeRecorder(settings);
    vfo_.f = kF0;
    ASSERT_EQ(wav->OpenRecording(), 0);
    const std::string recovered = wav->RecoveredFileName;
    ASSERT_EQ(recovered, folder_.file("rec/recovered_2026-12-10_13-05-09.wav"));
    EXPECT_EQ(soxSamples(recovered), samples(c.blocksKept));
    const std::optional<std::vector<Entry>> log = readTrailer(recovered);
    ASSERT_TRUE(log.has_value()) << "the recovered file carries the trailer";
    EXPECT_EQ(*log, expectedLog(c.blocksKept, c.entriesMade));

    // The new recording runs in the temporary file, its own log beside it.
    EXPECT_TRUE(wav->IsRecording());
    EXPECT_EQ(fs::file_size(recorder::LogJournal::pathFor(temp_)), std::uintmax_t(recorder::kRecordBytes));
    if (c.settingsReadOnly) {
        EXPECT_EQ(folder_.read("config/NerixSDR/NerixSDR.ini"), kSettingsText)
            << "a read-only file is never written";
    }
}

INSTANTIATE_TEST_SUITE_P(
    Crashes, RecoveryTest,
    ::testing::Values(Crash{"KilledReadOnlySettings", Ending::Killed, true, 8, 3},
                      Crash{"KilledWritableSettings", Ending::Killed, false, 8, 3},
                      Crash{"CountNotWrittenReadOnlySettings", Ending::CountNotWritten, true, 8, 2},
                      Crash{"ExitWithoutDecisionReadOnlySettings", Ending::ExitWithoutDecision, true, 9, 3},
                      Crash{"TornTrailerWritableSettings", Ending::TornTrailer, false, 9, 3}),
    [](const ::testing::TestParamInfo<Crash>& info) { return std::string(info.param.name); });

// After the user's decision the journal is gone, so with a settings file that keeps nothing the next
// run's Record replaces the temporary file instead of recovering it.
TEST_F(RecoveryTest, ASavedOrDiscardedRecordingIsNotRecoveredAfterARestart) {
    makeSettingsReadOnly();
    const std::string journal = recorder::LogJournal::pathFor(temp_);
    {
        profile::FileSettingsStore settings(folder_.file("config"));
        auto wav = makeRecorder(settings);
        ASSERT_EQ(wav->OpenRecording(), 0);
        feed(*wav, 5);
        dialogs_.answer = folder_.file("rec/kept.wav");
        wav->Save();
        EXPECT_EQ(wav->StatusOfMedia(), recorder::MediaStatus::RecordingSaved);
        EXPECT_FALSE(fs::exists(journal)) << "saved";
        EXPECT_EQ(readTrailer(folder_.file("rec/kept.wav"))->size(), 1u);

        ASSERT_EQ(wav->OpenRecording(), 0);
        feed(*wav, 5);
        wav->CloseRecording();
        wav->DiscardRecording();
        EXPECT_FALSE(fs::exists(journal)) << "discarded";
    }
    profile::FileSettingsStore settings(folder_.file("config"));
    auto wav = makeRecorder(settings);
    wav->init();
    ASSERT_EQ(wav->OpenRecording(), 0);
    EXPECT_EQ(wav->RecoveredFileName, "");
    EXPECT_EQ(std::distance(fs::directory_iterator(folder_.file("rec")), fs::directory_iterator{}), 3)
        << "kept.wav, the new recording and its journal";
}

// Completing the recording is the first step of moving it aside; when it fails, the Record fails and
// the recording and its journal wait for the next one.
TEST_F(RecoveryTest, ARecoveryThatCannotWriteLosesNothingAndTheNextRecordFinishesIt) {
    makeSettingsReadOnly();
    {
        profile::FileSettingsStore settings(folder_.file("config"));
        auto wav = makeRecorder(settings);
        ASSERT_EQ(wav->OpenRecording(), 0);
        feed(*wav, kFirstRetune);
        vfo_.f = kF1;
        wav->NewLogRecord(vfo_.f);
        feed(*wav, kSecondRetune - kFirstRetune);
        vfo_.f = kF2;
        wav->NewLogRecord(vfo_.f);
    } // exit without a decision
    profile::FileSettingsStore settings(folder_.file("config"));
    auto wav = makeRecorder(settings);
    faulty_.faults.failWritesAtByte = 40; // the header's data size cannot be written
    EXPECT_EQ(wav->OpenRecording(), files::err::kDiskFull);
    EXPECT_EQ(wav->RecoveredFileName, "");
    EXPECT_FALSE(wav->IsRecording());
    EXPECT_TRUE(fs::exists(recorder::LogJournal::pathFor(temp_)));

    faulty_.faults.failWritesAtByte = INT64_MAX;
    ASSERT_EQ(wav->OpenRecording(), 0);
    EXPECT_EQ(soxSamples(wav->RecoveredFileName), samples(kSecondRetune));
    EXPECT_EQ(readTrailer(wav->RecoveredFileName), expectedLog(kSecondRetune, 3));
}

// With neither the journal nor the marker a crash would leave the recording to be deleted: it does not
// start. With the marker kept, it starts and says that its log is not journaled.
TEST_F(RecoveryTest, ARecordingNothingCanMarkDoesNotStart) {
    fs::create_directories(recorder::LogJournal::pathFor(temp_)); // no file can be created there
    std::vector<std::string> trace;
    runtime::ScopedHooks hooks({.addLog = [&](const std::string& l) { trace.push_back(l); }});
    for (const bool readOnly : {true, false}) {
        SCOPED_TRACE(readOnly);
        if (readOnly)
            makeSettingsReadOnly();
        else
            ASSERT_EQ(::chmod(settingsFile_.c_str(), 0644), 0);
        trace.clear();
        profile::FileSettingsStore settings(folder_.file("config"));
        auto wav = makeRecorder(settings);
        const int32_t rc = wav->OpenRecording();
        if (readOnly) {
            EXPECT_EQ(rc, runtime::err::kPathFileAccess);
            EXPECT_FALSE(wav->IsRecording());
            EXPECT_FALSE(fs::exists(temp_));
        } else {
            EXPECT_EQ(rc, 0);
            EXPECT_TRUE(wav->IsRecording());
            EXPECT_TRUE(std::any_of(trace.begin(), trace.end(), [](const std::string& l) {
                return l.find("frequency log journal") != std::string::npos;
            }));
            wav->CloseRecording();
            wav->DiscardRecording();
        }
    }
}

} // namespace
