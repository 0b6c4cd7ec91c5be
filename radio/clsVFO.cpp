// The VFO: tuned frequency, oscillator frequency and the tuning step.
#include "radio/clsVFO.h"

#include <cmath>
#include <limits>

#include "frame/ScopedFlag.h"
#include "platform/runtime/Convert.h"
#include "platform/runtime/Hooks.h"
#include "platform/runtime/RuntimeError.h"
#include "radio/SettingsSection.h"

namespace {

int32_t timesTen(int32_t hertz, const char* source) {
    const int64_t tenths = int64_t{hertz} * 10;
    if (!std::in_range<int32_t>(tenths)) runtime::raise(runtime::err::kOverflow, source);
    return static_cast<int32_t>(tenths);
}

int32_t wholeHertz(int32_t tenths) {
    return static_cast<int32_t>(std::floor(tenths / 10.0 + 0.5));
}

// An oscillator limit as a 32-bit frequency: a float limit is rounded, and one beyond 32 bits stands
// for the end of the range, since no frequency the VFO sends can pass it anyway.
int32_t saturate(double value) {
    const double r = runtime::roundHalfEven(value);
    if (r >= 2147483647.0) return std::numeric_limits<int32_t>::max();
    if (r <= -2147483648.0) return std::numeric_limits<int32_t>::min();
    return static_cast<int32_t>(r);
}

} // namespace

clsVFO::clsVFO(profile::SettingsStore& store) : store_(store) {}

clsVFO::~clsVFO() {
    runtime::resumeNext([&] { SaveSettings(); });
    oscType_ = nullptr;
}

void clsVFO::setRXMinFreq(int32_t hertz) {
    modelMin_ = timesTen(hertz, "clsVFO.RXMinFreq");
}

void clsVFO::setRxMaxFreq(int32_t hertz) {
    modelMax_ = timesTen(hertz, "clsVFO.RxMaxFreq");
}

int32_t clsVFO::CalibOffset() const noexcept {
    return wholeHertz(calibOffset_);
}

void clsVFO::setCalibOffset(int32_t hertz) {
    calibOffset_ = timesTen(hertz, "clsVFO.CalibOffset");
}

int32_t clsVFO::IFFrequency() const noexcept {
    return wholeHertz(if_);
}

void clsVFO::setIFFrequency(int32_t hertz) {
    if_ = timesTen(hertz, "clsVFO.IFFrequency");
}

std::string clsVFO::FormattedTunedFreq() const {
    const int64_t value = tunedFrequency_;
    std::string digits = std::to_string(value < 0 ? -value : value);
    if (digits.size() < 9) digits.insert(0, 9 - digits.size(), '0');
    return value < 0 ? "-" + digits : digits;
}

void clsVFO::setTuneStep(double value) {
    if (tuneStepLock_) return;
    tuneStep_ = value;
    setTuneStepLSD(value);
}

void clsVFO::setTuneStepLSD(double value) {
    if (tuneStepLock_) return;
    tuneStepLSD_ = value > 10'000 ? 10'000 : value;
}

void clsVFO::setOscMultiplier(int32_t value) {
    oscMultiplier_ = value;
    if (!oscType_) runtime::raise(runtime::err::kObjectNotSet, "clsVFO.OscMultiplier");
    if (pllMultiplier_ == 0) runtime::raise(runtime::err::kDivisionByZero, "clsVFO.OscMultiplier");
    oscType_->setFreqScaling(static_cast<double>(oscMultiplier_) / pllMultiplier_);
}

void clsVFO::setPLLMultiplier(int32_t value) {
    pllMultiplier_ = value;
    if (!oscType_) runtime::raise(runtime::err::kObjectNotSet, "clsVFO.PLLMultiplier");
    if (pllMultiplier_ == 0) runtime::raise(runtime::err::kDivisionByZero, "clsVFO.PLLMultiplier");
    oscType_->setFreqScaling(static_cast<double>(oscMultiplier_) / pllMultiplier_);
}

void clsVFO::clampToModelRange() {
    // The minimum is applied last, so it wins when it lies above the maximum.
    if (tunedFrequency_ > modelMax_) tunedFrequency_ = modelMax_;
    if (tunedFrequency_ < modelMin_) tunedFrequency_ = modelMin_;
}

void clsVFO::setTunedFrequency(int32_t value) {
    if (tunedBusy_) return;
    const ScopedFlag busy(tunedBusy_);
    tunedFrequency_ = runtime::CLng(std::fabs(static_cast<double>(value)));
    clampToModelRange();
    Refresh();
}

int32_t clsVFO::Refresh() {
    if (refreshBusy_) return 0;
    const ScopedFlag busy(refreshBusy_);
    clampToModelRange();

    // Without a finite, non-zero ratio there is no oscillator frequency to send and no way back from
    // a clamped one: nothing is sent rather than a garbage frequency.
    if (pllMultiplier_ == 0) return 0;
    const double r = static_cast<float>(static_cast<double>(oscMultiplier_) / pllMultiplier_);
    if (!std::isfinite(r) || r == 0) return 0;

    const int64_t ifSigned = hiSideLo_ ? if_ : -int64_t{if_};
    const int64_t s = int64_t{tunedFrequency_} + calibOffset_ + ifSigned;
    // Saturates before the oscillator's clamp brings it back into range.
    oscOut_ = saturate(std::fabs(r * static_cast<double>(s)));

    const auto takeBack = [&] {
        runtime::resumeNext([&] {
            const double tuned = oscOut_ / r - calibOffset_ - static_cast<double>(ifSigned);
            tunedFrequency_ = runtime::CLng(tuned);
        });
    };
    if (!oscType_) return 0;
    double limit = 0;
    if (runtime::resumeNext([&] { limit = oscType_->MaxFreq(); }) && oscOut_ > limit) {
        oscOut_ = saturate(limit);
        takeBack();
    }
    if (runtime::resumeNext([&] { limit = oscType_->MinFreq(); }) && oscOut_ < limit) {
        oscOut_ = saturate(limit);
        takeBack();
    }
    runtime::resumeNext([&] { oscType_->SetFrequency(oscOut_); });
    return 0;
}

double clsVFO::stepFrom(double increment) {
    // Without a grid there is nothing to snap to: the step starts from the tuned frequency itself.
    double snapped = tunedFrequency_;
    if (tuneStepLSD_ > 0 && std::isfinite(tuneStepLSD_))
        snapped = std::floor(tunedFrequency_ / tuneStepLSD_ + 0.5) * tuneStepLSD_;
    lastSnap_ = snapped;
    const double step = increment != 0 ? increment : tuneStep_;
    runtime::resumeNext([&] { tunedFrequency_ = runtime::CLng(snapped + step); });
    Refresh();
    return tunedFrequency_;
}

double clsVFO::Inc_Freq(double increment) {
    if (incBusy_) return 0;
    const ScopedFlag busy(incBusy_);
    return stepFrom(increment);
}

double clsVFO::Dec_Freq(double decrement) {
    if (decBusy_) return 0;
    const ScopedFlag busy(decBusy_);
    const double step = decrement != 0 ? decrement : tuneStep_;
    return Inc_Freq(-std::fabs(step));
}

int32_t clsVFO::SaveSettings() {
    SettingsSection settings(store_, name_, "clsVFO");
    settings.writeInt("IFFrequency", IFFrequency());
    settings.writeBool("HiSideLo", hiSideLo_);
    settings.writeBool("AutoUpdate", autoUpdate_);
    settings.writeInt("TunedFrequency", tunedFrequency_);
    // Halves go up.
    settings.writeDouble("TuneStep", std::floor(tuneStep_ + 0.5));
    settings.writeInt("OscMultiplier", oscMultiplier_);
    settings.writeInt("PLLMultiplier", pllMultiplier_);
    settings.writeInt("CalibOffset", CalibOffset());
    settings.writeInt("DDSInterfaceType", ddsInterfaceType_);
    settings.commit();
    return 0;
}

int32_t clsVFO::RestoreSettings() {
    const SettingsSection settings(store_, name_, "clsVFO");
    // A stored value whose tenfold does not fit is refused like one that does not parse.
    const auto throughSetter = [&](const char* key, int32_t current, void (clsVFO::*setter)(int32_t)) {
        const int32_t value = settings.readInt32(key, current);
        if (!runtime::resumeNext([&] { (this->*setter)(value); }))
            runtime::AddLog(std::string("clsVFO.RestoreSettings : \"") + key +
                            "\" is out of range, value kept");
    };
    throughSetter("IFFrequency", IFFrequency(), &clsVFO::setIFFrequency);
    hiSideLo_ = settings.readBool("HiSideLo", hiSideLo_);
    autoUpdate_ = settings.readBool("AutoUpdate", autoUpdate_);
    tunedFrequency_ = settings.readInt32("TunedFrequency", tunedFrequency_);
    tuneStep_ = settings.readDouble("TuneStep", tuneStep_);
    oscMultiplier_ = settings.readInt32("OscMultiplier", oscMultiplier_);
    pllMultiplier_ = settings.readInt32("PLLMultiplier", pllMultiplier_);
    throughSetter("CalibOffset", CalibOffset(), &clsVFO::setCalibOffset);
    ddsInterfaceType_ = settings.readInt32("DDSInterfaceType", ddsInterfaceType_);
    return 0;
}
