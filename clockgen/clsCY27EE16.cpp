// The CY27EE16 clock generator driver.
#include "clockgen/clsCY27EE16.h"

#include <array>
#include <span>

#include "frame/ScopedFlag.h"
#include "platform/runtime/RuntimeError.h"
#include "radio/LineInterface.h"

namespace {

// The AD9851's, in whose place the clock generator stands, without the word limit: it takes dividers.
constexpr OscillatorBase::Traits kTraits{.className = "clsCY27EE16"};

// Registers written per tuning.
constexpr uint8_t kInputRegister = 0x09;
constexpr uint8_t kPllRegisters = 0x40;
constexpr uint8_t kDividerRegister = 0x0C;
constexpr uint8_t kCrosspointRegisters = 0x45;
constexpr uint8_t kRegister44 = 0x44;
constexpr uint8_t kRegister47 = 0x47;
constexpr uint8_t kXtalCapRegister = 0x13;

} // namespace

clsCY27EE16::clsCY27EE16(profile::SettingsStore& store, BfoKnob* bfoKnob)
    : OscillatorBase(kTraits, store), bfoKnob_(bfoKnob) {}

clsCY27EE16::~clsCY27EE16() {
    saveAtEnd();
}

int32_t clsCY27EE16::Initialise() {
    if (sending_) return 0;
    const ScopedFlag busy(sending_);
    OscillatorBase::Initialise();
    writeXtalCap(xtalCap_);
    return 0;
}

void clsCY27EE16::startSequence() {
    lut_.BuildLUT();
    LineInterface& line = lines();
    line.I2CInit();
    line.UpdateDevice();
}

std::optional<int32_t> clsCY27EE16::SetFrequency(int32_t f) {
    if (!Initialised() || sending_) return std::nullopt;
    const ScopedFlag busy(sending_);
    tune(f);
    return std::nullopt;
}

void clsCY27EE16::Refresh() {
    SetFrequency(lastFrequency_);
}

void clsCY27EE16::tune(int32_t f) {
    const clockgen::PllLutPosition position = lut_.PllLutIndex(f);
    // Past the zero entry no setting exists: the call is refused whole, so the chip and the BFO keep
    // the last frequency that had one.
    if (position.index > clockgen::kPllLutZeroEntry) return;
    lastFrequency_ = f;
    runtime::resumeNext([&] { TuneHz(position.remainder); });

    const clockgen::PllLutEntry entry = lut_.entry(position.index);
    const auto byte = [entry](int n) { return static_cast<uint8_t>(entry >> (8 * n)); };
    const uint8_t divider = byte(3) & 0x7F;

    send({kDeviceByte, kInputRegister, static_cast<uint8_t>(calibMode_ ? 0x24 : 0x20)});
    send({kDeviceByte, kPllRegisters, static_cast<uint8_t>(byte(2) | 0xC0), byte(1), byte(0)});
    // Dividers 2 and 3 go through their own crosspoint setting; the zero entry leaves the dividers be.
    if (divider >= 4) {
        send({kDeviceByte, kDividerRegister, divider});
        send({kDeviceByte, kCrosspointRegisters, 0x8E, 0x47});
    } else if (divider == 2) {
        send({kDeviceByte, kDividerRegister, 0x04});
        send({kDeviceByte, kCrosspointRegisters, 0x8E, 0x87});
    } else if (divider == 3) {
        send({kDeviceByte, kDividerRegister, 0x06});
        send({kDeviceByte, kCrosspointRegisters, 0x8E, 0xC7});
    }
    send({kDeviceByte, kRegister44, 0x02});
    send({kDeviceByte, kRegister47, 0x80});
    update();
}

void clsCY27EE16::TuneHz(int32_t hz) {
    if (!bfoKnob_) runtime::raise(runtime::err::kObjectNotSet, "clsCY27EE16.TuneHz");
    bfoKnob_->setBfoValue(static_cast<float>(hz));
    bfoKnob_->SetBFO();
}

void clsCY27EE16::setXtalCap(int32_t cap) {
    xtalCap_ = cap;
    SetXtalCap(cap);
}

void clsCY27EE16::SetXtalCap(int32_t cap) {
    if (!Initialised() || sending_) return;
    const ScopedFlag busy(sending_);
    writeXtalCap(cap);
}

void clsCY27EE16::writeXtalCap(int32_t cap) {
    send({kDeviceByte, kXtalCapRegister, static_cast<uint8_t>(cap & 0xFF)});
    update();
}

void clsCY27EE16::send(std::initializer_list<uint8_t> bytes) {
    const std::span<const uint8_t> write(bytes.begin(), bytes.size());
    runtime::resumeNext([&] { lines().I2CSendSeq(write, static_cast<int32_t>(write.size())); });
}

void clsCY27EE16::update() {
    runtime::resumeNext([&] { lines().UpdateDevice(); });
}

void clsCY27EE16::saveExtra(SettingsSection& settings) {
    settings.writeInt("XtalCap", xtalCap_);
}

void clsCY27EE16::restoreExtra(const SettingsSection& settings) {
    // Through the setter's steps: a restore on an initialised chip writes the register at once. Inside
    // Initialise the line is already held, so the write goes past the guard.
    xtalCap_ = settings.readInt32("XtalCap", 0);
    if (Initialised()) writeXtalCap(xtalCap_);
}
