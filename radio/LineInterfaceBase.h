// What every line interface class shares: the common state, the settle wait, and the bit sequences
// (Out8, Out8LSB, Out16, the framed bursts and the I2C write) built over the class's own line members,
// so that its mapping, inversion, wait or buffering applies to every step.
#pragma once

#include <cstdint>
#include <span>
#include <string>

#include "frame/modTiming.h"
#include "platform/profile/SettingsStore.h"
#include "radio/LineInterface.h"
#include "radio/SettingsSection.h"

class LineInterfaceBase : public LineInterface {
public:
    std::string Name() const override { return name_; }
    void setName(std::string value) override { name_ = std::move(value); }
    std::string RxName() const override { return rxName_; }
    void setRxName(std::string value) override { rxName_ = std::move(value); }
    double WaitTime() const override { return waitMicroseconds_ / 1'000'000.0; }
    void setWaitTime(double seconds) override { waitMicroseconds_ = seconds * 1'000'000.0; }
    int32_t ResetDevice() override { return 0; }
    int32_t UpdateDevice() override { return 0; }

    bool Initialised() const noexcept { return initialised_; }

protected:
    // timing is null for a class that never waits; the others start the microsecond timer at creation.
    LineInterfaceBase(std::string className, double defaultWaitSeconds, profile::SettingsStore& store,
                      modTiming::Timing* timing);

    std::string_view className() const override { return className_; }

    // The settle wait after a line change.
    void settle() const;
    double waitMicroseconds() const noexcept { return waitMicroseconds_; }
    double defaultWaitSeconds() const noexcept { return defaultWaitSeconds_; }
    // A stored settle time that is negative cannot be waited for: the class default stands in.
    void restoreWaitTime(const SettingsSection& section, std::string_view key);

    bool hasSection() const noexcept { return !rxName_.empty(); }
    // Settings are written only by an initialised object with a section.
    bool canSaveSettings() const noexcept { return hasSection() && initialised_; }
    SettingsSection section() const { return SettingsSection(store_, rxName_, name_); }
    void markInitialised() noexcept { initialised_ = true; }
    modTiming::Timing* timing() const noexcept { return timing_; }

    // The sequences. A class offers one by overriding the member with a call of these.
    void sequenceOut8(uint8_t value, bool msbFirst);
    void sequenceOut16(uint16_t value);
    int32_t sequenceSend(std::span<const uint8_t> bytes, int32_t count, bool msbFirst);
    void sequenceI2CInit();
    int32_t sequenceI2CSendSeq(std::span<const uint8_t> bytes, int32_t count);

    // The null class sends (nothing) before it is initialised; the others refuse quietly.
    virtual bool sequencesNeedInitialise() const { return true; }
    // The I2C line setters and waits of classes that offer I2C.
    virtual void setI2CClock(int32_t level);
    virtual void setI2CData(int32_t level);
    virtual void i2cWait() {}
    virtual void i2cIdleWait() {}

private:
    static void checkCount(std::span<const uint8_t> bytes, int32_t count, std::string_view source);

    std::string className_;
    std::string name_;
    std::string rxName_;
    double defaultWaitSeconds_;
    double waitMicroseconds_;
    bool initialised_ = false;
    bool msbBusy_ = false;
    bool lsbBusy_ = false;
    profile::SettingsStore& store_;
    modTiming::Timing* timing_;
};
