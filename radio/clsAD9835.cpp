// The AD9835 driver.
#include "radio/clsAD9835.h"

#include <array>
#include <exception>

#include "frame/ScopedFlag.h"
#include "platform/runtime/RuntimeError.h"
#include "radio/LineInterface.h"
#include "radio/clsVFO.h"

namespace {

constexpr OscillatorBase::Traits kTraits{
    .className = "clsAD9835",
    .clkIn = 5'000'000,
    .floatLimits = false,
    .clampsBelow = true,
    .hasAutoRefresh = false,
    .limitedByWord = true,
};

} // namespace

clsAD9835::clsAD9835(profile::SettingsStore& store) : OscillatorBase(kTraits, store) {}

clsAD9835::~clsAD9835() {
    saveAtEnd();
}

void clsAD9835::startSequence() {
    LineInterface& line = lines();
    line.SDATA(0);
    line.SCLCK(0);
    line.IOUPD(0);
    // Frame sync low opens the first word; the clock's fall at the start of the first Out8 is a
    // seventeenth edge, and part of the start sequence's wire pattern.
    line.IOUPD(1);
    line.SDATA(0);
    line.SCLCK(1);
    line.IOUPD(0);
    line.Out8(0xF8);
    line.Out8(0x00);
    line.IOUPD(1);
    line.IOUPD(0);
    line.Out8(0xC0);
    line.Out8(0x00);
    line.IOUPD(1);
    line.IOUPD(0);
    line.Out8(0x80);
    line.Out8(0x00);
    line.IOUPD(1);
}

int32_t clsAD9835::Initialise() {
    if (sending_) return 0;
    const ScopedFlag guard(sending_);
    return OscillatorBase::Initialise();
}

std::optional<int32_t> clsAD9835::SetFrequency(int32_t f) {
    if (!Initialised()) return std::nullopt;
    if (sending_) return f;
    const ScopedFlag guard(sending_);
    return setFrequencyInside(f);
}

std::optional<int32_t> clsAD9835::setFrequencyInside(int32_t f) {
    if (!Initialised()) return std::nullopt;
    if (setFrequencyBusy()) return f;
    const ScopedFlag busy(setFrequencyBusy());
    // Any error on the way ends the call quietly, with the remaining words unsent.
    try {
        f = clamp(f);
        if (!factorIsSet()) {
            showClkInMessage();
            return f;
        }
        const std::optional<int32_t> word = tuningWord(f);
        if (!word) return std::nullopt;
        setCurrentTuningWord(*word);
        const auto w = static_cast<uint32_t>(*word);
        const auto lo = w & 0xFFFF;
        const auto hi = w >> 16;
        const std::array<uint16_t, 6> frames{
            0x8000,
            0xC000,
            static_cast<uint16_t>(0x3300 | ((hi >> 8) & 0xFF)),
            static_cast<uint16_t>(0x2200 | (hi & 0xFF)),
            static_cast<uint16_t>(0x3100 | ((lo >> 8) & 0xFF)),
            static_cast<uint16_t>(0x2000 | (lo & 0xFF)),
        };
        LineInterface* line = IFHandler();
        if (!line) return std::nullopt;
        for (const uint16_t frame : frames)
            line->Out16(frame);
        line->UpdateDevice();
        return f;
    } catch (const std::exception&) {
        return std::nullopt;
    }
}

void clsAD9835::Refresh() {
    if (CMDOutActive() || sending_) return;
    const ScopedFlag guard(sending_);
    const ScopedFlag active(cmdOutActiveFlag());
    const clsVFO* vfo = Parent();
    if (!vfo) runtime::raise(runtime::err::kObjectNotSet, "clsAD9835.Refresh");
    setFrequencyInside(vfo->OscOut());
}
