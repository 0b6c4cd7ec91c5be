// The popup that shows a sub-band's or a preset's details while the pointer rests on its button: pale
// yellow, borderless, never taking the focus.
#pragma once

#include "frontpanel/BandPlanPanel.h"
#include "platform/ui/Controls.h"
#include "platform/ui/Form.h"

class frmPresetDesc final : public ui::Form, public frontpanel::PresetDescPopup {
public:
    frmPresetDesc();

    void setShown(bool on) override;
    bool Shown() const override;
    void MoveTo(int32_t left, int32_t top) override;
    void BringToFront() override;
    void setLines(const std::string& caption, const std::string& text) override;

    ui::Label lblCaption;
    ui::Label lblPresetDesc;

protected:
    void Form_Load() override;
};
