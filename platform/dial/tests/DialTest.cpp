// The dial as a user turns it: a drag round the knob changes Value and raises Changing; code and the
// wheel do neither.
#include <gtest/gtest.h>

#include <QApplication>
#include <QMouseEvent>
#include <QWheelEvent>
#include <QWidget>
#include <QtTest/qtestspontaneevent.h>
#include <cmath>
#include <memory>
#include <vector>

#include "platform/dial/Dial.h"

namespace {

constexpr double kPi = 3.14159265358979323846;

// A window with a 100 x 100 pixel dial at its top left; Changing records each value it raises.
struct DialWindow {
    DialWindow() {
        window.resize(200, 200);
        dial = std::make_unique<dial::Dial>(&window);
        dial->Move(0, 0, 1500, 1500);
        dial->Changing = [this] { seen.push_back(dial->Value()); };
        window.show();
    }

    QPointF at(double degrees) const {
        const double a = degrees * kPi / 180.0;
        return {50.0 + 40.0 * std::sin(a), 50.0 - 40.0 * std::cos(a)};
    }
    void mouse(QEvent::Type type, double degrees, Qt::MouseButtons buttons, Qt::MouseButton button) {
        const QPointF p = at(degrees);
        QMouseEvent e(type, p, dial->widget()->mapToGlobal(p), button, buttons, Qt::NoModifier);
        QApplication::sendEvent(dial->widget(), &e);
    }
    // Presses at one angle, moves in 10 degree steps to the other and lets go.
    void drag(double from, double to) {
        mouse(QEvent::MouseButtonPress, from, Qt::LeftButton, Qt::LeftButton);
        const double step = to > from ? 10.0 : -10.0;
        for (double a = from + step; step > 0 ? a <= to : a >= to; a += step)
            mouse(QEvent::MouseMove, a, Qt::LeftButton, Qt::NoButton);
        mouse(QEvent::MouseButtonRelease, to, Qt::NoButton, Qt::LeftButton);
    }

    QWidget window;
    std::unique_ptr<dial::Dial> dial;
    std::vector<int32_t> seen;
};

} // namespace

TEST(Dial, ADragRaisesChangingWithEachNewValueInTheDirectionOfTheTurn) {
    DialWindow w;
    w.drag(0, 90); // a quarter turn of an endless dial: 25 positions
    ASSERT_FALSE(w.seen.empty());
    EXPECT_EQ(w.seen.back(), 25);
    EXPECT_EQ(w.dial->Value(), 25);
    for (size_t i = 1; i < w.seen.size(); ++i)
        EXPECT_GT(w.seen[i], w.seen[i - 1]);

    w.seen.clear();
    w.drag(350, 200); // back across the top, anticlockwise
    ASSERT_FALSE(w.seen.empty());
    EXPECT_EQ(w.dial->Value(), 25 - 42); // 150 degrees: 41.7 positions
    for (size_t i = 1; i < w.seen.size(); ++i)
        EXPECT_LT(w.seen[i], w.seen[i - 1]);
}

TEST(Dial, MovingWithoutTheLeftButtonTurnsNothing) {
    DialWindow w;
    w.mouse(QEvent::MouseButtonPress, 0, Qt::RightButton, Qt::RightButton);
    for (double a = 10; a <= 90; a += 10)
        w.mouse(QEvent::MouseMove, a, Qt::RightButton, Qt::NoButton);
    w.mouse(QEvent::MouseMove, 180, Qt::NoButton, Qt::NoButton);
    EXPECT_TRUE(w.seen.empty());
    EXPECT_EQ(w.dial->Value(), 0);
}

TEST(Dial, AValueFromCodeIsHeldWithinTheLimitsAndRaisesNothing) {
    DialWindow w;
    struct Case {
        int32_t lower, upper, set, held;
    };
    const Case cases[] = {
        {-10000, 8000, 500, 500},
        {-10000, 8000, 9000, 8000},
        {-10000, 8000, -20000, -10000},
        {0, 10000, 10000, 10000},
        {10000, 0, -1, 0}, // limits in either order
        {INT32_MIN, INT32_MAX, INT32_MIN, INT32_MIN},
    };
    for (const Case& c : cases) {
        w.dial->setLowerLimit(c.lower);
        w.dial->setUpperLimit(c.upper);
        w.dial->setValue(c.set);
        EXPECT_EQ(w.dial->Value(), c.held) << c.set;
    }
    w.dial->setLowerLimit(-5);
    w.dial->setUpperLimit(5);
    EXPECT_EQ(w.dial->Value(), -5); // a limit that moves past the value takes it along
    EXPECT_TRUE(w.seen.empty());
}

TEST(Dial, ADragStopsAtALimit) {
    DialWindow w;
    w.dial->setLowerLimit(0);
    w.dial->setUpperLimit(30); // swept over 300 degrees: one position per 10 degrees
    w.drag(0, 170);
    EXPECT_EQ(w.dial->Value(), 17);
    w.seen.clear();
    w.drag(170, 350); // 18 more asked, 13 there
    EXPECT_EQ(w.dial->Value(), 30);
    ASSERT_FALSE(w.seen.empty());
    EXPECT_EQ(w.seen.back(), 30);
    const size_t raised = w.seen.size();
    w.drag(350, 440); // on clockwise across the top: held at the limit, no event
    EXPECT_EQ(w.seen.size(), raised);
}

TEST(Dial, TheWheelIsLeftToTheWindowBeneath) {
    // The window beneath counts the turns that reach it.
    struct Beneath final : QWidget {
        int wheels = 0;
        void wheelEvent(QWheelEvent* e) override {
            ++wheels;
            e->accept();
        }
    } beneath;
    dial::Dial d(&beneath);
    int changes = 0;
    d.Changing = [&] { ++changes; };
    d.Move(0, 0, 1500, 1500);
    // A spontaneous event, as the user's wheel gives, which Qt offers to the parents that ignore it.
    QWheelEvent e(QPointF(50, 50), d.widget()->mapToGlobal(QPointF(50, 50)), QPoint(), QPoint(0, 120),
                  Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QSpontaneKeyEvent::setSpontaneous(&e);
    QApplication::instance()->notify(d.widget(), &e);
    EXPECT_EQ(d.Value(), 0);
    EXPECT_EQ(changes, 0);
    EXPECT_EQ(beneath.wheels, 1);
}

TEST(Dial, PaintsAKnobOnTheColourItReports) {
    DialWindow w;
    w.dial->setColorDial(0x402010);
    EXPECT_EQ(w.dial->ColorDial(), 0x402010);
    const QImage face = w.dial->widget()->grab().toImage();
    EXPECT_EQ(face.pixelColor(1, 1), QColor(0x10, 0x20, 0x40));
    EXPECT_NE(face.pixelColor(50, 50), QColor(0x10, 0x20, 0x40));
    // The grip follows the value: a quarter turn moves the dimple from the top to the right.
    const QImage before = face;
    w.dial->setValue(25);
    EXPECT_NE(w.dial->widget()->grab().toImage(), before);
    EXPECT_DOUBLE_EQ(w.dial->pointerAngle(), 90.0);
}
