// What the oscillator classes share: the clock and its word factor, the limits, the guards, the common
// steps of SetFrequency and Initialise, and the clock and base settings. A class supplies its traits,
// its start sequence and its output.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "platform/profile/SettingsStore.h"
#include "radio/Oscillator.h"
#include "radio/SettingsSection.h"

class OscillatorBase : public Oscillator {
public:
    // A class states where it differs from the defaults, which are the AD9851's (and so the Hamlib
    // oscillator's and the clock generator's, which stand in its place) but for the word limit.
    struct Traits {
        std::string_view className;
        double clkIn = 100'000'000;          // Hz at creation
        bool floatLimits = true;             // limits held as 32-bit floats
        double halfRangeDivisor = 2;         // the clock over this is the half-range around the base
        bool clampsBelow = false;            // SetFrequency also clamps to MinFreq
        bool needsInitialise = true;         // SetFrequency does nothing before the first Initialise
        bool restoresSettings = true;        // Initialise reads the settings first
        bool hasAutoRefresh = true;          // the class keeps the AutoRefresh setting
        std::string_view clockKey = "ClkIn"; // the spelling of the clock key this class reads
        // The output is a tuning word a chip takes: MaxFreq never reads above the highest frequency whose
        // word fits, so the VFO never tunes the chip where it would get word 2 or nothing.
        bool limitedByWord = false;
    };

    std::string Name() const override { return name_; }
    void setName(std::string value) override { name_ = std::move(value); }
    std::string RxName() const override { return rxName_; }
    void setRxName(std::string value) override { rxName_ = std::move(value); }
    clsVFO* Parent() const override { return parent_; }
    void setParent(clsVFO* value) override { parent_ = value; }
    LineInterface* IFHandler() const override { return ifHandler_; }
    void setIFHandler(LineInterface* value) override { ifHandler_ = value; }
    double ClkIn() const override;
    void setClkIn(double hertz) override;
    int32_t BaseFrequency() const override { return base_; }
    void setBaseFrequency(int32_t hertz) override;
    double FreqScaling() const override { return freqScaling_; }
    void setFreqScaling(double value) override;
    double MaxFreq() const override;
    double MinFreq() const override { return minFreq_; }
    int32_t CurrentTuningWord() const override { return currentTuningWord_; }
    void setCurrentTuningWord(int32_t value) override { currentTuningWord_ = value; }
    bool CMDOutActive() const override { return cmdOutActive_; }
    void setCMDOutActive(bool value) override { cmdOutActive_ = value; }

    int32_t Initialise() override;
    std::optional<int32_t> SetFrequency(int32_t f) override;
    void SaveSettings() override;
    void RestoreSettings() override;

    bool AutoRefresh() const override;
    void setAutoRefresh(bool value) override;

    bool Initialised() const noexcept { return initialised_; }
    // The tuning word per tenth of a hertz.
    double WordFactor() const noexcept { return factor_; }

    // The Clkin message text, "Clkin is not set correctly, Clkin=" and the whole-hertz clock.
    static constexpr std::string_view kClkInMessage = "Clkin is not set correctly, Clkin=";

protected:
    OscillatorBase(const Traits& traits, profile::SettingsStore& store);

    std::string_view className() const override { return traits_.className; }
    const Traits& traits() const noexcept { return traits_; }

    // What a ClkIn write does to the limits once the clock is stored: MaxFreq := ClkIn × 5 by default.
    virtual void limitsFromClock();
    // Both limits around the base with the half-range (the rule of a BaseFrequency write).
    void limitsAroundBase();
    void setMaxFreq(double tenthsOfHertz);
    void setMinFreq(double tenthsOfHertz);
    // A limit in the class's own width; one that does not fit raises Overflow.
    double toLimit(double tenthsOfHertz) const;
    // Stores the base without touching the limits (creation values only).
    void storeBase(int32_t hertz) noexcept { base_ = hertz; }

    // The common steps' parts, for classes that run SetFrequency their own way.
    int32_t clamp(int32_t f) const;
    bool factorIsSet() const noexcept { return factor_ > 0; }
    void showClkInMessage() const;
    // f × K rounded half to even; nothing when it does not fit a signed 32-bit integer.
    std::optional<int32_t> tuningWord(int32_t f) const;
    // The highest frequency whose word fits at the current clock, in the class's limit width; nothing
    // when every 32-bit frequency fits or there is no clock.
    std::optional<double> wordLimit() const;
    bool& setFrequencyBusy() noexcept { return setFrequencyBusy_; }
    bool& cmdOutActiveFlag() noexcept { return cmdOutActive_; }

    // The class's start sequence on the line interface, run by Initialise.
    virtual void startSequence() {}
    // The class's output of a word that SetFrequency computed (2 when the product did not fit).
    virtual void output(int32_t /*f*/, int32_t /*word*/) {}
    // Keys of the class beyond the clock, AutoRefresh and the base.
    virtual void saveExtra(SettingsSection&) {}
    virtual void restoreExtra(const SettingsSection&) {}

    // Objects save their settings when they end, if they were ever initialised; each final class calls
    // this from its destructor, while its own keys can still be written.
    void saveAtEnd() noexcept;

    LineInterface& lines() const;

private:
    bool hasSection() const noexcept { return !rxName_.empty(); }
    SettingsSection section() const;

    Traits traits_;
    profile::SettingsStore& store_;
    std::string name_;
    std::string rxName_;
    clsVFO* parent_ = nullptr;
    LineInterface* ifHandler_ = nullptr;
    double clock10_ = 0; // the clock in tenths of a hertz
    double factor_ = 0;
    int32_t base_ = 0;
    float freqScaling_ = 1.0f;
    double maxFreq_ = 0;
    double minFreq_ = 0;
    int32_t currentTuningWord_ = 0;
    bool cmdOutActive_ = false;
    bool autoRefresh_ = false;
    bool setFrequencyBusy_ = false;
    bool initialiseGuard_ = false;
    bool initialised_ = false;
};
