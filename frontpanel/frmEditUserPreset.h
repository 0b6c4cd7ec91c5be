// The modal preset dialog: a preset's description, frequency, mode, filter, date, time and LO side, edited
// ("&Update") or saved from the receiver ("&Save"). It works on the edit buffer it is given and reports
// through its PresetEditSaved.
#pragma once

#include "frontpanel/BandPlanPanel.h"
#include "frontpanel/PresetEditor.h"
#include "platform/ui/ControlArray.h"
#include "platform/ui/Controls.h"
#include "platform/ui/DialogService.h"
#include "platform/ui/Form.h"

class frmEditUserPreset final : public ui::Form {
public:
    // dialogs shows the refusal of a frequency that cannot be tuned.
    frmEditUserPreset(frontpanel::PresetEdit& edit, ui::DialogService& dialogs);

    // The fields as they stand, and as the user would set them.
    frontpanel::PresetDialogFields fields() const;

    ui::ControlArray<ui::Label> lblPresetDescs;
    ui::Label lblPresetIndex;
    ui::ControlArray<ui::TextBox> txtPresetValues;
    ui::Frame picDemodulation;
    ui::ControlArray<ui::OptionButton> optDemodulationValue;
    ui::Frame PicFiltering;
    ui::ControlArray<ui::OptionButton> optFilteringValues;
    ui::CheckBox chkPresetTuneImage;
    ui::CommandButton cmdSave;
    ui::CommandButton cmdCancel;

protected:
    void Form_Load() override;

private:
    void cmdSave_Click();
    void cmdCancel_Click();

    frontpanel::PresetEdit& edit_;
    ui::DialogService& dialogs_;
};

namespace frontpanel {

// The dialog as the band plan opens it: a new window for each use, modal over the main window, released
// when it closes.
class ModalPresetDialog final : public PresetDialog {
public:
    ModalPresetDialog(QWidget* owner, ui::DialogService& dialogs) : owner_(owner), dialogs_(dialogs) {}
    void ShowModal(PresetEdit& edit) override;
    // Runs with the window open, before the user acts: tests drive the real dialog from here.
    std::function<void(frmEditUserPreset&)> Opened;

private:
    QWidget* owner_;
    ui::DialogService& dialogs_;
};

} // namespace frontpanel
