// Mouse, key and focus events of a control's widget, in the terms its handlers take: buttons, shift and
// virtual-key codes, positions in twips or a picture's user scale.
#include "platform/ui/EventWatcher.h"

#include <QApplication>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QVariant>

#include "platform/ui/Form.h"
#include "platform/ui/QtSupport.h"

namespace ui {

namespace {

// Marks a widget whose events a control's handlers receive.
constexpr const char* kWatchedProperty = "nerixControl";

} // namespace

bool isControlWidget(const QWidget* w) {
    return w && w->property(kWatchedProperty).toBool();
}

EventWatcher::EventWatcher(QWidget* w, Control& control) : QObject(w), control_(control) {
    w->setProperty(kWatchedProperty, true);
    w->installEventFilter(this);
    // The pointer moving over a control is an event whether or not a button is held.
    w->setMouseTracking(true);
}

bool EventWatcher::eventFilter(QObject*, QEvent* e) {
    switch (e->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseMove:
    case QEvent::MouseButtonDblClick:
        return mouse(static_cast<QMouseEvent*>(e));
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
        return key(static_cast<QKeyEvent*>(e));
    case QEvent::FocusOut: {
        // A drop-down list or popup menu opening (the keyboard goes into it while it is open), or
        // another window taking the keyboard, moves no focus within the window: the control has
        // not been left.
        const Qt::FocusReason reason = static_cast<QFocusEvent*>(e)->reason();
        const bool left = reason != Qt::PopupFocusReason && reason != Qt::ActiveWindowFocusReason &&
                          !QApplication::activePopupWidget();
        if (left && control_.LostFocus) runGuarded(control_.LostFocus, "LostFocus");
        return false;
    }
    default:
        return false;
    }
}

// The platform gives a mouse event to the control under the pointer alone, while Qt offers what a
// child ignores to its parents: a parent leaves alone what lies over one of its visible child
// controls (a shape lets the pointer through to what lies below it).
bool EventWatcher::overChildControl(const QMouseEvent* m) const {
    const auto* self = static_cast<const QWidget*>(parent());
    for (const QWidget* c = self->childAt(m->position().toPoint()); c && c != self; c = c->parentWidget())
        if (c->property(kWatchedProperty).toBool()) return true;
    return false;
}

bool EventWatcher::mouse(QMouseEvent* m) {
    if (overChildControl(m)) return false;
    const auto type = m->type();
    const QPointF at = control_.mousePosition(m->position());
    const auto x = static_cast<float>(at.x());
    const auto y = static_cast<float>(at.y());
    const int16_t shift = shiftOf(m->modifiers());
    if (type == QEvent::MouseButtonDblClick) {
        // Qt delivers the second press of a double click as the double click alone.
        if (m->button() == Qt::LeftButton) {
            afterDoubleClick_ = true;
            if (control_.DblClick) runGuarded(control_.DblClick, "DblClick");
        }
        return false;
    }
    const int16_t button =
        type == QEvent::MouseMove ? static_cast<int16_t>(m->buttons() & 7) : buttonOf(m->button());
    const MouseHandler* handler = type == QEvent::MouseButtonPress     ? &control_.MouseDown
                                  : type == QEvent::MouseButtonRelease ? &control_.MouseUp
                                                                       : &control_.MouseMove;
    if (*handler) runGuarded([&] { (*handler)(button, shift, x, y); }, "MouseEvent");
    if (type == QEvent::MouseButtonRelease && button == 1) {
        const bool clicked = !afterDoubleClick_;
        afterDoubleClick_ = false;
        if (clicked && click && *click &&
            static_cast<QWidget*>(parent())->rect().contains(m->position().toPoint()))
            runGuarded(*click, "Click");
    }
    return false;
}

bool EventWatcher::key(QKeyEvent* k) {
    const bool press = k->type() == QEvent::KeyPress;
    // Under X11 a held key sends a release before each repeated press; it was never let go.
    if (!press && k->isAutoRepeat()) return false;
    const KeyHandler& handler = press ? control_.KeyDown : control_.KeyUp;
    if (!handler) return false;
    int16_t code = virtualKey(k->key());
    if (code == 0) return false;
    runGuarded([&] { handler(code, shiftOf(k->modifiers())); }, press ? "KeyDown" : "KeyUp");
    return code == 0;
}

} // namespace ui
