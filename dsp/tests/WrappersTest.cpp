// The vector wrappers on both libraries, the n <= 0 rule, MaxAbs, CopyWords and Log10.
#include "dsp/testing/DspFixture.h"

#include "frame/DebugTools.h"

namespace {

using runtime::RuntimeError;

class WrappersOnBothPaths : public ::testing::TestWithParam<bool> {
protected:
    void SetUp() override { libs.state.UseSPL = GetParam(); }
    DspLibraries libs;
    Nerix::Wrappers& w = libs.wrappers;
};

TEST_P(WrappersOnBothPaths, EachWrapperDoesItsOperation) {
    for (int32_t n : {1, 7, 2048, 4097}) {
        const auto a = randomFloats(n + 1, 11), b = randomFloats(n + 1, 12);
        std::vector<float> d(n + 1, 5.0f);
        w.CopySingles(a.data(), d.data(), n);
        for (int32_t k = 0; k < n; ++k)
            ASSERT_EQ(d[k], a[k]);
        EXPECT_EQ(d[n], 5.0f);

        w.ZeroSingles(d.data(), n);
        for (int32_t k = 0; k < n; ++k)
            ASSERT_EQ(d[k], 0.0f);
        EXPECT_EQ(d[n], 5.0f);

        std::vector<int16_t> i16(n + 1, 3);
        w.ZeroIntegers(i16.data(), n);
        for (int32_t k = 0; k < n; ++k)
            ASSERT_EQ(i16[k], 0);
        EXPECT_EQ(i16[n], 3);

        d = b;
        w.ScaleSingles(-2.0f, d.data(), n);
        for (int32_t k = 0; k < n; ++k)
            ASSERT_EQ(d[k], b[k] * -2.0f);
        d = b;
        w.MpyInPlace(a.data(), d.data(), n);
        for (int32_t k = 0; k < n; ++k)
            ASSERT_EQ(d[k], b[k] * a[k]);
        d.assign(n + 1, 5.0f);
        w.Mpy3(a.data(), b.data(), d.data(), n);
        for (int32_t k = 0; k < n; ++k)
            ASSERT_EQ(d[k], a[k] * b[k]);
        d = b;
        w.AddInPlace(a.data(), d.data(), n);
        for (int32_t k = 0; k < n; ++k)
            ASSERT_EQ(d[k], b[k] + a[k]);
        EXPECT_EQ(d[n], b[n]);

        std::vector<float> mag(n), ph(n);
        w.CartToPolar(a.data(), b.data(), mag.data(), ph.data(), n);
        for (int32_t k = 0; k < n; ++k) {
            ASSERT_NEAR(mag[k], std::hypot(double(a[k]), double(b[k])), 1e-6);
            ASSERT_NEAR(ph[k], std::atan2(double(b[k]), double(a[k])), 1e-6);
        }

        float peak = 0.0f;
        for (int32_t k = 0; k < n; ++k)
            peak = std::max(peak, std::fabs(a[k]));
        EXPECT_EQ(w.MaxAbs(a.data(), n), peak);
    }
}

// Under the signal processing library a signed maximum would miss negative peaks, and the limiter
// with them.
TEST_P(WrappersOnBothPaths, MaxAbsIsTheLargestAbsoluteValue) {
    const float v[] = {-3.0f, 2.0f};
    EXPECT_EQ(w.MaxAbs(v, 2), 3.0f);
    const float allNegative[] = {-1.0f, -0.5f};
    EXPECT_EQ(w.MaxAbs(allNegative, 2), 1.0f);
    EXPECT_EQ(w.MaxAbs(v, 0), 0.0f);
}

TEST_P(WrappersOnBothPaths, CopyWordsCopiesOnEitherLibrary) {
    const int16_t src[] = {1, -2, 32767, -32768};
    int16_t dst[] = {9, 9, 9, 9};
    w.CopyWords(src, dst, 3);
    EXPECT_EQ(dst[0], 1);
    EXPECT_EQ(dst[2], 32767);
    EXPECT_EQ(dst[3], 9);
}

INSTANTIATE_TEST_SUITE_P(UseSPL, WrappersOnBothPaths, ::testing::Bool());

// Bound to libraries that are not there, so any call into either one raises.
struct NoLibraries {
    ReceiverState state;
    nerixdll::NerixDll nerix{"/nonexistent/libnerix.so"};
    nspdll::NspDll nsp{"/nonexistent/libnsp.so"};
    Nerix::Wrappers w{state, nerix, nsp};
};

TEST(Wrappers, NonPositiveCountsChangeNothingAndCallNoLibrary) {
    for (bool useSpl : {false, true}) {
        NoLibraries libs;
        libs.state.UseSPL = useSpl;
        std::vector<float> a{1, 2}, v{3, 4};
        std::vector<int16_t> i16{5, 6};
        for (int32_t n : {0, -1, -2147483647 - 1}) {
            libs.w.CopySingles(a.data(), v.data(), n);
            libs.w.ZeroSingles(v.data(), n);
            libs.w.ZeroIntegers(i16.data(), n);
            libs.w.ScaleSingles(2.0f, v.data(), n);
            libs.w.MpyInPlace(a.data(), v.data(), n);
            libs.w.Mpy3(a.data(), a.data(), v.data(), n);
            libs.w.AddInPlace(a.data(), v.data(), n);
            libs.w.CartToPolar(a.data(), a.data(), v.data(), v.data(), n);
            libs.w.CopyWords(i16.data(), i16.data() + 1, n);
            EXPECT_EQ(libs.w.MaxAbs(a.data(), n), 0.0f);
        }
        EXPECT_EQ(v, (std::vector<float>{3, 4}));
        EXPECT_EQ(i16, (std::vector<int16_t>{5, 6}));
    }
}

TEST(Wrappers, PlainMovesTouchNeitherLibraryAndLibraryCallsRaiseWhenMissing) {
    NoLibraries libs;
    std::vector<float> a{1, 2}, v{3, 4};
    libs.w.CopySingles(a.data(), v.data(), 2);
    libs.w.ZeroSingles(a.data(), 1);
    std::vector<int16_t> i16{5, 6};
    libs.w.ZeroIntegers(i16.data(), 1);
    libs.w.CopyWords(i16.data(), i16.data() + 1, 1);
    EXPECT_EQ(v, (std::vector<float>{1, 2}));
    EXPECT_EQ(i16, (std::vector<int16_t>{0, 0}));

    try {
        libs.w.AddInPlace(a.data(), v.data(), 2);
        FAIL();
    } catch (const RuntimeError& e) {
        EXPECT_EQ(e.Number(), runtime::err::kFileNotFound);
    }
    libs.state.UseSPL = true;
    EXPECT_THROW(libs.w.CopySingles(a.data(), v.data(), 2), RuntimeError);
    EXPECT_THROW(libs.w.CopyWords(i16.data(), i16.data() + 1, 1), RuntimeError);
}

TEST(Wrappers, UseSPLTakesEffectAtTheNextCall) {
    NoLibraries libs;
    std::vector<float> a{1, 2}, v{3, 4};
    libs.w.CopySingles(a.data(), v.data(), 2);
    libs.state.UseSPL = true;
    EXPECT_THROW(libs.w.CopySingles(a.data(), v.data(), 2), RuntimeError);
    libs.state.UseSPL = false;
    EXPECT_NO_THROW(libs.w.CopySingles(a.data(), v.data(), 2));
}

TEST(Log10, IsTheDecimalLogarithmOfTheMagnitudeAndZeroOnAnyError) {
    EXPECT_NEAR(Nerix::Log10(-100.0), 2.0, 1e-14);
    EXPECT_NEAR(Nerix::Log10(std::string_view("1000")), 3.0, 1e-14);
    EXPECT_NEAR(Nerix::Log10(0.001), -3.0, 1e-13);
    for (const char* text : {"", "abc", "0", "1e400"})
        EXPECT_EQ(Nerix::Log10(std::string_view(text)), 0.0) << text;
    EXPECT_EQ(Nerix::Log10(0.0), 0.0);
    EXPECT_EQ(Nerix::Log10(std::nan("")), 0.0);
}

} // namespace
