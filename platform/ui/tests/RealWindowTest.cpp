// On a real X server: a form with a picture box is shown, and what the picture drew is on the screen.
#include <QApplication>
#include <QScreen>
#include <QTest>
#include <cstdio>

#include "platform/ui/Form.h"
#include "platform/ui/PictureBox.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    if (QGuiApplication::platformName() != "xcb") {
        std::fprintf(stderr, "expected the X11 platform, got %s\n",
                     qPrintable(QGuiApplication::platformName()));
        return 1;
    }
    ui::Form form;
    form.setClientSize(3000, 3000);
    form.setCaption("NerixSDR");
    ui::PictureBox pic(&form);
    pic.Move(0, 0, 3000, 3000);
    form.Show();
    if (!QTest::qWaitForWindowExposed(&form, 5000)) return 2;
    auto& s = pic.surface();
    s.setBackColor(0x0000FF); // red
    s.Cls();
    s.Flip();
    QTest::qWait(200);
    const QImage grabbed = form.screen()->grabWindow(form.winId()).toImage();
    const QColor c = grabbed.pixelColor(grabbed.width() / 2, grabbed.height() / 2);
    if (c != QColor(255, 0, 0)) {
        std::fprintf(stderr, "screen shows %s, not red\n", qPrintable(c.name()));
        return 3;
    }
    std::printf("a real window drew red\n");
    std::fflush(stdout);
    return 0;
}
