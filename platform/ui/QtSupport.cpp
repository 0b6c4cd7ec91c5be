// The helpers the layer's Qt code shares.
#include "platform/ui/QtSupport.h"

#include <QApplication>
#include <QPalette>
#include <QWidget>

namespace ui {

int16_t buttonOf(Qt::MouseButton b) {
    switch (b) {
    case Qt::LeftButton:
        return 1;
    case Qt::RightButton:
        return 2;
    case Qt::MiddleButton:
        return 4;
    default:
        return 0;
    }
}

int16_t shiftOf(Qt::KeyboardModifiers m) {
    return static_cast<int16_t>((m & Qt::ShiftModifier ? 1 : 0) | (m & Qt::ControlModifier ? 2 : 0) |
                                (m & Qt::AltModifier ? 4 : 0));
}

void keepIndicatorColours(QWidget* w) {
    QPalette p = w->palette();
    const QPalette platform = QApplication::palette(w);
    p.setColor(QPalette::Base, platform.color(QPalette::Base));
    p.setColor(QPalette::Button, platform.color(QPalette::Button));
    w->setPalette(p);
    // The back colour, which fills the rest, is the window role's.
    w->setBackgroundRole(QPalette::Window);
}

} // namespace ui
