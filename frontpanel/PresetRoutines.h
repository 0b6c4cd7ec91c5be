// Settings blocks of the band plan and the receiver: a block put into force through the front panel's own
// handlers and knobs, a block filled from the receiver, and a preset stored from the receiver.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "frontpanel/modBandPlan.h"

namespace recorder {
class clsWavFile;
}

namespace frontpanel {

class FrontPanelCore;

// The recorder's frequency log: a record of the tuned frequency (tenths of a hertz), which the recorder
// adds only while recording and only when the frequency has moved far enough.
class FrequencyLog {
public:
    virtual ~FrequencyLog() = default;
    virtual void NewLogRecord(int32_t tunedFrequency) = 0;
};

// The recorder object as the frequency log.
class WavFileLog final : public FrequencyLog {
public:
    explicit WavFileLog(recorder::clsWavFile& wav) : wav_(wav) {}
    void NewLogRecord(int32_t tunedFrequency) override;

private:
    recorder::clsWavFile& wav_;
};

class PresetRoutines {
public:
    // log may be absent until the recorder is made: no record is asked for then. clock gives the
    // "When" text of a store, yyyy-mm-dd hh:mm:ss.
    PresetRoutines(FrontPanelCore& core, FrequencyLog* log,
                   std::function<std::string()> clock = modBandPlan::nowText);
    PresetRoutines(const PresetRoutines&) = delete;
    PresetRoutines& operator=(const PresetRoutines&) = delete;

    // Puts a block into force: frequency, LO side, mode, filters, IF filter, notch, AGC and level, each
    // through its control's handler or its knob, then a frequency log record. The block is copied first,
    // since the handlers may pump the message loop. A nested call returns at once.
    void ApplyPreset(PresetSettings s);
    // The preset's block put into force, unless the preset is unused: an unused block would tune the
    // receiver to the bottom of its range with every setting at its default, so the receiver stays.
    void ApplyPresetGuarded(const PresetRec& preset);
    // Fills a block from the receiver and marks it dirty; Loaded and TuneStep stay.
    void CapturePreset(PresetSettings& block) const;
    // The time of the store, the capture, then caption and description of the frequency captured.
    void StorePresetFromCurrent(PresetRec& preset) const;

    // True while ApplyPreset runs: the tracking timer stays idle.
    bool PresetApplying() const noexcept { return PresetApplying_; }
    void setFrequencyLog(FrequencyLog* log) noexcept { log_ = log; }
    // A log record of the tuned frequency, when there is a recorder.
    void logFrequency();

private:
    void setKnob(int16_t k, double value);
    // ApplyPreset's steps after the frequency, the LO side and the mode.
    void applyFilters(const PresetSettings& s);
    void applyNotch(const PresetSettings& s);
    void applyAgc(const PresetSettings& s);

    FrontPanelCore& core_;
    FrequencyLog* log_;
    std::function<std::string()> clock_;
    bool ApplyPresetBusy_ = false;
    bool ApplyPresetGuardedBusy_ = false;
    bool PresetApplying_ = false;
    // The AGC mode in force before a block forced mode 4; none until the first.
    int32_t savedAgcMode_ = 0;
    bool agcModeSaved_ = false;
};

} // namespace frontpanel
