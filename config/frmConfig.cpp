// The configuration dialog window: made from its design, and the handlers that answer the user before
// Apply.
#include "config/frmConfig.h"

#include <QFont>

#include "clockgen/clsCY27EE16.h"
#include "config/ConfigSliders.h"
#include "config/ConfigTexts.h"
#include "config/ModelLoad.h"
#include "frame/NumberFormat.h"
#include "platform/runtime/Hooks.h"
#include "platform/runtime/RuntimeError.h"
#include "radio/frmCalibrate.h"

namespace {

// The serial and parallel lines' settle time when nothing else is known.
constexpr double kDefaultBitPeriod = 5E-06;

} // namespace

frmConfig::frmConfig(config::ConfigContext& context, QWidget* owner)
    : ui::Form(owner), context_(context), preview_(context.State, context.Analyser, context.MainWindow) {
    // Most controls use the 8.25 pt sans-serif face.
    QFont face = font();
    face.setPointSizeF(8.25);
    setFont(face);

    layOutTabStrip();
    layOutGeneral();
    layOutSoundcard();
    layOutVFO();
    layOutDDS();
    layOutSerial();
    layOutParallel();
    layOutDream();
    layOutSpectrum();
    layOutControls();
    layOutAbout();
    wireHandlers();
}

void frmConfig::wireHandlers() {
    TabStrip1.Click = [this] { TabStrip1_Click(); };
    optIF.Click = [this](int16_t Index) { optIF_Click(Index); };
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
