// The I/Q chain per mode per block with every option on (noise reduction, the AF notch, the dynamic AF
// filter, the AGC), as a multiple of real time; beside it the transforms the chain runs in the same mode,
// alone, to show their share; and the offline receiver over a 60-second I/Q file.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <random>
#include <vector>

#include "bench/BenchCounters.h"
#include "bench/OfflineReceiver.h"

namespace {

using bench::IqRig;
using bench::kN;

void BM_IqChainBlock(benchmark::State& s) {
    IqRig rig(static_cast<int32_t>(s.range(0)));
    const bench::RealTimeMultiple clock;
    for (auto _ : s)
        rig.block();
    s.counters["xRealTime"] = clock.of(s.iterations());
}

// The FFT filter passes the chain runs in the mode with the rig's options, and the 4096-point real
// transforms of noise reduction and the AF notch: the chain's transform work without the rest. The
// conditions are the chain's own, read from the same switches.
std::vector<clsFFTFilter*> chainFilterPasses(int32_t mode, Nerix::FilterBank& b, const ReceiverState& st) {
    std::vector<clsFFTFilter*> passes;
    const auto add = [&](std::initializer_list<clsFFTFilter*> f) { passes.insert(passes.end(), f); };
    add({&b.IqCorrectionFilterI, &b.HilbertFilter1});
    if (b.NotchFilter.Active && st.NotchType == NotchType::IF) add({&b.NotchFilter});
    if (b.IfFilter.Active) add({&b.IfFilter});
    switch (mode) {
    case DemodMode::AM:
        add({&b.IQAMFilterI, &b.IQAMFilterQ, &b.DemodAfFilter});
        break;
    case DemodMode::USB:
    case DemodMode::LSB:
        add({&b.SsbFilterI, &b.SsbFilterQ, &b.DemodAfFilter});
        break;
    case DemodMode::FM:
    case DemodMode::BC:
        add({&b.DemodAfFilter});
        break;
    case DemodMode::SAM:
        add({&b.IQAMFilterQ, &b.IQAMFilterI, &b.SsbFilterI, &b.SsbFilterQ, &b.DemodAfFilter});
        break;
    case DemodMode::AM1:
        add({&b.IQAMFilterI, &b.IQAMFilterQ, &b.DemodAfFilter});
        break;
    default: // DRM: the corrected in-phase input as it is
        break;
    }
    if (st.NBOn) add({&b.NrPostFilter});
    if (b.AfFilter.Active) add({&b.AfFilter});
    return passes;
}

void BM_IqFilterTransforms(benchmark::State& s) {
    const auto mode = static_cast<int32_t>(s.range(0));
    IqRig rig(mode);
    Nerix::FilterBank& b = *rig.bank;
    const ReceiverState& st = rig.state;
    const std::vector<clsFFTFilter*> passes = chainFilterPasses(mode, b, st);
    const bool noiseReduction = st.NBOn;
    const bool peakSearch = b.NotchFilter.Active || st.DynFilterActive;
    const bool afNotch = b.NotchFilter.Active && st.NotchType == NotchType::AF;
    std::vector<float> v(Nerix::kBufferLength), re(Nerix::kBufferLength), im(Nerix::kBufferLength);
    for (int k = 0; k < kN; ++k)
        v[size_t(k)] = rig.i[size_t(k)];
    clsFFTReal& fft = rig.path->FftReal4096();
    const bench::RealTimeMultiple clock;
    for (auto _ : s) {
        for (clsFFTFilter* f : passes)
            f->Filter_FFT_S_1(v);
        if (noiseReduction) {
            fft.FFT_Real_S_2(v, re, im);
            fft.IFFT_Real_S_2(re, im, v);
        }
        if (peakSearch) fft.FFT_Real_S_2(v, re, im);
        if (afNotch) fft.IFFT_Real_S_2(re, im, v);
        benchmark::DoNotOptimize(v.data());
    }
    s.counters["filterPasses"] = double(passes.size());
    s.counters["realTransforms"] = double(2 * noiseReduction + peakSearch + afNotch);
    s.counters["xRealTime"] = clock.of(s.iterations());
}

// A 60-second I/Q file with a station 11 kHz below the LO (a positive frequency), made once.
const std::string& sixtySecondFile() {
    static const std::string path = [] {
        const auto p = std::filesystem::temp_directory_path() / "nerix_bench_iq_60s.wav";
        offline::Wav w;
        w.channels = 2;
        const int frames = 60 * 48000;
        w.samples.resize(size_t(frames) * 2);
        for (int k = 0; k < frames; ++k) {
            const double ph = 2 * M_PI * 11000.0 * k / 48000.0;
            const double e = 6000.0 * (1.0 + 0.5 * std::cos(2 * M_PI * 1000.0 * k / 48000.0));
            w.samples[size_t(2 * k)] = int16_t(std::lround(e * std::cos(ph)));
            w.samples[size_t(2 * k + 1)] = int16_t(std::lround(e * std::sin(ph)));
        }
        offline::writeWav(p.string(), w);
        return p.string();
    }();
    return path;
}

void BM_OfflineReceiver60s(benchmark::State& s) {
    offline::Options o;
    o.input = sixtySecondFile();
    o.output = (std::filesystem::temp_directory_path() / "nerix_bench_out.wav").string();
    o.mode = static_cast<int32_t>(s.range(0));
    o.noiseReduction = o.notch = true;
    offline::Result r;
    double runSeconds = 0;
    for (auto _ : s) {
        const auto start = std::chrono::steady_clock::now();
        r = offline::run(o);
        runSeconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    }
    s.counters["xRealTime"] = r.realTimeFactor(); // over the blocks alone
    s.counters["blockMedian_us"] = r.blockTimes.quantile(0.5) * 1e6;
    s.counters["blockP99_us"] = r.blockTimes.quantile(0.99) * 1e6;
    s.counters["blockMax_us"] = r.blockTimes.max() * 1e6;
    s.counters["fileShare"] = runSeconds > 0 ? r.fileSeconds / runSeconds : 0.0; // of the whole run
    std::filesystem::remove(o.output);
}

BENCHMARK(BM_IqChainBlock)->DenseRange(0, 7)->ArgName("mode")->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_IqFilterTransforms)->DenseRange(0, 7)->ArgName("mode")->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_OfflineReceiver60s)
    ->DenseRange(0, 7)
    ->ArgName("mode")
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1);

} // namespace
