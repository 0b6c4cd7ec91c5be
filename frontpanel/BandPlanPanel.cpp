// The band plan on the main window: bands, sub-bands, presets, the preset menu and the tracking timer.
#include "frontpanel/BandPlanPanel.h"

#include <cmath>
#include <cstdio>
#include <optional>

#include "frame/NumberFormat.h"
#include "frame/ScopedFlag.h"
#include "frontpanel/FrontPanelCore.h"
#include "platform/runtime/Convert.h"
#include "platform/runtime/Hooks.h"
#include "platform/runtime/RuntimeError.h"

namespace frontpanel {

namespace {

constexpr int16_t kLeftButton = 1, kRightButton = 2;
constexpr int16_t kShiftOnly = 1, kCtrlOnly = 2;
constexpr const char* kCrLf = "\r\n";

int16_t index16(int32_t value) {
    return runtime::checkedNarrow<int16_t>(value);
}

// A caption as the label shows it: an ampersand marks the access key and is not shown; "&&" is one.
std::string shownCaption(const std::string& caption) {
    std::string out;
    for (std::size_t i = 0; i < caption.size(); ++i) {
        if (caption[i] == '&' && ++i == caption.size()) break;
        out += caption[i];
    }
    return out;
}

struct WhenParts {
    int year = 0, month = 0, day = 0, hour = 0, minute = 0;
};

// A stored "When": a date (yyyy-mm-dd, "/" also taken) with or without a time (hh:mm[:ss]).
std::optional<WhenParts> parseWhen(const std::string& when) {
    WhenParts w;
    int second = 0;
    char sep1 = 0, sep2 = 0;
    int used = 0;
    if (std::sscanf(when.c_str(), "%4d%c%2d%c%2d%n", &w.year, &sep1, &w.month, &sep2, &w.day, &used) != 5)
        return std::nullopt;
    if (sep1 != sep2 || (sep1 != '-' && sep1 != '/')) return std::nullopt;
    if (w.month < 1 || w.month > 12 || w.day < 1 || w.day > 31) return std::nullopt;
    const std::string rest = when.substr(static_cast<std::size_t>(used));
    if (!rest.empty()) {
        int more = 0;
        const int n =
            std::sscanf(rest.c_str(), " %2d:%2d%n:%2d%n", &w.hour, &w.minute, &more, &second, &more);
        if (n < 2 || rest.find_first_not_of(' ', static_cast<std::size_t>(more)) != std::string::npos)
            return std::nullopt;
        if (w.hour > 23 || w.minute > 59 || second > 59 || w.hour < 0 || w.minute < 0 || second < 0)
            return std::nullopt;
    }
    return w;
}

} // namespace

// "Date=" and "Time=" of the popup: a stored date as YYYY/mm/dd and HH:MM; any other text as it stands.
std::string whenDate(const std::string& when) {
    const auto w = parseWhen(when);
    if (!w) return when;
    char text[16];
    std::snprintf(text, sizeof text, "%04d/%02d/%02d", w->year, w->month, w->day);
    return text;
}

std::string whenTime(const std::string& when) {
    const auto w = parseWhen(when);
    if (!w) return when;
    char text[8];
    std::snprintf(text, sizeof text, "%02d:%02d", w->hour, w->minute);
    return text;
}

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
    if (!PresetDescEnabled) {
        p_.popup.setShown(false);
        return;
    }
    const DescPos& at = SubBandDescPos[static_cast<size_t>(Index)];
    p_.popup.setShown(true);
    p_.popup.MoveTo(runtime::CLng(at.X + X + p_.shell.WindowLeft()),
                    runtime::CLng(at.Y + Y + p_.shell.WindowTop()));
    p_.popup.BringToFront();
    runtime::DoEvents();
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

// ---- Presets

void BandPlanPanel::optPreset_MouseDown(int16_t Index, int16_t Button, int16_t Shift, float, float) {
    press(Index, Button, Shift, true);
}

void BandPlanPanel::optPreset_MouseUp(int16_t Index, int16_t Button, int16_t Shift, float, float) {
    press(Index, Button, Shift, false);
}

void BandPlanPanel::press(int16_t j, int16_t Button, int16_t Shift, bool popMenu) {
    if (PresetPressBusy_) return;
    const ScopedFlag busy(PresetPressBusy_);
    (void)optPreset[j];
    if (lastPreset_ < 0) lastPreset_ = j;
    for (int16_t i = 0; i < kPresetButtons; ++i)
        optPreset[i].setForeColor(core_.state.SDRColourSchemes.Label);
    const int32_t bandIndex = core_.state.CurrentMainBandIndex;
    MainBandRec* band = currentBand();
    if (!band || !activeSubBand()) return;
    const int32_t subIndex = band->ActiveSubBand;
    activeSubBand()->ActivePreset = j;
    if (!activeSubBand()->Preset[static_cast<size_t>(j)].Settings.Loaded)
        p_.store.LoadPresetOnDemand(bandIndex, subIndex, j);
    SubBandRec* sub = activeSubBand();
    PresetRec& p = sub->Preset[static_cast<size_t>(j)];
    const bool used = p.Settings.FreqCurrent >= 1;

    if (Button == kLeftButton) {
        if (!used) {
            sub->ActivePreset = lastPreset_;
        } else {
            lastPreset_ = j;
            for (PresetRec& other : sub->Preset)
                other.Active = false;
            p.Active = true;
        }
        const int16_t ap = index16(sub->ActivePreset);
        optPreset.setValue(ap, true);
        optPreset[ap].setForeColor(kPressedColour);
        const PresetSettings block = activeSubBand()->Preset[static_cast<size_t>(ap)].Settings;
        // An unused block would tune to the bottom of the range with every setting at its default.
        if (block.FreqCurrent >= 1) routines.ApplyPreset(block);
    } else if (Button == kRightButton && Shift == kShiftOnly) {
        routines.StorePresetFromCurrent(p);
        optPreset[j].setCaption(p.Caption);
        optPreset[j].setToolTipText(p.Description);
        routines.ApplyPresetGuarded(PresetRec(p));
    } else if (Button == kRightButton) {
        if (!popMenu) return;
        const int32_t chosen = p_.dialogs.PopupMenu(userPresetItems(used));
        if (chosen == 0)
            mnuUserPresets_Save_Click();
        else if (chosen == 1)
            mnuUserPresets_Edit_Click();
    }
}

void BandPlanPanel::optPreset_MouseMove(int16_t Index, int16_t, int16_t, float X, float Y) {
    MainBandRec* band = currentBand();
    if (!band || !band->Loaded || !activeSubBand()) return;
    if (!PresetDescEnabled) {
        p_.popup.setShown(false);
        return;
    }
    const DescPos& at = PresetDescPos[static_cast<size_t>(Index)];
    p_.popup.setShown(true);
    p_.popup.MoveTo(runtime::CLng(at.X + X + p_.shell.WindowLeft()),
                    runtime::CLng(at.Y + Y + p_.shell.WindowTop()));
    p_.popup.BringToFront();
    runtime::DoEvents();
    SubBandRec* sub = activeSubBand();
    if (!sub) return;
    const PresetRec& p = sub->Preset[static_cast<size_t>(Index)];
    const std::string mode = shownCaption(core_.modes.optMode[index16(p.Settings.DemodMode)].Caption());
    const std::string filter =
        shownCaption(core_.filterControls.optFilter[index16(p.Settings.FilterMode)].Caption());
    p_.popup.setLines(p.Description, "Frequency=" + p.Caption + kCrLf + "Modulation=" + mode + kCrLf +
                                         "Filter=" + filter + kCrLf + "Date=" + whenDate(p.When) + kCrLf +
                                         "Time=" + whenTime(p.When));
}

void BandPlanPanel::optPreset_KeyDown(int16_t, int16_t&, int16_t Shift) {
    if (Shift != kCtrlOnly) return;
    const bool was = PresetDescEnabled;
    PresetDescEnabled = !PresetDescEnabled;
    p_.popup.setShown(!was);
}

bool BandPlanPanel::runDialog(int32_t) {
    edit.PresetEditSaved = false;
    p_.dialog.ShowModal(edit);
    return edit.PresetEditSaved;
}

void BandPlanPanel::mnuUserPresets_Edit_Click() {
    if (EditBusy_) return;
    const ScopedFlag busy(EditBusy_);
    SubBandRec* sub = activeSubBand();
    if (!sub || sub->ActivePreset < 0) return;
    const int32_t ap = sub->ActivePreset;
    edit.PresetEditBuffer = sub->Preset[static_cast<size_t>(ap)];
    edit.PresetEditBuffer.Active = true;
    edit.PresetEditTitle = "Edit Preset " + std::to_string(edit.PresetEditBuffer.Index);
    edit.PresetEditSaveCaption = "&Update";
    if (!runDialog(ap)) return;
    sub = activeSubBand();
    if (!sub) return;
    PresetRec& p = sub->Preset[static_cast<size_t>(ap)];
    p = edit.PresetEditBuffer;
    optPreset[index16(ap)].setCaption(NumberFormat::Format(p.Settings.FreqCurrent / 1000.0, "#0"));
    optPreset[index16(ap)].setToolTipText(p.Description);
    optPreset.setValue(index16(ap), true);
    routines.ApplyPresetGuarded(PresetRec(p));
}

void BandPlanPanel::mnuUserPresets_Save_Click() {
    if (SaveBusy_) return;
    const ScopedFlag busy(SaveBusy_);
    SubBandRec* sub = activeSubBand();
    if (!sub || sub->ActivePreset < 0) return;
    const int32_t ap = sub->ActivePreset;
    PresetRec& b = edit.PresetEditBuffer;
    b = sub->Preset[static_cast<size_t>(ap)];
    b.Active = false;
    b.When = p_.clock();
    b.Settings.FilterMode = core_.state.FilterMode;
    b.Settings.DemodMode = core_.state.DemodMode;
    b.Settings.FreqCurrent = runtime::CLng(core_.vfo.TunedFrequency() / 10.0);
    b.Settings.HiSideLO = core_.vfo.HiSideLo();
    edit.PresetEditTitle = "Save Current Settings to Preset " + std::to_string(b.Index);
    edit.PresetEditSaveCaption = "&Save";
    if (!runDialog(ap)) return;
    sub = activeSubBand();
    if (!sub) return;
    PresetRec& p = sub->Preset[static_cast<size_t>(ap)];
    p = edit.PresetEditBuffer;
    optPreset[index16(ap)].setCaption(
        NumberFormat::Format(std::floor(p.Settings.FreqCurrent / 1000.0 + 0.5), "0#"));
    optPreset[index16(ap)].setToolTipText(p.Description);
    optPreset.setValue(index16(ap), true);
    routines.ApplyPresetGuarded(PresetRec(p));
}

// ---- Tracking

void BandPlanPanel::tmrSubBands_Timer() {
    if (TrackingBusy_) return;
    const ScopedFlag busy(TrackingBusy_);
    SubBandRec* sub = activeSubBand();
    const int32_t pr = sub ? sub->ActivePreset : -1;
    routines.logFrequency();
    if (pr < 0 || routines.PresetApplying() || p_.store.BandPlanLoading() || p_.shell.DreamStarting()) return;
    PresetRec& p = sub->Preset[static_cast<size_t>(pr)];
    const double tuned = core_.vfo.TunedFrequency() / 10.0;
    if (p.Active && std::abs(tuned - p.Settings.FreqCurrent) > kPresetTrackingHz) {
        p.Active = false;
        if (pr < kPresetButtons) {
            optPreset.setValue(index16(pr), false);
            optPreset[index16(pr)].setForeColor(kOtherColour);
        }
    }
    if (!p.Active) {
        routines.CapturePreset(sub->Settings);
    } else if (core_.state.AutoTrackPresets) {
        const int32_t frequency = p.Settings.FreqCurrent;
        routines.CapturePreset(p.Settings);
        p.Settings.FreqCurrent = frequency;
    }
}

} // namespace frontpanel
