// The command button over a QPushButton.
#include "platform/ui/CommandButton.h"

#include <QIcon>
#include <QImage>
#include <QPixmap>
#include <QPushButton>

#include "platform/ui/QtSupport.h"

namespace ui {

CommandButton::CommandButton(QWidget* parent, const std::string& caption)
    : Control(new QPushButton(q(caption), parent)) {
    QObject::connect(button(), &QPushButton::clicked, button(), [this] { runGuarded(Click, "Click"); });
}
QPushButton* CommandButton::button() const {
    return static_cast<QPushButton*>(widget());
}
std::string CommandButton::Caption() const {
    return s(button()->text());
}
void CommandButton::setCaption(const std::string& text) {
    button()->setText(q(text));
}
void CommandButton::setValue(bool pressed) {
    if (pressed && Click) Click();
}
void CommandButton::setPicture(const QImage& picture) {
    QImage face = picture.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < face.height(); ++y)
        for (int x = 0; x < face.width(); ++x)
            if ((face.pixel(x, y) & 0xFFFFFFu) == 0xFFFFFFu) face.setPixel(x, y, 0);
    button()->setIcon(QIcon(QPixmap::fromImage(face)));
    button()->setIconSize(face.size());
    // A graphical button shows its face in its back colour, flat, as the style would tint a gradient.
    button()->setFlat(true);
    setBackColor(BackColor());
}

} // namespace ui
