// nerix_make_iq: a reproducible I/Q test file for the offline receiver (48 kHz, 16-bit stereo): seeded
// noise under an AM station, a carrier and a tone on either side of the LO, the same bytes on every run.
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <numbers>
#include <string>

#include "bench/OfflineReceiver.h"
#include "platform/runtime/Convert.h"
#include "platform/runtime/RuntimeError.h"

namespace {

constexpr const char* kUsage = "usage: nerix_make_iq OUT.wav SECONDS\n";

// xorshift64*: the same noise whatever the standard library's generators are.
struct Noise {
    uint64_t state = 0x9E3779B97F4A7C15ull;
    double next() {
        state ^= state >> 12;
        state ^= state << 25;
        state ^= state >> 27;
        return double((state * 0x2545F4914F6CDD1Dull) >> 11) / double(1ull << 53) * 2.0 - 1.0;
    }
};

int16_t sample(double v) {
    return int16_t(std::lround(std::fmax(-32767.0, std::fmin(32767.0, v))));
}

} // namespace

int main(int argc, char** argv) {
    const auto seconds = argc == 3 ? runtime::parseInt(argv[2]) : std::nullopt;
    if (!seconds || *seconds < 1 || *seconds > 3600) {
        std::fputs(kUsage, stderr);
        return 2;
    }
    constexpr double kRate = 48000.0, kTwoPi = 2.0 * std::numbers::pi;
    offline::Wav w;
    w.channels = 2;
    const int64_t frames = *seconds * int64_t(kRate);
    w.samples.resize(size_t(frames) * 2);
    Noise noise;
    for (int64_t k = 0; k < frames; ++k) {
        const double t = double(k) / kRate;
        // Stations at positive frequencies lie below the LO, at negative ones above it.
        const double am = 5000.0 * (1.0 + 0.5 * std::cos(kTwoPi * 1000.0 * t));
        double i = am * std::cos(kTwoPi * 11000.0 * t), q = am * std::sin(kTwoPi * 11000.0 * t);
        i += 2500.0 * std::cos(kTwoPi * 12700.0 * t);
        q += 2500.0 * std::sin(kTwoPi * 12700.0 * t);
        i += 1800.0 * std::cos(-kTwoPi * 10300.0 * t);
        q += 1800.0 * std::sin(-kTwoPi * 10300.0 * t);
        w.samples[size_t(2 * k)] = sample(i + 400.0 * noise.next());
        w.samples[size_t(2 * k + 1)] = sample(q + 400.0 * noise.next());
    }
    try {
        offline::writeWav(argv[1], w);
    } catch (const runtime::RuntimeError& e) {
        std::fprintf(stderr, "nerix_make_iq: %s\n", e.what());
        return 1;
    }
    return 0;
}
