// The software oscillator.
#include "radio/clsSoftDDS.h"

#include <cmath>

#include "frame/ScopedFlag.h"
#include "platform/runtime/Convert.h"
#include "platform/runtime/RuntimeError.h"

namespace {
// Clocked by the sound card, and running without an Initialise.
constexpr OscillatorBase::Traits kTraits{
    .className = "clsSoftDDS",
    .clkIn = 48'000,
    .floatLimits = false,
    .halfRangeDivisor = 4,
    .clampsBelow = true,
    .needsInitialise = false,
    .hasAutoRefresh = false,
    .clockKey = "CLKIn",
};
} // namespace

clsSoftDDS::clsSoftDDS(profile::SettingsStore& store, BfoKnob* bfoKnob)
    : OscillatorBase(kTraits, store), bfoKnob_(bfoKnob) {
    // The clock write computes the limits around a base of 0; the base is set afterwards without them,
    // and the receiver set-up replaces both before use.
    setClkIn(kTraits.clkIn);
    storeBase(28'304'000);
}

clsSoftDDS::~clsSoftDDS() {
    saveAtEnd();
}

std::optional<int32_t> clsSoftDDS::SetFrequency(int32_t f) {
    // Acts from creation on: there is no hardware to bring up first.
    bool& busy = setFrequencyBusy();
    if (busy) return f;
    const ScopedFlag guard(busy);
    f = clamp(f);
    if (!factorIsSet()) {
        showClkInMessage();
        return f;
    }
    setCurrentTuningWord(tuningWord(f).value_or(2));

    const double scaling = FreqScaling();
    if (scaling == 0 || std::isnan(scaling))
        runtime::raise(runtime::err::kDivisionByZero, "clsSoftDDS.SetFrequency");
    const int64_t difference = int64_t{f} - int64_t{BaseFrequency()} * 10;
    double offset = static_cast<double>(difference) / 10.0 / scaling;
    // The knob moves at most a quarter of the sampling rate either way.
    const double limit = std::trunc(ClkIn() / 4.0);
    if (offset > limit)
        offset = limit;
    else if (offset < -limit)
        offset = -limit;
    const int32_t hertz = runtime::CLng(offset);

    if (!bfoKnob_) runtime::raise(runtime::err::kObjectNotSet, "clsSoftDDS.SetFrequency");
    bfoKnob_->setBfoValue(static_cast<float>(hertz));
    bfoKnob_->SetBFO();
    return f;
}
