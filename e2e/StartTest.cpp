// The program's start as a user sees it: the caption of the saved receiver and the trace of its start-up.
#include <algorithm>
#include <string>
#include <vector>

#include "e2e/EndToEnd.h"

namespace e2e {
namespace {

using Start = EndToEnd;

// The trace lines of one source, in the order written, without the source's prefix.
std::vector<std::string> tracedBy(const std::vector<std::string>& trace, const std::string& prefix) {
    std::vector<std::string> out;
    for (const auto& line : trace)
        if (line.rfind(prefix, 0) == 0) out.push_back(line.substr(prefix.size()));
    return out;
}

TEST_F(Start, ShowsTheSavedReceiversCaptionAndTracesItsStartUpInOrder) {
    sandbox_.writeSettings(softRockSettings(true));
    auto program = start();
    ASSERT_TRUE(main_);
    ASSERT_TRUE(waitForLine(sandbox_.traceFile(), "frmMain:frmMain:Form_Load:End", kBound));
    const auto trace = sandbox_.trace();
    ASSERT_FALSE(trace.empty());
    EXPECT_EQ(trace.front().rfind("NerixSDR Log File Started at Date=", 0), 0u);
    EXPECT_EQ(tracedBy(trace, "frmSupervisor.Initialise"), (std::vector<std::string>{
                                                               " : Start",
                                                               " : Initialising Objects",
                                                               " : Nerix.INIT",
                                                               " : PublicVars.SDRColourSchemes.Defaults",
                                                               ":Initialising BandPlans",
                                                               ":Processing Amateur.bpl",
                                                               ":Processing Broadcast.bpl",
                                                               ":Initialising Digital Filter Objects",
                                                               ":Creating Profiler Object",
                                                               ":Initialising Tuning Step Array",
                                                               ":End",
                                                               " :Initialisation Completed",
                                                           }));
    EXPECT_EQ(tracedBy(trace, "frmMain:frmMain:Form_Load"),
              (std::vector<std::string>{
                  ":Start",
                  ":Resizing",
                  ":Restoring SDR Colour Settings from Registry",
                  ":Creating SpectrumAnalyser Object",
                  ":Making frmMain Visible",
                  ":Setting Colour Scheme",
                  ":Creating Wavfile Object",
                  ":Positioning Presets",
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
                  ":Initialising cboBandSelect",
                  ":Initialising optSubBand",
                  ":Initialising optPreset",
                  ":New NerixDX8",
                  ":Load frmDX8Events",
                  ":New clsFFTReal",
                  ":Initialising FFTReal",
                  " : Initialising Interface Objects",
                  ":Initialising sldAGCAttack",
                  ":Initialising sldAGCDecay",
                  ":Initialising SpectrumAnalyser",
                  ":Initialising Variable Filter Default Values (0)",
                  ":Initialising Variable Filter Default Values (1)",
                  ":Initialising Variable Filter Default Values (2)",
                  ":Initialising Variable Filter Default Values (3)",
                  ":Initialising Variable Filter Default Values (4)",
                  ":Initialising Variable AGC Default Values (1)",
                  ":Initialising Variable AGC Default Values (2)",
                  ":Initialising Variable AGC Default Values (3)",
                  ":Initialising Variable IF Filter Default Values (0)",
                  ":Initialising NotchFilter Default Values",
                  ":Restoring SDR Settings",
                  ":Initialising SoundCard Object",
                  ":Set OutputLevel Attenuator to PublicVars.OutputAttenuation",
                  ":Select Band in use last time",
                  ":Set the last tuned frequency for Spectrum Analyser",
                  ":Call modWheelMouse.init",
                  ":Set up default values in the AGC delayline",
                  ":Call MouseOverS.lblFilterHi_Wheel",
                  ":Call MouseOverS.lblFilterLo_Wheel",
                  ":Initialise WavFile Object",
                  ":Call tmrPerfStats_Timer",
                  ":Enable Power Butons",
                  ":Enable TmrTune",
                  ":Enable TmrVFOUpdate",
                  ":Enable TmrClock",
                  ":Enable TmrSubBands",
                  ":Initialise the Tuning Step Selector Drop Down List",
                  ":Call DarkenControls",
                  ":End",
              }));
    // The receiver is set up inside the load's interface step.
    const auto at = [&](const std::string& line) {
        return std::find(trace.begin(), trace.end(), line) - trace.begin();
    };
    EXPECT_LT(at("frmMain:frmMain:Form_Load : Initialising Interface Objects"),
              at("modSetupRx.InitialiseRX:End"));
    EXPECT_LT(at("modSetupRx.InitialiseRX:End"), at("frmMain:frmMain:Form_Load:Initialising sldAGCAttack"));
    EXPECT_TRUE(sandbox_.dialogs().empty()) << "a message was shown: " << sandbox_.dialogs().front();
}

} // namespace
} // namespace e2e
