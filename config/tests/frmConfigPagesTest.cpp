// The configuration dialog as designed, offscreen over a live receiver of fakes and simulators: every
// control's caption, tooltip and state, the lists as the filling leaves them, the layout, the design
// places over their controls and the tabs.
#include <gtest/gtest.h>

#include <QFontInfo>
#include <QTabBar>
#include <QTest>
#include <string>
#include <vector>

#include "config/ConfigDesign.h"
#include "config/tests/ConfigWorld.h"

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

} // namespace
