// Controls: a handler runs when a value really changes, from code as from the user, and never on clear,
// remove or a repeated value; arrays pass their index; sorted lists, typed combos, slider scrolls, tab
// tooltips, labels and fonts; the picture box as core code's picture.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFontInfo>
#include <QFontMetricsF>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QRadioButton>
#include <QSlider>
#include <QTabBar>
#include <QTest>
#include <functional>
#include <string>
#include <tuple>
#include <vector>

#include "platform/runtime/RuntimeError.h"
#include "platform/ui/ControlArray.h"
#include "platform/ui/Controls.h"
#include "platform/ui/Form.h"
#include "platform/ui/PictureBox.h"

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
    // Two lines, the second a line's spacing below the first.
    const QFontMetrics fm(shown->font());
    EXPECT_GE(shown->height(), fm.height() + fm.lineSpacing());
    lbl.setBorderStyle(1);
    EXPECT_EQ(shown->frameShape(), QFrame::Box);
    EXPECT_THROW(lbl.setBorderStyle(2), runtime::RuntimeError);
}

TEST_F(Clicks, CourierNewIsTheSystemsFixedPitchFace) {
    ui::TextBox txt(&form, "PC(DB25)", true);
    txt.setFontName("Courier New");
    EXPECT_TRUE(QFontInfo(txt.widget()->font()).fixedPitch()) << txt.FontName();
}

// The windows' twips were laid out for Tahoma and Courier New: the program's faces are theirs or have
// their metrics, so a caption takes the room it took there.
TEST_F(Clicks, TheFacesTheWindowsWereLaidOutForAreThereWithTheirMetrics) {
    const QFont control = QApplication::font();
    EXPECT_EQ(QFontInfo(control).family(), "Tahoma");
    EXPECT_EQ(control.pointSizeF(), 8.25);
    ui::PictureBox picture(&form);
    picture.setFontName("Tahoma");
    EXPECT_EQ(QFontInfo(picture.surface().Font()).family(), "Tahoma");

    ui::Label lbl(&form, "7 043.0");
    lbl.setFontName("Courier New");
    QFont fixed = lbl.widget()->font();
    EXPECT_EQ(QFontInfo(fixed).family(), "Liberation Mono");
    // Every Courier New glyph advances 1229/2048 of the em.
    fixed.setPixelSize(2048);
    EXPECT_NEAR(QFontMetricsF(fixed).horizontalAdvance("W"), 1229, 1);
    EXPECT_NEAR(QFontMetricsF(fixed).horizontalAdvance("i"), 1229, 1);
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
