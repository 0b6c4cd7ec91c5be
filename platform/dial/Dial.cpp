// The dial's face and its drag. A dial whose limits span a pointer's sweep shows its whole range over
// 300 degrees, as a pot does; a wider one (the tuning dial) turns without end, 100 positions a turn.
#include "platform/dial/Dial.h"

#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QWidget>
#include <algorithm>
#include <cmath>
#include <limits>

#include "platform/ui/Twips.h"

namespace dial {

namespace {

constexpr double kSweepDegrees = 300.0;
constexpr int64_t kWidestSweptRange = 100000;
constexpr double kEndlessPositionsPerTurn = 100.0;
constexpr double kPi = 3.14159265358979323846;

int64_t rangeOf(int32_t lower, int32_t upper) {
    return static_cast<int64_t>(upper) - lower;
}

QColor shade(const QColor& c, int percent) {
    return percent >= 100 ? c.lighter(percent) : c.darker(10000 / std::max(percent, 1));
}

} // namespace

// The widget: paints the knob and turns mouse drags into angles for its control.
class DialFace final : public QWidget {
public:
    DialFace(QWidget* parent, Dial* owner) : QWidget(parent), owner_(owner) {
        setFocusPolicy(Qt::NoFocus);
        setAttribute(Qt::WA_OpaquePaintEvent);
        resize(64, 64);
    }

protected:
    void paintEvent(QPaintEvent*) override;
    void mousePressEvent(QMouseEvent* e) override {
        if (e->button() == Qt::LeftButton) owner_->grab(angleAt(e->position()));
    }
    void mouseMoveEvent(QMouseEvent* e) override {
        if ((e->buttons() & Qt::LeftButton)) owner_->dragTo(angleAt(e->position()));
    }

private:
    // Degrees clockwise from the top, 0 to 360.
    double angleAt(const QPointF& p) const {
        const double a = std::atan2(p.x() - width() / 2.0, height() / 2.0 - p.y()) * 180.0 / kPi;
        return a < 0 ? a + 360.0 : a;
    }
    Dial* owner_;
};

void DialFace::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const QColor surround = ui::toQColor(owner_->ColorDial());
    p.fillRect(rect(), surround);

    const double side = std::min(width(), height());
    const QPointF centre(width() / 2.0, height() / 2.0);
    const double outer = side / 2.0 - 1.0;
    const double knob = outer * 0.86;

    // A bounded dial's scale: ticks over its sweep.
    if (rangeOf(owner_->LowerLimit(), owner_->UpperLimit()) <= kWidestSweptRange) {
        p.setPen(QPen(shade(surround, 260), std::max(1.0, side / 64.0)));
        for (int i = 0; i <= 10; ++i) {
            const double a = (-kSweepDegrees / 2 + i * kSweepDegrees / 10) * kPi / 180.0;
            const QPointF dir(std::sin(a), -std::cos(a));
            p.drawLine(centre + dir * (knob + 1.5), centre + dir * outer);
        }
    }

    // The knob: a dark metal body lit from the upper left, with a knurled rim.
    QRadialGradient body(centre - QPointF(knob * 0.35, knob * 0.35), knob * 1.6);
    body.setColorAt(0.0, QColor(0x9a, 0x9e, 0xa4));
    body.setColorAt(0.55, QColor(0x4a, 0x4d, 0x52));
    body.setColorAt(1.0, QColor(0x1c, 0x1d, 0x20));
    p.setPen(QPen(QColor(0x0c, 0x0c, 0x0e), 1.2));
    p.setBrush(body);
    p.drawEllipse(centre, knob, knob);

    const double turn = owner_->pointerAngle();
    p.setPen(QPen(QColor(0x18, 0x18, 0x1a), std::max(1.0, side / 90.0)));
    for (int i = 0; i < 48; ++i) {
        const double a = (turn + i * 7.5) * kPi / 180.0;
        const QPointF dir(std::sin(a), -std::cos(a));
        p.drawLine(centre + dir * (knob * 0.90), centre + dir * (knob - 0.5));
    }

    // The cap, brushed, and the finger dimple at the grip.
    QLinearGradient cap(centre - QPointF(knob, knob), centre + QPointF(knob, knob));
    cap.setColorAt(0.0, QColor(0xb8, 0xbc, 0xc2));
    cap.setColorAt(1.0, QColor(0x3a, 0x3c, 0x40));
    p.setPen(QPen(QColor(0x20, 0x20, 0x24), 1.0));
    p.setBrush(cap);
    p.drawEllipse(centre, knob * 0.80, knob * 0.80);

    const double a = turn * kPi / 180.0;
    const QPointF grip = centre + QPointF(std::sin(a), -std::cos(a)) * (knob * 0.52);
    const double dimple = knob * 0.17;
    // A hollow: in shadow under its upper left rim, catching the light at its lower right.
    QRadialGradient hollow(grip, dimple, grip - QPointF(dimple * 0.45, dimple * 0.45));
    hollow.setColorAt(0.0, QColor(0x26, 0x27, 0x2a));
    hollow.setColorAt(0.7, QColor(0x5a, 0x5d, 0x62));
    hollow.setColorAt(1.0, QColor(0xa8, 0xac, 0xb2));
    p.setPen(QPen(QColor(0x10, 0x10, 0x12), 1.0));
    p.setBrush(hollow);
    p.drawEllipse(grip, dimple, dimple);
}

Dial::Dial(QWidget* parent)
    : ui::Control(new DialFace(parent, this)), lower_(std::numeric_limits<int32_t>::min()),
      upper_(std::numeric_limits<int32_t>::max()) {}

void Dial::setValue(int32_t value) {
    value_ = std::clamp(value, lower_, upper_);
    widget()->update();
}

void Dial::setUpperLimit(int32_t value) {
    upper_ = value;
    if (upper_ < lower_) std::swap(upper_, lower_);
    setValue(value_);
}

void Dial::setLowerLimit(int32_t value) {
    lower_ = value;
    if (upper_ < lower_) std::swap(upper_, lower_);
    setValue(value_);
}

void Dial::setColorDial(int32_t bgr) {
    colorDial_ = bgr;
    widget()->update();
}

double Dial::positionsPerDegree() const {
    const int64_t range = rangeOf(lower_, upper_);
    if (range <= kWidestSweptRange) return static_cast<double>(range) / kSweepDegrees;
    return kEndlessPositionsPerTurn / 360.0;
}

double Dial::pointerAngle() const {
    const int64_t range = rangeOf(lower_, upper_);
    if (range <= kWidestSweptRange) {
        if (range == 0) return 0;
        return -kSweepDegrees / 2 + kSweepDegrees *
                                        static_cast<double>(value_ - static_cast<int64_t>(lower_)) /
                                        static_cast<double>(range);
    }
    const auto turns = static_cast<int64_t>(kEndlessPositionsPerTurn);
    return static_cast<double>(((static_cast<int64_t>(value_) % turns) + turns) % turns) * 360.0 /
           kEndlessPositionsPerTurn;
}

void Dial::grab(double angleDegrees) {
    lastAngle_ = angleDegrees;
    swept_ = 0;
    issued_ = 0;
}

void Dial::dragTo(double angleDegrees) {
    double step = angleDegrees - lastAngle_;
    if (step > 180) step -= 360;
    if (step < -180) step += 360;
    lastAngle_ = angleDegrees;
    swept_ += step;
    // The nearest position to the whole sweep since the press, so that steps never drift.
    const double target = std::round(swept_ * positionsPerDegree());
    const double moved = target - issued_;
    if (moved == 0) return;
    issued_ = target;
    const double wanted = static_cast<double>(value_) + moved;
    const auto next =
        static_cast<int32_t>(std::clamp(wanted, static_cast<double>(lower_), static_cast<double>(upper_)));
    if (next == value_) return;
    value_ = next;
    widget()->update();
    ui::runGuarded(Changing, "Changing");
}

} // namespace dial
