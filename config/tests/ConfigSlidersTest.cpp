// The sliders' arithmetic: positions of live values, read-outs, and the angle's own value of pi.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "config/ConfigSliders.h"
#include "platform/profile/testing/TempFolder.h"
#include "platform/runtime/Hooks.h"

namespace {

TEST(ConfigSliders, ReadOutsOfTheAmplitudeAndPhase) {
    const NumberFormat::Separators english;
    const struct {
        int32_t position;
        const char* gain;
    } gains[] = {{1, "0.0001"}, {10000, "1.0000"}, {20000, "2.0000"}, {12345, "1.2345"}};
    for (const auto& g : gains)
        EXPECT_EQ(config::gainText(config::gainOf(g.position), english), g.gain) << g.position;
    const struct {
        int32_t position;
        const char* degrees;
        const char* radians;
    } phases[] = {{0, "00.00 Degrees", "0.0000 Radians"},
                  {150, "01.50 Degrees", "0.0262 Radians"},
                  {-3000, "-30.00 Degrees", "-0.5236 Radians"},
                  {3000, "30.00 Degrees", "0.5236 Radians"},
                  {-50, "-00.50 Degrees", "-0.0087 Radians"}};
    for (const auto& p : phases) {
        EXPECT_EQ(config::degreesText(p.position, english), p.degrees) << p.position;
        EXPECT_EQ(config::radiansText(config::angleOf(p.position), english), p.radians) << p.position;
    }
    const profile::testing::ScopedGermanLocale german;
    if (!german.active()) GTEST_SKIP() << "no German locale on this machine";
    EXPECT_EQ(config::gainText(1, NumberFormat::userSeparators()), "1,0000");
    EXPECT_EQ(config::degreesText(150, NumberFormat::userSeparators()), "01,50 Degrees");
}

TEST(ConfigSliders, AnglesUseTheFourteenDecimalPi) {
    EXPECT_EQ(config::angleOf(18000), 3.14159265358979);
    EXPECT_NE(config::angleOf(18000), M_PI);
    EXPECT_EQ(config::angleOf(573), 573 / 100.0 * 3.14159265358979 / 180);
}

TEST(ConfigSliders, LiveValuesTakeTheNearestPositionInsideTheSlider) {
    std::vector<std::string> log;
    const runtime::ScopedHooks hooks{runtime::Hooks{{}, [&](const std::string& l) { log.push_back(l); }, {}}};
    EXPECT_EQ(config::phasePosition(0.1), 573); // 5.7296 degrees
    EXPECT_EQ(config::phasePosition(-0.1), -573);
    EXPECT_EQ(config::phasePosition(0), 0);
    EXPECT_EQ(config::balancePosition(1.0f), 10000);
    EXPECT_EQ(config::balancePosition(1.00005f), 10000); // halves go to even: 10000.5 -> 10000
    EXPECT_EQ(config::sliderPosition(10001.5, config::kAmpBalanceRange, "x"), 10002);
    EXPECT_TRUE(log.empty());

    const struct {
        double value;
        const config::SliderRange* range;
        int32_t position;
    } outside[] = {{1.0 * 100 / 3.14159265358979 * 180, &config::kPhaseAngleRange, 3000},
                   {-1e300, &config::kPhaseAngleRange, -3000},
                   {std::numeric_limits<double>::quiet_NaN(), &config::kPhaseAngleRange, 0},
                   {std::numeric_limits<double>::infinity(), &config::kAmpBalanceRange, 20000},
                   {0, &config::kAmpBalanceRange, 1},
                   {300, &config::kXtalCapRange, 255},
                   {-1, &config::kXtalCapRange, 0}};
    for (const auto& o : outside) {
        log.clear();
        EXPECT_EQ(config::sliderPosition(o.value, *o.range, "sld"), o.position) << o.value;
        EXPECT_EQ(log.size(), 1u) << o.value;
    }
}

} // namespace
