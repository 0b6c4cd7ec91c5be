// The shape, painted by a widget of its own that reads the shape's settings at each paint.
#include "platform/ui/Shape.h"

#include <QPainter>
#include <QWidget>
#include <algorithm>

#include "platform/runtime/RuntimeError.h"
#include "platform/ui/Twips.h"

namespace ui {

namespace {

class ShapeWidget final : public QWidget {
public:
    ShapeWidget(QWidget* parent, const Shape& shape) : QWidget(parent), shape_(shape) {
        setAttribute(Qt::WA_TransparentForMouseEvents);
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        if (shape_.BackStyle() == 1) p.fillRect(rect(), toQColor(shape_.BackColor()));
        p.setPen(toQColor(shape_.BorderColor()));
        p.setBrush(shape_.FillStyle() == 0 ? QBrush(toQColor(shape_.FillColor())) : QBrush(Qt::NoBrush));
        QRectF r = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
        const int16_t kind = shape_.ShapeKind();
        if (kind == Shape::kSquare || kind == Shape::kCircle || kind == Shape::kRoundedSquare) {
            const double side = std::min(r.width(), r.height());
            r = QRectF(r.center().x() - side / 2, r.center().y() - side / 2, side, side);
        }
        if (kind == Shape::kOval || kind == Shape::kCircle) {
            p.drawEllipse(r);
        } else if (kind == Shape::kRoundedRectangle || kind == Shape::kRoundedSquare) {
            const double radius = std::min(r.width(), r.height()) / 6;
            p.drawRoundedRect(r, radius, radius);
        } else {
            p.drawRect(r);
        }
    }

private:
    const Shape& shape_;
};

} // namespace

Shape::Shape(QWidget* parent) : Control(new ShapeWidget(parent, *this)) {}

void Shape::setShape(int16_t kind) {
    if (kind < kRectangle || kind > kRoundedSquare)
        runtime::raise(err::kInvalidPropertyValue, "Shape.Shape", "Invalid property value");
    shape_ = kind;
    widget()->update();
}
void Shape::setFillColor(int32_t bgr) {
    fillColor_ = bgr;
    widget()->update();
}
void Shape::setFillStyle(int16_t style) {
    if (style != 0 && style != 1)
        runtime::raise(err::kInvalidPropertyValue, "Shape.FillStyle", "Invalid property value");
    fillStyle_ = style;
    widget()->update();
}
void Shape::setBorderColor(int32_t bgr) {
    borderColor_ = bgr;
    widget()->update();
}
void Shape::setBackStyle(int16_t style) {
    if (style != 0 && style != 1)
        runtime::raise(err::kInvalidPropertyValue, "Shape.BackStyle", "Invalid property value");
    backStyle_ = style;
    widget()->update();
}

} // namespace ui
