// How controls look and where they sit: bare frame pages, picture buttons, twips geometry, label borders
// and transparency, and colours that map exactly and keep the indicators showing on a dark back colour.
#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <QTest>
#include <algorithm>
#include <functional>

#include "platform/runtime/RuntimeError.h"
#include "platform/ui/Controls.h"
#include "platform/ui/Form.h"
#include "platform/ui/PictureBox.h"
#include "platform/ui/Twips.h"

namespace {

// The colour a frame shows at a point of the form.
QColor colourAt(QWidget& form, QPoint at) {
    return form.grab().toImage().pixelColor(at);
}

TEST(Frames, TheFrontPageCoversThePagesBehindItWithoutABorder) {
    ui::Form form;
    form.setClientSize(3000, 3000);
    ui::Frame back(&form), front(&form, "caption hidden");
    for (ui::Frame* f : {&back, &front}) {
        f->Move(150, 150, 1500, 1500);
        f->setBorderStyle(0);
    }
    ui::Frame inner(front.container(), "inner");
    inner.Move(300, 300, 900, 900);
    back.setBackColor(0x0000FF);
    front.setBackColor(0x00FF00);
    form.Show();
    back.ZOrder(0);
    EXPECT_EQ(colourAt(form, QPoint(10, 10)), QColor(0xFF, 0, 0)) << "the back page in front";
    front.ZOrder(0);
    // Edge to edge the front page's own colour: no border, no caption, nothing of the page behind.
    for (const QPoint p : {QPoint(10, 10), QPoint(109, 10), QPoint(10, 109), QPoint(109, 109)})
        EXPECT_EQ(colourAt(form, p), QColor(0, 0xFF, 0)) << p.x() << "," << p.y();
    EXPECT_EQ(inner.BorderStyle(), 1); // a frame on a bare page keeps its border
    EXPECT_THROW(front.setBorderStyle(3), runtime::RuntimeError);
}

TEST(CommandButtonPicture, WhiteIsTransparentAndTheFaceColourShowsThrough) {
    ui::Form form;
    ui::CommandButton cmd(&form, "");
    cmd.Move(0, 0, 300, 300);
    QImage face(16, 16, QImage::Format_RGB32);
    face.fill(Qt::white);
    face.setPixel(8, 8, qRgb(0, 0, 255));
    cmd.setPicture(face);
    cmd.setBackColor(0x0000FF); // red
    form.Show();
    const QImage shown = cmd.widget()->grab().toImage();
    // The picture sits in the middle; its white shows the face colour, flat, right to the corner.
    EXPECT_EQ(shown.pixel(shown.width() / 2, shown.height() / 2), qRgb(0, 0, 255));
    EXPECT_EQ(shown.pixel(shown.width() / 2 - 4, shown.height() / 2 - 4), qRgb(255, 0, 0));
    EXPECT_EQ(shown.pixel(2, 2), qRgb(255, 0, 0));
    EXPECT_EQ(ui::toQColor(ui::kButtonFace), QApplication::palette().color(QPalette::Button));
}

TEST(Twips, GeometryIsFifteenTwipsPerPixel) {
    ui::Form form;
    ui::Label lbl(&form, "x");
    lbl.Move(150, 300, 1500, 255);
    EXPECT_EQ(lbl.widget()->geometry(), QRect(10, 20, 100, 17));
    EXPECT_EQ(lbl.Left(), 150);
    EXPECT_EQ(lbl.Height(), 255);
    lbl.setWidth(22); // 1.47 pixels
    EXPECT_EQ(lbl.Width(), 15);
    lbl.setTop(-300);
    EXPECT_EQ(lbl.Top(), -300);
    form.setClientSize(6660, 4905);
    EXPECT_EQ(form.size(), QSize(444, 327));
}

TEST(LabelBorder, ASingleLineOrNoneAndNothingElse) {
    ui::Form form;
    ui::Label lbl(&form, "12000");
    lbl.Move(0, 0, 900, 300);
    form.show();
    const QImage plain = lbl.widget()->grab().toImage();
    lbl.setForeColor(0x0000FF);
    lbl.setBorderStyle(1);
    EXPECT_EQ(lbl.BorderStyle(), 1);
    const QImage boxed = lbl.widget()->grab().toImage();
    EXPECT_EQ(boxed.pixelColor(0, 10), QColor(0xFF, 0, 0)); // the line in the text colour
    EXPECT_NE(plain.pixelColor(0, 10), QColor(0xFF, 0, 0));
    lbl.setBorderStyle(0);
    EXPECT_NE(lbl.widget()->grab().toImage().pixelColor(0, 10), QColor(0xFF, 0, 0));
    EXPECT_THROW(lbl.setBorderStyle(2), runtime::RuntimeError);
    EXPECT_EQ(lbl.BorderStyle(), 0);
}

// A transparent label shows what lies behind it, whatever back colour a recolouring pass gives it.
TEST(LabelBackStyle, TransparentShowsThePictureBehindAndOnlyZeroOrOneAreTaken) {
    ui::Form form;
    form.setBackColor(0x000000);
    ui::PictureBox pic(&form);
    pic.Move(0, 0, 900, 300);
    pic.setBackColor(0xB0B0B0);
    pic.Cls();
    ui::Label lbl(&form, "x 100 Hz");
    lbl.Move(0, 0, 900, 300);
    lbl.setBackColor(0x000000);
    form.show();
    const auto corner = [&] { return form.grab().toImage().pixelColor(2, 2); };
    EXPECT_EQ(corner(), QColor(0, 0, 0));
    lbl.setBackStyle(0);
    EXPECT_EQ(lbl.BackStyle(), 0);
    EXPECT_EQ(corner(), QColor(0xB0, 0xB0, 0xB0));
    lbl.setBackColor(0x000000);
    EXPECT_EQ(corner(), QColor(0xB0, 0xB0, 0xB0));
    EXPECT_THROW(lbl.setBackStyle(2), runtime::RuntimeError);
    EXPECT_EQ(lbl.BackStyle(), 0);
}

// The clock and the housekeeping ticks set the same captions and colours over and over: a label repaints
// only for a caption or colour it does not show yet.
TEST(LabelRepaint, OnlyANewCaptionOrColourRepaintsTheLabel) {
    struct PaintCounter : QObject {
        int paints = 0;
        bool eventFilter(QObject*, QEvent* e) override {
            if (e->type() == QEvent::Paint) ++paints;
            return false;
        }
    } counter;
    ui::Form form;
    ui::Label lbl(&form, "23:45:15");
    lbl.Move(0, 0, 900, 300);
    lbl.setForeColor(0x00FF00);
    lbl.setToolTipText("Meter");
    form.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
    lbl.widget()->installEventFilter(&counter);
    const struct {
        const char* what;
        std::function<void()> set;
        bool repaints;
    } steps[] = {
        {"the same caption", [&] { lbl.setCaption("23:45:15"); }, false},
        {"the same colour", [&] { lbl.setForeColor(0x00FF00); }, false},
        {"the same tip", [&] { lbl.setToolTipText("Meter"); }, false},
        {"a new caption", [&] { lbl.setCaption("23:45:16"); }, true},
        {"a new colour", [&] { lbl.setForeColor(0x0000FF); }, true},
    };
    for (const auto& step : steps) {
        QCoreApplication::processEvents();
        counter.paints = 0;
        step.set();
        for (int i = 0; i < 3; ++i)
            QCoreApplication::processEvents();
        EXPECT_EQ(counter.paints > 0, step.repaints) << step.what;
    }
    EXPECT_EQ(lbl.Caption(), "23:45:16");
}

TEST(Colours, BgrValuesMapToQtAndBack) {
    const QColor c = ui::toQColor(0x00C0FF10);
    EXPECT_EQ(c, QColor(0x10, 0xFF, 0xC0));
    EXPECT_EQ(ui::fromQColor(c), 0x00C0FF10);
    ui::Form form;
    ui::Label lbl(&form);
    lbl.setForeColor(0xFFFF00);
    EXPECT_EQ(lbl.ForeColor(), 0xFFFF00);
    EXPECT_EQ(lbl.widget()->palette().color(QPalette::WindowText), QColor(0, 0xFF, 0xFF));
}

TEST(Colours, ADarkBackColourLeavesTheTickBoxCircleAndSliderShowing) {
    // In a dark frame as on a dark form.
    ui::Form form;
    ui::Frame frame(&form, "AGC");
    frame.setBackColor(0x000000);
    ui::CheckBox chk(frame.container(), "On");
    ui::OptionButton opt(frame.container(), "Man");
    ui::Slider sld(frame.container());
    form.Show();
    for (ui::Control* c : {static_cast<ui::Control*>(&chk), static_cast<ui::Control*>(&opt),
                           static_cast<ui::Control*>(&sld)}) {
        c->Move(0, 0, 1200, 300);
        c->setBackColor(0x000000);
        const QImage image = c->widget()->grab().toImage();
        const int middle = image.height() / 2;
        int lightest = 0;
        for (int x = 0; x < 20; ++x)
            lightest = std::max(lightest, image.pixelColor(x, middle).lightness());
        EXPECT_GT(lightest, 128) << "the indicator vanished into the back colour";
        // The caption's side is the back colour.
        EXPECT_EQ(image.pixelColor(image.width() - 2, 1), QColor(0, 0, 0));
        EXPECT_EQ(c->BackColor(), 0x000000);
    }
}

} // namespace
