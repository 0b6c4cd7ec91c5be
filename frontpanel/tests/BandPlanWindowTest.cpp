// The band plan's widgets on a window, worked as a user works them: a band chosen from the drop-down,
// sub-band buttons clicked, presets pressed and released with the left button and with Shift + right, the
// preset menu answered, the real dialog typed into and saved, the popup shown by Ctrl and by hovering.
// The frame, the popup and the dialog are drawn to pictures to look at.
#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QTest>

#include "frame/NumberFormat.h"
#include "frontpanel/BandPlanControls.h"
#include "frontpanel/FrontPanelDesign.h"
#include "frontpanel/frmEditUserPreset.h"
#include "frontpanel/frmPresetDesc.h"
#include "frontpanel/tests/BandPlanRig.h"
#include "platform/ui/Form.h"

namespace {

constexpr const char* kBand =
    "[MainBand]\r\nCaption=40 m Band\r\nActiveSubBand=0\r\nNumSubBands=1\r\n"
    "[SubBand.0]\r\nCaption=CW\r\nDescription=Telegraphy\r\nFreqMin=7000000\r\n"
    "FreqMax=7040000\r\nFreqCurrent=7010000\r\nTuneStep=1000\r\nDemodMode=1\r\n"
    "[SubBand.1]\r\nCaption=SSB\r\nDescription=Phone\r\nFreqMin=7040000\r\n"
    "FreqMax=7200000\r\nFreqCurrent=7100000\r\nTuneStep=2500\r\nDemodMode=2\r\n"
    "ActivePreset=0\r\n[Preset.1.0]\r\nCaption=7050\r\nDescription=Net\r\nActive=True\r\n"
    "When=2025-03-07 09:05:00\r\nFreqCurrent=7050000\r\nDemodMode=2\r\nFilterMode=2\r\n";
constexpr const char* kOther = "[MainBand]\r\nCaption=20 m\r\nNumSubBands=0\r\n[SubBand.0]\r\nCaption=All\r\n"
                               "FreqCurrent=14200000\r\n";

struct BandPlanWindow : ::testing::Test, paneltest::BandPlanRig {
    BandPlanWindow() {
        addBand("Forty.bpl", kBand);
        addBand("Twenty.bpl", kOther);
        form.setBackColor(0x000000);
        form.setClientSize(12600, 1600);
        controls.frPresets.setBackColor(0x000000);
        controls.forEachControl([](ui::Control& c) {
            c.setBackColor(0x000000);
            c.setForeColor(0xC0C000);
        });
        state().SDRColourSchemes.Label = 0x00C0C0;
        state().SDRColourSchemes.FrameFocus = 0x00FFFF;
        controls.connect(real);
        controls.LayOut(real, 0, 0);
        namespace s = frontpanel::startup;
        s::FillBandSelector(real, bands);
        s::InitialiseSubBandButtons(real);
        s::InitialisePresetButtons(real);
        s::SelectBandUsedLast(real, 0);
        form.Show();
        form.activateWindow();
        QApplication::setActiveWindow(&form);
        EXPECT_TRUE(QTest::qWaitForWindowActive(&form));
    }

    static QPoint middle(const ui::Control& c) { return c.widget()->rect().center(); }
    static void click(ui::Control& c, Qt::MouseButton b, Qt::KeyboardModifiers m = Qt::NoModifier) {
        QTest::mouseClick(c.widget(), b, m, middle(c));
    }
    void save(QWidget& w, const char* name) {
        const QString path = QString::fromUtf8(RENDER_DIR) + "/" + name;
        EXPECT_TRUE(w.grab().save(path));
    }

    ui::Form form;
    frmPresetDesc desc;
    frontpanel::ModalPresetDialog modal{&form, dialogs};
    frontpanel::BandPlanPanel real{*core, {bands, store, dialogs, bandShell, desc, modal, &log, [] {
                                               return std::string("2027-01-02 03:04:05");
                                           }}};
    frontpanel::BandPlanControls controls{&form, 120, 120}; // goes before the panel it mirrors
};

TEST_F(BandPlanWindow, ChooseBandsSubBandsAndPresetsAsAUserDoes) {
    EXPECT_EQ(controls.frPresets.Caption(), "40 m Band");
    EXPECT_EQ(controls.lblSubBand.Caption(), " CW ");
    EXPECT_TRUE(controls.optSubBand[1].Visible());
    EXPECT_FALSE(controls.optSubBand[2].Visible());
    EXPECT_EQ(tunedHz(), 7010000);

    // The band drop-down, shown by hovering over the frame's top left, then chosen with the keyboard.
    QTest::mouseMove(controls.frPresets.widget(), QPoint(20, 3));
    EXPECT_TRUE(controls.cboBandSelect.Visible());
    auto* band = static_cast<QComboBox*>(controls.cboBandSelect.widget());
    QTest::keyClick(band, Qt::Key_Down);
    EXPECT_EQ(state().CurrentMainBandIndex, 1);
    EXPECT_EQ(controls.frPresets.Caption(), "20 m");
    EXPECT_EQ(tunedHz(), 14200000);
    QTest::keyClick(band, Qt::Key_Up);
    EXPECT_EQ(tunedHz(), 7010000);

    // A sub-band button: its active preset goes into force.
    click(controls.optSubBand[1], Qt::LeftButton);
    EXPECT_TRUE(controls.optSubBand[1].Value());
    EXPECT_EQ(controls.optSubBand[1].ForeColor(), frontpanel::kChosenSubBandColour);
    EXPECT_EQ(controls.lblSubBand.Caption(), " SSB ");
    EXPECT_EQ(controls.optPreset[0].Caption(), "7050");
    EXPECT_EQ(tunedHz(), 7050000);

    // Shift + right on an unused preset stores the receiver there.
    vfoObject.setTunedFrequency(70'612'340);
    click(controls.optPreset[3], Qt::RightButton, Qt::ShiftModifier);
    EXPECT_EQ(controls.optPreset[3].Caption(), "7061");
    EXPECT_EQ(controls.optPreset[3].ToolTipText(),
              NumberFormat::Format(7061234, "#,###0 Hz", NumberFormat::userSeparators()));

    // A left press puts a preset into force.
    click(controls.optPreset[0], Qt::LeftButton);
    EXPECT_TRUE(controls.optPreset[0].Value());
    EXPECT_EQ(controls.optPreset[0].ForeColor(), frontpanel::kPressedColour);
    EXPECT_EQ(tunedHz(), 7050000);

    // Ctrl on a preset button switches the popup on; hovering fills and places it.
    controls.optPreset[0].SetFocus();
    QTest::keyClick(controls.optPreset[0].widget(), Qt::Key_Control, Qt::ControlModifier);
    EXPECT_TRUE(real.PresetDescEnabled);
    QTest::mouseMove(controls.optPreset[0].widget(), middle(controls.optPreset[0]));
    EXPECT_TRUE(desc.isVisible());
    EXPECT_EQ(desc.lblCaption.Caption(), "Net");
    EXPECT_EQ(desc.lblPresetDesc.Caption(),
              "Frequency=7050\r\nModulation=LSB\r\nFilter=2.4 KHz\r\nDate=2025/03/07\r\nTime=09:05");
    EXPECT_EQ(QApplication::activeWindow(), &form); // the popup never takes the focus
    save(desc, "preset_popup.png");
    save(form, "band_plan_frame.png");
    QTest::mouseMove(controls.picSubBands.widget(), QPoint(10, 22)); // under the hidden second row
    EXPECT_FALSE(desc.isVisible());
}

TEST_F(BandPlanWindow, TheMenuOpensTheDialogAndSaveWritesThePreset) {
    click(controls.optSubBand[1], Qt::LeftButton);
    vfoObject.setTunedFrequency(70'301'000);
    bool opened = false;
    modal.Opened = [&](frmEditUserPreset& f) {
        opened = true;
        EXPECT_EQ(f.Caption(), "NerixSDR - Save Current Settings to Preset 5");
        EXPECT_EQ(f.cmdSave.Caption(), "&Save");
        EXPECT_EQ(f.txtPresetValues[1].Text(), "7 030 100");
        // Whatever clicks the dialog from outside finds its buttons at their design places.
        for (const auto& [place, button] :
             {std::pair{frontpanel::design::presetDialogSave, &f.cmdSave},
              std::pair{frontpanel::design::presetDialogCancel, &f.cmdCancel}}) {
            const ui::PixelRect r = ui::DesignPath(place).pixels();
            EXPECT_EQ(f.childAt(r.centreX(), r.centreY()), button->widget()) << button->Caption();
        }
        auto* frequency = static_cast<QLineEdit*>(f.txtPresetValues[1].widget());
        frequency->selectAll();
        QTest::keyClicks(frequency, "9999999999");
        auto* description = static_cast<QLineEdit*>(f.txtPresetValues[0].widget());
        description->selectAll();
        QTest::keyClicks(description, "Evening net");
        click(f.optDemodulationValue[1], Qt::LeftButton);
        save(f, "preset_dialog.png");
        dialogs.msgBoxAnswers.push_back(runtime::mb::kOk);
        click(f.cmdSave, Qt::LeftButton);
        EXPECT_TRUE(f.isVisible()); // refused: the dialog stays open
        frequency->selectAll();
        QTest::keyClicks(frequency, "7 030 500");
        click(f.cmdSave, Qt::LeftButton);
    };
    dialogs.menuAnswers = {0};
    click(controls.optPreset[5], Qt::RightButton);
    EXPECT_TRUE(opened);
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0].prompt, frontpanel::frequencyRefusedMessage());
    EXPECT_EQ(dialogs.menus.size(), 1u); // once per click
    const PresetRec& p = preset(0, 1, 5);
    EXPECT_EQ(p.Settings.FreqCurrent, 7030500);
    EXPECT_EQ(p.Description, "Evening net");
    EXPECT_EQ(p.Settings.DemodMode, 1);
    EXPECT_TRUE(p.Settings.Dirty);
    EXPECT_EQ(controls.optPreset[5].Caption(), "7031");
    EXPECT_EQ(tunedHz(), 7030500);
}

} // namespace
