// The configuration dialog: a modeless window of ten tabs, filled from the live receiver when it is
// loaded. Its handlers change its own controls and members; only the three sliders and the clock
// calibration act on the live receiver at once, until Apply puts the rest into force. The "Controls"
// tab edits the colours in its swatches, previews them and keeps them in theme files.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "config/ColourScheme.h"
#include "config/ConfigApply.h"
#include "config/ConfigContext.h"
#include "config/ConfigMembers.h"
#include "platform/runtime/RuntimeError.h"
#include "platform/ui/ControlArray.h"
#include "platform/ui/Controls.h"
#include "platform/ui/Form.h"

class NerixDX8;

class frmConfig final : public ui::Form, public config::ConfigMembers {
public:
    static constexpr int16_t kPageCount = 10;

    // owner: the main window, which the dialog stays above.
    frmConfig(config::ConfigContext& context, QWidget* owner = nullptr);

    // The sound engine, handed in by the opener before the dialog is shown; none leaves the device
    // lists empty.
    NerixDX8* SoundCard = nullptr;

    // True from the first step of the filling to its last.
    bool Loading() const noexcept { return loading_; }

    // Each control is made on its page, page(k) for tab k + 1; config/ConfigDesign.h says where it
    // stands and what it says.
    ui::TabStrip TabStrip1{this};
    ui::ControlArray<ui::Frame> frConfigs;

    // General
    ui::Label lblSDRModel{page(0)};
    ui::ComboBox cboSDRModel{page(0)};
    ui::Label lblHamLibModel{page(0)};
    ui::ComboBox cboHamLibModel{page(0)};
    ui::Label lblRunPriority{page(0)};
    ui::ComboBox cboRunPriority{page(0), ui::ComboBox::kDropdownCombo};
    ui::CommandButton cmdSavePath{page(0)};
    ui::TextBox txtSaveRecordingsPath{page(0)};
    ui::CheckBox chkUseSPL{page(0)};
    ui::CheckBox chkKBDSupport{page(0)};
    ui::CheckBox chkAutoTrackPresets{page(0)};
    ui::CheckBox chkScrollWheelEnableOverScope{page(0)};
    ui::CheckBox chkEnableEncoder{page(0)};
    ui::CheckBox chkShaftAutoRate{page(0)};
    ui::CheckBox chkAutoStartSDR{page(0)};
    ui::CheckBox FormCaptionOffOnPwrOn{page(0)};

    // Soundcard
    ui::Label lblPlayDevices{page(1)};
    ui::ComboBox cboPlayDevices{page(1)};
    ui::Label lblCapDevices{page(1)};
    ui::ComboBox cboCapDevices{page(1)};
    ui::Label lblPhaseCorrection{page(1)};
    ui::Slider sldPhaseAngle{page(1)};
    ui::Label lblPhaseAngle{page(1)};
    ui::Label lblGainCorrection{page(1)};
    ui::Slider sldAmpBalance{page(1)};
    ui::Label lblAmplitudeGain{page(1)};
    ui::CheckBox chkADCDelayBitCorrection{page(1)};

    // VFO
    ui::Label lblIFFrequency{page(2)};
    ui::TextBox txtIFFrequency{page(2)};
    ui::CheckBox chkLoLO{page(2)};
    ui::Label lblVFOMult{page(2)};
    ui::ComboBox cboVFOMult{page(2), ui::ComboBox::kDropdownCombo};
    ui::Label lblPLLMultiplier{page(2)};
    ui::ComboBox cboPLLMultiplier{page(2), ui::ComboBox::kDropdownCombo};
    ui::Label lblXtalFrequency{page(2)};
    ui::TextBox txtXtalFrequency{page(2)};
    ui::Label Label1{page(2)};

    // DDS
    ui::Label lblDDSClkin{page(3)};
    ui::TextBox txtDDSClkin{page(3)};
    ui::CommandButton cmdCalDDS{page(3)};
    ui::Label lblAutoDDSRefresh{page(3)};
    ui::CheckBox chkAutoDDSRefresh{page(3)};
    ui::Label lblIF{page(3)};
    ui::ControlArray<ui::OptionButton> optIF;
    ui::Label lblXtalCap{page(3)};
    ui::Slider sldCY27EE16XtalCap{page(3)};

    // Serial I/F
    ui::Label lblComPort{page(4)};
    ui::ComboBox cboComPort{page(4)};
    ui::Label lblBitPeriod{page(4)};
    ui::TextBox txtBitPeriod{page(4)};
    ui::CommandButton cmdBitPeriodDefault{page(4)};

    // Parallel I/F
    ui::Label lblPortAddress{page(5)};
    ui::TextBox txtPortAddress{page(5)};
    ui::Label lblParallelPortBitPeriod{page(5)};
    ui::TextBox txtParallelPortBitPeriod{page(5)};
    ui::CommandButton cmdParallelPortDefaults{page(5)};
    ui::CheckBox chkInvertingIF{page(5)};
    ui::Label lblIOUPDBitNo{page(5)};
    ui::ComboBox cboIOUPDBitNo{page(5)};
    ui::Label lblSCLCKBitNo{page(5)};
    ui::ComboBox cboSCLCKBitNo{page(5)};
    ui::Label lblSDATABitNo{page(5)};
    ui::ComboBox cboSDATABitNo{page(5)};
    ui::TextBox Text1{page(5), {}, true};

    // DREAM
    ui::CheckBox chkDreamRunOnDRM{page(6)};
    ui::CheckBox chkMuteAFOnDRM{page(6)};
    ui::CheckBox chkCloseSoundCardOnDRM{page(6)};
    ui::CheckBox chkDreamCloseOnModeChange{page(6)};
    ui::CheckBox chkDreamCloseOnExit{page(6)};
    ui::Frame frDreamWindowMode{page(6)};
    ui::ControlArray<ui::OptionButton> optDreamWindow;
    ui::Label lblPathToDream{page(6)};
    ui::TextBox txtPathToDream{page(6)};
    ui::CommandButton cmdFindDREAM{page(6)};
    ui::Label lblDreamProgArgs{page(6)};
    ui::TextBox txtDreamProgArgs{page(6)};
    ui::Label lblSDRDreamArgs{page(6)};
    ui::CommandButton cmdDreamDefault{page(6)};

    // Spectrum Display
    ui::Label lblSmoothingCount{page(7)};
    ui::TextBox txtSpectrumDisplaySmoothingCount{page(7)};
    ui::Label lblHideToolTip{page(7)};
    ui::CheckBox chkSpectrumDisplayHideToolTip{page(7)};
    ui::CommandButton cmdScopeDefaults{page(7)};

    // Controls: each swatch beside the button that picks its colour.
    ui::Frame frSDRColours{page(8)};
    ui::Shape shpSDRBackGroundColour{frSDRColours.container()};
    ui::CommandButton cmdSDrBackGroundColour{frSDRColours.container()};
    ui::Shape shpSDRLabelColour{frSDRColours.container()};
    ui::CommandButton cmdSDrLabelColour{frSDRColours.container()};
    ui::Shape shpSDRTuningColour{frSDRColours.container()};
    ui::CommandButton cmdSDRTuningColour{frSDRColours.container()};
    ui::Frame frScrollLabels{page(8)};
    ui::Shape shpNormalScrollLabelColour{frScrollLabels.container()};
    ui::CommandButton cmdNormalScrollLabelColour{frScrollLabels.container()};
    ui::Shape shpFocusScrollLabelColour{frScrollLabels.container()};
    ui::CommandButton cmdFocusScrollLabelColour{frScrollLabels.container()};
    ui::CheckBox chkScollLabelHiliteBorder{frScrollLabels.container()};
    ui::Frame frFrameColours{page(8)};
    ui::Shape shpSDRFrameNormalColour{frFrameColours.container()};
    ui::CommandButton cmdSDRFrameNormalColour{frFrameColours.container()};
    ui::Shape shpSDRFrameFocusColour{frFrameColours.container()};
    ui::CommandButton cmdSDRFrameFocusColour{frFrameColours.container()};
    ui::Frame frScopeColours{page(8)};
    ui::Shape shpScopeBackColour{frScopeColours.container()};
    ui::CommandButton cmdScopeColour{frScopeColours.container()};
    ui::Shape shpScopeGraticuleColour{frScopeColours.container()};
    ui::CommandButton cmdScopeGraticule{frScopeColours.container()};
    ui::Shape shpScopeXTextColour{frScopeColours.container()};
    ui::CommandButton cmdScopeXTextColour{frScopeColours.container()};
    ui::Shape shpScopeYTextColour{frScopeColours.container()};
    ui::CommandButton cmdScopeYTextColour{frScopeColours.container()};
    ui::Frame frTraceColours{page(8)};
    ui::Shape shpScopeY1Colour{frTraceColours.container()};
    ui::CommandButton cmdScopeY1Colour{frTraceColours.container()};
    ui::Shape shpScopeY2Colour{frTraceColours.container()};
    ui::CommandButton cmdScopeY2Colour{frTraceColours.container()};
    ui::Shape shpScopeFilterCurveColour{frTraceColours.container()};
    ui::CommandButton cmdScopeFilterCurveColour{frTraceColours.container()};
    ui::Shape shpScopeNotchFilterColour{frTraceColours.container()};
    ui::CommandButton cmdScopeNotchFilterColour{frTraceColours.container()};
    ui::CommandButton cmdSDRColoursLoad{page(8)};
    ui::CommandButton cmdSDRColoursSave{page(8)};
    ui::CommandButton cmdSDRPreviewColours{page(8)};
    ui::CommandButton cmdSDRControlDefaults{page(8)};

    // About
    ui::Label lblAbout{page(9)};

    ui::CommandButton cmdOK{this};
    ui::CommandButton cmdCancel{this};
    ui::CommandButton cmdApply{this};

    // A swatch's colour (0x00BBGGRR) is its back colour.
    static int32_t swatchColour(const ui::Shape& swatch) { return swatch.BackColor(); }
    static void setSwatchColour(ui::Shape& swatch, int32_t colour);
    ui::Shape& swatch(config::Swatch which);
    config::SwatchColours swatches();
    void setSwatches(const config::SwatchColours& colours);

    // What the controls show, as Apply reads them.
    config::ApplyInputs applyInputs();
    // True while Apply runs; OK, Apply and Cancel are disabled meanwhile.
    bool Applying() const noexcept { return applying_; }

protected:
    void Form_Load() override;
    void Form_Unload(int16_t& Cancel) override;

private:
    static constexpr const char* kForm = "frmConfig";

    // The page a control of tab k + 1 stands on; the ten pages are made at the first call.
    QWidget* page(int16_t k);
    // Each control at its design place, with its caption and tooltip.
    void layOutTabStrip();
    void layOutGeneral();
    void layOutSoundcard();
    void layOutVFO();
    void layOutDDS();
    void layOutSerial();
    void layOutParallel();
    void layOutDream();
    void layOutSpectrum();
    void layOutControls();
    void layOutAbout();
    void wireHandlers();

    // The client area and the button row, from the tab strip's place.
    void sizeToTabStrip();
    // Every page but the first behind it, at its place.
    void layOutPages();
    // One step of the filling: a failure is logged and skipped, so the rest still fills.
    template <class Step> void fillStep(const char* name, Step&& step);
    void fillReceiver();
    void fillDecoder();
    void fillLines();
    void fillSpectrumAndColours();
    void fillGeneral();
    void fillModelList();
    void fillRigList();
    void fillMultipliers();
    void fillSoundDevices();
    void fillOscillatorTexts();
    void fillBitLists();
    void fillDisplayColours();
    void fillPriorityList();
    void fillSliders();

    void TabStrip1_Click();
    void optIF_Click(int16_t Index);
    void cboSDRModel_Click();
    void cboHamLibModel_Click();
    void cboIOUPDBitNo_Click();
    void cboSCLCKBitNo_Click();
    void cboSDATABitNo_Click();
    void cboRunPriority_Click();
    void chkEnableEncoder_Click();
    void cmdBitPeriodDefault_Click();
    void cmdParallelPortDefaults_Click();
    void cmdCalDDS_Click();
    void sldAmpBalance_Scroll();
    void sldAmpBalance_MouseDown(int16_t Button);
    void sldPhaseAngle_Scroll();
    void sldPhaseAngle_MouseDown(int16_t Button);
    void sldCY27EE16XtalCap_Scroll();
    void cmdDreamDefault_Click();
    void cmdFindDREAM_Click();
    void cmdSavePath_Click();
    void cmdOK_Click();
    void cmdCancel_Click();
    void cmdApply_Click();
    void SelectShapeColour(ui::Shape& swatch);
    void cmdSDRControlDefaults_Click();
    void cmdScopeDefaults_Click();
    void cmdSDRPreviewColours_MouseDown();
    void cmdSDRPreviewColours_MouseUp();
    void cmdSDRColoursSave_Click();
    void cmdSDRColoursLoad_Click();
    // The file dialog of both theme buttons; the chosen path, or nothing when cancelled.
    std::optional<std::string> chooseThemeFile(const char* title, int32_t flags);

    // A check box's value for a flag.
    static int16_t ticked(bool on) { return on ? 1 : 0; }
    // A live object the filling or a handler needs; none raises Object variable not set.
    template <class T> static T& present(T* object, const char* what) {
        if (!object) runtime::raise(runtime::err::kObjectNotSet, what);
        return *object;
    }
    static Oscillator& oscillatorOf(const modSetupRX::RadioObjects& radio, const char* step);

    // The parallel defaults' bit numbers and the model list's per-model load read this row.
    const RXDefinitions::RxModelEntry& modelRow(int32_t modelNo) const;
    // Selects entry position of a list, or none for -1.
    static void selectEntry(ui::ComboBox& list, int32_t position);
    void selectInterface(int32_t kind);

    config::ConfigContext& context_;
    bool loading_ = false;
    bool applying_ = false;
    config::ColourPreview preview_;
};
