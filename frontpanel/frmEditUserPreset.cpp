// The preset dialog.
#include "frontpanel/frmEditUserPreset.h"

#include <QTimer>

#include "frontpanel/FrontPanelDesign.h"
#include "platform/runtime/Hooks.h"

namespace {

constexpr const char* kDemodCaptions[] = {"AM", "USB", "LSB", "DRM"};
constexpr const char* kFilterCaptions[] = {"Off", "400Hz", "2.4KHz", "3.2KHz", "4KHz"};

// The dialog's face; its two button groups take it when it opens.
constexpr int32_t kDialogFace = 0x00F0F0F0;

struct Row {
    int16_t index;
    const char* caption;
    int32_t top;
};

} // namespace

frmEditUserPreset::frmEditUserPreset(frontpanel::PresetEdit& edit, ui::DialogService& dialogs)
    : lblPresetIndex(this), picDemodulation(this), PicFiltering(this), chkPresetTuneImage(this),
      cmdSave(this), cmdCancel(this, "&Cancel"), edit_(edit), dialogs_(dialogs) {
    setClientSize(5400, 4230);
    setBackColor(kDialogFace);
    constexpr int32_t labelLeft = 120, labelWidth = 1300, valueLeft = 1500;
    const Row rows[] = {{0, "Preset No.", 120},    {1, "Description", 480}, {2, "Frequency", 840},
                        {3, "Demodulation", 1230}, {4, "Filtering", 1770},  {5, "Date", 2310},
                        {9, "Time", 2670},         {7, "Low Side LO", 3030}};
    for (const Row& r : rows)
        lblPresetDescs.Load(r.index, this, r.caption).Move(labelLeft, r.top + 30, labelWidth, 255);
    lblPresetIndex.Move(valueLeft, 150, 1000, 255);
    txtPresetValues.Load(0, this).Move(valueLeft, 480, 3700, 315);
    txtPresetValues.Load(1, this).Move(valueLeft, 840, 1500, 315);
    lblPresetDescs.Load(8, this, "Hz").Move(valueLeft + 1560, 870, 400, 255);
    txtPresetValues.Load(2, this).Move(valueLeft, 2310, 1500, 315);
    txtPresetValues.Load(3, this).Move(valueLeft, 2670, 1500, 315);

    picDemodulation.setBorderStyle(0);
    picDemodulation.Move(valueLeft, 1200, 3780, 330);
    for (int16_t i = 0; i < frontpanel::kDialogDemodButtons; ++i)
        optDemodulationValue.Load(i, picDemodulation.container(), kDemodCaptions[i])
            .Move(i * 900, 30, 880, 270);
    PicFiltering.setBorderStyle(0);
    PicFiltering.Move(valueLeft, 1620, 3780, 570);
    for (int16_t i = 0; i < frontpanel::kDialogFilterButtons; ++i)
        optFilteringValues.Load(i, PicFiltering.container(), kFilterCaptions[i])
            .Move((i % 3) * 1260, 30 + (i / 3) * 270, 1240, 270);
    chkPresetTuneImage.Move(valueLeft, 3030, 300, 270);

    ui::place(cmdSave, frontpanel::design::presetDialogSave);
    ui::place(cmdCancel, frontpanel::design::presetDialogCancel);
    cmdSave.Click = [this] {
        ui::runGuarded([this] { cmdSave_Click(); }, "frmEditUserPreset.cmdSave_Click");
    };
    cmdCancel.Click = [this] { cmdCancel_Click(); };
    ui::setTabOrder({&txtPresetValues[0], &txtPresetValues[1], &optDemodulationValue[0],
                     &optFilteringValues[0], &txtPresetValues[2], &txtPresetValues[3], &chkPresetTuneImage,
                     &cmdSave, &cmdCancel});
}

void frmEditUserPreset::Form_Load() {
    edit_.PresetEditSaved = false;
    picDemodulation.setBackColor(BackColor());
    PicFiltering.setBackColor(BackColor());
    const frontpanel::PresetDialogFields f = frontpanel::loadPresetDialog(edit_);
    setCaption(f.Title);
    cmdSave.setCaption(f.SaveCaption);
    lblPresetIndex.setCaption(f.Index);
    txtPresetValues[0].setText(f.Description);
    txtPresetValues[1].setText(f.Frequency);
    txtPresetValues[2].setText(f.Date);
    txtPresetValues[3].setText(f.Time);
    if (f.Demodulation >= 0) optDemodulationValue[f.Demodulation].setValue(true);
    if (f.Filtering >= 0) optFilteringValues[f.Filtering].setValue(true);
    chkPresetTuneImage.setValue(f.LowSideLO);
}

frontpanel::PresetDialogFields frmEditUserPreset::fields() const {
    frontpanel::PresetDialogFields f;
    f.Title = Caption();
    f.SaveCaption = cmdSave.Caption();
    f.Index = lblPresetIndex.Caption();
    f.Description = txtPresetValues[0].Text();
    f.Frequency = txtPresetValues[1].Text();
    f.Date = txtPresetValues[2].Text();
    f.Time = txtPresetValues[3].Text();
    for (int16_t i = 0; i < frontpanel::kDialogDemodButtons; ++i)
        if (f.Demodulation < 0 && optDemodulationValue[i].Value()) f.Demodulation = i;
    for (int16_t i = 0; i < frontpanel::kDialogFilterButtons; ++i)
        if (f.Filtering < 0 && optFilteringValues[i].Value()) f.Filtering = i;
    f.LowSideLO = chkPresetTuneImage.Value();
    return f;
}

void frmEditUserPreset::cmdSave_Click() {
    if (const auto refused = frontpanel::savePresetDialog(fields(), edit_.PresetEditBuffer)) {
        dialogs_.MsgBox(*refused, runtime::mb::kExclamation, runtime::kProductName);
        txtPresetValues[1].SetFocus();
        return;
    }
    edit_.PresetEditSaved = true;
    Unload();
}

void frmEditUserPreset::cmdCancel_Click() {
    edit_.PresetEditSaved = false;
    Unload();
}

namespace frontpanel {

void ModalPresetDialog::ShowModal(PresetEdit& edit) {
    frmEditUserPreset form(edit, dialogs_);
    form.Load();
    if (Opened) QTimer::singleShot(0, &form, [this, &form] { Opened(form); });
    form.ShowModal(owner_);
}

} // namespace frontpanel
