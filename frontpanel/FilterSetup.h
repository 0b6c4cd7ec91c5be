// The computing half of the front panel's filter set-up and mode selection: the filter tables, the
// rebuild of the filter bank from the receiver state, and what a mode choice switches in the bank.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "dsp/FilterBank.h"
#include "frame/ReceiverState.h"

namespace frontpanel {

struct AfFilterPresetRow {
    int32_t DefaultHi = 0, DefaultLo = 0, Hi = 0, Lo = 0, SavedHi = 0, SavedLo = 0;
    bool Music = false;
};

// Edges are hertz offsets from the IF centre.
struct IfFilterRow {
    int32_t DefaultHi = 0, DefaultLo = 0, Hi = 0, Lo = 0;
    int32_t Spare1 = 0, Spare2 = 0;
    bool SpareFlag = false;
};

// One AGC preset: the attack and decay knobs' values (tenths of a millisecond) and their defaults. The
// copies are written at start-up and not read again.
struct AgcPreset {
    int32_t AttackDefault = 0, Attack = 0, AttackCopy = 0, DecayDefault = 0, Decay = 0, DecayCopy = 0;
};

// The notch centre knob's range and remembered value for one notch type.
struct NotchKnobRange {
    float Max = 0, Min = 0, Value = 0;
};

struct FilterTables {
    std::array<AfFilterPresetRow, 9> AfFilterPreset{};         // rows 0..4 used
    std::array<std::array<IfFilterRow, 9>, 3> IfFilterTable{}; // [IF filter mode][demodulation mode]
    std::array<AgcPreset, 9> AgcPresetRow{};         // by AGCMode: 1 Fast, 2 Normal, 3 Slow, 4 a preset's
    std::array<NotchKnobRange, 2> NotchKnobRanges{}; // by notch type: 0 AF, 1 IF
};

// The audio-filter presets and IF filter rows as the main window fills them at start-up. The AGC rows
// follow the AGC knobs' maxima and the notch ranges are filled with the knob table, so both stay empty.
FilterTables DefaultFilterTables();

// The IF filter row of an IF filter mode and a demodulation mode, and the AGC preset row of an AGC mode;
// an index past the table raises Subscript out of range (9), named after source.
IfFilterRow& ifFilterRow(FilterTables& tables, int32_t ifFilterMode, int32_t demodMode, const char* source);
AgcPreset& agcPresetRow(FilterTables& tables, int32_t agcMode, const char* source);

// The notch knob ranges as the knob table's filling sets them: AF 6000/0/1000, IF 6000/-6000/1000.
std::array<NotchKnobRange, 2> DefaultNotchKnobRanges();

// The AGC rows 1 (Fast), 2 (Normal) and 3 (Slow) from the attack and decay knobs' maxima: a quarter, a
// half and the whole of each, rounded; the defaults and copies the same.
void FillAgcPresetRows(FilterTables& tables, float attackMax, float decayMax);

// The display's view of the IF filter's pass band.
class FilterCurveSink {
public:
    virtual ~FilterCurveSink() = default;
    virtual void LoadFilterCoeffs_T_S(const float* coeffs, int32_t n) = 0;
};

class FilterSetup {
public:
    FilterSetup(ReceiverState& state, Nerix::FilterBank& bank, FilterTables& tables,
                FilterCurveSink* curve = nullptr);

    // Rebuilds the bank's filters from the demodulation mode, the AF edges, the IF filter mode, the IF
    // centre and the sideband sense. Between designs it waits, pumping the message loop, while a DSP
    // chain runs a block; a block still running after kHeldBelowPumps passes is suspended below this
    // call (one thread), so the rebuild stops there, sets FiltersDirty for the housekeeping tick and
    // returns false. A nested call returns at once; a failing design ends the rebuild there, the rest
    // keep their designs.
    bool MakeFilters();
    static constexpr int kHeldBelowPumps = 8;

    // The filter bank's side of a mode button: DemodMode, the filters the mode runs, and a rebuild due.
    void SelectMode(int32_t index);

private:
    void waitForChain();
    void design(clsFFTFilter& f);
    // The rebuild's steps in their order, over the mixer's centre C and the audio edges Hi and Lo.
    void setIfEdges(int64_t C, int64_t Hi, int64_t Lo);
    void designCorrectionPair();
    void designAmPair(int64_t C);
    void designAudioFilters(int64_t Hi, int64_t Lo);

    ReceiverState& state_;
    Nerix::FilterBank& bank_;
    FilterTables& tables_;
    FilterCurveSink* curve_;
    bool busy_ = false;
    std::vector<float> coeffs_;
};

} // namespace frontpanel
