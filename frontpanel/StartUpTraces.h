// The texts the start-up logs for the front panel's steps, one list a step, in the order the steps run:
// a caller that runs a step without the front panel logs the same lines from here.
#pragma once

#include <cstddef>
#include <functional>
#include <span>
#include <utility>

namespace frontpanel {

// KnobPanel::FillKnobTable, one text before each of its steps.
inline constexpr const char* kKnobTableTraces[] = {
    ":Initialising MouseOverS",
    ":Initialising 7Segment Display Tuning",
    ":Initialising dialtuner",
    ":Initialising CtlArray(2)",
    ":Initialising CtlArray(3)",
    ":Initialising CtlArray(4)",
    ":Initialising CtlArray(5)",
    ":Initialising CtlArray(7)",
    ":Initialising CtlArray(8)",
    ":Initialising CtlArray(9)",
    ":Initialising sldNB",
    ":Initialising dialNB",
    ":Initialising ctlArray(10)",
    ":Initialising dialOutVol",
    ":Initialising sldOutVolume",
    ":Initialising ctlArray(11)",
    ":Initialising ctlArray(12)",
    ":Initialising ctlArray(13)",
    ":Initialising ctlArray(14)",
    ":Initialising ctlArray(15)",
    ":Initialising CtlArray(6)",
    ":Initialising ctlArray(PicScopeIndex)",
    ":Initialising ctlArray(17)",
    ":Initialising ctlArray(18)",
    ":Initialising Spectrum Analyser Averaging - ctlArray(lblSpectrumSmoothIndex)",
    ":Initialising Spectrum Analyser FrameRate - ctlArray(lblFrameRateIndex)",
    ":Initialising lblIFShift - ctlArray(lblIFShiftIndex)",
    ":Initialising lblBFO - ctlArray(lblBFOIndex)",
    ":Initialising lblY1Bright - ctlArray(lblY1BrightIndex)",
    ":Initialising lblY2Bright - ctlArray(lblY2BrightIndex)",
};

// startup::InitialiseAgcSliders.
inline constexpr const char* kAgcSliderTraces[] = {":Initialising sldAGCAttack", ":Initialising sldAGCDecay"};

// startup::FillDefaultTables: the five audio-filter rows, the three AGC rows, the IF rows, the notch.
inline constexpr const char* kDefaultTableTraces[] = {
    ":Initialising Variable Filter Default Values (0)",    ":Initialising Variable Filter Default Values (1)",
    ":Initialising Variable Filter Default Values (2)",    ":Initialising Variable Filter Default Values (3)",
    ":Initialising Variable Filter Default Values (4)",    ":Initialising Variable AGC Default Values (1)",
    ":Initialising Variable AGC Default Values (2)",       ":Initialising Variable AGC Default Values (3)",
    ":Initialising Variable IF Filter Default Values (0)", ":Initialising NotchFilter Default Values",
};

// The audio pass band put into force from the filter knobs: their two wheel routines.
inline constexpr const char* kPassBandTraces[] = {":Call MouseOverS.lblFilterHi_Wheel",
                                                  ":Call MouseOverS.lblFilterLo_Wheel"};

// Hands a list's texts to a step's trace one at a time, in the list's order; nothing without a trace.
class TraceSequence {
public:
    TraceSequence(std::function<void(const char*)> trace, std::span<const char* const> texts)
        : trace_(std::move(trace)), texts_(texts) {}

    // The next text; none once the list is used up.
    void next() {
        if (at_ < texts_.size() && trace_) trace_(texts_[at_]);
        ++at_;
    }

private:
    std::function<void(const char*)> trace_;
    std::span<const char* const> texts_;
    std::size_t at_ = 0;
};

} // namespace frontpanel
