// The outside library's vectorised angle against the exact one: its error bound and atan2's
// special values.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "dsp/testing/DspFixture.h"

TEST(PolarConversion, AngleIsWithinItsBoundAllRoundTheCircleAndAtEveryScale) {
    DspLibraries libs;
    std::vector<float> re, im;
    for (int k = 0; k < 200000; ++k) {
        const double a = -M_PI + 2 * M_PI * (k + 0.5) / 200000.0;
        const double scale = std::pow(10.0, (k % 13) - 6); // 1e-6 .. 1e6
        re.push_back(float(scale * std::cos(a)));
        im.push_back(float(scale * std::sin(a)));
    }
    for (float v : {0.41421356f, 0.41421357f, 1.0f, 2.4142136f}) { // the reduction's edges
        re.push_back(1.0f);
        im.push_back(v);
        re.push_back(-v);
        im.push_back(-1.0f);
    }
    const auto n = int32_t(re.size());
    std::vector<float> mag(re.size()), ph(re.size());
    libs.nerix.CartToPolar_S_2(re.data(), im.data(), mag.data(), ph.data(), n);
    double worst = 0;
    for (int32_t k = 0; k < n; ++k) {
        worst = std::max(worst, std::fabs(ph[k] - std::atan2(double(im[k]), double(re[k]))));
        ASSERT_NEAR(mag[k], std::hypot(double(re[k]), double(im[k])),
                    1e-6 * std::hypot(re[k], im[k]) + 1e-30);
    }
    EXPECT_LT(worst, 3e-7);
}

TEST(PolarConversion, AngleKeepsAtan2sSpecialValues) {
    DspLibraries libs;
    const float inf = std::numeric_limits<float>::infinity(), nan = std::numeric_limits<float>::quiet_NaN();
    const float ys[] = {0.0f, -0.0f, 0.0f, -0.0f, 1.0f, -1.0f, 1.0f, inf,
                        inf,  -inf,  -inf, 1.0f,  1.0f, nan,   1.0f};
    const float xs[] = {0.0f, 0.0f, -0.0f, -0.0f, 0.0f,  0.0f, inf, inf,
                        -inf, inf,  -inf,  -inf,  -1.0f, 1.0f, nan};
    const int32_t n = int32_t(std::size(xs));
    std::vector<float> mag(n), ph(n);
    libs.nerix.CartToPolar_S_2(xs, ys, mag.data(), ph.data(), n);
    for (int32_t k = 0; k < n; ++k) {
        const float exact = std::atan2(ys[k], xs[k]);
        if (std::isnan(exact)) {
            EXPECT_TRUE(std::isnan(ph[k])) << k;
        } else {
            EXPECT_NEAR(ph[k], exact, 3e-7) << k;
            EXPECT_EQ(std::signbit(ph[k]), std::signbit(exact)) << k;
        }
    }
}
