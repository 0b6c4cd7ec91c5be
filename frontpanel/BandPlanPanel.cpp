// The band plan on the main window: the bands, the sub-bands, and the hover over the band plan's frame.
#include "frontpanel/BandPlanPanel.h"

#include "frame/ScopedFlag.h"
#include "frontpanel/FrontPanelCore.h"
#include "platform/runtime/Convert.h"
#include "platform/runtime/Hooks.h"
#include "platform/runtime/RuntimeError.h"

namespace frontpanel {

namespace {

constexpr int16_t kLeftButton = 1, kRightButton = 2;
constexpr const char* kCrLf = "\r\n";

int16_t index16(int32_t value) {
    return runtime::checkedNarrow<int16_t>(value);
}

} // namespace

BandPlanPanel::BandPlanPanel(FrontPanelCore& core, BandPlanPorts ports)
    : routines(core, ports.log, ports.clock), core_(core), p_(std::move(ports)) {
    cboBandSelect.Click = [this] { cboBandSelect_Click(); };
    cboSubBandSelect.Click = [this] { cboSubBandSelect_Click(); };
    lstSubBandSelect.Click = [this] { lstSubBandSelect_Click(); };
    optSubBand.Click = [this](int16_t i) { optSubBand_Click(i); };
    lstSubBandSelect.setVisible(false);
    lstSubBandSelect.setEnabled(false);
    for (int16_t i = 0; i < kSubBandButtons; ++i)
        optSubBand[i].setForeColor(kSubBandColour);
}

std::vector<ui::MenuItem> BandPlanPanel::userPresetItems(bool presetUsed) {
    return {ui::MenuItem("Save to Preset"), ui::MenuItem("Edit Preset", presetUsed)};
}

MainBandRec* BandPlanPanel::currentBand() {
    const int32_t k = core_.state.CurrentMainBandIndex;
    if (k < 0 || k >= static_cast<int32_t>(p_.MainBands.size())) return nullptr;
    return &p_.MainBands[static_cast<size_t>(k)];
}

SubBandRec* BandPlanPanel::activeSubBand() {
    MainBandRec* band = currentBand();
    if (!band) return nullptr;
    const int32_t i = band->ActiveSubBand;
    if (i < 0 || i >= static_cast<int32_t>(band->SubBand.size())) return nullptr;
    return &band->SubBand[static_cast<size_t>(i)];
}

// ---- Bands

void BandPlanPanel::cboBandSelect_Click() {
    SelectBand(cboBandSelect.ListIndex());
}

void BandPlanPanel::SelectBand(int32_t k) {
    if (SelectBandBusy_) return;
    if (k < 0 || k >= static_cast<int32_t>(p_.MainBands.size())) return;
    const ScopedFlag busy(SelectBandBusy_);
    core_.state.CurrentMainBandIndex = k;
    if (!p_.MainBands[static_cast<size_t>(k)].Loaded) {
        p_.shell.ShowSplash(p_.MainBands[static_cast<size_t>(k)].Name);
        p_.store.InitBandPlanArrays(p_.MainBands[static_cast<size_t>(k)]);
        p_.store.LoadBandPlan(p_.MainBands[static_cast<size_t>(k)]);
        p_.shell.HideSplash();
    }
    cboSubBandSelect.Clear();
    lstSubBandSelect.Clear();
    for (int16_t i = 0; i < kSubBandButtons; ++i)
        optSubBand[i].setVisible(false);
    // Records are reached again after every step that may pump the message loop.
    const auto band = [this, k]() -> MainBandRec& { return p_.MainBands[static_cast<size_t>(k)]; };
    band().Active = true;
    optSubBand.setValue(index16(band().ActiveSubBand), true);
    frPresets.setCaption(band().Caption);
    for (int32_t i = 0; i <= band().NumSubBands && i < static_cast<int32_t>(band().SubBand.size()); ++i) {
        const SubBandRec& sub = band().SubBand[static_cast<size_t>(i)];
        if (i < kSubBandButtons) {
            PanelControl& button = optSubBand[index16(i)];
            button.setCaption(sub.Caption);
            button.setToolTipText(sub.Description);
            button.setVisible(sub.InUse);
        }
        cboSubBandSelect.AddItem(sub.Caption);
        lstSubBandSelect.AddItem(sub.Caption);
    }
    cboSubBandSelect.setListIndex(band().ActiveSubBand);
    lstSubBandSelect.setListIndex(band().ActiveSubBand);

    SubBandRec* sub = activeSubBand();
    if (!sub) return;
    for (int16_t j = 0; j < kPresetButtons && j < sub->NumPresets; ++j) {
        optPreset[j].setCaption("");
        fillPresetButton(*sub, j, false);
    }
    if (sub->ActivePreset < 0) sub->ActivePreset = 0;
    const int32_t ap = sub->ActivePreset;
    if (sub->Preset[static_cast<size_t>(ap)].Active) {
        optPreset.setValue(index16(ap), true);
        routines.ApplyPresetGuarded(PresetRec(sub->Preset[static_cast<size_t>(ap)]));
    } else {
        for (int16_t j = 0; j < kPresetButtons; ++j) {
            optPreset.setValue(j, false);
            optPreset[j].setForeColor(kOtherColour);
        }
        routines.ApplyPreset(sub->Settings);
    }
}

void BandPlanPanel::cboBandSelect_KeyDown(int16_t& KeyCode, int16_t) {
    if (KeyCode != kInsertKey) return;
    const std::string name =
        p_.dialogs.InputBox("Enter New Band Plan Name", runtime::kProductName, "").value_or("");
    if (name.empty()) return;
    const int32_t k = cboBandSelect.ListIndex();
    if (k < 0 || k >= static_cast<int32_t>(p_.MainBands.size())) return;
    p_.MainBands[static_cast<size_t>(k)].Caption = name;
    cboBandSelect.RemoveItem(k);
    cboBandSelect.AddItem(name, k);
    cboBandSelect.setListIndex(k);
}

void BandPlanPanel::cboBandSelect_LostFocus() {
    cboBandSelect.setVisible(false);
}

// ---- Sub-bands

void BandPlanPanel::showSubBandLabelFrom(const PanelList& list) {
    const int32_t i = list.ListIndex();
    lblSubBand.setCaption(" " + list.List(i) + " ");
    lblSubBand.Tag = std::to_string(i);
}

void BandPlanPanel::cboSubBandSelect_Click() {
    if (cboSubBandSelect.ListIndex() < 0) return;
    showSubBandLabelFrom(cboSubBandSelect);
    if (cboSubBandSelect.ListIndex() < kSubBandButtons)
        optSubBand.setValue(index16(cboSubBandSelect.ListIndex()), true);
}

void BandPlanPanel::cboSubBandSelect_LostFocus() {
    cboSubBandSelect.setVisible(false);
}

void BandPlanPanel::lstSubBandSelect_Click() {
    if (lstSubBandSelect.ListIndex() < 0) return;
    showSubBandLabelFrom(lstSubBandSelect);
    if (lstSubBandSelect.ListIndex() < kSubBandButtons)
        optSubBand_Click(index16(lstSubBandSelect.ListIndex()));
}

void BandPlanPanel::lstSubBandSelect_MouseMove(float frameX, float frameY) {
    const TwipsRect& r = subBandListPlace;
    if (frameX > r.left && frameX < r.left + r.width && frameY < r.height / 2.0f) lstSubBandSelect.SetFocus();
}

void BandPlanPanel::lblSubBand_MouseMove() {
    lblSubBand.setVisible(false);
    cboSubBandSelect.setVisible(true);
    cboSubBandSelect.setEnabled(true);
    cboSubBandSelect.SetFocus();
}

void BandPlanPanel::fillPresetButton(SubBandRec& sub, int16_t j, bool dropUnused) {
    PresetRec& p = sub.Preset[static_cast<size_t>(j)];
    PanelControl& button = optPreset[j];
    if (p.Settings.FreqCurrent < 1) {
        button.setCaption("P" + std::to_string(j + 1));
        button.setToolTipText("Unused - Shift + Right Click to set");
        if (dropUnused) p.Active = false;
    } else {
        button.setCaption(std::to_string(p.Settings.FreqCurrent / 1000));
        button.setToolTipText(p.Description);
    }
}

void BandPlanPanel::optSubBand_Click(int16_t Index) {
    if (SubBandBusy_) return;
    const ScopedFlag busy(SubBandBusy_);
    for (int16_t i = 0; i < kSubBandButtons; ++i)
        optSubBand[i].setForeColor(kSubBandColour);
    optSubBand[Index].setForeColor(kChosenSubBandColour);
    optSubBand.setValue(Index, true);
    MainBandRec* band = currentBand();
    if (!band || Index >= static_cast<int32_t>(band->SubBand.size())) return;
    band->ActiveSubBand = Index;
    SubBandRec* sub = activeSubBand();

    if (!p_.shell.FormLoading()) {
        const TuningStepTable& steps = core_.tuning.steps();
        for (int32_t e = 0; e < kTuningStepEntries; ++e) {
            if (steps[static_cast<size_t>(e)] <= sub->Settings.TuneStep) {
                core_.tuning.SelectTuningStepIndex(e, true);
                break;
            }
        }
    }
    sub = activeSubBand();
    for (int16_t j = 0; j < kPresetButtons; ++j)
        fillPresetButton(*sub, j, true);

    const int32_t ap = sub->ActivePreset;
    if (ap < 0)
        routines.ApplyPreset(sub->Settings);
    else if (sub->Preset[static_cast<size_t>(ap)].Active)
        optPreset_MouseDown(index16(ap), kLeftButton, 0, 0, 0);
    else
        routines.ApplyPreset(sub->Settings);

    runtime::resumeNext([&] {
        if (Index < lstSubBandSelect.ListCount()) lstSubBandSelect.setListIndex(Index);
    });
    runtime::resumeNext([&] {
        if (Index < cboSubBandSelect.ListCount()) cboSubBandSelect.setListIndex(Index);
    });
}

void BandPlanPanel::optSubBand_MouseDown(int16_t Index, int16_t Button, int16_t, float, float) {
    for (int16_t i = 0; i < kSubBandButtons; ++i)
        optSubBand[i].setForeColor(kPressedSubBandsColour);
    optSubBand[Index].setForeColor(kPressedColour);
    optSubBand.setValue(Index, true);
    MainBandRec* band = currentBand();
    if (!band || Index >= static_cast<int32_t>(band->SubBand.size())) return;
    band->ActiveSubBand = Index;
    if (Button == kLeftButton) {
        optSubBand.setValue(Index, false);
        optSubBand.setValue(Index, true);
    } else if (Button == kRightButton) {
        const std::string name =
            p_.dialogs.InputBox("Enter SubBand Name", runtime::kProductName, "").value_or("");
        if (name.empty()) return;
        band = currentBand();
        if (!band || Index >= static_cast<int32_t>(band->SubBand.size())) return;
        band->SubBand[static_cast<size_t>(Index)].Caption = name;
        optSubBand[Index].setCaption(name);
    }
}

void BandPlanPanel::hideSelectors() {
    cboBandSelect.setVisible(false);
    cboSubBandSelect.setVisible(false);
    lstSubBandSelect.setVisible(false);
}

void BandPlanPanel::optSubBand_MouseMove(int16_t Index, int16_t, int16_t, float X, float Y) {
    hideSelectors();
    lblSubBand.setVisible(true);
    MainBandRec* band = currentBand();
    if (!band || !band->Loaded) return;
    if (!popUpBeside(SubBandDescPos[static_cast<size_t>(Index)], X, Y)) return;
    band = currentBand();
    if (!band || Index >= static_cast<int32_t>(band->SubBand.size())) return;
    const SubBandRec& sub = band->SubBand[static_cast<size_t>(Index)];
    p_.popup.setLines(sub.Description, "Band=" + sub.Caption + kCrLf +
                                           "Freq Lo=" + std::to_string(sub.FreqMin) + kCrLf +
                                           "Freq Hi=" + std::to_string(sub.FreqMax));
}

void BandPlanPanel::picSubBands_MouseMove() {
    p_.popup.setShown(false);
    hideSelectors();
}

void BandPlanPanel::imgBandSelect_MouseMove() {
    core_.shell.UnFocusFrames();
    hideSelectors();
    lblSubBand.setVisible(true);
}

void BandPlanPanel::frPresets_MouseMove(int16_t, int16_t, float X, float Y) {
    core_.shell.UnFocusFrames();
    frPresets.setForeColor(core_.state.SDRColourSchemes.FrameFocus);
    cboBandSelect.setVisible(false);
    cboSubBandSelect.setVisible(false);
    lstSubBandSelect.setVisible(false);
    lstSubBandSelect.setEnabled(false);
    lblSubBand.setVisible(true);
    const auto within = [X, Y](const TwipsRect& r) {
        return X > r.left && X < r.left + r.width && Y < r.height / 2.0f;
    };
    if (within(bandSelectPlace)) cboBandSelect.setVisible(true);
    if (cboSubBandSelect.Enabled() && within(subBandSelectPlace)) {
        cboSubBandSelect.setVisible(true);
        lblSubBand.setVisible(false);
    }
    p_.popup.setShown(false);
    core_.shell.UnhighlightValueLabel(0);
}

void BandPlanPanel::HidePopups() {
    p_.popup.setShown(false);
    hideSelectors();
    lblSubBand.setVisible(true);
}

bool BandPlanPanel::popUpBeside(const DescPos& at, float X, float Y) {
    if (!PresetDescEnabled) {
        p_.popup.setShown(false);
        return false;
    }
    p_.popup.setShown(true);
    p_.popup.MoveTo(runtime::CLng(at.X + X + p_.shell.WindowLeft()),
                    runtime::CLng(at.Y + Y + p_.shell.WindowTop()));
    p_.popup.BringToFront();
    runtime::DoEvents();
    return true;
}

} // namespace frontpanel
