// A list box: the list's items shown in a list that scrolls to the selected one.
#pragma once

#include <string>

#include "platform/ui/ListControl.h"

class QListWidget;

namespace ui {

class ListBox final : public ListControl {
public:
    explicit ListBox(QWidget* parent);

private:
    QListWidget* list() const;
    int rowCount() const override;
    void insertRow(int row, const std::string& text) override;
    void removeRow(int row) override;
    void clearRows() override;
    std::string rowText(int row) const override;
    void showRow(int row) override;
};

} // namespace ui
