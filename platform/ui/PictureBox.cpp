// The picture box's widget paints the surface's buffer and keeps it the widget's size.
#include "PictureBox.h"

#include <QPainter>
#include <QResizeEvent>

namespace ui {

namespace {

class PictureWidget final : public QWidget {
public:
    PictureWidget(QWidget* parent, PictureSurface*& surface) : QWidget(parent), surface_(surface) {
        setAttribute(Qt::WA_OpaquePaintEvent);
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        if (surface_) p.drawImage(0, 0, surface_->image());
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

QPointF PictureBox::mousePosition(QPointF pixel) const {
    return surface_.fromPixels(pixel);
}

const PictureSurface* pictureSurfaceOf(const QWidget* widget) {
    const auto* picture = dynamic_cast<const PictureWidget*>(widget);
    return picture ? picture->surface() : nullptr;
}

} // namespace ui
