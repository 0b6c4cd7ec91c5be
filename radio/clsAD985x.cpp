// The AD9850 and AD9851 drivers.
#include "radio/clsAD985x.h"

#include <array>

#include "frame/ScopedFlag.h"
#include "radio/LineInterface.h"
#include "radio/clsAD9850.h"
#include "radio/clsAD9851.h"

namespace {

std::array<uint8_t, 5> wordBytes(int32_t word, uint8_t control) {
    const auto w = static_cast<uint32_t>(word);
    return {static_cast<uint8_t>(w & 0xFF), static_cast<uint8_t>((w >> 8) & 0xFF),
            static_cast<uint8_t>((w >> 16) & 0xFF), static_cast<uint8_t>((w >> 24) & 0xFF), control};
}

constexpr OscillatorBase::Traits kAd9850{
    .className = "clsAD9850",
    .floatLimits = false,
    .restoresSettings = false,
    .limitedByWord = true,
};

constexpr OscillatorBase::Traits kAd9851{.className = "clsAD9851", .limitedByWord = true};

} // namespace

namespace ad985x {

void startLines(LineInterface& line) {
    line.SDATA(0);
    line.SCLCK(0);
    line.IOUPD(0);
    line.IOUPD(1);
    line.IOUPD(0);
}

void refreshLines(LineInterface& line, int32_t word, uint8_t control) {
    for (const uint8_t byte : wordBytes(word, control))
        line.Out8LSB(byte);
    line.IOUPD(1);
    line.IOUPD(0);
    line.IOUPD(1);
}

} // namespace ad985x

clsAD985x::clsAD985x(const Traits& traits, profile::SettingsStore& store, uint8_t controlByte)
    : OscillatorBase(traits, store), controlByte_(controlByte) {}

std::optional<int32_t> clsAD985x::SetFrequency(int32_t f) {
    if (!Initialised()) return std::nullopt;
    if (sending_) return f;
    const ScopedFlag guard(sending_);
    return OscillatorBase::SetFrequency(f);
}

int32_t clsAD985x::Initialise() {
    if (sending_) return 0;
    const ScopedFlag guard(sending_);
    return OscillatorBase::Initialise();
}

void clsAD985x::startSequence() {
    ad985x::startLines(lines());
    // Sends the word of 0 Hz only on a re-initialisation: the first time the object is not initialised yet.
    OscillatorBase::SetFrequency(0);
}

void clsAD985x::output(int32_t, int32_t word) {
    LineInterface& line = lines();
    const auto bytes = wordBytes(word, controlByte_);
    line.SendSeqLSB(bytes, 5);
    // A buffering adaptor holds the word until it is flushed; the others do nothing here.
    line.UpdateDevice();
}

void clsAD985x::Refresh() {
    if (CMDOutActive() || sending_) return;
    const ScopedFlag guard(sending_);
    const ScopedFlag active(cmdOutActiveFlag());
    LineInterface* line = IFHandler();
    if (!line) return;
    ad985x::refreshLines(*line, CurrentTuningWord(), controlByte_);
    line->UpdateDevice();
}

clsAD9850::clsAD9850(profile::SettingsStore& store) : clsAD985x(kAd9850, store, 0x00) {}

clsAD9850::~clsAD9850() {
    saveAtEnd();
}

clsAD9851::clsAD9851(profile::SettingsStore& store) : clsAD985x(kAd9851, store, 0x01) {}

clsAD9851::~clsAD9851() {
    saveAtEnd();
}
