// The picture surface over a QImage and QPainter's raster operations.
#include "platform/ui/PictureSurface.h"

#include <QFontMetricsF>
#include <QPainter>
#include <cmath>
#include <optional>

#include "platform/runtime/RuntimeError.h"
#include "platform/ui/Control.h"
#include "platform/ui/Twips.h"

namespace ui {

namespace {

// QPainter's raster operations for the drawing modes 1 to 16 (11, leave the screen alone, draws
// nothing; 13 is a plain copy).
QPainter::CompositionMode compositionOf(int16_t mode) {
    switch (mode) {
    case rop::kBlack:
        return QPainter::RasterOp_ClearDestination;
    case rop::kNotMergePen:
        return QPainter::RasterOp_NotSourceAndNotDestination;
    case rop::kMaskNotPen:
        return QPainter::RasterOp_NotSourceAndDestination;
    case rop::kNotCopyPen:
        return QPainter::RasterOp_NotSource;
    case rop::kMaskPenNot:
        return QPainter::RasterOp_SourceAndNotDestination;
    case rop::kInvert:
        return QPainter::RasterOp_NotDestination;
    case rop::kXorPen:
        return QPainter::RasterOp_SourceXorDestination;
    case rop::kNotMaskPen:
        return QPainter::RasterOp_NotSourceOrNotDestination;
    case rop::kMaskPen:
        return QPainter::RasterOp_SourceAndDestination;
    case rop::kNotXorPen:
        return QPainter::RasterOp_NotSourceXorDestination;
    case rop::kMergeNotPen:
        return QPainter::RasterOp_NotSourceOrDestination;
    case rop::kMergePenNot:
        return QPainter::RasterOp_SourceOrNotDestination;
    case rop::kMergePen:
        return QPainter::RasterOp_SourceOrDestination;
    case rop::kWhite:
        return QPainter::RasterOp_SetDestination;
    default:
        return QPainter::CompositionMode_Source;
    }
}

Qt::PenStyle penStyleOf(int16_t style) {
    static constexpr Qt::PenStyle styles[] = {Qt::SolidLine,   Qt::DashLine,       Qt::DotLine,
                                              Qt::DashDotLine, Qt::DashDotDotLine, Qt::NoPen};
    return styles[style];
}

// Whole pixels for drawing. QPointF::toPoint and the raster engine compute in int, so a coordinate
// that is not finite or lies far outside any image (a log of zero, a bad scale) raises Overflow
// instead of overflowing; the limit leaves room for the engine's own arithmetic.
QPoint wholePixel(QPointF p, const char* source) {
    constexpr double kLimit = 1 << 29;
    if (!(std::fabs(p.x()) < kLimit && std::fabs(p.y()) < kLimit))
        runtime::raise(runtime::err::kOverflow, source);
    return p.toPoint();
}

} // namespace

PictureSurface::PictureSurface(int w, int h) {
    resize(w, h);
}

PictureSurface::~PictureSurface() = default;

void PictureSurface::resize(int w, int h) {
    // The same size keeps what was drawn (a hidden picture's resize arrives when it is first shown).
    if (!image_.isNull() && image_.width() == std::max(w, 1) && image_.height() == std::max(h, 1)) return;
    // The painter belongs to the old buffer; a new one is opened on the new buffer.
    const bool open = painter_ != nullptr;
    painter_.reset();
    const bool userScale =
        !image_.isNull() && (scaleLeft_ != 0 || scaleTop_ != 0 || scaleWidth_ != twips(image_.width()) ||
                             scaleHeight_ != twips(image_.height()));
    image_ = QImage(std::max(w, 1), std::max(h, 1), QImage::Format_RGB32);
    image_.fill(toQColor(backColor_));
    // A user scale stays as it was set; the default scale follows the size.
    if (!userScale) Scale(0, 0, twips(image_.width()), twips(image_.height()));
    if (open) setAutoRedraw(true);
}

void PictureSurface::setAutoRedraw(bool on) {
    if (on == AutoRedraw()) return;
    if (on) {
        painter_ = std::make_unique<QPainter>(&image_);
        painter_->setRenderHint(QPainter::Antialiasing, false);
        penState_ = PenState{};
    } else {
        painter_.reset();
        Flip();
    }
}

void PictureSurface::Scale(double left, double top, double width, double height) {
    if (width == 0 || height == 0)
        runtime::raise(err::kInvalidPropertyValue, "Scale", "Invalid property value");
    scaleLeft_ = left;
    scaleTop_ = top;
    scaleWidth_ = width;
    scaleHeight_ = height;
}

std::string PictureSurface::FontFamily() const {
    return font_.family().toStdString();
}

void PictureSurface::setFontFamily(const std::string& name) {
    font_.setFamily(QString::fromStdString(name));
}

double PictureSurface::FontPointSize() const {
    return font_.pointSizeF();
}

void PictureSurface::setFontPointSize(double points) {
    if (!(points > 0)) runtime::raise(err::kInvalidPropertyValue, "FontSize", "Invalid property value");
    font_.setPointSizeF(points);
}

void PictureSurface::setDrawMode(int16_t mode) {
    if (mode < 1 || mode > 16)
        runtime::raise(err::kInvalidPropertyValue, "DrawMode", "Invalid property value");
    drawMode_ = mode;
}

void PictureSurface::setDrawWidth(int16_t w) {
    if (w < 1) runtime::raise(err::kInvalidPropertyValue, "DrawWidth", "Invalid property value");
    drawWidth_ = w;
}

void PictureSurface::setDrawStyle(int16_t style) {
    if (style < 0 || style > 5)
        runtime::raise(err::kInvalidPropertyValue, "DrawStyle", "Invalid property value");
    drawStyle_ = style;
}

QPointF PictureSurface::toPixels(double x, double y) const {
    return {(x - scaleLeft_) * image_.width() / scaleWidth_,
            (y - scaleTop_) * image_.height() / scaleHeight_};
}

QPointF PictureSurface::fromPixels(QPointF pixel) const {
    return {scaleLeft_ + pixel.x() * scaleWidth_ / image_.width(),
            scaleTop_ + pixel.y() * scaleHeight_ / image_.height()};
}

void PictureSurface::preparePen(QPainter& p) {
    const PenState wanted{foreColor_, drawMode_, drawWidth_, drawStyle_};
    if (wanted == penState_) return;
    p.setCompositionMode(compositionOf(drawMode_));
    QPen pen(toQColor(foreColor_));
    pen.setWidth(drawWidth_);
    pen.setStyle(penStyleOf(drawStyle_));
    pen.setCapStyle(Qt::FlatCap);
    p.setPen(pen);
    p.setBrush(Qt::NoBrush);
    penState_ = wanted;
}

template <class Draw> void PictureSurface::paint(Draw&& draw) {
    if (drawMode_ == rop::kNop) return;
    if (painter_) {
        preparePen(*painter_);
        draw(*painter_);
        return;
    }
    QPainter p(&image_);
    p.setRenderHint(QPainter::Antialiasing, false);
    penState_ = PenState{};
    preparePen(p);
    draw(p);
}

void PictureSurface::Cls() {
    if (painter_) {
        painter_->setCompositionMode(QPainter::CompositionMode_Source);
        painter_->fillRect(image_.rect(), toQColor(backColor_));
        penState_ = PenState{};
    } else {
        image_.fill(toQColor(backColor_));
    }
    currentX_ = scaleLeft_;
    currentY_ = scaleTop_;
}

void PictureSurface::Line(double x1, double y1, double x2, double y2) {
    paint([&](QPainter& p) {
        const QPoint a = wholePixel(toPixels(x1, y1), "Line");
        const QPoint b = wholePixel(toPixels(x2, y2), "Line");
        // A line from a point to itself sets no pixel (a flat-capped line of one point leaves nothing).
        if (a != b) p.drawLine(a, b);
    });
    currentX_ = x2;
    currentY_ = y2;
}

void PictureSurface::LineTo(double x2, double y2) {
    Line(currentX_, currentY_, x2, y2);
}

void PictureSurface::PolyLineTo(std::span<const ScalePoint> points) {
    if (points.empty()) return;
    if (drawMode_ == rop::kNop) {
        // Nothing is drawn, so nothing raises: each LineTo only moves the current point.
        currentX_ = points.back().x;
        currentY_ = points.back().y;
        return;
    }
    lines_.clear();
    // The current point's pixel, once it has one; until then every line raises and is left out.
    std::optional<QPoint> from;
    const auto pixelOf = [this](double x, double y) -> std::optional<QPoint> {
        const QPointF p = toPixels(x, y);
        constexpr double kLimit = 1 << 29;
        if (!(std::fabs(p.x()) < kLimit && std::fabs(p.y()) < kLimit)) return std::nullopt;
        return p.toPoint();
    };
    from = pixelOf(currentX_, currentY_);
    for (const ScalePoint& p : points) {
        if (!from) break;
        const std::optional<QPoint> to = pixelOf(p.x, p.y);
        if (!to) continue;
        if (*to != *from) lines_.emplace_back(*from, *to);
        from = to;
        currentX_ = p.x;
        currentY_ = p.y;
    }
    if (lines_.empty()) return;
    // Line by line: one drawLines call joins the segments (a pixel where two meet is drawn once), which
    // changes the picture in the modes that invert and where lines of one pixel meet.
    paint([&](QPainter& painter) {
        for (const QLine& line : lines_)
            painter.drawLine(line);
    });
}

void PictureSurface::KeepImage(uint64_t key) {
    kept_ = image_.copy();
    keptKey_ = key;
}

bool PictureSurface::RestoreImage(uint64_t key) {
    if (kept_.isNull() || keptKey_ != key || kept_.size() != image_.size()) return false;
    if (painter_) {
        painter_->setCompositionMode(QPainter::CompositionMode_Source);
        painter_->drawImage(0, 0, kept_);
        penState_ = PenState{};
    } else {
        image_ = kept_.copy();
    }
    return true;
}

void PictureSurface::Box(double x1, double y1, double x2, double y2) {
    paint([&](QPainter& p) {
        const QPoint a = wholePixel(toPixels(x1, y1), "Box");
        const QPoint b = wholePixel(toPixels(x2, y2), "Box");
        p.drawRect(QRect(a, b).normalized().adjusted(0, 0, -1, -1));
    });
    currentX_ = x2;
    currentY_ = y2;
}

void PictureSurface::PSet(double x, double y) {
    const QPoint px = wholePixel(toPixels(x, y), "PSet");
    if (image_.rect().contains(px)) {
        if (painter_) {
            painter_->setCompositionMode(QPainter::CompositionMode_Source);
            painter_->fillRect(QRect(px, QSize(1, 1)), toQColor(foreColor_));
            penState_ = PenState{};
        } else {
            image_.setPixelColor(px, toQColor(foreColor_));
        }
    }
    currentX_ = x;
    currentY_ = y;
}

void PictureSurface::Print(const std::string& text, bool newLine) {
    const QString t = QString::fromStdString(text);
    const QFontMetricsF fm(font_, &image_);
    const QPointF at = toPixels(currentX_, currentY_);
    wholePixel(at, "Print");
    const auto write = [&](QPainter& p) {
        p.setCompositionMode(QPainter::CompositionMode_SourceOver);
        p.setFont(font_);
        p.setPen(toQColor(foreColor_));
        p.drawText(QPointF(at.x(), at.y() + fm.ascent()), t);
    };
    if (painter_) {
        write(*painter_);
        penState_ = PenState{};
    } else {
        QPainter p(&image_);
        write(p);
    }
    if (newLine) {
        currentX_ = scaleLeft_;
        // The next line lies below on the screen, whichever way the scale's y runs.
        currentY_ += std::copysign(TextHeight(text), scaleHeight_);
    } else {
        currentX_ += TextWidth(text);
    }
}

double PictureSurface::TextWidth(const std::string& text) const {
    const QFontMetricsF fm(font_, &image_);
    return fm.horizontalAdvance(QString::fromStdString(text)) * std::abs(scaleWidth_) / image_.width();
}

double PictureSurface::TextHeight(const std::string&) const {
    const QFontMetricsF fm(font_, &image_);
    return fm.height() * std::abs(scaleHeight_) / image_.height();
}

void PictureSurface::Flip() {
    if (onFlip) onFlip();
}

} // namespace ui
