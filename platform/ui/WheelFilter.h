// The message hook: an application-wide filter that hands the hook procedure each key-down, mouse-move
// and mouse-wheel message once, as a HookMessage.
#pragma once

#include <QObject>
#include <QPoint>
#include <QPointF>
#include <QPointer>
#include <cstdint>
#include <functional>

namespace ui {

struct HookMessage {
    static constexpr int32_t kKeyDown = 0x0100;
    static constexpr int32_t kMouseMove = 0x0200;
    static constexpr int32_t kMouseWheel = 0x020A;
    // Key flags in the low word of a wheel message's wParam.
    static constexpr int32_t kShiftFlag = 4;
    static constexpr int32_t kCtrlFlag = 8;

    int32_t message = 0;
    // Wheel: distance (a multiple of 120) in the high word, key flags in the low word. Key: the
    // virtual-key code.
    int32_t wParam = 0;
    int32_t lParam = 0;
    int32_t time = 0;
    int32_t x = 0; // pointer position on the screen, pixels
    int32_t y = 0;
};

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
