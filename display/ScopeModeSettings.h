// The settings of each display mode: its scale, and each channel's gain, shift, switch and trigger, as
// the panel's switches and the display knobs set them for the mode shown.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

namespace display {

// The display modes, the values of the mode property.
inline constexpr int32_t kModeSpectrum = 0;
inline constexpr int32_t kModeTime = 1;
inline constexpr int32_t kModeXY = 2;

} // namespace display

// The settings of one display mode.
struct ScopeModeRec {
    float Chn1Gain = 0;
    float Chn1Shift = 0;       // the knob value
    float Chn1ShiftOffset = 0; // the shift in display units
    bool Chn1Enabled = false;
    bool Chn1TriggerOn = false;
    float Chn2Gain = 0;
    float Chn2Shift = 0;
    float Chn2ShiftOffset = 0;
    bool Chn2Enabled = false;
    bool Chn2TriggerOn = false;
    int16_t TriggerChn = 0; // 0 none, 1 channel 1, 2 channel 2
    bool LogMode = false;
    bool FastMode = false; // no averaging
    float LinMax = 0, LinMin = 0, LinRange = 0;
    float LogMax = 0, LogMin = 0, LogRange = 0;
};

namespace display {

class ScopeModeSettings {
public:
    // Properties of the current mode's record; a mode outside 0..2 raises Subscript out of range (9).
    bool LogMode() const { return rec().LogMode; }
    void setLogMode(bool v) { rec().LogMode = v; }
    bool FastMode() const { return rec().FastMode; }
    void setFastMode(bool v) { rec().FastMode = v; }
    bool Chn1Trig() const { return rec().Chn1TriggerOn; }
    void setChn1Trig(bool v) { rec().Chn1TriggerOn = v; }
    bool Chn2Trig() const { return rec().Chn2TriggerOn; }
    void setChn2Trig(bool v) { rec().Chn2TriggerOn = v; }
    bool Chn1Enabled() const { return rec().Chn1Enabled; }
    void setChn1Enabled(bool v) { rec().Chn1Enabled = v; }
    bool Chn2Enabled() const { return rec().Chn2Enabled; }
    void setChn2Enabled(bool v) { rec().Chn2Enabled = v; }
    float Chn1Gain() const { return rec().Chn1Gain; }
    // 0 is stored as 0.000001, so that no log frame divides by zero.
    void setChn1Gain(float v) { rec().Chn1Gain = storedGain(v); }
    float Chn2Gain() const { return rec().Chn2Gain; }
    void setChn2Gain(float v) { rec().Chn2Gain = storedGain(v); }
    int16_t TriggerChn() const { return rec().TriggerChn; }
    // Also sets the trigger flags: 1 channel 1's, 2 channel 2's, anything else neither.
    void setTriggerChn(int16_t t);
    float Chn1Shift() const { return rec().Chn1Shift; }
    // Also sets the shift in display units: s / 150 of YScaleRange.
    void setChn1Shift(float s);
    float Chn2Shift() const { return rec().Chn2Shift; }
    void setChn2Shift(float s);
    // The current mode's scale: the log values in log mode, else the linear ones.
    float YScaleMax() const;
    float YScaleRange() const;
    int32_t mode() const { return mode_; }

    const ScopeModeRec& ScopeModes(int32_t m) const;

protected:
    // Each mode's scale defaults; the rest of each record is restored from the settings.
    ScopeModeSettings();
    ~ScopeModeSettings() = default;
    ScopeModeSettings(const ScopeModeSettings&) = delete;
    ScopeModeSettings& operator=(const ScopeModeSettings&) = delete;

    static constexpr std::size_t kModes = 3;
    ScopeModeRec& record(std::size_t m) { return scopeModes_[m]; }
    const ScopeModeRec& record(std::size_t m) const { return scopeModes_[m]; }
    static float storedGain(float v) { return v == 0.0f ? 0.000001f : v; }
    // Stores m; m 2 turns both channels of mode 2 on. The owner refits the pictures.
    void storeMode(int32_t m);

private:
    ScopeModeRec& rec();
    const ScopeModeRec& rec() const;

    std::array<ScopeModeRec, kModes> scopeModes_{};
    int32_t mode_ = kModeSpectrum;
};

} // namespace display
