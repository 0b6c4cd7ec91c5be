// nerix_offline_rx: runs a 48 kHz 16-bit WAV file through the receiver and writes what it would play.
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <string>

#include "bench/OfflineReceiver.h"
#include "platform/runtime/Convert.h"
#include "platform/runtime/RuntimeError.h"

namespace {

constexpr const char* kUsage =
    "usage: nerix_offline_rx IN.wav OUT.wav [--mode 0..7] [--lo HZ] [--hi HZ] [--bfo HZ] [--upper]\n"
    "       [--hiside] [--no-agc] [--nr] [--notch] [--flip] [--phasebit] [--balance GAIN]\n"
    "  IN.wav: two channels are an I/Q pair, one is audio or IF. Modes: 0 AM, 1 USB, 2 LSB, 3 DRM,\n"
    "  4 FM, 5 BC, 6 SAM, 7 AM1.\n";

[[noreturn]] void usage() {
    std::fputs(kUsage, stderr);
    std::exit(2);
}

// atoi and atof leave an out-of-range value undefined; a value that is no number, or beyond the
// option's type, is a usage error instead.
int32_t wholeNumber(const char* text) {
    const auto v = runtime::parseInt(text);
    if (!v || *v < INT32_MIN || *v > INT32_MAX) usage();
    return static_cast<int32_t>(*v);
}

float number(const char* text) {
    const auto v = runtime::parseDouble(text);
    if (!v || std::fabs(*v) > std::numeric_limits<float>::max()) usage();
    return static_cast<float>(*v);
}

} // namespace

int main(int argc, char** argv) {
    offline::Options o;
    int positional = 0;
    for (int k = 1; k < argc; ++k) {
        const std::string arg = argv[k];
        const auto value = [&]() -> const char* {
            if (k + 1 >= argc) usage();
            return argv[++k];
        };
        if (arg == "--mode")
            o.mode = wholeNumber(value());
        else if (arg == "--lo")
            o.filterLo = wholeNumber(value());
        else if (arg == "--hi")
            o.filterHi = wholeNumber(value());
        else if (arg == "--bfo")
            o.bfo = number(value());
        else if (arg == "--balance")
            o.balance = number(value());
        else if (arg == "--upper")
            o.upper = true;
        else if (arg == "--hiside")
            o.hiSideLo = true;
        else if (arg == "--no-agc")
            o.agc = false;
        else if (arg == "--nr")
            o.noiseReduction = true;
        else if (arg == "--notch")
            o.notch = true;
        else if (arg == "--flip")
            o.flip = true;
        else if (arg == "--phasebit")
            o.phaseBit = true;
        else if (positional == 0 && arg[0] != '-')
            o.input = arg, ++positional;
        else if (positional == 1 && arg[0] != '-')
            o.output = arg, ++positional;
        else {
            std::fputs(kUsage, stderr);
            return 2;
        }
    }
    if (positional != 2 || o.mode < DemodMode::AM || o.mode > DemodMode::AM1) {
        std::fputs(kUsage, stderr);
        return 2;
    }
    try {
        const offline::Result r = offline::run(o);
        std::printf("mode %d: %d blocks, %.1f us per block, %.0f times real time\n", o.mode, r.blocks,
                    r.microsecondsPerBlock(), r.realTimeFactor());
    } catch (const runtime::RuntimeError& e) {
        std::fprintf(stderr, "nerix_offline_rx: %s\n", e.what());
        return 1;
    }
    return 0;
}
