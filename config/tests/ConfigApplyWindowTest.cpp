// Apply, OK and the "Controls" tab on the window, driven as a user drives them: what the controls show
// reaches the live receiver, Apply cannot nest, the colour buttons, Defaults and Preview work on the
// swatches and the live colours, and the theme buttons save and load through the shared file dialog.
#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <QTest>
#include <QWindow>
#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "config/ColourScheme.h"
#include "config/tests/ConfigWorld.h"
#include "dsp/frmDX8Events.h"
#include "platform/profile/testing/TempFolder.h"
#include "platform/ui/Twips.h"

using config::Swatch;
using configtest::World;

namespace {

constexpr int32_t kScaled = 0x00BFBF00;

// The window shown with a tab in front, as the user sees it.
frmConfig& shownOn(World& w, int16_t tab) {
    w.host.cmdConfig_Click(&w.soundCard());
    frmConfig& d = *w.host.dialog();
    d.TabStrip1.setSelectedItem(tab);
    return d;
}

QPoint centreInWindow(const ui::Control& c) {
    return c.widget()->mapTo(c.widget()->window(), c.widget()->rect().center());
}

config::SwatchColours distinct() {
    config::SwatchColours s;
    for (std::size_t i = 0; i < config::kSwatchCount; ++i)
        s.colours[i] = 0x102030 + static_cast<int32_t>(i) * 0x010101;
    return s;
}

// The engine as the main window sets it up, with its event form, started.
void startSound(NerixDX8& engine, frmDX8Events& form) {
    engine.setFSampling(48000);
    engine.setNoChannelsIn(2);
    engine.setNoChannelsOut(1);
    engine.setNoBlocksInBuffer(2);
    engine.setSamplesPerEvent(2048);
    form.Load();
    ASSERT_EQ(engine.StartSound(), 0);
}

} // namespace

TEST(ConfigApplyWindow, WhatTheControlsShowReachesTheLiveReceiver) {
    World w;
    w.vfo.setName("RXModel.IQ,AD9850 DDS");
    frmConfig& d = shownOn(w, 3);
    d.txtIFFrequency.setText("0 455 000");
    d.chkLoLO.setValue(1);
    d.cboVFOMult.setListIndex(1);
    d.txtPortAddress.setText("&H3BC");
    d.txtParallelPortBitPeriod.setText("0.000010000");
    d.cboSCLCKBitNo.setListIndex(6);
    d.chkInvertingIF.setValue(1);
    d.chkDreamRunOnDRM.setValue(1);
    d.txtSpectrumDisplaySmoothingCount.setText("12");
    d.cmdSDRControlDefaults.setValue(true);
    d.chkScollLabelHiliteBorder.setValue(1);
    d.FormCaptionOffOnPwrOn.setValue(1);
    d.cboRunPriority.setListIndex(2);
    d.cmdApply.setValue(true);

    EXPECT_EQ(w.vfo.IFFrequency(), 455'000);
    EXPECT_FALSE(w.vfo.HiSideLo());
    // The settings were saved before anything changed, and Apply wrote nothing after.
    EXPECT_EQ(w.store.GetSetting("NerixSDR", "RXModel.IQ,AD9850 DDS", "IFFrequency"), "12000");
    EXPECT_EQ(w.store.GetSetting("NerixSDR", "RXModel.IQ,AD9850 DDS", "HiSideLo"), "True");
    EXPECT_EQ(w.vfo.OscMultiplier(), 2);
    EXPECT_EQ(w.parallel.portAddress, 0x3BC);
    EXPECT_EQ(w.parallel.waitTime, 1e-5);
    EXPECT_EQ(w.parallel.sclck, 6);
    EXPECT_TRUE(w.parallel.inverting);
    EXPECT_TRUE(w.state.DRM.RunDreamOnDRM);
    EXPECT_EQ(w.analyser.smoothCount, 12);
    EXPECT_EQ(w.knobs.records[config::lblSpectrumSmoothIndex].defaultValue, 12.0f);
    EXPECT_EQ(w.knobs.records[config::lblSpectrumSmoothIndex].value, 8.0f); // the knob's value stays
    EXPECT_EQ(w.state.SDRColourSchemes.FrameNormal, kScaled);
    EXPECT_EQ(w.analyser.FilterCurveColour(), 0xC0C0C0);
    EXPECT_EQ(w.knobs.records[21].normal, kScaled);
    EXPECT_EQ(w.knobs.records[21].focus, 0x0000FF);
    EXPECT_TRUE(w.state.HiLiteBorder);
    EXPECT_EQ(w.state.RunPriority, 32);
    EXPECT_EQ(w.shell.titleBar, false);
    EXPECT_EQ(w.shell.backColor, 0);
    EXPECT_EQ(w.shell.caption, "NerixSDR - IQ,AD9850 DDS");
    EXPECT_EQ(w.shell.calls,
              (std::vector<std::string>{"EncoderSwitchChanged", "ShowTitleBar", "BackColor", "ReColour",
                                        "DarkenControls", "UnFocusFrames", "optDisplaySize_Click(1)"}));
    EXPECT_TRUE(w.dialogs.messages.empty());
    EXPECT_TRUE(d.cmdApply.Enabled());
}

TEST(ConfigApplyWindow, UnderAGermanLocaleThePeriodsApplyAsTheDialogShowsThem) {
    profile::testing::ScopedGermanLocale german;
    if (!german.active()) GTEST_SKIP() << "no German locale on this machine";
    World w;
    w.serial.waitTime = 7.5e-6;
    w.parallel.waitTime = 2.5e-6;
    frmConfig& d = shownOn(w, 5);
    ASSERT_EQ(d.txtBitPeriod.Text(), "0,000007500");
    d.optIF[0].setValue(true);
    d.cmdApply.setValue(true);
    EXPECT_EQ(w.serial.waitTime, 7.5e-6);
    EXPECT_EQ(w.parallel.waitTime, 2.5e-6);
    EXPECT_TRUE(w.dialogs.messages.empty());
}

TEST(ConfigApplyWindow, WhileApplyRunsItsButtonsAreOffAndANestedApplyReturnsAtOnce) {
    World w;
    frmDX8Events form(w.soundCard());
    startSound(w.soundCard(), form);
    frmConfig& d = shownOn(w, 2);
    d.cboPlayDevices.setListIndex(1); // new devices while sound runs: Apply pumps the loop
    std::vector<bool> enabledWhilePumping;
    runtime::ScopedHooks hooks{runtime::Hooks{
        [&] {
            enabledWhilePumping.push_back(d.cmdOK.Enabled() || d.cmdCancel.Enabled() || d.cmdApply.Enabled());
            d.cmdApply.setValue(true); // as a click that waited in the loop
            QApplication::processEvents();
        },
        {},
        {}}};
    d.cmdApply.setValue(true);
    ASSERT_FALSE(enabledWhilePumping.empty());
    EXPECT_EQ(std::count(enabledWhilePumping.begin(), enabledWhilePumping.end(), true), 0);
    EXPECT_EQ(std::count(w.shell.calls.begin(), w.shell.calls.end(), "ReColour"), 1);
    EXPECT_EQ(std::count(w.shell.calls.begin(), w.shell.calls.end(), "StartSound"), 1);
    EXPECT_EQ(w.soundCard().CurrentPlaybackDevice(), 2);
    EXPECT_TRUE(d.cmdOK.Enabled() && d.cmdCancel.Enabled() && d.cmdApply.Enabled());
    EXPECT_FALSE(d.Applying());
}

TEST(ConfigApplyWindow, OkAppliesAndHidesAlsoAfterARefusal) {
    World w;
    frmConfig& d = shownOn(w, 3);
    d.txtIFFrequency.setText("-5");
    d.chkLoLO.setValue(1);
    d.cmdOK.setValue(true);
    ASSERT_EQ(w.dialogs.messages.size(), 1u);
    EXPECT_EQ(w.dialogs.messages[0].prompt, "IF Frequency must be greater than 0.0 MHZ");
    EXPECT_EQ(w.dialogs.messages[0].title, "NerixSDR - Configuration CLKIN - ERROR");
    EXPECT_TRUE(w.vfo.HiSideLo()); // nothing after the refusal
    EXPECT_FALSE(d.isVisible());
    EXPECT_FALSE(d.Cancel);
    EXPECT_FALSE(w.state.ConfigDialogOpen);
}

TEST(ConfigApplyWindow, AModelChangeLeavesTheNewVfoInUseAndTheOldOneSaved) {
    World w;
    frmConfig& d = shownOn(w, 1);
    const clsVFO* old = w.vfoSlot.get();
    w.vfo.setName("RXModel.IQ,AD9850 DDS");
    w.vfo.setIFFrequency(12'345);
    d.cboSDRModel.setListIndex(3);
    d.cmdApply.setValue(true);
    EXPECT_NE(w.vfoSlot.get(), old);
    EXPECT_EQ(w.radio().Vfo, w.vfoSlot.get());
    EXPECT_EQ(w.state.SDRModelNo, 3);
    EXPECT_EQ(d.InitialSDRModelNo, 3);
    EXPECT_EQ(w.store.GetSetting("NerixSDR", "RXModel.IQ,AD9850 DDS", "IFFrequency"), "12345");
    // The new VFO took what the dialog shows.
    EXPECT_EQ(w.vfoSlot->IFFrequency(), 12'000);
    EXPECT_EQ(w.shell.caption, "NerixSDR - IQ,AD9851 DDS");
}

// ---- Colours

TEST(ConfigColoursWindow, AColourButtonPicksIntoItsOwnSwatchAndCancelKeepsIt) {
    World w;
    frmConfig& d = shownOn(w, 9);
    d.setSwatches(distinct());
    w.dialogs.colourAnswers.push_back(std::nullopt);
    d.cmdScopeY2Colour.setValue(true);
    EXPECT_EQ(d.swatches(), distinct());
    ASSERT_EQ(w.dialogs.colourRequests.size(), 1u);
    EXPECT_EQ(w.dialogs.colourRequests[0].initialColour, distinct()[Swatch::ScopeY2]);
    EXPECT_TRUE(w.dialogs.colourRequests[0].fullOpen);

    ui::ColourDialogResult black{0, {}};
    black.customColours[3] = 0x445566;
    w.dialogs.colourAnswers.push_back(black);
    d.cmdSDRTuningColour.setValue(true);
    config::SwatchColours expected = distinct();
    expected[Swatch::SDRTuning] = 0;
    EXPECT_EQ(d.swatches(), expected);
    // The custom colours are the shared dialog object's, for the next pick.
    EXPECT_EQ(w.comDlg.CustomColours[3], 0x445566);
    // Nothing live changes until Apply or Preview.
    EXPECT_EQ(w.state.SDRColourSchemes.Tuning, 0x0000FF);
}

TEST(ConfigColoursWindow, BothDefaultsSetSwatchesOnlyAndTheirFilterCurvesDiffer) {
    World w;
    frmConfig& d = shownOn(w, 9);
    d.setSwatches(distinct());
    d.chkScollLabelHiliteBorder.setValue(1);
    const SDRColourScheme scheme = w.state.SDRColourSchemes;
    d.cmdScopeDefaults.setValue(true);
    EXPECT_EQ(d.swatchColour(d.shpScopeFilterCurveColour), 0x0000C0);
    EXPECT_EQ(d.swatchColour(d.shpSDRLabelColour), distinct()[Swatch::SDRLabel]);
    EXPECT_EQ(d.chkScollLabelHiliteBorder.Value(), 1);
    d.cmdSDRControlDefaults.setValue(true);
    EXPECT_EQ(d.swatchColour(d.shpScopeFilterCurveColour), 0xC0C0C0);
    EXPECT_EQ(d.swatchColour(d.shpSDRLabelColour), kScaled);
    EXPECT_EQ(d.chkScollLabelHiliteBorder.Value(), 0);
    EXPECT_EQ(w.state.SDRColourSchemes.Label, scheme.Label);
    EXPECT_EQ(w.analyser.colours[4], 0x0000C0); // the live filter curve of the filling
}

TEST(ConfigColoursWindow, PreviewFollowsAnyMouseButtonFromPressToReleaseAndNoKey) {
    for (const Qt::MouseButton button : {Qt::LeftButton, Qt::RightButton, Qt::MiddleButton}) {
        World w;
        frmConfig& d = shownOn(w, 9);
        d.setSwatches(distinct());
        const SDRColourScheme before = w.state.SDRColourSchemes;
        const auto analyserBefore = w.analyser.colours;
        const int32_t y1Before = w.analyser.y1;
        QWindow* window = d.windowHandle();
        ASSERT_NE(window, nullptr);
        QTest::mousePress(window, button, Qt::NoModifier, centreInWindow(d.cmdSDRPreviewColours));
        EXPECT_EQ(w.state.SDRColourSchemes.Background, distinct()[Swatch::SDRBackGround]) << button;
        EXPECT_EQ(w.analyser.colours[2], distinct()[Swatch::ScopeY1]) << button;
        EXPECT_EQ(w.shell.backColor, distinct()[Swatch::SDRBackGround]) << button;
        // Released away from the button: the release still comes to it.
        QTest::mouseRelease(window, button, Qt::NoModifier, centreInWindow(d.cmdOK));
        EXPECT_EQ(w.state.SDRColourSchemes.Background, before.Background) << button;
        EXPECT_EQ(w.state.SDRColourSchemes.FrameFocus, before.FrameFocus) << button;
        EXPECT_EQ(w.state.SDRColourSchemes.ScrollLabelNormal, before.ScrollLabelNormal) << button;
        EXPECT_EQ(w.analyser.colours, analyserBefore) << button;
        EXPECT_EQ(w.analyser.y1, y1Before) << button;
        EXPECT_EQ(w.shell.backColor, before.Background) << button;
        EXPECT_EQ(d.swatches(), distinct()) << button; // the swatches are never touched
    }

    World w;
    frmConfig& d = shownOn(w, 9);
    d.setSwatches(distinct());
    d.cmdSDRPreviewColours.SetFocus();
    for (const Qt::Key key : {Qt::Key_Space, Qt::Key_Return, Qt::Key_Enter})
        QTest::keyClick(d.cmdSDRPreviewColours.widget(), key);
    EXPECT_TRUE(w.shell.calls.empty());
    EXPECT_EQ(w.state.SDRColourSchemes.Background, 0);
}

TEST(ConfigColoursWindow, APreviewAfterApplyReturnsToTheAppliedColours) {
    World w;
    frmConfig& d = shownOn(w, 9);
    config::SwatchColours applied = distinct();
    d.setSwatches(applied);
    d.cmdApply.setValue(true);
    config::SwatchColours trying = applied;
    trying[Swatch::SDRBackGround] = 0x0000AA;
    trying[Swatch::ScopeBack] = 0x0000BB;
    d.setSwatches(trying);
    QWindow* window = d.windowHandle();
    QTest::mousePress(window, Qt::LeftButton, Qt::NoModifier, centreInWindow(d.cmdSDRPreviewColours));
    EXPECT_EQ(w.state.SDRColourSchemes.Background, 0x0000AA);
    QTest::mouseRelease(window, Qt::LeftButton, Qt::NoModifier, centreInWindow(d.cmdSDRPreviewColours));
    EXPECT_EQ(w.state.SDRColourSchemes.Background, applied[Swatch::SDRBackGround]);
    EXPECT_EQ(w.analyser.ScopeBackColour(), applied[Swatch::ScopeBack]);
}

TEST(ConfigColoursWindow, TheSwatchesShowTheirColours) {
    World w;
    frmConfig& d = shownOn(w, 9);
    d.setSwatches(distinct());
    const QImage image = d.grab().toImage();
    for (std::size_t i = 0; i < config::kSwatchCount; ++i) {
        ui::Shape& s = d.swatch(static_cast<Swatch>(i));
        const QPoint at = s.widget()->mapTo(&d, s.widget()->rect().center());
        EXPECT_EQ(ui::fromQColor(image.pixelColor(at)), distinct().colours[i])
            << config::swatchName(static_cast<Swatch>(i));
    }
}

// ---- Theme files

TEST(ConfigThemesWindow, SaveAndLoadGoThroughTheOpenDialogInTheProgramFolder) {
    profile::testing::TempFolder home;
    profile::testing::ScopedEnv programFolder("NERIXSDR_HOME", home.path());
    World w;
    frmConfig& d = shownOn(w, 9);
    d.setSwatches(distinct());
    const std::string path = home.path() + "/Night.thm";

    w.dialogs.fileAnswers.push_back(ui::FileDialogResult{{path}, 1, false});
    d.cmdSDRColoursSave.setValue(true);
    const ui::FileDialogRequest save = w.dialogs.fileRequests.back();
    EXPECT_TRUE(save.isOpen);
    EXPECT_EQ(save.title, "Save SDr Colour Theme Filename");
    EXPECT_EQ(save.initialDirectory, home.path());
    EXPECT_TRUE(save.createPrompt);
    EXPECT_FALSE(save.fileMustExist);
    EXPECT_EQ(save.fileName, "");
    EXPECT_EQ(save.defaultExtension, "thm");
    EXPECT_EQ(save.filters,
              (std::vector<std::pair<std::string, std::string>>{{"SDR Colour Themes (*.thm)", "*.thm"}}));
    EXPECT_FALSE(save.showReadOnly);
    EXPECT_FALSE(save.allowMultiSelect);
    EXPECT_NE(profile::testing::TempFolder::readFile(path).find("Name=Night.thm\r\n"), std::string::npos);

    d.cmdSDRControlDefaults.setValue(true);
    w.dialogs.fileAnswers.push_back(ui::FileDialogResult{{path}, 1, false});
    d.cmdSDRColoursLoad.setValue(true);
    const ui::FileDialogRequest load = w.dialogs.fileRequests.back();
    EXPECT_EQ(load.title, "Load SDr Colour Theme Filename");
    EXPECT_TRUE(load.fileMustExist);
    EXPECT_FALSE(load.createPrompt);
    EXPECT_EQ(d.swatches(), distinct());
    EXPECT_EQ(w.state.SDRColourSchemes.Tuning, 0x0000FF); // nothing live until Apply or Preview

    // Cancelled: no file is read or written.
    w.dialogs.fileAnswers.push_back(std::nullopt);
    d.cmdSDRColoursSave.setValue(true);
    w.dialogs.fileAnswers.push_back(std::nullopt);
    d.cmdSDRColoursLoad.setValue(true);
    EXPECT_EQ(d.swatches(), distinct());
    EXPECT_TRUE(w.dialogs.messages.empty());
    EXPECT_EQ(w.dialogs.unexpected, 0);
}

TEST(ConfigThemesWindow, AnUntrustedLoadAndAFailedSaveEachEndInOneMessage) {
    profile::testing::TempFolder home;
    World w;
    frmConfig& d = shownOn(w, 9);
    d.setSwatches(distinct());
    const std::string bad =
        home.write("bad.thm", "[SDRColours]\r\nshpSDRLabelColour=&HFF\r\nshpScopeY1Colour=65280\r\n");
    w.dialogs.fileAnswers.push_back(ui::FileDialogResult{{bad}, 1, false});
    d.cmdSDRColoursLoad.setValue(true);
    config::SwatchColours expected = distinct();
    expected[Swatch::ScopeY1] = 65280;
    EXPECT_EQ(d.swatches(), expected);
    ASSERT_EQ(w.dialogs.messages.size(), 1u);
    EXPECT_EQ(w.dialogs.messages[0].prompt,
              "These colours of " + bad + " are no colours and were not loaded:\r\nshpSDRLabelColour");
    EXPECT_EQ(w.dialogs.messages[0].title, "NerixSDR - Configuration");

    const std::string nowhere = home.path() + "/missing/folder/x.thm";
    w.dialogs.fileAnswers.push_back(ui::FileDialogResult{{nowhere}, 1, false});
    d.cmdSDRColoursSave.setValue(true);
    ASSERT_EQ(w.dialogs.messages.size(), 2u);
    EXPECT_EQ(w.dialogs.messages[1].prompt.rfind("Unable to save colour theme " + nowhere + "\r\n", 0), 0u);
}
