// The message hook: an application-wide filter that hands the hook procedure each key-down, mouse-move
// and mouse-wheel message once, as a HookMessage.
#pragma once

#include <QObject>
#include <QPoint>
#include <QPointF>
#include <QPointer>
#include <functional>

#include "platform/ui/HookMessage.h"

namespace ui {

class WheelFilter final : public QObject {
public:
    // The hook procedure: true passes the message on to its window, false swallows it.
    using HookProc = std::function<bool(const HookMessage&)>;

    ~WheelFilter() override;
    // Installs the filter with its procedure, replacing an installed one; Unhook removes it.
    void Hook(HookProc proc);
    void Unhook();
    bool hooked() const { return static_cast<bool>(proc_); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool wheel(QWidget* receiver, QEvent* event);
    HookProc proc_;
    // Touchpads report fractions of a notch; they add up here until a whole notch is reached.
    int32_t partial_ = 0;
    // The last wheel event seen, to recognise the copies Qt offers to each parent.
    QPointer<QWidget> lastReceiver_;
    quint64 lastTimestamp_ = 0;
    QPointF lastGlobal_;
    QPoint lastAngle_;
    QPoint lastPixel_;
    bool lastSwallowed_ = false;
};

} // namespace ui
