// The arithmetic of the configuration dialog's three sliders, which act on the live receiver at once:
// the I/Q amplitude balance, the I/Q phase correction and the CY27EE16's crystal load.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "frame/NumberFormat.h"
#include "frame/ReceiverState.h"

class clsFFTFilter;
class Oscillator;

namespace config {

// The fourteen-decimal value the stored angles are computed with; the full double constant would move
// stored angles by a hair at every opening.
inline constexpr double kPi = 3.14159265358979;

struct SliderRange {
    int32_t Min;
    int32_t Max;
    int32_t SmallChange;
    int32_t LargeChange;
    int32_t TickFrequency;
};
inline constexpr SliderRange kAmpBalanceRange{1, 20000, 1, 10, 200};    // 1/10000 of gain
inline constexpr SliderRange kPhaseAngleRange{-3000, 3000, 1, 10, 100}; // 1/100 degree
inline constexpr SliderRange kXtalCapRange{0, 255, 1, 5, 8};            // the load register's steps
inline constexpr int32_t kAmpBalanceReset = 10000;
inline constexpr int32_t kPhaseAngleReset = 0;

// Gain of a position: position / 10000.
double gainOf(int32_t position);
// Radians of a position: position / 100 x pi / 180, in that order.
double angleOf(int32_t position);
// "0.0000" in the user's separator: the gain read-out and tooltip.
std::string gainText(double gain, const NumberFormat::Separators& separators);
// The phase slider's tooltip: the angle in radians on "0.0000", then " Radians".
std::string radiansText(double angle, const NumberFormat::Separators& separators);
// The phase read-out: position / 100 on "00.00", then " Degrees" (150 is "01.50 Degrees").
std::string degreesText(int32_t position, const NumberFormat::Separators& separators);

// The slider position of a live value, rounded half to even and clamped into the slider's range (with a
// trace line naming what, for a value no position can show).
int32_t sliderPosition(double value, const SliderRange& range, std::string_view what);
// The phase position of an angle in radians: angle x 100 / pi x 180.
int32_t phasePosition(double angle);
// The amplitude position of a balance: balance x 10000.
int32_t balancePosition(float balance);

// The live half of each handler, run after the read-out has been repainted.
void putAmpBalance(ReceiverState& state, double gain);
// Into the filter's next design; the filters are marked out of date so the housekeeping rebuilds them.
void putPhaseAngle(clsFFTFilter& hilbertFilter1, ReceiverState& state, double angle);
// The crystal load goes to the CY27EE16 object; the chip is written only while that object is the
// oscillator in use (inUse), so no write is clocked onto the lines of another model's chip.
void putXtalCap(Oscillator* cy27ee16, const Oscillator* inUse, int32_t position);

} // namespace config
