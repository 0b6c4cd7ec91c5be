// The description popup.
#include "frontpanel/frmPresetDesc.h"

#include "frontpanel/FrontPanelDesign.h"

namespace {
constexpr int32_t kPaleYellow = 0x00C0FFFF;
}

frmPresetDesc::frmPresetDesc() : lblCaption(this), lblPresetDesc(this) {
    setPopupWithoutFocus();
    setClientSize(frontpanel::design::kPresetDescWidth, frontpanel::design::kPresetDescHeight);
    setBackColor(kPaleYellow);
    lblCaption.setFontBold(true);
    lblCaption.setBackColor(kPaleYellow);
    lblPresetDesc.setBackColor(kPaleYellow);
    lblPresetDesc.setTop(285);
    lblPresetDesc.setLeft(60);
    lblPresetDesc.setWidth(2580);
    lblPresetDesc.setWordWrap(true);
}

void frmPresetDesc::Form_Load() {
    lblPresetDesc.setHeight(ScaleHeight() - lblPresetDesc.Top());
    lblCaption.Move(0, 0, ScaleWidth(), 255);
}

void frmPresetDesc::setShown(bool on) {
    if (on)
        Show();
    else
        Hide();
}

bool frmPresetDesc::Shown() const {
    return isVisible();
}

void frmPresetDesc::MoveTo(int32_t left, int32_t top) {
    Move(left, top);
}

void frmPresetDesc::BringToFront() {
    raise();
}

void frmPresetDesc::setLines(const std::string& caption, const std::string& text) {
    lblCaption.setCaption(caption);
    lblPresetDesc.setCaption(text);
}
