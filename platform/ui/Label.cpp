// The label over a QLabel; its clicks come from the mouse, as a QLabel has no click signal.
#include "platform/ui/Label.h"

#include <QLabel>

#include "platform/runtime/RuntimeError.h"
#include "platform/ui/QtSupport.h"

namespace ui {

Label::Label(QWidget* parent, const std::string& caption)
    : Control(new QLabel(shown(caption), parent)), caption_(caption) {
    // A caption is text, never markup.
    label()->setTextFormat(Qt::PlainText);
    watchClicks(&Click);
}
QLabel* Label::label() const {
    return static_cast<QLabel*>(widget());
}
// The housekeeping and clock ticks set captions many times a second; only a new text repaints. An
// auto-sized label still takes its caption's size (after a move or a new font), which costs nothing
// when it has it already.
void Label::setCaption(const std::string& text) {
    if (text != caption_) {
        caption_ = text;
        label()->setText(shown(text));
    }
    fitCaption();
}
void Label::setAutoSize(bool on) {
    autoSize_ = on;
    fitCaption();
}
void Label::setWordWrap(bool on) {
    label()->setWordWrap(on);
    fitCaption();
}
void Label::fitCaption() {
    if (autoSize_) label()->resize(label()->sizeHint());
}
void Label::setAlignment(int16_t alignment) {
    const Qt::Alignment h = alignment == 1   ? Qt::AlignRight
                            : alignment == 2 ? Qt::AlignHCenter
                                             : Qt::AlignLeft;
    label()->setAlignment(h | Qt::AlignTop);
}
void Label::setBorderStyle(int16_t style) {
    if (style != 0 && style != 1)
        runtime::raise(err::kInvalidPropertyValue, "Label.BorderStyle", "Invalid property value");
    borderStyle_ = style;
    label()->setFrameStyle(style == 1 ? QFrame::Box | QFrame::Plain : QFrame::NoFrame);
    label()->setLineWidth(1);
    fitCaption();
}
void Label::setBackStyle(int16_t style) {
    if (style != 0 && style != 1)
        runtime::raise(err::kInvalidPropertyValue, "Label.BackStyle", "Invalid property value");
    backStyle_ = style;
    widget()->setAutoFillBackground(fillsBackground());
    widget()->update();
}

} // namespace ui
