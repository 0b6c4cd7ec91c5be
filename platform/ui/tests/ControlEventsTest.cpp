// What the windows hear from their controls beyond clicks and changes: double clicks, keys (a held key
// never looks released), the focus, the stacking order, mouse events and placement in a picture's user
// scale, the pointer over the bare form; and the shape, the locked multi-line text box and the popup that
// never takes the focus.
#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QPlainTextEdit>
#include <QTest>
#include <string>
#include <tuple>
#include <vector>

#include "platform/runtime/RuntimeError.h"
#include "platform/ui/Controls.h"
#include "platform/ui/Form.h"
#include "platform/ui/PictureBox.h"

namespace {

// A shown form that has the keyboard, as the user's window has.
struct ActiveForm : ::testing::Test {
    ui::Form form;
    std::vector<std::string> events;

    void show() {
        form.setClientSize(4500, 3000);
        form.Show();
        form.activateWindow();
        QApplication::setActiveWindow(&form);
        ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
    }
    void watchMouse(ui::Control& c, const std::string& name) {
        c.MouseDown = [this, name](int16_t b, int16_t, float, float) {
            add(name + " down " + std::to_string(b));
        };
        c.MouseUp = [this, name](int16_t b, int16_t, float, float) {
            add(name + " up " + std::to_string(b));
        };
        c.DblClick = [this, name] { add(name + " dblclick"); };
    }
    void add(const std::string& e) { events.push_back(e); }
};

void sendKey(QWidget* w, QEvent::Type type, int key, bool autoRepeat,
             Qt::KeyboardModifiers m = Qt::NoModifier) {
    QKeyEvent e(type, key, m, QString(), autoRepeat);
    QApplication::sendEvent(w, &e);
}

} // namespace

TEST_F(ActiveForm, ADoubleClickComesAfterTheClickAndIsNotASecondClick) {
    ui::Label lbl(&form, "7");
    lbl.Move(0, 0, 600, 600);
    watchMouse(lbl, "lbl");
    lbl.Click = [this] { add("lbl click"); };
    show();
    // Through the window, as the window system delivers it: press, release, press, release.
    QTest::mouseDClick(form.windowHandle(), Qt::LeftButton, Qt::NoModifier, QPoint(5, 5));
    EXPECT_EQ(events,
              (std::vector<std::string>{"lbl down 1", "lbl up 1", "lbl click", "lbl dblclick", "lbl up 1"}));
    events.clear();
    QTest::mouseClick(form.windowHandle(), Qt::LeftButton, Qt::NoModifier, QPoint(5, 5));
    EXPECT_EQ(events, (std::vector<std::string>{"lbl down 1", "lbl up 1", "lbl click"}));
}

TEST_F(ActiveForm, AHeldKeyRepeatsKeyDownAndIsReleasedOnce) {
    ui::PictureBox pic(&form);
    pic.Move(0, 0, 1500, 1500);
    std::vector<std::tuple<std::string, int16_t, int16_t>> keys;
    pic.KeyDown = [&](int16_t& code, int16_t shift) { keys.emplace_back("down", code, shift); };
    pic.KeyUp = [&](int16_t& code, int16_t shift) { keys.emplace_back("up", code, shift); };
    show();
    // Held Up with Shift, as an X server reports it: each repeat is a release and a press, both marked.
    sendKey(pic.widget(), QEvent::KeyPress, Qt::Key_Up, false, Qt::ShiftModifier);
    for (int i = 0; i < 2; ++i) {
        sendKey(pic.widget(), QEvent::KeyRelease, Qt::Key_Up, true, Qt::ShiftModifier);
        sendKey(pic.widget(), QEvent::KeyPress, Qt::Key_Up, true, Qt::ShiftModifier);
    }
    sendKey(pic.widget(), QEvent::KeyRelease, Qt::Key_Up, false);
    const std::vector<std::tuple<std::string, int16_t, int16_t>> expected = {
        {"down", 38, 1}, {"down", 38, 1}, {"down", 38, 1}, {"up", 38, 0}};
    EXPECT_EQ(keys, expected);
}

TEST_F(ActiveForm, AKeyCodeSetToZeroKeepsTheKeyFromTheControl) {
    ui::TextBox txt(&form);
    txt.KeyDown = [](int16_t& code, int16_t) {
        if (code == 'X') code = 0;
    };
    show();
    txt.SetFocus();
    QTest::keyClicks(txt.widget(), "axb");
    EXPECT_EQ(txt.Text(), "ab");
}

TEST_F(ActiveForm, SetFocusMovesTheKeyboardAndTheControlLeftHearsLostFocus) {
    ui::TextBox a(&form);
    ui::TextBox b(&form);
    ui::PictureBox sink(&form);
    b.setTop(600);
    sink.setTop(1200);
    a.LostFocus = [this] { add("a lost"); };
    b.LostFocus = [this] { add("b lost"); };
    show();
    a.SetFocus();
    EXPECT_EQ(QApplication::focusWidget(), a.widget());
    b.SetFocus();
    sink.SetFocus(); // a picture box takes the focus too, so its keys reach the window
    EXPECT_EQ(QApplication::focusWidget(), sink.widget());
    EXPECT_EQ(events, (std::vector<std::string>{"a lost", "b lost"}));
    // Opening a drop-down, or the user turning to another window, leaves no control.
    for (const Qt::FocusReason reason : {Qt::PopupFocusReason, Qt::ActiveWindowFocusReason}) {
        QFocusEvent out(QEvent::FocusOut, reason);
        QApplication::sendEvent(a.widget(), &out);
    }
    EXPECT_EQ(events.size(), 2u);
    b.setVisible(false);
    try {
        b.SetFocus();
        ADD_FAILURE() << "a hidden control took the focus";
    } catch (const runtime::RuntimeError& e) {
        EXPECT_EQ(e.Number(), runtime::err::kInvalidCall);
    }
}

TEST_F(ActiveForm, OpeningADropDownListDoesNotLeaveTheControl) {
    ui::ComboBox cbo(&form);
    ui::TextBox txt(&form);
    txt.setTop(600);
    cbo.AddItem("Broadcast");
    cbo.AddItem("Amateur");
    cbo.LostFocus = [this] { add("cbo lost"); };
    show();
    cbo.SetFocus();
    auto* box = static_cast<QComboBox*>(cbo.widget());
    box->showPopup();
    QTest::qWait(20);
    box->hidePopup();
    QTest::qWait(20);
    EXPECT_TRUE(events.empty());
    txt.SetFocus();
    EXPECT_EQ(events, (std::vector<std::string>{"cbo lost"}));
}

TEST_F(ActiveForm, ZOrderBringsAControlInFrontOfItsSiblingsOrBehindThem) {
    ui::Label first(&form, "first");
    ui::Label second(&form, "second");
    first.Move(0, 0, 1500, 300);
    second.Move(0, 0, 1500, 300);
    const QPoint inside(5, 5);
    EXPECT_EQ(form.childAt(inside), second.widget()); // made last, lies on top
    first.ZOrder(0);
    EXPECT_EQ(form.childAt(inside), first.widget());
    first.ZOrder(1);
    EXPECT_EQ(form.childAt(inside), second.widget());
}

TEST_F(ActiveForm, MouseEventsOverAPictureAreInItsUserScaleAndSoIsWhatIsPlacedInIt) {
    ui::PictureBox pic(&form);
    pic.Move(0, 0, 3000, 1500);          // 200 x 100 pixels
    pic.surface().Scale(0, 5, 1024, -5); // y upward, as a spectrum's decibels
    std::vector<std::tuple<int16_t, int16_t, float, float>> downs, moves;
    pic.MouseDown = [&](int16_t b, int16_t s, float x, float y) { downs.emplace_back(b, s, x, y); };
    pic.MouseMove = [&](int16_t b, int16_t s, float x, float y) { moves.emplace_back(b, s, x, y); };
    // A label in the picture, placed before the window is shown: 5.12 units a pixel across, 0.05 down.
    ui::Label lbl(pic.widget(), "7 100 000");
    lbl.Move(512 + 17, 2.5, 102.4, 1);
    show();
    QTest::mousePress(pic.widget(), Qt::LeftButton, Qt::ControlModifier, QPoint(100, 50));
    QTest::mouseRelease(pic.widget(), Qt::LeftButton, Qt::NoModifier, QPoint(100, 50));
    QTest::mouseMove(pic.widget(), QPoint(150, 20)); // no button held: a hover still reports
    ASSERT_EQ(downs.size(), 1u);
    EXPECT_EQ(downs[0], std::make_tuple(int16_t{1}, int16_t{2}, 512.0f, 2.5f));
    ASSERT_FALSE(moves.empty());
    EXPECT_EQ(moves.back(), std::make_tuple(int16_t{0}, int16_t{0}, 768.0f, 4.0f));

    EXPECT_EQ(lbl.widget()->geometry(), QRect(103, 50, 20, 20));
    EXPECT_DOUBLE_EQ(lbl.Left(), 527.36); // on the whole pixel the place fell on
    EXPECT_DOUBLE_EQ(lbl.Top(), 2.5);
    EXPECT_DOUBLE_EQ(lbl.Width(), 102.4);
    EXPECT_DOUBLE_EQ(lbl.Height(), 1.0);
}

// The control under the pointer has the event to itself: a knob label in a frame lights, and the frame,
// whose own hover would unmark it, never hears of it; a shape lets the pointer through to its container.
TEST_F(ActiveForm, AMouseEventBelongsToTheControlUnderThePointerAlone) {
    ui::Frame frame(&form, "AF");
    frame.Move(0, 0, 3000, 1500);
    ui::Label label(frame.container(), "0.0");
    label.Move(300, 300, 900, 255);
    ui::PictureBox pic(frame.container());
    pic.Move(1500, 300, 1200, 900);
    ui::Shape tick(pic.widget());
    tick.Move(0, 0, 600, 450);
    ui::Label caption(pic.widget(), "7 100 000");
    caption.Move(600, 450, 600, 255);
    const auto watch = [this](ui::Control& c, const std::string& name) {
        c.MouseMove = [this, name](int16_t, int16_t, float, float) { add(name + " move"); };
        c.MouseDown = [this, name](int16_t b, int16_t, float, float) {
            add(name + " down " + std::to_string(b));
        };
        c.MouseUp = [this, name](int16_t b, int16_t, float, float) {
            add(name + " up " + std::to_string(b));
        };
    };
    watch(frame, "frame");
    watch(label, "label");
    watch(pic, "picture");
    watch(caption, "caption");
    int frameClicks = 0;
    frame.Click = [&] { ++frameClicks; };
    show();
    QTest::mouseMove(label.widget(), QPoint(5, 5));
    QTest::mouseClick(label.widget(), Qt::RightButton, Qt::NoModifier, QPoint(5, 5));
    QTest::mouseClick(label.widget(), Qt::LeftButton, Qt::NoModifier, QPoint(5, 5));
    QTest::mouseMove(tick.widget(), QPoint(5, 5));
    QTest::mouseMove(caption.widget(), QPoint(5, 5));
    QTest::mouseMove(frame.widget(), QPoint(5, 90)); // the frame's own area
    const std::vector<std::string> expected = {"label move", "label down 2", "label up 2",   "label down 1",
                                               "label up 1", "picture move", "caption move", "frame move"};
    std::vector<std::string> seen;
    for (const std::string& e : events)
        if (seen.empty() || seen.back() != e) seen.push_back(e); // a move may be reported more than once
    EXPECT_EQ(seen, expected);
    EXPECT_EQ(frameClicks, 0);
}

// The bare window hears the pointer over itself, in twips, and nothing of what lies over its controls,
// whether they handle the move or not.
TEST(FormMouseMove, TheFormHearsOnlyThePointerOverItself) {
    struct Window final : ui::Form {
        std::vector<std::pair<float, float>> moves;
        void Form_MouseMove(int16_t, int16_t, float X, float Y) override { moves.emplace_back(X, Y); }
    } form;
    form.setClientSize(3000, 1500);
    ui::Label quiet(&form, "no handler");
    quiet.Move(0, 0, 1500, 750);
    ui::Frame frame(&form, "AF");
    frame.Move(1500, 0, 1500, 1500);
    form.Show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
    QTest::mouseMove(quiet.widget(), QPoint(10, 10));
    QTest::mouseMove(frame.widget(), QPoint(10, 60));
    EXPECT_TRUE(form.moves.empty());
    QTest::mouseMove(&form, QPoint(20, 80));
    ASSERT_FALSE(form.moves.empty());
    EXPECT_EQ(form.moves.back(), std::make_pair(300.0f, 1200.0f));
}

TEST_F(ActiveForm, ASliderReportsWhichButtonWentDown) {
    ui::Slider sld(&form);
    sld.Move(0, 0, 3000, 450);
    std::vector<int16_t> buttons;
    sld.MouseDown = [&](int16_t b, int16_t, float, float) { buttons.push_back(b); };
    show();
    QTest::mousePress(sld.widget(), Qt::RightButton, Qt::NoModifier, QPoint(10, 10));
    QTest::mouseRelease(sld.widget(), Qt::RightButton, Qt::NoModifier, QPoint(10, 10));
    QTest::mousePress(sld.widget(), Qt::LeftButton, Qt::NoModifier, QPoint(10, 10));
    QTest::mouseRelease(sld.widget(), Qt::LeftButton, Qt::NoModifier, QPoint(10, 10));
    EXPECT_EQ(buttons, (std::vector<int16_t>{2, 1}));
}

TEST_F(ActiveForm, AVerticalSliderHasItsMinimumAtTheTop) {
    ui::Slider sld(&form);
    sld.setOrientation(1);
    sld.setMax(100);
    sld.setLargeChange(10);
    sld.setSmallChange(2);
    sld.setValue(50);
    sld.Move(0, 0, 450, 3000);
    std::vector<int32_t> seen;
    sld.Change = [&] { seen.push_back(sld.Value()); };
    show();
    // A press on the track above the handle pages toward the top, Min; one below it toward Max.
    QTest::mouseClick(sld.widget(), Qt::LeftButton, Qt::NoModifier, QPoint(15, 4));
    QTest::mouseClick(sld.widget(), Qt::LeftButton, Qt::NoModifier, QPoint(15, 196));
    QTest::mouseClick(sld.widget(), Qt::LeftButton, Qt::NoModifier, QPoint(15, 196));
    sld.SetFocus();
    QTest::keyClick(sld.widget(), Qt::Key_Up);
    EXPECT_EQ(seen, (std::vector<int32_t>{40, 50, 60, 58}));
    EXPECT_EQ(sld.Orientation(), 1);
    EXPECT_EQ(sld.SmallChange(), 2);
    EXPECT_EQ(sld.LargeChange(), 10);
    EXPECT_EQ(sld.TickFrequency(), 0);
    sld.setTickFrequency(25);
    EXPECT_EQ(sld.TickFrequency(), 25);
    try {
        sld.setOrientation(2);
        ADD_FAILURE() << "an orientation other than 0 or 1 was taken";
    } catch (const runtime::RuntimeError& e) {
        EXPECT_EQ(e.Number(), runtime::err::kInvalidPropertyValue);
    }
    EXPECT_EQ(sld.Orientation(), 1);
}

TEST_F(ActiveForm, ALockedMultiLineBoxShowsItsLinesAndRefusesTyping) {
    ui::TextBox txt(&form, {}, true);
    txt.Move(0, 0, 3000, 1200);
    int changes = 0;
    txt.Change = [&] { ++changes; };
    txt.setText("Band=Broadcast\r\nFreq Lo=5900000\r\nFreq Hi=6200000");
    EXPECT_EQ(changes, 1);
    txt.setLocked(true);
    show();
    auto* box = static_cast<QPlainTextEdit*>(txt.widget());
    EXPECT_EQ(box->document()->blockCount(), 3);
    txt.SetFocus();
    QTest::keyClicks(box, "xyz");
    EXPECT_EQ(txt.Text(), "Band=Broadcast\r\nFreq Lo=5900000\r\nFreq Hi=6200000");
    EXPECT_EQ(changes, 1);
    txt.setLocked(false);
    QTest::keyClicks(box, "x");
    EXPECT_EQ(changes, 2);
}

TEST_F(ActiveForm, APopupShownOverTheWindowLeavesTheFocusWhereItWas) {
    ui::TextBox txt(&form);
    show();
    txt.SetFocus();
    ui::Form popup(&form);
    popup.setPopupWithoutFocus();
    popup.setClientSize(2700, 1605);
    popup.setBackColor(0xC0FFFF);
    ui::Label lbl(&popup, "Frequency=7100000");
    popup.Show();
    QTest::qWait(20);
    EXPECT_TRUE(popup.isVisible());
    EXPECT_EQ(QApplication::activeWindow(), &form);
    EXPECT_EQ(QApplication::focusWidget(), txt.widget());
    QTest::keyClicks(txt.widget(), "7");
    EXPECT_EQ(txt.Text(), "7");
}

TEST(Shape, DrawsItsKindInItsColoursAndLetsTheMouseThrough) {
    ui::Form form;
    form.setClientSize(1500, 1500);
    form.setBackColor(0x000000);
    int clicks = 0;
    ui::Label below(&form);
    below.Move(0, 0, 1500, 1500);
    below.Click = [&] { ++clicks; };
    ui::Shape dot(&form);
    dot.Move(0, 0, 1500, 1500); // 100 x 100 pixels
    dot.setShape(ui::Shape::kCircle);
    dot.setFillStyle(0);
    dot.setFillColor(0x0000FF);
    dot.setBorderColor(0x00FF00);
    form.Show();
    const QImage img = dot.widget()->grab().toImage();
    EXPECT_EQ(img.pixelColor(50, 50), QColor(255, 0, 0)); // filled
    EXPECT_EQ(img.pixelColor(2, 2), QColor(0, 0, 0));     // outside the circle: what lies behind
    int top = 0;                                          // the outline where the circle meets the top
    while (top < 100 && img.pixelColor(50, top) == QColor(0, 0, 0))
        ++top;
    EXPECT_LE(top, 1);
    EXPECT_EQ(img.pixelColor(50, top), QColor(0, 255, 0));
    dot.setShape(ui::Shape::kRectangle);
    dot.setFillStyle(1);
    const QImage box = dot.widget()->grab().toImage();
    EXPECT_EQ(box.pixelColor(0, 0), QColor(0, 255, 0));
    EXPECT_EQ(box.pixelColor(50, 50), QColor(0, 0, 0)); // transparent fill
    EXPECT_THROW(dot.setShape(6), runtime::RuntimeError);
    QTest::mouseClick(dot.widget(), Qt::LeftButton, Qt::NoModifier, QPoint(50, 50));
    QTest::mouseClick(below.widget(), Qt::LeftButton, Qt::NoModifier, QPoint(50, 50));
    EXPECT_EQ(clicks, 1); // the shape itself never takes the click
    EXPECT_EQ(form.childAt(50, 50), below.widget());
}
