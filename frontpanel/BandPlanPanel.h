// The band plan on the main window, Qt-free: the band selector, the sub-band label, drop-down and list, the
// 18 sub-band and 12 preset buttons, the user-preset menu with its dialog, the description popup, and the
// tracking timer that keeps the sub-band's or the active preset's block in step with the receiver. The
// widgets mirror its controls and forward their events to it.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "frontpanel/PanelControls.h"
#include "frontpanel/PresetEditor.h"
#include "frontpanel/PresetRoutines.h"
#include "frontpanel/TuningPanel.h"
#include "frontpanel/modBandPlan.h"
#include "platform/ui/DialogService.h"

namespace frontpanel {

class FrontPanelCore;

inline constexpr int16_t kSubBandButtons = 18;
inline constexpr int16_t kPresetButtons = 12;
inline constexpr int32_t kSubBandColour = 0x0000C0;
inline constexpr int32_t kChosenSubBandColour = 0x0000FF;
inline constexpr int32_t kPressedSubBandsColour = 0xC0C0C0;
inline constexpr int32_t kPressedColour = 0xFFFF00;
// How far from its preset the receiver may be tuned, in hertz, before the preset is no longer in force.
inline constexpr double kPresetTrackingHz = 500.0;
inline constexpr int16_t kInsertKey = 45;

// The popup that shows a sub-band's or a preset's details; a borderless window that never takes the
// focus. Positions in twips on the screen.
class PresetDescPopup {
public:
    virtual ~PresetDescPopup() = default;
    virtual void setShown(bool on) = 0;
    virtual bool Shown() const = 0;
    virtual void MoveTo(int32_t left, int32_t top) = 0;
    virtual void BringToFront() = 0;
    virtual void setLines(const std::string& caption, const std::string& text) = 0;
};

// The modal preset dialog, shown over the main window on the edit; it reports through PresetEditSaved.
class PresetDialog {
public:
    virtual ~PresetDialog() = default;
    virtual void ShowModal(PresetEdit& edit) = 0;
};

// What the band plan reaches on the main window.
class BandPlanShell {
public:
    virtual ~BandPlanShell() = default;
    // The main window's start-up runs: the sub-band's tuning step is not forced.
    virtual bool FormLoading() const = 0;
    // The decoder is being started: the tracking stays idle.
    virtual bool DreamStarting() const = 0;
    // The main window's outer top-left corner, in twips on the screen.
    virtual int32_t WindowLeft() const = 0;
    virtual int32_t WindowTop() const = 0;
    // The splash over the main window while a band's file is read, showing the band's name.
    virtual void ShowSplash(const std::string& bandName) = 0;
    virtual void HideSplash() = 0;
};

// A preset's "When" in the popup: a stored date as YYYY/mm/dd and its time as HH:MM; a text that holds no
// date as it stands.
std::string whenDate(const std::string& when);
std::string whenTime(const std::string& when);

// A popup's place for one button, in twips from the main window's corner.
struct DescPos {
    float X = 0;
    float Y = 0;
};

struct BandPlanPorts {
    std::vector<MainBandRec>& MainBands;
    modBandPlan::BandPlanStore& store;
    ui::DialogService& dialogs;
    BandPlanShell& shell;
    PresetDescPopup& popup;
    PresetDialog& dialog;
    FrequencyLog* log = nullptr; // the recorder, once it is made
    std::function<std::string()> clock = modBandPlan::nowText;
};

class BandPlanPanel {
public:
    BandPlanPanel(FrontPanelCore& core, BandPlanPorts ports);
    BandPlanPanel(const BandPlanPanel&) = delete;
    BandPlanPanel& operator=(const BandPlanPanel&) = delete;

    // Bands. A band index that names no band (a list with nothing selected) does nothing.
    void SelectBand(int32_t k);
    void cboBandSelect_Click();
    void cboBandSelect_KeyDown(int16_t& KeyCode, int16_t Shift);
    void cboBandSelect_LostFocus();

    // Sub-bands. Positions in twips: X and Y over the control, or in the preset frame where named so.
    void cboSubBandSelect_Click();
    void cboSubBandSelect_LostFocus();
    void lstSubBandSelect_Click();
    void lstSubBandSelect_MouseMove(float frameX, float frameY);
    void lblSubBand_MouseMove();
    void optSubBand_Click(int16_t Index);
    void optSubBand_MouseDown(int16_t Index, int16_t Button, int16_t Shift, float X, float Y);
    void optSubBand_MouseMove(int16_t Index, int16_t Button, int16_t Shift, float X, float Y);
    void picSubBands_MouseMove();
    void imgBandSelect_MouseMove();
    void frPresets_MouseMove(int16_t Button, int16_t Shift, float X, float Y);

    // Presets.
    void optPreset_MouseDown(int16_t Index, int16_t Button, int16_t Shift, float X, float Y);
    // The press again, as the release of the button; the menu pops up once per click, at the press.
    void optPreset_MouseUp(int16_t Index, int16_t Button, int16_t Shift, float X, float Y);
    void optPreset_MouseMove(int16_t Index, int16_t Button, int16_t Shift, float X, float Y);
    void optPreset_KeyDown(int16_t Index, int16_t& KeyCode, int16_t Shift);
    void mnuUserPresets_Edit_Click();
    void mnuUserPresets_Save_Click();
    // Every 300 ms.
    void tmrSubBands_Timer();

    // The main window's darkening: the popup and the drop-downs hidden, the sub-band label shown.
    void HidePopups();

    // The "&User Presets" menu as it pops up over a used or an unused preset.
    static std::vector<ui::MenuItem> userPresetItems(bool presetUsed);

    PresetRoutines routines;

    PanelList cboBandSelect{"", "Press Insert Key to Change BandName"};
    PanelControl frPresets;
    PanelControl lblSubBand;
    PanelList cboSubBandSelect;
    PanelList lstSubBandSelect;
    PanelOptionGroup optSubBand{{"S1", ""},  {"S2", ""},  {"S3", ""},  {"S4", ""},  {"S5", ""},  {"S6", ""},
                                {"S7", ""},  {"S8", ""},  {"S9", ""},  {"S10", ""}, {"S11", ""}, {"S12", ""},
                                {"S13", ""}, {"S14", ""}, {"S15", ""}, {"S16", ""}, {"S17", ""}, {"S18", ""}};
    PanelOptionGroup optPreset{{"P1", ""}, {"P2", ""}, {"P3", ""}, {"P4", ""},  {"P5", ""},  {"P6", ""},
                               {"P7", ""}, {"P8", ""}, {"P9", ""}, {"P10", ""}, {"P11", ""}, {"P12", ""}};

    // The popups' places, recorded by the start-up's layout.
    std::array<DescPos, kSubBandButtons> SubBandDescPos{};
    std::array<DescPos, kPresetButtons> PresetDescPos{};
    // Where the drop-downs and the list lie in the preset frame, for the hover rules; the widgets tell.
    TwipsRect bandSelectPlace{};
    TwipsRect subBandSelectPlace{};
    TwipsRect subBandListPlace{};

    bool PresetDescEnabled = false;
    PresetEdit edit;

    // The preset pressed last with the left button on a used preset; -1 before the first press.
    int32_t LastPreset() const noexcept { return lastPreset_; }

private:
    MainBandRec* currentBand();
    SubBandRec* activeSubBand();
    // Fills button j from preset j of the sub-band; the sub-band selection also drops an unused preset.
    void fillPresetButton(SubBandRec& sub, int16_t j, bool dropUnused);
    void showSubBandLabelFrom(const PanelList& list);
    void hideSelectors();
    // The popup beside the pointer over a button, the message loop pumped once; false, and the popup
    // hidden, while the popups are switched off.
    bool popUpBeside(const DescPos& at, float X, float Y);
    void press(int16_t Index, int16_t Button, int16_t Shift, bool popMenu);
    // A dialog over the edit buffer; the preset index it was opened on.
    bool runDialog(int32_t preset);
    // The saved edit buffer becomes preset ap of the active sub-band, its button captioned as given, and is
    // put into force; nothing when the sub-band went while the dialog showed.
    void takeEditedPreset(int32_t ap, const std::function<std::string(const PresetRec&)>& caption);

    FrontPanelCore& core_;
    BandPlanPorts p_;
    bool SelectBandBusy_ = false;
    bool SubBandBusy_ = false;
    bool PresetPressBusy_ = false;
    bool EditBusy_ = false;
    bool SaveBusy_ = false;
    bool TrackingBusy_ = false;
    int32_t lastPreset_ = -1;
};

} // namespace frontpanel
