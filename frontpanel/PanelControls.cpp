// The front panel's controls without Qt.
#include "frontpanel/PanelControls.h"

#include <algorithm>

#include "platform/runtime/Convert.h"
#include "platform/runtime/RuntimeError.h"

namespace frontpanel {

void PanelControl::setForeColor(int32_t bgr) {
    foreColor_ = bgr;
    show(Aspect::ForeColor);
}

void PanelControl::setVisible(bool on) {
    visible_ = on;
    show(Aspect::Visible);
}

void PanelControl::setEnabled(bool on) {
    enabled_ = on;
    show(Aspect::Enabled);
}

void PanelControl::setCaption(const std::string& text) {
    caption_ = text;
    show(Aspect::Caption);
}

void PanelControl::setToolTipText(const std::string& text) {
    toolTip_ = text;
    show(Aspect::ToolTip);
}

// ---- Check box

void PanelCheckBox::setValue(int16_t value) {
    if (value < 0 || value > 2)
        runtime::raise(runtime::err::kInvalidPropertyValue, "CheckBox.Value", "Invalid property value");
    if (value == value_) return;
    value_ = value;
    show(Aspect::Value);
    if (Click) Click();
}

// ---- Option group

PanelOptionGroup::PanelOptionGroup(std::initializer_list<Button> buttons) {
    for (const Button& b : buttons)
        buttons_.push_back(std::make_unique<PanelControl>(b.caption, b.toolTip ? b.toolTip : ""));
}

void PanelOptionGroup::check(int16_t index) const {
    if (index < 0 || index >= Count())
        runtime::raise(runtime::err::kInvalidPropertyArrayIndex, "OptionButton",
                       "Control array element does not exist");
}

PanelControl& PanelOptionGroup::operator[](int16_t index) {
    check(index);
    return *buttons_[static_cast<size_t>(index)];
}

const PanelControl& PanelOptionGroup::operator[](int16_t index) const {
    check(index);
    return *buttons_[static_cast<size_t>(index)];
}

bool PanelOptionGroup::Value(int16_t index) const {
    check(index);
    return selected_ == index;
}

void PanelOptionGroup::setValue(int16_t index, bool selected) {
    check(index);
    const int16_t previous = selected_;
    if (selected) {
        if (previous == index) return;
        selected_ = index;
    } else {
        if (previous != index) return;
        selected_ = -1;
    }
    if (MirrorSelection) MirrorSelection(previous, selected_);
    if (selected && Click) Click(index);
}

void PanelOptionGroup::recolour(int16_t chosen) {
    for (const auto& b : buttons_)
        b->setForeColor(kOtherColour);
    (*this)[chosen].setForeColor(kChosenColour);
}

// ---- Slider

void PanelSlider::holdInRange() {
    const int32_t held = std::clamp(value_, std::min(min_, max_), std::max(min_, max_));
    if (held == value_) return;
    value_ = held;
    show(Aspect::Value);
    if (Change) Change();
}

void PanelSlider::setMin(int32_t value) {
    min_ = value;
    show(Aspect::Range);
    holdInRange();
}

void PanelSlider::setMax(int32_t value) {
    max_ = value;
    show(Aspect::Range);
    holdInRange();
}

void PanelSlider::setValue(int64_t position) {
    const int64_t low = std::min(min_, max_), high = std::max(min_, max_);
    if (position < low || position > high) {
        const auto end = static_cast<int32_t>(position < low ? low : high);
        if (end == value_) return;
        value_ = end;
        show(Aspect::Value);
        return;
    }
    const auto v = static_cast<int32_t>(position);
    if (v == value_) return;
    value_ = v;
    show(Aspect::Value);
    if (Change) Change();
}

void PanelSlider::setSmallChange(int32_t step) {
    smallChange_ = step;
    show(Aspect::Range);
}

void PanelSlider::setLargeChange(int32_t step) {
    largeChange_ = step;
    show(Aspect::Range);
}

void PanelSlider::setTickFrequency(int32_t positions) {
    tickFrequency_ = positions;
    show(Aspect::Range);
}

int32_t PanelSlider::inverted(int64_t position) const {
    return runtime::checkedNarrow<int32_t>(int64_t{max_} + min_ - position);
}

// ---- Dial

void PanelDial::setLimits(int32_t lower, int32_t upper) {
    lower_ = std::min(lower, upper);
    upper_ = std::max(lower, upper);
    show(Aspect::Range);
    const int32_t held = std::clamp(value_, lower_, upper_);
    if (held != value_) {
        value_ = held;
        show(Aspect::Value);
    }
}

void PanelDial::setValue(int64_t value) {
    const auto held = static_cast<int32_t>(std::clamp<int64_t>(value, lower_, upper_));
    if (held == value_) return;
    value_ = held;
    show(Aspect::Value);
    if (held == value && Change) Change();
}

// ---- List

void PanelList::AddItem(const std::string& text, int32_t index) {
    if (index < -1 || index > ListCount())
        runtime::raise(runtime::err::kInvalidCall, "ListBox.AddItem", "Invalid procedure call or argument");
    const int32_t at = index < 0 ? ListCount() : index;
    items_.insert(items_.begin() + at, text);
    if (listIndex_ >= at) ++listIndex_;
    show(Aspect::Items);
}

void PanelList::RemoveItem(int32_t index) {
    if (index < 0 || index >= ListCount())
        runtime::raise(runtime::err::kInvalidCall, "ListBox.RemoveItem",
                       "Invalid procedure call or argument");
    items_.erase(items_.begin() + index);
    if (listIndex_ == index)
        listIndex_ = -1;
    else if (listIndex_ > index)
        --listIndex_;
    show(Aspect::Items);
}

void PanelList::Clear() {
    items_.clear();
    listIndex_ = -1;
    show(Aspect::Items);
}

const std::string& PanelList::List(int32_t index) const {
    if (index < 0 || index >= ListCount())
        runtime::raise(runtime::err::kInvalidCall, "ListBox.List", "Invalid procedure call or argument");
    return items_[static_cast<size_t>(index)];
}

void PanelList::setListIndex(int32_t index) {
    if (index < -1 || index >= ListCount())
        runtime::raise(runtime::err::kInvalidPropertyValue, "ListBox.ListIndex", "Invalid property value");
    if (index == listIndex_) return;
    listIndex_ = index;
    show(Aspect::Value);
    if (Click) Click();
}

} // namespace frontpanel
