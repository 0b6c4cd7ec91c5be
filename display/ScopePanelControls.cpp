// The display panel as its core's view: the boxes, parts and sliders by the names the core uses, the
// display pictures and their frequency labels.
#include "display/ScopePanel.h"
#include "platform/runtime/RuntimeError.h"

namespace display {

ui::CheckBox& ScopePanel::box(ScopeBox which) const {
    auto& self = const_cast<ScopePanel&>(*this);
    switch (which) {
    case ScopeBox::chkScopeMode0:
        return self.chkScopeMode[0];
    case ScopeBox::chkScopeMode1:
        return self.chkScopeMode[1];
    case ScopeBox::chkScopeMode2:
        return self.chkScopeMode[2];
    case ScopeBox::chkTrigOn1:
        return self.chkTrigOn[1];
    case ScopeBox::chkTrigOn2:
        return self.chkTrigOn[2];
    case ScopeBox::chkChn1On:
        return self.chkChn1On;
    case ScopeBox::chkChn2On:
        return self.chkChn2On;
    case ScopeBox::chkLog:
        return self.chkLog;
    case ScopeBox::chkSmoothSpectrum:
        return self.chkSmoothSpectrum;
    case ScopeBox::chkScopeShowFilters:
        return self.chkScopeShowFilters;
    case ScopeBox::chkSpectrumAutoGain:
        return self.chkSpectrumAutoGain;
    case ScopeBox::chkSpectrumAnalyser:
        return self.chkSpectrumAnalyser;
    case ScopeBox::chkPerfStatsOn:
        return self.chkPerfStatsOn;
    }
    runtime::raise(runtime::err::kInvalidPropertyArrayIndex, "ScopePanel");
}

ui::Control& ScopePanel::part(ScopePart which) const {
    auto& self = const_cast<ScopePanel&>(*this);
    switch (which) {
    case ScopePart::frScopeSweep:
        return self.frScopeSweep;
    case ScopePart::frScopeYMode:
        return self.frScopeYMode;
    case ScopePart::chkTrigOn1:
        return self.chkTrigOn[1];
    case ScopePart::chkTrigOn2:
        return self.chkTrigOn[2];
    case ScopePart::chkChn1On:
        return self.chkChn1On;
    case ScopePart::chkChn2On:
        return self.chkChn2On;
    case ScopePart::chkScopeShowFilters:
        return self.chkScopeShowFilters;
    case ScopePart::lblScopeCtl2:
        return self.lblScopeCtl[2];
    case ScopePart::lblScopeCtl3:
        return self.lblScopeCtl[3];
    case ScopePart::lblScopeCtl6:
        return self.lblScopeCtl[6];
    case ScopePart::lblScopeCtl7:
        return self.lblScopeCtl[7];
    case ScopePart::lblScopeXCentre:
        return self.lblScopeXCentre.label;
    case ScopePart::lblSpectrumSmooth:
        return self.lblSpectrumSmooth.label;
    }
    runtime::raise(runtime::err::kInvalidPropertyArrayIndex, "ScopePanel");
}

ui::Slider& ScopePanel::slider(ScopeSlider which) const {
    auto& self = const_cast<ScopePanel&>(*this);
    switch (which) {
    case ScopeSlider::sldSpectrumGain:
        return self.sldSpectrumGain;
    case ScopeSlider::sldXWidth:
        return self.sldXWidth;
    case ScopeSlider::sldXCentre:
        return self.sldXCentre;
    }
    runtime::raise(runtime::err::kInvalidPropertyArrayIndex, "ScopePanel");
}

int16_t ScopePanel::Value(ScopeBox which) const {
    return box(which).Value();
}

void ScopePanel::setValue(ScopeBox which, int16_t value) {
    box(which).setValue(value);
}

void ScopePanel::selectSource(int16_t index) {
    optSpectrumSource[index].setValue(true);
}

void ScopePanel::setVisible(ScopePart which, bool on) {
    part(which).setVisible(on);
}

void ScopePanel::setEnabled(ScopePart which, bool on) {
    part(which).setEnabled(on);
}

void ScopePanel::setCaption(ScopePart which, const std::string& caption) {
    ui::Control& c = part(which);
    if (auto* f = dynamic_cast<ui::Frame*>(&c)) return f->setCaption(caption);
    if (auto* l = dynamic_cast<ui::Label*>(&c)) return l->setCaption(caption);
    if (auto* b = dynamic_cast<ui::CheckBox*>(&c)) return b->setCaption(caption);
    runtime::raise(runtime::err::kInvalidPropertyValue, "ScopePanel.Caption");
}

int32_t ScopePanel::Min(ScopeSlider which) const {
    return slider(which).Min();
}

int32_t ScopePanel::Max(ScopeSlider which) const {
    return slider(which).Max();
}

int32_t ScopePanel::Value(ScopeSlider which) const {
    return slider(which).Value();
}

void ScopePanel::setMin(ScopeSlider which, int32_t value) {
    slider(which).setMin(value);
}

void ScopePanel::setMax(ScopeSlider which, int32_t value) {
    slider(which).setMax(value);
}

void ScopePanel::setValue(ScopeSlider which, int32_t value) {
    slider(which).setValue(value);
}

void ScopePanel::setSteps(ScopeSlider which, const SliderSteps& steps) {
    ui::Slider& s = slider(which);
    s.setTickFrequency(steps.TickFrequency);
    s.setSmallChange(steps.SmallChange);
    s.setLargeChange(steps.LargeChange);
}

void ScopePanel::setToolTipText(ScopeSlider which, const std::string& text) {
    slider(which).setToolTipText(text);
}

void ScopePanel::Refresh(ScopeSlider which) {
    slider(which).Refresh();
}

ui::Picture& ScopePanel::displayPicture(int16_t index) {
    return picScope[index];
}

std::string ScopePanel::Tag(int16_t picture) const {
    return picScope[picture].Tag;
}

void ScopePanel::setTag(int16_t picture, const std::string& text) {
    picScope[picture].Tag = text;
}

void ScopePanel::setFreqLabelCaption(int16_t index, const std::string& caption) {
    lblSpectrumFreq[index].setCaption(caption);
}

double ScopePanel::FreqLabelWidth(int16_t index) const {
    return lblSpectrumFreq[index].Width();
}

double ScopePanel::FreqLabelHeight(int16_t index) const {
    return lblSpectrumFreq[index].Height();
}

void ScopePanel::moveFreqLabel(int16_t index, double left, double top, double width, double height) {
    lblSpectrumFreq[index].Move(left, top, width, height);
}

void ScopePanel::setFreqLabelVisible(int16_t index, bool on) {
    lblSpectrumFreq[index].setVisible(on);
}

} // namespace display
