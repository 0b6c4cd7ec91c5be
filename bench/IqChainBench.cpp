// The I/Q chain per mode per block with every option on (noise reduction, the AF notch, the dynamic AF
// filter, the AGC), as a multiple of real time; beside it the same mode's filter transforms alone, to
// show their share; and the offline receiver over a 60-second I/Q file.
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <random>
#include <vector>

#include "bench/OfflineReceiver.h"
#include "bench/ReceiverRig.h"

namespace {

constexpr int32_t kN = 2048;
constexpr double kBlockSeconds = 2048.0 / 48000.0;

struct Rig : offline::ReceiverRig {
    explicit Rig(int32_t mode) {
        state.IQMode = true;
        state.VFOControl = true;
        state.FilterLo = 300;
        state.FilterHi = 3000;
        state.AGCOn = true;
        state.NBOn = true;
        SetUp(mode, 300.0f); // the BFO through the oscillator in the mixing modes
        bank->NotchFilter.MakeFilter();
        bank->NotchFilter.Active = true;
        state.NotchType = NotchType::AF;
        state.DynFilterActive = true;
        bank->AfFilter.Active = true;
        std::mt19937 rng(1);
        std::normal_distribution<double> noise(0.0, 800.0);
        for (int k = 0; k < kN; ++k) {
            const double ph = 2 * M_PI * 11000.0 * k / 48000.0;
            i[k] = int16_t(std::lround(6000.0 * std::cos(ph) + noise(rng)));
            q[k] = int16_t(std::lround(6000.0 * std::sin(ph) + noise(rng)));
        }
    }
    std::vector<int16_t> i = std::vector<int16_t>(kN), q = std::vector<int16_t>(kN),
                         a = std::vector<int16_t>(kN);
};

void realTime(benchmark::State& s) {
    s.counters["xRealTime"] =
        benchmark::Counter(double(s.iterations()) * kBlockSeconds, benchmark::Counter::kIsRate);
}

void BM_IqChainBlock(benchmark::State& s) {
    Rig rig(static_cast<int32_t>(s.range(0)));
    for (auto _ : s) {
        std::copy(rig.i.begin(), rig.i.end(), rig.a.begin());
        rig.path->Chain().DoDSPIQ(rig.a.data(), rig.q.data(), kN);
        benchmark::DoNotOptimize(rig.a.data());
    }
    realTime(s);
}

// The FFT filter passes the chain makes in each mode with every option on, and the four 4096-point real
// transforms of noise reduction and the AF notch: the chain's transform work without the rest.
void BM_IqFilterTransforms(benchmark::State& s) {
    const auto mode = static_cast<int32_t>(s.range(0));
    Rig rig(mode);
    Nerix::FilterBank& b = *rig.bank;
    std::vector<clsFFTFilter*> passes{&b.IqCorrectionFilterI, &b.HilbertFilter1, &b.IfFilter, &b.NrPostFilter,
                                      &b.AfFilter};
    const auto add = [&](std::initializer_list<clsFFTFilter*> f) { passes.insert(passes.end(), f); };
    switch (mode) {
    case DemodMode::AM:
    case DemodMode::AM1:
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
        add({&b.IQAMFilterI, &b.IQAMFilterQ, &b.SsbFilterI, &b.SsbFilterQ, &b.DemodAfFilter});
        break;
    default:
        break;
    }
    std::vector<float> v(Nerix::kBufferLength), re(Nerix::kBufferLength), im(Nerix::kBufferLength);
    for (int k = 0; k < kN; ++k)
        v[size_t(k)] = rig.i[size_t(k)];
    for (auto _ : s) {
        for (clsFFTFilter* f : passes)
            f->Filter_FFT_S_1(v);
        for (int t = 0; t < 2; ++t) {
            rig.path->FftReal4096().FFT_Real_S_2(v, re, im);
            rig.path->FftReal4096().IFFT_Real_S_2(re, im, v);
        }
        benchmark::DoNotOptimize(v.data());
    }
    s.counters["filterPasses"] = double(passes.size());
    realTime(s);
}

// A 60-second I/Q file with a station 11 kHz above the LO, made once.
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
    double factor = 0;
    for (auto _ : s)
        factor = offline::run(o).realTimeFactor();
    s.counters["xRealTime"] = factor; // over the blocks alone, without reading and writing the files
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
