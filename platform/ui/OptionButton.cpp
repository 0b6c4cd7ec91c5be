// The option button over a QRadioButton, grouped by a button group of its container's.
#include "platform/ui/OptionButton.h"

#include <QButtonGroup>
#include <QRadioButton>

#include "platform/ui/QtSupport.h"

namespace ui {

namespace {

// Qt's automatic exclusivity reaches into nested containers; option buttons group by their direct
// container, so each container gets a button group of its own.
QButtonGroup* optionGroupOf(QWidget* parent) {
    auto* group = parent->findChild<QButtonGroup*>("optionGroup", Qt::FindDirectChildrenOnly);
    if (!group) {
        group = new QButtonGroup(parent);
        group->setObjectName("optionGroup");
    }
    return group;
}

} // namespace

OptionButton::OptionButton(QWidget* parent, const std::string& caption)
    : Control(new QRadioButton(q(caption), parent)) {
    button()->setAutoExclusive(false);
    keepIndicatorColours(button());
    optionGroupOf(parent)->addButton(button());
    QObject::connect(button(), &QRadioButton::toggled, button(), [this](bool on) {
        if (on == value_) return;
        value_ = on;
        if (on) runGuarded(Click, "Click");
    });
}
QRadioButton* OptionButton::button() const {
    return static_cast<QRadioButton*>(widget());
}
std::string OptionButton::Caption() const {
    return s(button()->text());
}
void OptionButton::setCaption(const std::string& text) {
    button()->setText(q(text));
}
void OptionButton::setValue(bool selected) {
    if (selected == value_) return;
    value_ = selected;
    silently(button(), [&] {
        // An exclusive group refuses to clear its button; clearing from code is allowed.
        QButtonGroup* group = button()->group();
        group->setExclusive(selected);
        button()->setChecked(selected);
        group->setExclusive(true);
    });
    if (selected && Click) Click();
}

} // namespace ui
