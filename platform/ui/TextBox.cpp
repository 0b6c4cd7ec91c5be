// The text box over a QLineEdit, or a QPlainTextEdit when it takes several lines.
#include "platform/ui/TextBox.h"

#include <QLineEdit>
#include <QPlainTextEdit>
#include <utility>

#include "platform/ui/QtSupport.h"

namespace ui {

TextBox::TextBox(QWidget* parent, const std::string& text, bool multiLine)
    : Control(multiLine ? static_cast<QWidget*>(new QPlainTextEdit(q(text), parent))
                        : static_cast<QWidget*>(new QLineEdit(q(text), parent))),
      text_(text), multiLine_(multiLine) {
    if (multiLine)
        QObject::connect(lines(), &QPlainTextEdit::textChanged, lines(),
                         [this] { userEdited(s(lines()->toPlainText())); });
    else
        QObject::connect(edit(), &QLineEdit::textChanged, edit(),
                         [this](const QString& t) { userEdited(s(t)); });
}
QLineEdit* TextBox::edit() const {
    return static_cast<QLineEdit*>(widget());
}
QPlainTextEdit* TextBox::lines() const {
    return static_cast<QPlainTextEdit*>(widget());
}
void TextBox::userEdited(std::string now) {
    if (now == text_) return;
    text_ = std::move(now);
    runGuarded(Change, "Change");
}
void TextBox::setText(const std::string& text) {
    if (text == text_) return;
    text_ = text;
    if (multiLine_)
        silently(lines(), [&] { lines()->setPlainText(q(text)); });
    else
        silently(edit(), [&] { edit()->setText(q(text)); });
    if (Change) Change();
}
bool TextBox::Locked() const {
    return multiLine_ ? lines()->isReadOnly() : edit()->isReadOnly();
}
void TextBox::setLocked(bool on) {
    if (multiLine_)
        lines()->setReadOnly(on);
    else
        edit()->setReadOnly(on);
}

} // namespace ui
