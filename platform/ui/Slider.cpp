// The slider over a QSlider.
#include "platform/ui/Slider.h"

#include <QSlider>
#include <algorithm>

#include "platform/runtime/RuntimeError.h"
#include "platform/ui/QtSupport.h"

namespace ui {

Slider::Slider(QWidget* parent) : Control(new QSlider(Qt::Horizontal, parent)) {
    slider()->setRange(0, 10);
    keepIndicatorColours(slider());
    QObject::connect(slider(), &QSlider::valueChanged, slider(), [this](int v) { follow(v); });
}
QSlider* Slider::slider() const {
    return static_cast<QSlider*>(widget());
}
int32_t Slider::Min() const {
    return slider()->minimum();
}
int32_t Slider::Max() const {
    return slider()->maximum();
}
void Slider::follow(int v) {
    if (v == value_) return;
    value_ = v;
    runGuarded(Change, "Change");
    runGuarded(Scroll, "Scroll");
}
void Slider::setMin(int32_t value) {
    silently(slider(), [&] { slider()->setMinimum(value); });
    if (slider()->value() != value_) {
        value_ = slider()->value();
        if (Change) Change();
    }
}
void Slider::setMax(int32_t value) {
    silently(slider(), [&] { slider()->setMaximum(value); });
    if (slider()->value() != value_) {
        value_ = slider()->value();
        if (Change) Change();
    }
}
void Slider::setValue(int32_t value) {
    if (value < Min() || value > Max())
        runtime::raise(err::kInvalidPropertyValue, "Slider.Value", "Invalid property value");
    if (value == value_) return;
    value_ = value;
    silently(slider(), [&] { slider()->setValue(value); });
    if (Change) Change();
}
int32_t Slider::SmallChange() const {
    return slider()->singleStep();
}
void Slider::setSmallChange(int32_t step) {
    slider()->setSingleStep(step);
}
int32_t Slider::LargeChange() const {
    return slider()->pageStep();
}
void Slider::setLargeChange(int32_t step) {
    slider()->setPageStep(step);
}
void Slider::setOrientation(int16_t orientation) {
    if (orientation != 0 && orientation != 1)
        runtime::raise(err::kInvalidPropertyValue, "Slider.Orientation", "Invalid property value");
    orientation_ = orientation;
    slider()->setOrientation(orientation == 1 ? Qt::Vertical : Qt::Horizontal);
    // Qt puts a vertical slider's minimum at the bottom; ours stands at the top, and the arrow keys
    // move the handle the way they point.
    slider()->setInvertedAppearance(orientation == 1);
    slider()->setInvertedControls(orientation == 1);
}
int32_t Slider::TickFrequency() const {
    return slider()->tickPosition() == QSlider::NoTicks ? 0 : slider()->tickInterval();
}
void Slider::setTickFrequency(int32_t positions) {
    slider()->setTickInterval(std::max(positions, 0));
    slider()->setTickPosition(positions > 0 ? QSlider::TicksBelow : QSlider::NoTicks);
}

} // namespace ui
