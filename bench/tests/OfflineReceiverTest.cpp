// The offline receiver on generated I/Q and IF files: each mode gives its tone, which a rounding-level
// nudge leaves alone, and the files it writes are read back by a reader of the format written here.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <functional>
#include <numeric>
#include <random>

#include "bench/OfflineReceiver.h"
#include "dsp/testing/ChainFixture.h"
#include "platform/files/testing/FaultyFileSystem.h"

namespace {

namespace fs = std::filesystem;

struct TempDir {
    fs::path path = fs::temp_directory_path() / ("nerix_offline_" + std::to_string(::getpid()));
    TempDir() { fs::create_directories(path); }
    ~TempDir() { fs::remove_all(path); }
};

// Two seconds of a signal: I/Q pairs, or one channel when q is not given.
std::string makeFile(const fs::path& p, const std::function<std::pair<double, double>(double)>& iq,
                     int channels) {
    offline::Wav w;
    w.channels = channels;
    for (int k = 0; k < 96000; ++k) {
        const auto [i, q] = iq(k / 48000.0);
        w.samples.push_back(int16_t(std::lround(i)));
        if (channels == 2) w.samples.push_back(int16_t(std::lround(q)));
    }
    offline::writeWav(p.string(), w);
    return p.string();
}

// The samples of a mono 16-bit file, read from the byte layout.
std::vector<int16_t> readMono(const std::string& path) {
    std::ifstream f(path, std::ios::binary);
    std::vector<unsigned char> b((std::istreambuf_iterator<char>(f)), std::istreambuf_iterator<char>());
    EXPECT_EQ(std::string(b.begin(), b.begin() + 4), "RIFF");
    EXPECT_EQ(b[22], 1); // one channel
    const uint32_t size = b[40] | b[41] << 8 | b[42] << 16 | uint32_t(b[43]) << 24;
    std::vector<int16_t> s(size / 2);
    for (size_t k = 0; k < s.size(); ++k)
        s[k] = int16_t(b[44 + 2 * k] | b[45 + 2 * k] << 8);
    return s;
}

std::pair<double, double> am(double t, double offset, double audio) {
    const double e = 6000.0 * (1.0 + 0.5 * std::cos(2 * M_PI * audio * t));
    return {e * std::cos(2 * M_PI * offset * t), e * std::sin(2 * M_PI * offset * t)};
}

offline::Options libraries() {
    offline::Options o;
    o.nerixLibrary = NERIX_TEST_NERIX_LIB;
    o.nspLibrary = NERIX_TEST_NSP_LIB;
    return o;
}

} // namespace

TEST(OfflineReceiver, EveryModeTurnsAGeneratedIqFileIntoItsAudio) {
    TempDir dir;
    struct Case {
        int32_t mode;
        std::function<std::pair<double, double>(double)> iq;
        double audio;
    };
    const auto tone = [](double hz) {
        return [hz](double t) {
            return std::pair{8000.0 * std::cos(2 * M_PI * hz * t), 8000.0 * std::sin(2 * M_PI * hz * t)};
        };
    };
    const auto fm = [](double t) {
        const double ph = 2 * M_PI * 12000.0 * t + 2.0 * std::sin(2 * M_PI * 1000.0 * t);
        return std::pair{10000.0 * std::cos(ph), 10000.0 * std::sin(ph)};
    };
    // SAM detects with its own filtered sign, which the 2047-tap carrier filter delays by 1023 samples.
    // A carrier on 12000 Hz, a quarter of the rate, puts every other IF sample on a zero crossing, so
    // the sign there is that of the filters' rounding residue, and the delay turns the true reference
    // 270 degrees from the IF: the audio would be that residue's. 11000 Hz is neither.
    const Case cases[] = {
        {0, [](double t) { return am(t, 12000, 1000); }, 1000},
        {1, tone(11000), 1000},
        {2, tone(12800), 800},
        {3, tone(1200), 1200},
        {4, fm, 1000},
        {5, [](double t) { return am(t, 12000, 1000); }, 1000},
        {6, [](double t) { return am(t, 11000, 1000); }, 1000},
        {7, [](double t) { return am(t, 12000, 800); }, 800},
    };
    for (const Case& c : cases) {
        offline::Options o = libraries();
        o.mode = c.mode;
        o.input = makeFile(dir.path / "in.wav", c.iq, 2);
        o.output = (dir.path / "out.wav").string();
        const offline::Result r = offline::run(o);
        SCOPED_TRACE(testing::Message() << "mode " << c.mode);
        EXPECT_EQ(r.blocks, 96000 / 2048);
        const auto out = readMono(o.output);
        ASSERT_EQ(out.size(), size_t(r.blocks) * 2048);
        const std::span<const int16_t> last(out.end() - 4096, out.end());
        EXPECT_GT(toneAmplitude(last, c.audio), 1000.0);
        EXPECT_GT(toneAmplitude(last, c.audio), 5.0 * toneAmplitude(last, c.audio * 1.5));

        // A gain step of a few parts in a million on Q changes the filters' rounding and nothing that
        // matters: audio that moves with it is rounding residue, not the signal.
        o.balance = 1.0f + 1.0f / 262144.0f;
        o.output = (dir.path / "out2.wav").string();
        offline::run(o);
        const auto nudged = readMono(o.output);
        ASSERT_EQ(nudged.size(), out.size());
        const std::span<const int16_t> nudgedLast(nudged.end() - 4096, nudged.end());
        EXPECT_NEAR(toneAmplitude(nudgedLast, c.audio), toneAmplitude(last, c.audio),
                    0.01 * toneAmplitude(last, c.audio));
    }
}

TEST(OfflineReceiver, AMonoFileRunsTheAudioDriver) {
    TempDir dir;
    offline::Options o = libraries();
    o.mode = 1;
    o.input = makeFile(
        dir.path / "if.wav",
        [](double t) {
            return std::pair{8000.0 * std::cos(2 * M_PI * 11000.0 * t), 0.0};
        },
        1);
    o.output = (dir.path / "out.wav").string();
    offline::run(o);
    const auto out = readMono(o.output);
    const std::span<const int16_t> last(out.end() - 4096, out.end());
    EXPECT_GT(toneAmplitude(last, 1000.0), 1000.0);
}

TEST(OfflineReceiver, RefusesAFileThatIsNotSixteenBitPcm) {
    TempDir dir;
    const auto p = dir.path / "bad.wav";
    offline::Wav eightBit;
    eightBit.samples.assign(4096, 0);
    offline::writeWav(p.string(), eightBit);
    {
        std::fstream f(p, std::ios::binary | std::ios::in | std::ios::out);
        f.seekp(34);
        f.put(8); // bits per sample
    }
    offline::Options o = libraries();
    o.input = p.string();
    o.output = (dir.path / "out.wav").string();
    EXPECT_THROW(offline::run(o), runtime::RuntimeError);
    o.input = (dir.path / "missing.wav").string();
    EXPECT_THROW(offline::run(o), runtime::RuntimeError);
}

namespace {

// A WAV file's bytes, laid out here field by field: the format chunk, chunks the reader must step over
// (odd sizes padded), and the data chunk with the size its header claims.
struct Layout {
    uint16_t tag = 1, channels = 2, bits = 16;
    uint32_t rate = 48000;
    bool chunkBeforeData = false;
    bool sizeBeyondFile = false; // a recorder stopped before it wrote the sizes
    int64_t frames = 0;
};

void putLe(std::vector<uint8_t>& b, uint32_t v, int bytes) {
    for (int i = 0; i < bytes; ++i)
        b.push_back(uint8_t(v >> (8 * i)));
}

// Frame k channel c holds a value no other frame of the file holds.
int16_t sampleAt(int64_t k, int c) {
    return int16_t(uint16_t((k * 7 + c * 30011) & 0xffff));
}

std::vector<uint8_t> wavBytes(const Layout& l) {
    std::vector<uint8_t> b;
    const auto tag = [&](const char* t) { b.insert(b.end(), t, t + 4); };
    tag("RIFF");
    putLe(b, 0, 4); // the RIFF size is not read
    tag("WAVE");
    tag("fmt ");
    putLe(b, 16, 4);
    putLe(b, l.tag, 2);
    putLe(b, l.channels, 2);
    putLe(b, l.rate, 4);
    putLe(b, l.rate * l.channels * l.bits / 8, 4);
    putLe(b, l.channels * l.bits / 8, 2);
    putLe(b, l.bits, 2);
    if (l.chunkBeforeData) {
        tag("LIST");
        putLe(b, 5, 4);
        b.insert(b.end(), {'I', 'N', 'F', 'O', 'x', 0}); // five bytes and the pad byte
    }
    tag("data");
    const int64_t bytes = l.frames * l.channels * 2;
    putLe(b, l.sizeBeyondFile ? 0xffffffffu : uint32_t(bytes), 4);
    for (int64_t k = 0; k < l.frames; ++k)
        for (int c = 0; c < l.channels; ++c)
            putLe(b, uint16_t(sampleAt(k, c)), 2);
    return b;
}

std::string writeBytes(const fs::path& p, const std::vector<uint8_t>& b) {
    std::ofstream f(p, std::ios::binary);
    f.write(reinterpret_cast<const char*>(b.data()), std::streamsize(b.size()));
    return p.string();
}

} // namespace

TEST(OfflineReceiver, ReadsEveryWholeBlockOfTheFileWhateverItsLayout) {
    // 70 blocks and a part cross the reader's buffer twice; the part is not a block and is left.
    TempDir dir;
    const int64_t frames = 70 * 2048 + 1000;
    struct Case {
        uint16_t channels;
        bool chunkBeforeData, sizeBeyondFile;
    };
    for (const Case c : {Case{2, false, false}, Case{1, false, false}, Case{2, true, false},
                         Case{1, true, true}, Case{2, false, true}}) {
        SCOPED_TRACE(testing::Message() << c.channels << " channels, chunk before data " << c.chunkBeforeData
                                        << ", size beyond the file " << c.sizeBeyondFile);
        Layout l;
        l.channels = c.channels;
        l.chunkBeforeData = c.chunkBeforeData;
        l.sizeBeyondFile = c.sizeBeyondFile;
        l.frames = frames;
        files::PosixFileSystem fileSystem;
        offline::WavReader reader(fileSystem, writeBytes(dir.path / "in.wav", wavBytes(l)));
        EXPECT_EQ(reader.channels(), c.channels);
        EXPECT_EQ(reader.frames(), frames);
        std::vector<int16_t> a(2048), b(2048);
        int64_t blocks = 0, wrong = 0;
        while (reader.next(a, b)) {
            for (int64_t k = 0; k < 2048; ++k) {
                const int64_t frame = blocks * 2048 + k;
                wrong += a[size_t(k)] != sampleAt(frame, 0);
                wrong += b[size_t(k)] != (c.channels == 2 ? sampleAt(frame, 1) : 0);
            }
            ++blocks;
        }
        EXPECT_EQ(blocks, 70);
        EXPECT_EQ(wrong, 0);
    }
}

TEST(OfflineReceiver, RefusesWhatItCannotTakeAndSaysWhatItTakes) {
    TempDir dir;
    struct Case {
        const char* what;
        Layout layout;
        const char* says;
    };
    const auto with = [](auto change) {
        Layout l;
        l.frames = 4096;
        change(l);
        return l;
    };
    const Case cases[] = {
        {"44.1 kHz", with([](Layout& l) { l.rate = 44100; }), "44100 Hz, 16-bit, 2 channels"},
        {"24-bit", with([](Layout& l) { l.bits = 24; }), "48000 Hz, 24-bit, 2 channels"},
        {"three channels", with([](Layout& l) { l.channels = 3; }), "3 channels"},
        {"floating point", with([](Layout& l) { l.tag = 3, l.bits = 32; }), "(not PCM)"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        offline::Options o = libraries();
        o.input = writeBytes(dir.path / "in.wav", wavBytes(c.layout));
        o.output = (dir.path / "out.wav").string();
        try {
            offline::run(o);
            ADD_FAILURE() << "taken";
        } catch (const runtime::RuntimeError& e) {
            EXPECT_EQ(e.Number(), 321);
            const std::string text = e.what();
            EXPECT_NE(text.find(c.says), std::string::npos) << text;
            EXPECT_NE(text.find("takes 48 kHz, 16-bit, one or two channels"), std::string::npos) << text;
        }
    }
    offline::Options o = libraries();
    o.input = writeBytes(dir.path / "text.wav", {'h', 'e', 'l', 'l', 'o'});
    o.output = (dir.path / "out.wav").string();
    EXPECT_THROW(offline::run(o), runtime::RuntimeError);
}

TEST(OfflineReceiver, AnOutputThatCannotBeWrittenIsAnErrorNotAShortFile) {
    TempDir dir;
    offline::Options o = libraries();
    o.mode = 3;
    o.input = makeFile(
        dir.path / "in.wav",
        [](double t) {
            return std::pair{1000.0 * std::sin(2 * M_PI * 1000.0 * t), 0.0};
        },
        2);
    o.output = (dir.path / "out.wav").string();
    files::PosixFileSystem real;
    files::testing::FaultyFileSystem disk(real);
    disk.faults.failWritesAtByte = 100'000; // the disk fills part-way through the output
    try {
        offline::run(o, disk);
        ADD_FAILURE() << "reported as written";
    } catch (const runtime::RuntimeError& e) {
        EXPECT_EQ(e.Number(), files::err::kDiskFull);
    }
}

TEST(OfflineReceiver, BlockTimeQuantilesAgreeWithTheSortedTimes) {
    std::mt19937 rng(7);
    std::lognormal_distribution<double> time(std::log(60e-6), 0.4);
    std::vector<double> times;
    offline::BlockTimes t;
    for (int n = 0; n < 5000; ++n) {
        times.push_back(time(rng));
        t.add(times.back());
    }
    times.push_back(0.25); // one stalled block
    t.add(0.25);
    std::sort(times.begin(), times.end());
    const auto rank = [&](double p) { return times[size_t(std::ceil(p * double(times.size()))) - 1]; };
    EXPECT_EQ(t.count(), int64_t(times.size()));
    EXPECT_NEAR(t.quantile(0.5), rank(0.5), 0.006 * rank(0.5));
    EXPECT_NEAR(t.quantile(0.99), rank(0.99), 0.006 * rank(0.99));
    EXPECT_EQ(t.max(), 0.25);
    EXPECT_NEAR(t.total(), std::accumulate(times.begin(), times.end(), 0.0), 1e-9);
}

TEST(OfflineReceiver, AFileMadeTheCommonWayIsReceivedWithFlipAndUpper) {
    // I left, Q right, a station above the LO at a positive frequency: its carrier at +12 kHz, an
    // upper-sideband tone of 1 kHz and a lower-sideband tone of 1.5 kHz.
    TempDir dir;
    const auto commonWay = [](double t) {
        double i = 0, q = 0;
        for (const auto& [hz, amplitude] :
             {std::pair{12000.0, 4000.0}, {13000.0, 3000.0}, {10500.0, 3000.0}}) {
            i += amplitude * std::cos(2 * M_PI * hz * t);
            q += amplitude * std::sin(2 * M_PI * hz * t);
        }
        return std::pair{i, q};
    };
    offline::Options o = libraries();
    o.mode = DemodMode::USB;
    o.agc = false;
    o.input = makeFile(dir.path / "common.wav", commonWay, 2);
    struct Case {
        bool flip, upper;
        double heard, missed;
    };
    for (const Case c : {Case{true, true, 1000, 1500}, Case{false, false, 1500, 1000}}) {
        SCOPED_TRACE(testing::Message() << "flip " << c.flip << " upper " << c.upper);
        o.flip = c.flip;
        o.upper = c.upper;
        o.output = (dir.path / "out.wav").string();
        offline::run(o);
        const auto out = readMono(o.output);
        const std::span<const int16_t> last(out.end() - 8192, out.end());
        EXPECT_GT(toneAmplitude(last, c.heard), 300.0);
        EXPECT_GT(toneAmplitude(last, c.heard), 30.0 * toneAmplitude(last, c.missed));
    }
}
