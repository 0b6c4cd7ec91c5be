// The configuration dialog's ten pages, each laid out from its design table.
#include <initializer_list>
#include <string>

#include "config/ConfigDesign.h"
#include "config/ConfigSliders.h"
#include "config/frmConfig.h"

namespace {

namespace design = config::design;

template <class C> void showCaption(C& control, const std::string& text) {
    if constexpr (requires { control.setCaption(text); })
        control.setCaption(text);
    else if constexpr (requires { control.setText(text); })
        control.setText(text);
}

// A control beside its design.
struct Designed {
    template <class C>
    Designed(C& c, const config::design::ControlDesign& d)
        : control(c), design(d),
          caption([](ui::Control& x, const std::string& text) { showCaption(static_cast<C&>(x), text); }) {}
    ui::Control& control;
    const config::design::ControlDesign& design;
    void (*caption)(ui::Control&, const std::string&);
};

// Puts each control at its design place with its caption and tooltip.
void lay(std::initializer_list<Designed> controls) {
    for (const Designed& c : controls) {
        if (*c.design.caption) c.caption(c.control, c.design.caption);
        ui::place(c.control, c.design.place);
        if (*c.design.toolTip) c.control.setToolTipText(c.design.toolTip);
    }
}

void setRange(ui::Slider& slider, const config::SliderRange& range) {
    slider.setMax(range.Max);
    slider.setMin(range.Min);
    slider.setSmallChange(range.SmallChange);
    slider.setLargeChange(range.LargeChange);
    slider.setTickFrequency(range.TickFrequency);
}

} // namespace

QWidget* frmConfig::page(int16_t k) {
    if (!frConfigs.contains(0))
        for (int16_t i = 0; i < kPageCount; ++i)
            frConfigs.Load(i, this);
    return frConfigs[k].container();
}

void frmConfig::layOutTabStrip() {
    static_assert(design::kTabs.size() == kPageCount);
    ui::place(TabStrip1, design::TabStrip1);
    for (const auto& tab : design::kTabs)
        TabStrip1.AddTab(tab.caption, tab.toolTip);
    for (int16_t k = 0; k < kPageCount; ++k) {
        frConfigs[k].setBorderStyle(0);
        ui::place(frConfigs[k], design::frConfigs);
    }
    // The loading moves them into their row for the client area the window gets.
    lay({{cmdOK, design::cmdOK}, {cmdCancel, design::cmdCancel}, {cmdApply, design::cmdApply}});
    ui::setTabOrder({&cmdOK, &cmdCancel, &cmdApply});
}

void frmConfig::layOutGeneral() {
    lay({{lblSDRModel, design::lblSDRModel},
         {cboSDRModel, design::cboSDRModel},
         {lblHamLibModel, design::lblHamLibModel},
         {cboHamLibModel, design::cboHamLibModel},
         {lblRunPriority, design::lblRunPriority},
         {cboRunPriority, design::cboRunPriority},
         {cmdSavePath, design::cmdSavePath},
         {txtSaveRecordingsPath, design::txtSaveRecordingsPath},
         {chkUseSPL, design::chkUseSPL},
         {chkKBDSupport, design::chkKBDSupport},
         {chkAutoTrackPresets, design::chkAutoTrackPresets},
         {chkScrollWheelEnableOverScope, design::chkScrollWheelEnableOverScope},
         {chkEnableEncoder, design::chkEnableEncoder},
         {chkShaftAutoRate, design::chkShaftAutoRate},
         {chkAutoStartSDR, design::chkAutoStartSDR},
         {FormCaptionOffOnPwrOn, design::FormCaptionOffOnPwrOn}});
    cboHamLibModel.setSorted(true);
    // A fixed-pitch face lines up the padded rig numbers.
    cboHamLibModel.setFontName("Courier New");
    cboHamLibModel.setFontSize(9);
    txtSaveRecordingsPath.setLocked(true);
}

void frmConfig::layOutSoundcard() {
    lay({{lblPlayDevices, design::lblPlayDevices},
         {cboPlayDevices, design::cboPlayDevices},
         {lblCapDevices, design::lblCapDevices},
         {cboCapDevices, design::cboCapDevices},
         {lblPhaseCorrection, design::lblPhaseCorrection},
         {sldPhaseAngle, design::sldPhaseAngle},
         {lblPhaseAngle, design::lblPhaseAngle},
         {lblGainCorrection, design::lblGainCorrection},
         {sldAmpBalance, design::sldAmpBalance},
         {lblAmplitudeGain, design::lblAmplitudeGain},
         {chkADCDelayBitCorrection, design::chkADCDelayBitCorrection}});
    setRange(sldPhaseAngle, config::kPhaseAngleRange);
    setRange(sldAmpBalance, config::kAmpBalanceRange);
    lblPhaseAngle.setAutoSize(true);
    lblAmplitudeGain.setAutoSize(true);
}

void frmConfig::layOutVFO() {
    lay({{lblIFFrequency, design::lblIFFrequency},
         {txtIFFrequency, design::txtIFFrequency},
         {chkLoLO, design::chkLoLO},
         {lblVFOMult, design::lblVFOMult},
         {cboVFOMult, design::cboVFOMult},
         {lblPLLMultiplier, design::lblPLLMultiplier},
         {cboPLLMultiplier, design::cboPLLMultiplier},
         {lblXtalFrequency, design::lblXtalFrequency},
         {txtXtalFrequency, design::txtXtalFrequency},
         {Label1, design::Label1}});
    Label1.setWordWrap(true);
    Label1.setAlignment(0);
}

void frmConfig::layOutDDS() {
    lay({{lblDDSClkin, design::lblDDSClkin},
         {txtDDSClkin, design::txtDDSClkin},
         {cmdCalDDS, design::cmdCalDDS},
         {lblAutoDDSRefresh, design::lblAutoDDSRefresh},
         {chkAutoDDSRefresh, design::chkAutoDDSRefresh},
         {lblIF, design::lblIF},
         {lblXtalCap, design::lblXtalCap},
         {sldCY27EE16XtalCap, design::sldCY27EE16XtalCap}});
    for (const int16_t kind : design::kInterfaceOrder)
        lay({{optIF.Load(kind, page(design::kPageDDS)), design::optIF(kind)}});
    // Kind 2 leaves the oscillator without a line: it cannot be chosen.
    optIF[2].setEnabled(false);
    setRange(sldCY27EE16XtalCap, config::kXtalCapRange);
}

void frmConfig::layOutSerial() {
    lay({{lblComPort, design::lblComPort},
         {cboComPort, design::cboComPort},
         {lblBitPeriod, design::lblBitPeriod},
         {txtBitPeriod, design::txtBitPeriod},
         {cmdBitPeriodDefault, design::cmdBitPeriodDefault}});
}

void frmConfig::layOutParallel() {
    lay({{lblPortAddress, design::lblPortAddress},
         {txtPortAddress, design::txtPortAddress},
         {lblParallelPortBitPeriod, design::lblParallelPortBitPeriod},
         {txtParallelPortBitPeriod, design::txtParallelPortBitPeriod},
         {cmdParallelPortDefaults, design::cmdParallelPortDefaults},
         {chkInvertingIF, design::chkInvertingIF},
         {lblIOUPDBitNo, design::lblIOUPDBitNo},
         {cboIOUPDBitNo, design::cboIOUPDBitNo},
         {lblSCLCKBitNo, design::lblSCLCKBitNo},
         {cboSCLCKBitNo, design::cboSCLCKBitNo},
         {lblSDATABitNo, design::lblSDATABitNo},
         {cboSDATABitNo, design::cboSDATABitNo},
         {Text1, design::Text1}});
    Text1.setLocked(true);
    Text1.setFontName("Courier New");
}

void frmConfig::layOutDream() {
    lay({{chkDreamRunOnDRM, design::chkDreamRunOnDRM},
         {chkMuteAFOnDRM, design::chkMuteAFOnDRM},
         {chkCloseSoundCardOnDRM, design::chkCloseSoundCardOnDRM},
         {chkDreamCloseOnModeChange, design::chkDreamCloseOnModeChange},
         {chkDreamCloseOnExit, design::chkDreamCloseOnExit},
         {frDreamWindowMode, design::frDreamWindowMode},
         {lblPathToDream, design::lblPathToDream},
         {txtPathToDream, design::txtPathToDream},
         {cmdFindDREAM, design::cmdFindDREAM},
         {lblDreamProgArgs, design::lblDreamProgArgs},
         {txtDreamProgArgs, design::txtDreamProgArgs},
         {lblSDRDreamArgs, design::lblSDRDreamArgs},
         {cmdDreamDefault, design::cmdDreamDefault}});
    chkDreamRunOnDRM.setFontBold(true);
    for (int16_t style = 0; style < static_cast<int16_t>(design::kDreamWindows.size()); ++style)
        lay({{optDreamWindow.Load(style, frDreamWindowMode.container()), design::optDreamWindow(style)}});
    lblSDRDreamArgs.setBackColor(0xFFFFFF);
    lblSDRDreamArgs.setBorderStyle(1);
    lblSDRDreamArgs.setEnabled(false);
}

void frmConfig::layOutSpectrum() {
    lay({{lblSmoothingCount, design::lblSmoothingCount},
         {txtSpectrumDisplaySmoothingCount, design::txtSpectrumDisplaySmoothingCount},
         {lblHideToolTip, design::lblHideToolTip},
         {chkSpectrumDisplayHideToolTip, design::chkSpectrumDisplayHideToolTip},
         {cmdScopeDefaults, design::cmdScopeDefaults}});
}

void frmConfig::layOutControls() {
    lay({{frSDRColours, design::frSDRColours},
         {shpSDRBackGroundColour, design::shpSDRBackGroundColour},
         {cmdSDrBackGroundColour, design::cmdSDrBackGroundColour},
         {shpSDRLabelColour, design::shpSDRLabelColour},
         {cmdSDrLabelColour, design::cmdSDrLabelColour},
         {shpSDRTuningColour, design::shpSDRTuningColour},
         {cmdSDRTuningColour, design::cmdSDRTuningColour},
         {frScrollLabels, design::frScrollLabels},
         {shpNormalScrollLabelColour, design::shpNormalScrollLabelColour},
         {cmdNormalScrollLabelColour, design::cmdNormalScrollLabelColour},
         {shpFocusScrollLabelColour, design::shpFocusScrollLabelColour},
         {cmdFocusScrollLabelColour, design::cmdFocusScrollLabelColour},
         {chkScollLabelHiliteBorder, design::chkScollLabelHiliteBorder},
         {frFrameColours, design::frFrameColours},
         {shpSDRFrameNormalColour, design::shpSDRFrameNormalColour},
         {cmdSDRFrameNormalColour, design::cmdSDRFrameNormalColour},
         {shpSDRFrameFocusColour, design::shpSDRFrameFocusColour},
         {cmdSDRFrameFocusColour, design::cmdSDRFrameFocusColour},
         {frScopeColours, design::frScopeColours},
         {shpScopeBackColour, design::shpScopeBackColour},
         {cmdScopeColour, design::cmdScopeColour},
         {shpScopeGraticuleColour, design::shpScopeGraticuleColour},
         {cmdScopeGraticule, design::cmdScopeGraticule},
         {shpScopeXTextColour, design::shpScopeXTextColour},
         {cmdScopeXTextColour, design::cmdScopeXTextColour},
         {shpScopeYTextColour, design::shpScopeYTextColour},
         {cmdScopeYTextColour, design::cmdScopeYTextColour},
         {frTraceColours, design::frTraceColours},
         {shpScopeY1Colour, design::shpScopeY1Colour},
         {cmdScopeY1Colour, design::cmdScopeY1Colour},
         {shpScopeY2Colour, design::shpScopeY2Colour},
         {cmdScopeY2Colour, design::cmdScopeY2Colour},
         {shpScopeFilterCurveColour, design::shpScopeFilterCurveColour},
         {cmdScopeFilterCurveColour, design::cmdScopeFilterCurveColour},
         {shpScopeNotchFilterColour, design::shpScopeNotchFilterColour},
         {cmdScopeNotchFilterColour, design::cmdScopeNotchFilterColour},
         {cmdSDRColoursLoad, design::cmdSDRColoursLoad},
         {cmdSDRColoursSave, design::cmdSDRColoursSave},
         {cmdSDRPreviewColours, design::cmdSDRPreviewColours},
         {cmdSDRControlDefaults, design::cmdSDRControlDefaults}});
    for (std::size_t i = 0; i < config::kSwatchCount; ++i) {
        ui::Shape& s = swatch(static_cast<config::Swatch>(i));
        s.setBackStyle(1);
        s.setBorderColor(0x000000);
    }
}

void frmConfig::layOutAbout() {
    lay({{lblAbout, design::lblAbout}});
    lblAbout.setWordWrap(true);
    lblAbout.setAlignment(0);
}
