// The shared steps of the oscillator classes.
#include "radio/OscillatorBase.h"

#include <cmath>

#include "frame/ScopedFlag.h"
#include "platform/runtime/Convert.h"
#include "platform/runtime/Hooks.h"
#include "platform/runtime/RuntimeError.h"
#include "radio/LineInterface.h"

namespace {
constexpr double kTwoTo32 = 4294967296.0;
constexpr double kFloatMax = 3.4028234663852886e38;
} // namespace

OscillatorBase::OscillatorBase(const Traits& traits, profile::SettingsStore& store)
    : traits_(traits), store_(store), name_(traits.className) {
    setClkIn(traits.clkIn);
}

double OscillatorBase::ClkIn() const {
    return std::floor(clock10_ / 10.0 + 0.5);
}

void OscillatorBase::setClkIn(double hertz) {
    clock10_ = hertz * 10.0;
    // The factor follows the clock before the limits, so a limit that cannot be held never leaves a
    // factor of the previous clock behind. A clock of 0 leaves it at 0, not infinite: SetFrequency then
    // says the clock is wrong and sends nothing, instead of turning every frequency into word 2.
    const bool zero = clock10_ == 0;
    factor_ = zero || !std::isfinite(clock10_) ? 0 : kTwoTo32 / clock10_;
    limitsFromClock();
    if (zero) runtime::raise(runtime::err::kDivisionByZero, std::string(className()) + ".ClkIn");
}

void OscillatorBase::limitsFromClock() {
    setMaxFreq(clock10_ / 2.0);
}

void OscillatorBase::setBaseFrequency(int32_t hertz) {
    base_ = hertz;
    limitsAroundBase();
}

void OscillatorBase::limitsAroundBase() {
    const double halfRange = ClkIn() / traits_.halfRangeDivisor * freqScaling_;
    setMaxFreq((base_ + halfRange) * 10.0);
    setMinFreq((base_ - halfRange) * 10.0);
}

double OscillatorBase::toLimit(double tenthsOfHertz) const {
    if (!traits_.floatLimits) return runtime::CLng(tenthsOfHertz);
    if (std::isfinite(tenthsOfHertz) && std::fabs(tenthsOfHertz) > kFloatMax)
        runtime::raise(runtime::err::kOverflow, std::string(className()) + ".MaxFreq");
    return static_cast<float>(tenthsOfHertz);
}

void OscillatorBase::setMaxFreq(double tenthsOfHertz) {
    maxFreq_ = toLimit(tenthsOfHertz);
}

void OscillatorBase::setMinFreq(double tenthsOfHertz) {
    minFreq_ = toLimit(tenthsOfHertz);
}

void OscillatorBase::setFreqScaling(double value) {
    if (std::isfinite(value) && std::fabs(value) > kFloatMax)
        runtime::raise(runtime::err::kOverflow, std::string(className()) + ".FreqScaling");
    freqScaling_ = static_cast<float>(value);
}

bool OscillatorBase::AutoRefresh() const {
    if (!traits_.hasAutoRefresh) unsupported("AutoRefresh");
    return autoRefresh_;
}

void OscillatorBase::setAutoRefresh(bool value) {
    if (!traits_.hasAutoRefresh) unsupported("AutoRefresh");
    autoRefresh_ = value;
}

int32_t OscillatorBase::clamp(int32_t f) const {
    // Only a limit inside the 32-bit range can be below or above f, so the conversions cannot fail.
    if (f > maxFreq_) f = runtime::CLng(maxFreq_);
    if (traits_.clampsBelow && f < minFreq_) f = runtime::CLng(minFreq_);
    return f;
}

void OscillatorBase::showClkInMessage() const {
    runtime::MsgBox(std::string(kClkInMessage) + runtime::CStr(ClkIn()), runtime::mb::kOkOnly);
}

std::optional<int32_t> OscillatorBase::tuningWord(int32_t f) const {
    const double product = runtime::roundHalfEven(f * factor_);
    if (!std::isfinite(product) || product < -2147483648.0 || product > 2147483647.0) return std::nullopt;
    return static_cast<int32_t>(product);
}

std::optional<double> OscillatorBase::wordLimit() const {
    if (!(factor_ > 0) || !std::isfinite(factor_)) return std::nullopt;
    const auto fits = [&](double f) { return runtime::roundHalfEven(f * factor_) <= 2147483647.0; };
    double f = std::floor(2147483647.5 / factor_);
    if (f > 2147483647.0) return std::nullopt;
    // The estimate is off by at most a step of the product's rounding; settle on the exact boundary.
    while (f > 0 && !fits(f))
        f -= 1;
    while (fits(f + 1))
        f += 1;
    if (!traits_.floatLimits) return f;
    // A float limit is the largest float at or below it, so its word fits too.
    float limit = static_cast<float>(f);
    if (static_cast<double>(limit) > f) limit = std::nextafter(limit, 0.0f);
    return static_cast<double>(limit);
}

double OscillatorBase::MaxFreq() const {
    if (!traits_.limitedByWord) return maxFreq_;
    // Read against the clock in force, so a calibrated clock moves the limit with it. SetFrequency's own
    // clamp keeps the stored limit, where a word that does not fit still becomes 2.
    const std::optional<double> top = wordLimit();
    return top && *top < maxFreq_ ? *top : maxFreq_;
}

std::optional<int32_t> OscillatorBase::SetFrequency(int32_t f) {
    if (traits_.needsInitialise && !initialised_) return std::nullopt;
    if (setFrequencyBusy_) return f;
    const ScopedFlag busy(setFrequencyBusy_);
    f = clamp(f);
    if (!factorIsSet()) {
        showClkInMessage();
        return f;
    }
    const int32_t word = tuningWord(f).value_or(2);
    currentTuningWord_ = word;
    output(f, word);
    return f;
}

int32_t OscillatorBase::Initialise() {
    if (initialiseGuard_) return 0;
    const ScopedFlag guard(initialiseGuard_);
    if (traits_.restoresSettings) RestoreSettings();
    startSequence();
    initialised_ = true;
    return 0;
}

SettingsSection OscillatorBase::section() const {
    return SettingsSection(store_, rxName_, std::string(className()));
}

void OscillatorBase::SaveSettings() {
    if (!hasSection()) return;
    SettingsSection settings = section();
    settings.writeDouble("CLKIn", ClkIn());
    settings.writeInt("BaseFrequency", base_);
    if (traits_.hasAutoRefresh) settings.writeBool("AutoRefresh", autoRefresh_);
    saveExtra(settings);
    settings.commit();
}

void OscillatorBase::RestoreSettings() {
    if (!hasSection()) return;
    const SettingsSection settings = section();
    setClkIn(settings.readDouble(traits_.clockKey, ClkIn()));
    if (traits_.hasAutoRefresh) autoRefresh_ = settings.readBool("AutoRefresh", autoRefresh_);
    setBaseFrequency(settings.readInt32("BaseFrequency", base_));
    restoreExtra(settings);
}

void OscillatorBase::saveAtEnd() noexcept {
    if (initialised_) runtime::resumeNext([&] { SaveSettings(); });
}

LineInterface& OscillatorBase::lines() const {
    if (!ifHandler_) runtime::raise(runtime::err::kObjectNotSet, std::string(className()) + ".IFHandler");
    return *ifHandler_;
}
