// The configuration dialog window: its controls and design values, the filling, and the handlers that
// answer the user before Apply.
#include "config/frmConfig.h"

#include <QFont>
#include <cmath>
#include <vector>

#include "clockgen/clsCY27EE16.h"
#include "config/ColourTheme.h"
#include "config/ConfigDesign.h"
#include "config/ConfigSliders.h"
#include "config/ConfigTexts.h"
#include "config/LiveObjects.h"
#include "config/ModelLoad.h"
#include "dsp/NerixDX8.h"
#include "dsp/clsFFTFilter.h"
#include "frame/NumberFormat.h"
#include "frame/ScopedFlag.h"
#include "platform/profile/ProgramFolder.h"
#include "platform/runtime/Convert.h"
#include "platform/runtime/Hooks.h"
#include "platform/runtime/RuntimeError.h"
#include "radio/frmCalibrate.h"

namespace {

constexpr const char* kForm = "frmConfig";

namespace design = config::design;

// The tabs, in order, with their tooltips; tab k + 1 brings page frConfigs(k) to the front.
constexpr struct {
    const char* caption;
    const char* toolTip;
} kTabs[frmConfig::kPageCount] = {
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
};

// The line interface options by index (the interface kind), and the order they stand in on the page.
constexpr struct {
    const char* caption;
    const char* toolTip;
    double width;
} kInterfaces[7] = {
    {"Ser", "Serial Port DDS Control", 690},     {"Par", "Parallel Port DDS Control", 690},
    {"USB", "Reserved for future", 750},         {"Null", "Null Port - used in ZIVEZO RX Model", 750},
    {"NTI USB", "Reserved for future", 1050},    {"FTDI US232C", "Reserved for future", 1470},
    {"FTDI FT232", "Reserved for future", 1380},
};
constexpr int16_t kInterfaceRow[7] = {1, 0, 2, 3, 4, 5, 6};

constexpr struct {
    const char* caption;
    const char* toolTip;
    double width;
} kDreamWindows[3] = {
    {"Default", "Run DREAM with Window showing", 1050},
    {"Min", "Run DREAM minimised", 750},
    {"Hide", "Run DREAM hidden", 750},
};

// The serial and parallel lines' settle time when nothing else is known.
constexpr double kDefaultBitPeriod = 5E-06;

constexpr const char* kWiring = "PC(DB25)          RX(DB9) DRT1\r\n"
                                "--------          -------\r\n"
                                "D0(2) SDIO  --->  (7) \r\n"
                                "D1(3) SCLK  --->  (3)\r\n"
                                "D2(4) IOUPD --->  (4)\r\n"
                                "0V(18)Gnd   <-->  (5) Gnd\r\n";

constexpr const char* kLoFormula =
    "Local Oscillator Output Frequency = (Desired Tuned Frequency + IF Offset) * "
    "( LO Divider / PLL Multiplier)";

int16_t ticked(bool on) {
    return on ? 1 : 0;
}

Oscillator& oscillatorOf(const modSetupRX::RadioObjects& radio, const char* step) {
    if (!radio.Vfo || !radio.Vfo->OscType()) runtime::raise(runtime::err::kObjectNotSet, step);
    return *radio.Vfo->OscType();
}

template <class T> T& present(T* object, const char* what) {
    if (!object) runtime::raise(runtime::err::kObjectNotSet, what);
    return *object;
}

// One row of swatch and button in a colour frame.
void placeSwatchRow(ui::Shape& swatch, ui::CommandButton& button, int row) {
    const double top = 300 + row * 390;
    swatch.Move(150, top + 45, 270, 270);
    button.Move(540, top, 960, 345);
}

} // namespace

frmConfig::frmConfig(config::ConfigContext& context, QWidget* owner)
    : ui::Form(owner), TabStrip1(this),
      // General
      lblSDRModel(page(0), "SDRModel"), cboSDRModel(page(0)), lblHamLibModel(page(0), "Hamlib Model"),
      cboHamLibModel(page(0)), lblRunPriority(page(0), "Process Priority"),
      cboRunPriority(page(0), ui::ComboBox::kDropdownCombo), cmdSavePath(page(0), "Set Save Recordings Path"),
      txtSaveRecordingsPath(page(0)), chkUseSPL(page(0), "Use Intel SPL ?"),
      chkKBDSupport(page(0), "Keyboard Support"), chkAutoTrackPresets(page(0), "Auto-Track Presets"),
      chkScrollWheelEnableOverScope(page(0), "ScrollWheel Tune over 'scope?"),
      chkEnableEncoder(page(0), "Enable Shaft Encoder"), chkShaftAutoRate(page(0), "Shaft Encoder Auto Rate"),
      chkAutoStartSDR(page(0), "Power On SDR on Start-Up"), FormCaptionOffOnPwrOn(page(0), "Title Bar Off"),
      // Soundcard
      lblPlayDevices(page(1), "AF OUT Device"), cboPlayDevices(page(1)),
      lblCapDevices(page(1), "IF IN Device"), cboCapDevices(page(1)),
      lblPhaseCorrection(page(1), "Phase Correction"), sldPhaseAngle(page(1)),
      lblPhaseAngle(page(1), "0.00 Degrees"), lblGainCorrection(page(1), "Gain Correction"),
      sldAmpBalance(page(1)), lblAmplitudeGain(page(1), "0.000 Gain"),
      chkADCDelayBitCorrection(page(1), "1 Bit Correction for ADC"),
      // VFO
      lblIFFrequency(page(2), "IF Offset (Hz)"), txtIFFrequency(page(2)), chkLoLO(page(2), "Lo Side LO ?"),
      lblVFOMult(page(2), "LO Divider"), cboVFOMult(page(2), ui::ComboBox::kDropdownCombo),
      lblPLLMultiplier(page(2), "PLL Multiplier"), cboPLLMultiplier(page(2), ui::ComboBox::kDropdownCombo),
      lblXtalFrequency(page(2), "XTAL Frequ (Hz)"), txtXtalFrequency(page(2)), Label1(page(2), kLoFormula),
      // DDS
      lblDDSClkin(page(3), "DDS Clock (Hz)"), txtDDSClkin(page(3)), cmdCalDDS(page(3), "Calibrate"),
      lblAutoDDSRefresh(page(3), "DDS Auto Refresh"), chkAutoDDSRefresh(page(3)),
      lblIF(page(3), "DDS I/F Control"), lblXtalCap(page(3), "CY27EE16 Xtal Capacitance"),
      sldCY27EE16XtalCap(page(3)),
      // Serial I/F
      lblComPort(page(4), "COM Port"), cboComPort(page(4)), lblBitPeriod(page(4), "Bit Period        sec"),
      txtBitPeriod(page(4)), cmdBitPeriodDefault(page(4), "Default"),
      // Parallel I/F
      lblPortAddress(page(5), "Port Address    Hex"), txtPortAddress(page(5)),
      lblParallelPortBitPeriod(page(5), "Bit Period           sec"), txtParallelPortBitPeriod(page(5)),
      cmdParallelPortDefaults(page(5), "Defaults"), chkInvertingIF(page(5), "Inverting I/F"),
      lblIOUPDBitNo(page(5), "IOUPD Bit Number"), cboIOUPDBitNo(page(5)),
      lblSCLCKBitNo(page(5), "SCLCK Bit Number"), cboSCLCKBitNo(page(5)),
      lblSDATABitNo(page(5), "SDIO Bit Number"), cboSDATABitNo(page(5)), Text1(page(5), kWiring, true),
      // DREAM
      chkDreamRunOnDRM(page(6), "Run DREAM.EXE on DRM"),
      chkMuteAFOnDRM(page(6), "Mute SDR AF on DRM Mode Selected"),
      chkCloseSoundCardOnDRM(page(6), "Close Soundcard on DRM Mode"),
      chkDreamCloseOnModeChange(page(6), "Close Dream on Mode Change"),
      chkDreamCloseOnExit(page(6), "Close Dream On SDR Exit"), frDreamWindowMode(page(6), "Dream Window"),
      lblPathToDream(page(6), "DREAM Program"), txtPathToDream(page(6)), cmdFindDREAM(page(6), "&Browse"),
      lblDreamProgArgs(page(6), "DREAM Prog Args"), txtDreamProgArgs(page(6)), lblSDRDreamArgs(page(6)),
      cmdDreamDefault(page(6), "Defaults"),
      // Spectrum Display
      lblSmoothingCount(page(7), "Default Smooth Count"), txtSpectrumDisplaySmoothingCount(page(7)),
      lblHideToolTip(page(7), "Hide Freq ToolTip"), chkSpectrumDisplayHideToolTip(page(7)),
      cmdScopeDefaults(page(7), "Defaults"),
      // Controls
      frSDRColours(page(8), "SDR Colours"), shpSDRBackGroundColour(frSDRColours.container()),
      cmdSDrBackGroundColour(frSDRColours.container(), "Backgrnd"),
      shpSDRLabelColour(frSDRColours.container()), cmdSDrLabelColour(frSDRColours.container(), "Labels"),
      shpSDRTuningColour(frSDRColours.container()), cmdSDRTuningColour(frSDRColours.container(), "Tuning"),
      frScrollLabels(page(8), "Scroll Labels"), shpNormalScrollLabelColour(frScrollLabels.container()),
      cmdNormalScrollLabelColour(frScrollLabels.container(), "Normal"),
      shpFocusScrollLabelColour(frScrollLabels.container()),
      cmdFocusScrollLabelColour(frScrollLabels.container(), "Focused"),
      chkScollLabelHiliteBorder(frScrollLabels.container(), "  Hilite Border"),
      frFrameColours(page(8), "Frame Colours"), shpSDRFrameNormalColour(frFrameColours.container()),
      cmdSDRFrameNormalColour(frFrameColours.container(), "Normal"),
      shpSDRFrameFocusColour(frFrameColours.container()),
      cmdSDRFrameFocusColour(frFrameColours.container(), "Focused"), frScopeColours(page(8), "Scope Colours"),
      shpScopeBackColour(frScopeColours.container()), cmdScopeColour(frScopeColours.container(), "Scope"),
      shpScopeGraticuleColour(frScopeColours.container()),
      cmdScopeGraticule(frScopeColours.container(), "Graticule"),
      shpScopeXTextColour(frScopeColours.container()),
      cmdScopeXTextColour(frScopeColours.container(), "X-Text"),
      shpScopeYTextColour(frScopeColours.container()),
      cmdScopeYTextColour(frScopeColours.container(), "Y-Text"), frTraceColours(page(8), "Trace Colours"),
      shpScopeY1Colour(frTraceColours.container()), cmdScopeY1Colour(frTraceColours.container(), "Y1"),
      shpScopeY2Colour(frTraceColours.container()), cmdScopeY2Colour(frTraceColours.container(), "Y2"),
      shpScopeFilterCurveColour(frTraceColours.container()),
      cmdScopeFilterCurveColour(frTraceColours.container(), "Filtr Curv"),
      shpScopeNotchFilterColour(frTraceColours.container()),
      cmdScopeNotchFilterColour(frTraceColours.container(), "Notch Filtr"),
      cmdSDRColoursLoad(page(8), "Load"), cmdSDRColoursSave(page(8), "Save"),
      cmdSDRPreviewColours(page(8), "Preview"), cmdSDRControlDefaults(page(8), "Defaults"),
      // About
      lblAbout(page(9)),
      // The buttons below the pages
      cmdOK(this, "&OK"), cmdCancel(this, "&Cancel"), cmdApply(this, "&Apply"), context_(context),
      preview_(context.State, context.Analyser, context.MainWindow) {
    // Most controls use the 8.25 pt sans-serif face.
    QFont face = font();
    face.setPointSizeF(8.25);
    setFont(face);

    ui::place(TabStrip1, design::TabStrip1);
    for (const auto& tab : kTabs)
        TabStrip1.AddTab(tab.caption, tab.toolTip);
    for (int16_t k = 0; k < kPageCount; ++k) {
        frConfigs[k].setBorderStyle(0);
        ui::place(frConfigs[k], design::frConfigs);
    }
    for (ui::CommandButton* b : {&cmdOK, &cmdCancel, &cmdApply})
        b->Move(0, 0, design::kButtonWidth, design::kButtonHeight);
    ui::setTabOrder({&cmdOK, &cmdCancel, &cmdApply});

    // General: the lists on the left, the options in one column on the right.
    lblSDRModel.Move(120, 120, 1800, 240);
    cboSDRModel.Move(120, 360, 4560, 330);
    cboSDRModel.setToolTipText("Select SDR Model");
    lblHamLibModel.Move(120, 810, 1800, 240);
    cboHamLibModel.Move(120, 1050, 4560, 345);
    cboHamLibModel.setToolTipText("Select HamLib Rig");
    cboHamLibModel.setSorted(true);
    // A fixed-pitch face lines up the padded rig numbers.
    cboHamLibModel.setFontName("Courier New");
    cboHamLibModel.setFontSize(9);
    lblRunPriority.Move(120, 1560, 1500, 240);
    cboRunPriority.Move(1680, 1515, 1800, 330);
    const char* priorityTip = "Set Process Priority when ON is clicked - Default is Realtime";
    lblRunPriority.setToolTipText(priorityTip);
    cboRunPriority.setToolTipText(priorityTip);
    cmdSavePath.Move(120, 2040, 2700, 375);
    txtSaveRecordingsPath.Move(120, 2520, 4560, 315);
    txtSaveRecordingsPath.setToolTipText("Path where recordings will be saved");
    txtSaveRecordingsPath.setLocked(true);
    const struct {
        ui::CheckBox* box;
        const char* toolTip;
    } options[] = {
        {&chkUseSPL, "Click to use Intel SPL"},
        {&chkKBDSupport, "Use Keyboard to Adjust Scrollable Labels ?"},
        {&chkAutoTrackPresets, "Automatically Update Presets with SDR Settings (exc. Frequency)"},
        {&chkScrollWheelEnableOverScope, "Click to enable Tuning by ScrollWheel over the Spectrum Display"},
        {&chkEnableEncoder, "Enable Shaft Encoder Support"},
        {&chkShaftAutoRate, ""},
        {&chkAutoStartSDR, ""},
        {&FormCaptionOffOnPwrOn, "Turn off Title Bar of Application"},
    };
    for (int i = 0; i < 8; ++i) {
        options[i].box->Move(5040, 120 + i * 375, 3120, 285);
        options[i].box->setToolTipText(options[i].toolTip);
    }

    // Soundcard
    lblPlayDevices.Move(120, 195, 1500, 240);
    cboPlayDevices.Move(1680, 150, 6360, 330);
    cboPlayDevices.setToolTipText("Select AF Output Device");
    lblCapDevices.Move(120, 615, 1500, 240);
    cboCapDevices.Move(1680, 570, 6360, 330);
    cboCapDevices.setToolTipText("Select Audio Input Device");
    const struct {
        ui::Slider* slider;
        const config::SliderRange* range;
    } sliders[] = {{&sldPhaseAngle, &config::kPhaseAngleRange},
                   {&sldAmpBalance, &config::kAmpBalanceRange},
                   {&sldCY27EE16XtalCap, &config::kXtalCapRange}};
    for (const auto& s : sliders) {
        s.slider->setMax(s.range->Max);
        s.slider->setMin(s.range->Min);
        s.slider->setSmallChange(s.range->SmallChange);
        s.slider->setLargeChange(s.range->LargeChange);
        s.slider->setTickFrequency(s.range->TickFrequency);
    }
    lblPhaseCorrection.Move(120, 1185, 1500, 240);
    sldPhaseAngle.Move(1680, 1080, 4800, 450);
    lblPhaseAngle.Move(6600, 1185, 1200, 240);
    lblPhaseAngle.setAutoSize(true);
    lblGainCorrection.Move(120, 1785, 1500, 240);
    sldAmpBalance.Move(1680, 1680, 4800, 450);
    lblAmplitudeGain.Move(6600, 1785, 1200, 240);
    lblAmplitudeGain.setAutoSize(true);
    chkADCDelayBitCorrection.Move(1680, 2400, 3000, 285);

    // VFO
    lblIFFrequency.Move(120, 195, 1500, 240);
    txtIFFrequency.Move(1680, 150, 1500, 315);
    txtIFFrequency.setToolTipText("IF Frequency in Hz");
    chkLoLO.Move(3480, 165, 1800, 285);
    chkLoLO.setToolTipText("Check if DDS tunes LOW side of tuned frequency");
    lblVFOMult.Move(120, 615, 1500, 240);
    lblVFOMult.setToolTipText("LO Output = Tuned Frequency X LO Divider");
    cboVFOMult.Move(1680, 570, 1000, 330);
    cboVFOMult.setToolTipText("LO will be set to tuned frequency x the LO Divider, eg IQ generation");
    lblPLLMultiplier.Move(120, 1035, 1500, 240);
    lblPLLMultiplier.setToolTipText("LO output = Tuned Frequency / PLL Multiplier");
    cboPLLMultiplier.Move(1680, 990, 1200, 330);
    cboPLLMultiplier.setToolTipText("External Multiplier, eg PLL or Harmonic filter, normally set to 1");
    lblXtalFrequency.Move(120, 1455, 1500, 240);
    lblXtalFrequency.setToolTipText("Crystal Frequency in Hz");
    txtXtalFrequency.Move(1680, 1410, 1500, 315);
    txtXtalFrequency.setToolTipText("Crystal Frequency in Hz - only use in ZIVEZO RX model");
    Label1.Move(120, 2160, 8040, 600);
    Label1.setWordWrap(true);
    Label1.setAlignment(0);

    // DDS
    lblDDSClkin.Move(120, 195, 1500, 240);
    txtDDSClkin.Move(1680, 150, 1500, 315);
    txtDDSClkin.setToolTipText("DDS CLKIN Frequency");
    ui::place(cmdCalDDS, design::cmdCalDDS);
    cmdCalDDS.setToolTipText("Calibrate DDS CLKIN");
    lblAutoDDSRefresh.Move(120, 660, 1500, 240);
    chkAutoDDSRefresh.Move(1680, 630, 285, 285);
    chkAutoDDSRefresh.setToolTipText("Periodic Refresh DDS Settings");
    lblIF.Move(120, 1140, 1800, 240);
    optIF.Click = [this](int16_t Index) { optIF_Click(Index); };
    double left = 120;
    for (const int16_t index : kInterfaceRow) {
        ui::OptionButton& option = optIF.Load(index, page(3), kInterfaces[index].caption);
        option.setToolTipText(kInterfaces[index].toolTip);
        option.Move(left, 1410, kInterfaces[index].width, 285);
        left += kInterfaces[index].width + 60;
    }
    // Kind 2 leaves the oscillator without a line: it cannot be chosen.
    optIF[2].setEnabled(false);
    lblXtalCap.Move(120, 2100, 2400, 240);
    sldCY27EE16XtalCap.Move(2640, 2010, 4200, 450);

    // Serial I/F
    lblComPort.Move(120, 195, 1800, 240);
    cboComPort.Move(1980, 150, 900, 330);
    cboComPort.setToolTipText("Select Serial Com Port");
    lblBitPeriod.Move(120, 660, 1800, 240);
    txtBitPeriod.Move(1980, 615, 1500, 315);
    txtBitPeriod.setToolTipText("Clocking Period in seconds");
    cmdBitPeriodDefault.Move(3660, 585, 1080, 375);

    // Parallel I/F: the port on the left, the wiring table on the right.
    lblPortAddress.Move(120, 195, 1860, 240);
    txtPortAddress.Move(2040, 150, 1500, 315);
    txtPortAddress.setToolTipText("Parallel Port Address");
    lblParallelPortBitPeriod.Move(120, 615, 1860, 240);
    txtParallelPortBitPeriod.Move(2040, 570, 1500, 315);
    txtParallelPortBitPeriod.setToolTipText("Clocking Period in seconds");
    cmdParallelPortDefaults.Move(2040, 1005, 1080, 375);
    chkInvertingIF.Move(120, 1050, 1800, 285);
    chkInvertingIF.setToolTipText("Inverting Interface, eg 7404, MC1489");
    const struct {
        ui::Label* label;
        ui::ComboBox* list;
        const char* toolTip;
    } bits[] = {{&lblIOUPDBitNo, &cboIOUPDBitNo, "Select Parallel Port Bit number for IOUPD"},
                {&lblSCLCKBitNo, &cboSCLCKBitNo, "Select Parallel Port Bit number for SCLCK"},
                {&lblSDATABitNo, &cboSDATABitNo, "Select Parallel Port Bit number for SDIO"}};
    for (int i = 0; i < 3; ++i) {
        bits[i].label->Move(120, 1635 + i * 420, 1860, 240);
        bits[i].list->Move(2040, 1590 + i * 420, 700, 330);
        bits[i].list->setToolTipText(bits[i].toolTip);
    }
    Text1.Move(3900, 150, 4260, 1920);
    Text1.setToolTipText("Parallel Port to RX Wiring");
    Text1.setLocked(true);
    Text1.setFontName("Courier New");

    // DREAM: the options on the left, the decoder window's style on the right, the program below.
    const struct {
        ui::CheckBox* box;
        const char* toolTip;
    } dream[] = {
        {&chkDreamRunOnDRM, "Run DREAM.EXE when DRM mode selected"},
        {&chkMuteAFOnDRM, "Mute AF Output when DRM selected"},
        {&chkCloseSoundCardOnDRM, "Release Soundcard when DRM Selected - Win98"},
        {&chkDreamCloseOnModeChange, "Kill DREAM.EXE when Changing Demod mode away from DRM"},
        {&chkDreamCloseOnExit, "Kill DREAM.EXE when NerixSDR exists"},
    };
    for (int i = 0; i < 5; ++i) {
        dream[i].box->Move(120, 120 + i * 300, 3840, 285);
        dream[i].box->setToolTipText(dream[i].toolTip);
    }
    chkDreamRunOnDRM.setFontBold(true);
    frDreamWindowMode.Move(4200, 60, 3840, 690);
    frDreamWindowMode.setToolTipText("Set DREAM.EXE Window Style");
    left = 180;
    for (int16_t i = 0; i < 3; ++i) {
        ui::OptionButton& option =
            optDreamWindow.Load(i, frDreamWindowMode.container(), kDreamWindows[i].caption);
        option.setToolTipText(kDreamWindows[i].toolTip);
        option.Move(left, 300, kDreamWindows[i].width, 285);
        left += kDreamWindows[i].width + 120;
    }
    lblPathToDream.Move(120, 1815, 1500, 240);
    lblPathToDream.setToolTipText("Location of DREAM");
    txtPathToDream.Move(1680, 1770, 5160, 315);
    txtPathToDream.setToolTipText("Full Pathname of DREAM.EXE");
    cmdFindDREAM.Move(6960, 1740, 1080, 375);
    cmdFindDREAM.setToolTipText("Locate DREAM.EXE");
    lblDreamProgArgs.Move(120, 2265, 1500, 240);
    lblDreamProgArgs.setToolTipText("CLI Arguments");
    txtDreamProgArgs.Move(1680, 2220, 5160, 315);
    txtDreamProgArgs.setToolTipText("DREAM.EXE Arguments");
    lblSDRDreamArgs.Move(1680, 2670, 5160, 315);
    lblSDRDreamArgs.setToolTipText("SDR generated Dream.exe cli args");
    lblSDRDreamArgs.setBackColor(0xFFFFFF);
    lblSDRDreamArgs.setBorderStyle(1);
    lblSDRDreamArgs.setEnabled(false);
    cmdDreamDefault.Move(6960, 2640, 1080, 375);
    cmdDreamDefault.setToolTipText("Set to Default Values");

    // Spectrum Display
    lblSmoothingCount.Move(120, 195, 2000, 240);
    txtSpectrumDisplaySmoothingCount.Move(2160, 150, 900, 315);
    txtSpectrumDisplaySmoothingCount.setToolTipText("Number of Sampling Cycles to average display over");
    lblHideToolTip.Move(120, 660, 2000, 240);
    chkSpectrumDisplayHideToolTip.Move(2160, 630, 285, 285);
    chkSpectrumDisplayHideToolTip.setToolTipText("Hide the Frequency tooltip");
    cmdScopeDefaults.Move(120, 1140, 1200, 375);
    cmdScopeDefaults.setToolTipText("Set to Default Values");

    // Controls: five frames of swatches, the theme and preview buttons in a row below them.
    const double frameLefts[5] = {60, 1680, 3300, 4920, 6540};
    ui::Frame* colourFrames[5] = {&frSDRColours, &frScrollLabels, &frFrameColours, &frScopeColours,
                                  &frTraceColours};
    for (int i = 0; i < 5; ++i)
        colourFrames[i]->Move(frameLefts[i], 60, 1620, 2010);
    placeSwatchRow(shpSDRBackGroundColour, cmdSDrBackGroundColour, 0);
    placeSwatchRow(shpSDRLabelColour, cmdSDrLabelColour, 1);
    placeSwatchRow(shpSDRTuningColour, cmdSDRTuningColour, 2);
    placeSwatchRow(shpNormalScrollLabelColour, cmdNormalScrollLabelColour, 0);
    placeSwatchRow(shpFocusScrollLabelColour, cmdFocusScrollLabelColour, 1);
    chkScollLabelHiliteBorder.Move(90, 1110, 1500, 285);
    placeSwatchRow(shpSDRFrameNormalColour, cmdSDRFrameNormalColour, 0);
    placeSwatchRow(shpSDRFrameFocusColour, cmdSDRFrameFocusColour, 1);
    placeSwatchRow(shpScopeBackColour, cmdScopeColour, 0);
    placeSwatchRow(shpScopeGraticuleColour, cmdScopeGraticule, 1);
    placeSwatchRow(shpScopeXTextColour, cmdScopeXTextColour, 2);
    placeSwatchRow(shpScopeYTextColour, cmdScopeYTextColour, 3);
    placeSwatchRow(shpScopeY1Colour, cmdScopeY1Colour, 0);
    placeSwatchRow(shpScopeY2Colour, cmdScopeY2Colour, 1);
    placeSwatchRow(shpScopeFilterCurveColour, cmdScopeFilterCurveColour, 2);
    placeSwatchRow(shpScopeNotchFilterColour, cmdScopeNotchFilterColour, 3);
    for (ui::Shape* swatch :
         {&shpSDRBackGroundColour, &shpSDRLabelColour, &shpSDRTuningColour, &shpNormalScrollLabelColour,
          &shpFocusScrollLabelColour, &shpSDRFrameNormalColour, &shpSDRFrameFocusColour, &shpScopeBackColour,
          &shpScopeGraticuleColour, &shpScopeXTextColour, &shpScopeYTextColour, &shpScopeY1Colour,
          &shpScopeY2Colour, &shpScopeFilterCurveColour, &shpScopeNotchFilterColour}) {
        swatch->setBackStyle(1);
        swatch->setBorderColor(0x000000);
    }
    ui::CommandButton* themeRow[4] = {&cmdSDRColoursLoad, &cmdSDRColoursSave, &cmdSDRPreviewColours,
                                      &cmdSDRControlDefaults};
    for (int i = 0; i < 4; ++i)
        themeRow[i]->Move(60 + i * 1320, 2280, 1200, 375);
    cmdSDRControlDefaults.setToolTipText("Set to Default Values");

    // About
    lblAbout.Move(240, 240, 7800, 2880);
    lblAbout.setWordWrap(true);
    lblAbout.setAlignment(0);

    wireHandlers();
}

QWidget* frmConfig::page(int16_t k) {
    if (!frConfigs.contains(0))
        for (int16_t i = 0; i < kPageCount; ++i)
            frConfigs.Load(i, this);
    return frConfigs[k].container();
}

void frmConfig::wireHandlers() {
    TabStrip1.Click = [this] { TabStrip1_Click(); };
    cboSDRModel.Click = [this] { cboSDRModel_Click(); };
    cboHamLibModel.Click = [this] { cboHamLibModel_Click(); };
    cboIOUPDBitNo.Click = [this] { cboIOUPDBitNo_Click(); };
    cboSCLCKBitNo.Click = [this] { cboSCLCKBitNo_Click(); };
    cboSDATABitNo.Click = [this] { cboSDATABitNo_Click(); };
    cboRunPriority.Click = [this] { cboRunPriority_Click(); };
    chkEnableEncoder.Click = [this] { chkEnableEncoder_Click(); };
    cmdBitPeriodDefault.Click = [this] { cmdBitPeriodDefault_Click(); };
    cmdParallelPortDefaults.Click = [this] { cmdParallelPortDefaults_Click(); };
    cmdCalDDS.Click = [this] { cmdCalDDS_Click(); };
    sldAmpBalance.Scroll = [this] { sldAmpBalance_Scroll(); };
    sldAmpBalance.MouseDown = [this](int16_t Button, int16_t, float, float) {
        sldAmpBalance_MouseDown(Button);
    };
    sldPhaseAngle.Scroll = [this] { sldPhaseAngle_Scroll(); };
    sldPhaseAngle.MouseDown = [this](int16_t Button, int16_t, float, float) {
        sldPhaseAngle_MouseDown(Button);
    };
    sldCY27EE16XtalCap.Scroll = [this] { sldCY27EE16XtalCap_Scroll(); };
    cmdDreamDefault.Click = [this] { cmdDreamDefault_Click(); };
    cmdFindDREAM.Click = [this] { cmdFindDREAM_Click(); };
    cmdSavePath.Click = [this] { cmdSavePath_Click(); };
    cmdOK.Click = [this] { cmdOK_Click(); };
    cmdCancel.Click = [this] { cmdCancel_Click(); };
    cmdApply.Click = [this] { cmdApply_Click(); };

    // Each colour button passes its own swatch.
    const struct {
        ui::CommandButton* button;
        ui::Shape* swatch;
    } colourButtons[] = {
        {&cmdScopeColour, &shpScopeBackColour},
        {&cmdScopeGraticule, &shpScopeGraticuleColour},
        {&cmdScopeXTextColour, &shpScopeXTextColour},
        {&cmdScopeYTextColour, &shpScopeYTextColour},
        {&cmdScopeY1Colour, &shpScopeY1Colour},
        {&cmdScopeY2Colour, &shpScopeY2Colour},
        {&cmdScopeFilterCurveColour, &shpScopeFilterCurveColour},
        {&cmdScopeNotchFilterColour, &shpScopeNotchFilterColour},
        {&cmdSDrBackGroundColour, &shpSDRBackGroundColour},
        {&cmdSDrLabelColour, &shpSDRLabelColour},
        {&cmdSDRTuningColour, &shpSDRTuningColour},
        {&cmdSDRFrameNormalColour, &shpSDRFrameNormalColour},
        {&cmdSDRFrameFocusColour, &shpSDRFrameFocusColour},
        {&cmdNormalScrollLabelColour, &shpNormalScrollLabelColour},
        {&cmdFocusScrollLabelColour, &shpFocusScrollLabelColour},
    };
    for (const auto& b : colourButtons)
        b.button->Click = [this, swatch = b.swatch] { SelectShapeColour(*swatch); };
    cmdSDRControlDefaults.Click = [this] { cmdSDRControlDefaults_Click(); };
    cmdScopeDefaults.Click = [this] { cmdScopeDefaults_Click(); };
    // Any mouse button previews, from its press to its release; the button has no click, so the keyboard
    // does nothing.
    cmdSDRPreviewColours.MouseDown = [this](int16_t, int16_t, float, float) {
        cmdSDRPreviewColours_MouseDown();
    };
    cmdSDRPreviewColours.MouseUp = [this](int16_t, int16_t, float, float) { cmdSDRPreviewColours_MouseUp(); };
    cmdSDRColoursSave.Click = [this] { cmdSDRColoursSave_Click(); };
    cmdSDRColoursLoad.Click = [this] { cmdSDRColoursLoad_Click(); };
}

void frmConfig::setSwatchColour(ui::Shape& swatch, int32_t colour) {
    swatch.setBackColor(colour);
}

ui::Shape& frmConfig::swatch(config::Swatch which) {
    using config::Swatch;
    switch (which) {
    case Swatch::SDRBackGround:
        return shpSDRBackGroundColour;
    case Swatch::SDRFrameFocus:
        return shpSDRFrameFocusColour;
    case Swatch::SDRFrameNormal:
        return shpSDRFrameNormalColour;
    case Swatch::SDRLabel:
        return shpSDRLabelColour;
    case Swatch::SDRTuning:
        return shpSDRTuningColour;
    case Swatch::NormalScrollLabel:
        return shpNormalScrollLabelColour;
    case Swatch::FocusScrollLabel:
        return shpFocusScrollLabelColour;
    case Swatch::ScopeBack:
        return shpScopeBackColour;
    case Swatch::ScopeGraticule:
        return shpScopeGraticuleColour;
    case Swatch::ScopeY1:
        return shpScopeY1Colour;
    case Swatch::ScopeY2:
        return shpScopeY2Colour;
    case Swatch::ScopeNotchFilter:
        return shpScopeNotchFilterColour;
    case Swatch::ScopeFilterCurve:
        return shpScopeFilterCurveColour;
    case Swatch::ScopeXText:
        return shpScopeXTextColour;
    case Swatch::ScopeYText:
        return shpScopeYTextColour;
    }
    runtime::raise(runtime::err::kInvalidPropertyArrayIndex, "frmConfig.swatch");
}

config::SwatchColours frmConfig::swatches() {
    config::SwatchColours colours;
    for (std::size_t i = 0; i < config::kSwatchCount; ++i)
        colours.colours[i] = swatchColour(swatch(static_cast<config::Swatch>(i)));
    return colours;
}

void frmConfig::setSwatches(const config::SwatchColours& colours) {
    for (std::size_t i = 0; i < config::kSwatchCount; ++i)
        setSwatchColour(swatch(static_cast<config::Swatch>(i)), colours.colours[i]);
}

template <class Step> void frmConfig::fillStep(const char* name, Step&& step) {
    try {
        step();
    } catch (const runtime::RuntimeError& e) {
        runtime::AddLog(std::string(kForm) + ".Form_Load:" + name + ": Code=" + std::to_string(e.Number()) +
                        " Description=" + e.Description() + " Source=" + e.Source());
    }
}

// ---- The filling

void frmConfig::Form_Load() {
    ReceiverState& state = context_.State;
    state.ConfigDialogOpen = true;
    const ScopedFlag loading(loading_);
    const NumberFormat::Separators separators = NumberFormat::userSeparators();

    setCaption(std::string(runtime::kProductName) + " - Configuration");
    // The sizes are worked in single precision, as the window's design values are.
    const float width = 3 * static_cast<float>(TabStrip1.Left()) + static_cast<float>(TabStrip1.Width());
    lblAbout.setCaption(config::aboutText(context_.Version));
    const float height = static_cast<float>(TabStrip1.Height()) + static_cast<float>(TabStrip1.Top()) +
                         static_cast<float>(frConfigs[0].Height()) +
                         3 * static_cast<float>(cmdApply.Height());
    setClientSize(runtime::CLng(width), runtime::CLng(height));
    const design::ButtonRow row =
        design::buttonRow(static_cast<float>(ScaleWidth()), static_cast<float>(ScaleHeight()));
    for (ui::CommandButton* b : {&cmdOK, &cmdApply, &cmdCancel})
        b->setTop(row.Top);
    cmdOK.setLeft(row.OkLeft);
    cmdApply.setLeft(row.ApplyLeft);
    cmdCancel.setLeft(row.CancelLeft);

    InitialSDRModelNo = NewSDRModelNo = state.SDRModelNo;
    fillModelList();
    fillStep("RigList", [&] { fillRigList(); });
    fillStep("Multipliers", [&] { fillMultipliers(); });
    layOutPages();
    fillStep("SoundDevices", [&] { fillSoundDevices(); });
    chkADCDelayBitCorrection.setValue(ticked(state.PhaseBitCorrection));
    fillStep("OscillatorTexts", [&] { fillOscillatorTexts(); });
    fillStep("LoSide", [&] { chkLoLO.setValue(ticked(!present(context_.Radio().Vfo, "Vfo").HiSideLo())); });
    fillStep("Interface", [&] {
        InitialDDSInterfaceType = present(context_.Radio().Vfo, "Vfo").DDSInterfaceType();
        selectInterface(InitialDDSInterfaceType);
    });
    fillStep("XtalFrequency", [&] {
        txtXtalFrequency.setText(
            std::to_string(oscillatorOf(context_.Radio(), "Vfo.OscType").BaseFrequency()));
    });
    if (state.SPLAvailable) {
        chkUseSPL.setEnabled(true);
        chkUseSPL.setValue(ticked(state.UseSPL));
    } else {
        chkUseSPL.setEnabled(false);
    }
    chkEnableEncoder.setValue(ticked(state.EnableShaftEncoder));
    chkShaftAutoRate.setEnabled(state.EnableShaftEncoder);
    chkShaftAutoRate.setValue(ticked(state.ShaftAutoRate));
    chkScrollWheelEnableOverScope.setValue(ticked(state.ScrollWheelEnableOverScope));
    fillStep("AutoUpdate",
             [&] { chkAutoDDSRefresh.setValue(ticked(present(context_.Radio().Vfo, "Vfo").AutoUpdate())); });
    fillStep("SerialWaitTime", [&] {
        txtBitPeriod.setText(
            config::periodText(present(context_.Radio().SerialLine, "SerialLine").WaitTime(), separators));
    });

    const DrmOptions& drm = state.DRM;
    chkDreamRunOnDRM.setValue(ticked(drm.RunDreamOnDRM));
    chkCloseSoundCardOnDRM.setValue(ticked(drm.CloseSoundcardOnDRM));
    chkMuteAFOnDRM.setValue(ticked(drm.MuteAFOnDRM));
    chkDreamCloseOnExit.setValue(ticked(drm.DreamCloseOnExit));
    chkDreamCloseOnModeChange.setValue(ticked(drm.DreamCloseOnModeChange));
    const int32_t style = config::listPosition(
        drm.DreamWindowStyle, 3, "DRM.DreamWindowStyle " + std::to_string(drm.DreamWindowStyle));
    if (style >= 0) optDreamWindow[static_cast<int16_t>(style)].setValue(true);
    txtPathToDream.setText(drm.PathToDream);
    txtDreamProgArgs.setText(drm.DreamProgArgs);
    fillStep("DreamArgs", [&] {
        const NerixDX8& engine = present(SoundCard, "SoundCard");
        lblSDRDreamArgs.setCaption(config::decoderArguments(engine.CurrentCaptureDevice(),
                                                            engine.CurrentPlaybackDevice(),
                                                            context_.SetupRX.CurrentModel.IQMode));
    });
    fillStep("ParallelLine", [&] {
        const LineInterface& line = present(context_.Radio().ParallelLine, "ParallelLine");
        txtParallelPortBitPeriod.setText(config::periodText(line.WaitTime(), separators));
        txtPortAddress.setText(config::addressText(line.PortAddress()));
        chkInvertingIF.setValue(ticked(line.Inverting()));
    });
    fillStep("BitLists", [&] { fillBitLists(); });
    runtime::DoEvents();
    fillStep("ComPort", [&] {
        cboComPort.Clear();
        for (int port = 1; port <= 16; ++port)
            cboComPort.AddItem(std::to_string(port));
        const int32_t portNo = present(context_.Radio().SerialLine, "SerialLine").PortNo();
        selectEntry(cboComPort,
                    config::listPosition(int64_t{portNo} - 1, 16, "COM port " + std::to_string(portNo)));
    });
    fillStep("DisplayColours", [&] { fillDisplayColours(); });
    fillStep("SmoothCount", [&] {
        txtSpectrumDisplaySmoothingCount.setText(
            runtime::singleText(present(context_.Knobs, "ctlArray").Value(config::lblSpectrumSmoothIndex)));
    });
    fillStep("HideFreqToolTip", [&] {
        chkSpectrumDisplayHideToolTip.setValue(
            ticked(present(context_.Analyser, "Analyser").HideFreqToolTip()));
    });

    const SDRColourScheme& scheme = state.SDRColourSchemes;
    const int32_t mainColours[7] = {scheme.Background,      scheme.Label,      scheme.Tuning,
                                    scheme.FrameNormal,     scheme.FrameFocus, scheme.ScrollLabelNormal,
                                    scheme.ScrollLabelFocus};
    for (std::size_t i = 0; i < 7; ++i)
        InitialColours[i] = mainColours[i];
    setSwatchColour(shpSDRBackGroundColour, scheme.Background);
    setSwatchColour(shpSDRLabelColour, scheme.Label);
    setSwatchColour(shpSDRTuningColour, scheme.Tuning);
    setSwatchColour(shpSDRFrameNormalColour, scheme.FrameNormal);
    setSwatchColour(shpSDRFrameFocusColour, scheme.FrameFocus);
    chkScollLabelHiliteBorder.setValue(ticked(state.HiLiteBorder));
    setSwatchColour(shpNormalScrollLabelColour, scheme.ScrollLabelNormal);
    setSwatchColour(shpFocusScrollLabelColour, scheme.ScrollLabelFocus);

    chkKBDSupport.setValue(ticked(state.KBDSupport));
    chkAutoTrackPresets.setValue(ticked(state.AutoTrackPresets));
    FormCaptionOffOnPwrOn.setValue(ticked(state.FormCaptionOffOnPwrOn));
    chkAutoStartSDR.setValue(ticked(state.AutoStartSDR));
    fillPriorityList();
    txtSaveRecordingsPath.setText(state.SaveRecordingsPath);
    fillSliders();
}

void frmConfig::fillModelList() {
    // A part that fails is skipped and the next one runs: a model number the table lacks leaves the
    // list without a selection.
    runtime::resumeNext([&] { cboSDRModel.Clear(); });
    const auto& rows = context_.RxModels.RxModels;
    for (std::size_t i = 0; i < rows.size() && static_cast<int64_t>(i) <= context_.RxModels.RxModelCount;
         ++i) {
        const auto index = static_cast<int32_t>(i);
        runtime::resumeNext([&] { cboSDRModel.AddItem(rows[i].Name, index); });
        runtime::resumeNext([&] { cboSDRModel.setItemData(index, index); });
    }
    if (!runtime::resumeNext([&] { cboSDRModel.setListIndex(context_.State.SDRModelNo); }))
        runtime::AddLog(std::string(kForm) + ".Form_Load : SDRModelNo " +
                        std::to_string(context_.State.SDRModelNo) +
                        " is not in the model list, none is selected");
}

void frmConfig::fillRigList() {
    cboHamLibModel.setEnabled(config::isHamlibSection(context_.SetupRX.ModelSection));
    const Oscillator& hamlib = present(context_.Radio().HamlibOsc, "HamlibOsc");
    InitialHamLibRigNo = NewHamLibRigNo = hamlib.RigNo();
    cboHamLibModel.Clear();
    const auto& rigs = context_.RigList.RigList;
    for (std::size_t i = 0; i < rigs.size() && static_cast<int64_t>(i) <= context_.RigList.RigListCount;
         ++i) {
        cboHamLibModel.AddItem(config::rigEntryText(rigs[i].Desc, rigs[i].RigNo));
        cboHamLibModel.setItemData(cboHamLibModel.NewIndex(), rigs[i].RigNo);
    }
    for (int32_t i = 0; i < cboHamLibModel.ListCount(); ++i)
        if (cboHamLibModel.ItemData(i) == hamlib.RigNo()) cboHamLibModel.setListIndex(i);
}

void frmConfig::fillMultipliers() {
    const clsVFO& vfo = present(context_.Radio().Vfo, "Vfo");
    cboVFOMult.Clear();
    for (int i = 0; i < config::kVfoMultEntries; ++i)
        cboVFOMult.AddItem(std::to_string(1 << i));
    cboVFOMult.setListIndex(
        config::multiplierPosition(vfo.OscMultiplier(), config::kVfoMultEntries, "OscMultiplier"));
    cboPLLMultiplier.Clear();
    for (int i = 0; i < config::kPllMultEntries; ++i)
        cboPLLMultiplier.AddItem(std::to_string(1 << i));
    cboPLLMultiplier.setListIndex(
        config::multiplierPosition(vfo.PLLMultiplier(), config::kPllMultEntries, "PLLMultiplier"));
}

void frmConfig::layOutPages() {
    ui::Frame& first = frConfigs[0];
    first.setWidth(TabStrip1.Width());
    for (int16_t k = 1; k < TabStrip1.TabCount(); ++k)
        frConfigs[k].Move(first.Left(), first.Top(), first.Width(), first.Height());
    first.ZOrder(0);
}

void frmConfig::fillSoundDevices() {
    NerixDX8& engine = present(SoundCard, "SoundCard");
    // With no device the engine's lists are empty; the lists stay empty and nothing is selected.
    const auto fill = [](ui::ComboBox& list, const std::vector<std::string>& names, int32_t device,
                         const char* what) {
        for (const std::string& name : names)
            list.AddItem(name);
        selectEntry(list, config::listPosition(int64_t{device} - 1, list.ListCount(),
                                               std::string(what) + " " + std::to_string(device)));
    };
    std::vector<std::string> names;
    engine.GetPlayDeviceNames(names);
    InitialPlaybackDevice = engine.CurrentPlaybackDevice();
    fill(cboPlayDevices, names, InitialPlaybackDevice, "playback device");
    names.clear();
    engine.GetCapDeviceNames(names);
    InitialCaptureDevice = engine.CurrentCaptureDevice();
    fill(cboCapDevices, names, InitialCaptureDevice, "capture device");
}

void frmConfig::fillOscillatorTexts() {
    const modSetupRX::RadioObjects radio = context_.Radio();
    txtDDSClkin.setText(config::frequencyText(oscillatorOf(radio, "Vfo.OscType").ClkIn()));
    txtIFFrequency.setText(config::frequencyText(radio.Vfo->IFFrequency()));
}

void frmConfig::fillBitLists() {
    for (int i = 0; i < 8; ++i)
        for (ui::ComboBox* list : {&cboIOUPDBitNo, &cboSCLCKBitNo, &cboSDATABitNo})
            list->AddItem(std::to_string(i), i);
    const LineInterface& line = present(context_.Radio().ParallelLine, "ParallelLine");
    const struct {
        int32_t bit;
        uint8_t* member;
        ui::ComboBox* list;
        const char* what;
    } bits[] = {{line.IOUPDBitNo(), &NewIOUPDBitNo, &cboIOUPDBitNo, "IOUPDBitNo"},
                {line.SCLCKBitNo(), &NewSCLCKBitNo, &cboSCLCKBitNo, "SCLCKBitNo"},
                {line.SDATABitNo(), &NewSDATABitNo, &cboSDATABitNo, "SDATABitNo"}};
    // A bit the list cannot show leaves its member as it was; the list then shows none.
    for (const auto& b : bits)
        if (b.bit >= 0 && b.bit <= 7) *b.member = static_cast<uint8_t>(b.bit);
    for (const auto& b : bits)
        selectEntry(*b.list,
                    config::listPosition(b.bit, 8, std::string(b.what) + " " + std::to_string(b.bit)));
}

void frmConfig::fillDisplayColours() {
    const config::AnalyserSettings& analyser = present(context_.Analyser, "Analyser");
    const struct {
        ui::Shape* swatch;
        int32_t colour;
    } display[8] = {{&shpScopeBackColour, analyser.ScopeBackColour()},
                    {&shpScopeGraticuleColour, analyser.GraticuleColour()},
                    {&shpScopeY1Colour, analyser.Y1BaseColour()},
                    {&shpScopeY2Colour, analyser.Y2BaseColour()},
                    {&shpScopeFilterCurveColour, analyser.FilterCurveColour()},
                    {&shpScopeNotchFilterColour, analyser.NotchFilterColour()},
                    {&shpScopeXTextColour, analyser.XTextColour()},
                    {&shpScopeYTextColour, analyser.YTextColour()}};
    for (std::size_t i = 0; i < 8; ++i) {
        setSwatchColour(*display[i].swatch, display[i].colour);
        InitialColours[8 + i] = display[i].colour;
    }
}

void frmConfig::fillPriorityList() {
    cboRunPriority.Clear();
    NewRunPriority = context_.State.RunPriority;
    for (std::size_t i = 0; i < config::kPriorities.size(); ++i) {
        const auto position = static_cast<int32_t>(i);
        cboRunPriority.AddItem(config::kPriorities[i].caption, position);
        cboRunPriority.setItemData(position, config::kPriorities[i].priorityClass);
    }
    cboRunPriority.setListIndex(config::priorityPosition(NewRunPriority));
}

void frmConfig::fillSliders() {
    fillStep("PhaseAngle", [&] {
        sldPhaseAngle.setValue(
            config::phasePosition(present(context_.HilbertFilter1, "HilbertFilter1").PhaseAngle));
        sldPhaseAngle_Scroll();
    });
    fillStep("AmpBalance", [&] {
        sldAmpBalance.setValue(config::balancePosition(context_.State.SoundcardCorrectionAmpBalance));
        sldAmpBalance_Scroll();
    });
    fillStep("XtalCap", [&] {
        const auto* chip = dynamic_cast<const clsCY27EE16*>(context_.Radio().Cy27ee16Osc);
        if (!chip) runtime::raise(runtime::err::kObjectNotSet, "Cy27ee16Osc");
        sldCY27EE16XtalCap.setValue(
            config::sliderPosition(chip->XtalCap(), config::kXtalCapRange, "XtalCap"));
        sldCY27EE16XtalCap_Scroll();
    });
}

void frmConfig::Form_Unload(int16_t& Cancel) {
    (void)Cancel;
    context_.State.ConfigDialogOpen = false;
}

// ---- Handlers

void frmConfig::TabStrip1_Click() {
    frConfigs[static_cast<int16_t>(TabStrip1.SelectedItem() - 1)].ZOrder(0);
}

void frmConfig::optIF_Click(int16_t Index) {
    if (loading_) return;
    // The click has selected the option already; the kind takes effect at Apply.
    optIF[Index].setValue(true);
}

void frmConfig::selectEntry(ui::ComboBox& list, int32_t position) {
    list.setListIndex(position);
}

void frmConfig::selectInterface(int32_t kind) {
    const int32_t position = config::listPosition(kind, 7, "DDSInterfaceType " + std::to_string(kind));
    if (position < 0) {
        optIF.forEach([](ui::OptionButton& option) { option.setValue(false); });
        return;
    }
    // Cleared first, so the option's handler runs even when it was selected already.
    optIF[static_cast<int16_t>(position)].setValue(false);
    optIF[static_cast<int16_t>(position)].setValue(true);
}

const RXDefinitions::RxModelEntry& frmConfig::modelRow(int32_t modelNo) const {
    const auto& rows = context_.RxModels.RxModels;
    if (modelNo < 0 || modelNo >= static_cast<int32_t>(rows.size()))
        runtime::raise(runtime::err::kSubscriptOutOfRange, "frmConfig.RxModels");
    return rows[static_cast<std::size_t>(modelNo)];
}

void frmConfig::cboSDRModel_Click() {
    if (loading_ || cboSDRModel.ListIndex() < 0) return;
    NewSDRModelNo = cboSDRModel.ItemData(cboSDRModel.ListIndex());
    const config::ModelLoad m = config::loadModel(context_.Settings, modelRow(NewSDRModelNo));
    cboHamLibModel.setEnabled(m.HamLibEnabled);
    txtIFFrequency.setText(m.IFText);
    cboVFOMult.setListIndex(m.VFOMultPosition);
    cboPLLMultiplier.setListIndex(m.PLLMultPosition);
    if (m.InterfaceType >= 0) {
        selectInterface(m.InterfaceType);
    } else {
        optIF.forEach([](ui::OptionButton& option) { option.setValue(false); });
    }
    chkInvertingIF.setValue(ticked(m.Inverting));
    cboIOUPDBitNo.setListIndex(m.IOUPDBitNo);
    cboSCLCKBitNo.setListIndex(m.SCLCKBitNo);
    cboSDATABitNo.setListIndex(m.SDATABitNo);
    txtDDSClkin.setText(m.ClockText);
    txtXtalFrequency.setText(m.XtalText);
}

void frmConfig::cboHamLibModel_Click() {
    if (loading_ || cboHamLibModel.ListIndex() < 0) return;
    NewHamLibRigNo = cboHamLibModel.ItemData(cboHamLibModel.ListIndex());
}

void frmConfig::cboIOUPDBitNo_Click() {
    if (cboIOUPDBitNo.ListIndex() >= 0) NewIOUPDBitNo = static_cast<uint8_t>(cboIOUPDBitNo.ListIndex());
}

void frmConfig::cboSCLCKBitNo_Click() {
    if (cboSCLCKBitNo.ListIndex() >= 0) NewSCLCKBitNo = static_cast<uint8_t>(cboSCLCKBitNo.ListIndex());
}

void frmConfig::cboSDATABitNo_Click() {
    if (cboSDATABitNo.ListIndex() >= 0) NewSDATABitNo = static_cast<uint8_t>(cboSDATABitNo.ListIndex());
}

void frmConfig::cboRunPriority_Click() {
    if (cboRunPriority.ListIndex() >= 0) NewRunPriority = cboRunPriority.ItemData(cboRunPriority.ListIndex());
}

void frmConfig::chkEnableEncoder_Click() {
    chkShaftAutoRate.setEnabled(chkEnableEncoder.Value() == 1);
}

void frmConfig::cmdBitPeriodDefault_Click() {
    txtBitPeriod.setText(config::periodText(kDefaultBitPeriod, NumberFormat::userSeparators()));
}

void frmConfig::cmdParallelPortDefaults_Click() {
    txtPortAddress.setText("&H378");
    txtParallelPortBitPeriod.setText(config::periodText(kDefaultBitPeriod, NumberFormat::userSeparators()));
    // The model chosen in the dialog, which need not be the one in use.
    const RXDefinitions::RxModelEntry& row = modelRow(NewSDRModelNo);
    cboIOUPDBitNo.setListIndex(config::listPosition(row.IOUPDBitNo, 8, "IOUPDBitNo"));
    cboSCLCKBitNo.setListIndex(config::listPosition(row.SCLCKBitNo, 8, "SCLCKBitNo"));
    cboSDATABitNo.setListIndex(config::listPosition(row.SDATABitNo, 8, "SDATABitNo"));
    chkInvertingIF.setValue(ticked(row.Inverting));
}

void frmConfig::cmdCalDDS_Click() {
    clsVFO& vfo = present(context_.Radio().Vfo, "Vfo");
    frmCalibrate calibrate(vfo, context_.Dialogs);
    calibrate.ShowModal(this);
    // The calibration set the clock of the oscillator in use, whichever model the dialog shows.
    if (calibrate.ApplyChanges)
        txtDDSClkin.setText(config::frequencyText(oscillatorOf(context_.Radio(), "Vfo.OscType").ClkIn()));
}

void frmConfig::sldAmpBalance_Scroll() {
    AmpBalanceGain = config::gainOf(sldAmpBalance.Value());
    const std::string text = config::gainText(AmpBalanceGain, NumberFormat::userSeparators());
    sldAmpBalance.setToolTipText(text);
    lblAmplitudeGain.setCaption(text);
    lblAmplitudeGain.Refresh();
    runtime::DoEvents();
    config::putAmpBalance(context_.State, AmpBalanceGain);
}

void frmConfig::sldAmpBalance_MouseDown(int16_t Button) {
    if (Button & 2) sldAmpBalance.setValue(config::kAmpBalanceReset);
    sldAmpBalance_Scroll();
}

void frmConfig::sldPhaseAngle_Scroll() {
    const NumberFormat::Separators separators = NumberFormat::userSeparators();
    PhaseAngleRadians = config::angleOf(sldPhaseAngle.Value());
    sldPhaseAngle.setToolTipText(config::radiansText(PhaseAngleRadians, separators));
    lblPhaseAngle.setCaption(config::degreesText(sldPhaseAngle.Value(), separators));
    lblPhaseAngle.Refresh();
    runtime::DoEvents();
    config::putPhaseAngle(present(context_.HilbertFilter1, "HilbertFilter1"), context_.State,
                          PhaseAngleRadians);
}

void frmConfig::sldPhaseAngle_MouseDown(int16_t Button) {
    if (Button & 2) sldPhaseAngle.setValue(config::kPhaseAngleReset);
    sldPhaseAngle_Scroll();
}

void frmConfig::sldCY27EE16XtalCap_Scroll() {
    const modSetupRX::RadioObjects radio = context_.Radio();
    config::putXtalCap(radio.Cy27ee16Osc, radio.Vfo ? radio.Vfo->OscType() : nullptr,
                       sldCY27EE16XtalCap.Value());
}

void frmConfig::cmdDreamDefault_Click() {
    chkMuteAFOnDRM.setValue(1);
    chkCloseSoundCardOnDRM.setValue(0);
    chkDreamCloseOnExit.setValue(1);
    chkDreamCloseOnModeChange.setValue(1);
    optDreamWindow[1].setValue(true);
}

void frmConfig::cmdFindDREAM_Click() {
    clsComDlg& dialog = context_.ComDlg;
    dialog.setAllowMultiSelect(false);
    dialog.setDialogTitle("Select DREAM executable");
    // Programs live in the system's program folder and carry no extension, so every file is listed.
    dialog.setDirectory("/usr/bin");
    dialog.clearExistFlags();
    dialog.setExistFlags(clsComDlg::OFN_FILEMUSTEXIST);
    dialog.setFileName("dream.exe");
    dialog.setExtension("");
    dialog.setFilter("Executables (*)|*");
    dialog.setReadOnlyIsVisible(false);
    if (dialog.ShowOpen()) txtPathToDream.setText(dialog.FileName());
}

void frmConfig::cmdSavePath_Click() {
    clsComDlg& dialog = context_.ComDlg;
    dialog.setAllowMultiSelect(false);
    dialog.setDialogTitle("Select Path for Saving Recordings");
    // The folder in force, not what the box shows.
    dialog.setDirectory(context_.State.SaveRecordingsPath);
    // The pre-filled name need not exist: confirming it in any folder chooses that folder.
    dialog.clearExistFlags();
    dialog.setFileName("dummy");
    dialog.setExtension(".wav");
    dialog.setFilter("Directories (*.wav)|*.wav");
    dialog.setReadOnlyIsVisible(false);
    if (dialog.ShowOpen()) txtSaveRecordingsPath.setText(dialog.Directory());
}

// ---- Apply, OK and Cancel

config::ApplyInputs frmConfig::applyInputs() {
    const auto ticked = [](const ui::CheckBox& box) { return box.Value() == 1; };
    const auto lowestSelected = [](const ui::ControlArray<ui::OptionButton>& options) {
        std::optional<int16_t> selected;
        options.forEach([&](const ui::OptionButton& option) {
            if (!selected && option.Value()) selected = option.Index();
        });
        return selected;
    };
    config::ApplyInputs in;
    if (cboSDRModel.ListIndex() >= 0) in.SelectedModel = cboSDRModel.ItemData(cboSDRModel.ListIndex());
    in.UseSPL = ticked(chkUseSPL);
    in.KBDSupport = ticked(chkKBDSupport);
    in.AutoTrackPresets = ticked(chkAutoTrackPresets);
    in.ScrollWheelEnableOverScope = ticked(chkScrollWheelEnableOverScope);
    in.EnableEncoder = ticked(chkEnableEncoder);
    in.ShaftAutoRate = ticked(chkShaftAutoRate);
    in.AutoStartSDR = ticked(chkAutoStartSDR);
    in.TitleBarOff = ticked(FormCaptionOffOnPwrOn);
    in.SaveRecordingsPath = txtSaveRecordingsPath.Text();
    in.PlayDeviceIndex = cboPlayDevices.ListIndex();
    in.CapDeviceIndex = cboCapDevices.ListIndex();
    in.ADCDelayBitCorrection = ticked(chkADCDelayBitCorrection);
    in.IFFrequency = txtIFFrequency.Text();
    in.LoLO = ticked(chkLoLO);
    in.VFOMultIndex = cboVFOMult.ListIndex();
    in.PLLMultiplierIndex = cboPLLMultiplier.ListIndex();
    in.XtalFrequency = txtXtalFrequency.Text();
    in.DDSClkin = txtDDSClkin.Text();
    in.AutoDDSRefresh = ticked(chkAutoDDSRefresh);
    in.InterfaceKind = lowestSelected(optIF);
    in.ComPortEnabled = cboComPort.Enabled();
    in.ComPortIndex = cboComPort.ListIndex();
    in.BitPeriod = txtBitPeriod.Text();
    in.PortAddress = txtPortAddress.Text();
    in.ParallelPortBitPeriod = txtParallelPortBitPeriod.Text();
    in.InvertingIF = ticked(chkInvertingIF);
    in.DreamRunOnDRM = ticked(chkDreamRunOnDRM);
    in.MuteAFOnDRM = ticked(chkMuteAFOnDRM);
    in.CloseSoundCardOnDRM = ticked(chkCloseSoundCardOnDRM);
    in.DreamCloseOnModeChange = ticked(chkDreamCloseOnModeChange);
    in.DreamCloseOnExit = ticked(chkDreamCloseOnExit);
    in.DreamWindow = lowestSelected(optDreamWindow);
    in.PathToDream = txtPathToDream.Text();
    in.DreamProgArgs = txtDreamProgArgs.Text();
    in.SmoothingCount = txtSpectrumDisplaySmoothingCount.Text();
    in.HideFreqToolTip = ticked(chkSpectrumDisplayHideToolTip);
    in.Swatches = swatches();
    in.HiliteBorder = ticked(chkScollLabelHiliteBorder);
    return in;
}

void frmConfig::cmdApply_Click() {
    // Apply pumps the message loop (the wait for the DSP chain, the lines' settle waits): a nested Apply
    // would change the model under the one running, releasing the VFO it works on.
    if (applying_) return;
    if (!context_.Receiver) {
        runtime::AddLog(std::string(kForm) + ".cmdApply_Click: there is no receiver to apply to");
        return;
    }
    const ScopedFlag applying(applying_);
    ui::CommandButton* const buttons[] = {&cmdOK, &cmdCancel, &cmdApply};
    bool enabled[3];
    for (int i = 0; i < 3; ++i) {
        enabled[i] = buttons[i]->Enabled();
        buttons[i]->setEnabled(false);
    }
    struct Reenable {
        ui::CommandButton* const* buttons;
        const bool* enabled;
        ~Reenable() {
            for (int i = 0; i < 3; ++i)
                buttons[i]->setEnabled(enabled[i]);
        }
    } reenable{buttons, enabled};

    std::optional<config::NerixDX8Engine> engine;
    if (SoundCard) engine.emplace(*SoundCard);
    const config::ApplyPorts ports{context_.State,    *context_.Receiver, context_.RxModels,
                                   context_.RigList,  context_.Dialogs,   engine ? &*engine : nullptr,
                                   context_.Analyser, context_.Knobs,     context_.MainWindow};
    config::Apply(applyInputs(), *this, ports, Caption(), NumberFormat::userSeparators());
}

void frmConfig::cmdOK_Click() {
    cmdApply.setValue(true);
    Hide();
    Cancel = false;
    context_.State.ConfigDialogOpen = false;
}

void frmConfig::cmdCancel_Click() {
    Hide();
    Cancel = true;
    context_.State.ConfigDialogOpen = false;
}

// ---- Colours

void frmConfig::SelectShapeColour(ui::Shape& swatch) {
    // -1: cancelled, or no colour dialog could be shown; black (0) is a colour.
    const int32_t colour = context_.ComDlg.SelectColour(this, swatchColour(swatch), true);
    if (colour != -1) setSwatchColour(swatch, colour);
}

void frmConfig::cmdSDRControlDefaults_Click() {
    config::SwatchColours colours = swatches();
    config::controlDefaults(colours);
    setSwatches(colours);
    chkScollLabelHiliteBorder.setValue(0);
}

void frmConfig::cmdScopeDefaults_Click() {
    config::SwatchColours colours = swatches();
    config::scopeDefaults(colours);
    setSwatches(colours);
}

void frmConfig::cmdSDRPreviewColours_MouseDown() {
    preview_.Press(swatches());
}

void frmConfig::cmdSDRPreviewColours_MouseUp() {
    preview_.Release(InitialColours);
}

std::optional<std::string> frmConfig::chooseThemeFile(const char* title, int32_t flags) {
    clsComDlg& dialog = context_.ComDlg;
    dialog.setAllowMultiSelect(false);
    dialog.setDialogTitle(title);
    dialog.setDirectory(profile::programFolder());
    // Flags an earlier caller left would refuse a name Save may type.
    dialog.clearExistFlags();
    dialog.setExistFlags(flags);
    dialog.setFileName("");
    dialog.setExtension("thm");
    dialog.setFilter("SDR Colour Themes (*.thm)|*.thm");
    dialog.setReadOnlyIsVisible(false);
    if (!dialog.ShowOpen()) return std::nullopt;
    return dialog.FileName();
}

void frmConfig::cmdSDRColoursSave_Click() {
    // Save uses the open dialog with the create prompt: an existing theme is written without a question.
    const auto path = chooseThemeFile("Save SDr Colour Theme Filename", clsComDlg::OFN_CREATEPROMPT);
    if (!path) return;
    if (const auto failure = config::saveTheme(*path, swatches()))
        context_.Dialogs.MsgBox(*failure, runtime::mb::kOkOnly, Caption());
}

void frmConfig::cmdSDRColoursLoad_Click() {
    const auto path = chooseThemeFile("Load SDr Colour Theme Filename", clsComDlg::OFN_FILEMUSTEXIST);
    if (!path) return;
    const config::ThemeLoad load = config::loadTheme(*path, swatches());
    setSwatches(load.colours);
    if (load.failure)
        context_.Dialogs.MsgBox(*load.failure, runtime::mb::kOkOnly, Caption());
    else if (!load.ignoredKeys.empty())
        context_.Dialogs.MsgBox(config::ignoredKeysMessage(*path, load.ignoredKeys), runtime::mb::kOkOnly,
                                Caption());
}
