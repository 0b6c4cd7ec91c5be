// The sliders' arithmetic and their live effects.
#include "config/ConfigSliders.h"

#include <algorithm>
#include <cmath>

#include "clockgen/clsCY27EE16.h"
#include "dsp/clsFFTFilter.h"
#include "platform/runtime/Convert.h"
#include "platform/runtime/Hooks.h"
#include "platform/runtime/RuntimeError.h"

namespace config {

double gainOf(int32_t position) {
    return position / 10000.0;
}

double angleOf(int32_t position) {
    return position / 100.0 * kPi / 180.0;
}

std::string gainText(double gain, const NumberFormat::Separators& separators) {
    return NumberFormat::Format(gain, "0.0000", separators);
}

std::string radiansText(double angle, const NumberFormat::Separators& separators) {
    return NumberFormat::Format(angle, "0.0000", separators) + " Radians";
}

std::string degreesText(int32_t position, const NumberFormat::Separators& separators) {
    return NumberFormat::Format(position / 100.0, "00.00", separators) + " Degrees";
}

int32_t sliderPosition(double value, const SliderRange& range, std::string_view what) {
    const double rounded = std::isnan(value) ? 0.0 : runtime::roundHalfEven(value);
    const double position =
        std::clamp(rounded, static_cast<double>(range.Min), static_cast<double>(range.Max));
    if (std::isnan(value) || position != rounded)
        runtime::AddLog("frmConfig.Form_Load : " + std::string(what) + " " +
                        (std::isfinite(value) ? runtime::CStr(value) : std::to_string(value)) +
                        " is outside the slider, shown as " + std::to_string(static_cast<int32_t>(position)));
    return static_cast<int32_t>(position);
}

int32_t phasePosition(double angle) {
    return sliderPosition(angle * 100.0 / kPi * 180.0, kPhaseAngleRange, "sldPhaseAngle");
}

int32_t balancePosition(float balance) {
    return sliderPosition(static_cast<double>(balance) * 10000.0, kAmpBalanceRange, "sldAmpBalance");
}

void putAmpBalance(ReceiverState& state, double gain) {
    state.SoundcardCorrectionAmpBalance = static_cast<float>(gain);
}

void putPhaseAngle(clsFFTFilter& hilbertFilter1, ReceiverState& state, double angle) {
    hilbertFilter1.PhaseAngle = angle;
    state.FiltersDirty = true;
}

void putXtalCap(Oscillator* cy27ee16, const Oscillator* inUse, int32_t position) {
    auto* chip = dynamic_cast<clsCY27EE16*>(cy27ee16);
    if (!chip) runtime::raise(runtime::err::kObjectNotSet, "frmConfig.sldCY27EE16XtalCap_Scroll");
    if (inUse == cy27ee16)
        chip->setXtalCap(position);
    else
        chip->keepXtalCap(position);
}

} // namespace config
