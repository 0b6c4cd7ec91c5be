// An option button; those with the same direct container form one group.
#pragma once

#include <string>

#include "platform/ui/Control.h"

class QRadioButton;

namespace ui {

// Option buttons with the same parent form one group: selecting one clears the others, whose handlers
// do not run.
class OptionButton final : public Control {
public:
    explicit OptionButton(QWidget* parent, const std::string& caption = {});
    std::string Caption() const;
    void setCaption(const std::string& text);
    bool Value() const { return value_; }
    void setValue(bool selected);
    Handler Click;

private:
    QRadioButton* button() const;
    bool value_ = false;
};

} // namespace ui
