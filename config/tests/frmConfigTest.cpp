// The configuration dialog offscreen over a live receiver of fakes and simulators: every control's
// design, the layout, the filling and what it does with values the controls cannot show, the three
// states of the window, and the handlers as a user drives them, down to the CY27EE16's pins.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QFontInfo>
#include <QLineEdit>
#include <QSlider>
#include <QTabBar>
#include <QTest>
#include <QTimer>
#include <functional>
#include <string>
#include <vector>

#include "config/ConfigDesign.h"
#include "config/ConfigSliders.h"
#include "config/ConfigTexts.h"
#include "config/tests/ConfigWorld.h"
#include "platform/profile/testing/TempFolder.h"
#include "radio/CalibrateDesign.h"
#include "radio/clsAD9850.h"
#include "radio/frmCalibrate.h"
#include "radio/testing/PinDecoders.h"
#include "radio/testing/Wirings.h"

using configtest::TraceLog;
using configtest::World;

namespace {

enum class Kind { Label, Button, Check, Option, Frame, List, Combo, Text, LockedText, Slider, Swatch };

Kind kindOf(const ui::Control& c) {
    if (dynamic_cast<const ui::Label*>(&c)) return Kind::Label;
    if (dynamic_cast<const ui::CommandButton*>(&c)) return Kind::Button;
    if (dynamic_cast<const ui::CheckBox*>(&c)) return Kind::Check;
    if (dynamic_cast<const ui::OptionButton*>(&c)) return Kind::Option;
    if (dynamic_cast<const ui::Frame*>(&c)) return Kind::Frame;
    if (const auto* cbo = dynamic_cast<const ui::ComboBox*>(&c))
        return cbo->ComboStyle() == ui::ComboBox::kDropdownList ? Kind::List : Kind::Combo;
    if (const auto* txt = dynamic_cast<const ui::TextBox*>(&c))
        return txt->Locked() ? Kind::LockedText : Kind::Text;
    if (dynamic_cast<const ui::Slider*>(&c)) return Kind::Slider;
    return Kind::Swatch;
}

std::string captionOf(const ui::Control& c) {
    if (const auto* x = dynamic_cast<const ui::Label*>(&c)) return x->Caption();
    if (const auto* x = dynamic_cast<const ui::CommandButton*>(&c)) return x->Caption();
    if (const auto* x = dynamic_cast<const ui::CheckBox*>(&c)) return x->Caption();
    if (const auto* x = dynamic_cast<const ui::OptionButton*>(&c)) return x->Caption();
    if (const auto* x = dynamic_cast<const ui::Frame*>(&c)) return x->Caption();
    return {};
}

std::vector<std::string> itemsOf(const ui::ComboBox& list) {
    std::vector<std::string> items;
    for (int32_t i = 0; i < list.ListCount(); ++i)
        items.push_back(list.List(i));
    return items;
}

std::vector<std::string> numbers(int first, int last, int factor = 1) {
    std::vector<std::string> n;
    for (int i = first; i <= last; ++i)
        n.push_back(std::to_string(factor == 1 ? i : 1 << i));
    return n;
}

QSlider* qslider(ui::Slider& s) {
    return static_cast<QSlider*>(s.widget());
}

// The user clicks the middle of a control.
void click(ui::Control& c, Qt::MouseButton button = Qt::LeftButton) {
    QTest::mouseClick(c.widget(), button, Qt::NoModifier, c.widget()->rect().center());
}

frmCalibrate* calibrationOf(frmConfig& dialog) {
    for (QObject* child : dialog.children())
        if (auto* form = dynamic_cast<frmCalibrate*>(child)) return form;
    return nullptr;
}

std::vector<std::vector<uint8_t>> i2cWrites(const World& w) {
    std::vector<std::vector<uint8_t>> writes;
    for (const auto& t : pins::decodeI2C(pins::twoWireSamples(w.trace, pins::wiring::serialI2C(1))))
        writes.push_back(t.bytes);
    return writes;
}

// ---- The window as designed

TEST(ConfigWindow, EveryControlCarriesItsCaptionToolTipAndState) {
    World w;
    const auto d = w.load();
    const struct Row {
        const char* name;
        const ui::Control& control;
        Kind kind;
        const char* caption;
        const char* toolTip;
        bool enabled;
    } rows[] = {
        // General
        {"lblSDRModel", d->lblSDRModel, Kind::Label, "SDRModel", "", true},
        {"cboSDRModel", d->cboSDRModel, Kind::List, "", "Select SDR Model", true},
        {"lblHamLibModel", d->lblHamLibModel, Kind::Label, "Hamlib Model", "", true},
        {"cboHamLibModel", d->cboHamLibModel, Kind::List, "", "Select HamLib Rig", false},
        {"lblRunPriority", d->lblRunPriority, Kind::Label, "Process Priority",
         "Set Process Priority when ON is clicked - Default is Realtime", true},
        {"cboRunPriority", d->cboRunPriority, Kind::Combo, "",
         "Set Process Priority when ON is clicked - Default is Realtime", true},
        {"txtSaveRecordingsPath", d->txtSaveRecordingsPath, Kind::LockedText, "",
         "Path where recordings will be saved", true},
        {"cmdSavePath", d->cmdSavePath, Kind::Button, "Set Save Recordings Path", "", true},
        {"chkUseSPL", d->chkUseSPL, Kind::Check, "Use Intel SPL ?", "Click to use Intel SPL", false},
        {"chkKBDSupport", d->chkKBDSupport, Kind::Check, "Keyboard Support",
         "Use Keyboard to Adjust Scrollable Labels ?", true},
        {"chkAutoTrackPresets", d->chkAutoTrackPresets, Kind::Check, "Auto-Track Presets",
         "Automatically Update Presets with SDR Settings (exc. Frequency)", true},
        {"chkScrollWheelEnableOverScope", d->chkScrollWheelEnableOverScope, Kind::Check,
         "ScrollWheel Tune over 'scope?", "Click to enable Tuning by ScrollWheel over the Spectrum Display",
         true},
        {"chkEnableEncoder", d->chkEnableEncoder, Kind::Check, "Enable Shaft Encoder",
         "Enable Shaft Encoder Support", true},
        {"chkShaftAutoRate", d->chkShaftAutoRate, Kind::Check, "Shaft Encoder Auto Rate", "", false},
        {"chkAutoStartSDR", d->chkAutoStartSDR, Kind::Check, "Power On SDR on Start-Up", "", true},
        {"FormCaptionOffOnPwrOn", d->FormCaptionOffOnPwrOn, Kind::Check, "Title Bar Off",
         "Turn off Title Bar of Application", true},
        // Soundcard
        {"lblPlayDevices", d->lblPlayDevices, Kind::Label, "AF OUT Device", "", true},
        {"cboPlayDevices", d->cboPlayDevices, Kind::List, "", "Select AF Output Device", true},
        {"lblCapDevices", d->lblCapDevices, Kind::Label, "IF IN Device", "", true},
        {"cboCapDevices", d->cboCapDevices, Kind::List, "", "Select Audio Input Device", true},
        {"lblPhaseCorrection", d->lblPhaseCorrection, Kind::Label, "Phase Correction", "", true},
        {"sldPhaseAngle", d->sldPhaseAngle, Kind::Slider, "", "0.0000 Radians", true},
        {"lblPhaseAngle", d->lblPhaseAngle, Kind::Label, "00.00 Degrees", "", true},
        {"lblGainCorrection", d->lblGainCorrection, Kind::Label, "Gain Correction", "", true},
        {"sldAmpBalance", d->sldAmpBalance, Kind::Slider, "", "1.0000", true},
        {"lblAmplitudeGain", d->lblAmplitudeGain, Kind::Label, "1.0000", "", true},
        {"chkADCDelayBitCorrection", d->chkADCDelayBitCorrection, Kind::Check, "1 Bit Correction for ADC", "",
         true},
        // VFO
        {"lblIFFrequency", d->lblIFFrequency, Kind::Label, "IF Offset (Hz)", "", true},
        {"txtIFFrequency", d->txtIFFrequency, Kind::Text, "", "IF Frequency in Hz", true},
        {"chkLoLO", d->chkLoLO, Kind::Check, "Lo Side LO ?", "Check if DDS tunes LOW side of tuned frequency",
         true},
        {"lblVFOMult", d->lblVFOMult, Kind::Label, "LO Divider", "LO Output = Tuned Frequency X LO Divider",
         true},
        {"cboVFOMult", d->cboVFOMult, Kind::Combo, "",
         "LO will be set to tuned frequency x the LO Divider, eg IQ generation", true},
        {"lblPLLMultiplier", d->lblPLLMultiplier, Kind::Label, "PLL Multiplier",
         "LO output = Tuned Frequency / PLL Multiplier", true},
        {"cboPLLMultiplier", d->cboPLLMultiplier, Kind::Combo, "",
         "External Multiplier, eg PLL or Harmonic filter, normally set to 1", true},
        {"lblXtalFrequency", d->lblXtalFrequency, Kind::Label, "XTAL Frequ (Hz)", "Crystal Frequency in Hz",
         true},
        {"txtXtalFrequency", d->txtXtalFrequency, Kind::Text, "",
         "Crystal Frequency in Hz - only use in ZIVEZO RX model", true},
        {"Label1", d->Label1, Kind::Label,
         "Local Oscillator Output Frequency = (Desired Tuned Frequency + IF Offset) * ( LO Divider / PLL "
         "Multiplier)",
         "", true},
        // DDS
        {"lblDDSClkin", d->lblDDSClkin, Kind::Label, "DDS Clock (Hz)", "", true},
        {"txtDDSClkin", d->txtDDSClkin, Kind::Text, "", "DDS CLKIN Frequency", true},
        {"cmdCalDDS", d->cmdCalDDS, Kind::Button, "Calibrate", "Calibrate DDS CLKIN", true},
        {"lblAutoDDSRefresh", d->lblAutoDDSRefresh, Kind::Label, "DDS Auto Refresh", "", true},
        {"chkAutoDDSRefresh", d->chkAutoDDSRefresh, Kind::Check, "", "Periodic Refresh DDS Settings", true},
        {"lblIF", d->lblIF, Kind::Label, "DDS I/F Control", "", true},
        {"optIF(0)", d->optIF[0], Kind::Option, "Ser", "Serial Port DDS Control", true},
        {"optIF(1)", d->optIF[1], Kind::Option, "Par", "Parallel Port DDS Control", true},
        {"optIF(2)", d->optIF[2], Kind::Option, "USB", "Reserved for future", false},
        {"optIF(3)", d->optIF[3], Kind::Option, "Null", "Null Port - used in ZIVEZO RX Model", true},
        {"optIF(4)", d->optIF[4], Kind::Option, "NTI USB", "Reserved for future", true},
        {"optIF(5)", d->optIF[5], Kind::Option, "FTDI US232C", "Reserved for future", true},
        {"optIF(6)", d->optIF[6], Kind::Option, "FTDI FT232", "Reserved for future", true},
        {"lblXtalCap", d->lblXtalCap, Kind::Label, "CY27EE16 Xtal Capacitance", "", true},
        {"sldCY27EE16XtalCap", d->sldCY27EE16XtalCap, Kind::Slider, "", "", true},
        // Serial I/F
        {"lblComPort", d->lblComPort, Kind::Label, "COM Port", "", true},
        {"cboComPort", d->cboComPort, Kind::List, "", "Select Serial Com Port", true},
        {"lblBitPeriod", d->lblBitPeriod, Kind::Label, "Bit Period        sec", "", true},
        {"txtBitPeriod", d->txtBitPeriod, Kind::Text, "", "Clocking Period in seconds", true},
        {"cmdBitPeriodDefault", d->cmdBitPeriodDefault, Kind::Button, "Default", "", true},
        // Parallel I/F
        {"lblPortAddress", d->lblPortAddress, Kind::Label, "Port Address    Hex", "", true},
        {"txtPortAddress", d->txtPortAddress, Kind::Text, "", "Parallel Port Address", true},
        {"lblParallelPortBitPeriod", d->lblParallelPortBitPeriod, Kind::Label, "Bit Period           sec", "",
         true},
        {"txtParallelPortBitPeriod", d->txtParallelPortBitPeriod, Kind::Text, "",
         "Clocking Period in seconds", true},
        {"cmdParallelPortDefaults", d->cmdParallelPortDefaults, Kind::Button, "Defaults", "", true},
        {"chkInvertingIF", d->chkInvertingIF, Kind::Check, "Inverting I/F",
         "Inverting Interface, eg 7404, MC1489", true},
        {"lblIOUPDBitNo", d->lblIOUPDBitNo, Kind::Label, "IOUPD Bit Number", "", true},
        {"cboIOUPDBitNo", d->cboIOUPDBitNo, Kind::List, "", "Select Parallel Port Bit number for IOUPD",
         true},
        {"lblSCLCKBitNo", d->lblSCLCKBitNo, Kind::Label, "SCLCK Bit Number", "", true},
        {"cboSCLCKBitNo", d->cboSCLCKBitNo, Kind::List, "", "Select Parallel Port Bit number for SCLCK",
         true},
        {"lblSDATABitNo", d->lblSDATABitNo, Kind::Label, "SDIO Bit Number", "", true},
        {"cboSDATABitNo", d->cboSDATABitNo, Kind::List, "", "Select Parallel Port Bit number for SDIO", true},
        {"Text1", d->Text1, Kind::LockedText, "", "Parallel Port to RX Wiring", true},
        // DREAM
        {"chkDreamRunOnDRM", d->chkDreamRunOnDRM, Kind::Check, "Run DREAM.EXE on DRM",
         "Run DREAM.EXE when DRM mode selected", true},
        {"chkMuteAFOnDRM", d->chkMuteAFOnDRM, Kind::Check, "Mute SDR AF on DRM Mode Selected",
         "Mute AF Output when DRM selected", true},
        {"chkCloseSoundCardOnDRM", d->chkCloseSoundCardOnDRM, Kind::Check, "Close Soundcard on DRM Mode",
         "Release Soundcard when DRM Selected - Win98", true},
        {"chkDreamCloseOnModeChange", d->chkDreamCloseOnModeChange, Kind::Check, "Close Dream on Mode Change",
         "Kill DREAM.EXE when Changing Demod mode away from DRM", true},
        {"chkDreamCloseOnExit", d->chkDreamCloseOnExit, Kind::Check, "Close Dream On SDR Exit",
         "Kill DREAM.EXE when NerixSDR exists", true},
        {"frDreamWindowMode", d->frDreamWindowMode, Kind::Frame, "Dream Window", "Set DREAM.EXE Window Style",
         true},
        {"optDreamWindow(0)", d->optDreamWindow[0], Kind::Option, "Default", "Run DREAM with Window showing",
         true},
        {"optDreamWindow(1)", d->optDreamWindow[1], Kind::Option, "Min", "Run DREAM minimised", true},
        {"optDreamWindow(2)", d->optDreamWindow[2], Kind::Option, "Hide", "Run DREAM hidden", true},
        {"lblPathToDream", d->lblPathToDream, Kind::Label, "DREAM Program", "Location of DREAM", true},
        {"txtPathToDream", d->txtPathToDream, Kind::Text, "", "Full Pathname of DREAM.EXE", true},
        {"cmdFindDREAM", d->cmdFindDREAM, Kind::Button, "&Browse", "Locate DREAM.EXE", true},
        {"lblDreamProgArgs", d->lblDreamProgArgs, Kind::Label, "DREAM Prog Args", "CLI Arguments", true},
        {"txtDreamProgArgs", d->txtDreamProgArgs, Kind::Text, "", "DREAM.EXE Arguments", true},
        {"lblSDRDreamArgs", d->lblSDRDreamArgs, Kind::Label, " -M 0 -I 0 -O 1 -C 3",
         "SDR generated Dream.exe cli args", false},
        {"cmdDreamDefault", d->cmdDreamDefault, Kind::Button, "Defaults", "Set to Default Values", true},
        // Spectrum Display
        {"lblSmoothingCount", d->lblSmoothingCount, Kind::Label, "Default Smooth Count", "", true},
        {"txtSpectrumDisplaySmoothingCount", d->txtSpectrumDisplaySmoothingCount, Kind::Text, "",
         "Number of Sampling Cycles to average display over", true},
        {"lblHideToolTip", d->lblHideToolTip, Kind::Label, "Hide Freq ToolTip", "", true},
        {"chkSpectrumDisplayHideToolTip", d->chkSpectrumDisplayHideToolTip, Kind::Check, "",
         "Hide the Frequency tooltip", true},
        {"cmdScopeDefaults", d->cmdScopeDefaults, Kind::Button, "Defaults", "Set to Default Values", true},
        // Controls
        {"frSDRColours", d->frSDRColours, Kind::Frame, "SDR Colours", "", true},
        {"cmdSDrBackGroundColour", d->cmdSDrBackGroundColour, Kind::Button, "Backgrnd", "", true},
        {"cmdSDrLabelColour", d->cmdSDrLabelColour, Kind::Button, "Labels", "", true},
        {"cmdSDRTuningColour", d->cmdSDRTuningColour, Kind::Button, "Tuning", "", true},
        {"frScrollLabels", d->frScrollLabels, Kind::Frame, "Scroll Labels", "", true},
        {"cmdNormalScrollLabelColour", d->cmdNormalScrollLabelColour, Kind::Button, "Normal", "", true},
        {"cmdFocusScrollLabelColour", d->cmdFocusScrollLabelColour, Kind::Button, "Focused", "", true},
        {"chkScollLabelHiliteBorder", d->chkScollLabelHiliteBorder, Kind::Check, "  Hilite Border", "", true},
        {"frFrameColours", d->frFrameColours, Kind::Frame, "Frame Colours", "", true},
        {"cmdSDRFrameNormalColour", d->cmdSDRFrameNormalColour, Kind::Button, "Normal", "", true},
        {"cmdSDRFrameFocusColour", d->cmdSDRFrameFocusColour, Kind::Button, "Focused", "", true},
        {"frScopeColours", d->frScopeColours, Kind::Frame, "Scope Colours", "", true},
        {"cmdScopeColour", d->cmdScopeColour, Kind::Button, "Scope", "", true},
        {"cmdScopeGraticule", d->cmdScopeGraticule, Kind::Button, "Graticule", "", true},
        {"cmdScopeXTextColour", d->cmdScopeXTextColour, Kind::Button, "X-Text", "", true},
        {"cmdScopeYTextColour", d->cmdScopeYTextColour, Kind::Button, "Y-Text", "", true},
        {"frTraceColours", d->frTraceColours, Kind::Frame, "Trace Colours", "", true},
        {"cmdScopeY1Colour", d->cmdScopeY1Colour, Kind::Button, "Y1", "", true},
        {"cmdScopeY2Colour", d->cmdScopeY2Colour, Kind::Button, "Y2", "", true},
        {"cmdScopeFilterCurveColour", d->cmdScopeFilterCurveColour, Kind::Button, "Filtr Curv", "", true},
        {"cmdScopeNotchFilterColour", d->cmdScopeNotchFilterColour, Kind::Button, "Notch Filtr", "", true},
        {"cmdSDRColoursLoad", d->cmdSDRColoursLoad, Kind::Button, "Load", "", true},
        {"cmdSDRColoursSave", d->cmdSDRColoursSave, Kind::Button, "Save", "", true},
        {"cmdSDRPreviewColours", d->cmdSDRPreviewColours, Kind::Button, "Preview", "", true},
        {"cmdSDRControlDefaults", d->cmdSDRControlDefaults, Kind::Button, "Defaults", "Set to Default Values",
         true},
        {"shpScopeBackColour", d->shpScopeBackColour, Kind::Swatch, "", "", true},
        // About, and the buttons below the pages
        {"lblAbout", d->lblAbout, Kind::Label, "NerixSDR Ver 0.1.0\r\n\r\n\r\n\r\n\r\n", "", true},
        {"cmdOK", d->cmdOK, Kind::Button, "&OK", "", true},
        {"cmdCancel", d->cmdCancel, Kind::Button, "&Cancel", "", true},
        {"cmdApply", d->cmdApply, Kind::Button, "&Apply", "", true},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        EXPECT_EQ(kindOf(r.control), r.kind);
        EXPECT_EQ(captionOf(r.control), r.caption);
        EXPECT_EQ(r.control.ToolTipText(), r.toolTip);
        EXPECT_EQ(r.control.Enabled(), r.enabled);
    }
    EXPECT_TRUE(d->chkDreamRunOnDRM.FontBold());
    EXPECT_FALSE(d->chkMuteAFOnDRM.FontBold());

    // The lists, as the filling leaves them.
    std::vector<std::string> models;
    for (const auto& row : w.models.RxModels)
        models.push_back(row.Name);
    const struct {
        const char* name;
        const ui::ComboBox& list;
        std::vector<std::string> items;
    } lists[] = {
        {"cboSDRModel", d->cboSDRModel, models},
        {"cboRunPriority", d->cboRunPriority, {"Realtime", "High", "Normal", "Idle"}},
        {"cboVFOMult", d->cboVFOMult, {"1", "2", "4", "8"}},
        {"cboPLLMultiplier", d->cboPLLMultiplier, numbers(0, 15, 2)},
        {"cboComPort", d->cboComPort, numbers(1, 16)},
        {"cboIOUPDBitNo", d->cboIOUPDBitNo, numbers(0, 7)},
        {"cboSCLCKBitNo", d->cboSCLCKBitNo, numbers(0, 7)},
        {"cboSDATABitNo", d->cboSDATABitNo, numbers(0, 7)},
        {"cboPlayDevices", d->cboPlayDevices, {"Default", "Speakers", "HDMI"}},
        {"cboCapDevices", d->cboCapDevices, {"Default", "Line In"}},
    };
    for (const auto& l : lists)
        EXPECT_EQ(itemsOf(l.list), l.items) << l.name;
    for (int32_t i = 0; i < d->cboSDRModel.ListCount(); ++i)
        EXPECT_EQ(d->cboSDRModel.ItemData(i), i);
    EXPECT_EQ(d->cboRunPriority.ItemData(3), 64);
    EXPECT_EQ(d->Text1.Text(), "PC(DB25)          RX(DB9) DRT1\r\n"
                               "--------          -------\r\n"
                               "D0(2) SDIO  --->  (7) \r\n"
                               "D1(3) SCLK  --->  (3)\r\n"
                               "D2(4) IOUPD --->  (4)\r\n"
                               "0V(18)Gnd   <-->  (5) Gnd\r\n");
    for (const ui::Control* fixed :
         {static_cast<const ui::Control*>(&d->Text1), static_cast<const ui::Control*>(&d->cboHamLibModel)})
        EXPECT_TRUE(QFontInfo(fixed->widget()->font()).fixedPitch());
    EXPECT_EQ(d->cboHamLibModel.FontSize(), 9);

    const char* tabs[][2] = {{"General", "Configure the SDR"},
                             {"Soundcard", "Configure Soundcard Items"},
                             {"VFO", "Configure VFO Items"},
                             {"DDS", "Configure DDS Items"},
                             {"Serial I/F", "Configure Serial Interface items"},
                             {"Parallel I/F", "Configure Parallel I/F Items"},
                             {"DREAM", "Configure Parameters for DREAM.EXE - DRM Decoder"},
                             {"Spectrum Display", "Configure Spectrum Display"},
                             {"Controls", "Configure Colour Themes of NerixSDR Display"},
                             {"About", "About the NerixSDR"}};
    ASSERT_EQ(d->TabStrip1.TabCount(), 10);
    for (int32_t t = 1; t <= 10; ++t) {
        EXPECT_EQ(d->TabStrip1.TabCaption(t), tabs[t - 1][0]);
        EXPECT_EQ(d->TabStrip1.TabToolTipText(t), tabs[t - 1][1]);
    }
}

TEST(ConfigWindow, LaysOutByItsDesignValuesWithGeneralInFront) {
    World w;
    w.host.cmdConfig_Click(&w.soundCard());
    frmConfig& d = *w.host.dialog();
    EXPECT_EQ(d.Caption(), "NerixSDR - Configuration");
    EXPECT_EQ(d.ScaleWidth(), 8640);
    EXPECT_EQ(d.ScaleHeight(), 4995);
    // One row: OK, Apply, Cancel; tops 4995 - 1.5 x 375, lefts a quarter, a half and three quarters in.
    for (const ui::CommandButton* b : {&d.cmdOK, &d.cmdApply, &d.cmdCancel}) {
        EXPECT_EQ(b->Width(), 1215);
        EXPECT_EQ(b->Height(), 375);
        EXPECT_NEAR(b->Top(), 4432.5, 7.5);
    }
    EXPECT_NEAR(d.cmdOK.Left(), 1856.25, 7.5);
    EXPECT_NEAR(d.cmdApply.Left(), 3712.5, 7.5);
    EXPECT_NEAR(d.cmdCancel.Left(), 5568.75, 7.5);
    // The Tab key goes OK, Cancel, Apply.
    EXPECT_EQ(d.cmdOK.widget()->nextInFocusChain(), d.cmdCancel.widget());
    EXPECT_EQ(d.cmdCancel.widget()->nextInFocusChain(), d.cmdApply.widget());
    EXPECT_EQ(d.TabStrip1.Left(), 120);
    EXPECT_EQ(d.TabStrip1.Width(), 8280);
    for (int16_t k = 0; k < frmConfig::kPageCount; ++k) {
        SCOPED_TRACE(k);
        EXPECT_EQ(d.frConfigs[k].Left(), 120);
        EXPECT_EQ(d.frConfigs[k].Top(), 480);
        EXPECT_EQ(d.frConfigs[k].Width(), 8280);
        EXPECT_EQ(d.frConfigs[k].Height(), 3375);
        EXPECT_TRUE(d.frConfigs[k].Visible());
    }
    EXPECT_EQ(d.TabStrip1.SelectedItem(), 1);
    const QPoint middle = d.frConfigs[0].widget()->geometry().center();
    EXPECT_TRUE(d.frConfigs[0].widget()->isAncestorOf(d.childAt(middle)) ||
                d.childAt(middle) == d.frConfigs[0].widget());
    // A modeless window of the main window.
    EXPECT_EQ(d.parentWidget(), &w.mainWindow);
    EXPECT_TRUE(d.isWindow());
    EXPECT_FALSE(d.isModal());
}

// Whatever drives the dialog from outside clicks at the centres of the design places.
TEST(ConfigWindow, EachDesignPlaceLiesOverItsControl) {
    World w;
    w.host.cmdConfig_Click(&w.soundCard());
    frmConfig& d = *w.host.dialog();
    namespace design = config::design;
    const auto at = [&](const ui::DesignPath& p) {
        const ui::PixelRect r = p.pixels();
        return d.childAt(r.centreX(), r.centreY());
    };
    auto* bar = static_cast<QTabBar*>(d.TabStrip1.widget());
    EXPECT_EQ(at(design::firstTab()), bar);
    EXPECT_EQ(bar->tabAt(bar->mapFrom(
                  &d, QPoint(design::firstTab().pixels().centreX(), design::firstTab().pixels().centreY()))),
              0);
    EXPECT_EQ(at(design::okButton()), d.cmdOK.widget());
    EXPECT_EQ(at(design::applyButton()), d.cmdApply.widget());
    EXPECT_EQ(at(design::cancelButton()), d.cmdCancel.widget());
    d.TabStrip1.setSelectedItem(design::kPageDDS + 1);
    EXPECT_EQ(at(design::calibrateButton()), d.cmdCalDDS.widget());
}

TEST(ConfigWindow, EachTabClickedBringsItsPageToTheFront) {
    World w;
    w.host.cmdConfig_Click(&w.soundCard());
    frmConfig& d = *w.host.dialog();
    auto* bar = static_cast<QTabBar*>(d.TabStrip1.widget());
    for (const int tab : {5, 10, 2, 1, 8}) {
        SCOPED_TRACE(tab);
        QTest::mouseClick(bar, Qt::LeftButton, Qt::NoModifier, bar->tabRect(tab - 1).center());
        EXPECT_EQ(d.TabStrip1.SelectedItem(), tab);
        QWidget* page = d.frConfigs[static_cast<int16_t>(tab - 1)].widget();
        QWidget* seen = d.childAt(page->geometry().topLeft() + QPoint(2, 2));
        EXPECT_TRUE(seen == page || page->isAncestorOf(seen));
    }
    EXPECT_EQ(d.TabStrip1.TabCaption(5), "Serial I/F");
}

// ---- The filling

TEST(ConfigFilling, FrequencyPeriodAndAddressTextsInTheUsersLocale) {
    for (const bool german : {false, true}) {
        SCOPED_TRACE(german ? "German" : "English");
        std::unique_ptr<profile::testing::ScopedGermanLocale> locale;
        if (german) {
            locale = std::make_unique<profile::testing::ScopedGermanLocale>();
            if (!locale->active()) continue;
        }
        const struct {
            int32_t ifHertz;
            double clock;
            const char* ifText;
            const char* clockText;
        } cases[] = {{455'000, 125e6, "0 455 000", "125 000 000"},
                     {12'000, 1e8, "0 012 000", "100 000 000"},
                     {0, 0, "0 000 000", "0 000 000"},
                     {-455'000, 48'000, "0 455 000", "0 048 000"}};
        for (const auto& c : cases) {
            World w;
            w.vfo.setIFFrequency(c.ifHertz);
            w.osc.clock = c.clock;
            w.osc.base = 12'340'000;
            const auto d = w.load();
            EXPECT_EQ(d->txtIFFrequency.Text(), c.ifText);
            EXPECT_EQ(d->txtDDSClkin.Text(), c.clockText);
            EXPECT_EQ(d->txtXtalFrequency.Text(), "12340000");
            EXPECT_EQ(d->txtBitPeriod.Text(), german ? "0,000005000" : "0.000005000");
            EXPECT_EQ(d->txtParallelPortBitPeriod.Text(), german ? "0,000005000" : "0.000005000");
            EXPECT_EQ(d->txtPortAddress.Text(), "&H378");
        }
    }
}

TEST(ConfigFilling, EveryControlTakesTheLiveValue) {
    World w;
    w.state.PhaseBitCorrection = true;
    w.state.SPLAvailable = true;
    w.state.UseSPL = true;
    w.state.EnableShaftEncoder = true;
    w.state.ShaftAutoRate = true;
    w.state.KBDSupport = true;
    w.state.AutoStartSDR = true;
    w.state.HiLiteBorder = true;
    w.state.DRM.RunDreamOnDRM = true;
    w.state.DRM.DreamWindowStyle = 2;
    w.state.DRM.PathToDream = "/opt/dream/dream";
    w.state.DRM.DreamProgArgs = "-f %CurFreq%";
    w.state.RunPriority = 32;
    w.vfo.setHiSideLo(false);
    w.vfo.setDDSInterfaceType(5);
    w.serial.portNo = 16;
    w.parallel = {};
    w.parallel.portAddress = 0x3BC;
    w.parallel.inverting = true;
    w.parallel.ioupd = 7;
    w.parallel.sclck = 6;
    w.parallel.sdata = 5;
    w.analyser.hideFreqToolTip = true;
    w.knobs.records[config::lblSpectrumSmoothIndex].value = 2.5f;
    const auto d = w.load();
    EXPECT_FALSE(d->Loading());
    EXPECT_TRUE(w.state.ConfigDialogOpen);
    EXPECT_EQ(d->chkADCDelayBitCorrection.Value(), 1);
    EXPECT_TRUE(d->chkUseSPL.Enabled());
    EXPECT_EQ(d->chkUseSPL.Value(), 1);
    EXPECT_TRUE(d->chkShaftAutoRate.Enabled());
    EXPECT_EQ(d->chkShaftAutoRate.Value(), 1);
    EXPECT_EQ(d->chkKBDSupport.Value(), 1);
    EXPECT_EQ(d->chkAutoStartSDR.Value(), 1);
    EXPECT_EQ(d->chkAutoTrackPresets.Value(), 0);
    EXPECT_EQ(d->chkScollLabelHiliteBorder.Value(), 1);
    EXPECT_EQ(d->chkLoLO.Value(), 1);
    EXPECT_EQ(d->chkAutoDDSRefresh.Value(), 1);
    EXPECT_TRUE(d->optIF[5].Value());
    EXPECT_EQ(d->InitialDDSInterfaceType, 5);
    EXPECT_EQ(d->chkDreamRunOnDRM.Value(), 1);
    EXPECT_TRUE(d->optDreamWindow[2].Value());
    EXPECT_EQ(d->txtPathToDream.Text(), "/opt/dream/dream");
    EXPECT_EQ(d->txtDreamProgArgs.Text(), "-f %CurFreq%");
    EXPECT_EQ(d->cboComPort.Text(), "16");
    EXPECT_EQ(d->txtPortAddress.Text(), "&H3BC");
    EXPECT_EQ(d->chkInvertingIF.Value(), 1);
    EXPECT_EQ(d->cboIOUPDBitNo.ListIndex(), 7);
    EXPECT_EQ(d->cboSCLCKBitNo.ListIndex(), 6);
    EXPECT_EQ(d->cboSDATABitNo.ListIndex(), 5);
    EXPECT_EQ(d->NewIOUPDBitNo, 7);
    EXPECT_EQ(d->NewSCLCKBitNo, 6);
    EXPECT_EQ(d->NewSDATABitNo, 5);
    EXPECT_EQ(d->cboRunPriority.Text(), "Normal");
    EXPECT_EQ(d->NewRunPriority, 32);
    EXPECT_EQ(d->chkSpectrumDisplayHideToolTip.Value(), 1);
    EXPECT_EQ(d->txtSpectrumDisplaySmoothingCount.Text(), "2.5");
    EXPECT_EQ(d->txtSaveRecordingsPath.Text(), "/home/user/recordings");
    EXPECT_EQ(d->cboPlayDevices.ListIndex(), 2);
    EXPECT_EQ(d->cboCapDevices.ListIndex(), 0);
    EXPECT_EQ(d->InitialPlaybackDevice, 3);
    EXPECT_EQ(d->InitialCaptureDevice, 1);
    EXPECT_EQ(d->InitialSDRModelNo, 2);
    EXPECT_EQ(d->NewSDRModelNo, 2); // selecting the model in use ran its handler, which waits for Loading
    EXPECT_EQ(d->cboSDRModel.Text(), "IQ,AD9850 DDS");

    // The colours, and the kept copy the preview puts back: tuning before the two frame colours.
    const SDRColourScheme& s = w.state.SDRColourSchemes;
    const std::array<int32_t, 16> kept{
        s.Background,       s.Label,  s.Tuning, s.FrameNormal, s.FrameFocus, s.ScrollLabelNormal,
        s.ScrollLabelFocus, 0,        0x000000, 0x007F00,      0x00FF00,     0x00FFFF,
        0x0000C0,           0xC0FF60, 0xFFFF00, 0xFF7F00};
    EXPECT_EQ(d->InitialColours, kept);
    EXPECT_EQ(frmConfig::swatchColour(d->shpSDRTuningColour), s.Tuning);
    EXPECT_EQ(frmConfig::swatchColour(d->shpSDRFrameFocusColour), s.FrameFocus);
    EXPECT_EQ(frmConfig::swatchColour(d->shpScopeNotchFilterColour), 0xC0FF60);
    EXPECT_EQ(frmConfig::swatchColour(d->shpScopeYTextColour), 0xFF7F00);
}

TEST(ConfigFilling, MultipliersShowTheNearestListedPowerOfTwo) {
    const struct {
        int32_t multiplier;
        const char* shown;
        bool traced;
    } cases[] = {{4, "4", false}, {3, "4", false}, {6, "8", false},
                 {0, "1", true},  {16, "8", true}, {-4, "1", true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.multiplier);
        World w;
        w.vfo.setOscMultiplier(c.multiplier);
        w.vfo.setPLLMultiplier(64);
        TraceLog log;
        const auto d = w.load();
        EXPECT_EQ(d->cboVFOMult.Text(), c.shown);
        EXPECT_EQ(d->cboPLLMultiplier.Text(), "64");
        EXPECT_EQ(log.mentions("OscMultiplier"), c.traced);
    }
}

TEST(ConfigFilling, APriorityOutsideTheListShowsRealtimeAndBecomesIt) {
    World w;
    w.state.RunPriority = 100;
    const auto d = w.load();
    EXPECT_EQ(d->cboRunPriority.Text(), "Realtime");
    EXPECT_EQ(d->NewRunPriority, 256);
}

TEST(ConfigFilling, OpeningPutsTheSlidersOnTheCorrectionInForceAndQuantisesIt) {
    World w;
    w.hilbert.PhaseAngle = 0.1;
    w.state.SoundcardCorrectionAmpBalance = 1.0f;
    w.state.FiltersDirty = false;
    const auto d = w.load();
    EXPECT_EQ(d->sldPhaseAngle.Value(), 573);
    EXPECT_EQ(w.hilbert.PhaseAngle, 573 / 100.0 * 3.14159265358979 / 180);
    EXPECT_TRUE(w.state.FiltersDirty);
    EXPECT_EQ(d->lblPhaseAngle.Caption(), "05.73 Degrees");
    EXPECT_EQ(d->sldPhaseAngle.ToolTipText(), "0.1000 Radians");
    EXPECT_EQ(d->sldAmpBalance.Value(), 10000);
    EXPECT_EQ(w.state.SoundcardCorrectionAmpBalance, 1.0f);
    EXPECT_EQ(d->lblAmplitudeGain.Caption(), "1.0000");
}

TEST(ConfigFilling, ValuesTheControlsCannotShowSelectNoneAndTheFillingGoesOn) {
    const struct {
        const char* name;
        std::function<void(World&)> store;
        std::function<bool(const frmConfig&)> shown;
        const char* traced;
    } cases[] = {
        {"model number", [](World& w) { w.state.SDRModelNo = 25; },
         [](const frmConfig& d) { return d.cboSDRModel.ListIndex() == -1; }, "SDRModelNo 25"},
        {"interface type", [](World& w) { w.vfo.setDDSInterfaceType(9); },
         [](const frmConfig& d) {
             bool none = true;
             d.optIF.forEach([&](const ui::OptionButton& o) { none = none && !o.Value(); });
             return none && d.InitialDDSInterfaceType == 9;
         },
         "DDSInterfaceType 9"},
        {"bit number", [](World& w) { w.parallel.sclck = 9; },
         [](const frmConfig& d) {
             return d.cboSCLCKBitNo.ListIndex() == -1 && d.cboIOUPDBitNo.ListIndex() == 2;
         },
         "SCLCKBitNo 9"},
        {"COM port", [](World& w) { w.serial.portNo = 17; },
         [](const frmConfig& d) { return d.cboComPort.ListIndex() == -1; }, "COM port 17"},
        {"device number", [](World& w) { w.soundCard().setCurrentCaptureDevice(5); },
         [](const frmConfig& d) { return d.cboCapDevices.ListIndex() == -1 && d.InitialCaptureDevice == 5; },
         "capture device 5"},
        {"window style", [](World& w) { w.state.DRM.DreamWindowStyle = 3; },
         [](const frmConfig& d) {
             return !d.optDreamWindow[0].Value() && !d.optDreamWindow[1].Value() &&
                    !d.optDreamWindow[2].Value();
         },
         "DreamWindowStyle 3"},
        {"phase angle", [](World& w) { w.hilbert.PhaseAngle = 2.0; },
         [](const frmConfig& d) { return d.sldPhaseAngle.Value() == 3000; }, "sldPhaseAngle"},
        {"amplitude balance", [](World& w) { w.state.SoundcardCorrectionAmpBalance = 5.0f; },
         [](const frmConfig& d) { return d.sldAmpBalance.Value() == 20000; }, "sldAmpBalance"},
        {"crystal load", [](World& w) { w.cy.keepXtalCap(300); },
         [](const frmConfig& d) { return d.sldCY27EE16XtalCap.Value() == 255; }, "XtalCap"},
        {"no oscillator", [](World& w) { w.vfo.setOscType(nullptr); },
         [](const frmConfig& d) { return d.txtDDSClkin.Text().empty() && d.txtIFFrequency.Text().empty(); },
         "Vfo.OscType"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        World w;
        c.store(w);
        TraceLog log;
        const auto d = w.load();
        EXPECT_TRUE(c.shown(*d));
        EXPECT_TRUE(log.mentions(c.traced));
        // The steps after it still ran, to the last.
        EXPECT_EQ(d->txtSaveRecordingsPath.Text(), "/home/user/recordings");
        EXPECT_EQ(d->sldCY27EE16XtalCap.Value(), std::min(w.cy.XtalCap(), 255));
        EXPECT_FALSE(d->Loading());
    }
}

TEST(ConfigFilling, WithoutSoundDevicesTheListsStayEmpty) {
    for (const bool engine : {true, false}) {
        SCOPED_TRACE(engine ? "an engine without devices" : "no engine");
        World w;
        w.sound.playbackNames.clear();
        w.sound.captureNames.clear();
        auto d = std::make_unique<frmConfig>(w.context, &w.mainWindow);
        if (engine) d->SoundCard = &w.soundCard();
        d->Load();
        EXPECT_EQ(d->cboPlayDevices.ListCount(), 0);
        EXPECT_EQ(d->cboCapDevices.ListCount(), 0);
        EXPECT_EQ(d->cboPlayDevices.ListIndex(), -1);
        EXPECT_EQ(d->txtSaveRecordingsPath.Text(), "/home/user/recordings");
        EXPECT_EQ(d->sldAmpBalance.Value(), 10000);
    }
}

TEST(ConfigFilling, TheRigListIsEnabledOnlyWhileHamlibIsInUseAndAlwaysShowsTheStoredRig) {
    for (const int32_t model : {18, 2}) {
        SCOPED_TRACE(model);
        World w;
        w.useModel(model);
        w.hamlib.rigNo = 120; // "Yaesu:FT-817"
        const auto d = w.load();
        EXPECT_EQ(d->cboHamLibModel.Enabled(), model == 18);
        ASSERT_EQ(d->cboHamLibModel.ListCount(), w.rigs.RigListCount + 1);
        EXPECT_EQ(d->cboHamLibModel.Text(), "Yaesu:FT-817" + std::string(21, ' ') + " 120");
        EXPECT_EQ(d->cboHamLibModel.ItemData(d->cboHamLibModel.ListIndex()), 120);
        EXPECT_EQ(d->InitialHamLibRigNo, 120);
        EXPECT_EQ(d->NewHamLibRigNo, 120);
        // Sorted by text; each entry's item data is its rig number.
        for (int32_t i = 1; i < d->cboHamLibModel.ListCount(); ++i) {
            const QString a = QString::fromStdString(d->cboHamLibModel.List(i - 1));
            const QString b = QString::fromStdString(d->cboHamLibModel.List(i));
            EXPECT_LE(a.compare(b, Qt::CaseInsensitive), 0) << i;
            EXPECT_EQ(std::stoi(d->cboHamLibModel.List(i).substr(33)), d->cboHamLibModel.ItemData(i));
        }
    }
}

TEST(ConfigFilling, TheGeneratedDecoderArgumentsFollowTheDevicesAndTheIqFlag) {
    for (const bool iq : {true, false}) {
        World w;
        w.setup.CurrentModel.IQMode = iq;
        const auto d = w.load();
        EXPECT_EQ(d->lblSDRDreamArgs.Caption(), iq ? " -M 0 -I 0 -O 1 -C 3" : " -M 0 -I 0 -O 1 ");
    }
}

// ---- The three states

TEST(ConfigLifecycle, ConfigOpensOnceCancelAndOkHideAndTheCloseBoxUnloads) {
    World w;
    NerixDX8& engine = w.soundCard();
    w.host.cmdConfig_Click(&engine);
    frmConfig* first = w.host.dialog();
    ASSERT_NE(first, nullptr);
    EXPECT_TRUE(first->isVisible());
    EXPECT_TRUE(w.state.ConfigDialogOpen);

    // Config while it is open does nothing: nothing is refilled.
    w.vfo.setIFFrequency(455'000);
    w.host.cmdConfig_Click(&engine);
    EXPECT_EQ(w.host.dialog(), first);
    EXPECT_EQ(first->txtIFFrequency.Text(), "0 012 000");

    // Cancel hides with everything kept, a discarded edit included.
    first->txtIFFrequency.setText("777");
    click(first->cmdCancel);
    EXPECT_FALSE(first->isVisible());
    EXPECT_TRUE(first->Cancel);
    EXPECT_FALSE(w.state.ConfigDialogOpen);
    w.host.cmdConfig_Click(&engine);
    EXPECT_EQ(w.host.dialog(), first);
    EXPECT_TRUE(first->isVisible());
    EXPECT_EQ(first->txtIFFrequency.Text(), "777");
    EXPECT_FALSE(w.state.ConfigDialogOpen); // shown again, not loaded again
    w.host.cmdConfig_Click(&engine);
    EXPECT_EQ(w.host.dialog(), first);

    // OK applies what the dialog shows, the edit kept through Cancel included.
    click(first->cmdOK);
    EXPECT_FALSE(first->isVisible());
    EXPECT_FALSE(first->Cancel);
    EXPECT_FALSE(w.state.ConfigDialogOpen);
    EXPECT_EQ(w.vfo.IFFrequency(), 777);

    // The close box unloads; the next opening fills a fresh dialog from the live receiver.
    w.host.cmdConfig_Click(&engine);
    first->close();
    EXPECT_FALSE(first->Loaded());
    EXPECT_FALSE(w.state.ConfigDialogOpen);
    w.vfo.setIFFrequency(455'000);
    w.host.cmdConfig_Click(&engine);
    EXPECT_TRUE(w.state.ConfigDialogOpen);
    EXPECT_EQ(w.host.dialog()->txtIFFrequency.Text(), "0 455 000");
    EXPECT_TRUE(w.host.dialog()->isVisible());
}

// ---- The handlers, as the user drives them

TEST(ConfigHandlers, ARightClickResetsEachCorrectionSliderAndAnyClickRunsItsHandler) {
    World w;
    w.hilbert.PhaseAngle = -0.2;
    w.state.SoundcardCorrectionAmpBalance = 1.25f;
    w.host.cmdConfig_Click(&w.soundCard());
    frmConfig& d = *w.host.dialog();
    d.TabStrip1.setSelectedItem(2);

    click(d.sldAmpBalance, Qt::RightButton);
    EXPECT_EQ(d.sldAmpBalance.Value(), 10000);
    EXPECT_EQ(d.lblAmplitudeGain.Caption(), "1.0000");
    EXPECT_EQ(w.state.SoundcardCorrectionAmpBalance, 1.0f);
    // The left button on the thumb moves nothing and still runs the handler.
    w.state.SoundcardCorrectionAmpBalance = 0.5f;
    click(d.sldAmpBalance);
    EXPECT_EQ(d.sldAmpBalance.Value(), 10000);
    EXPECT_EQ(w.state.SoundcardCorrectionAmpBalance, 1.0f);

    w.state.FiltersDirty = false;
    click(d.sldPhaseAngle, Qt::RightButton);
    EXPECT_EQ(d.sldPhaseAngle.Value(), 0);
    EXPECT_EQ(d.lblPhaseAngle.Caption(), "00.00 Degrees");
    EXPECT_EQ(d.sldPhaseAngle.ToolTipText(), "0.0000 Radians");
    EXPECT_EQ(w.hilbert.PhaseAngle, 0.0);
    EXPECT_TRUE(w.state.FiltersDirty);

    // The crystal load slider has no reset.
    d.TabStrip1.setSelectedItem(4);
    qslider(d.sldCY27EE16XtalCap)->setValue(40);
    click(d.sldCY27EE16XtalCap, Qt::RightButton);
    EXPECT_EQ(d.sldCY27EE16XtalCap.Value(), 40);
}

TEST(ConfigHandlers, ANotificationNestedInTheRepaintLeavesTheNewestValueInForce) {
    World w;
    const auto d = w.load();
    int pumps = 0;
    std::function<void()> nested;
    const runtime::ScopedHooks hooks{runtime::Hooks{[&] {
                                                        if (++pumps == 1 && nested) nested();
                                                    },
                                                    {},
                                                    {}}};
    nested = [&] { qslider(d->sldAmpBalance)->setValue(15000); };
    qslider(d->sldAmpBalance)->setValue(5000); // the user drags, and drags on while the read-out repaints
    EXPECT_EQ(w.state.SoundcardCorrectionAmpBalance, 1.5f);
    EXPECT_EQ(d->lblAmplitudeGain.Caption(), "1.5000");

    pumps = 0;
    nested = [&] { qslider(d->sldPhaseAngle)->setValue(-2000); };
    qslider(d->sldPhaseAngle)->setValue(1000);
    EXPECT_EQ(w.hilbert.PhaseAngle, config::angleOf(-2000));
    EXPECT_EQ(d->lblPhaseAngle.Caption(), "-20.00 Degrees");
}

TEST(ConfigHandlers, TheCrystalSliderWritesTheChipOnlyWhileItIsTheOscillatorInUse) {
    for (const bool inUse : {true, false}) {
        SCOPED_TRACE(inUse ? "CY27EE16 in use" : "another oscillator in use");
        World w;
        w.cy.Initialise();
        w.cy.keepXtalCap(40);
        if (inUse) w.vfo.setOscType(&w.cy);
        w.trace.clearKeepingState();

        const auto d = w.load();
        using Writes = std::vector<std::vector<uint8_t>>;
        const Writes fill = inUse ? Writes{{0xD2, 0x13, 40}} : Writes{};
        EXPECT_EQ(i2cWrites(w), fill);
        w.trace.clearKeepingState();
        qslider(d->sldCY27EE16XtalCap)->setValue(77);
        const Writes moved = inUse ? Writes{{0xD2, 0x13, 77}} : Writes{};
        EXPECT_EQ(i2cWrites(w), moved);
        EXPECT_EQ(w.cy.XtalCap(), 77);

        // A kept value reaches the chip at its next initialisation.
        w.trace.clearKeepingState();
        w.cy.Initialise();
        EXPECT_EQ(i2cWrites(w).back(), (std::vector<uint8_t>{0xD2, 0x13, 77}));
    }
}

TEST(ConfigHandlers, AnEntryChosenInAComboIsPendingAndTypedTextChoosesNone) {
    World w;
    w.host.cmdConfig_Click(&w.soundCard());
    frmConfig& d = *w.host.dialog();
    auto* priority = static_cast<QComboBox*>(d.cboRunPriority.widget());
    EXPECT_EQ(d.NewRunPriority, 256);
    QTest::keyClick(priority, Qt::Key_Down);
    EXPECT_EQ(d.cboRunPriority.Text(), "High");
    EXPECT_EQ(d.NewRunPriority, 128);
    EXPECT_EQ(w.state.RunPriority, 256); // nothing in force before Apply

    priority->lineEdit()->selectAll();
    QTest::keyClicks(priority->lineEdit(), "Low");
    EXPECT_EQ(d.cboRunPriority.Text(), "Low");
    EXPECT_EQ(d.cboRunPriority.ListIndex(), -1);
    EXPECT_EQ(d.NewRunPriority, 128);

    auto* divider = static_cast<QComboBox*>(d.cboVFOMult.widget());
    divider->lineEdit()->selectAll();
    QTest::keyClicks(divider->lineEdit(), "3");
    EXPECT_EQ(d.cboVFOMult.ListIndex(), -1);
    EXPECT_EQ(d.cboVFOMult.Text(), "3");
}

TEST(ConfigHandlers, ChoosingAModelLoadsItsSettingsIntoTheDialogOnly) {
    World w;
    w.store.SaveSetting("NerixSDR", "RXModel.NTI DRB 30", "IFFrequency", "-455000");
    w.store.SaveSetting("NerixSDR", "RXModel.NTI DRB 30", "SDATABitNo", "6");
    const auto d = w.load();
    d->optIF[5].setValue(true); // a kind chosen before the model
    TraceLog log;
    d->cboSDRModel.setListIndex(15);
    EXPECT_EQ(d->NewSDRModelNo, 15);
    EXPECT_EQ(d->txtIFFrequency.Text(), "0 455 000");
    EXPECT_EQ(d->cboVFOMult.Text(), "1");
    EXPECT_EQ(d->cboPLLMultiplier.Text(), "1");
    EXPECT_TRUE(d->optIF[1].Value());
    EXPECT_FALSE(d->optIF[5].Value());
    EXPECT_EQ(d->chkInvertingIF.Value(), 0);
    EXPECT_EQ(d->NewIOUPDBitNo, d->cboIOUPDBitNo.ListIndex());
    EXPECT_EQ(d->NewIOUPDBitNo, 1);
    EXPECT_EQ(d->NewSCLCKBitNo, 2);
    EXPECT_EQ(d->NewSDATABitNo, 6);
    EXPECT_EQ(d->txtDDSClkin.Text(), "360 080 000");
    EXPECT_EQ(d->txtXtalFrequency.Text(), "0 000 001");
    EXPECT_FALSE(d->cboHamLibModel.Enabled());
    EXPECT_TRUE(log.lines.empty());
    // The receiver in use is not touched.
    EXPECT_EQ(w.vfo.IFFrequency(), 12'000);
    EXPECT_EQ(w.vfo.DDSInterfaceType(), 1);
    EXPECT_EQ(w.state.SDRModelNo, 2);

    d->cboSDRModel.setListIndex(18);
    EXPECT_TRUE(d->cboHamLibModel.Enabled());
    EXPECT_TRUE(d->optIF[3].Value());
    // A stored kind no option can show selects none.
    w.store.SaveSetting("NerixSDR", "RXModel.IQ,AD9850 DDS", "DDSInterfaceType", "9");
    d->cboSDRModel.setListIndex(2);
    EXPECT_FALSE(d->cboHamLibModel.Enabled());
    for (int16_t i = 0; i < 7; ++i)
        EXPECT_FALSE(d->optIF[i].Value()) << i;
}

TEST(ConfigHandlers, TheDefaultButtonsFillTheLineAndDecoderSettings) {
    World w;
    w.parallel.inverting = true;
    const auto d = w.load();
    d->txtBitPeriod.setText("1");
    d->cmdBitPeriodDefault.setValue(true);
    EXPECT_EQ(d->txtBitPeriod.Text(), "0.000005000");

    // The parallel defaults come from the model chosen in the dialog, not the one in use.
    d->cboSDRModel.setListIndex(15);
    d->txtPortAddress.setText("&H3BC");
    d->cboIOUPDBitNo.setListIndex(7);
    d->chkInvertingIF.setValue(1);
    d->cmdParallelPortDefaults.setValue(true);
    EXPECT_EQ(d->txtPortAddress.Text(), "&H378");
    EXPECT_EQ(d->txtParallelPortBitPeriod.Text(), "0.000005000");
    EXPECT_EQ(d->cboIOUPDBitNo.ListIndex(), 1);
    EXPECT_EQ(d->cboSCLCKBitNo.ListIndex(), 2);
    EXPECT_EQ(d->cboSDATABitNo.ListIndex(), 3);
    EXPECT_EQ(d->NewIOUPDBitNo, 1);
    EXPECT_EQ(d->chkInvertingIF.Value(), 0);

    d->chkDreamRunOnDRM.setValue(1);
    d->chkCloseSoundCardOnDRM.setValue(1);
    d->txtPathToDream.setText("/opt/dream/dream");
    d->optDreamWindow[2].setValue(true);
    d->cmdDreamDefault.setValue(true);
    EXPECT_EQ(d->chkMuteAFOnDRM.Value(), 1);
    EXPECT_EQ(d->chkCloseSoundCardOnDRM.Value(), 0);
    EXPECT_EQ(d->chkDreamCloseOnExit.Value(), 1);
    EXPECT_EQ(d->chkDreamCloseOnModeChange.Value(), 1);
    EXPECT_TRUE(d->optDreamWindow[1].Value());
    EXPECT_EQ(d->chkDreamRunOnDRM.Value(), 1);
    EXPECT_EQ(d->txtPathToDream.Text(), "/opt/dream/dream");
}

TEST(ConfigHandlers, TheProgramAndTheRecordingsFolderAreChosenThroughTheSharedFileDialog) {
    World w;
    w.state.SaveRecordingsPath = "/home/user/rec";
    const auto d = w.load();
    w.dialogs.fileAnswers.push_back(ui::FileDialogResult{{"/opt/dream/dream"}, 1, false});
    d->cmdFindDREAM.setValue(true);
    EXPECT_EQ(d->txtPathToDream.Text(), "/opt/dream/dream");
    const ui::FileDialogRequest browse = w.dialogs.fileRequests.back();
    EXPECT_TRUE(browse.isOpen);
    EXPECT_EQ(browse.title, "Select DREAM executable");
    EXPECT_EQ(browse.initialDirectory, "/usr/bin");
    EXPECT_EQ(browse.fileName, "dream.exe");
    EXPECT_TRUE(browse.fileMustExist);
    EXPECT_FALSE(browse.allowMultiSelect);
    EXPECT_FALSE(browse.showReadOnly);
    EXPECT_EQ(browse.defaultExtension, "");
    EXPECT_EQ(browse.filters, (std::vector<std::pair<std::string, std::string>>{{"Executables (*)", "*"}}));

    const struct {
        const char* chosen;
        const char* folder;
    } folders[] = {{"/home/user/other/dummy.wav", "/home/user/other"}, {"/dummy.wav", "/"}};
    for (const auto& f : folders) {
        w.dialogs.fileAnswers.push_back(ui::FileDialogResult{{f.chosen}, 1, false});
        d->cmdSavePath.setValue(true);
        EXPECT_EQ(d->txtSaveRecordingsPath.Text(), f.folder);
        const ui::FileDialogRequest save = w.dialogs.fileRequests.back();
        EXPECT_EQ(save.title, "Select Path for Saving Recordings");
        // The folder in force, not the box's text.
        EXPECT_EQ(save.initialDirectory, "/home/user/rec");
        EXPECT_EQ(save.fileName, "dummy");
        EXPECT_EQ(save.defaultExtension, "wav");
        // The must-exist of the program's dialog does not keep the made-up name from being confirmed.
        EXPECT_FALSE(save.fileMustExist);
        EXPECT_FALSE(save.createPrompt);
        EXPECT_EQ(save.filters,
                  (std::vector<std::pair<std::string, std::string>>{{"Directories (*.wav)", "*.wav"}}));
    }

    // A cancelled dialog keeps the box as it was, whatever an earlier dialog chose.
    w.dialogs.fileAnswers.push_back(std::nullopt);
    d->cmdSavePath.setValue(true);
    EXPECT_EQ(d->txtSaveRecordingsPath.Text(), "/");
    w.dialogs.fileAnswers.push_back(std::nullopt);
    d->cmdFindDREAM.setValue(true);
    EXPECT_EQ(d->txtPathToDream.Text(), "/opt/dream/dream");
    EXPECT_EQ(w.dialogs.unexpected, 0);
}

TEST(ConfigHandlers, CalibrateRefillsTheClockOnlyWhenTheCalibrationApplied) {
    World w;
    clsAD9850 dds(w.store);
    dds.setClkIn(100'000'000);
    dds.setBaseFrequency(0);
    dds.setIFHandler(&w.nullLine);
    dds.Initialise();
    w.vfo.setOscType(&dds);
    w.vfo.setOscMultiplier(1);
    w.vfo.setRXMinFreq(0);
    w.vfo.setRxMaxFreq(100'000'000);
    w.vfo.setIFFrequency(455'000);
    w.vfo.setTunedFrequency(71'000'200);
    w.host.cmdConfig_Click(&w.soundCard());
    frmConfig& d = *w.host.dialog();
    EXPECT_EQ(d.txtDDSClkin.Text(), "100 000 000");

    // The user edits the box, then cancels the calibration: the edit stays.
    d.txtDDSClkin.setText("99 000 000");
    bool modal = false;
    QTimer::singleShot(0, &d, [&] {
        frmCalibrate* calibrate = calibrationOf(d);
        ASSERT_NE(calibrate, nullptr);
        modal = QApplication::activeModalWidget() == calibrate;
        for (const auto& [place, button] : {std::pair{radio::design::cmdTry, &calibrate->cmdTry},
                                            std::pair{radio::design::cmdApply, &calibrate->cmdApply},
                                            std::pair{radio::design::cmdCancel, &calibrate->cmdCancel}}) {
            const ui::PixelRect r = ui::DesignPath(place).pixels();
            EXPECT_EQ(calibrate->childAt(r.centreX(), r.centreY()), button->widget()) << button->Caption();
        }
        calibrate->cmdCancel.setValue(true);
    });
    d.cmdCalDDS.setValue(true);
    EXPECT_TRUE(modal);
    EXPECT_EQ(d.txtDDSClkin.Text(), "99 000 000");

    QTimer::singleShot(0, &d, [&] {
        frmCalibrate* calibrate = calibrationOf(d);
        ASSERT_NE(calibrate, nullptr);
        calibrate->txtOfficialFreq.setText("7100000");
        calibrate->cmdApply.setValue(true);
    });
    d.cmdCalDDS.setValue(true);
    EXPECT_NE(dds.ClkIn(), 100'000'000);
    EXPECT_EQ(d.txtDDSClkin.Text(), config::frequencyText(dds.ClkIn()));
    w.vfo.setOscType(&w.osc);
}

TEST(ConfigHandlers, AnInterfaceChoiceChangesNothingElseAndUsbCannotBeChosen) {
    World w;
    w.host.cmdConfig_Click(&w.soundCard());
    frmConfig& d = *w.host.dialog();
    d.TabStrip1.setSelectedItem(4);
    const std::string clock = d.txtDDSClkin.Text();
    static_cast<QAbstractButton*>(d.optIF[0].widget())->click();
    EXPECT_TRUE(d.optIF[0].Value());
    EXPECT_FALSE(d.optIF[1].Value());
    EXPECT_EQ(d.InitialDDSInterfaceType, 1);
    EXPECT_EQ(w.vfo.DDSInterfaceType(), 1);
    EXPECT_EQ(d.txtDDSClkin.Text(), clock);
    click(d.optIF[2]);
    EXPECT_FALSE(d.optIF[2].Value());
    EXPECT_TRUE(d.optIF[0].Value());
}

TEST(ConfigHandlers, TheEncoderBoxEnablesItsCompanionWithoutTouchingItsTick) {
    World w;
    w.state.ShaftAutoRate = true;
    const auto d = w.load();
    EXPECT_FALSE(d->chkShaftAutoRate.Enabled());
    d->chkEnableEncoder.setValue(1);
    EXPECT_TRUE(d->chkShaftAutoRate.Enabled());
    d->chkEnableEncoder.setValue(2); // a grey box counts as not ticked
    EXPECT_FALSE(d->chkShaftAutoRate.Enabled());
    d->chkEnableEncoder.setValue(0);
    EXPECT_FALSE(d->chkShaftAutoRate.Enabled());
    EXPECT_EQ(d->chkShaftAutoRate.Value(), 1);
}

} // namespace
