// Tuning step texts and places.
#include "frontpanel/TuningSteps.h"

#include <cmath>

#include "frame/PublicFuncs.h"
#include "platform/runtime/Convert.h"
#include "platform/runtime/RuntimeError.h"

namespace frontpanel {

StepPlace StepPlaceOf(const TuningStepTable& steps, int32_t index) {
    if (index < 0 || index >= kTuningStepEntries)
        runtime::raise(runtime::err::kSubscriptOutOfRange, "TuningSteps");
    const int32_t digit = index <= 4 ? 4 : index <= 8 ? 5 : index <= 11 ? 6 : index <= 14 ? 7 : 8;
    const double unit = std::pow(10.0, 8 - digit);
    return {digit, static_cast<float>(steps[static_cast<size_t>(index)] / unit)};
}

std::string TuningStepListText(int32_t step) {
    if (step >= 10000) return PublicFuncs::PadLeft(runtime::CStr(step / 1e4) + " KHz", 7, " ");
    if (step >= 10) return PublicFuncs::PadLeft(runtime::CStr(step / 10.0) + " Hz", 6, " ");
    return PublicFuncs::PadLeft(runtime::CStr(static_cast<int64_t>(step)) + " dHz", 7, " ");
}

std::string TuningRateCaption(int32_t digit, double step) {
    if (digit < 0) return {};
    if (digit <= 1) return "x " + runtime::CStr(std::floor(step / 1e7)) + " MHz";
    if (digit <= 4) return "x " + runtime::CStr(step / 1e4) + " KHz";
    if (digit <= 7) return "x " + runtime::CStr(step / 10) + " Hz";
    return "x " + runtime::CStr(step) + " dHz";
}

} // namespace frontpanel
