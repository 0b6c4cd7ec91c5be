// The receiver's tuning state: clamps the tuned frequency to the model's range, works out the
// oscillator frequency and hands it to the oscillator in OscType. Frequencies are in 0.1 Hz unless a
// member says Hz.
#pragma once

#include <cstdint>
#include <string>

#include "platform/profile/SettingsStore.h"
#include "radio/Oscillator.h"

class clsVFO {
public:
    explicit clsVFO(profile::SettingsStore& store);
    // Saves the settings, then lets go of the oscillator.
    ~clsVFO();
    clsVFO(const clsVFO&) = delete;
    clsVFO& operator=(const clsVFO&) = delete;

    // Hz in, stored in 0.1 Hz; a value whose tenfold does not fit 32 bits raises Overflow.
    void setRXMinFreq(int32_t hertz);
    void setRxMaxFreq(int32_t hertz);
    bool TuneStepLock() const noexcept { return tuneStepLock_; }
    void setTuneStepLock(bool value) noexcept { tuneStepLock_ = value; }
    // One of DDSInterfaceType (radio/DDSInterfaceType.h); stored and saved only.
    int32_t DDSInterfaceType() const noexcept { return ddsInterfaceType_; }
    void setDDSInterfaceType(int32_t value) noexcept { ddsInterfaceType_ = value; }
    std::string FormattedTunedFreq() const;
    double TuneStep() const noexcept { return tuneStep_; }
    void setTuneStep(double value);
    void setTuneStepLSD(double value);
    std::string Name() const { return name_; }
    void setName(std::string value) { name_ = std::move(value); }
    bool AutoUpdate() const noexcept { return autoUpdate_; }
    void setAutoUpdate(bool value) noexcept { autoUpdate_ = value; }
    // Stored first; then FreqScaling of OscType, which raises to the caller when there is no
    // oscillator or the PLL multiplier is 0.
    int32_t OscMultiplier() const noexcept { return oscMultiplier_; }
    void setOscMultiplier(int32_t value);
    int32_t PLLMultiplier() const noexcept { return pllMultiplier_; }
    void setPLLMultiplier(int32_t value);
    int32_t OscOut() const noexcept { return oscOut_; }
    bool HiSideLo() const noexcept { return hiSideLo_; }
    void setHiSideLo(bool value) noexcept { hiSideLo_ = value; }
    // Hz.
    int32_t CalibOffset() const noexcept;
    void setCalibOffset(int32_t hertz);
    int32_t IFFrequency() const noexcept;
    void setIFFrequency(int32_t hertz);
    int32_t TunedFrequency() const noexcept { return tunedFrequency_; }
    // Clamps to the model's range and sends at once; dropped while an earlier set still runs.
    void setTunedFrequency(int32_t value);
    // Not owned.
    Oscillator* OscType() const noexcept { return oscType_; }
    void setOscType(Oscillator* value) noexcept { oscType_ = value; }

    // True while a tuning, step or refresh runs: it may be pumping the message loop in a settle wait, so
    // the object must not be released meanwhile.
    bool InUse() const noexcept { return tunedBusy_ || refreshBusy_ || incBusy_ || decBusy_; }

    // Recomputes OscOut and sends it; always 0, and never raises.
    int32_t Refresh();
    // Snaps to the grid, steps and sends; the new TunedFrequency.
    double Inc_Freq(double increment);
    // Always steps down, whatever the sign.
    double Dec_Freq(double decrement);
    int32_t RestoreSettings();
    int32_t SaveSettings();

    // The snap grid, for the model's set-up and the tests.
    double TuneStepLSD() const noexcept { return tuneStepLSD_; }

private:
    void clampToModelRange();
    // Snaps and steps the tuned frequency, then sends.
    double stepFrom(double increment);

    profile::SettingsStore& store_;
    int32_t tunedFrequency_ = 100'000'000;
    int32_t if_ = 0;
    int32_t calibOffset_ = 0;
    int32_t modelMin_ = 0;
    int32_t modelMax_ = 0;
    int32_t oscOut_ = 0;
    int32_t oscMultiplier_ = 1;
    int32_t pllMultiplier_ = 1;
    bool hiSideLo_ = true;
    bool autoUpdate_ = false;
    double tuneStep_ = 0;
    double tuneStepLSD_ = 0;
    bool tuneStepLock_ = false;
    int32_t ddsInterfaceType_ = 0;
    std::string name_;
    Oscillator* oscType_ = nullptr;

    bool tunedBusy_ = false;
    bool refreshBusy_ = false;
    bool incBusy_ = false;
    bool decBusy_ = false;
    double lastSnap_ = 0;
};
