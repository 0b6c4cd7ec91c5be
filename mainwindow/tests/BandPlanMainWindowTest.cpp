// The band plan on the real main window, over the shipped band plans in a temporary program folder: the
// band used last and a band chosen from the drop-down tune the receiver, sub-band and preset buttons put
// their settings into force, and presets stored with Shift + right and saved through the real dialog are
// written at the close and read back by a second window over the same folder and settings.
#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QTest>
#include <QTimer>

#include "frame/ReceiverModes.h"
#include "frontpanel/BandPlanControls.h"
#include "frontpanel/frmEditUserPreset.h"
#include "frontpanel/frmPresetDesc.h"
#include "mainwindow/MainWindowDesign.h"
#include "mainwindow/tests/MainWindowRig.h"
#include "mainwindow/tests/ShownWindow.h"

namespace {

// The shipped plans: "Ham" (Amateur.bpl) with 40m as sub-band 3 (7 100 000 Hz LSB, its first preset
// 7 074 000 Hz USB) and "Bcast" (Broadcast.bpl) with LW as its active sub-band (198 000 Hz AM).
constexpr int16_t k40m = 3;

struct BandPlanMainWindow : ::testing::Test, mainwindowtest::MainWindowRig {
    // The window in its full layout, where every panel shows.
    frmMain& start() { return mainwindowtest::showActive(*this, mainwindow::design::kLayoutFull); }
    frontpanel::BandPlanControls& controls() { return window->BandControls; }
    int32_t tunedHz() const { return vfo.TunedFrequency() / 10; }
    static void click(ui::Control& c, Qt::MouseButton b, Qt::KeyboardModifiers m = Qt::NoModifier) {
        QTest::mouseClick(c.widget(), b, m, c.widget()->rect().center());
    }
    // Runs act on the preset dialog once it is open, as a person at the window would.
    static void whenDialogOpens(std::function<void(frmEditUserPreset&)> act, int tries = 50) {
        QTimer::singleShot(0, [act, tries] {
            for (QWidget* w : QApplication::topLevelWidgets())
                if (auto* f = dynamic_cast<frmEditUserPreset*>(w); f && f->isVisible()) return act(*f);
            if (tries > 0) whenDialogOpens(act, tries - 1);
        });
    }
    static void type(ui::TextBox& box, const char* text) {
        auto* edit = static_cast<QLineEdit*>(box.widget());
        edit->selectAll();
        QTest::keyClicks(edit, text);
    }
    // The program's next run: the window closed (its unload saves), band records made afresh from the files.
    void restart() {
        window->close();
        QCoreApplication::processEvents();
        window.reset();
        bands.clear();
        for (const char* f : {"Amateur.bpl", "Broadcast.bpl"})
            bands.push_back(modBandPlan::newMainBand(folder.path(), f, static_cast<int32_t>(bands.size())));
        start();
    }
};

TEST_F(BandPlanMainWindow, TheBandUsedLastAndABandChosenFromTheDropDownTuneTheReceiver) {
    store.SaveSetting("NerixSDR", "frmMain", "CurrentMainBandIndex", "1");
    start();
    EXPECT_EQ(controls().frPresets.Caption(), "Bcast");
    EXPECT_EQ(tunedHz(), 198000);
    EXPECT_EQ(state().DemodMode, DemodMode::AM);

    // The drop-down, shown by hovering over the frame's top left, then chosen with the keyboard.
    QTest::mouseMove(controls().frPresets.widget(), QPoint(20, 3));
    ASSERT_TRUE(controls().cboBandSelect.Visible());
    QTest::keyClick(static_cast<QComboBox*>(controls().cboBandSelect.widget()), Qt::Key_Up);
    EXPECT_EQ(state().CurrentMainBandIndex, 0);
    EXPECT_EQ(controls().frPresets.Caption(), "Ham");
    EXPECT_EQ(tunedHz(), 1840000);
    EXPECT_EQ(state().DemodMode, DemodMode::LSB);
}

TEST_F(BandPlanMainWindow, SubBandAndPresetButtonsPutTheirSettingsIntoForce) {
    start();
    click(controls().optSubBand[k40m], Qt::LeftButton);
    EXPECT_EQ(tunedHz(), 7100000);
    EXPECT_EQ(state().DemodMode, DemodMode::LSB);
    EXPECT_EQ(controls().optPreset[0].Caption(), "7074");

    click(controls().optPreset[0], Qt::LeftButton);
    EXPECT_EQ(tunedHz(), 7074000);
    EXPECT_EQ(state().DemodMode, DemodMode::USB);
    EXPECT_TRUE(controls().optPreset[0].Value());
}

TEST_F(BandPlanMainWindow, PresetsStoredOrSavedThroughTheDialogSurviveARestart) {
    start();
    click(controls().optSubBand[k40m], Qt::LeftButton);

    // Shift + right on an unused preset stores the receiver as it stands.
    vfo.setTunedFrequency(70'123'450);
    click(controls().optPreset[4], Qt::RightButton, Qt::ShiftModifier);
    EXPECT_EQ(controls().optPreset[4].Caption(), "7012");

    // Right, "Save to Preset", then the real dialog typed into and saved.
    bool saved = false;
    whenDialogOpens([&](frmEditUserPreset& f) {
        type(f.txtPresetValues[1], "7 155 000");
        type(f.txtPresetValues[0], "Evening net");
        click(f.optDemodulationValue[1], Qt::LeftButton);
        click(f.cmdSave, Qt::LeftButton);
        saved = true;
    });
    dialogs.menuAnswers = {0};
    click(controls().optPreset[5], Qt::RightButton);
    ASSERT_TRUE(saved);
    EXPECT_EQ(controls().optPreset[5].Caption(), "7155");

    restart();
    EXPECT_EQ(controls().frPresets.Caption(), "Ham");
    click(controls().optSubBand[k40m], Qt::LeftButton);
    EXPECT_EQ(controls().optPreset[4].Caption(), "7012");
    EXPECT_EQ(controls().optPreset[5].Caption(), "7155");
    EXPECT_EQ(controls().optPreset[5].ToolTipText(), "Evening net");
    click(controls().optPreset[5], Qt::LeftButton);
    EXPECT_EQ(tunedHz(), 7155000);
    EXPECT_EQ(state().DemodMode, DemodMode::USB);
    click(controls().optPreset[4], Qt::LeftButton);
    EXPECT_EQ(tunedHz(), 7012345);
}

// The popup as a person sees it over the window: switched on by Ctrl on a preset button, shown by hovering.
TEST_F(BandPlanMainWindow, DrawsThePresetPopup) {
    auto& w = start();
    click(controls().optSubBand[k40m], Qt::LeftButton);
    ui::OptionButton& preset = controls().optPreset[0];
    preset.SetFocus();
    QTest::keyClick(preset.widget(), Qt::Key_Control, Qt::ControlModifier);
    QTest::mouseMove(preset.widget(), preset.widget()->rect().center());
    frmPresetDesc* desc = nullptr;
    for (QWidget* t : QApplication::topLevelWidgets())
        if (auto* d = dynamic_cast<frmPresetDesc*>(t); d && d->isVisible()) desc = d;
    ASSERT_NE(desc, nullptr);
    EXPECT_EQ(desc->lblCaption.Caption(), "40 m FT8 (USB)");
    EXPECT_EQ(QApplication::activeWindow(), &w); // the popup never takes the focus
    EXPECT_TRUE(desc->grab().save(RENDER_DIR "/main_window_preset_popup.png"));
    // DarkenControls hides it.
    receiver().DarkenControls();
    EXPECT_FALSE(desc->isVisible());
}

} // namespace
