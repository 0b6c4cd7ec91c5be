// The band plan's presets: the presses, the popup over a preset, the user-preset menu with its dialog,
// and the tracking timer.
#include "frontpanel/BandPlanPanel.h"

#include <cmath>
#include <cstdio>
#include <optional>

#include "frame/NumberFormat.h"
#include "frame/ScopedFlag.h"
#include "frontpanel/FrontPanelCore.h"
#include "platform/runtime/Convert.h"
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
    if (!popUpBeside(PresetDescPos[static_cast<size_t>(Index)], X, Y)) return;
    SubBandRec* sub = activeSubBand();
    if (!sub) return;
    // A block not read yet would show the captions of mode 0 and filter 0, a preset the file does not
    // hold: it is read now, as a press would read it.
    if (!sub->Preset[static_cast<size_t>(Index)].Settings.Loaded)
        p_.store.LoadPresetOnDemand(core_.state.CurrentMainBandIndex, band->ActiveSubBand, Index);
    const PresetRec& p = activeSubBand()->Preset[static_cast<size_t>(Index)];
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
    takeEditedPreset(
        ap, [](const PresetRec& p) { return NumberFormat::Format(p.Settings.FreqCurrent / 1000.0, "#0"); });
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
    takeEditedPreset(ap, [](const PresetRec& p) {
        return NumberFormat::Format(std::floor(p.Settings.FreqCurrent / 1000.0 + 0.5), "0#");
    });
}

void BandPlanPanel::takeEditedPreset(int32_t ap,
                                     const std::function<std::string(const PresetRec&)>& caption) {
    SubBandRec* sub = activeSubBand();
    if (!sub) return;
    PresetRec& p = sub->Preset[static_cast<size_t>(ap)];
    p = edit.PresetEditBuffer;
    optPreset[index16(ap)].setCaption(caption(p));
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
