// The frame over a QGroupBox that can also be a bare page.
#include "platform/ui/Frame.h"

#include <QGroupBox>
#include <QPainter>

#include "platform/runtime/RuntimeError.h"
#include "platform/ui/QtSupport.h"

namespace ui {

namespace {

// A frame's box; a bare one is a plain opaque page, without border or caption.
class FrameBox final : public QGroupBox {
public:
    FrameBox(const QString& caption, QWidget* parent) : QGroupBox(caption, parent) {}
    bool bare = false;

protected:
    void paintEvent(QPaintEvent* event) override {
        if (!bare) {
            QGroupBox::paintEvent(event);
            return;
        }
        QPainter p(this);
        p.fillRect(rect(), palette().color(QPalette::Window));
    }
};

} // namespace

Frame::Frame(QWidget* parent, const std::string& caption) : Control(new FrameBox(q(caption), parent)) {
    box()->setAutoFillBackground(true);
    watchClicks(&Click);
}
void Frame::setBorderStyle(int16_t style) {
    if (style != 0 && style != 1)
        runtime::raise(err::kInvalidPropertyValue, "Frame.BorderStyle", "Invalid property value");
    borderStyle_ = style;
    static_cast<FrameBox*>(box())->bare = style == 0;
    // What measures the window from outside reads it: a bare frame shows no caption.
    box()->setProperty("bare", style == 0);
    box()->update();
}
QGroupBox* Frame::box() const {
    return static_cast<QGroupBox*>(widget());
}
std::string Frame::Caption() const {
    return s(box()->title());
}
void Frame::setCaption(const std::string& text) {
    box()->setTitle(q(text));
}

} // namespace ui
