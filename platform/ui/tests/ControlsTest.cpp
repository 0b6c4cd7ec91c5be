// Controls: a handler runs when a value really changes, from code as from the user, and never on clear,
// remove or a repeated value; arrays pass their index; sorted lists, typed combos, slider scrolls, tab
// tooltips, labels, bare pages and modal forms; twips and colours convert exactly.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFontInfo>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QRadioButton>
#include <QSlider>
#include <QTabBar>
#include <QTest>
#include <QTimer>
#include <algorithm>
#include <functional>
#include <string>
#include <tuple>
#include <vector>

#include "platform/runtime/RuntimeError.h"
#include "platform/ui/ControlArray.h"
#include "platform/ui/Controls.h"
#include "platform/ui/Form.h"
#include "platform/ui/PictureBox.h"
#include "platform/ui/Twips.h"

namespace {

struct Clicks : ::testing::Test {
    ui::Form form;
    int runs = 0;
    ui::Handler count() {
        return [this] { ++runs; };
    }
};

TEST_F(Clicks, ValueFromCodeRunsTheHandlerOnlyOnARealChange) {
    ui::CheckBox chk(&form);
    ui::OptionButton opt(&form);
    ui::TextBox txt(&form);
    ui::Slider sld(&form);
    ui::ComboBox cbo(&form);
    ui::ListBox lst(&form);
    ui::TabStrip tabs(&form);
    for (auto* l : std::initializer_list<ui::ListControl*>{&cbo, &lst}) {
        l->AddItem("a");
        l->AddItem("b");
    }
    tabs.AddTab("General");
    tabs.AddTab("Soundcard");
    chk.Click = opt.Click = cbo.Click = lst.Click = tabs.Click = count();
    txt.Change = sld.Change = count();

    const struct {
        const char* control;
        std::function<void()> setSame, setNew;
    } cases[] = {
        {"check box", [&] { chk.setValue(0); }, [&] { chk.setValue(1); }},
        {"option", [&] { opt.setValue(false); }, [&] { opt.setValue(true); }},
        {"text", [&] { txt.setText(""); }, [&] { txt.setText("7100"); }},
        {"slider", [&] { sld.setValue(0); }, [&] { sld.setValue(5); }},
        {"combo", [&] { cbo.setListIndex(-1); }, [&] { cbo.setListIndex(1); }},
        {"list", [&] { lst.setListIndex(-1); }, [&] { lst.setListIndex(0); }},
        {"tab strip", [&] { tabs.setSelectedItem(1); }, [&] { tabs.setSelectedItem(2); }},
    };
    for (const auto& c : cases) {
        runs = 0;
        c.setSame();
        EXPECT_EQ(runs, 0) << c.control;
        c.setNew();
        EXPECT_EQ(runs, 1) << c.control;
        c.setNew();
        EXPECT_EQ(runs, 1) << c.control << " set again";
    }
}

TEST_F(Clicks, UserChangesRunTheSameHandlerOnce) {
    ui::CheckBox chk(&form);
    ui::ComboBox cbo(&form);
    ui::Slider sld(&form);
    cbo.AddItem("a");
    cbo.AddItem("b");
    chk.Click = cbo.Click = count();
    sld.Change = count();
    static_cast<QCheckBox*>(chk.widget())->click();
    EXPECT_EQ(chk.Value(), 1);
    static_cast<QComboBox*>(cbo.widget())->setCurrentIndex(1);
    EXPECT_EQ(cbo.ListIndex(), 1);
    EXPECT_EQ(cbo.Text(), "b");
    static_cast<QSlider*>(sld.widget())->setValue(3);
    EXPECT_EQ(sld.Value(), 3);
    EXPECT_EQ(runs, 3);
}

TEST_F(Clicks, ClearAndRemoveRunNothingAndKeepTheIndexRight) {
    ui::ComboBox cbo(&form);
    ui::ListBox lst(&form);
    for (auto* l : std::initializer_list<ui::ListControl*>{&cbo, &lst}) {
        for (const char* t : {"a", "b", "c"})
            l->AddItem(t);
        l->setItemData(2, 42);
        l->setListIndex(2);
        l->Click = count();
        runs = 0;
        l->RemoveItem(0); // before the selection: the index follows the item
        EXPECT_EQ(l->ListIndex(), 1);
        EXPECT_EQ(l->ItemData(1), 42);
        l->RemoveItem(1); // the selection itself
        EXPECT_EQ(l->ListIndex(), -1);
        l->Clear();
        EXPECT_EQ(l->ListCount(), 0);
        EXPECT_EQ(runs, 0);
        EXPECT_THROW(l->setListIndex(0), runtime::RuntimeError);
        EXPECT_THROW(l->ItemData(0), runtime::RuntimeError);
        EXPECT_EQ(l->List(5), "");
    }
}

TEST_F(Clicks, SelectingAnOptionClearsItsGroupWithoutTheirHandlers) {
    ui::OptionButton on(&form, "On"), off(&form, "Off");
    ui::Frame frame(&form);
    ui::OptionButton other(frame.container(), "elsewhere");
    int onRuns = 0, offRuns = 0;
    on.Click = [&] { ++onRuns; };
    off.Click = [&] { ++offRuns; };
    other.setValue(true);
    on.setValue(true);
    off.setValue(true);
    EXPECT_FALSE(on.Value());
    EXPECT_TRUE(off.Value());
    EXPECT_TRUE(other.Value()); // another container is another group
    static_cast<QRadioButton*>(on.widget())->click();
    EXPECT_TRUE(on.Value());
    EXPECT_FALSE(off.Value());
    EXPECT_EQ(onRuns, 2);
    EXPECT_EQ(offRuns, 1);
}

TEST_F(Clicks, ControlArrayHandlersTakeTheIndex) {
    ui::ControlArray<ui::OptionButton> optMode;
    std::vector<int16_t> seen;
    optMode.Click = [&](int16_t Index) { seen.push_back(Index); };
    for (int16_t i = 0; i < 3; ++i)
        optMode.Load(i, &form);
    optMode.Load(7, &form);
    optMode[2].setValue(true);
    optMode[7].setValue(true);
    EXPECT_EQ(seen, (std::vector<int16_t>{2, 7}));
    EXPECT_EQ(optMode[7].Index(), 7);
    EXPECT_EQ(optMode.UBound(), 7);
    EXPECT_THROW(optMode[5], runtime::RuntimeError);
    EXPECT_THROW(optMode.Load(7, &form), runtime::RuntimeError);
}

TEST_F(Clicks, HandlerErrorFromCodeReachesTheCaller) {
    ui::CheckBox chk(&form);
    chk.Click = [] { runtime::raise(runtime::err::kOverflow, "chk_Click"); };
    EXPECT_THROW(chk.setValue(1), runtime::RuntimeError);
    EXPECT_THROW(chk.setValue(3), runtime::RuntimeError);
}

TEST_F(Clicks, LabelMouseEventsAndClickInTwips) {
    ui::Label lbl(&form, "12000");
    lbl.Move(0, 0, 1500, 300);
    lbl.Click = count();
    std::vector<std::tuple<int16_t, int16_t, float, float>> downs;
    lbl.MouseDown = [&](int16_t Button, int16_t Shift, float X, float Y) {
        downs.emplace_back(Button, Shift, X, Y);
    };
    QTest::mouseClick(lbl.widget(), Qt::LeftButton, Qt::ShiftModifier, QPoint(4, 6));
    QTest::mouseClick(lbl.widget(), Qt::RightButton, Qt::NoModifier, QPoint(4, 6));
    ASSERT_EQ(downs.size(), 2u);
    EXPECT_EQ(downs[0], std::make_tuple(int16_t{1}, int16_t{1}, 60.0f, 90.0f));
    EXPECT_EQ(std::get<0>(downs[1]), 2);
    EXPECT_EQ(runs, 1); // only the left button clicks
}

TEST_F(Clicks, ASortedListPlacesEachItemByTextAndTellsWhere) {
    ui::ComboBox cbo(&form);
    ui::ListBox lst(&form);
    for (auto* l : std::initializer_list<ui::ListControl*>{&cbo, &lst}) {
        l->setSorted(true);
        const struct {
            const char* text;
            int32_t where;
        } adds[] = {{"Yaesu:FT-847", 0}, {"Hamlib:Dummy", 0}, {"icom:IC-706", 1},
                    {"Icom:IC-706", 2},  {"AOR:AR8200", 0},   {"zz", 5}};
        for (const auto& a : adds) {
            l->AddItem(a.text);
            EXPECT_EQ(l->NewIndex(), a.where) << a.text;
            l->setItemData(l->NewIndex(), a.where + 100);
        }
        EXPECT_EQ(l->List(0), "AOR:AR8200");
        EXPECT_EQ(l->List(3), "Icom:IC-706"); // after the equal text that came first
        EXPECT_EQ(l->List(5), "zz");
        EXPECT_EQ(l->ItemData(5), 105);
        l->AddItem("first", 0); // a given place is kept, sorted or not
        EXPECT_EQ(l->NewIndex(), 0);
        EXPECT_EQ(l->List(0), "first");
    }
}

TEST_F(Clicks, TypingInADropDownComboLeavesNoItemChosen) {
    ui::ComboBox cbo(&form, ui::ComboBox::kDropdownCombo);
    for (const char* t : {"1", "2", "4", "8"})
        cbo.AddItem(t);
    std::vector<std::string> events;
    cbo.Click = [&] { events.push_back("click " + std::to_string(cbo.ListIndex())); };
    cbo.Change = [&] { events.push_back("change " + cbo.Text()); };
    cbo.setListIndex(2);
    EXPECT_EQ(cbo.Text(), "4");

    auto* box = static_cast<QComboBox*>(cbo.widget());
    box->lineEdit()->selectAll();
    QTest::keyClicks(box->lineEdit(), "3");
    EXPECT_EQ(cbo.Text(), "3");
    EXPECT_EQ(cbo.ListIndex(), -1);
    EXPECT_EQ(box->count(), 4); // typed text never becomes an item

    // Choosing the item Qt still holds as current is a choice all the same.
    QTest::keyClick(box, Qt::Key_Down);
    EXPECT_EQ(cbo.ListIndex(), 3);
    EXPECT_EQ(cbo.Text(), "8");
    EXPECT_EQ(events, (std::vector<std::string>{"click 2", "change 3", "click 3"}));

    ui::ComboBox list(&form); // a drop-down list takes no typing
    EXPECT_EQ(list.ComboStyle(), ui::ComboBox::kDropdownList);
    EXPECT_FALSE(static_cast<QComboBox*>(list.widget())->isEditable());
}

TEST_F(Clicks, ASliderScrollsOnlyForTheUsersMoves) {
    ui::Slider sld(&form);
    sld.setMin(-3000);
    sld.setMax(3000);
    sld.setTickFrequency(100);
    std::vector<std::string> events;
    sld.Change = [&] { events.push_back("change " + std::to_string(sld.Value())); };
    sld.Scroll = [&] { events.push_back("scroll " + std::to_string(sld.Value())); };
    sld.setValue(150);
    static_cast<QSlider*>(sld.widget())->setValue(160); // as a drag moves it
    QTest::keyClick(sld.widget(), Qt::Key_Right);
    EXPECT_EQ(events, (std::vector<std::string>{"change 150", "change 160", "scroll 160", "change 161",
                                                "scroll 161"}));
    EXPECT_EQ(static_cast<QSlider*>(sld.widget())->tickInterval(), 100);
}

TEST_F(Clicks, TabsCarryTheirOwnToolTips) {
    ui::TabStrip tabs(&form);
    tabs.AddTab("General", "Configure the SDR");
    tabs.AddTab("About");
    EXPECT_EQ(tabs.TabToolTipText(1), "Configure the SDR");
    EXPECT_EQ(tabs.TabToolTipText(2), "");
    EXPECT_THROW(tabs.TabToolTipText(3), runtime::RuntimeError);
}

TEST_F(Clicks, ATabClickedTakesTheFocusAndTheArrowKeysGoFromTabToTab) {
    ui::CommandButton other(&form, "Other");
    ui::TabStrip tabs(&form);
    form.setClientSize(9600, 1500);
    other.Move(0, 600, 1200, 375);
    tabs.Move(0, 0, 9000, 375);
    for (const char* caption : {"General", "Soundcard", "VFO"})
        tabs.AddTab(caption);
    form.Show();
    QApplication::setActiveWindow(&form);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
    other.SetFocus();
    auto* bar = static_cast<QTabBar*>(tabs.widget());
    QTest::mouseClick(bar, Qt::LeftButton, Qt::NoModifier, bar->tabRect(0).center());
    EXPECT_TRUE(bar->hasFocus());
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Right);
    EXPECT_EQ(tabs.SelectedItem(), 2);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Right);
    EXPECT_EQ(tabs.SelectedItem(), 3);
}

TEST_F(Clicks, TabsShareTheStripsWidthRatherThanScrolling) {
    ui::TabStrip tabs(&form);
    form.setClientSize(9600, 1500);
    tabs.Move(0, 0, 9000, 375);
    for (const char* caption : {"General", "Soundcard", "VFO", "DDS", "Serial I/F", "Parallel I/F", "DREAM",
                                "Spectrum Display", "Controls", "About"})
        tabs.AddTab(caption);
    form.Show();
    auto* bar = static_cast<QTabBar*>(tabs.widget());
    ASSERT_EQ(bar->width(), 600);
    for (int i = 0; i < bar->count(); ++i) {
        EXPECT_LE(bar->tabRect(i).right(), bar->width() - 1) << i;
        EXPECT_GE(bar->tabRect(i).width(), bar->fontMetrics().horizontalAdvance(bar->tabText(i))) << i;
    }
    // A strip wide enough keeps the style's own spacing.
    const int squeezed = bar->tabRect(0).width();
    tabs.setWidth(30000);
    EXPECT_GT(bar->tabRect(0).width(), squeezed);
}

TEST_F(Clicks, LabelsKeepTheirCaptionAndShowItsLineBreaks) {
    ui::Label lbl(&form);
    lbl.setAutoSize(true);
    lbl.setCaption("NerixSDR Ver 0.1.0\r\n<b>notice</b>");
    EXPECT_EQ(lbl.Caption(), "NerixSDR Ver 0.1.0\r\n<b>notice</b>");
    auto* shown = static_cast<QLabel*>(lbl.widget());
    EXPECT_EQ(shown->text(), "NerixSDR Ver 0.1.0\n<b>notice</b>"); // plain text, markup shown as typed
    EXPECT_EQ(shown->size(), shown->sizeHint());
    const int oneLine = QFontMetrics(shown->font()).height();
    EXPECT_GE(shown->height(), 2 * oneLine);
    lbl.setBorderStyle(1);
    EXPECT_EQ(shown->frameShape(), QFrame::Box);
    EXPECT_THROW(lbl.setBorderStyle(2), runtime::RuntimeError);
}

TEST_F(Clicks, CourierNewIsTheSystemsFixedPitchFace) {
    ui::TextBox txt(&form, "PC(DB25)", true);
    txt.setFontName("Courier New");
    EXPECT_TRUE(QFontInfo(txt.widget()->font()).fixedPitch()) << txt.FontName();
}

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

class LoadForm final : public ui::Form {
public:
    int loads = 0;
    int16_t cancel = 0;

protected:
    void Form_Load() override { ++loads; }
    void Form_Unload(int16_t& Cancel) override { Cancel = cancel; }
};

TEST(FormLifecycle, LoadsOnceAndUnloadMayBeCancelled) {
    LoadForm form;
    form.Show();
    form.Hide();
    form.Show();
    EXPECT_EQ(form.loads, 1);
    form.cancel = 1;
    EXPECT_FALSE(form.Unload());
    EXPECT_TRUE(form.isVisible());
    form.cancel = 0;
    EXPECT_TRUE(form.Unload());
    EXPECT_FALSE(form.isVisible());
    form.Show();
    EXPECT_EQ(form.loads, 2); // a form unloaded loads again when it is next shown
}

TEST(FormLifecycle, AModalFormHoldsItsCallerUntilItIsClosed) {
    ui::Form owner;
    owner.Show();
    LoadForm modal;
    ui::CommandButton cmdApply(&modal, "&Apply");
    std::vector<std::string> seen;
    cmdApply.Click = [&] {
        seen.push_back(QApplication::activeModalWidget() == &modal ? "modal" : "modeless");
        modal.Unload();
    };
    // The user's press arrives through the event loop while the caller waits.
    QTimer::singleShot(0, &modal, [&] { cmdApply.setValue(true); });
    modal.ShowModal(&owner);
    seen.push_back("returned");
    EXPECT_EQ(seen, (std::vector<std::string>{"modal", "returned"}));
    EXPECT_EQ(modal.parentWidget(), &owner);
    EXPECT_FALSE(modal.isVisible());
    EXPECT_EQ(modal.loads, 1);
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}

// The wait ends however the form goes away, and the owner's controls stay live meanwhile.
TEST(FormLifecycle, AWaitOnAModelessFormEndsWhenItIsHiddenOrDestroyed) {
    ui::Form owner;
    ui::CommandButton cmdOther(&owner, "Other");
    owner.Show();
    int otherClicks = 0;
    cmdOther.Click = [&] { ++otherClicks; };

    auto* error = new LoadForm;
    ui::CommandButton OKButton(error, "OK");
    OKButton.Click = [&] { error->Unload(); };
    QTimer::singleShot(0, &owner, [&] {
        QTest::mouseClick(cmdOther.widget(), Qt::LeftButton); // not blocked by the wait
        EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
        QTest::mouseClick(OKButton.widget(), Qt::LeftButton);
    });
    error->ShowAndWait();
    EXPECT_EQ(otherClicks, 1);
    EXPECT_FALSE(error->isVisible());

    QTimer::singleShot(0, &owner, [&] { delete error; });
    error->ShowAndWait();
    EXPECT_EQ(QApplication::topLevelWidgets().contains(error), false);
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

// The picture box is the picture core code draws on: placement, visibility and stacking are the
// control's, and a hidden box is drawn at its new size at once.
TEST(PictureBox, ServesAsThePictureOfCoreCode) {
    QWidget container;
    container.resize(200, 100);
    ui::PictureBox first(&container), second(&container);
    ui::Picture& pic = first;
    pic.Move(150, 300, 1500, 600);
    EXPECT_EQ(pic.Left(), 150);
    EXPECT_EQ(pic.Height(), 600);
    EXPECT_EQ(pic.PixelWidth(), 100);
    EXPECT_EQ(pic.PixelHeight(), 40);
    EXPECT_EQ(pic.ContainerScaleHeight(), 1500);
    pic.setHeight(900);
    EXPECT_EQ(first.surface().image().height(), 60);
    EXPECT_THROW(pic.Move(0, 0, -15, 15), runtime::RuntimeError);
    pic.setFontName("Tahoma");
    pic.setFontSize(7);
    EXPECT_EQ(pic.FontName(), "Tahoma");
    EXPECT_EQ(pic.FontSize(), 7);
    pic.setVisible(false);
    EXPECT_FALSE(pic.Visible());
    pic.setBackColor(0x0000FF);
    pic.Cls();
    EXPECT_EQ(first.surface().image().pixel(5, 5) & 0xFFFFFF, 0xFF0000u);
    pic.ZOrder();
    EXPECT_EQ(container.children().last(), first.widget());
    second.ZOrder();
    EXPECT_EQ(container.children().last(), second.widget());
}
