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

    ui::TabStrip TabStrip1;
    ui::ControlArray<ui::Frame> frConfigs;

    // General
    ui::Label lblSDRModel;
    ui::ComboBox cboSDRModel;
    ui::Label lblHamLibModel;
    ui::ComboBox cboHamLibModel;
    ui::Label lblRunPriority;
    ui::ComboBox cboRunPriority;
    ui::CommandButton cmdSavePath;
    ui::TextBox txtSaveRecordingsPath;
    ui::CheckBox chkUseSPL;
    ui::CheckBox chkKBDSupport;
    ui::CheckBox chkAutoTrackPresets;
    ui::CheckBox chkScrollWheelEnableOverScope;
    ui::CheckBox chkEnableEncoder;
    ui::CheckBox chkShaftAutoRate;
    ui::CheckBox chkAutoStartSDR;
    ui::CheckBox FormCaptionOffOnPwrOn;

    // Soundcard
    ui::Label lblPlayDevices;
    ui::ComboBox cboPlayDevices;
    ui::Label lblCapDevices;
    ui::ComboBox cboCapDevices;
    ui::Label lblPhaseCorrection;
    ui::Slider sldPhaseAngle;
    ui::Label lblPhaseAngle;
    ui::Label lblGainCorrection;
    ui::Slider sldAmpBalance;
    ui::Label lblAmplitudeGain;
    ui::CheckBox chkADCDelayBitCorrection;

    // VFO
    ui::Label lblIFFrequency;
    ui::TextBox txtIFFrequency;
    ui::CheckBox chkLoLO;
    ui::Label lblVFOMult;
    ui::ComboBox cboVFOMult;
    ui::Label lblPLLMultiplier;
    ui::ComboBox cboPLLMultiplier;
    ui::Label lblXtalFrequency;
    ui::TextBox txtXtalFrequency;
    ui::Label Label1;

    // DDS
    ui::Label lblDDSClkin;
    ui::TextBox txtDDSClkin;
    ui::CommandButton cmdCalDDS;
    ui::Label lblAutoDDSRefresh;
    ui::CheckBox chkAutoDDSRefresh;
    ui::Label lblIF;
    ui::ControlArray<ui::OptionButton> optIF;
    ui::Label lblXtalCap;
    ui::Slider sldCY27EE16XtalCap;

    // Serial I/F
    ui::Label lblComPort;
    ui::ComboBox cboComPort;
    ui::Label lblBitPeriod;
    ui::TextBox txtBitPeriod;
    ui::CommandButton cmdBitPeriodDefault;

    // Parallel I/F
    ui::Label lblPortAddress;
    ui::TextBox txtPortAddress;
    ui::Label lblParallelPortBitPeriod;
    ui::TextBox txtParallelPortBitPeriod;
    ui::CommandButton cmdParallelPortDefaults;
    ui::CheckBox chkInvertingIF;
    ui::Label lblIOUPDBitNo;
    ui::ComboBox cboIOUPDBitNo;
    ui::Label lblSCLCKBitNo;
    ui::ComboBox cboSCLCKBitNo;
    ui::Label lblSDATABitNo;
    ui::ComboBox cboSDATABitNo;
    ui::TextBox Text1;

    // DREAM
    ui::CheckBox chkDreamRunOnDRM;
    ui::CheckBox chkMuteAFOnDRM;
    ui::CheckBox chkCloseSoundCardOnDRM;
    ui::CheckBox chkDreamCloseOnModeChange;
    ui::CheckBox chkDreamCloseOnExit;
    ui::Frame frDreamWindowMode;
    ui::ControlArray<ui::OptionButton> optDreamWindow;
    ui::Label lblPathToDream;
    ui::TextBox txtPathToDream;
    ui::CommandButton cmdFindDREAM;
    ui::Label lblDreamProgArgs;
    ui::TextBox txtDreamProgArgs;
    ui::Label lblSDRDreamArgs;
    ui::CommandButton cmdDreamDefault;

    // Spectrum Display
    ui::Label lblSmoothingCount;
    ui::TextBox txtSpectrumDisplaySmoothingCount;
    ui::Label lblHideToolTip;
    ui::CheckBox chkSpectrumDisplayHideToolTip;
    ui::CommandButton cmdScopeDefaults;

    // Controls: each swatch beside the button that picks its colour.
    ui::Frame frSDRColours;
    ui::Shape shpSDRBackGroundColour;
    ui::CommandButton cmdSDrBackGroundColour;
    ui::Shape shpSDRLabelColour;
    ui::CommandButton cmdSDrLabelColour;
    ui::Shape shpSDRTuningColour;
    ui::CommandButton cmdSDRTuningColour;
    ui::Frame frScrollLabels;
    ui::Shape shpNormalScrollLabelColour;
    ui::CommandButton cmdNormalScrollLabelColour;
    ui::Shape shpFocusScrollLabelColour;
    ui::CommandButton cmdFocusScrollLabelColour;
    ui::CheckBox chkScollLabelHiliteBorder;
    ui::Frame frFrameColours;
    ui::Shape shpSDRFrameNormalColour;
    ui::CommandButton cmdSDRFrameNormalColour;
    ui::Shape shpSDRFrameFocusColour;
    ui::CommandButton cmdSDRFrameFocusColour;
    ui::Frame frScopeColours;
    ui::Shape shpScopeBackColour;
    ui::CommandButton cmdScopeColour;
    ui::Shape shpScopeGraticuleColour;
    ui::CommandButton cmdScopeGraticule;
    ui::Shape shpScopeXTextColour;
    ui::CommandButton cmdScopeXTextColour;
    ui::Shape shpScopeYTextColour;
    ui::CommandButton cmdScopeYTextColour;
    ui::Frame frTraceColours;
    ui::Shape shpScopeY1Colour;
    ui::CommandButton cmdScopeY1Colour;
    ui::Shape shpScopeY2Colour;
    ui::CommandButton cmdScopeY2Colour;
    ui::Shape shpScopeFilterCurveColour;
    ui::CommandButton cmdScopeFilterCurveColour;
    ui::Shape shpScopeNotchFilterColour;
    ui::CommandButton cmdScopeNotchFilterColour;
    ui::CommandButton cmdSDRColoursLoad;
    ui::CommandButton cmdSDRColoursSave;
    ui::CommandButton cmdSDRPreviewColours;
    ui::CommandButton cmdSDRControlDefaults;

    // About
    ui::Label lblAbout;

    ui::CommandButton cmdOK;
    ui::CommandButton cmdCancel;
    ui::CommandButton cmdApply;

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
    // The page a control of tab k + 1 stands on; the ten pages are made at the first call.
    QWidget* page(int16_t k);
    void layOutPages();
    void wireHandlers();
    // One step of the filling: a failure is logged and skipped, so the rest still fills.
    template <class Step> void fillStep(const char* name, Step&& step);
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
