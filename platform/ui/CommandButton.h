// A push button, with a caption or a face picture.
#pragma once

#include <string>

#include "platform/ui/Control.h"

class QImage;
class QPushButton;

namespace ui {

class CommandButton final : public Control {
public:
    explicit CommandButton(QWidget* parent, const std::string& caption = {});
    std::string Caption() const;
    void setCaption(const std::string& text);
    // Setting True presses the button from code: Click runs.
    void setValue(bool pressed);
    // Makes a graphical button with this face picture, shown at its own size; pure white is its mask
    // colour and shows the button's face (BackColor, filled flat) through it. A disabled button shows it
    // greyed.
    void setPicture(const QImage& picture);
    Handler Click;

private:
    QPushButton* button() const;
};

} // namespace ui
