// A combo box: a drop-down list, or a drop-down combo the user may also type into.
#pragma once

#include <cstdint>
#include <string>

#include "platform/ui/ListControl.h"

class QComboBox;

namespace ui {

// A drop-down list (the text is the selected item's), or a drop-down combo, into which the user may
// also type: typed text leaves no item selected and runs Change, choosing an item runs Click.
class ComboBox final : public ListControl {
public:
    enum Style : int16_t { kDropdownCombo = 0, kDropdownList = 2 };
    explicit ComboBox(QWidget* parent, Style style = kDropdownList);
    Style ComboStyle() const { return style_; }
    std::string Text() const;
    Handler Change;

private:
    Style style_;
    QComboBox* combo() const;
    int rowCount() const override;
    void insertRow(int row, const std::string& text) override;
    void removeRow(int row) override;
    void clearRows() override;
    std::string rowText(int row) const override;
    void showRow(int row) override;
};

} // namespace ui
