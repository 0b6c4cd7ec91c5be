// The list box over a QListWidget.
#include "platform/ui/ListBox.h"

#include <QListWidget>

#include "platform/ui/QtSupport.h"

namespace ui {

ListBox::ListBox(QWidget* parent) : ListControl(new QListWidget(parent)) {
    QObject::connect(list(), &QListWidget::currentRowChanged, list(), [this](int row) { userSelected(row); });
}
QListWidget* ListBox::list() const {
    return static_cast<QListWidget*>(widget());
}
int ListBox::rowCount() const {
    return list()->count();
}
void ListBox::insertRow(int row, const std::string& text) {
    silently(list(), [&] { list()->insertItem(row, q(text)); });
}
void ListBox::removeRow(int row) {
    silently(list(), [&] { delete list()->takeItem(row); });
}
void ListBox::clearRows() {
    silently(list(), [&] { list()->clear(); });
}
std::string ListBox::rowText(int row) const {
    return s(list()->item(row)->text());
}
void ListBox::showRow(int row) {
    silently(list(), [&] {
        list()->setCurrentRow(row);
        if (row >= 0) list()->scrollToItem(list()->item(row));
    });
}

} // namespace ui
