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

struct FilterTables {
    std::array<AfFilterPresetRow, 9> AfFilterPreset{};         // rows 0..4 used
    std::array<std::array<IfFilterRow, 9>, 3> IfFilterTable{}; // [IF filter mode][demodulation mode]
};

// The tables as the main window fills them at start-up.
FilterTables DefaultFilterTables();

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
    // chain runs a block. A nested call returns at once; a failing design ends the rebuild there, the
    // rest keep their designs.
    void MakeFilters();

    // The filter bank's side of a mode button: DemodMode, the filters the mode runs, and a rebuild due.
    void SelectMode(int32_t index);

private:
    void waitForChain();
    void design(clsFFTFilter& f);

    ReceiverState& state_;
    Nerix::FilterBank& bank_;
    FilterTables& tables_;
    FilterCurveSink* curve_;
    bool busy_ = false;
    std::vector<float> coeffs_;
};

} // namespace frontpanel
