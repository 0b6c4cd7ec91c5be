// The bit sequences every line interface shares, over its own line members.
#include "radio/LineInterfaceBase.h"

#include <cmath>

#include "frame/ScopedFlag.h"
#include "platform/runtime/RuntimeError.h"

namespace {
constexpr uint8_t kMsbMasks[] = {0x80, 0x40, 0x20, 0x10, 0x08, 0x04, 0x02, 0x01};
constexpr uint8_t kLsbMasks[] = {0x01, 0x02, 0x04, 0x08, 0x10, 0x20, 0x40, 0x80};
} // namespace

LineInterfaceBase::LineInterfaceBase(std::string className, double defaultWaitSeconds,
                                     profile::SettingsStore& store, modTiming::Timing* timing)
    : className_(className), name_(std::move(className)), defaultWaitSeconds_(defaultWaitSeconds),
      waitMicroseconds_(defaultWaitSeconds * 1'000'000.0), store_(store), timing_(timing) {
    if (timing_) timing_->InitTiming();
}

void LineInterfaceBase::settle() const {
    if (timing_) timing_->DelayMicroseconds(static_cast<float>(waitMicroseconds_));
}

void LineInterfaceBase::restoreWaitTime(const SettingsSection& settings, std::string_view key) {
    const double seconds = settings.readDouble(key, WaitTime());
    setWaitTime(std::isfinite(seconds) && seconds >= 0 ? seconds : defaultWaitSeconds_);
}

void LineInterfaceBase::checkCount(std::span<const uint8_t> bytes, int32_t count, std::string_view source) {
    // Checked before the first line moves, so a bad count never leaves a half-framed word on the chip.
    if (count > 0 && static_cast<std::size_t>(count) > bytes.size())
        runtime::raise(runtime::err::kSubscriptOutOfRange, source);
}

void LineInterfaceBase::sequenceOut8(uint8_t value, bool msbFirst) {
    SCLCK(0);
    for (const uint8_t mask : msbFirst ? kMsbMasks : kLsbMasks) {
        SDATA(value & mask);
        SCLCK(1);
        SCLCK(0);
    }
}

void LineInterfaceBase::sequenceOut16(uint16_t value) {
    IOUPD(0);
    SCLCK(0);
    for (uint32_t mask = 0x8000; mask != 0; mask >>= 1) {
        SDATA(static_cast<int32_t>(value & mask));
        SCLCK(1);
        SCLCK(0);
    }
    IOUPD(1);
}

int32_t LineInterfaceBase::sequenceSend(std::span<const uint8_t> bytes, int32_t count, bool msbFirst) {
    if (sequencesNeedInitialise() && !initialised_) return 0;
    bool& busy = msbFirst ? msbBusy_ : lsbBusy_;
    if (busy) return kSequenceBusy;
    checkCount(bytes, count, msbFirst ? "SendSeqMSB" : "SendSeqLSB");
    // A line change that fails part-way must not leave the flag set: every later burst would be refused
    // and the radio could never be tuned again.
    const ScopedFlag guard(busy);
    IOUPD(0);
    SCLCK(0);
    for (int32_t i = 0; i < count; ++i) {
        for (const uint8_t mask : msbFirst ? kMsbMasks : kLsbMasks) {
            SDATA(bytes[static_cast<std::size_t>(i)] & mask);
            SCLCK(1);
            SCLCK(0);
        }
    }
    IOUPD(1);
    return 0;
}

void LineInterfaceBase::sequenceI2CInit() {
    setI2CClock(1);
    setI2CData(1);
}

int32_t LineInterfaceBase::sequenceI2CSendSeq(std::span<const uint8_t> bytes, int32_t count) {
    checkCount(bytes, count, "I2CSendSeq");
    I2CInit();
    i2cIdleWait();
    // Start: data falls while the clock is high.
    setI2CData(0);
    i2cWait();
    setI2CClock(0);
    for (int32_t i = 0; i < count; ++i) {
        const uint8_t byte = bytes[static_cast<std::size_t>(i)];
        for (const uint8_t mask : kMsbMasks) {
            setI2CData((byte & mask) == mask ? 1 : 0);
            setI2CClock(1);
            i2cWait();
            setI2CClock(0);
        }
        // The acknowledge clock, with the data line released; the bit is not read back.
        setI2CData(1);
        setI2CClock(1);
        i2cWait();
        setI2CClock(0);
        i2cWait();
    }
    // Stop: data rises while the clock is high.
    setI2CClock(0);
    setI2CData(0);
    i2cWait();
    setI2CClock(1);
    i2cWait();
    setI2CData(1);
    return 0;
}

void LineInterfaceBase::setI2CClock(int32_t) {
    unsupported("I2CSendSeq");
}

void LineInterfaceBase::setI2CData(int32_t) {
    unsupported("I2CSendSeq");
}
