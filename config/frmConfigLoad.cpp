// The configuration dialog's filling from the live receiver when it is loaded.
#include <vector>

#include "clockgen/clsCY27EE16.h"
#include "config/ConfigDesign.h"
#include "config/ConfigSliders.h"
#include "config/ConfigTexts.h"
#include "config/frmConfig.h"
#include "dsp/NerixDX8.h"
#include "dsp/clsFFTFilter.h"
#include "frame/NumberFormat.h"
#include "frame/ScopedFlag.h"
#include "platform/runtime/Convert.h"
#include "platform/runtime/Hooks.h"
#include "platform/runtime/RuntimeError.h"

namespace {

namespace design = config::design;

} // namespace

Oscillator& frmConfig::oscillatorOf(const modSetupRX::RadioObjects& radio, const char* step) {
    if (!radio.Vfo || !radio.Vfo->OscType()) runtime::raise(runtime::err::kObjectNotSet, step);
    return *radio.Vfo->OscType();
}

template <class Step> void frmConfig::fillStep(const char* name, Step&& step) {
    try {
        step();
    } catch (const runtime::RuntimeError& e) {
        runtime::AddLog(std::string(kForm) + ".Form_Load:" + name + ": Code=" + std::to_string(e.Number()) +
                        " Description=" + e.Description() + " Source=" + e.Source());
    }
}

void frmConfig::Form_Load() {
    context_.State.ConfigDialogOpen = true;
    const ScopedFlag loading(loading_);
    setCaption(std::string(runtime::kProductName) + " - Configuration");
    lblAbout.setCaption(config::aboutText(context_.Version));
    sizeToTabStrip();
    fillReceiver();
    fillDecoder();
    fillLines();
    fillSpectrumAndColours();
    fillGeneral();
}

void frmConfig::sizeToTabStrip() {
    // The sizes are worked in single precision, as the window's design values are.
    const float width = 3 * static_cast<float>(TabStrip1.Left()) + static_cast<float>(TabStrip1.Width());
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
}

// The model, the rig, the oscillator and its line, and the sound devices.
void frmConfig::fillReceiver() {
    const ReceiverState& state = context_.State;
    const NumberFormat::Separators separators = NumberFormat::userSeparators();
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
    fillStep("AutoUpdate",
             [&] { chkAutoDDSRefresh.setValue(ticked(present(context_.Radio().Vfo, "Vfo").AutoUpdate())); });
    fillStep("SerialWaitTime", [&] {
        txtBitPeriod.setText(
            config::periodText(present(context_.Radio().SerialLine, "SerialLine").WaitTime(), separators));
    });
}

void frmConfig::fillDecoder() {
    const DrmOptions& drm = context_.State.DRM;
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
}

// The parallel line and the serial line's port.
void frmConfig::fillLines() {
    const NumberFormat::Separators separators = NumberFormat::userSeparators();
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
}

// The spectrum display's settings and every swatch, whose colours are kept for the preview's release.
void frmConfig::fillSpectrumAndColours() {
    const ReceiverState& state = context_.State;
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
}

// The options of the General tab, and the sliders, which act on the live receiver at once.
void frmConfig::fillGeneral() {
    const ReceiverState& state = context_.State;
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
