// The AD9951 driver.
#include "radio/clsAD9951.h"

#include <array>

#include "frame/ScopedFlag.h"
#include "platform/runtime/RuntimeError.h"
#include "radio/LineInterface.h"

namespace {

constexpr OscillatorBase::Traits kTraits{
    .className = "clsAD9951",
    .clkIn = 360'096'000,
    .floatLimits = false,
    .clampsBelow = true,
    .restoresSettings = false,
    .hasAutoRefresh = false,
    .clockKey = "CLKIn",
    .limitedByWord = true,
};

// The chip's VCO runs in its high range above about this system clock. The number once stood bare
// against a clock in hertz, which set the bit for every clock; read as megahertz it sets the bit for all
// three receiver models alike and clears it for the slow clocks the low range is for.
constexpr double kVcoHighRangeAboveHz = 200'000'000;

constexpr uint8_t kWriteCfr1 = 0x00;
constexpr uint8_t kWriteCfr2 = 0x01;
constexpr uint8_t kWriteFtw0 = 0x04;

} // namespace

clsAD9951::clsAD9951(profile::SettingsStore& store) : OscillatorBase(kTraits, store) {
    // The base's clock write ran before this class existed; the creation limits are these.
    setMaxFreq(static_cast<double>(static_cast<int64_t>(ClkIn()) / 2));
    setMinFreq(0);
}

clsAD9951::~clsAD9951() {
    saveAtEnd();
}

void clsAD9951::limits() {
    const double halfRange = ClkIn() / 2.0 * FreqScaling();
    // Each limit on its own: one that does not fit keeps its value and the other is still computed.
    runtime::resumeNext([&] { setMaxFreq((BaseFrequency() + halfRange) * 10.0); });
    runtime::resumeNext([&] {
        const double low = (BaseFrequency() - halfRange) * 10.0;
        setMinFreq(low);
        if (MinFreq() < 0) setMinFreq(0);
    });
}

void clsAD9951::limitsFromClock() {
    limits();
}

void clsAD9951::setBaseFrequency(int32_t hertz) {
    storeBase(hertz);
    limits();
}

uint8_t clsAD9951::controlRegister2LowByte() const {
    return ClkIn() > kVcoHighRangeAboveHz ? 0x47 : 0x43;
}

void clsAD9951::InitialiseChip() {
    LineInterface& line = lines();
    line.ResetDevice();
    const std::array<uint8_t, 5> cfr1{kWriteCfr1, 0x00, 0x00, 0x02, 0x02};
    line.SendSeqMSB(cfr1, 5);
    line.UpdateDevice();
    const std::array<uint8_t, 4> cfr2{kWriteCfr2, 0x00, 0x00, controlRegister2LowByte()};
    line.SendSeqMSB(cfr2, 4);
    line.UpdateDevice();
}

void clsAD9951::startSequence() {
    LineInterface& line = lines();
    line.SDATA(0);
    line.SCLCK(0);
    line.IOUPD(1);
    InitialiseChip();
}

int32_t clsAD9951::Initialise() {
    if (sending_) return 0;
    const ScopedFlag guard(sending_);
    return OscillatorBase::Initialise();
}

std::optional<int32_t> clsAD9951::setFrequencyInside(int32_t f) {
    if (!Initialised()) return std::nullopt;
    if (setFrequencyBusy()) return f;
    lastRequested_ = f;
    return OscillatorBase::SetFrequency(f);
}

std::optional<int32_t> clsAD9951::SetFrequency(int32_t f) {
    if (!Initialised()) return std::nullopt;
    if (sending_) return f;
    const ScopedFlag guard(sending_);
    return setFrequencyInside(f);
}

void clsAD9951::output(int32_t, int32_t word) {
    const auto w = static_cast<uint32_t>(word);
    const std::array<uint8_t, 5> ftw{kWriteFtw0, static_cast<uint8_t>(w >> 24), static_cast<uint8_t>(w >> 16),
                                     static_cast<uint8_t>(w >> 8), static_cast<uint8_t>(w)};
    // From the word on, a failing line interface is ignored and the call still returns its frequency.
    runtime::resumeNext([&] { lines().SendSeqMSB(ftw, 5); });
    runtime::resumeNext([&] { lines().UpdateDevice(); });
}

void clsAD9951::Refresh() {
    if (sending_) return;
    const ScopedFlag guard(sending_);
    OscillatorBase::Initialise();
    setFrequencyInside(lastRequested_);
}
