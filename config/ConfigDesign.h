// Where the configuration dialog places its controls (twips, each in its container) and what they say.
// The dialog is built from these, and whatever drives it from outside clicks at the same places: a
// path's pixels() in the dialog's client area.
#pragma once

#include <array>
#include <cstdint>

#include "platform/ui/DesignRect.h"

namespace config::design {

using ui::DesignPath;
using ui::DesignRect;

// A control's place, its caption (a text box's text) and its tooltip; empty texts leave the control's own.
struct ControlDesign {
    DesignRect place;
    const char* caption = "";
    const char* toolTip = "";
};

// The tab strip and the pages frConfigs(k), all at one place; tab k + 1 brings page k to the front.
inline constexpr DesignRect TabStrip1{120, 120, 8280, 375};
inline constexpr DesignRect frConfigs{120, 480, 8280, 3375};
inline constexpr int16_t kPageDDS = 3;

struct TabDesign {
    const char* caption;
    const char* toolTip;
};
inline constexpr std::array<TabDesign, 10> kTabs{{
    {"General", "Configure the SDR"},
    {"Soundcard", "Configure Soundcard Items"},
    {"VFO", "Configure VFO Items"},
    {"DDS", "Configure DDS Items"},
    {"Serial I/F", "Configure Serial Interface items"},
    {"Parallel I/F", "Configure Parallel I/F Items"},
    {"DREAM", "Configure Parameters for DREAM.EXE - DRM Decoder"},
    {"Spectrum Display", "Configure Spectrum Display"},
    {"Controls", "Configure Colour Themes of NerixSDR Display"},
    {"About", "About the NerixSDR"},
}};

// The tab headers' widths follow the font, but the first header always begins at the strip's left
// edge and is wider than this.
inline constexpr DesignRect firstTabHeader{0, 0, 300, 375};

// OK, Apply and Cancel stand in one row one and a half button heights above the client area's bottom,
// their lefts a quarter, a half and three quarters of the way across; worked in single precision as
// the window's other design values are.
inline constexpr double kButtonWidth = 1215, kButtonHeight = 375;
struct ButtonRow {
    float Top, OkLeft, ApplyLeft, CancelLeft;
};
constexpr ButtonRow buttonRow(float clientWidth, float clientHeight) {
    const auto width = static_cast<float>(kButtonWidth);
    return {clientHeight - 1.5f * static_cast<float>(kButtonHeight), (clientWidth - width) / 4,
            (clientWidth - width) / 2, (clientWidth - width) / 4 * 3};
}

// The client area the dialog is made with: the strip's left margin on each side and once more, and
// below the page three button heights.
inline constexpr double kClientWidth = 3 * TabStrip1.Left + TabStrip1.Width;
inline constexpr double kClientHeight =
    TabStrip1.Top + TabStrip1.Height + frConfigs.Height + 3 * kButtonHeight;

inline constexpr ButtonRow kButtons = buttonRow(kClientWidth, kClientHeight);
inline constexpr ControlDesign cmdOK{{kButtons.OkLeft, kButtons.Top, kButtonWidth, kButtonHeight}, "&OK"};
inline constexpr ControlDesign cmdApply{{kButtons.ApplyLeft, kButtons.Top, kButtonWidth, kButtonHeight},
                                        "&Apply"};
inline constexpr ControlDesign cmdCancel{{kButtons.CancelLeft, kButtons.Top, kButtonWidth, kButtonHeight},
                                         "&Cancel"};

// ---- General: the lists on the left, the options in one column on the right.
inline constexpr const char* kPriorityTip = "Set Process Priority when ON is clicked - Default is Realtime";
inline constexpr ControlDesign lblSDRModel{{120, 120, 1800, 240}, "SDRModel"};
inline constexpr ControlDesign cboSDRModel{{120, 360, 4560, 330}, "", "Select SDR Model"};
inline constexpr ControlDesign lblHamLibModel{{120, 810, 1800, 240}, "Hamlib Model"};
inline constexpr ControlDesign cboHamLibModel{{120, 1050, 4560, 345}, "", "Select HamLib Rig"};
inline constexpr ControlDesign lblRunPriority{{120, 1560, 1500, 240}, "Process Priority", kPriorityTip};
inline constexpr ControlDesign cboRunPriority{{1680, 1515, 1800, 330}, "", kPriorityTip};
inline constexpr ControlDesign cmdSavePath{{120, 2040, 2700, 375}, "Set Save Recordings Path"};
inline constexpr ControlDesign txtSaveRecordingsPath{
    {120, 2520, 4560, 315}, "", "Path where recordings will be saved"};

constexpr DesignRect generalOption(int row) {
    return {5040, 120 + row * 375.0, 3120, 285};
}
inline constexpr ControlDesign chkUseSPL{generalOption(0), "Use Intel SPL ?", "Click to use Intel SPL"};
inline constexpr ControlDesign chkKBDSupport{generalOption(1), "Keyboard Support",
                                             "Use Keyboard to Adjust Scrollable Labels ?"};
inline constexpr ControlDesign chkAutoTrackPresets{
    generalOption(2), "Auto-Track Presets",
    "Automatically Update Presets with SDR Settings (exc. Frequency)"};
inline constexpr ControlDesign chkScrollWheelEnableOverScope{
    generalOption(3), "ScrollWheel Tune over 'scope?",
    "Click to enable Tuning by ScrollWheel over the Spectrum Display"};
inline constexpr ControlDesign chkEnableEncoder{generalOption(4), "Enable Shaft Encoder",
                                                "Enable Shaft Encoder Support"};
inline constexpr ControlDesign chkShaftAutoRate{generalOption(5), "Shaft Encoder Auto Rate"};
inline constexpr ControlDesign chkAutoStartSDR{generalOption(6), "Power On SDR on Start-Up"};
inline constexpr ControlDesign FormCaptionOffOnPwrOn{generalOption(7), "Title Bar Off",
                                                     "Turn off Title Bar of Application"};

// ---- Soundcard: the devices, then the two correction sliders with their read-outs on the right.
inline constexpr ControlDesign lblPlayDevices{{120, 195, 1500, 240}, "AF OUT Device"};
inline constexpr ControlDesign cboPlayDevices{{1680, 150, 6360, 330}, "", "Select AF Output Device"};
inline constexpr ControlDesign lblCapDevices{{120, 615, 1500, 240}, "IF IN Device"};
inline constexpr ControlDesign cboCapDevices{{1680, 570, 6360, 330}, "", "Select Audio Input Device"};
inline constexpr ControlDesign lblPhaseCorrection{{120, 1185, 1500, 240}, "Phase Correction"};
inline constexpr ControlDesign sldPhaseAngle{{1680, 1080, 4800, 450}};
inline constexpr ControlDesign lblPhaseAngle{{6600, 1185, 1200, 240}, "0.00 Degrees"};
inline constexpr ControlDesign lblGainCorrection{{120, 1785, 1500, 240}, "Gain Correction"};
inline constexpr ControlDesign sldAmpBalance{{1680, 1680, 4800, 450}};
inline constexpr ControlDesign lblAmplitudeGain{{6600, 1785, 1200, 240}, "0.000 Gain"};
inline constexpr ControlDesign chkADCDelayBitCorrection{{1680, 2400, 3000, 285}, "1 Bit Correction for ADC"};

// ---- VFO
inline constexpr ControlDesign lblIFFrequency{{120, 195, 1500, 240}, "IF Offset (Hz)"};
inline constexpr ControlDesign txtIFFrequency{{1680, 150, 1500, 315}, "", "IF Frequency in Hz"};
inline constexpr ControlDesign chkLoLO{
    {3480, 165, 1800, 285}, "Lo Side LO ?", "Check if DDS tunes LOW side of tuned frequency"};
inline constexpr ControlDesign lblVFOMult{
    {120, 615, 1500, 240}, "LO Divider", "LO Output = Tuned Frequency X LO Divider"};
inline constexpr ControlDesign cboVFOMult{
    {1680, 570, 1000, 330}, "", "LO will be set to tuned frequency x the LO Divider, eg IQ generation"};
inline constexpr ControlDesign lblPLLMultiplier{
    {120, 1035, 1500, 240}, "PLL Multiplier", "LO output = Tuned Frequency / PLL Multiplier"};
inline constexpr ControlDesign cboPLLMultiplier{
    {1680, 990, 1200, 330}, "", "External Multiplier, eg PLL or Harmonic filter, normally set to 1"};
inline constexpr ControlDesign lblXtalFrequency{
    {120, 1455, 1500, 240}, "XTAL Frequ (Hz)", "Crystal Frequency in Hz"};
inline constexpr ControlDesign txtXtalFrequency{
    {1680, 1410, 1500, 315}, "", "Crystal Frequency in Hz - only use in ZIVEZO RX model"};
inline constexpr ControlDesign Label1{{120, 2160, 8040, 600},
                                      "Local Oscillator Output Frequency = (Desired Tuned Frequency + IF "
                                      "Offset) * ( LO Divider / PLL Multiplier)"};

// ---- DDS: "Calibrate" opens the calibration dialog; the line interface options stand in one row.
inline constexpr ControlDesign lblDDSClkin{{120, 195, 1500, 240}, "DDS Clock (Hz)"};
inline constexpr ControlDesign txtDDSClkin{{1680, 150, 1500, 315}, "", "DDS CLKIN Frequency"};
inline constexpr ControlDesign cmdCalDDS{{3360, 120, 1200, 375}, "Calibrate", "Calibrate DDS CLKIN"};
inline constexpr ControlDesign lblAutoDDSRefresh{{120, 660, 1500, 240}, "DDS Auto Refresh"};
inline constexpr ControlDesign chkAutoDDSRefresh{{1680, 630, 285, 285}, "", "Periodic Refresh DDS Settings"};
inline constexpr ControlDesign lblIF{{120, 1140, 1800, 240}, "DDS I/F Control"};
inline constexpr ControlDesign lblXtalCap{{120, 2100, 2400, 240}, "CY27EE16 Xtal Capacitance"};
inline constexpr ControlDesign sldCY27EE16XtalCap{{2640, 2010, 4200, 450}};

// An option of a row: its caption, tooltip and width.
struct OptionDesign {
    const char* caption;
    const char* toolTip;
    double width;
};

// optIF(kind), by the interface kind; kInterfaceOrder is the order they stand in, from the left.
inline constexpr std::array<OptionDesign, 7> kInterfaces{{
    {"Ser", "Serial Port DDS Control", 690},
    {"Par", "Parallel Port DDS Control", 690},
    {"USB", "Reserved for future", 750},
    {"Null", "Null Port - used in ZIVEZO RX Model", 750},
    {"NTI USB", "Reserved for future", 1050},
    {"FTDI US232C", "Reserved for future", 1470},
    {"FTDI FT232", "Reserved for future", 1380},
}};
inline constexpr std::array<int16_t, 7> kInterfaceOrder{1, 0, 2, 3, 4, 5, 6};

constexpr ControlDesign optIF(int16_t kind) {
    double left = 120;
    for (const int16_t k : kInterfaceOrder) {
        if (k == kind) break;
        left += kInterfaces[static_cast<std::size_t>(k)].width + 60;
    }
    const OptionDesign& o = kInterfaces[static_cast<std::size_t>(kind)];
    return {{left, 1410, o.width, 285}, o.caption, o.toolTip};
}

// ---- Serial I/F
inline constexpr ControlDesign lblComPort{{120, 195, 1800, 240}, "COM Port"};
inline constexpr ControlDesign cboComPort{{1980, 150, 900, 330}, "", "Select Serial Com Port"};
inline constexpr ControlDesign lblBitPeriod{{120, 660, 1800, 240}, "Bit Period        sec"};
inline constexpr ControlDesign txtBitPeriod{{1980, 615, 1500, 315}, "", "Clocking Period in seconds"};
inline constexpr ControlDesign cmdBitPeriodDefault{{3660, 585, 1080, 375}, "Default"};

// ---- Parallel I/F: the port on the left, the wiring table on the right.
inline constexpr ControlDesign lblPortAddress{{120, 195, 1860, 240}, "Port Address    Hex"};
inline constexpr ControlDesign txtPortAddress{{2040, 150, 1500, 315}, "", "Parallel Port Address"};
inline constexpr ControlDesign lblParallelPortBitPeriod{{120, 615, 1860, 240}, "Bit Period           sec"};
inline constexpr ControlDesign txtParallelPortBitPeriod{
    {2040, 570, 1500, 315}, "", "Clocking Period in seconds"};
inline constexpr ControlDesign cmdParallelPortDefaults{{2040, 1005, 1080, 375}, "Defaults"};
inline constexpr ControlDesign chkInvertingIF{
    {120, 1050, 1800, 285}, "Inverting I/F", "Inverting Interface, eg 7404, MC1489"};

// The three bit numbers, one row each: a label and its list.
constexpr DesignRect bitLabel(int row) {
    return {120, 1635 + row * 420.0, 1860, 240};
}
constexpr DesignRect bitList(int row) {
    return {2040, 1590 + row * 420.0, 700, 330};
}
inline constexpr ControlDesign lblIOUPDBitNo{bitLabel(0), "IOUPD Bit Number"};
inline constexpr ControlDesign cboIOUPDBitNo{bitList(0), "", "Select Parallel Port Bit number for IOUPD"};
inline constexpr ControlDesign lblSCLCKBitNo{bitLabel(1), "SCLCK Bit Number"};
inline constexpr ControlDesign cboSCLCKBitNo{bitList(1), "", "Select Parallel Port Bit number for SCLCK"};
inline constexpr ControlDesign lblSDATABitNo{bitLabel(2), "SDIO Bit Number"};
inline constexpr ControlDesign cboSDATABitNo{bitList(2), "", "Select Parallel Port Bit number for SDIO"};
inline constexpr ControlDesign Text1{{3900, 150, 4260, 1920},
                                     "PC(DB25)          RX(DB9) DRT1\r\n"
                                     "--------          -------\r\n"
                                     "D0(2) SDIO  --->  (7) \r\n"
                                     "D1(3) SCLK  --->  (3)\r\n"
                                     "D2(4) IOUPD --->  (4)\r\n"
                                     "0V(18)Gnd   <-->  (5) Gnd\r\n",
                                     "Parallel Port to RX Wiring"};

// ---- DREAM: the options on the left, the decoder window's style on the right, the program below.
constexpr DesignRect dreamOption(int row) {
    return {120, 120 + row * 300.0, 3840, 285};
}
inline constexpr ControlDesign chkDreamRunOnDRM{dreamOption(0), "Run DREAM.EXE on DRM",
                                                "Run DREAM.EXE when DRM mode selected"};
inline constexpr ControlDesign chkMuteAFOnDRM{dreamOption(1), "Mute SDR AF on DRM Mode Selected",
                                              "Mute AF Output when DRM selected"};
inline constexpr ControlDesign chkCloseSoundCardOnDRM{dreamOption(2), "Close Soundcard on DRM Mode",
                                                      "Release Soundcard when DRM Selected - Win98"};
inline constexpr ControlDesign chkDreamCloseOnModeChange{
    dreamOption(3), "Close Dream on Mode Change", "Kill DREAM.EXE when Changing Demod mode away from DRM"};
inline constexpr ControlDesign chkDreamCloseOnExit{dreamOption(4), "Close Dream On SDR Exit",
                                                   "Kill DREAM.EXE when NerixSDR exists"};
inline constexpr ControlDesign frDreamWindowMode{
    {4200, 60, 3840, 690}, "Dream Window", "Set DREAM.EXE Window Style"};

// optDreamWindow(i) in frDreamWindowMode, by the window style.
inline constexpr std::array<OptionDesign, 3> kDreamWindows{{
    {"Default", "Run DREAM with Window showing", 1050},
    {"Min", "Run DREAM minimised", 750},
    {"Hide", "Run DREAM hidden", 750},
}};
constexpr ControlDesign optDreamWindow(int16_t style) {
    double left = 180;
    for (int16_t i = 0; i < style; ++i)
        left += kDreamWindows[static_cast<std::size_t>(i)].width + 120;
    const OptionDesign& o = kDreamWindows[static_cast<std::size_t>(style)];
    return {{left, 300, o.width, 285}, o.caption, o.toolTip};
}

inline constexpr ControlDesign lblPathToDream{{120, 1815, 1500, 240}, "DREAM Program", "Location of DREAM"};
inline constexpr ControlDesign txtPathToDream{{1680, 1770, 5160, 315}, "", "Full Pathname of DREAM.EXE"};
inline constexpr ControlDesign cmdFindDREAM{{6960, 1740, 1080, 375}, "&Browse", "Locate DREAM.EXE"};
inline constexpr ControlDesign lblDreamProgArgs{{120, 2265, 1500, 240}, "DREAM Prog Args", "CLI Arguments"};
inline constexpr ControlDesign txtDreamProgArgs{{1680, 2220, 5160, 315}, "", "DREAM.EXE Arguments"};
inline constexpr ControlDesign lblSDRDreamArgs{
    {1680, 2670, 5160, 315}, "", "SDR generated Dream.exe cli args"};
inline constexpr ControlDesign cmdDreamDefault{{6960, 2640, 1080, 375}, "Defaults", "Set to Default Values"};

// ---- Spectrum Display
inline constexpr ControlDesign lblSmoothingCount{{120, 195, 2000, 240}, "Default Smooth Count"};
inline constexpr ControlDesign txtSpectrumDisplaySmoothingCount{
    {2160, 150, 900, 315}, "", "Number of Sampling Cycles to average display over"};
inline constexpr ControlDesign lblHideToolTip{{120, 660, 2000, 240}, "Hide Freq ToolTip"};
inline constexpr ControlDesign chkSpectrumDisplayHideToolTip{
    {2160, 630, 285, 285}, "", "Hide the Frequency tooltip"};
inline constexpr ControlDesign cmdScopeDefaults{{120, 1140, 1200, 375}, "Defaults", "Set to Default Values"};

// ---- Controls: five frames of colour rows side by side, the theme and preview buttons in a row below.
constexpr DesignRect colourFrame(int i) {
    return {60 + i * 1620.0, 60, 1620, 2010};
}
// In a colour frame, row `row`: the swatch and, beside it, the button that picks its colour.
constexpr DesignRect swatch(int row) {
    return {150, 345 + row * 390.0, 270, 270};
}
constexpr DesignRect colourButton(int row) {
    return {540, 300 + row * 390.0, 960, 345};
}
constexpr DesignRect themeButton(int i) {
    return {60 + i * 1320.0, 2280, 1200, 375};
}

inline constexpr ControlDesign frSDRColours{colourFrame(0), "SDR Colours"};
inline constexpr ControlDesign shpSDRBackGroundColour{swatch(0)};
inline constexpr ControlDesign cmdSDrBackGroundColour{colourButton(0), "Backgrnd"};
inline constexpr ControlDesign shpSDRLabelColour{swatch(1)};
inline constexpr ControlDesign cmdSDrLabelColour{colourButton(1), "Labels"};
inline constexpr ControlDesign shpSDRTuningColour{swatch(2)};
inline constexpr ControlDesign cmdSDRTuningColour{colourButton(2), "Tuning"};

inline constexpr ControlDesign frScrollLabels{colourFrame(1), "Scroll Labels"};
inline constexpr ControlDesign shpNormalScrollLabelColour{swatch(0)};
inline constexpr ControlDesign cmdNormalScrollLabelColour{colourButton(0), "Normal"};
inline constexpr ControlDesign shpFocusScrollLabelColour{swatch(1)};
inline constexpr ControlDesign cmdFocusScrollLabelColour{colourButton(1), "Focused"};
inline constexpr ControlDesign chkScollLabelHiliteBorder{{90, 1110, 1500, 285}, "  Hilite Border"};

inline constexpr ControlDesign frFrameColours{colourFrame(2), "Frame Colours"};
inline constexpr ControlDesign shpSDRFrameNormalColour{swatch(0)};
inline constexpr ControlDesign cmdSDRFrameNormalColour{colourButton(0), "Normal"};
inline constexpr ControlDesign shpSDRFrameFocusColour{swatch(1)};
inline constexpr ControlDesign cmdSDRFrameFocusColour{colourButton(1), "Focused"};

inline constexpr ControlDesign frScopeColours{colourFrame(3), "Scope Colours"};
inline constexpr ControlDesign shpScopeBackColour{swatch(0)};
inline constexpr ControlDesign cmdScopeColour{colourButton(0), "Scope"};
inline constexpr ControlDesign shpScopeGraticuleColour{swatch(1)};
inline constexpr ControlDesign cmdScopeGraticule{colourButton(1), "Graticule"};
inline constexpr ControlDesign shpScopeXTextColour{swatch(2)};
inline constexpr ControlDesign cmdScopeXTextColour{colourButton(2), "X-Text"};
inline constexpr ControlDesign shpScopeYTextColour{swatch(3)};
inline constexpr ControlDesign cmdScopeYTextColour{colourButton(3), "Y-Text"};

inline constexpr ControlDesign frTraceColours{colourFrame(4), "Trace Colours"};
inline constexpr ControlDesign shpScopeY1Colour{swatch(0)};
inline constexpr ControlDesign cmdScopeY1Colour{colourButton(0), "Y1"};
inline constexpr ControlDesign shpScopeY2Colour{swatch(1)};
inline constexpr ControlDesign cmdScopeY2Colour{colourButton(1), "Y2"};
inline constexpr ControlDesign shpScopeFilterCurveColour{swatch(2)};
inline constexpr ControlDesign cmdScopeFilterCurveColour{colourButton(2), "Filtr Curv"};
inline constexpr ControlDesign shpScopeNotchFilterColour{swatch(3)};
inline constexpr ControlDesign cmdScopeNotchFilterColour{colourButton(3), "Notch Filtr"};

inline constexpr ControlDesign cmdSDRColoursLoad{themeButton(0), "Load"};
inline constexpr ControlDesign cmdSDRColoursSave{themeButton(1), "Save"};
inline constexpr ControlDesign cmdSDRPreviewColours{themeButton(2), "Preview"};
inline constexpr ControlDesign cmdSDRControlDefaults{themeButton(3), "Defaults", "Set to Default Values"};

// ---- About
inline constexpr ControlDesign lblAbout{{240, 240, 7800, 2880}};

// ---- The paths in the dialog's client area.

constexpr DesignPath firstTab() {
    return DesignPath(TabStrip1).then(firstTabHeader);
}
constexpr DesignPath okButton() {
    return DesignPath(cmdOK.place);
}
constexpr DesignPath applyButton() {
    return DesignPath(cmdApply.place);
}
constexpr DesignPath cancelButton() {
    return DesignPath(cmdCancel.place);
}
// The model list on the first page.
constexpr DesignPath modelList() {
    return DesignPath(frConfigs).then(cboSDRModel.place);
}
constexpr DesignPath calibrateButton() {
    return DesignPath(frConfigs).then(cmdCalDDS.place);
}
} // namespace config::design
