// Complex and real FFTs against a direct DFT in double precision, the pinned tables and the size limit.
#include <complex>

#include "dsp/testing/DspFixture.h"
#include "platform/runtime/Hooks.h"

#include "dsp/clsFFT.h"
#include "dsp/clsFFTReal.h"

namespace {

using cd = std::complex<double>;

std::vector<cd> directDft(const std::vector<float>& re, const std::vector<float>& im, size_t n) {
    std::vector<cd> out(n);
    for (size_t k = 0; k < n; ++k) {
        cd s = 0;
        for (size_t t = 0; t < n; ++t)
            s += cd(re[t], im[t]) * std::polar(1.0, -2 * M_PI * double((k * t) % n) / double(n));
        out[k] = s;
    }
    return out;
}

class FFTOnBothPaths : public ::testing::TestWithParam<bool> {
protected:
    void SetUp() override { libs.state.UseSPL = GetParam(); }
    DspLibraries libs;
};

TEST_P(FFTOnBothPaths, ComplexTransformIsTheForwardDftAndLeavesItsInputs) {
    for (int32_t n : {1, 2, 8, 64, 1024, 4096}) {
        clsFFT fft(libs.wrappers);
        fft.FFTInit(n);
        const auto re = randomFloats(n, 21), im = randomFloats(n, 22);
        const auto reCopy = re, imCopy = im;
        std::vector<float> ro(n), io(n);
        fft.FFT_S_2(re, im, ro, io);
        EXPECT_EQ(re, reCopy);
        EXPECT_EQ(im, imCopy);
        const auto want = directDft(re, im, n);
        const double tol = 2e-6 * std::sqrt(double(n)) * std::log2(double(n) + 1) + 1e-6;
        for (int32_t k = 0; k < n; ++k) {
            ASSERT_NEAR(ro[k], want[k].real(), tol) << n << " " << k;
            ASSERT_NEAR(io[k], want[k].imag(), tol) << n << " " << k;
        }
    }
}

TEST_P(FFTOnBothPaths, RealTransformIsTheDftOfRealSamplesAndInvertsIt) {
    for (int32_t n : {2, 8, 256, 4096}) {
        clsFFTReal fft(libs.wrappers);
        fft.FFTInit(n);
        const auto x = randomFloats(n, 23);
        const auto xCopy = x;
        std::vector<float> re(n), im(n);
        fft.FFT_Real_S_2(x, re, im);
        EXPECT_EQ(x, xCopy);
        const auto want = directDft(x, std::vector<float>(n, 0.0f), n);
        const double tol = 4e-6 * std::sqrt(double(n)) * std::log2(double(n) + 1);
        for (int32_t k = 0; k < n; ++k) {
            ASSERT_NEAR(re[k], want[k].real(), tol) << n << " " << k;
            ASSERT_NEAR(im[k], want[k].imag(), tol) << n << " " << k;
        }
        // An inverse whose upper half was never set gives the samples back.
        for (int32_t k = n / 2 + 1; k < n; ++k)
            re[k] = im[k] = 1e6f;
        std::vector<float> y(n);
        fft.IFFT_Real_S_2(re, im, y);
        for (int32_t k = 0; k < n; ++k)
            ASSERT_NEAR(y[k], x[k], 1e-5) << n << " " << k;
    }
}

// The inverse must be the inverse DFT of the lower half made symmetric, whatever the caller left above
// it, and must leave its inputs as the Hartley route leaves them: re as R + I over all N bins, the
// upper half of im mirrored. With imaginary parts at bins 0 and N/2 (no real signal has them) that
// route gives the real plus the imaginary part of the inverse DFT, so that is the reference.
TEST_P(FFTOnBothPaths, InverseIsTheDirectInverseDftAndLeavesItsInputsAsTheHartleyRouteDoes) {
    for (bool edgeImaginary : {false, true})
        for (int32_t n : {2, 8, 256, 4096}) {
            clsFFTReal fft(libs.wrappers);
            fft.FFTInit(n);
            const int32_t half = n / 2;
            auto re = randomFloats(n, 24), im = randomFloats(n, 25);
            if (!edgeImaginary) im[0] = im[half] = 0.0f;
            for (int32_t k = half + 1; k < n; ++k) // left over from elsewhere, never read
                re[k] = im[k] = 1e6f;
            std::vector<float> R(re), I(im); // the spectrum as the route sees it once mirrored
            for (int32_t k = 1; k < half; ++k) {
                R[n - k] = re[k];
                I[n - k] = -im[k];
            }
            std::vector<float> y(n, 7.0f);
            fft.IFFT_Real_S_2(re, im, y);
            const double tol = 2e-6 * std::log2(double(n) + 1);
            for (int32_t t = 0; t < n; ++t) {
                std::complex<double> z = 0;
                for (int32_t k = 0; k < n; ++k)
                    z += std::complex<double>(R[k], I[k]) *
                         std::polar(1.0, 2 * M_PI * double((int64_t{k} * t) % n) / double(n));
                ASSERT_NEAR(y[t], (z.real() + z.imag()) / n, tol) << edgeImaginary << " " << n << " " << t;
            }
            for (int32_t k = 0; k < n; ++k) {
                ASSERT_FLOAT_EQ(re[k], R[k] + I[k]) << n << " " << k;
                ASSERT_EQ(im[k], I[k]) << n << " " << k;
            }
        }
}

TEST_P(FFTOnBothPaths, ImpulseAndConstantBlocks) {
    clsFFT fft(libs.wrappers);
    fft.FFTInit(4096);
    std::vector<float> re(4096, 0.0f), im(4096, 0.0f), ro(4096, 9.0f), io(4096, 9.0f);
    re[0] = 1.0f;
    fft.FFT_S_2(re, im, ro, io);
    for (int k = 0; k < 4096; ++k)
        ASSERT_TRUE(ro[k] == 1.0f && io[k] == 0.0f) << k;

    clsFFTReal real(libs.wrappers);
    real.FFTInit(4096);
    std::vector<float> x(4096, 0.25f);
    real.FFT_Real_S_2(x, ro, io);
    EXPECT_NEAR(ro[0], 1024.0f, 1e-3);
    for (int k = 1; k < 4096; ++k)
        ASSERT_TRUE(std::fabs(ro[k]) < 1e-3 && std::fabs(io[k]) < 1e-3) << k;
}

INSTANTIATE_TEST_SUITE_P(UseSPL, FFTOnBothPaths, ::testing::Bool());

TEST(ComplexFFTTables, BitReversalAndTwiddlesArePinned) {
    DspLibraries libs;
    clsFFT fft(libs.wrappers);
    fft.FFTInit(8);
    EXPECT_EQ(fft.Order, 3);
    EXPECT_EQ(fft.BitReverse(), (std::vector<int32_t>{0, 4, 2, 6, 1, 5, 3, 7}));

    fft.FFTInit(4096);
    EXPECT_EQ(fft.BitReverse()[1], 2048);
    EXPECT_EQ(fft.BitReverse()[2], 1024);
    const auto& c = fft.CosTable();
    const auto& s = fft.SinTable();
    ASSERT_EQ(c.size(), 13u);
    EXPECT_EQ(c[0], 0.0f);
    EXPECT_EQ(s[0], 0.0f);
    EXPECT_EQ(c[1], -1.0f);
    EXPECT_NEAR(c[2], -4.37e-8, 0.01e-8);
    EXPECT_EQ(c[3], 0.70710677f);
    const double piSingle = 3.1415927410125732;
    for (int st = 1; st <= 12; ++st) {
        EXPECT_EQ(c[st], static_cast<float>(std::cos(piSingle / ((1 << st) / 2.0)))) << st;
        EXPECT_EQ(s[st], static_cast<float>(-std::sin(piSingle / ((1 << st) / 2.0)))) << st;
    }
}

TEST(ComplexFFTLimits, SixteenThousandPointsIsTheLargestSize) {
    DspLibraries libs;
    clsFFT fft(libs.wrappers);
    fft.FFTInit(16384);
    EXPECT_TRUE(fft.IsInitialised);
    try {
        fft.FFTInit(32768);
        FAIL();
    } catch (const runtime::RuntimeError& e) {
        EXPECT_EQ(e.Number(), runtime::err::kOverflow);
    }
    EXPECT_FALSE(fft.IsInitialised);
    EXPECT_THROW(fft.FFTInit(3000), runtime::RuntimeError);
    EXPECT_THROW(fft.FFTInit(0), runtime::RuntimeError);

    clsFFTReal real(libs.wrappers);
    real.FFTInit(32768);
    EXPECT_THROW(real.FFTInit(65536), runtime::RuntimeError);
}

// Reporting success here would leave the previous output behind as if it were the new one.
TEST(ComplexFFTLimits, UnpreparedTransformShowsTheMessageAndFailsWithoutOutput) {
    DspLibraries libs;
    std::vector<std::string> prompts;
    runtime::ScopedHooks hooks(
        runtime::Hooks{.msgBox = [&](const std::string& prompt, int32_t, const std::string&) {
            prompts.push_back(prompt);
            return runtime::mb::kOk;
        }});
    clsFFT fft(libs.wrappers);
    std::vector<float> in(8, 1.0f), ro(8, 7.0f), io(8, 7.0f);
    for (int call = 0; call < 2; ++call)
        EXPECT_THROW(fft.FFT_S_2(in, in, ro, io), runtime::RuntimeError);
    EXPECT_EQ(prompts, std::vector<std::string>(2, "clsFFT not initialised, you must call Init first"));
    EXPECT_EQ(ro, std::vector<float>(8, 7.0f));

    clsFFTReal real(libs.wrappers);
    EXPECT_THROW(real.FFT_Real_S_2(in, ro, io), runtime::RuntimeError);
}

} // namespace
