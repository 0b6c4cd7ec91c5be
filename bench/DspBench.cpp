// Signal path speed: one filter block against a bare FFTW pair, the oscillator, the vector functions
// and the cost of FFTW's planning flags.
#include <benchmark/benchmark.h>
#include <fftw3.h>

#include <chrono>
#include <random>
#include <vector>

#include "dsp/NerixNCO.h"
#include "dsp/clsFFTFilter.h"

namespace {

constexpr int32_t kP = 2048;

struct Libraries {
    ReceiverState state;
    nerixdll::NerixDll nerix;
    nspdll::NspDll nsp;
    Nerix::Wrappers wrappers{state, nerix, nsp};
};

std::vector<float> noise(size_t n, uint32_t seed) {
    std::mt19937 rng(seed);
    std::uniform_real_distribution<float> d(-1, 1);
    std::vector<float> v(n);
    for (float& x : v)
        x = d(rng);
    return v;
}

// The best FFTW offers: a measured pair on aligned arrays of its own, with no copies.
struct BareFftw {
    float* x = fftwf_alloc_real(2 * kP);
    fftwf_complex* spectrum = fftwf_alloc_complex(kP + 1);
    fftwf_plan forward = fftwf_plan_dft_r2c_1d(2 * kP, x, spectrum, FFTW_MEASURE);
    fftwf_plan inverse = fftwf_plan_dft_c2r_1d(2 * kP, spectrum, x, FFTW_MEASURE);
    // Planning overwrote x; refill it in place, as the plans hold its address.
    BareFftw() {
        const auto fresh = noise(2 * kP, 2);
        std::copy(fresh.begin(), fresh.end(), x);
    }
    ~BareFftw() {
        fftwf_destroy_plan(forward);
        fftwf_destroy_plan(inverse);
        fftwf_free(spectrum);
        fftwf_free(x);
    }
    void run() {
        fftwf_execute(forward);
        fftwf_execute(inverse);
        benchmark::DoNotOptimize(x);
    }
};

// The goal is a filter block within 1.5x of the bare pair; both run in the same process, interleaved.
void BM_FilterBlockVsBareFftwPair(benchmark::State& st) {
    Libraries libs;
    libs.state.UseSPL = st.range(0) != 0;
    clsFFTFilter f(libs.wrappers);
    f.SegmentSize = 2 * kP;
    f.FSampling = 48000;
    f.init(kP);
    f.FLow = 300;
    f.FHigh = 3000;
    f.MakeFilter();
    BareFftw bare;
    std::vector<float> block = noise(2 * kP, 1), buffer(2 * kP);
    using Clock = std::chrono::steady_clock;
    Clock::duration filterTime{}, bareTime{};
    for (auto _ : st) {
        const auto t0 = Clock::now();
        std::copy_n(block.begin(), kP, buffer.begin());
        f.Filter_FFT_S_1(buffer);
        benchmark::DoNotOptimize(buffer.data());
        const auto t1 = Clock::now();
        bare.run();
        const auto t2 = Clock::now();
        filterTime += t1 - t0;
        bareTime += t2 - t1;
    }
    const double n = static_cast<double>(st.iterations());
    st.counters["filter_us"] = std::chrono::duration<double, std::micro>(filterTime).count() / n;
    st.counters["bare_us"] = std::chrono::duration<double, std::micro>(bareTime).count() / n;
    st.counters["ratio"] = static_cast<double>(filterTime.count()) / static_cast<double>(bareTime.count());
}
BENCHMARK(BM_FilterBlockVsBareFftwPair)->ArgName("UseSPL")->Arg(0)->Arg(1);

void BM_OscillatorBlock(benchmark::State& st) {
    Libraries libs;
    Nerix::NCO nco(libs.wrappers);
    if (st.range(0)) nco.InitNCO(30, 16, 2048); // the library's oscillator; otherwise the program's own
    libs.state.NcoIncrement = 22369621;
    std::vector<float> s(kP), c(kP);
    for (auto _ : st) {
        nco.MakeNCO(libs.state.NcoIncrement, s.data(), c.data(), 1.0f);
        benchmark::DoNotOptimize(s.data());
    }
}
BENCHMARK(BM_OscillatorBlock)->ArgName("Library")->Arg(0)->Arg(1);

template <class Body> void vectorBench(benchmark::State& st, Body body) {
    auto a = noise(kP + 1, 3), b = noise(kP + 1, 4), d = noise(kP + 1, 5), e = noise(kP + 1, 6);
    std::vector<int16_t> w(kP);
    nerixdll::NerixDll lib;
    for (auto _ : st) {
        body(lib, a.data(), b.data(), d.data(), e.data(), w.data());
        benchmark::DoNotOptimize(d.data());
        benchmark::ClobberMemory();
    }
    st.SetItemsProcessed(st.iterations() * kP);
}

#define VECTOR_BENCH(name, call)                                                                             \
    void BM_##name(benchmark::State& st) {                                                                   \
        vectorBench(st, [](nerixdll::NerixDll& lib, float* a, float* b, float* d, float* e, int16_t* w) {    \
            (void)a, (void)b, (void)d, (void)e, (void)w;                                                     \
            call;                                                                                            \
        });                                                                                                  \
    }                                                                                                        \
    BENCHMARK(BM_##name);

VECTOR_BENCH(Add_S_2, lib.Add_S_2(a, d, kP))
VECTOR_BENCH(Mpy_S_1, lib.Mpy_S_1(1.0f, d, kP))
VECTOR_BENCH(Mpy_S_3, lib.Mpy_S_3(a, b, d, kP))
VECTOR_BENCH(Sum_S_1, benchmark::DoNotOptimize(lib.Sum_S_1(a, kP)))
VECTOR_BENCH(MaxValueAbs_S, benchmark::DoNotOptimize(lib.MaxValueAbs_S(a, kP)))
VECTOR_BENCH(PowerSpectrum_S_2, lib.PowerSpectrum_S_2(a, b, d, kP))
VECTOR_BENCH(FloatToInt16_S_2, lib.FloatToInt16_S_2(a, w, kP))
VECTOR_BENCH(Int16ToFloat_S_2, lib.Int16ToFloat_S_2(w, d, kP))
VECTOR_BENCH(CartToPolar_S_2, lib.CartToPolar_S_2(a, b, d, e, kP))
VECTOR_BENCH(Convolve_Cart_S_2, lib.Convolve_Cart_S_2(a, b, d, e, kP))

// What each planning flag costs at start-up (plan) and per block (run), for the 4096-point pair on
// aligned arrays, as the library plans it; with FFTW_UNALIGNED (range 1) for comparison.
void BM_PlanFlag(benchmark::State& st) {
    const unsigned flag = (st.range(0) ? FFTW_MEASURE : FFTW_ESTIMATE) | (st.range(1) ? FFTW_UNALIGNED : 0u);
    float* x = fftwf_alloc_real(2 * kP);
    fftwf_complex* spectrum = fftwf_alloc_complex(kP + 1);
    using Clock = std::chrono::steady_clock;
    double planUs = 0, runUs = 0;
    for (auto _ : st) {
        fftwf_forget_wisdom();
        const auto t0 = Clock::now();
        fftwf_plan f = fftwf_plan_dft_r2c_1d(2 * kP, x, spectrum, flag);
        fftwf_plan i = fftwf_plan_dft_c2r_1d(2 * kP, spectrum, x, flag);
        const auto t1 = Clock::now();
        const auto fresh = noise(2 * kP, 7); // in place: the plans hold x's address
        std::copy(fresh.begin(), fresh.end(), x);
        constexpr int kRuns = 200;
        for (int r = 0; r < kRuns; ++r) {
            fftwf_execute(f);
            fftwf_execute(i);
        }
        const auto t2 = Clock::now();
        planUs += std::chrono::duration<double, std::micro>(t1 - t0).count();
        runUs += std::chrono::duration<double, std::micro>(t2 - t1).count() / kRuns;
        fftwf_destroy_plan(f);
        fftwf_destroy_plan(i);
    }
    fftwf_free(spectrum);
    fftwf_free(x);
    st.counters["plan_us"] = planUs / static_cast<double>(st.iterations());
    st.counters["pair_us"] = runUs / static_cast<double>(st.iterations());
}
BENCHMARK(BM_PlanFlag)
    ->ArgsProduct({{0, 1}, {0, 1}})
    ->ArgNames({"Measure", "Unaligned"})
    ->Iterations(5)
    ->Unit(benchmark::kMillisecond);

} // namespace
