// A text box, on one line or several.
#pragma once

#include <string>

#include "platform/ui/Control.h"

class QLineEdit;
class QPlainTextEdit;

namespace ui {

class TextBox final : public Control {
public:
    // A multi-line box wraps its text and shows line breaks; it is chosen when the box is made.
    explicit TextBox(QWidget* parent, const std::string& text = {}, bool multiLine = false);
    std::string Text() const { return text_; }
    void setText(const std::string& text);
    bool MultiLine() const { return multiLine_; }
    // A locked box shows its text and lets the user select and copy it, but not change it.
    bool Locked() const;
    void setLocked(bool on);
    Handler Change;

private:
    QLineEdit* edit() const;
    QPlainTextEdit* lines() const;
    void userEdited(std::string now);
    std::string text_;
    bool multiLine_ = false;
};

} // namespace ui
