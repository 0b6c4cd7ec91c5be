// The recorder and player engine: file format checked by an independent WAV reader, faults, playback.
#include "recorder/clsWavFile.h"

#include "platform/files/testing/FaultyFileSystem.h"
#include "platform/runtime/Hooks.h"
#include "platform/runtime/RuntimeError.h"
#include "recorder/tests/FixedTuning.h"
#include "recorder/tests/WavBytes.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;
using recorder::clsWavFile;
using recorder::RecorderFault;
using recorder::testing::le16;
using recorder::testing::le32;
using recorder::testing::soxInfo;
using recorder::testing::soxSamples;

constexpr int32_t kBlock = 2048;
constexpr int32_t kHalf = 4 * kBlock; // small halves keep the files small

struct Events : recorder::WavFileListener {
    int writes = 0, reads = 0, playEnds = 0, catalogues = -1, samplesPlayed = 0;
    std::vector<int32_t> diskReads;
    std::vector<std::pair<RecorderFault, int32_t>> faults;
    clsWavFile* restartOnEnd = nullptr;
    void WriteNextBlockToDisk() override { ++writes; }
    void ReadNextBlockFromDisk() override { ++reads; }
    void PlayEnd() override { ++playEnds; }
    void CatalogueLoaded(int32_t n) override { catalogues = n; }
    void DiskRead(int32_t p) override { diskReads.push_back(p); }
    void SamplesPlayed(int32_t, int32_t) override { ++samplesPlayed; }
    void RecordingFault(RecorderFault f, int32_t e) override { faults.emplace_back(f, e); }
};

using Vfo = recorder::testing::FixedTuning;

struct Dialogs : recorder::FileDialogService {
    std::optional<std::string> answer;
    recorder::FileDialogRequest last;
    int saves = 0;
    std::optional<std::string> ShowOpen(const recorder::FileDialogRequest& r) override {
        last = r;
        return answer;
    }
    std::optional<std::string> ShowSave(const recorder::FileDialogRequest& r) override {
        last = r;
        ++saves;
        return answer;
    }
};

struct Clock : recorder::RecorderClock {
    double Now() const override { return recorder::dateFromParts(2026, 12, 10, 13, 5, 9); }
};

struct RateChoice : recorder::RecordSampleRateChoice {
    int32_t index = -2;
    void SelectRecordSampleRate(int32_t i) override { index = i; }
};

std::string slurp(const std::string& p) {
    std::ifstream in(p, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

class WavFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        // A parameterised test's name holds "/", which would make the folder a nested one and leave its
        // parent behind.
        std::string name = ::testing::UnitTest::GetInstance()->current_test_info()->name();
        std::replace(name.begin(), name.end(), '/', '_');
        dir_ = fs::temp_directory_path() / ("nerix-rec-" + std::to_string(::getpid()) + "-" + name);
        fs::remove_all(dir_);
        fs::create_directories(dir_);
        wav_ = makeRecorder();
    }
    void TearDown() override {
        wav_.reset();
        fs::remove_all(dir_);
    }

    std::unique_ptr<clsWavFile> makeRecorder() {
        recorder::WavFilePorts ports;
        ports.listener = &events_;
        ports.vfo = &vfo_;
        ports.dialogs = &dialogs_;
        ports.clock = &clock_;
        ports.rateChoice = &rate_;
        auto w = std::make_unique<clsWavFile>(settings_, faulty_, dir_.string(), ports);
        w->setName("WavFile");
        w->setRecBlockSizeInSamples(kHalf);
        return w;
    }

    std::string path(const std::string& name) const { return (dir_ / name).string(); }

    // Seeded blocks; every sample drawn is kept for comparison.
    std::vector<int16_t> draw() {
        std::vector<int16_t> block(kBlock);
        for (auto& s : block)
            s = int16_t(rng_());
        captured_.insert(captured_.end(), block.begin(), block.end());
        return block;
    }

    void feed(int blocks) {
        for (int b = 0; b < blocks; ++b) {
            const std::vector<int16_t> block = draw();
            ASSERT_EQ(wav_->AddSamples(block, kBlock), 0);
            while (wav_->BufferFull())
                ASSERT_EQ(wav_->WriteToDisk(), 0);
        }
    }

    std::vector<int16_t> expected(int32_t D, int bits = 16) const {
        std::vector<int16_t> out;
        for (std::size_t i = 0; i < captured_.size(); i += std::size_t(D))
            out.push_back(bits == 8 ? int16_t((captured_[i] >> 8) * 256) : captured_[i]);
        return out;
    }

    std::string saveAs(const std::string& name) {
        dialogs_.answer = path(name);
        wav_->Save();
        return path(name);
    }

    fs::path dir_;
    files::PosixFileSystem real_;
    files::testing::FaultyFileSystem faulty_{real_};
    profile::MemorySettingsStore settings_;
    Events events_;
    Vfo vfo_;
    Dialogs dialogs_;
    Clock clock_;
    RateChoice rate_;
    std::mt19937 rng_{1234};
    std::vector<int16_t> captured_;
    std::unique_ptr<clsWavFile> wav_;
};

std::string wide(const std::string& text) {
    std::string s;
    for (char c : text) {
        s += c;
        s += '\0';
    }
    return s;
}

TEST_F(WavFileTest, GoldenRecordingIsByteExactAndReadsInSox) {
    wav_->TempFileName = path("~NerixWAV.TMP");
    ASSERT_EQ(wav_->OpenRecording(), 0);
    feed(5);
    vfo_.f = 70501000;
    wav_->NewLogRecord(vfo_.f);
    feed(2); // closing writes the three blocks still in the half being filled
    const std::string saved = saveAs("take1");
    EXPECT_EQ(saved + ".wav", path("take1.wav"));
    const std::string file = slurp(path("take1.wav"));
    const uint32_t dataBytes = 7 * kBlock * 2;

    std::string header = "RIFF" + le32(36 + dataBytes) + "WAVEfmt " + le32(16) + std::string("\1\0\1\0", 4) +
                         le32(48000) + le32(96000) + std::string("\2\0\x10\0", 4) + "data" + le32(dataBytes);
    ASSERT_GE(file.size(), 44u);
    EXPECT_EQ(file.substr(0, 44), header);
    const std::string log =
        wide(std::string("F=0070500000\4T=2026-12-10 13:05:09\4S=0000000044\4E=0000020524\4") + '\0' +
             "F=0070501000\4T=2026-12-10 13:05:09\4S=0000020524\4E=0000028716\4" + '\0');
    EXPECT_EQ(file.substr(44 + dataBytes), "Nerix" + log);

    EXPECT_EQ(soxInfo(path("take1.wav"), "-r"), "48000");
    EXPECT_EQ(soxSamples(path("take1.wav")), captured_);
    EXPECT_EQ(wav_->StatusOfMedia(), recorder::MediaStatus::RecordingSaved);
    EXPECT_EQ(settings_.GetSetting("NerixSDR", "WavFile", recorder::kUnsavedRecordingKey, "x"), "");
}

struct RoundTrip {
    int32_t D;
    int bits;
    int retunes;
};

class WavFileRoundTrip : public WavFileTest, public ::testing::WithParamInterface<RoundTrip> {};

TEST_P(WavFileRoundTrip, SoxAndThePlayerReadBackEverySampleAndTrack) {
    const RoundTrip c = GetParam();
    wav_->setDecimator(c.D);
    wav_->setBitsPerSample(c.bits);
    wav_->TempFileName = path("~NerixWAV.TMP");
    ASSERT_EQ(wav_->OpenRecording(), 0);
    for (int r = 0; r < c.retunes; ++r) {
        feed(3);
        vfo_.f += 2000;
        wav_->NewLogRecord(vfo_.f);
    }
    feed(6);
    saveAs("rt.wav");
    EXPECT_EQ(soxInfo(path("rt.wav"), "-r"), std::to_string(48000 / c.D));
    EXPECT_EQ(soxInfo(path("rt.wav"), "-b"), std::to_string(c.bits));
    const std::vector<int16_t> want = expected(c.D, c.bits);
    EXPECT_EQ(soxSamples(path("rt.wav")), want);

    wav_->setFileName(path("rt.wav"));
    const int32_t size = wav_->OpenFile();
    EXPECT_EQ(size, int32_t(fs::file_size(path("rt.wav"))));
    ASSERT_EQ(events_.catalogues, c.retunes + 1);
    const auto& log = wav_->LogRecords();
    ASSERT_EQ(log.size(), std::size_t(c.retunes + 2));
    EXPECT_EQ(log[0].Start, 44);
    EXPECT_EQ(log[std::size_t(c.retunes)].End, 44 + int32_t(want.size()) * c.bits / 8);
    EXPECT_EQ(rate_.index, -2) << "OpenFile leaves the rate buttons alone";

    ASSERT_GT(wav_->Play(), 0);
    std::vector<int16_t> played;
    std::vector<int16_t> block(kBlock);
    for (int guard = 0; guard < 1000 && wav_->PlayerMode() == 2; ++guard) {
        wav_->GetNextSamples(block, kBlock);
        for (int k = 0; k < kBlock; ++k) {
            if (k % c.D == 0)
                played.push_back(block[std::size_t(k)]);
            else
                ASSERT_EQ(block[std::size_t(k)], 0) << "zero-stuffed position " << k;
        }
        if (events_.reads > 0) {
            wav_->ReadFromDisk();
            events_.reads = 0;
        }
    }
    EXPECT_EQ(events_.playEnds, 1);
    ASSERT_GE(played.size(), want.size());
    EXPECT_TRUE(std::equal(want.begin(), want.end(), played.begin()));
    EXPECT_TRUE(std::all_of(played.begin() + std::ptrdiff_t(want.size()), played.end(), [](int16_t s) {
        return s == 0;
    })) << "the trailer is never played";
}

INSTANTIATE_TEST_SUITE_P(Decimators, WavFileRoundTrip,
                         ::testing::Values(RoundTrip{1, 16, 0}, RoundTrip{2, 16, 1}, RoundTrip{4, 16, 3},
                                           RoundTrip{8, 16, 2}, RoundTrip{16, 16, 5}, RoundTrip{1, 8, 2},
                                           RoundTrip{4, 8, 1}));

TEST_F(WavFileTest, StatusCodesOfTheEngine) {
    std::vector<int16_t> block(kBlock);
    EXPECT_EQ(wav_->AddSamples(block, kBlock), recorder::status::kAddNotRecording);
    EXPECT_EQ(wav_->WriteToDisk(), recorder::status::kNotRecording);
    EXPECT_EQ(wav_->CloseRecording(), recorder::status::kNothingOpen);
    EXPECT_EQ(wav_->ClosePlayback(), recorder::status::kNothingOpen);
    EXPECT_EQ(wav_->GetNextSamples(block, kBlock), recorder::status::kWrongMode);
    wav_->TempFileName = path("t.tmp");
    ASSERT_EQ(wav_->OpenRecording(), 0);
    EXPECT_EQ(wav_->OpenRecording(), recorder::status::kRecordingOpen);
    EXPECT_EQ(wav_->WriteToDisk(), recorder::status::kNoFullHalf);
    wav_->Pause();
    EXPECT_EQ(wav_->AddSamples(block, kBlock), recorder::status::kWrongMode);
    EXPECT_EQ(wav_->WriteToDisk(), recorder::status::kPaused);
    wav_->Pause();
    EXPECT_EQ(wav_->PlayerMode(), 1);
    wav_->StopPlayer();
    EXPECT_EQ(wav_->AddSamples(block, kBlock), recorder::status::kWrongMode);
    EXPECT_EQ(wav_->SamplesQueued(), 0) << "a refused block changes no counter";
}

TEST_F(WavFileTest, HalfFullAtAPauseAndOverrunsAreNeverLostSilently) {
    wav_->TempFileName = path("t.tmp");
    ASSERT_EQ(wav_->OpenRecording(), 0);
    std::vector<int16_t> block(kBlock, 7);
    for (int i = 0; i < 4; ++i)
        wav_->AddSamples(block, kBlock);
    EXPECT_TRUE(wav_->BufferFull());
    wav_->Pause();
    EXPECT_EQ(wav_->WriteToDisk(), recorder::status::kPaused);
    const int writesBefore = events_.writes;
    wav_->Pause();
    EXPECT_EQ(events_.writes, writesBefore + 1) << "resuming asks for the waiting half to be written";
    for (int i = 0; i < 5; ++i) // the second half fills too, then a block finds no room
        wav_->AddSamples(block, kBlock);
    EXPECT_EQ(wav_->DroppedSamples(), kBlock);
    ASSERT_EQ(events_.faults.size(), 1u);
    EXPECT_EQ(events_.faults[0].first, RecorderFault::SamplesDropped);
    EXPECT_EQ(wav_->WriteToDisk(), 0);
    EXPECT_EQ(wav_->NumSamples(), 2 * kHalf) << "both waiting halves are written";
}

TEST_F(WavFileTest, DiskFullStopsTheRecordingAndKeepsAValidFile) {
    wav_->TempFileName = path("t.tmp");
    ASSERT_EQ(wav_->OpenRecording(), 0);
    feed(4);
    faulty_.faults.failWritesAtByte = 44 + kHalf * 2 + 1000; // the second half lands only in part
    std::vector<int16_t> block(kBlock, 1);
    for (int i = 0; i < 4; ++i)
        wav_->AddSamples(block, kBlock);
    EXPECT_EQ(wav_->WriteToDisk(), files::err::kDiskFull);
    EXPECT_FALSE(wav_->IsRecording());
    EXPECT_EQ(wav_->PlayerMode(), 4);
    EXPECT_EQ(wav_->StatusOfMedia(), recorder::MediaStatus::RecordingUnsaved);
    ASSERT_EQ(events_.faults.size(), 1u);
    EXPECT_EQ(events_.faults[0], std::make_pair(RecorderFault::WriteFailed, files::err::kDiskFull));
    EXPECT_EQ(wav_->AddSamples(block, kBlock), recorder::status::kAddNotRecording);
    wav_->setIsRecording(true);
    EXPECT_FALSE(wav_->IsRecording()) << "Record does not resume into a stopped file";
    EXPECT_EQ(fs::file_size(path("t.tmp")), std::uintmax_t(44 + kHalf * 2))
        << "cut back to the last whole half";
    EXPECT_EQ(soxSamples(path("t.tmp")), captured_);

    faulty_.faults.failWritesAtByte = INT64_MAX;
    saveAs("full.wav");
    EXPECT_EQ(soxSamples(path("full.wav")), captured_);
    EXPECT_EQ(wav_->StatusOfMedia(), recorder::MediaStatus::RecordingSaved);
}

TEST_F(WavFileTest, FailedTrailerIsReportedAndSaveStillPlacesTheFile) {
    wav_->TempFileName = path("t.tmp");
    ASSERT_EQ(wav_->OpenRecording(), 0);
    feed(2);
    faulty_.faults.failWritesAtByte = 44 + 2 * kBlock * 2 + 3;
    saveAs("t.wav");
    ASSERT_FALSE(events_.faults.empty());
    EXPECT_EQ(events_.faults.back().first, RecorderFault::TrailerNotWritten);
    EXPECT_EQ(soxSamples(path("t.wav")), captured_);
    EXPECT_EQ(fs::file_size(path("t.wav")), std::uintmax_t(44 + 2 * kBlock * 2)) << "no half-written trailer";
}

TEST_F(WavFileTest, CloseFailureIsShownAndTheNextSaveGoesStraightToTheName) {
    std::vector<std::string> messages;
    runtime::ScopedHooks hooks({.msgBox = [&](const std::string& p, int32_t, const std::string&) {
        messages.push_back(p);
        return 1;
    }});
    wav_->TempFileName = path("t.tmp");
    ASSERT_EQ(wav_->OpenRecording(), 0);
    feed(1);
    faulty_.faults.closeError = 57;
    saveAs("a.wav");
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0], "Unable to close temporary file " + path("t.tmp") +
                               "\n Please report this problem to Nerix\n Error Code=57");
    EXPECT_EQ(wav_->StatusOfMedia(), recorder::MediaStatus::RecordingUnsaved);
    faulty_.faults.closeError = 0;
    dialogs_.answer.reset(); // cancelled
    wav_->Save();
    EXPECT_EQ(messages.size(), 1u) << "a closed recording is not closed again";
    EXPECT_EQ(wav_->StatusOfMedia(), recorder::MediaStatus::RecordingUnsaved);
    wav_->setIsRecording(true);
    EXPECT_FALSE(wav_->IsRecording()) << "Record never resumes into a closed file";
    saveAs("b.wav");
    EXPECT_EQ(wav_->StatusOfMedia(), recorder::MediaStatus::RecordingSaved);
    EXPECT_EQ(soxSamples(path("b.wav")), captured_);
}

// A close that fails leaves the recording running without its file; its next half is a failed write.
TEST_F(WavFileTest, AFailedCloseStopsTheRecordingAtItsNextHalfInsteadOfWritingNowhere) {
    wav_->TempFileName = path("t.tmp");
    ASSERT_EQ(wav_->OpenRecording(), 0);
    feed(1);
    faulty_.faults.closeError = 57;
    EXPECT_EQ(wav_->CloseFile(), 57);
    faulty_.faults.closeError = 0;
    ASSERT_TRUE(wav_->IsRecording());
    const std::vector<int16_t> block(kBlock, 1);
    for (int i = 0; i < kHalf / kBlock; ++i)
        ASSERT_EQ(wav_->AddSamples(block, kBlock), 0);
    ASSERT_TRUE(wav_->BufferFull());
    EXPECT_EQ(wav_->WriteToDisk(), runtime::err::kBadFileName);
    EXPECT_FALSE(wav_->IsRecording());
    EXPECT_EQ(wav_->PlayerMode(), 4);
    ASSERT_EQ(events_.faults.size(), 1u);
    EXPECT_EQ(events_.faults[0], std::make_pair(RecorderFault::WriteFailed, runtime::err::kBadFileName));
    EXPECT_EQ(wav_->AddSamples(block, kBlock), recorder::status::kAddNotRecording);
}

TEST_F(WavFileTest, SavingOverAnExistingFileReplacesIt) {
    std::ofstream(path("old.wav")) << "old";
    wav_->TempFileName = path("t.tmp");
    ASSERT_EQ(wav_->OpenRecording(), 0);
    feed(1);
    saveAs("old.wav");
    EXPECT_EQ(soxSamples(path("old.wav")), captured_);
    EXPECT_FALSE(fs::exists(path("t.tmp")));
    EXPECT_EQ(wav_->LastDirectory, dir_.string());
    EXPECT_EQ(dialogs_.last.DialogTitle, "Select Filename to Save Recording");
}

TEST_F(WavFileTest, SaveNamesGetTheExtensionCaseSensitively) {
    for (const auto& [typed, stored] : std::vector<std::pair<std::string, std::string>>{
             {"take1", "take1.wav"}, {"take2.wav", "take2.wav"}, {"TAKE3.WAV", "TAKE3.WAV.wav"}}) {
        wav_->TempFileName = path("t.tmp");
        ASSERT_EQ(wav_->OpenRecording(), 0);
        saveAs(typed);
        EXPECT_TRUE(fs::exists(path(stored))) << typed;
    }
}

TEST_F(WavFileTest, PlayingBackTheOpenRecordingKeepsEverySampleForTheSave) {
    wav_->TempFileName = path("t.tmp");
    ASSERT_EQ(wav_->OpenRecording(), 0);
    feed(8);
    ASSERT_GT(wav_->RecordPlayback(), 0);
    wav_->PlayRecording();
    EXPECT_EQ(rate_.index, 0);
    std::vector<int16_t> block(kBlock);
    std::vector<int16_t> played;
    for (int i = 0; i < 6 && wav_->PlayerMode() == 5; ++i) {
        wav_->GetNextSamples(block, kBlock);
        played.insert(played.end(), block.begin(), block.end());
    }
    EXPECT_TRUE(std::equal(played.begin(), played.begin() + 4 * kBlock, captured_.begin()));
    // Resume as the Record button does, then save.
    wav_->setIsRecording(true);
    wav_->setPlayerMode(1);
    EXPECT_EQ(wav_->NumSamples(), 8 * kBlock) << "the recording's own count";
    vfo_.f += 5000;
    wav_->NewLogRecord(vfo_.f);
    feed(3);
    saveAs("pb.wav");
    EXPECT_EQ(soxSamples(path("pb.wav")), captured_);
    wav_->setFileName(path("pb.wav"));
    wav_->OpenFile();
    ASSERT_EQ(wav_->NumberOfTracks(), 2);
    EXPECT_EQ(wav_->LogRecords()[1].Start, 44 + 8 * kBlock * 2);
    EXPECT_EQ(wav_->LogRecords()[1].End, 44 + 11 * kBlock * 2);
}

TEST_F(WavFileTest, SeekPlaysTheTrackAndCountsItsOffsetInSamples) {
    wav_->setDecimator(4);
    wav_->TempFileName = path("t.tmp");
    ASSERT_EQ(wav_->OpenRecording(), 0);
    feed(8);
    vfo_.f += 5000;
    wav_->NewLogRecord(vfo_.f);
    feed(8);
    saveAs("s.wav");
    wav_->setFileName(path("s.wav"));
    ASSERT_GT(wav_->OpenFile(), 0) << events_.catalogues;
    wav_->Play();
    ASSERT_EQ(wav_->NumberOfTracks(), 2)
        << events_.catalogues << " " << wav_->TrailerPosition() << " " << wav_->LogRecords().size();
    ASSERT_EQ(wav_->PlayerMode(), 2);
    wav_->PlayFrom(99);
    wav_->PlayFrom(-1);
    wav_->PlayFrom(1);
    EXPECT_EQ(wav_->NumSamples(), 8 * kBlock / 4);
    std::vector<int16_t> block(kBlock);
    wav_->GetNextSamples(block, kBlock);
    const std::vector<int16_t> want = expected(4);
    for (int k = 0; k < kBlock / 4; ++k)
        ASSERT_EQ(block[std::size_t(k) * 4], want[std::size_t(8 * kBlock / 4 + k)]);
}

// A header of our own layout with chosen fields, then `payload`.
std::string makeFile(int32_t rate, int32_t bits, int32_t dataSize, const std::string& payload) {
    std::string h = "RIFF" + le32(36) + "WAVEfmt " + le32(16) + std::string("\1\0\1\0", 4) +
                    le32(uint32_t(rate)) + le32(uint32_t(rate * 2)) + std::string("\2\0", 2) +
                    std::string(1, char(bits)) + std::string(1, '\0') + "data" + le32(uint32_t(dataSize));
    return h + payload;
}

struct Hostile {
    const char* name;
    std::string contents;
    int32_t error; // 0: opens
    int32_t tracks;
    const char* says = ""; // what the refusal's description tells the user
};

TEST_F(WavFileTest, HostileFilesGiveAClearErrorOrASafeReading) {
    const std::string samples(4000, '\x11');
    const std::string goodLog =
        wide(std::string("F=0070500000\4T=2026-12-10 13:05:09\4S=0000000044\4E=0000004044\4") + '\0');
    const std::vector<Hostile> cases = {
        {"rate zero", makeFile(0, 16, 2000, samples), 11, 0,
         "The file's sample rate of 0 Hz cannot be played"},
        {"rate above capture", makeFile(96000, 16, 2000, samples), 11, 0,
         "The file's sample rate of 96000 Hz cannot be played"},
        {"rate with a factor of three", makeFile(16000, 16, 2000, samples), 321, 0, "Invalid file format"},
        {"short header", std::string(10, 'x'), 11, 0,
         "The file is too short to hold a WAV header (10 bytes)"},
        {"empty", "", 11, 0, "The file is empty"},
        {"text, no header", std::string(100, 'x'), 11, 0, "The file has no WAV header"},
        {"44100 plays at factor one", makeFile(44100, 16, 2000, samples), 0, 0},
        {"negative data size", makeFile(48000, 16, -5, samples), 0, 0},
        {"huge data size", makeFile(48000, 16, 0x7fffffff, samples), 0, 0},
        {"data size zero, marker absent", makeFile(48000, 16, 0, samples), 0, 0},
        {"good trailer", makeFile(48000, 16, 4000, samples + "Nerix" + goodLog), 0, 1},
        {"marker only", makeFile(48000, 16, 4000, samples + "Nerix"), 0, 0},
        {"garbage values",
         makeFile(48000, 16, 4000,
                  samples + "Nerix" + wide(std::string("F=zz\4S=-99999999999\4E=\4T=bad\4") + '\0')),
         0, 1},
        {"offsets beyond the data",
         makeFile(48000, 16, 4000, samples + "Nerix" + wide(std::string("S=2000000000\4E=-5\4") + '\0')), 0,
         1},
        {"original 8-bit header over 16-bit samples", makeFile(48000, 8, 2000, samples + "Nerix" + goodLog),
         0, 1},
        {"many empty records are capped",
         makeFile(48000, 16, 4000, samples + "Nerix" + std::string(200000, '\0')), 0, 32767},
    };
    for (const Hostile& c : cases) {
        SCOPED_TRACE(c.name);
        std::ofstream(path("h.wav"), std::ios::binary | std::ios::trunc) << c.contents;
        wav_->setFileName(path("h.wav"));
        int32_t error = 0;
        try {
            wav_->OpenFile();
        } catch (const runtime::RuntimeError& e) {
            error = e.Number();
            EXPECT_EQ(e.Description(), c.says);
        }
        EXPECT_EQ(error, c.error);
        if (error != 0) {
            EXPECT_EQ(wav_->PlayerMode(), 0) << "a refused file leaves the recorder closed";
            EXPECT_TRUE(wav_->IsClosed());
            continue;
        }
        EXPECT_EQ(wav_->NumberOfTracks(), c.tracks);
        for (const auto& r : wav_->LogRecords()) {
            EXPECT_GE(r.Start, 0);
            EXPECT_LE(r.End, int32_t(c.contents.size()));
        }
        wav_->Play();
        std::vector<int16_t> block(kBlock);
        for (int i = 0; i < 40 && wav_->PlayerMode() == 2; ++i) {
            wav_->GetNextSamples(block, kBlock);
            wav_->ReadFromDisk();
            for (int16_t s : block)
                ASSERT_TRUE(s == 0 || s == 0x1111) << "only sample bytes are played";
        }
        EXPECT_NE(wav_->PlayerMode(), 2) << "playback ends";
    }
}

// A file past the 32-bit positions of the format (sparse here) is refused before anything is read.
TEST_F(WavFileTest, AFileOver2GiBIsRefusedSayingSo) {
    { std::ofstream(path("big.wav"), std::ios::binary) << makeFile(48000, 16, 2000, ""); }
    fs::resize_file(path("big.wav"), std::uintmax_t(INT32_MAX) + 1);
    wav_->setFileName(path("big.wav"));
    try {
        wav_->OpenFile();
        FAIL() << "opened";
    } catch (const runtime::RuntimeError& e) {
        EXPECT_EQ(e.Number(), recorder::kInvalidFileFormat);
        EXPECT_EQ(e.Description(), "The file is larger than 2 GiB, the largest size a recording can have");
    }
    EXPECT_TRUE(wav_->IsClosed());
    EXPECT_EQ(wav_->PlayerMode(), 0);
}

TEST_F(WavFileTest, SettingsAreValidatedKeyByKey) {
    const std::vector<std::pair<const char*, const char*>> stored = {{"RecBlockSizeInSamples", "1000"},
                                                                     {"SamplingRate", "44100"},
                                                                     {"BitsPerSample", "8"},
                                                                     {"NumChannels", "2"},
                                                                     {"Decimator", "3"},
                                                                     {"LastDirectory", "/rec"}};
    for (const auto& [key, value] : stored)
        settings_.SaveSetting("NerixSDR", "WavFile", key, value);
    wav_->init();
    EXPECT_EQ(wav_->RecBlockSizeInSamples(), kHalf);
    EXPECT_EQ(wav_->SamplingRate(), 48000);
    EXPECT_EQ(wav_->BitsPerSample(), 8);
    EXPECT_EQ(wav_->NumChannels(), 1);
    EXPECT_EQ(wav_->Decimator(), 1);
    EXPECT_EQ(wav_->WavSamplingRate(), 48000);
    EXPECT_EQ(wav_->LastDirectory, "/rec");
    settings_.SaveSetting("NerixSDR", "WavFile", "Decimator", "8");
    wav_->init();
    EXPECT_EQ(wav_->WavSamplingRate(), 6000);
    wav_.reset();
    EXPECT_EQ(settings_.GetSetting("NerixSDR", "WavFile", "WavSamplingRate"), "6000");
    EXPECT_GE(settings_.commits(), 1);
}

TEST_F(WavFileTest, LogEntriesFollowTheTunedFrequency) {
    wav_->setDecimator(4);
    wav_->TempFileName = path("t.tmp");
    ASSERT_EQ(wav_->OpenRecording(), 0);
    feed(2);
    for (int32_t move : {999, -999, 1000}) {
        int32_t f = wav_->LastTunedFrequency + move;
        wav_->NewLogRecord(f);
    }
    EXPECT_EQ(wav_->LogCount(), 2);
    EXPECT_EQ(wav_->LogRecords()[1].Start, 44 + 2 * kBlock / 4 * 2);
    EXPECT_EQ(wav_->LogRecords()[0].End, wav_->LogRecords()[1].Start);
}

// A child process records; the parent sees what it leaves behind.
TEST_F(WavFileTest, KilledRecordingLeavesAReadableFileThatTheNextRecordRecovers) {
    wav_->TempFileName = path("t.tmp");
    int pipeFds[2];
    ASSERT_EQ(::pipe(pipeFds), 0);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        ::close(pipeFds[0]);
        if (wav_->OpenRecording() != 0) ::_exit(1);
        feed(9);
        char ok = 'k';
        (void)!::write(pipeFds[1], &ok, 1);
        for (;;)
            ::pause();
    }
    ::close(pipeFds[1]);
    char ok = 0;
    ASSERT_EQ(::read(pipeFds[0], &ok, 1), 1);
    ::close(pipeFds[0]);
    ::kill(child, SIGKILL);
    int status = 0;
    ::waitpid(child, &status, 0);
    for (int b = 0; b < 9; ++b)
        draw(); // the same seeded samples the child recorded
    const std::vector<int16_t> halves(captured_.begin(), captured_.begin() + 2 * kHalf);
    EXPECT_EQ(soxSamples(path("t.tmp")), halves) << "every half written is counted by the header";

    // The child's settings store died with it; the marker is durable on disk in real use.
    settings_.SaveSetting("NerixSDR", "WavFile", recorder::kUnsavedRecordingKey, path("t.tmp"));
    ASSERT_EQ(wav_->OpenRecording(), 0);
    ASSERT_FALSE(wav_->RecoveredFileName.empty());
    EXPECT_EQ(soxSamples(wav_->RecoveredFileName), halves);
}

TEST_F(WavFileTest, FileSizeLimitStopsForRealWithAShortWriteThenEfbig) {
    wav_->TempFileName = path("t.tmp");
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        ::signal(SIGXFSZ, SIG_IGN);
        struct rlimit limit {
            44 + kHalf * 2 + 700, 44 + kHalf * 2 + 700
        };
        ::setrlimit(RLIMIT_FSIZE, &limit);
        if (wav_->OpenRecording() != 0) ::_exit(2);
        std::vector<int16_t> block(kBlock);
        int32_t rc = 0;
        for (int b = 0; b < 16 && wav_->IsRecording(); ++b) {
            for (auto& s : block)
                s = int16_t(rng_());
            wav_->AddSamples(block, kBlock);
            if (wav_->BufferFull()) rc = wav_->WriteToDisk();
        }
        const bool stopped = !wav_->IsRecording() && rc == files::err::kDiskFull &&
                             wav_->StatusOfMedia() == recorder::MediaStatus::RecordingUnsaved;
        wav_->TempFileName.clear();
        ::_exit(stopped ? 0 : 3);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    ASSERT_TRUE(WIFEXITED(status));
    ASSERT_EQ(WEXITSTATUS(status), 0);
    for (int b = 0; b < 4; ++b)
        draw();
    EXPECT_EQ(soxSamples(path("t.tmp")), captured_) << "every sample up to the cut";
}

TEST_F(WavFileTest, FileLimitStopsCleanlyBeforeThe32BitRange) {
    recorder::WavFilePorts ports;
    ports.listener = &events_;
    ports.maxFileBytes = recorder::kMaxTrailerBytes + 44 + kHalf * 2 + 10;
    wav_->setPorts(ports);
    wav_->TempFileName = path("t.tmp");
    ASSERT_EQ(wav_->OpenRecording(), 0);
    std::vector<int16_t> block(kBlock, 3);
    for (int i = 0; i < 8; ++i)
        wav_->AddSamples(block, kBlock);
    wav_->WriteToDisk();
    EXPECT_FALSE(wav_->IsRecording());
    ASSERT_EQ(events_.faults.size(), 1u);
    EXPECT_EQ(events_.faults[0].first, RecorderFault::FileLimit);
    EXPECT_EQ(wav_->NumSamples(), kHalf);
}

} // namespace

namespace {

TEST_F(WavFileTest, StartUpMovesAnUnsavedRecordingAside) {
    wav_->TempFileName = path("t.tmp");
    ASSERT_EQ(wav_->OpenRecording(), 0);
    feed(2);
    wav_.reset(); // exit without asking: finalised, still unsaved
    EXPECT_EQ(settings_.GetSetting("NerixSDR", "WavFile", recorder::kUnsavedRecordingKey), path("t.tmp"));
    wav_ = makeRecorder();
    wav_->init();
    EXPECT_EQ(wav_->RecoveredFileName, path("recovered_2026-12-10_13-05-09.wav"));
    EXPECT_EQ(soxSamples(wav_->RecoveredFileName), captured_);
    EXPECT_FALSE(fs::exists(path("t.tmp")));
    EXPECT_EQ(settings_.GetSetting("NerixSDR", "WavFile", recorder::kUnsavedRecordingKey), "");

    // A recording that cannot be moved aside stops the next Record instead of being deleted.
    wav_->TempFileName = path("t.tmp");
    ASSERT_EQ(wav_->OpenRecording(), 0);
    wav_->CloseFile();
    faulty_.faults.renameError = 70;
    EXPECT_EQ(wav_->OpenRecording(), 70);
    EXPECT_FALSE(wav_->IsRecording());
    EXPECT_TRUE(fs::exists(path("t.tmp")));
    faulty_.faults.renameError = 0;
    ASSERT_EQ(wav_->OpenRecording(), 0);
    EXPECT_TRUE(fs::exists(path("recovered_2026-12-10_13-05-09_2.wav")));

    // An explicit No lets the next Record replace the file.
    wav_->DiscardRecording();
    wav_->CloseFile();
    ASSERT_EQ(wav_->OpenRecording(), 0);
    EXPECT_FALSE(fs::exists(path("recovered_2026-12-10_13-05-09_3.wav"))) << "nothing new recovered";
}

TEST_F(WavFileTest, LoadMediaSetsTheNamesOnlyWhenAFileIsChosen) {
    wav_->setFileName("/keep.wav");
    dialogs_.answer.reset();
    EXPECT_EQ(wav_->LoadMedia(), "");
    EXPECT_EQ(wav_->FileName(), "/keep.wav");
    EXPECT_EQ(wav_->StatusOfMedia(), recorder::MediaStatus::Empty);
    EXPECT_EQ(dialogs_.last.Filter, "Sound Files (*.wav)|*.wav");
    EXPECT_EQ(dialogs_.last.ExistFlags, 2048);
    dialogs_.answer = "/music/a b.wav";
    EXPECT_EQ(wav_->LoadMedia(), "/music/a b.wav");
    EXPECT_EQ(wav_->FileShortName(), "a b.wav");
    EXPECT_EQ(wav_->StatusOfMedia(), recorder::MediaStatus::FileLoaded);
    EXPECT_EQ(wav_->PlayerMode(), 4);
}

TEST_F(WavFileTest, AFailedReadOfTheOpenRecordingEndsOnlyThePlayback) {
    wav_->TempFileName = path("t.tmp");
    ASSERT_EQ(wav_->OpenRecording(), 0);
    feed(4);
    faulty_.faults.failReadsAtByte = 100;
    wav_->RecordPlayback();
    EXPECT_EQ(wav_->PlayerMode(), 4);
    EXPECT_TRUE(wav_->PlayEnd);
    faulty_.faults.failReadsAtByte = INT64_MAX;
    EXPECT_TRUE(wav_->IsRecording());
    wav_->setPlayerMode(1);
    feed(4);
    saveAs("r.wav");
    EXPECT_EQ(soxSamples(path("r.wav")), captured_);
}

// The block drivers keep asking for samples while the player mode says playing; a closed playback has
// no buffers left to read them from.
TEST_F(WavFileTest, SamplesAskedForAfterClosingThePlaybackAreSilence) {
    wav_->TempFileName = path("t.tmp");
    ASSERT_EQ(wav_->OpenRecording(), 0);
    feed(8);
    saveAs("c.wav");
    wav_->setFileName(path("c.wav"));
    ASSERT_GT(wav_->OpenPlayback(), 0);
    wav_->Play();
    ASSERT_EQ(wav_->PlayerMode(), 2);
    std::vector<int16_t> block(kBlock, 1);
    wav_->GetNextSamples(block, kBlock);
    ASSERT_EQ(wav_->ClosePlayback(), 0);
    std::fill(block.begin(), block.end(), int16_t(1));
    wav_->GetNextSamples(block, kBlock);
    EXPECT_EQ(std::count(block.begin(), block.end(), int16_t(0)), kBlock);
    EXPECT_EQ(wav_->ReadFromDisk(), 0);
}

TEST_F(WavFileTest, TheLogStopsAt32767EntriesWhileTheRecordingGoesOn) {
    wav_->TempFileName = path("t.tmp");
    ASSERT_EQ(wav_->OpenRecording(), 0);
    for (int i = 0; i < 40000; ++i) {
        const int32_t f = 1000000 + (i % 2) * 5000;
        wav_->NewLogRecord(f);
    }
    EXPECT_EQ(wav_->LogCount(), 32767);
    feed(1);
    saveAs("many.wav");
    wav_->setFileName(path("many.wav"));
    wav_->OpenFile();
    EXPECT_EQ(wav_->NumberOfTracks(), 32767);
    EXPECT_EQ(soxSamples(path("many.wav")), captured_);
}

TEST_F(WavFileTest, ReentryThroughTheMessageLoopIsRefused) {
    wav_->TempFileName = path("t.tmp");
    ASSERT_EQ(wav_->OpenRecording(), 0);
    std::vector<int32_t> inner;
    faulty_.faults.duringWrite = [&] { inner.push_back(wav_->WriteToDisk()); };
    feed(4);
    faulty_.faults.duringWrite = nullptr;
    ASSERT_FALSE(inner.empty());
    EXPECT_EQ(inner[0], recorder::status::kWriteBusy);

    saveAs("a.wav");
    wav_->setFileName(path("a.wav"));
    wav_->OpenFile();
    wav_->Play();
    struct Reenter : Events {
        clsWavFile* wav = nullptr;
        int32_t innerResult = 99;
        std::vector<int16_t> probe = std::vector<int16_t>(kBlock, 5);
        void SamplesPlayed(int32_t, int32_t) override { innerResult = wav->GetNextSamples(probe, kBlock); }
    } reenter;
    reenter.wav = wav_.get();
    recorder::WavFilePorts ports;
    ports.listener = &reenter;
    wav_->setPorts(ports);
    std::vector<int16_t> block(kBlock);
    wav_->GetNextSamples(block, kBlock);
    EXPECT_EQ(reenter.innerResult, 0);
    EXPECT_EQ(reenter.probe, std::vector<int16_t>(kBlock, 5))
        << "a refused re-entry leaves the block as given";
    EXPECT_TRUE(std::equal(block.begin(), block.end(), captured_.begin()));
}

} // namespace
