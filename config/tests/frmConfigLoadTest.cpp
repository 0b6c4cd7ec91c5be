// The configuration dialog's filling from a live receiver of fakes and simulators, what it does with
// values the controls cannot show, and the window's three states: shown, hidden and unloaded.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "config/ConfigSliders.h"
#include "config/ConfigTexts.h"
#include "config/tests/ConfigWorld.h"
#include "platform/profile/testing/TempFolder.h"

using configtest::click;
using configtest::TraceLog;
using configtest::World;

namespace {

// ---- The filling

TEST(ConfigFilling, FrequencyPeriodAndAddressTextsInTheUsersLocale) {
    for (const bool german : {false, true}) {
        SCOPED_TRACE(german ? "German" : "English");
        std::unique_ptr<profile::testing::ScopedGermanLocale> locale;
        if (german) {
            locale = std::make_unique<profile::testing::ScopedGermanLocale>();
            if (!locale->active()) continue;
        }
        const struct {
            int32_t ifHertz;
            double clock;
            const char* ifText;
            const char* clockText;
        } cases[] = {{455'000, 125e6, "0 455 000", "125 000 000"},
                     {12'000, 1e8, "0 012 000", "100 000 000"},
                     {0, 0, "0 000 000", "0 000 000"},
                     {-455'000, 48'000, "0 455 000", "0 048 000"}};
        for (const auto& c : cases) {
            World w;
            w.vfo.setIFFrequency(c.ifHertz);
            w.osc.clock = c.clock;
            w.osc.base = 12'340'000;
            const auto d = w.load();
            EXPECT_EQ(d->txtIFFrequency.Text(), c.ifText);
            EXPECT_EQ(d->txtDDSClkin.Text(), c.clockText);
            EXPECT_EQ(d->txtXtalFrequency.Text(), "12340000");
            EXPECT_EQ(d->txtBitPeriod.Text(), german ? "0,000005000" : "0.000005000");
            EXPECT_EQ(d->txtParallelPortBitPeriod.Text(), german ? "0,000005000" : "0.000005000");
            EXPECT_EQ(d->txtPortAddress.Text(), "&H378");
        }
    }
}

TEST(ConfigFilling, EveryControlTakesTheLiveValue) {
    World w;
    w.state.PhaseBitCorrection = true;
    w.state.SPLAvailable = true;
    w.state.UseSPL = true;
    w.state.EnableShaftEncoder = true;
    w.state.ShaftAutoRate = true;
    w.state.KBDSupport = true;
    w.state.AutoStartSDR = true;
    w.state.HiLiteBorder = true;
    w.state.DRM.RunDreamOnDRM = true;
    w.state.DRM.DreamWindowStyle = 2;
    w.state.DRM.PathToDream = "/opt/dream/dream";
    w.state.DRM.DreamProgArgs = "-f %CurFreq%";
    w.state.RunPriority = 32;
    w.vfo.setHiSideLo(false);
    w.vfo.setDDSInterfaceType(5);
    w.serial.portNo = 16;
    w.parallel = {};
    w.parallel.portAddress = 0x3BC;
    w.parallel.inverting = true;
    w.parallel.ioupd = 7;
    w.parallel.sclck = 6;
    w.parallel.sdata = 5;
    w.analyser.hideFreqToolTip = true;
    w.knobs.records[config::lblSpectrumSmoothIndex].value = 2.5f;
    const auto d = w.load();
    EXPECT_FALSE(d->Loading());
    EXPECT_TRUE(w.state.ConfigDialogOpen);
    EXPECT_EQ(d->chkADCDelayBitCorrection.Value(), 1);
    EXPECT_TRUE(d->chkUseSPL.Enabled());
    EXPECT_EQ(d->chkUseSPL.Value(), 1);
    EXPECT_TRUE(d->chkShaftAutoRate.Enabled());
    EXPECT_EQ(d->chkShaftAutoRate.Value(), 1);
    EXPECT_EQ(d->chkKBDSupport.Value(), 1);
    EXPECT_EQ(d->chkAutoStartSDR.Value(), 1);
    EXPECT_EQ(d->chkAutoTrackPresets.Value(), 0);
    EXPECT_EQ(d->chkScollLabelHiliteBorder.Value(), 1);
    EXPECT_EQ(d->chkLoLO.Value(), 1);
    EXPECT_EQ(d->chkAutoDDSRefresh.Value(), 1);
    EXPECT_TRUE(d->optIF[5].Value());
    EXPECT_EQ(d->InitialDDSInterfaceType, 5);
    EXPECT_EQ(d->chkDreamRunOnDRM.Value(), 1);
    EXPECT_TRUE(d->optDreamWindow[2].Value());
    EXPECT_EQ(d->txtPathToDream.Text(), "/opt/dream/dream");
    EXPECT_EQ(d->txtDreamProgArgs.Text(), "-f %CurFreq%");
    EXPECT_EQ(d->cboComPort.Text(), "16");
    EXPECT_EQ(d->txtPortAddress.Text(), "&H3BC");
    EXPECT_EQ(d->chkInvertingIF.Value(), 1);
    EXPECT_EQ(d->cboIOUPDBitNo.ListIndex(), 7);
    EXPECT_EQ(d->cboSCLCKBitNo.ListIndex(), 6);
    EXPECT_EQ(d->cboSDATABitNo.ListIndex(), 5);
    EXPECT_EQ(d->NewIOUPDBitNo, 7);
    EXPECT_EQ(d->NewSCLCKBitNo, 6);
    EXPECT_EQ(d->NewSDATABitNo, 5);
    EXPECT_EQ(d->cboRunPriority.Text(), "Normal");
    EXPECT_EQ(d->NewRunPriority, 32);
    EXPECT_EQ(d->chkSpectrumDisplayHideToolTip.Value(), 1);
    EXPECT_EQ(d->txtSpectrumDisplaySmoothingCount.Text(), "2.5");
    EXPECT_EQ(d->txtSaveRecordingsPath.Text(), "/home/user/recordings");
    EXPECT_EQ(d->cboPlayDevices.ListIndex(), 2);
    EXPECT_EQ(d->cboCapDevices.ListIndex(), 0);
    EXPECT_EQ(d->InitialPlaybackDevice, 3);
    EXPECT_EQ(d->InitialCaptureDevice, 1);
    EXPECT_EQ(d->InitialSDRModelNo, 2);
    EXPECT_EQ(d->NewSDRModelNo, 2); // selecting the model in use ran its handler, which waits for Loading
    EXPECT_EQ(d->cboSDRModel.Text(), "IQ,AD9850 DDS");

    // The colours, and the kept copy the preview puts back: tuning before the two frame colours.
    const SDRColourScheme& s = w.state.SDRColourSchemes;
    const std::array<int32_t, 16> kept{
        s.Background,       s.Label,  s.Tuning, s.FrameNormal, s.FrameFocus, s.ScrollLabelNormal,
        s.ScrollLabelFocus, 0,        0x000000, 0x007F00,      0x00FF00,     0x00FFFF,
        0x0000C0,           0xC0FF60, 0xFFFF00, 0xFF7F00};
    EXPECT_EQ(d->InitialColours, kept);
    EXPECT_EQ(frmConfig::swatchColour(d->shpSDRTuningColour), s.Tuning);
    EXPECT_EQ(frmConfig::swatchColour(d->shpSDRFrameFocusColour), s.FrameFocus);
    EXPECT_EQ(frmConfig::swatchColour(d->shpScopeNotchFilterColour), 0xC0FF60);
    EXPECT_EQ(frmConfig::swatchColour(d->shpScopeYTextColour), 0xFF7F00);
}

TEST(ConfigFilling, MultipliersShowTheNearestListedPowerOfTwo) {
    const struct {
        int32_t multiplier;
        const char* shown;
        bool traced;
    } cases[] = {{4, "4", false}, {3, "4", false}, {6, "8", false},
                 {0, "1", true},  {16, "8", true}, {-4, "1", true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.multiplier);
        World w;
        w.vfo.setOscMultiplier(c.multiplier);
        w.vfo.setPLLMultiplier(64);
        TraceLog log;
        const auto d = w.load();
        EXPECT_EQ(d->cboVFOMult.Text(), c.shown);
        EXPECT_EQ(d->cboPLLMultiplier.Text(), "64");
        EXPECT_EQ(log.mentions("OscMultiplier"), c.traced);
    }
}

TEST(ConfigFilling, APriorityOutsideTheListShowsRealtimeAndBecomesIt) {
    World w;
    w.state.RunPriority = 100;
    const auto d = w.load();
    EXPECT_EQ(d->cboRunPriority.Text(), "Realtime");
    EXPECT_EQ(d->NewRunPriority, 256);
}

TEST(ConfigFilling, OpeningPutsTheSlidersOnTheCorrectionInForceAndQuantisesIt) {
    World w;
    w.hilbert.PhaseAngle = 0.1;
    w.state.SoundcardCorrectionAmpBalance = 1.0f;
    w.state.FiltersDirty = false;
    const auto d = w.load();
    EXPECT_EQ(d->sldPhaseAngle.Value(), 573);
    EXPECT_EQ(w.hilbert.PhaseAngle, 573 / 100.0 * 3.14159265358979 / 180);
    EXPECT_TRUE(w.state.FiltersDirty);
    EXPECT_EQ(d->lblPhaseAngle.Caption(), "05.73 Degrees");
    EXPECT_EQ(d->sldPhaseAngle.ToolTipText(), "0.1000 Radians");
    EXPECT_EQ(d->sldAmpBalance.Value(), 10000);
    EXPECT_EQ(w.state.SoundcardCorrectionAmpBalance, 1.0f);
    EXPECT_EQ(d->lblAmplitudeGain.Caption(), "1.0000");
}

TEST(ConfigFilling, ValuesTheControlsCannotShowSelectNoneAndTheFillingGoesOn) {
    const struct {
        const char* name;
        std::function<void(World&)> store;
        std::function<bool(const frmConfig&)> shown;
        const char* traced;
    } cases[] = {
        {"model number", [](World& w) { w.state.SDRModelNo = 25; },
         [](const frmConfig& d) { return d.cboSDRModel.ListIndex() == -1; }, "SDRModelNo 25"},
        {"interface type", [](World& w) { w.vfo.setDDSInterfaceType(9); },
         [](const frmConfig& d) {
             bool none = true;
             d.optIF.forEach([&](const ui::OptionButton& o) { none = none && !o.Value(); });
             return none && d.InitialDDSInterfaceType == 9;
         },
         "DDSInterfaceType 9"},
        {"bit number", [](World& w) { w.parallel.sclck = 9; },
         [](const frmConfig& d) {
             return d.cboSCLCKBitNo.ListIndex() == -1 && d.cboIOUPDBitNo.ListIndex() == 2;
         },
         "SCLCKBitNo 9"},
        {"COM port", [](World& w) { w.serial.portNo = 17; },
         [](const frmConfig& d) { return d.cboComPort.ListIndex() == -1; }, "COM port 17"},
        {"device number", [](World& w) { w.soundCard().setCurrentCaptureDevice(5); },
         [](const frmConfig& d) { return d.cboCapDevices.ListIndex() == -1 && d.InitialCaptureDevice == 5; },
         "capture device 5"},
        {"window style", [](World& w) { w.state.DRM.DreamWindowStyle = 3; },
         [](const frmConfig& d) {
             return !d.optDreamWindow[0].Value() && !d.optDreamWindow[1].Value() &&
                    !d.optDreamWindow[2].Value();
         },
         "DreamWindowStyle 3"},
        {"phase angle", [](World& w) { w.hilbert.PhaseAngle = 2.0; },
         [](const frmConfig& d) { return d.sldPhaseAngle.Value() == 3000; }, "sldPhaseAngle"},
        {"amplitude balance", [](World& w) { w.state.SoundcardCorrectionAmpBalance = 5.0f; },
         [](const frmConfig& d) { return d.sldAmpBalance.Value() == 20000; }, "sldAmpBalance"},
        {"crystal load", [](World& w) { w.cy.keepXtalCap(300); },
         [](const frmConfig& d) { return d.sldCY27EE16XtalCap.Value() == 255; }, "XtalCap"},
        {"no oscillator", [](World& w) { w.vfo.setOscType(nullptr); },
         [](const frmConfig& d) { return d.txtDDSClkin.Text().empty() && d.txtIFFrequency.Text().empty(); },
         "Vfo.OscType"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        World w;
        c.store(w);
        TraceLog log;
        const auto d = w.load();
        EXPECT_TRUE(c.shown(*d));
        EXPECT_TRUE(log.mentions(c.traced));
        // The steps after it still ran, to the last.
        EXPECT_EQ(d->txtSaveRecordingsPath.Text(), "/home/user/recordings");
        EXPECT_EQ(d->sldCY27EE16XtalCap.Value(), std::min(w.cy.XtalCap(), 255));
        EXPECT_FALSE(d->Loading());
    }
}

TEST(ConfigFilling, WithoutSoundDevicesTheListsStayEmpty) {
    for (const bool engine : {true, false}) {
        SCOPED_TRACE(engine ? "an engine without devices" : "no engine");
        World w;
        w.sound.playbackNames.clear();
        w.sound.captureNames.clear();
        auto d = std::make_unique<frmConfig>(w.context, &w.mainWindow);
        if (engine) d->SoundCard = &w.soundCard();
        d->Load();
        EXPECT_EQ(d->cboPlayDevices.ListCount(), 0);
        EXPECT_EQ(d->cboCapDevices.ListCount(), 0);
        EXPECT_EQ(d->cboPlayDevices.ListIndex(), -1);
        EXPECT_EQ(d->txtSaveRecordingsPath.Text(), "/home/user/recordings");
        EXPECT_EQ(d->sldAmpBalance.Value(), 10000);
    }
}

TEST(ConfigFilling, TheRigListIsEnabledOnlyWhileHamlibIsInUseAndAlwaysShowsTheStoredRig) {
    for (const int32_t model : {18, 2}) {
        SCOPED_TRACE(model);
        World w;
        w.useModel(model);
        w.hamlib.rigNo = 120; // "Yaesu:FT-817"
        const auto d = w.load();
        EXPECT_EQ(d->cboHamLibModel.Enabled(), model == 18);
        ASSERT_EQ(d->cboHamLibModel.ListCount(), w.rigs.RigListCount + 1);
        EXPECT_EQ(d->cboHamLibModel.Text(), "Yaesu:FT-817" + std::string(21, ' ') + " 120");
        EXPECT_EQ(d->cboHamLibModel.ItemData(d->cboHamLibModel.ListIndex()), 120);
        EXPECT_EQ(d->InitialHamLibRigNo, 120);
        EXPECT_EQ(d->NewHamLibRigNo, 120);
        // Sorted by text; each entry's item data is its rig number.
        for (int32_t i = 1; i < d->cboHamLibModel.ListCount(); ++i) {
            const QString a = QString::fromStdString(d->cboHamLibModel.List(i - 1));
            const QString b = QString::fromStdString(d->cboHamLibModel.List(i));
            EXPECT_LE(a.compare(b, Qt::CaseInsensitive), 0) << i;
            EXPECT_EQ(std::stoi(d->cboHamLibModel.List(i).substr(33)), d->cboHamLibModel.ItemData(i));
        }
    }
}

TEST(ConfigFilling, TheGeneratedDecoderArgumentsFollowTheDevicesAndTheIqFlag) {
    for (const bool iq : {true, false}) {
        World w;
        w.setup.CurrentModel.IQMode = iq;
        const auto d = w.load();
        EXPECT_EQ(d->lblSDRDreamArgs.Caption(), iq ? " -M 0 -I 0 -O 1 -C 3" : " -M 0 -I 0 -O 1 ");
    }
}

// ---- The three states

TEST(ConfigLifecycle, ConfigOpensOnceCancelAndOkHideAndTheCloseBoxUnloads) {
    World w;
    NerixDX8& engine = w.soundCard();
    w.host.cmdConfig_Click(&engine);
    frmConfig* first = w.host.dialog();
    ASSERT_NE(first, nullptr);
    EXPECT_TRUE(first->isVisible());
    EXPECT_TRUE(w.state.ConfigDialogOpen);

    // Config while it is open does nothing: nothing is refilled.
    w.vfo.setIFFrequency(455'000);
    w.host.cmdConfig_Click(&engine);
    EXPECT_EQ(w.host.dialog(), first);
    EXPECT_EQ(first->txtIFFrequency.Text(), "0 012 000");

    // Cancel hides with everything kept, a discarded edit included.
    first->txtIFFrequency.setText("777");
    click(first->cmdCancel);
    EXPECT_FALSE(first->isVisible());
    EXPECT_TRUE(first->Cancel);
    EXPECT_FALSE(w.state.ConfigDialogOpen);
    w.host.cmdConfig_Click(&engine);
    EXPECT_EQ(w.host.dialog(), first);
    EXPECT_TRUE(first->isVisible());
    EXPECT_EQ(first->txtIFFrequency.Text(), "777");
    EXPECT_FALSE(w.state.ConfigDialogOpen); // shown again, not loaded again
    w.host.cmdConfig_Click(&engine);
    EXPECT_EQ(w.host.dialog(), first);

    // OK applies what the dialog shows, the edit kept through Cancel included.
    click(first->cmdOK);
    EXPECT_FALSE(first->isVisible());
    EXPECT_FALSE(first->Cancel);
    EXPECT_FALSE(w.state.ConfigDialogOpen);
    EXPECT_EQ(w.vfo.IFFrequency(), 777);

    // The close box unloads; the next opening fills a fresh dialog from the live receiver.
    w.host.cmdConfig_Click(&engine);
    first->close();
    EXPECT_FALSE(first->Loaded());
    EXPECT_FALSE(w.state.ConfigDialogOpen);
    w.vfo.setIFFrequency(455'000);
    w.host.cmdConfig_Click(&engine);
    EXPECT_TRUE(w.state.ConfigDialogOpen);
    EXPECT_EQ(w.host.dialog()->txtIFFrequency.Text(), "0 455 000");
    EXPECT_TRUE(w.host.dialog()->isVisible());
}

} // namespace
