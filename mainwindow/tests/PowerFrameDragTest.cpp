// Dragging the main window by its power frame on a real X server, where the window system places the
// window where it asks; the server itself is asked where the window stands.
#include <gtest/gtest.h>

#include <QApplication>
#include <QGuiApplication>
#include <QMouseEvent>
#include <QTest>
#include <QtTest/qtestspontaneevent.h>
#include <chrono>
#include <cstdlib>
#include <optional>
#include <xcb/xcb.h>

#include "mainwindow/tests/MainWindowRig.h"

namespace {

// The window's top-left corner on the screen as the X server has it.
std::optional<QPoint> serverPosition(const QWidget& w) {
    xcb_connection_t* c = xcb_connect(nullptr, nullptr);
    std::optional<QPoint> at;
    if (!xcb_connection_has_error(c)) {
        const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(c)).data->root;
        if (xcb_translate_coordinates_reply_t* r = xcb_translate_coordinates_reply(
                c, xcb_translate_coordinates(c, static_cast<xcb_window_t>(w.winId()), root, 0, 0), nullptr)) {
            at = QPoint(r->dst_x, r->dst_y);
            std::free(r);
        }
    }
    xcb_disconnect(c);
    return at;
}

// Pumps the event loop until the server has the window at the place, within a bound.
bool waitForServerPosition(const QWidget& w, QPoint place) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (std::chrono::steady_clock::now() < deadline) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        if (serverPosition(w) == place) return true;
    }
    return false;
}

// A press, a move with the button held, or a release of the left button at a place on the widget.
void mouse(QWidget* w, QEvent::Type type, QPoint at) {
    const Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
    const Qt::MouseButtons held = type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton;
    QMouseEvent e(type, QPointF(at), w->mapToGlobal(QPointF(at)), button, held, Qt::NoModifier);
    QSpontaneKeyEvent::setSpontaneous(&e);
    QApplication::instance()->notify(w, &e);
}

struct PowerFrameDrag : ::testing::Test, mainwindowtest::MainWindowRig {};

} // namespace

TEST_F(PowerFrameDrag, MovesTheWindowByThePointersTravel) {
    if (QGuiApplication::platformName() != "xcb")
        GTEST_SKIP() << "needs an X server, not " << qPrintable(QGuiApplication::platformName());
    auto& w = make();
    w.Show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
    const QPoint start(40, 30);
    w.move(start);
    if (!waitForServerPosition(w, start)) GTEST_SKIP() << "the window system does not place windows";

    QWidget* frame = w.frPower.widget();
    // On the frame's caption row, above its buttons.
    mouse(frame, QEvent::MouseButtonPress, QPoint(25, 8));
    EXPECT_TRUE(w.WindowDragging);
    mouse(frame, QEvent::MouseMove, QPoint(55, 23));
    mouse(frame, QEvent::MouseButtonRelease, QPoint(55, 23));
    EXPECT_FALSE(w.WindowDragging);
    EXPECT_TRUE(waitForServerPosition(w, start + QPoint(30, 15)))
        << "the server has it at " << serverPosition(w).value_or(QPoint()).x() << ","
        << serverPosition(w).value_or(QPoint()).y();
}
