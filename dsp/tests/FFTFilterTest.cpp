// The FFT filter against direct linear convolution with its own taps, its bins, gains and twins.
#include <complex>
#include <cstring>

#include "dsp/testing/DspFixture.h"

#include "dsp/clsFFTFilter.h"
#include "dsp/clsFFTReal.h"

namespace {

constexpr int32_t kP = 2048;

void configure(clsFFTFilter& f, int32_t lo, int32_t hi, int32_t window = 2) {
    f.SegmentSize = 2 * kP;
    f.FSampling = 48000;
    f.WindowType = window;
    f.init(kP);
    f.FLow = lo;
    f.FHigh = hi;
}

std::vector<float> taps(clsFFTFilter& f) {
    std::vector<float> t(kP);
    f.GetFilterCoeffs_T_S(t);
    return t;
}

// Filters a signal block by block and returns the output and, per block, the buffer's second half.
struct FilterRun {
    std::vector<float> out;
    std::vector<std::vector<float>> upper;
};
FilterRun filterBlocks(clsFFTFilter& f, const std::vector<float>& x) {
    FilterRun r;
    std::vector<float> buffer(2 * kP + 1);
    for (size_t b = 0; b + kP <= x.size(); b += kP) {
        std::copy_n(x.begin() + b, kP, buffer.begin());
        std::fill(buffer.begin() + kP, buffer.end(), 123.0f); // whatever the caller left there
        f.Filter_FFT_S_1(buffer);
        r.out.insert(r.out.end(), buffer.begin(), buffer.begin() + kP);
        r.upper.emplace_back(buffer.begin() + kP, buffer.begin() + 2 * kP);
    }
    return r;
}

class FFTFilterOnBothPaths : public ::testing::TestWithParam<bool> {
protected:
    void SetUp() override { libs.state.UseSPL = GetParam(); }
    DspLibraries libs;
};

// Catches tail-length and offset faults: the blocks together must be one linear convolution, and the
// second half of the buffer must be this block's convolution beyond the block.
TEST_P(FFTFilterOnBothPaths, BlockByBlockEqualsDirectConvolutionWithItsOwnTaps) {
    for (bool reject : {false, true}) {
        clsFFTFilter f(libs.wrappers);
        configure(f, 300, 3000);
        f.BandReject = reject;
        f.MakeFilter();
        const auto h = taps(f);
        EXPECT_EQ(h[kP - 1], 0.0f);
        const auto x = randomFloats(4 * kP, 31);
        const FilterRun r = filterBlocks(f, x);
        for (size_t n = 0; n < r.out.size(); n += 7) {
            double want = 0;
            for (size_t t = 0; t < kP && t <= n; ++t)
                want += double(h[t]) * x[n - t];
            ASSERT_NEAR(r.out[n], want, 2e-5) << reject << " " << n;
        }
        for (size_t b = 0; b < r.upper.size(); ++b)
            for (int32_t j = 0; j < kP; j += 5) {
                double want = 0;
                for (int32_t t = j + 1; t < kP; ++t)
                    want += double(h[t]) * x[b * kP + kP + j - t];
                ASSERT_NEAR(r.upper[b][j], want, 2e-5) << reject << " block " << b << " j " << j;
            }
    }
}

TEST_P(FFTFilterOnBothPaths, ZerosAfterABlockBringOutItsTail) {
    clsFFTFilter f(libs.wrappers);
    configure(f, 300, 3000);
    f.MakeFilter();
    const auto h = taps(f);
    auto x = randomFloats(2 * kP, 32);
    std::fill(x.begin() + kP, x.end(), 0.0f);
    const FilterRun r = filterBlocks(f, x);
    for (int32_t j = 0; j < kP - 2; j += 3) {
        double want = 0;
        for (int32_t t = j + 1; t < kP; ++t)
            want += double(h[t]) * x[kP + j - t];
        ASSERT_NEAR(r.out[kP + j], want, 2e-5) << j;
    }
    EXPECT_NEAR(r.out[2 * kP - 2], 0.0f, 1e-6);
    EXPECT_NEAR(r.out[2 * kP - 1], 0.0f, 1e-6);
}

double toneGain(clsFFTFilter& f, double hz) {
    std::vector<float> x(6 * kP);
    for (size_t n = 0; n < x.size(); ++n)
        x[n] = float(std::cos(2 * M_PI * hz * n / 48000));
    const FilterRun r = filterBlocks(f, x);
    double peak = 0;
    for (size_t n = 3 * kP; n < r.out.size(); ++n)
        peak = std::max(peak, std::fabs(double(r.out[n])));
    return peak;
}

TEST_P(FFTFilterOnBothPaths, BandPassAndBandStopPassAndRejectTones) {
    struct Case {
        bool reject;
        int32_t window;
        double hz;
        double lo, hi; // expected gain range
    };
    const Case cases[] = {
        {false, 2, 1000, 0.99, 1.01}, {false, 2, 2500, 0.99, 1.01}, {false, 2, 6000, 0, 1e-3},
        {false, 2, 100, 0, 1e-3},     {false, 1, 1000, 0.99, 1.01}, {false, 1, 8000, 0, 5e-3},
        {false, 0, 1000, 0.9, 1.1},   {true, 2, 1500, 0, 1e-3},     {true, 2, 6000, 0.99, 1.01},
        {true, 2, 100, 0.99, 1.01},
    };
    for (const Case& c : cases) {
        clsFFTFilter f(libs.wrappers);
        configure(f, 300, 3000, c.window);
        f.BandReject = c.reject;
        f.MakeFilter();
        const double g = toneGain(f, c.hz);
        EXPECT_GE(g, c.lo) << c.reject << " w" << c.window << " " << c.hz;
        EXPECT_LE(g, c.hi) << c.reject << " w" << c.window << " " << c.hz;
    }
}

// I and its quadrature twin: equal amplitude, same delay of 1023 samples, Q = -sin where I = cos.
// The sign decides which sideband the IF filter pair passes; the in-program design at a phase angle
// just off 0 must agree with it.
TEST_P(FFTFilterOnBothPaths, QuadratureTwinIsNinetyDegreesFromTheInPhaseFilter) {
    for (double phase : {0.0, 1e-9}) {
        clsFFTFilter i(libs.wrappers), q(libs.wrappers);
        configure(i, 300, 3000, 0);
        configure(q, 300, 3000, 0);
        q.QPhase = true;
        q.PhaseAngle = phase;
        i.MakeFilter();
        q.MakeFilter();
        const double hz = 1500;
        std::vector<float> x(4 * kP);
        for (size_t n = 0; n < x.size(); ++n)
            x[n] = float(std::cos(2 * M_PI * hz * n / 48000));
        const FilterRun ri = filterBlocks(i, x), rq = filterBlocks(q, x);
        double worstI = 0, worstQ = 0;
        for (size_t n = 2 * kP; n < ri.out.size(); ++n) {
            const double th = 2 * M_PI * hz * (double(n) - 1023) / 48000;
            worstI = std::max(worstI, std::fabs(ri.out[n] - std::cos(th)));
            worstQ = std::max(worstQ, std::fabs(rq.out[n] + std::sin(th)));
        }
        EXPECT_LT(worstI, 0.02) << phase;
        EXPECT_LT(worstQ, 0.02) << phase;
    }
}

TEST_P(FFTFilterOnBothPaths, KernelSpectrumIsTheTransformOfTheTaps) {
    clsFFTFilter f(libs.wrappers);
    configure(f, 950, 1050);
    f.MakeFilter();
    const auto h = taps(f);
    const auto re = f.KernelSpectrumReal(), im = f.KernelSpectrumImag();
    for (int k : {0, 1, 81, 85, 90, 2048, 4095}) {
        std::complex<double> s = 0;
        for (int t = 0; t < kP; ++t)
            s += double(h[t]) * std::polar(1.0, -2 * M_PI * double((k * t) % 4096) / 4096);
        EXPECT_NEAR(re[k], s.real(), 1e-5) << k;
        EXPECT_NEAR(im[k], s.imag(), 1e-5) << k;
    }
}

INSTANTIATE_TEST_SUITE_P(UseSPL, FFTFilterOnBothPaths, ::testing::Bool());

// The library transforms an array that shares its plans' alignment in place and copies any other: both
// must give the same bits, block after block.
TEST(FFTFilterLibraryPass, GivesTheSameBlocksWhateverTheArraysAlignment) {
    DspLibraries libs;
    clsFFTFilter inPlace(libs.wrappers), copied(libs.wrappers);
    for (clsFFTFilter* f : {&inPlace, &copied}) {
        configure(*f, 300, 3000);
        f->MakeFilter();
    }
    std::vector<float> aligned(2 * kP + 1), shifted(2 * kP + 2); // shifted by one float
    const std::span<float> a(aligned), b = std::span<float>(shifted).subspan(1);
    const auto x = randomFloats(3 * kP, 35, 1000.0f);
    for (size_t block = 0; block < 3; ++block) {
        std::copy_n(x.begin() + block * kP, kP, a.begin());
        std::copy_n(x.begin() + block * kP, kP, b.begin());
        inPlace.Filter_FFT_S_1(a);
        copied.Filter_FFT_S_1(b);
        ASSERT_EQ(std::memcmp(a.data(), b.data(), sizeof(float) * 2 * kP), 0) << block;
    }

    clsFFTReal fft(libs.wrappers);
    fft.FFTInit(2 * kP);
    std::vector<float> re(2 * kP), im(2 * kP);
    fft.FFT_Real_S_2(x, re, im);
    auto re2 = re, im2 = im;
    fft.IFFT_Real_S_2(re, im, a);
    fft.IFFT_Real_S_2(re2, im2, b);
    EXPECT_EQ(std::memcmp(a.data(), b.data(), sizeof(float) * 2 * kP), 0);
}

TEST(FFTFilterDesign, EdgesGiveTheBinsOfTheTable) {
    DspLibraries libs;
    struct Case {
        int32_t lo, hi, binLo, binHi, wantLo, wantHi;
    };
    const Case cases[] = {
        {100, 4500, 8, 384, 100, 4500}, {300, 2300, 25, 196, 300, 2300},
        {950, 1050, 81, 90, 950, 1050}, {7500, 16500, 640, 1408, 7500, 16500},
        {-20, 3000, 0, 256, 0, 3000},   {0, 3000, 0, 256, 0, 3000},
        {0, 25000, 0, 2048, 0, 24000},  {0, 23980, 0, 2046, 0, 23980},
    };
    for (const Case& c : cases) {
        clsFFTFilter f(libs.wrappers);
        configure(f, c.lo, c.hi);
        EXPECT_EQ(f.HzPerBin, 11.71875);
        f.MakeFilter();
        EXPECT_EQ(f.FLow, c.wantLo);
        EXPECT_EQ(f.FHigh, c.wantHi);
        EXPECT_EQ(f.BinFLow, c.binLo) << c.lo;
        EXPECT_EQ(f.BinFHigh, c.binHi) << c.hi;
        EXPECT_EQ(f.BinFCount, c.binHi - c.binLo);
        EXPECT_DOUBLE_EQ(f.FHRadians, c.wantHi * 2 * M_PI / 48000);
    }
}

TEST(FFTFilterDesign, PhaseAngleWithoutQuadratureGivesTheLibraryTaps) {
    DspLibraries libs;
    clsFFTFilter f(libs.wrappers);
    configure(f, 300, 3000, 1);
    f.MakeFilter();
    const auto library = taps(f);
    f.PhaseAngle = 0.3;
    f.MakeFilter();
    const auto inProgram = taps(f);
    for (int k = 0; k < kP; ++k)
        ASSERT_NEAR(inProgram[k], library[k], 1e-7) << k;
    f.PhaseAngle = 0.0;
    f.MakeFilter();
    EXPECT_EQ(taps(f), library);
}

TEST(FFTFilterDesign, NormaliseGainLeavesAZeroSumKernelAlone) {
    DspLibraries libs;
    clsFFTFilter f(libs.wrappers);
    configure(f, 300, 3000);
    f.QPhase = true; // odd about the centre: the taps sum to 0
    f.MakeFilter();
    const auto plain = taps(f);
    f.NormaliseGain = true;
    f.MakeFilter();
    const auto normalised = taps(f);
    for (int k = 0; k < kP; ++k)
        ASSERT_NEAR(normalised[k], plain[k], 1e-9) << k;
}

TEST(FFTFilterDesign, WindowTypeActsAtTheNextInit) {
    DspLibraries libs;
    clsFFTFilter f(libs.wrappers);
    configure(f, 300, 3000, 2);
    f.MakeFilter();
    const auto blackman = taps(f);
    f.WindowType = 1;
    f.MakeFilter();
    EXPECT_EQ(taps(f), blackman);
    f.init(kP);
    f.MakeFilter();
    EXPECT_NE(taps(f), blackman);
}

TEST(FFTFilterLifecycle, OutputsZerosBeforeTheFirstDesignAndFailsBeforeInit) {
    DspLibraries libs;
    clsFFTFilter f(libs.wrappers);
    std::vector<float> buffer(2 * kP, 1.0f);
    f.FSampling = 48000;
    try {
        f.MakeFilter();
        FAIL();
    } catch (const runtime::RuntimeError& e) {
        EXPECT_EQ(e.Number(), runtime::err::kDivisionByZero);
    }
    EXPECT_THROW(f.Filter_FFT_S_1(buffer), runtime::RuntimeError);
    f.SegmentSize = 1000;
    EXPECT_THROW(f.init(kP), runtime::RuntimeError); // segment not twice the block

    configure(f, 300, 3000);
    const auto x = randomFloats(2 * kP, 33);
    const FilterRun r = filterBlocks(f, x);
    for (float v : r.out)
        ASSERT_EQ(v, 0.0f);
    EXPECT_THROW(f.Filter_FFT_S_1(std::span<float>(buffer).first(kP)), runtime::RuntimeError);
}

// The filter's state is made by init; one that kept the old kernel or tail would not start over.
TEST(FFTFilterLifecycle, ANewInitStartsOverWithoutKernelOrTail) {
    DspLibraries libs;
    clsFFTFilter f(libs.wrappers);
    configure(f, 300, 3000);
    f.MakeFilter();
    filterBlocks(f, randomFloats(kP, 34, 1000.0f)); // leaves a tail
    f.init(kP);
    EXPECT_EQ(taps(f), std::vector<float>(kP, 0.0f));
    for (float v : f.KernelSpectrumReal())
        ASSERT_EQ(v, 0.0f);
    f.MakeFilter();
    for (float v : filterBlocks(f, std::vector<float>(kP, 0.0f)).out)
        ASSERT_EQ(v, 0.0f);
}

// The arrays are as long as init and FFTInit made them: a longer block set since must be refused, not
// read or written past their end.
TEST(FFTFilterLifecycle, ABlockLengthRaisedSinceInitIsRefused) {
    DspLibraries libs;
    for (bool useSpl : {false, true}) {
        libs.state.UseSPL = useSpl;
        clsFFTFilter f(libs.wrappers);
        configure(f, 300, 3000);
        f.MakeFilter();
        f.Points = 2 * kP;
        std::vector<float> big(4 * kP + 1);
        const auto refused = [](const auto& call) {
            try {
                call();
            } catch (const runtime::RuntimeError& e) {
                return e.Number() == runtime::err::kSubscriptOutOfRange;
            }
            return false;
        };
        EXPECT_TRUE(refused([&] { f.MakeFilter(); })) << useSpl;
        EXPECT_TRUE(refused([&] { f.Filter_FFT_S_1(big); })) << useSpl;
        EXPECT_TRUE(refused([&] { f.GetFilterCoeffs_T_S(big); })) << useSpl;
        f.SegmentSize = 4 * kP;
        EXPECT_TRUE(refused([&] { f.Filter_S_Cart_1(big, big); })) << useSpl;

        clsFFTReal real(libs.wrappers);
        real.FFTInit(256);
        real.Points = 512;
        std::vector<float> re(512), im(512), y(512);
        EXPECT_TRUE(refused([&] { real.FFT_Real_S_2(y, re, im); })) << useSpl;
        EXPECT_TRUE(refused([&] { real.IFFT_Real_S_2(re, im, y); })) << useSpl;
    }
}

} // namespace
