// The configuration dialog's handlers offscreen, driven as a user drives them, over a live receiver of
// fakes and simulators, down to the CY27EE16's pins.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QSlider>
#include <QTest>
#include <QTimer>
#include <functional>
#include <string>
#include <vector>

#include "config/ConfigSliders.h"
#include "config/ConfigTexts.h"
#include "config/tests/ConfigWorld.h"
#include "radio/CalibrateDesign.h"
#include "radio/clsAD9850.h"
#include "radio/frmCalibrate.h"
#include "radio/testing/PinDecoders.h"
#include "radio/testing/Wirings.h"

using configtest::click;
using configtest::TraceLog;
using configtest::World;

namespace {

QSlider* qslider(ui::Slider& s) {
    return static_cast<QSlider*>(s.widget());
}

frmCalibrate* calibrationOf(frmConfig& dialog) {
    for (QObject* child : dialog.children())
        if (auto* form = dynamic_cast<frmCalibrate*>(child)) return form;
    return nullptr;
}

std::vector<std::vector<uint8_t>> i2cWrites(const World& w) {
    std::vector<std::vector<uint8_t>> writes;
    for (const auto& t : pins::decodeI2C(pins::twoWireSamples(w.trace, pins::wiring::serialI2C(1))))
        writes.push_back(t.bytes);
    return writes;
}

// ---- The handlers, as the user drives them

TEST(ConfigHandlers, ARightClickResetsEachCorrectionSliderAndAnyClickRunsItsHandler) {
    World w;
    w.hilbert.PhaseAngle = -0.2;
    w.state.SoundcardCorrectionAmpBalance = 1.25f;
    w.host.cmdConfig_Click(&w.soundCard());
    frmConfig& d = *w.host.dialog();
    d.TabStrip1.setSelectedItem(2);

    click(d.sldAmpBalance, Qt::RightButton);
    EXPECT_EQ(d.sldAmpBalance.Value(), 10000);
    EXPECT_EQ(d.lblAmplitudeGain.Caption(), "1.0000");
    EXPECT_EQ(w.state.SoundcardCorrectionAmpBalance, 1.0f);
    // The left button on the thumb moves nothing and still runs the handler.
    w.state.SoundcardCorrectionAmpBalance = 0.5f;
    click(d.sldAmpBalance);
    EXPECT_EQ(d.sldAmpBalance.Value(), 10000);
    EXPECT_EQ(w.state.SoundcardCorrectionAmpBalance, 1.0f);

    w.state.FiltersDirty = false;
    click(d.sldPhaseAngle, Qt::RightButton);
    EXPECT_EQ(d.sldPhaseAngle.Value(), 0);
    EXPECT_EQ(d.lblPhaseAngle.Caption(), "00.00 Degrees");
    EXPECT_EQ(d.sldPhaseAngle.ToolTipText(), "0.0000 Radians");
    EXPECT_EQ(w.hilbert.PhaseAngle, 0.0);
    EXPECT_TRUE(w.state.FiltersDirty);

    // The crystal load slider has no reset.
    d.TabStrip1.setSelectedItem(4);
    qslider(d.sldCY27EE16XtalCap)->setValue(40);
    click(d.sldCY27EE16XtalCap, Qt::RightButton);
    EXPECT_EQ(d.sldCY27EE16XtalCap.Value(), 40);
}

TEST(ConfigHandlers, ANotificationNestedInTheRepaintLeavesTheNewestValueInForce) {
    World w;
    const auto d = w.load();
    int pumps = 0;
    std::function<void()> nested;
    const runtime::ScopedHooks hooks{runtime::Hooks{[&] {
                                                        if (++pumps == 1 && nested) nested();
                                                    },
                                                    {},
                                                    {}}};
    nested = [&] { qslider(d->sldAmpBalance)->setValue(15000); };
    qslider(d->sldAmpBalance)->setValue(5000); // the user drags, and drags on while the read-out repaints
    EXPECT_EQ(w.state.SoundcardCorrectionAmpBalance, 1.5f);
    EXPECT_EQ(d->lblAmplitudeGain.Caption(), "1.5000");

    pumps = 0;
    nested = [&] { qslider(d->sldPhaseAngle)->setValue(-2000); };
    qslider(d->sldPhaseAngle)->setValue(1000);
    EXPECT_EQ(w.hilbert.PhaseAngle, config::angleOf(-2000));
    EXPECT_EQ(d->lblPhaseAngle.Caption(), "-20.00 Degrees");
}

TEST(ConfigHandlers, TheCrystalSliderWritesTheChipOnlyWhileItIsTheOscillatorInUse) {
    for (const bool inUse : {true, false}) {
        SCOPED_TRACE(inUse ? "CY27EE16 in use" : "another oscillator in use");
        World w;
        w.cy.Initialise();
        w.cy.keepXtalCap(40);
        if (inUse) w.vfo.setOscType(&w.cy);
        w.trace.clearKeepingState();

        const auto d = w.load();
        using Writes = std::vector<std::vector<uint8_t>>;
        const Writes fill = inUse ? Writes{{0xD2, 0x13, 40}} : Writes{};
        EXPECT_EQ(i2cWrites(w), fill);
        w.trace.clearKeepingState();
        qslider(d->sldCY27EE16XtalCap)->setValue(77);
        const Writes moved = inUse ? Writes{{0xD2, 0x13, 77}} : Writes{};
        EXPECT_EQ(i2cWrites(w), moved);
        EXPECT_EQ(w.cy.XtalCap(), 77);

        // A kept value reaches the chip at its next initialisation.
        w.trace.clearKeepingState();
        w.cy.Initialise();
        EXPECT_EQ(i2cWrites(w).back(), (std::vector<uint8_t>{0xD2, 0x13, 77}));
    }
}

TEST(ConfigHandlers, AnEntryChosenInAComboIsPendingAndTypedTextChoosesNone) {
    World w;
    w.host.cmdConfig_Click(&w.soundCard());
    frmConfig& d = *w.host.dialog();
    auto* priority = static_cast<QComboBox*>(d.cboRunPriority.widget());
    EXPECT_EQ(d.NewRunPriority, 256);
    QTest::keyClick(priority, Qt::Key_Down);
    EXPECT_EQ(d.cboRunPriority.Text(), "High");
    EXPECT_EQ(d.NewRunPriority, 128);
    EXPECT_EQ(w.state.RunPriority, 256); // nothing in force before Apply

    priority->lineEdit()->selectAll();
    QTest::keyClicks(priority->lineEdit(), "Low");
    EXPECT_EQ(d.cboRunPriority.Text(), "Low");
    EXPECT_EQ(d.cboRunPriority.ListIndex(), -1);
    EXPECT_EQ(d.NewRunPriority, 128);

    auto* divider = static_cast<QComboBox*>(d.cboVFOMult.widget());
    divider->lineEdit()->selectAll();
    QTest::keyClicks(divider->lineEdit(), "3");
    EXPECT_EQ(d.cboVFOMult.ListIndex(), -1);
    EXPECT_EQ(d.cboVFOMult.Text(), "3");
}

TEST(ConfigHandlers, ChoosingAModelLoadsItsSettingsIntoTheDialogOnly) {
    World w;
    w.store.SaveSetting("NerixSDR", "RXModel.NTI DRB 30", "IFFrequency", "-455000");
    w.store.SaveSetting("NerixSDR", "RXModel.NTI DRB 30", "SDATABitNo", "6");
    const auto d = w.load();
    d->optIF[5].setValue(true); // a kind chosen before the model
    TraceLog log;
    d->cboSDRModel.setListIndex(15);
    EXPECT_EQ(d->NewSDRModelNo, 15);
    EXPECT_EQ(d->txtIFFrequency.Text(), "0 455 000");
    EXPECT_EQ(d->cboVFOMult.Text(), "1");
    EXPECT_EQ(d->cboPLLMultiplier.Text(), "1");
    EXPECT_TRUE(d->optIF[1].Value());
    EXPECT_FALSE(d->optIF[5].Value());
    EXPECT_EQ(d->chkInvertingIF.Value(), 0);
    EXPECT_EQ(d->NewIOUPDBitNo, d->cboIOUPDBitNo.ListIndex());
    EXPECT_EQ(d->NewIOUPDBitNo, 1);
    EXPECT_EQ(d->NewSCLCKBitNo, 2);
    EXPECT_EQ(d->NewSDATABitNo, 6);
    EXPECT_EQ(d->txtDDSClkin.Text(), "360 080 000");
    EXPECT_EQ(d->txtXtalFrequency.Text(), "0 000 001");
    EXPECT_FALSE(d->cboHamLibModel.Enabled());
    EXPECT_TRUE(log.lines.empty());
    // The receiver in use is not touched.
    EXPECT_EQ(w.vfo.IFFrequency(), 12'000);
    EXPECT_EQ(w.vfo.DDSInterfaceType(), 1);
    EXPECT_EQ(w.state.SDRModelNo, 2);

    d->cboSDRModel.setListIndex(18);
    EXPECT_TRUE(d->cboHamLibModel.Enabled());
    EXPECT_TRUE(d->optIF[3].Value());
    // A stored kind no option can show selects none.
    w.store.SaveSetting("NerixSDR", "RXModel.IQ,AD9850 DDS", "DDSInterfaceType", "9");
    d->cboSDRModel.setListIndex(2);
    EXPECT_FALSE(d->cboHamLibModel.Enabled());
    for (int16_t i = 0; i < 7; ++i)
        EXPECT_FALSE(d->optIF[i].Value()) << i;
}

TEST(ConfigHandlers, TheDefaultButtonsFillTheLineAndDecoderSettings) {
    World w;
    w.parallel.inverting = true;
    const auto d = w.load();
    d->txtBitPeriod.setText("1");
    d->cmdBitPeriodDefault.setValue(true);
    EXPECT_EQ(d->txtBitPeriod.Text(), "0.000005000");

    // The parallel defaults come from the model chosen in the dialog, not the one in use.
    d->cboSDRModel.setListIndex(15);
    d->txtPortAddress.setText("&H3BC");
    d->cboIOUPDBitNo.setListIndex(7);
    d->chkInvertingIF.setValue(1);
    d->cmdParallelPortDefaults.setValue(true);
    EXPECT_EQ(d->txtPortAddress.Text(), "&H378");
    EXPECT_EQ(d->txtParallelPortBitPeriod.Text(), "0.000005000");
    EXPECT_EQ(d->cboIOUPDBitNo.ListIndex(), 1);
    EXPECT_EQ(d->cboSCLCKBitNo.ListIndex(), 2);
    EXPECT_EQ(d->cboSDATABitNo.ListIndex(), 3);
    EXPECT_EQ(d->NewIOUPDBitNo, 1);
    EXPECT_EQ(d->chkInvertingIF.Value(), 0);

    d->chkDreamRunOnDRM.setValue(1);
    d->chkCloseSoundCardOnDRM.setValue(1);
    d->txtPathToDream.setText("/opt/dream/dream");
    d->optDreamWindow[2].setValue(true);
    d->cmdDreamDefault.setValue(true);
    EXPECT_EQ(d->chkMuteAFOnDRM.Value(), 1);
    EXPECT_EQ(d->chkCloseSoundCardOnDRM.Value(), 0);
    EXPECT_EQ(d->chkDreamCloseOnExit.Value(), 1);
    EXPECT_EQ(d->chkDreamCloseOnModeChange.Value(), 1);
    EXPECT_TRUE(d->optDreamWindow[1].Value());
    EXPECT_EQ(d->chkDreamRunOnDRM.Value(), 1);
    EXPECT_EQ(d->txtPathToDream.Text(), "/opt/dream/dream");
}

TEST(ConfigHandlers, TheProgramAndTheRecordingsFolderAreChosenThroughTheSharedFileDialog) {
    World w;
    w.state.SaveRecordingsPath = "/home/user/rec";
    const auto d = w.load();
    w.dialogs.fileAnswers.push_back(ui::FileDialogResult{{"/opt/dream/dream"}, 1, false});
    d->cmdFindDREAM.setValue(true);
    EXPECT_EQ(d->txtPathToDream.Text(), "/opt/dream/dream");
    const ui::FileDialogRequest browse = w.dialogs.fileRequests.back();
    EXPECT_TRUE(browse.isOpen);
    EXPECT_EQ(browse.title, "Select DREAM executable");
    EXPECT_EQ(browse.initialDirectory, "/usr/bin");
    EXPECT_EQ(browse.fileName, "dream.exe");
    EXPECT_TRUE(browse.fileMustExist);
    EXPECT_FALSE(browse.allowMultiSelect);
    EXPECT_FALSE(browse.showReadOnly);
    EXPECT_EQ(browse.defaultExtension, "");
    EXPECT_EQ(browse.filters, (std::vector<std::pair<std::string, std::string>>{{"Executables (*)", "*"}}));

    const struct {
        const char* chosen;
        const char* folder;
    } folders[] = {{"/home/user/other/dummy.wav", "/home/user/other"}, {"/dummy.wav", "/"}};
    for (const auto& f : folders) {
        w.dialogs.fileAnswers.push_back(ui::FileDialogResult{{f.chosen}, 1, false});
        d->cmdSavePath.setValue(true);
        EXPECT_EQ(d->txtSaveRecordingsPath.Text(), f.folder);
        const ui::FileDialogRequest save = w.dialogs.fileRequests.back();
        EXPECT_EQ(save.title, "Select Path for Saving Recordings");
        // The folder in force, not the box's text.
        EXPECT_EQ(save.initialDirectory, "/home/user/rec");
        EXPECT_EQ(save.fileName, "dummy");
        EXPECT_EQ(save.defaultExtension, "wav");
        // The must-exist of the program's dialog does not keep the made-up name from being confirmed.
        EXPECT_FALSE(save.fileMustExist);
        EXPECT_FALSE(save.createPrompt);
        EXPECT_EQ(save.filters,
                  (std::vector<std::pair<std::string, std::string>>{{"Directories (*.wav)", "*.wav"}}));
    }

    // A cancelled dialog keeps the box as it was, whatever an earlier dialog chose.
    w.dialogs.fileAnswers.push_back(std::nullopt);
    d->cmdSavePath.setValue(true);
    EXPECT_EQ(d->txtSaveRecordingsPath.Text(), "/");
    w.dialogs.fileAnswers.push_back(std::nullopt);
    d->cmdFindDREAM.setValue(true);
    EXPECT_EQ(d->txtPathToDream.Text(), "/opt/dream/dream");
    EXPECT_EQ(w.dialogs.unexpected, 0);
}

TEST(ConfigHandlers, CalibrateRefillsTheClockOnlyWhenTheCalibrationApplied) {
    World w;
    clsAD9850 dds(w.store);
    dds.setClkIn(100'000'000);
    dds.setBaseFrequency(0);
    dds.setIFHandler(&w.nullLine);
    dds.Initialise();
    w.vfo.setOscType(&dds);
    w.vfo.setOscMultiplier(1);
    w.vfo.setRXMinFreq(0);
    w.vfo.setRxMaxFreq(100'000'000);
    w.vfo.setIFFrequency(455'000);
    w.vfo.setTunedFrequency(71'000'200);
    w.host.cmdConfig_Click(&w.soundCard());
    frmConfig& d = *w.host.dialog();
    EXPECT_EQ(d.txtDDSClkin.Text(), "100 000 000");

    // The user edits the box, then cancels the calibration: the edit stays.
    d.txtDDSClkin.setText("99 000 000");
    bool modal = false;
    QTimer::singleShot(0, &d, [&] {
        frmCalibrate* calibrate = calibrationOf(d);
        ASSERT_NE(calibrate, nullptr);
        modal = QApplication::activeModalWidget() == calibrate;
        for (const auto& [place, button] : {std::pair{radio::design::cmdTry, &calibrate->cmdTry},
                                            std::pair{radio::design::cmdApply, &calibrate->cmdApply},
                                            std::pair{radio::design::cmdCancel, &calibrate->cmdCancel}}) {
            const ui::PixelRect r = ui::DesignPath(place).pixels();
            EXPECT_EQ(calibrate->childAt(r.centreX(), r.centreY()), button->widget()) << button->Caption();
        }
        calibrate->cmdCancel.setValue(true);
    });
    d.cmdCalDDS.setValue(true);
    EXPECT_TRUE(modal);
    EXPECT_EQ(d.txtDDSClkin.Text(), "99 000 000");

    QTimer::singleShot(0, &d, [&] {
        frmCalibrate* calibrate = calibrationOf(d);
        ASSERT_NE(calibrate, nullptr);
        calibrate->txtOfficialFreq.setText("7100000");
        calibrate->cmdApply.setValue(true);
    });
    d.cmdCalDDS.setValue(true);
    EXPECT_NE(dds.ClkIn(), 100'000'000);
    EXPECT_EQ(d.txtDDSClkin.Text(), config::frequencyText(dds.ClkIn()));
    w.vfo.setOscType(&w.osc);
}

TEST(ConfigHandlers, AnInterfaceChoiceChangesNothingElseAndUsbCannotBeChosen) {
    World w;
    w.host.cmdConfig_Click(&w.soundCard());
    frmConfig& d = *w.host.dialog();
    d.TabStrip1.setSelectedItem(4);
    const std::string clock = d.txtDDSClkin.Text();
    static_cast<QAbstractButton*>(d.optIF[0].widget())->click();
    EXPECT_TRUE(d.optIF[0].Value());
    EXPECT_FALSE(d.optIF[1].Value());
    EXPECT_EQ(d.InitialDDSInterfaceType, 1);
    EXPECT_EQ(w.vfo.DDSInterfaceType(), 1);
    EXPECT_EQ(d.txtDDSClkin.Text(), clock);
    click(d.optIF[2]);
    EXPECT_FALSE(d.optIF[2].Value());
    EXPECT_TRUE(d.optIF[0].Value());
}

TEST(ConfigHandlers, TheEncoderBoxEnablesItsCompanionWithoutTouchingItsTick) {
    World w;
    w.state.ShaftAutoRate = true;
    const auto d = w.load();
    EXPECT_FALSE(d->chkShaftAutoRate.Enabled());
    d->chkEnableEncoder.setValue(1);
    EXPECT_TRUE(d->chkShaftAutoRate.Enabled());
    d->chkEnableEncoder.setValue(2); // a grey box counts as not ticked
    EXPECT_FALSE(d->chkShaftAutoRate.Enabled());
    d->chkEnableEncoder.setValue(0);
    EXPECT_FALSE(d->chkShaftAutoRate.Enabled());
    EXPECT_EQ(d->chkShaftAutoRate.Value(), 1);
}

} // namespace
