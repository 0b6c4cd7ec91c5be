// The configuration dialog's Apply, OK and Cancel: what the controls show goes into force.
#include <optional>

#include "config/LiveObjects.h"
#include "config/frmConfig.h"
#include "dsp/NerixDX8.h"
#include "frame/NumberFormat.h"
#include "frame/ScopedFlag.h"
#include "platform/runtime/Hooks.h"

config::ApplyInputs frmConfig::applyInputs() {
    const auto isTicked = [](const ui::CheckBox& box) { return box.Value() == 1; };
    const auto lowestSelected = [](const ui::ControlArray<ui::OptionButton>& options) {
        std::optional<int16_t> selected;
        options.forEach([&](const ui::OptionButton& option) {
            if (!selected && option.Value()) selected = option.Index();
        });
        return selected;
    };
    config::ApplyInputs in;
    if (cboSDRModel.ListIndex() >= 0) in.SelectedModel = cboSDRModel.ItemData(cboSDRModel.ListIndex());
    in.UseSPL = isTicked(chkUseSPL);
    in.KBDSupport = isTicked(chkKBDSupport);
    in.AutoTrackPresets = isTicked(chkAutoTrackPresets);
    in.ScrollWheelEnableOverScope = isTicked(chkScrollWheelEnableOverScope);
    in.EnableEncoder = isTicked(chkEnableEncoder);
    in.ShaftAutoRate = isTicked(chkShaftAutoRate);
    in.AutoStartSDR = isTicked(chkAutoStartSDR);
    in.TitleBarOff = isTicked(FormCaptionOffOnPwrOn);
    in.SaveRecordingsPath = txtSaveRecordingsPath.Text();
    in.PlayDeviceIndex = cboPlayDevices.ListIndex();
    in.CapDeviceIndex = cboCapDevices.ListIndex();
    in.ADCDelayBitCorrection = isTicked(chkADCDelayBitCorrection);
    in.IFFrequency = txtIFFrequency.Text();
    in.LoLO = isTicked(chkLoLO);
    in.VFOMultIndex = cboVFOMult.ListIndex();
    in.PLLMultiplierIndex = cboPLLMultiplier.ListIndex();
    in.XtalFrequency = txtXtalFrequency.Text();
    in.DDSClkin = txtDDSClkin.Text();
    in.AutoDDSRefresh = isTicked(chkAutoDDSRefresh);
    in.InterfaceKind = lowestSelected(optIF);
    in.ComPortEnabled = cboComPort.Enabled();
    in.ComPortIndex = cboComPort.ListIndex();
    in.BitPeriod = txtBitPeriod.Text();
    in.PortAddress = txtPortAddress.Text();
    in.ParallelPortBitPeriod = txtParallelPortBitPeriod.Text();
    in.InvertingIF = isTicked(chkInvertingIF);
    in.DreamRunOnDRM = isTicked(chkDreamRunOnDRM);
    in.MuteAFOnDRM = isTicked(chkMuteAFOnDRM);
    in.CloseSoundCardOnDRM = isTicked(chkCloseSoundCardOnDRM);
    in.DreamCloseOnModeChange = isTicked(chkDreamCloseOnModeChange);
    in.DreamCloseOnExit = isTicked(chkDreamCloseOnExit);
    in.DreamWindow = lowestSelected(optDreamWindow);
    in.PathToDream = txtPathToDream.Text();
    in.DreamProgArgs = txtDreamProgArgs.Text();
    in.SmoothingCount = txtSpectrumDisplaySmoothingCount.Text();
    in.HideFreqToolTip = isTicked(chkSpectrumDisplayHideToolTip);
    in.Swatches = swatches();
    in.HiliteBorder = isTicked(chkScollLabelHiliteBorder);
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
