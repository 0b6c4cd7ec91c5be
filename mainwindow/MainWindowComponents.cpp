// The trace texts of the start-up steps a component runs.
#include "mainwindow/MainWindowComponents.h"

namespace mainwindow {

namespace {

constexpr const char* kKnobTableTraces[] = {
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
constexpr const char* kAgcSliderTraces[] = {":Initialising sldAGCAttack", ":Initialising sldAGCDecay"};
constexpr const char* kDefaultTableTraces[] = {
    ":Initialising Variable Filter Default Values (0)",    ":Initialising Variable Filter Default Values (1)",
    ":Initialising Variable Filter Default Values (2)",    ":Initialising Variable Filter Default Values (3)",
    ":Initialising Variable Filter Default Values (4)",    ":Initialising Variable AGC Default Values (1)",
    ":Initialising Variable AGC Default Values (2)",       ":Initialising Variable AGC Default Values (3)",
    ":Initialising Variable IF Filter Default Values (0)", ":Initialising NotchFilter Default Values",
};
constexpr const char* kPassBandTraces[] = {":Call MouseOverS.lblFilterHi_Wheel",
                                           ":Call MouseOverS.lblFilterLo_Wheel"};

template <size_t N> void traceAll(const StepTrace& trace, const char* const (&texts)[N]) {
    if (!trace) return;
    for (const char* t : texts)
        trace(t);
}

} // namespace

void FrontPanelComponent::traceKnobTable(const StepTrace& trace) {
    traceAll(trace, kKnobTableTraces);
}
void FrontPanelComponent::traceAgcSliders(const StepTrace& trace) {
    traceAll(trace, kAgcSliderTraces);
}
void FrontPanelComponent::traceDefaultTables(const StepTrace& trace) {
    traceAll(trace, kDefaultTableTraces);
}
void FrontPanelComponent::traceAudioPassBand(const StepTrace& trace) {
    traceAll(trace, kPassBandTraces);
}

} // namespace mainwindow
