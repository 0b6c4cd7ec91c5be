// What every control has over its widget: geometry in its container's scale, colours, font, focus and
// stacking, and the guard that keeps a handler's error out of Qt.
#include "platform/ui/Control.h"

#include <QApplication>
#include <QCheckBox>
#include <QRadioButton>
#include <QSlider>
#include <algorithm>
#include <cmath>
#include <exception>

#include "platform/runtime/Hooks.h"
#include "platform/runtime/RuntimeError.h"
#include "platform/runtime/Text.h"
#include "platform/ui/EventWatcher.h"
#include "platform/ui/Fonts.h"
#include "platform/ui/PictureBox.h"
#include "platform/ui/QtSupport.h"
#include "platform/ui/Twips.h"

namespace ui {

namespace {

// How one axis of a container maps its units to pixels: twips on forms and frames, the picture's user
// scale in a picture box.
struct Axis {
    double origin = 0;
    double unitsPerPixel = kTwipsPerPixel;

    int toPixel(double position) const { return runtime::CLng((position - origin) / unitsPerPixel); }
    double fromPixel(int pixel) const { return origin + pixel * unitsPerPixel; }
    int toPixels(double length) const {
        return std::max(0, runtime::CLng(length / std::fabs(unitsPerPixel)));
    }
    double fromPixels(int pixels) const { return pixels * std::fabs(unitsPerPixel); }
};

// The scale spans the picture box as it is now; its surface follows a resize only once it is shown.
Axis xAxisOf(const QWidget* w) {
    const QWidget* box = w->parentWidget();
    if (const PictureSurface* s = pictureSurfaceOf(box))
        return {s->ScaleLeft(), s->ScaleWidth() / std::max(box->width(), 1)};
    return {};
}
Axis yAxisOf(const QWidget* w) {
    const QWidget* box = w->parentWidget();
    if (const PictureSurface* s = pictureSurfaceOf(box))
        return {s->ScaleTop(), s->ScaleHeight() / std::max(box->height(), 1)};
    return {};
}

} // namespace

void runGuarded(const Handler& handler, const char* source) {
    if (!handler) return;
    try {
        handler();
    } catch (const runtime::RuntimeError& e) {
        const std::string text = "Run-time error '" + std::to_string(e.Number()) + "': " + e.Description();
        runtime::AddLog(std::string(source) + ": " + text);
        runtime::MsgBox(text, runtime::mb::kCritical);
    } catch (const std::exception& e) {
        runtime::AddLog(std::string(source) + ": " + e.what());
        runtime::MsgBox(e.what(), runtime::mb::kCritical);
    }
}

void setTabOrder(std::initializer_list<const Control*> controls) {
    const Control* previous = nullptr;
    for (const Control* c : controls) {
        if (previous) QWidget::setTabOrder(previous->widget(), c->widget());
        previous = c;
    }
}

Control::Control(QWidget* widget) : widget_(widget) {
    watcher_ = new EventWatcher(widget, *this);
}

Control::~Control() {
    delete widget_.data();
}

void Control::watchClicks(Handler* click) {
    watcher_->click = click;
}

QPointF Control::mousePosition(QPointF pixel) const {
    return pixel * kTwipsPerPixel;
}

double Control::Left() const {
    return xAxisOf(widget_).fromPixel(widget_->x());
}
double Control::Top() const {
    return yAxisOf(widget_).fromPixel(widget_->y());
}
double Control::Width() const {
    return xAxisOf(widget_).fromPixels(widget_->width());
}
double Control::Height() const {
    return yAxisOf(widget_).fromPixels(widget_->height());
}
void Control::setLeft(double left) {
    widget_->move(xAxisOf(widget_).toPixel(left), widget_->y());
}
void Control::setTop(double top) {
    widget_->move(widget_->x(), yAxisOf(widget_).toPixel(top));
}
void Control::setWidth(double width) {
    widget_->resize(xAxisOf(widget_).toPixels(width), widget_->height());
}
void Control::setHeight(double height) {
    widget_->resize(widget_->width(), yAxisOf(widget_).toPixels(height));
}
void Control::Move(double left, double top, double width, double height) {
    const Axis x = xAxisOf(widget_);
    const Axis y = yAxisOf(widget_);
    widget_->setGeometry(x.toPixel(left), y.toPixel(top), x.toPixels(width), y.toPixels(height));
}

void Control::SetFocus() {
    if (!widget_->isVisible() || !widget_->isEnabled())
        runtime::raise(runtime::err::kInvalidCall, "SetFocus");
    widget_->setFocus(Qt::OtherFocusReason);
}

void Control::Refresh() {
    widget_->repaint();
}

void Control::ZOrder(int16_t position) {
    if (position == 0)
        widget_->raise();
    else
        widget_->lower();
}

bool Control::Visible() const {
    return !widget_->isHidden();
}
void Control::setVisible(bool on) {
    widget_->setVisible(on);
}
bool Control::Enabled() const {
    return widget_->isEnabled();
}
void Control::setEnabled(bool on) {
    widget_->setEnabled(on);
}

void Control::setForeColor(int32_t bgr) {
    foreColor_ = bgr;
    QPalette p = widget_->palette();
    p.setColor(QPalette::WindowText, toQColor(bgr));
    p.setColor(QPalette::ButtonText, toQColor(bgr));
    p.setColor(QPalette::Text, toQColor(bgr));
    widget_->setPalette(p);
}

void Control::setBackColor(int32_t bgr) {
    backColor_ = bgr;
    QPalette p = widget_->palette();
    p.setColor(QPalette::Window, toQColor(bgr));
    // A check box's or option button's back colour lies behind its caption, a slider's behind its groove;
    // the box, circle, groove and handle keep the platform's own colours (see keepIndicatorColours), so
    // they still show on a dark window.
    const bool indicator = qobject_cast<QCheckBox*>(widget_) || qobject_cast<QRadioButton*>(widget_) ||
                           qobject_cast<QSlider*>(widget_);
    if (!indicator) {
        p.setColor(QPalette::Button, toQColor(bgr));
        p.setColor(QPalette::Base, toQColor(bgr));
    }
    widget_->setPalette(p);
    widget_->setAutoFillBackground(fillsBackground());
}

std::string Control::FontName() const {
    return s(widget_->font().family());
}
void Control::setFontName(const std::string& name) {
    QFont f = widget_->font();
    if (runtime::equalsNoCase(name, "Courier New"))
        f.setFamily(courierNewFamily());
    else
        f.setFamily(q(name));
    widget_->setFont(f);
}
double Control::FontSize() const {
    return widget_->font().pointSizeF();
}
void Control::setFontSize(double points) {
    if (!(points > 0)) runtime::raise(err::kInvalidPropertyValue, "FontSize", "Invalid property value");
    QFont f = widget_->font();
    f.setPointSizeF(points);
    widget_->setFont(f);
}
bool Control::FontBold() const {
    return widget_->font().bold();
}
void Control::setFontBold(bool on) {
    QFont f = widget_->font();
    f.setBold(on);
    widget_->setFont(f);
}

std::string Control::ToolTipText() const {
    return s(widget_->toolTip());
}
void Control::setToolTipText(const std::string& text) {
    const QString tip = q(text);
    if (tip == widget_->toolTip()) return;
    widget_->setToolTip(tip);
}

} // namespace ui
