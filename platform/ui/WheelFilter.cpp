// The wheel filter. Qt offers a wheel event first to the widget under the pointer and then, as fresh
// copies, to each parent that ignores it; only the first offer reaches the hook procedure.
#include "platform/ui/WheelFilter.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QWheelEvent>
#include <QWidget>

#include "platform/ui/Control.h"
#include "platform/ui/Form.h"

namespace ui {

namespace {

int32_t keyFlags(Qt::KeyboardModifiers m) {
    return (m & Qt::ShiftModifier ? HookMessage::kShiftFlag : 0) |
           (m & Qt::ControlModifier ? HookMessage::kCtrlFlag : 0);
}

// By value: a procedure that unhooks or replaces itself must not be destroyed while it runs.
bool callHook(WheelFilter::HookProc proc, const HookMessage& message) {
    bool pass = true;
    runGuarded([&] { pass = proc(message); }, "WheelHookProc");
    return pass;
}

// A swallowed event is also accepted, or Qt would still offer it to the parents.
bool swallow(QEvent* event, bool swallowed) {
    if (swallowed) event->accept();
    return swallowed;
}

} // namespace

WheelFilter::~WheelFilter() {
    Unhook();
}

void WheelFilter::Hook(HookProc proc) {
    if (!proc_) qApp->installEventFilter(this);
    proc_ = std::move(proc);
    partial_ = 0;
}

void WheelFilter::Unhook() {
    if (proc_ && qApp) qApp->removeEventFilter(this);
    proc_ = nullptr;
}

bool WheelFilter::eventFilter(QObject* watched, QEvent* event) {
    if (!proc_ || !watched->isWidgetType()) return false;
    auto* w = static_cast<QWidget*>(watched);
    switch (event->type()) {
    case QEvent::Wheel:
        return wheel(w, event);
    case QEvent::KeyPress: {
        // Keys go to the focus widget first and then up its parents; the first offer counts.
        QWidget* first = QApplication::focusWidget() ? QApplication::focusWidget() : w->window();
        if (w != first) return false;
        HookMessage m;
        m.message = HookMessage::kKeyDown;
        m.wParam = virtualKey(static_cast<QKeyEvent*>(event)->key());
        return swallow(event, !callHook(proc_, m));
    }
    case QEvent::MouseMove: {
        const auto* e = static_cast<QMouseEvent*>(event);
        if (!e->spontaneous() && w != QApplication::widgetAt(e->globalPosition().toPoint())) return false;
        HookMessage m;
        m.message = HookMessage::kMouseMove;
        m.x = static_cast<int32_t>(e->globalPosition().x());
        m.y = static_cast<int32_t>(e->globalPosition().y());
        return swallow(event, !callHook(proc_, m));
    }
    default:
        return false;
    }
}

bool WheelFilter::wheel(QWidget* receiver, QEvent* event) {
    const auto* e = static_cast<QWheelEvent*>(event);
    const bool copy = lastReceiver_ && receiver->isAncestorOf(lastReceiver_) &&
                      e->timestamp() == lastTimestamp_ && e->globalPosition() == lastGlobal_ &&
                      e->angleDelta() == lastAngle_ && e->pixelDelta() == lastPixel_;
    lastReceiver_ = receiver;
    lastTimestamp_ = e->timestamp();
    lastGlobal_ = e->globalPosition();
    lastAngle_ = e->angleDelta();
    lastPixel_ = e->pixelDelta();
    if (copy) return swallow(event, lastSwallowed_);

    // Vertical distance only; a horizontal swipe is no knob turn.
    partial_ += e->angleDelta().y();
    const int32_t notches = partial_ / 120;
    partial_ -= notches * 120;
    bool pass = true;
    // A procedure that unhooks gets no further notches of this turn.
    for (int32_t i = 0; i < (notches < 0 ? -notches : notches) && proc_; ++i) {
        HookMessage m;
        m.message = HookMessage::kMouseWheel;
        const int32_t distance = notches < 0 ? -120 : 120;
        m.wParam = static_cast<int32_t>((static_cast<uint32_t>(distance) << 16) |
                                        static_cast<uint32_t>(keyFlags(e->modifiers())));
        m.time = static_cast<int32_t>(e->timestamp());
        m.x = static_cast<int32_t>(e->globalPosition().x());
        m.y = static_cast<int32_t>(e->globalPosition().y());
        pass = callHook(proc_, m) && pass;
    }
    lastSwallowed_ = !pass;
    return swallow(event, lastSwallowed_);
}

} // namespace ui
