// nerix_offline_rx: runs a WAV file (48 kHz, 16-bit, one or two channels) through the receiver and writes
// what it would play.
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <limits>
#include <string>

#include "bench/OfflineReceiver.h"
#include "platform/runtime/Convert.h"
#include "platform/runtime/RuntimeError.h"

namespace {

constexpr const char* kUsage =
    "usage: nerix_offline_rx IN.wav OUT.wav [--mode 0..7] [--lo HZ] [--hi HZ] [--bfo HZ] [--upper]\n"
    "       [--hiside] [--no-agc] [--nr] [--notch] [--flip] [--phasebit] [--balance GAIN]\n"
    "       [--wisdom FILE]\n"
    "  IN.wav: 48 kHz, 16-bit, one or two channels. Two channels are an I/Q pair, left I and right Q,\n"
    "  a station at a positive frequency of left + j right lying below the LO; --upper receives the\n"
    "  stations above the LO (negative frequencies). A file made the common way (a station above the\n"
    "  LO at a positive frequency) needs --flip --upper. One channel is an IF centred on 12 kHz, not\n"
    "  audio. Defaults: mode 1, AF band 300..3000 Hz, BFO 0, AGC on (it settles over the first 3-4 s).\n"
    "  Modes: 0 AM, 1 USB, 2 LSB, 3 DRM, 4 FM, 5 BC, 6 SAM, 7 AM1.\n"
    "  --wisdom FILE: the FFT plans measured as the program's are, kept in FILE (made when missing);\n"
    "  without it they are estimated, and the output is the same on every run.\n";

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
        else if (arg == "--wisdom")
            o.wisdom = value();
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
    o.keepReceiver = true;
    try {
        const offline::Result r = offline::run(o);
        const offline::BlockTimes& t = r.blockTimes;
        std::printf("mode %d: %d blocks, per block median %.1f us, p99 %.1f us, max %.1f us, mean %.1f us; "
                    "%.0f times real time\n",
                    o.mode, r.blocks, t.quantile(0.5) * 1e6, t.quantile(0.99) * 1e6, t.max() * 1e6,
                    r.microsecondsPerBlock(), r.realTimeFactor());
        timespec cpu{};
        clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &cpu);
        std::printf("set-up %.1f ms, blocks %.1f ms, file reading and writing %.1f ms; process CPU %.1f ms\n",
                    r.setupSeconds * 1e3, r.seconds() * 1e3, r.fileSeconds * 1e3,
                    (double(cpu.tv_sec) + double(cpu.tv_nsec) * 1e-9) * 1e3);
        // Both files are closed; the receiver's filters and buffers go with the process, which frees them
        // at once, instead of one by one at a cost close to that of a short file's blocks.
        std::fflush(stdout);
        std::_Exit(0);
    } catch (const runtime::RuntimeError& e) {
        std::fprintf(stderr, "nerix_offline_rx: %s\n", e.what());
        return 1;
    }
    return 0;
}
