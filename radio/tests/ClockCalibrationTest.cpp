// The clock calibration's formula on its own: the clock under which the word last sent gives the station.
#include <gtest/gtest.h>

#include <cmath>
#include <optional>

#include "radio/ClockCalibration.h"

namespace {

using radio::calibratedClock;
using radio::CalibrationReading;

constexpr double kTwoTo32 = 4294967296.0;

TEST(ClockCalibration, TheNewClockMakesTheWordGiveTheStationOnEitherSideAtAnyRatio) {
    const struct Case {
        const char* name;
        CalibrationReading reading;
        double clock;    // worked out by hand from the word formula
        double oscHertz; // what the oscillator must run at for the station
    } cases[] = {
        {"x1 high side, heard 20 Hz high",
         {7'100'000, 455'000, true, 1, 1, 648'971'276},
         49'999'867.669459,
         7'555'000},
        {"x4 low side", {3'000'010, 12'000, false, 4, 1, 513'340'000}, 99'999'261.543000, 11'952'040},
        {"x0.5 high side", {14'199'950, 12'000, true, 1, 2, 152'590'000}, 200'012'649.788280, 7'105'975},
        {"low side below the IF",
         {5'000'000, 9'000'000, false, 1, 1, 171'798'692},
         99'999'999.906868,
         4'000'000},
        // The ratio 1/3 is the 32-bit float the VFO tunes with, not the exact third.
        {"x1/3 as a float",
         {7'100'000, 0, true, 1, 3, 47'721'858},
         213'000'010.116957,
         7'100'000 * 0.3333333432674408},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::optional<double> clock = calibratedClock(c.reading);
        ASSERT_TRUE(clock.has_value());
        EXPECT_NEAR(*clock, c.clock, 1e-5);
        // Whatever the arithmetic, the word at the new clock is the station's oscillator frequency.
        EXPECT_NEAR(c.reading.tuningWord * *clock / kTwoTo32, c.oscHertz, 1e-6);
    }
}

TEST(ClockCalibration, NoClockWhereNoPositiveClockFollows) {
    const struct Case {
        const char* name;
        CalibrationReading reading;
    } cases[] = {
        {"tuned to the IF on the low side: the oscillator would run at 0 Hz",
         {9'000'000, 9'000'000, false, 1, 1, 100}},
        {"a PLL multiplier of 0", {7'100'000, 455'000, true, 1, 0, 648'971'276}},
        {"an oscillator multiplier of 0", {7'100'000, 455'000, true, 0, 1, 648'971'276}},
        {"a negative ratio", {7'100'000, 455'000, true, -4, 1, 648'971'276}},
        {"a word of 0: never tuned", {7'100'000, 455'000, true, 1, 1, 0}},
        {"a negative word", {7'100'000, 455'000, true, 1, 1, -5}},
    };
    for (const Case& c : cases)
        EXPECT_FALSE(calibratedClock(c.reading).has_value()) << c.name;
}

} // namespace
