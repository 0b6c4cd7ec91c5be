// The combo box over a QComboBox, editable for a drop-down combo.
#include "platform/ui/ComboBox.h"

#include <QComboBox>
#include <QLineEdit>

#include "platform/ui/QtSupport.h"

namespace ui {

ComboBox::ComboBox(QWidget* parent, Style style) : ListControl(new QComboBox(parent)), style_(style) {
    if (style == kDropdownList) {
        QObject::connect(combo(), &QComboBox::currentIndexChanged, combo(),
                         [this](int row) { userSelected(row); });
        return;
    }
    combo()->setEditable(true);
    // What the user types stays as typed: it neither becomes an item nor completes to one.
    combo()->setInsertPolicy(QComboBox::NoInsert);
    combo()->setCompleter(nullptr);
    // Choosing an item is reported even when Qt still holds it as current under typed text.
    QObject::connect(combo(), &QComboBox::activated, combo(), [this](int row) { userSelected(row); });
    QObject::connect(combo()->lineEdit(), &QLineEdit::textEdited, combo(), [this](const QString&) {
        forgetSelection();
        runGuarded(Change, "Change");
    });
}
QComboBox* ComboBox::combo() const {
    return static_cast<QComboBox*>(widget());
}
std::string ComboBox::Text() const {
    if (style_ == kDropdownCombo) return s(combo()->currentText());
    return ListIndex() < 0 ? std::string{} : rowText(ListIndex());
}
int ComboBox::rowCount() const {
    return combo()->count();
}
void ComboBox::insertRow(int row, const std::string& text) {
    silently(combo(), [&] { combo()->insertItem(row, q(text)); });
}
void ComboBox::removeRow(int row) {
    silently(combo(), [&] { combo()->removeItem(row); });
}
void ComboBox::clearRows() {
    silently(combo(), [&] { combo()->clear(); });
}
std::string ComboBox::rowText(int row) const {
    return s(combo()->itemText(row));
}
void ComboBox::showRow(int row) {
    silently(combo(), [&] {
        combo()->setCurrentIndex(row);
        // An editable box keeps its typed text while nothing is chosen; a choice shows the item's.
        if (style_ == kDropdownCombo && row >= 0) combo()->setEditText(combo()->itemText(row));
    });
}

} // namespace ui
