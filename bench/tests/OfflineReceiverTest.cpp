// The offline receiver on generated I/Q and IF files: each mode gives its tone, which a rounding-level
// nudge leaves alone, and the files it writes are read back by a reader of the format written here.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <functional>

#include "bench/OfflineReceiver.h"
#include "dsp/testing/ChainFixture.h"

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
