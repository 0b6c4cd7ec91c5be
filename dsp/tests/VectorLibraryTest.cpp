// The outside DSP library's vector functions against plain reference loops.
#include <cstring>
#include <limits>

#include "dsp/testing/DspFixture.h"

namespace {

constexpr int32_t kLengths[] = {0, 1, 7, 2048, 4097};
constexpr int32_t kCanary = 4; // elements past n that must stay untouched
constexpr float kSentinel = 12345.0f;

class VectorLibrary : public ::testing::TestWithParam<int32_t> {
protected:
    nerixdll::NerixDll lib{NERIX_TEST_NERIX_LIB};
    int32_t n() const { return GetParam(); }
    std::vector<float> input(uint32_t seed) const {
        return randomFloats(static_cast<size_t>(n()) + kCanary, seed, 100.0f);
    }
    std::vector<float> blank() const {
        return std::vector<float>(static_cast<size_t>(n()) + kCanary, kSentinel);
    }
};

TEST_P(VectorLibrary, ElementWiseFunctionsMatchReferenceLoopsAndStopAtN) {
    const auto a = input(1), b = input(2);
    const float c = -2.5f;
    struct Case {
        const char* name;
        std::function<void(std::vector<float>&)> run;
        std::function<float(size_t)> expect; // for k < n; the rest stays as it was
        std::vector<float> start;
    };
    const std::vector<Case> cases = {
        {"Add_S_2", [&](auto& d) { lib.Add_S_2(a.data(), d.data(), n()); },
         [&](size_t k) { return b[k] + a[k]; }, b},
        {"Add_S_3", [&](auto& d) { lib.Add_S_3(a.data(), b.data(), d.data(), n()); },
         [&](size_t k) { return a[k] + b[k]; }, blank()},
        {"Sub_S_3", [&](auto& d) { lib.Sub_S_3(a.data(), b.data(), d.data(), n()); },
         [&](size_t k) { return a[k] - b[k]; }, blank()},
        {"Mpy_S_3", [&](auto& d) { lib.Mpy_S_3(a.data(), b.data(), d.data(), n()); },
         [&](size_t k) { return a[k] * b[k]; }, blank()},
        {"Mpy_S_1", [&](auto& d) { lib.Mpy_S_1(c, d.data(), n()); }, [&](size_t k) { return b[k] * c; }, b},
        {"Sub_S_1", [&](auto& d) { lib.Sub_S_1(c, d.data(), n()); }, [&](size_t k) { return b[k] - c; }, b},
        {"Add_S_1", [&](auto& d) { lib.Add_S_1(c, d.data(), n()); }, [&](size_t k) { return b[k] + c; }, b},
        {"Mpy_S_2", [&](auto& d) { lib.Mpy_S_2(a.data(), d.data(), n()); },
         [&](size_t k) { return b[k] * a[k]; }, b},
        {"Abs_S_1", [&](auto& d) { lib.Abs_S_1(d.data(), n()); }, [&](size_t k) { return std::fabs(b[k]); },
         b},
        {"Sqr_S_1", [&](auto& d) { lib.Sqr_S_1(d.data(), n()); }, [&](size_t k) { return b[k] * b[k]; }, b},
        {"Sqr_S_2", [&](auto& d) { lib.Sqr_S_2(a.data(), d.data(), n()); },
         [&](size_t k) { return a[k] * a[k]; }, blank()},
        {"HiThresh_S_1", [&](auto& d) { lib.HiThresh_S_1(d.data(), 10.0f, -1.0f, n()); },
         [&](size_t k) { return b[k] > 10.0f ? -1.0f : b[k]; }, b},
        {"LowThresh_S_1", [&](auto& d) { lib.LowThresh_S_1(d.data(), -10.0f, 7.0f, n()); },
         [&](size_t k) { return b[k] < -10.0f ? 7.0f : b[k]; }, b},
        {"LowThreshFract_S_1", [&](auto& d) { lib.LowThreshFract_S_1(d.data(), 5.0f, 0.25f, n()); },
         [&](size_t k) { return b[k] < 5.0f ? b[k] * 0.25f : b[k]; }, b},
        {"PowerSpectrum_S_2", [&](auto& d) { lib.PowerSpectrum_S_2(a.data(), b.data(), d.data(), n()); },
         [&](size_t k) { return a[k] * a[k] + b[k] * b[k]; }, blank()},
        {"SetMemory_S", [&](auto& d) { lib.SetMemory_S(d.data(), n(), c); }, [&](size_t) { return c; },
         blank()},
    };
    for (const Case& tc : cases) {
        std::vector<float> d = tc.start;
        const std::vector<float> before = d;
        tc.run(d);
        for (size_t k = 0; k < d.size(); ++k) {
            const float want = k < static_cast<size_t>(n()) ? tc.expect(k) : before[k];
            ASSERT_NEAR(d[k], want, 1e-5f * (1.0f + std::fabs(want))) << tc.name << " k=" << k;
        }
    }
}

TEST_P(VectorLibrary, DoubleFunctionsMatchReferenceLoops) {
    std::vector<double> a(n() + kCanary), v(n() + kCanary);
    std::mt19937 rng(3);
    std::uniform_real_distribution<double> dist(-10, 10);
    for (auto& x : a)
        x = dist(rng);
    for (auto& x : v)
        x = dist(rng);
    auto w = v;
    lib.Mpy_D_2(a.data(), w.data(), n());
    for (size_t k = 0; k < w.size(); ++k)
        EXPECT_DOUBLE_EQ(w[k], k < size_t(n()) ? v[k] * a[k] : v[k]);
    w = v;
    lib.Mpy_D_1(-3.0, w.data(), n());
    for (size_t k = 0; k < w.size(); ++k)
        EXPECT_DOUBLE_EQ(w[k], k < size_t(n()) ? v[k] * -3.0 : v[k]);
    double sum = 0;
    for (int32_t k = 0; k < n(); ++k)
        sum += v[k];
    EXPECT_NEAR(lib.Sum_D_1(v.data(), n()), sum, 1e-9);
    std::vector<float> s(n() + kCanary, kSentinel);
    lib.DoubleToSingle_D_2(v.data(), s.data(), n());
    for (size_t k = 0; k < s.size(); ++k)
        EXPECT_EQ(s[k], k < size_t(n()) ? static_cast<float>(v[k]) : kSentinel);
}

TEST_P(VectorLibrary, ReductionsMatchReferenceLoopsAndGiveZeroForNoElements) {
    const auto v = input(4);
    double sum = 0;
    float maxV = n() > 0 ? v[0] : 0.0f, maxAbs = 0.0f;
    int32_t maxIndex = 0;
    for (int32_t k = 0; k < n(); ++k) {
        sum += v[k];
        if (v[k] > maxV) maxV = v[k];
        maxAbs = std::max(maxAbs, std::fabs(v[k]));
        if (v[k] > v[maxIndex]) maxIndex = k;
    }
    EXPECT_NEAR(lib.Sum_S_1(v.data(), n()), sum, 1e-3 * (1 + std::sqrt(double(n()))));
    EXPECT_EQ(lib.MaxValue_S(v.data(), n()), maxV);
    EXPECT_EQ(lib.MaxValueAbs_S(v.data(), n()), maxAbs);
    EXPECT_EQ(lib.MaxIndex_S(v.data(), n()), maxIndex);

    std::vector<int16_t> w(n() + kCanary);
    for (size_t k = 0; k < w.size(); ++k)
        w[k] = static_cast<int16_t>(static_cast<int32_t>(v[k] * 300));
    int16_t maxW = n() > 0 ? w[0] : 0;
    for (int32_t k = 0; k < n(); ++k)
        maxW = std::max(maxW, w[k]);
    EXPECT_EQ(lib.MaxValue_16(w.data(), n()), maxW);
}

TEST_P(VectorLibrary, ConversionsMatchReferenceLoops) {
    const auto v = input(5);
    std::vector<int16_t> w(n() + kCanary, 77);
    for (size_t k = 0; k < w.size(); ++k)
        w[k] = static_cast<int16_t>(k * 37 - 30000);
    std::vector<float> f(n() + kCanary, kSentinel);
    lib.Int16ToFloat_S_2(w.data(), f.data(), n());
    for (size_t k = 0; k < f.size(); ++k)
        EXPECT_EQ(f[k], k < size_t(n()) ? float(w[k]) : kSentinel);

    std::vector<int16_t> l(n() + kCanary, 1), r(n() + kCanary, 2), lr(2 * (n() + kCanary), 3);
    for (int32_t k = 0; k < n(); ++k)
        l[k] = int16_t(k), r[k] = int16_t(-k);
    lib.Interlace_16_2(l.data(), r.data(), lr.data(), n());
    for (int32_t k = 0; k < n(); ++k)
        ASSERT_TRUE(lr[2 * k] == l[k] && lr[2 * k + 1] == r[k]);
    EXPECT_EQ(lr[2 * n()], 3);
    std::vector<int16_t> l2(n() + kCanary, 9), r2(n() + kCanary, 9);
    lib.DeInterlace_16_2(lr.data(), l2.data(), r2.data(), n());
    for (int32_t k = 0; k < n(); ++k)
        ASSERT_TRUE(l2[k] == l[k] && r2[k] == r[k]);
    EXPECT_EQ(l2[n()], 9);
}

TEST_P(VectorLibrary, PolarConversionsRoundTrip) {
    const auto re = input(6), im = input(7);
    std::vector<float> mag(n() + kCanary, kSentinel), ph(n() + kCanary, kSentinel);
    lib.CartToPolar_S_2(re.data(), im.data(), mag.data(), ph.data(), n());
    for (int32_t k = 0; k < n(); ++k) {
        ASSERT_NEAR(mag[k], std::hypot(double(re[k]), double(im[k])), 1e-4);
        ASSERT_NEAR(ph[k], std::atan2(double(im[k]), double(re[k])), 1e-5);
    }
    EXPECT_EQ(mag[n()], kSentinel);
    std::vector<float> re2(n() + kCanary, kSentinel), im2(n() + kCanary, kSentinel);
    lib.PolarToCart_S_2(mag.data(), ph.data(), re2.data(), im2.data(), n());
    for (int32_t k = 0; k < n(); ++k)
        ASSERT_NEAR(re2[k], re[k], 1e-3) << k;
    EXPECT_EQ(re2[n()], kSentinel);
}

// The Hilbert FIR against a direct sum in double precision, over block lengths that end inside a run
// of outputs as well as on one; it reads nz - 1 samples past the block and writes nothing past n.
TEST_P(VectorLibrary, HilbertFirIsTheDirectSumAndStopsAtN) {
    constexpr int32_t nz = 128;
    auto h = randomFloats(nz, 8);
    for (int32_t t = 0; t < nz; t += 2)
        h[t] = 0.0f; // the zero taps of a Hilbert kernel, skipped
    const auto x = randomFloats(static_cast<size_t>(n()) + nz, 9, 100.0f);
    auto y = blank();
    lib.sHilbert(x.data(), h.data(), y.data(), nz, n());
    for (int32_t k = 0; k < n(); ++k) {
        double want = 0;
        for (int32_t t = 1; t < nz; ++t)
            want += double(h[t]) * x[k + t];
        ASSERT_NEAR(y[k], want, 1e-3) << k;
    }
    for (int32_t j = 0; j < kCanary; ++j)
        EXPECT_EQ(y[n() + j], kSentinel);
}

TEST_P(VectorLibrary, ShiftRampAndMixer) {
    auto v = input(8);
    const auto before = v;
    lib.ShiftVectorRight_S_1(v.data(), n());
    EXPECT_EQ(v[0], before[0]);
    for (int32_t k = 1; k <= n(); ++k)
        ASSERT_EQ(v[k], before[k - 1]);
    for (size_t k = n() + 1; k < v.size(); ++k)
        EXPECT_EQ(v[k], before[k]);

    std::vector<float> ramp(n() + kCanary, kSentinel);
    lib.VectorRamp_S_1(-1.0f, 3.0f, ramp.data(), n());
    if (n() > 0) {
        EXPECT_EQ(ramp[n() - 1], 3.0f);
    }
    if (n() > 1) {
        EXPECT_EQ(ramp[0], -1.0f);
        for (int32_t k = 0; k < n(); ++k)
            ASSERT_NEAR(ramp[k], -1.0 + 4.0 * k / (n() - 1), 1e-6);
    }
    EXPECT_EQ(ramp[n()], kSentinel);

    const auto x = input(9);
    std::vector<float> i(n() + kCanary, kSentinel), q(n() + kCanary, kSentinel);
    lib.MixerIQ_S_S_1(x.data(), i.data(), q.data(), n());
    for (int32_t k = 0; k < n(); ++k) {
        ASSERT_NEAR(i[k], x[k] * std::cos(M_PI * k / 2), 1e-4);
        ASSERT_NEAR(q[k], x[k] * std::sin(M_PI * k / 2), 1e-4);
    }
    EXPECT_EQ(i[n()], kSentinel);
}

TEST_P(VectorLibrary, SpectrumHelpersMatchReferenceLoops) {
    const auto a = input(10), b = input(11), re = input(12), im = input(13);
    auto r2 = re, i2 = im;
    lib.Convolve_Cart_S_2(a.data(), b.data(), r2.data(), i2.data(), n());
    for (size_t k = 0; k < r2.size(); ++k) {
        const bool in = k < size_t(n());
        ASSERT_NEAR(r2[k], in ? re[k] * a[k] - im[k] * b[k] : re[k], 1e-2) << k;
        ASSERT_NEAR(i2[k], in ? re[k] * b[k] + im[k] * a[k] : im[k], 1e-2) << k;
    }

    // n real samples into n / 2 pairs, reading no more than n.
    std::vector<float> even(n() / 2 + kCanary, kSentinel), odd(n() / 2 + kCanary, kSentinel);
    lib.DeInterlace_S_2(a.data(), even.data(), odd.data(), n());
    for (int32_t m = 0; m < n() / 2; ++m)
        ASSERT_TRUE(even[m] == a[2 * m] && odd[m] == a[2 * m + 1]);
    EXPECT_EQ(even[n() / 2], kSentinel);

    std::vector<int16_t> w(n() + kCanary, 99);
    lib.FloatToInt16_S_2(a.data(), w.data(), n());
    for (size_t k = 0; k < w.size(); ++k)
        ASSERT_EQ(w[k], k < size_t(n()) ? int16_t(std::nearbyint(a[k])) : 99);
}

INSTANTIATE_TEST_SUITE_P(Lengths, VectorLibrary, ::testing::ValuesIn(kLengths));

TEST(VectorLibraryCounts, NegativeCountsDoNothingAndReductionsGiveZero) {
    nerixdll::NerixDll lib{NERIX_TEST_NERIX_LIB};
    std::vector<float> v{-3.0f, 2.0f, 5.0f}, d(3, kSentinel);
    const auto before = v;
    for (int32_t n : {-1, -2147483647 - 1}) {
        lib.Add_S_2(v.data(), d.data(), n);
        lib.Mpy_S_1(2.0f, v.data(), n);
        lib.Add_S_1(2.0f, v.data(), n);
        lib.ShiftVectorRight_S_1(v.data(), n);
        lib.VectorRamp_S_1(0, 1, d.data(), n);
        lib.SetMemory_S(d.data(), n, 0.0f);
        lib.MixerIQ_S_S_1(v.data(), d.data(), d.data(), n);
        EXPECT_EQ(v, before);
        EXPECT_EQ(d, std::vector<float>(3, kSentinel));
        EXPECT_EQ(lib.Sum_S_1(v.data(), n), 0.0f);
        EXPECT_EQ(lib.MaxValue_S(v.data(), n), 0.0f);
        EXPECT_EQ(lib.MaxValueAbs_S(v.data(), n), 0.0f);
        EXPECT_EQ(lib.MaxIndex_S(v.data(), n), 0);
    }
}

TEST(VectorLibraryCounts, FloatToInt16RoundsHalfToEvenSaturatesAndZeroesNaN) {
    nerixdll::NerixDll lib{NERIX_TEST_NERIX_LIB};
    const float nan = std::numeric_limits<float>::quiet_NaN(), inf = std::numeric_limits<float>::infinity();
    const std::vector<std::pair<float, int16_t>> cases = {
        {0.5f, 0},         {1.5f, 2},    {2.5f, 2},           {-0.5f, 0},        {-1.5f, -2},
        {-2.5f, -2},       {2.4999f, 2}, {-7.6f, -8},         {32766.5f, 32766}, {32767.4f, 32767},
        {40000.0f, 32767}, {inf, 32767}, {-32768.4f, -32768}, {-1e9f, -32768},   {-inf, -32768},
        {nan, 0},          {-nan, 0},
    };
    std::vector<float> in;
    for (auto& c : cases)
        in.push_back(c.first);
    std::vector<int16_t> out(in.size() + 1, 99);
    lib.FloatToInt16_S_2(in.data(), out.data(), static_cast<int32_t>(in.size()));
    for (size_t k = 0; k < cases.size(); ++k)
        EXPECT_EQ(out[k], cases[k].second) << cases[k].first;
    EXPECT_EQ(out.back(), 99);
}

TEST(VectorLibraryCounts, MaxValueAbsPassesOverNaNAndSeesInfinity) {
    nerixdll::NerixDll lib{NERIX_TEST_NERIX_LIB};
    const float nan = std::numeric_limits<float>::quiet_NaN(), inf = std::numeric_limits<float>::infinity();
    const std::vector<float> withNaN{-0.0f, nan, -7.5f, 3.0f, -nan};
    EXPECT_EQ(lib.MaxValueAbs_S(withNaN.data(), 5), 7.5f);
    const std::vector<float> withInf{1.0f, -inf, nan};
    EXPECT_EQ(lib.MaxValueAbs_S(withInf.data(), 3), inf);
}

TEST(VectorLibraryCounts, CallBackRunsTheRoutineAtTheAddress) {
    nerixdll::NerixDll lib{NERIX_TEST_NERIX_LIB};
    static int ran = 0;
    lib.CallBack(+[] { ++ran; });
    EXPECT_EQ(ran, 1);
}

TEST(FilterDesigns, WindowsFollowTheirFormulas) {
    nerixdll::NerixDll lib{NERIX_TEST_NERIX_LIB};
    constexpr int32_t p = 2048;
    std::vector<double> w(p + 1, -1.0);
    for (int32_t type : {0, 1, 2}) {
        lib.CalcWindowCoeffs_D(p, w.data(), type);
        for (int32_t i = 0; i < p; ++i) {
            const double x = 2 * M_PI * i / (p - 1);
            const double want = type == 0   ? 1.0
                                : type == 1 ? 0.54 - 0.46 * std::cos(x)
                                            : 0.42 - 0.5 * std::cos(x) + 0.08 * std::cos(2 * x);
            ASSERT_NEAR(w[i], want, 1e-12) << type << " " << i;
        }
        EXPECT_EQ(w[p], -1.0);
    }
}

// 2H + 1 taps centred on H = 1023, tap 2047 zero; the band-stop is the impulse at H minus the windowed
// band-pass.
TEST(FilterDesigns, BandPassAndBandStopTapsSitAroundTheCentre) {
    nerixdll::NerixDll lib{NERIX_TEST_NERIX_LIB};
    constexpr int32_t p = 2048, h = 1023;
    const double wl = 2 * M_PI * 300 / 48000, wh = 2 * M_PI * 3000 / 48000;
    std::vector<double> bp(p), bq(p), window(p), bs(p);
    std::vector<float> bsSingle(p + 1, kSentinel);
    lib.CalcWindowCoeffs_D(p, window.data(), 2);
    lib.CalcBPFilterCoeffs(p, bp.data(), wh, wl, 0);
    lib.CalcBPFilterCoeffs(p, bq.data(), wh, wl, 1);
    lib.CalcBSFilterCoeffs(p, bs.data(), bsSingle.data(), window.data(), wh, wl, 0);
    for (int32_t k = 0; k < p - 1; ++k) {
        const int32_t i = k - h;
        const double in = i == 0 ? (wh - wl) / M_PI : (std::sin(wh * i) - std::sin(wl * i)) / (M_PI * i);
        const double quad = i == 0 ? 0.0 : (std::cos(wh * i) - std::cos(wl * i)) / (M_PI * i);
        ASSERT_NEAR(bp[k], in, 1e-12) << k;
        ASSERT_NEAR(bq[k], quad, 1e-12) << k;
        ASSERT_NEAR(bsSingle[k], (i == 0 ? 1.0 : 0.0) - window[k] * in, 1e-7) << k;
    }
    EXPECT_EQ(bp[p - 1], 0.0);
    EXPECT_EQ(bq[p - 1], 0.0);
    EXPECT_EQ(bsSingle[p - 1], 0.0f);
    EXPECT_EQ(bsSingle[p], kSentinel);
}

} // namespace
