// The picture box's widget paints the surface's buffer and keeps it the widget's size.
#include "platform/ui/PictureBox.h"

#include <QPaintEvent>
#include <QPainter>
#include <QResizeEvent>

#include "platform/runtime/RuntimeError.h"
#include "platform/ui/Twips.h"

namespace ui {

namespace {

class PictureWidget final : public QWidget {
public:
    PictureWidget(QWidget* parent, PictureSurface*& surface) : QWidget(parent), surface_(surface) {
        setAttribute(Qt::WA_OpaquePaintEvent);
    }

protected:
    // Only what the event asks for: a label or sibling over the picture repaints its own part.
    void paintEvent(QPaintEvent* e) override {
        QPainter p(this);
        if (surface_) p.drawImage(e->rect(), surface_->image(), e->rect());
    }
    void resizeEvent(QResizeEvent* e) override {
        if (surface_) surface_->resize(e->size().width(), e->size().height());
    }

public:
    const PictureSurface* surface() const { return surface_; }

private:
    PictureSurface*& surface_;
};

} // namespace

PictureBox::PictureBox(QWidget* parent) : Control(new PictureWidget(parent, surfacePtr_)), surface_(1, 1) {
    surfacePtr_ = &surface_;
    surface_.resize(widget()->width(), widget()->height());
    surface_.onFlip = [w = widget()] { w->update(); };
    watchClicks(&Click);
}

void PictureBox::Move(double left, double top, double width, double height) {
    if (width < 0 || height < 0) runtime::raise(err::kInvalidPropertyValue, "Move", "Invalid property value");
    Control::Move(left, top, width, height);
    if (surface_.image().size() != widget()->size()) surface_.resize(widget()->width(), widget()->height());
}

double PictureBox::ContainerScaleHeight() const {
    const QWidget* container = widget()->parentWidget();
    if (!container) return 0.0;
    if (const PictureSurface* s = pictureSurfaceOf(container)) return s->ScaleHeight();
    return twips(container->height());
}

// A picture box's back colour is what Cls fills with; the widget shows the buffer, not its palette.
void PictureBox::setBackColor(int32_t bgr) {
    surface_.setBackColor(bgr);
    Control::setBackColor(bgr);
}

std::string PictureBox::FontName() const {
    return surface_.FontFamily();
}

void PictureBox::setFontName(const std::string& name) {
    surface_.setFontFamily(name);
    Control::setFontName(name);
}

double PictureBox::FontSize() const {
    return surface_.FontPointSize();
}

void PictureBox::setFontSize(double points) {
    Control::setFontSize(points); // refuses a size that is not positive
    surface_.setFontPointSize(points);
}

QPointF PictureBox::mousePosition(QPointF pixel) const {
    return surface_.fromPixels(pixel);
}

const PictureSurface* pictureSurfaceOf(const QWidget* widget) {
    const auto* picture = dynamic_cast<const PictureWidget*>(widget);
    return picture ? picture->surface() : nullptr;
}

} // namespace ui
