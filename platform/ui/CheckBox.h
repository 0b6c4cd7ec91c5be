// A check box: unticked, ticked or greyed.
#pragma once

#include <cstdint>
#include <string>

#include "platform/ui/Control.h"

class QCheckBox;

namespace ui {

class CheckBox final : public Control {
public:
    explicit CheckBox(QWidget* parent, const std::string& caption = {});
    std::string Caption() const;
    void setCaption(const std::string& text);
    // 0 unticked, 1 ticked, 2 greyed.
    int16_t Value() const { return value_; }
    void setValue(int16_t value);
    Handler Click;

private:
    QCheckBox* box() const;
    int16_t value_ = 0;
};

} // namespace ui
