// The check box over a QCheckBox.
#include "platform/ui/CheckBox.h"

#include <QCheckBox>

#include "platform/runtime/RuntimeError.h"
#include "platform/ui/QtSupport.h"

namespace ui {

CheckBox::CheckBox(QWidget* parent, const std::string& caption) : Control(new QCheckBox(q(caption), parent)) {
    box()->setTristate(false);
    keepIndicatorColours(box());
    QObject::connect(box(), &QCheckBox::stateChanged, box(), [this](int state) {
        const auto v = static_cast<int16_t>(state == Qt::Checked ? 1 : state == Qt::PartiallyChecked ? 2 : 0);
        if (v == value_) return;
        value_ = v;
        runGuarded(Click, "Click");
    });
}
QCheckBox* CheckBox::box() const {
    return static_cast<QCheckBox*>(widget());
}
std::string CheckBox::Caption() const {
    return s(box()->text());
}
void CheckBox::setCaption(const std::string& text) {
    box()->setText(q(text));
}
void CheckBox::setValue(int16_t value) {
    if (value < 0 || value > 2)
        runtime::raise(err::kInvalidPropertyValue, "CheckBox.Value", "Invalid property value");
    if (value == value_) return;
    value_ = value;
    silently(box(), [&] {
        if (value == 2) box()->setTristate(true);
        box()->setCheckState(value == 1 ? Qt::Checked : value == 2 ? Qt::PartiallyChecked : Qt::Unchecked);
        if (value != 2) box()->setTristate(false);
    });
    if (Click) Click();
}

} // namespace ui
