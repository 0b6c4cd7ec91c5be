// A frame: a captioned container whose option buttons form a group of their own.
#pragma once

#include <cstdint>
#include <string>

#include "platform/ui/Control.h"

class QGroupBox;

namespace ui {

// A captioned container; its option buttons form a group of their own. Children take container(). A
// frame is opaque, so one brought to the front covers those behind it.
class Frame final : public Control {
public:
    explicit Frame(QWidget* parent, const std::string& caption = {});
    QWidget* container() const { return widget(); }
    std::string Caption() const;
    void setCaption(const std::string& text);
    // 1 the captioned border, 0 none (a bare page).
    int16_t BorderStyle() const { return borderStyle_; }
    void setBorderStyle(int16_t style);
    Handler Click;

private:
    QGroupBox* box() const;
    int16_t borderStyle_ = 1;
};

} // namespace ui
