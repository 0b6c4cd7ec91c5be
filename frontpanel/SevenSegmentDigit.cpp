// The readout's seven-segment digits and the lock picture.
#include "frontpanel/SevenSegmentDigit.h"

#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>
#include <QWidget>
#include <array>

#include "platform/ui/Twips.h"

namespace frontpanel {

namespace {

// The digit and the lock take the mouse themselves, as the readout's labels do: the picture under them
// hears nothing of a pointer over a digit.
class Face : public QWidget {
public:
    explicit Face(QWidget* parent) : QWidget(parent) {}

protected:
    void mousePressEvent(QMouseEvent* e) override { e->accept(); }
    void mouseReleaseEvent(QMouseEvent* e) override { e->accept(); }
    void mouseMoveEvent(QMouseEvent* e) override { e->accept(); }
    void mouseDoubleClickEvent(QMouseEvent* e) override { e->accept(); }
};

class DigitFace final : public Face {
public:
    DigitFace(QWidget* parent, const SevenSegmentDigit* owner) : Face(parent), owner_(owner) {}

protected:
    void paintEvent(QPaintEvent*) override;

private:
    const SevenSegmentDigit* owner_;
};

void DigitFace::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const QColor lit = ui::toQColor(owner_->ForeColor());
    QColor unlit = lit;
    unlit.setAlpha(28);
    const uint8_t on = SevenSegmentDigit::segmentsOf(owner_->Caption());

    const double w = width(), h = height();
    const double t = std::max(2.0, w * 0.16);       // segment thickness
    const double left = w * 0.16, right = w * 0.80; // the figure's box, leaning right as it rises
    const double top = h * 0.06, bottom = h * 0.94, middle = (top + bottom) / 2;
    const double lean = w * 0.10;
    const auto at = [&](double x, double y) { return QPointF(x + lean * (middle - y) / (middle - top), y); };
    const double g = t * 0.18; // gap between segments

    const auto horizontal = [&](double y) {
        return QPolygonF({at(left + g + t / 2, y), at(left + g + t, y - t / 2), at(right - g - t, y - t / 2),
                          at(right - g - t / 2, y), at(right - g - t, y + t / 2),
                          at(left + g + t, y + t / 2)});
    };
    const auto vertical = [&](double x, double y0, double y1) {
        return QPolygonF({at(x, y0 + g + t / 2), at(x + t / 2, y0 + g + t), at(x + t / 2, y1 - g - t),
                          at(x, y1 - g - t / 2), at(x - t / 2, y1 - g - t), at(x - t / 2, y0 + g + t)});
    };
    const double xl = left + t / 2, xr = right - t / 2;
    const double yt = top + t / 2, yb = bottom - t / 2;
    const std::array<QPolygonF, 7> segments = {
        horizontal(yt),           // top
        vertical(xr, yt, middle), // upper right
        vertical(xr, middle, yb), // lower right
        horizontal(yb),           // bottom
        vertical(xl, middle, yb), // lower left
        vertical(xl, yt, middle), // upper left
        horizontal(middle),       // middle
    };
    p.setPen(Qt::NoPen);
    for (size_t i = 0; i < segments.size(); ++i) {
        p.setBrush(on & (1u << i) ? lit : unlit);
        p.drawPolygon(segments[i]);
    }
}

class LockFace final : public Face {
public:
    using Face::Face;

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        p.setRenderHint(QPainter::Antialiasing);
        const double w = width(), h = height();
        // The shackle, then the brass body with its keyhole.
        p.setPen(QPen(QColor(0xB8, 0xBC, 0xC2), std::max(1.5, w * 0.14)));
        p.setBrush(Qt::NoBrush);
        const QRectF shackle(w * 0.25, h * 0.06, w * 0.5, h * 0.6);
        p.drawArc(shackle, 0, 180 * 16);
        p.drawLine(QPointF(shackle.left(), shackle.center().y()), QPointF(shackle.left(), h * 0.48));
        p.drawLine(QPointF(shackle.right(), shackle.center().y()), QPointF(shackle.right(), h * 0.48));
        QLinearGradient brass(0, h * 0.45, 0, h);
        brass.setColorAt(0, QColor(0xF0, 0xC8, 0x50));
        brass.setColorAt(1, QColor(0xA0, 0x78, 0x20));
        p.setPen(QPen(QColor(0x60, 0x48, 0x10), 1));
        p.setBrush(brass);
        p.drawRoundedRect(QRectF(w * 0.1, h * 0.45, w * 0.8, h * 0.52), w * 0.08, w * 0.08);
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(0x30, 0x20, 0x08));
        p.drawEllipse(QPointF(w * 0.5, h * 0.66), w * 0.08, w * 0.08);
        p.drawRect(QRectF(w * 0.47, h * 0.68, w * 0.06, h * 0.16));
    }
};

} // namespace

SevenSegmentDigit::SevenSegmentDigit(QWidget* parent, const std::string& caption)
    : ui::Control(new DigitFace(parent, this)), caption_(caption) {
    watchClicks(&Click);
}

void SevenSegmentDigit::setCaption(const std::string& text) {
    if (text == caption_) return;
    caption_ = text;
    widget()->update();
}

uint8_t SevenSegmentDigit::segmentsOf(const std::string& caption) {
    static constexpr uint8_t kDigits[10] = {0x3F, 0x06, 0x5B, 0x4F, 0x66, 0x6D, 0x7D, 0x07, 0x7F, 0x6F};
    if (caption.size() != 1) return 0;
    const char c = caption[0];
    if (c >= '0' && c <= '9') return kDigits[c - '0'];
    if (c == '-') return 0x40;
    return 0;
}

LockPicture::LockPicture(QWidget* parent) : ui::Control(new LockFace(parent)) {}

} // namespace frontpanel
