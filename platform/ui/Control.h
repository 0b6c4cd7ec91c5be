// The base of every control, in the terms the windows are written in: twips geometry, 0x00BBGGRR colours,
// mouse, key and focus handlers; and the handler types the controls share.
#pragma once

#include <QPointF>
#include <QPointer>
#include <QWidget>
#include <cstdint>
#include <functional>
#include <initializer_list>
#include <string>

#include "platform/runtime/RuntimeError.h"

namespace ui {

class EventWatcher;

using Handler = std::function<void()>;
// Button: 1 left, 2 right, 4 middle; Shift: 1 Shift, 2 Ctrl, 4 Alt; X and Y in twips, or in the user
// scale of a picture box.
using MouseHandler = std::function<void(int16_t Button, int16_t Shift, float X, float Y)>;
// KeyCode is a virtual-key code (see virtualKey); setting it to 0 keeps the key from the
// control.
using KeyHandler = std::function<void(int16_t& KeyCode, int16_t Shift)>;

namespace err {
inline constexpr int32_t kInvalidPropertyValue = runtime::err::kInvalidPropertyValue;
inline constexpr int32_t kInvalidPropertyArrayIndex = runtime::err::kInvalidPropertyArrayIndex;
} // namespace err

// Runs a handler at a Qt boundary: a run-time error is reported (trace log and message box), never
// thrown into Qt.
void runGuarded(const Handler& handler, const char* source);

// True for the widget of a control: its mouse events are its control's, never its container's.
bool isControlWidget(const QWidget* w);

class Control;
// The order in which the Tab key moves the focus through these controls, first to last.
void setTabOrder(std::initializer_list<const Control*> controls);

class Control {
public:
    virtual ~Control();
    Control(const Control&) = delete;
    Control& operator=(const Control&) = delete;

    QWidget* widget() const { return widget_; }

    // Geometry in the container's scale: twips on a form or frame, the picture's user scale for a
    // control placed in a picture box. Positions land on whole pixels.
    double Left() const;
    double Top() const;
    double Width() const;
    double Height() const;
    void setLeft(double left);
    void setTop(double top);
    void setWidth(double width);
    void setHeight(double height);
    void Move(double left, double top, double width, double height);

    // The control's own setting: a visible control inside a hidden window still reads True.
    bool Visible() const;
    void setVisible(bool on);
    bool Enabled() const;
    void setEnabled(bool on);

    int32_t ForeColor() const { return foreColor_; }
    void setForeColor(int32_t bgr);
    int32_t BackColor() const { return backColor_; }
    void setBackColor(int32_t bgr);

    std::string FontName() const;
    // "Courier New" names Liberation Mono, which has its widths, or the system's fixed-pitch face without it.
    void setFontName(const std::string& name);
    double FontSize() const;
    void setFontSize(double points);
    bool FontBold() const;
    void setFontBold(bool on);

    std::string ToolTipText() const;
    void setToolTipText(const std::string& text);

    // The index within a control array, -1 for a single control.
    int16_t Index() const { return index_; }
    void setIndex(int16_t index) { index_ = index; }

    // Text the program keeps with the control; the control itself never reads it.
    std::string Tag;

    // Gives the control the keyboard focus; a hidden or disabled control raises Invalid procedure call.
    void SetFocus();
    // 0 brings the control in front of its siblings, 1 puts it behind them.
    void ZOrder(int16_t position = 0);
    // Repaints the control at once instead of at the next idle paint (a read-out that follows a drag).
    void Refresh();

    MouseHandler MouseDown;
    MouseHandler MouseMove;
    MouseHandler MouseUp;
    // A left double click: MouseDown, MouseUp, the click, DblClick, MouseUp (no second click).
    Handler DblClick;
    // Keys while the control has the focus. A held key repeats KeyDown; the releases the X server sends
    // between repeats are dropped, so KeyUp comes once, when the key is really released.
    KeyHandler KeyDown;
    KeyHandler KeyUp;
    Handler LostFocus;

    // Where a mouse event at this pixel of the control is reported: twips, or the picture's user scale.
    virtual QPointF mousePosition(QPointF pixel) const;

protected:
    explicit Control(QWidget* widget);
    // Label and frame clicks come from the mouse, not from a Qt signal.
    void watchClicks(Handler* click);
    // Whether a background colour set fills the control's rectangle.
    virtual bool fillsBackground() const { return true; }

private:
    QPointer<QWidget> widget_;
    EventWatcher* watcher_ = nullptr;
    int32_t foreColor_ = 0x000000;
    int32_t backColor_ = 0x8000000F; // the system colour of button faces, until set
    int16_t index_ = -1;
};

} // namespace ui
