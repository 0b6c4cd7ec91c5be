// A tab strip: captioned tabs with tooltips, one of them selected.
#pragma once

#include <cstdint>
#include <string>

#include "platform/ui/Control.h"

class QTabBar;

namespace ui {

// Tabs are numbered from 1; SelectedItem is the selected tab's number, 0 while there is none.
class TabStrip final : public Control {
public:
    explicit TabStrip(QWidget* parent);
    void AddTab(const std::string& caption, const std::string& toolTip = {});
    int32_t TabCount() const;
    std::string TabCaption(int32_t number) const;
    std::string TabToolTipText(int32_t number) const;
    int32_t SelectedItem() const { return selected_; }
    void setSelectedItem(int32_t number);
    Handler Click;

private:
    QTabBar* bar() const;
    int32_t selected_ = 0;
};

} // namespace ui
