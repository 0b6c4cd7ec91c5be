// The band plan on the main window without widgets: band and sub-band selection over band plan files,
// the preset buttons' captions and presses, the preset menu with its dialog, the popup, the tracking
// timer, and settings blocks put into force through the front panel's real handlers.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>

#include "frame/NumberFormat.h"
#include "frontpanel/PresetEditor.h"
#include "frontpanel/tests/BandPlanRig.h"

using frontpanel::PresetEdit;
using paneltest::BandPlanRig;

namespace {

// Sub-band 0: own block only (ActivePreset -1), step 3000. Sub-band 1: preset 2 in force at 7 050 900 Hz,
// preset 3 used, step 0. Sub-band 2: step 2500, nothing used.
constexpr const char* kForty = R"([MainBand]
Caption=40 m Band
Description=Forty metres
ActiveSubBand=1
NumSubBands=2
[SubBand.0]
Caption=CW
Description=Telegraphy
ActivePreset=-1
FreqMin=7000000
FreqMax=7040000
FreqCurrent=7010000
TuneStep=3000
DemodMode=1
FilterMode=1
FilterHi=-1
FilterLo=-1
AGCOn=True
AGCMode=-1
[SubBand.1]
Caption=SSB
Description=Phone
ActivePreset=2
FreqMin=7040000
FreqMax=7200000
FreqCurrent=7100000
TuneStep=0
DemodMode=2
[Preset.1.2]
Caption=7050
Description=Net
Active=True
When=2025-03-07 09:05:00
FreqCurrent=7050900
DemodMode=2
FilterMode=3
AGCOn=True
AGCMode=2
AGCAttack=12.5
AGCDecay=40
OutputAttenuation=-6
[Preset.1.3]
Caption=7150
Description=Other
Active=False
When=2025-03-08 10:00:00
FreqCurrent=7150000
DemodMode=4
FilterMode=2
[SubBand.2]
Caption=Data
FreqMin=7040000
FreqMax=7050000
FreqCurrent=7045000
TuneStep=2500
)";

constexpr const char* kTwenty = R"([MainBand]
Caption=20 m
ActiveSubBand=0
NumSubBands=0
[SubBand.0]
Caption=All
FreqMin=14000000
FreqMax=14350000
FreqCurrent=14200000
TuneStep=1000
)";

struct BandPlanPanelTest : ::testing::Test, BandPlanRig {
    BandPlanPanelTest() {
        addBand("Forty.bpl", kForty);
        addBand("Twenty.bpl", kTwenty);
        state().AGCOn = true;
        core->levels.chkAGC.setValue(1);
    }
    frontpanel::BandPlanPanel& p = panel;
};

TEST_F(BandPlanPanelTest, FirstSelectionShowsTheSplashAndReadsTheFileLaterOnesReadNothing) {
    startUp();
    ASSERT_EQ(bandShell.splashes, std::vector<std::string>{"Forty"});
    EXPECT_FALSE(bandShell.splashShown);
    EXPECT_EQ(p.frPresets.Caption(), "40 m Band");
    EXPECT_EQ(p.cboBandSelect.List(0), "Forty"); // the file name until a rename
    EXPECT_EQ(p.optSubBand.Selected(), 1);
    EXPECT_EQ(p.lblSubBand.Caption(), " SSB ");
    EXPECT_TRUE(p.optSubBand[2].Visible());
    EXPECT_FALSE(p.optSubBand[3].Visible());
    EXPECT_EQ(p.cboSubBandSelect.ListCount(), 3);
    // The active preset is in force.
    EXPECT_EQ(tunedHz(), 7050900);
    EXPECT_EQ(p.optPreset.Selected(), 2);

    p.cboBandSelect.setListIndex(1);
    EXPECT_EQ(bandShell.splashes.size(), 2u);
    EXPECT_EQ(tunedHz(), 14200000);

    std::filesystem::remove(dir.path() + "/Forty.bpl");
    p.cboBandSelect.setListIndex(0);
    EXPECT_EQ(bandShell.splashes.size(), 2u);
    EXPECT_EQ(p.frPresets.Caption(), "40 m Band");
    EXPECT_EQ(p.optSubBand[1].Caption(), "SSB");
    EXPECT_EQ(tunedHz(), 7050900);
}

TEST_F(BandPlanPanelTest, SubBandSelectionTakesTheLargestTableStepNotAboveItsOwn) {
    startUp();
    struct Case {
        int32_t tuneStep;
        int32_t expected; // table step in force afterwards
        bool loading;
    };
    const Case cases[] = {{3000, 2500, false}, {2500, 2500, false}, {100000, 100000, false},
                          {0, 100000, false},  {1, 1, false},       {1000, 100000, true}};
    for (const Case& c : cases) {
        core->tuning.SelectTuningStepIndex(0, true);
        sub(0, 2).Settings.TuneStep = c.tuneStep;
        bandShell.formLoading = c.loading;
        p.optSubBand_MouseDown(2, 1, 0, 0, 0);
        EXPECT_EQ(paneltest::kTuningSteps[static_cast<size_t>(core->tuning.TuningStepIndex())], c.expected)
            << "TuneStep " << c.tuneStep;
    }
}

TEST_F(BandPlanPanelTest, SubBandButtonsAndPresetCaptions) {
    startUp();
    // Sub-band 1 chosen: its button bright, the rest dark.
    EXPECT_EQ(p.optSubBand[1].ForeColor(), frontpanel::kChosenSubBandColour);
    EXPECT_EQ(p.optSubBand[0].ForeColor(), frontpanel::kSubBandColour);
    EXPECT_EQ(p.optPreset[2].Caption(), "7050"); // 7 050 900 Hz: cut, not rounded
    EXPECT_EQ(p.optPreset[2].ToolTipText(), "Net");
    EXPECT_EQ(p.optPreset[0].Caption(), "P1");
    EXPECT_EQ(p.optPreset[0].ToolTipText(), "Unused - Shift + Right Click to set");

    // Sub-band 0 keeps no preset in force: its own block is applied.
    p.optSubBand_MouseDown(0, 1, 0, 0, 0);
    EXPECT_EQ(sub(0, 0).ActivePreset, -1);
    EXPECT_EQ(tunedHz(), 7010000);
    EXPECT_EQ(state().DemodMode, 1);
    EXPECT_EQ(p.lblSubBand.Caption(), " CW ");
    // A left press on the selected button puts its block in force again.
    vfoObject.setTunedFrequency(70'123'450);
    p.optSubBand_MouseDown(0, 1, 0, 0, 0);
    EXPECT_EQ(tunedHz(), 7010000);
    // After a band selection the active sub-band's preset index is at least 0.
    p.SelectBand(0);
    EXPECT_EQ(sub(0, 1).ActivePreset, 2);
}

TEST_F(BandPlanPanelTest, RenamesByInputBoxAndTheCutAfterAReload) {
    startUp();
    dialogs.inputAnswers = {std::string("TwelveChars!"), std::nullopt, std::string("")};
    p.optSubBand_MouseDown(2, 2, 0, 0, 0);
    p.optSubBand_MouseDown(2, 2, 0, 0, 0); // cancelled
    p.optSubBand_MouseDown(2, 2, 0, 0, 0); // empty
    EXPECT_EQ(dialogs.inputPrompts, std::vector<std::string>(3, "Enter SubBand Name"));
    EXPECT_EQ(p.optSubBand[2].Caption(), "TwelveChars!");
    EXPECT_EQ(sub(0, 2).Caption, "TwelveChars!");
    EXPECT_EQ(p.cboSubBandSelect.List(2), "Data"); // until the band is selected again

    int16_t insert = frontpanel::kInsertKey;
    dialogs.inputAnswers = {std::string("Forty metres"), std::nullopt};
    p.cboBandSelect_KeyDown(insert, 0);
    p.cboBandSelect_KeyDown(insert, 0);
    EXPECT_EQ(dialogs.inputPrompts.back(), "Enter New Band Plan Name");
    EXPECT_EQ(p.cboBandSelect.List(0), "Forty metres");
    EXPECT_EQ(p.cboBandSelect.ListIndex(), 0);
    EXPECT_EQ(p.frPresets.Caption(), "Forty metres");
    EXPECT_EQ(p.cboSubBandSelect.List(2), "TwelveChars!");
    EXPECT_EQ(state().CurrentMainBandIndex, 0);
    EXPECT_EQ(bandShell.splashes.size(), 1u);

    ASSERT_TRUE(store.SaveBandPlan(bands[0]));
    std::vector<MainBandRec> again{modBandPlan::newMainBand(dir.path(), "Forty.bpl", 0)};
    ReceiverState s;
    modBandPlan::BandPlanStore fresh(again, s);
    fresh.InitBandPlanArrays(again[0]);
    ASSERT_TRUE(fresh.LoadBandPlan(again[0]));
    EXPECT_EQ(again[0].Caption, "Forty metres");
    EXPECT_EQ(again[0].SubBand[2].Caption, "Twelve");
}

// Blocks put into force through the real handlers: state, knobs and captions.
TEST_F(BandPlanPanelTest, ApplyPresetPutsABlockIntoForce) {
    startUp();
    auto& r = p.routines;
    const auto& tables = core->tables;

    PresetSettings s;
    s.FreqCurrent = 7020000;
    s.DemodMode = 1;
    s.FilterMode = 3;
    s.FilterHi = -1;
    s.FilterLo = -1;
    s.IFFilterActive = true;
    s.IFFilterMode = 1;
    s.IFFilterHi = -1;
    s.IFFilterLo = -1;
    s.AGCOn = true;
    s.AGCMode = 2;
    s.AGCAttack = 12.5f;
    s.AGCDecay = 41.5f;
    s.NotchActive = true;
    s.NotchFilterCenter = 1500;
    s.NotchFilterWidth = 300;
    s.OutputAttenuation = -600;
    s.LowSideLO = true;
    state().AGCMode = 3;
    const size_t records = log.records.size();
    r.ApplyPreset(s);
    EXPECT_EQ(tunedHz(), 7020000);
    EXPECT_EQ(state().DemodMode, 1);
    EXPECT_EQ(core->modes.optMode.Selected(), 1);
    EXPECT_EQ(state().FilterMode, 3);
    // -1 edges: the audio preset's and the IF table's.
    EXPECT_EQ(knob(kFilterHiKnob).Value, tables.AfFilterPreset[3].Hi);
    EXPECT_EQ(knob(kFilterLoKnob).Value, tables.AfFilterPreset[3].Lo);
    EXPECT_EQ(state().FilterHi, tables.AfFilterPreset[3].Hi);
    EXPECT_EQ(knob(kIFHiKnob).Value, tables.IfFilterTable[1][1].DefaultHi);
    EXPECT_EQ(knob(kIFLoKnob).Value, tables.IfFilterTable[1][1].DefaultLo);
    EXPECT_TRUE(state().IFFilterActive);
    EXPECT_EQ(state().IFFilterMode, 1);
    EXPECT_TRUE(state().NotchActive);
    EXPECT_EQ(knob(kNotchCKnob).Value, 1500);
    EXPECT_EQ(knob(kNotchWKnob).Value, 300);
    // AGC: row 4 takes the block's times, rounded half to even.
    EXPECT_EQ(state().AGCMode, 4);
    EXPECT_EQ(tables.AgcPresetRow[4].Attack, 12);
    EXPECT_EQ(tables.AgcPresetRow[4].Decay, 42);
    EXPECT_EQ(core->levels.optAGC.Selected(), 4);
    EXPECT_EQ(knob(kOutVolKnob).Value, -600);
    EXPECT_EQ(label(kOutVolKnob).caption,
              NumberFormat::Format(20 * std::log10(6.0), "-" + knob(kOutVolKnob).Format));
    EXPECT_EQ(state().OutputAttenuation, -600);
    EXPECT_FALSE(state().HiSideLoActive);
    EXPECT_EQ(log.records.size(), records + 1);
    EXPECT_EQ(log.records.back(), 70'200'000);
    EXPECT_FALSE(r.PresetApplying());

    // AGCMode -1: back to the mode before the block forced 4.
    s.AGCMode = -1;
    r.ApplyPreset(s);
    EXPECT_EQ(state().AGCMode, 3);
    EXPECT_EQ(core->levels.optAGC.Selected(), 3);
}

TEST_F(BandPlanPanelTest, AnAgcModeBelowZeroBeforeAnyForcedModeIsFast) {
    PresetSettings s;
    s.FreqCurrent = 7020000;
    s.AGCOn = true;
    s.AGCMode = -1;
    state().AGCMode = 2;
    p.routines.ApplyPreset(s);
    EXPECT_EQ(state().AGCMode, 1);
}

TEST_F(BandPlanPanelTest, PressesStoreApplyAndNeverPutAnUnusedBlockIntoForce) {
    startUp();
    // A left press on an unused preset falls back to the last preset pressed (2, by the band's selection),
    // unused in this sub-band: the receiver stays where it is.
    p.optSubBand_MouseDown(2, 1, 0, 0, 0);
    vfoObject.setTunedFrequency(70'461'230);
    const int32_t mode = state().DemodMode;
    p.optPreset_MouseDown(4, 1, 0, 0, 0);
    p.optPreset_MouseUp(4, 1, 0, 0, 0);
    EXPECT_EQ(vfoObject.TunedFrequency(), 70'461'230);
    EXPECT_EQ(state().DemodMode, mode);
    EXPECT_EQ(p.LastPreset(), 2);
    EXPECT_EQ(p.optPreset.Selected(), 2);
    EXPECT_EQ(p.optPreset[2].ForeColor(), frontpanel::kPressedColour);
    EXPECT_EQ(p.optPreset[4].ForeColor(), state().SDRColourSchemes.Label);

    // Shift + right stores; the press alone already names the frequency stored (a release may be refused
    // while the press's apply lets events run), and the release stores the same again.
    p.optPreset_MouseDown(4, 2, 1, 0, 0);
    EXPECT_EQ(p.optPreset[4].Caption(), "7046");
    EXPECT_EQ(preset(0, 2, 4).Description,
              NumberFormat::Format(7046123, "#,###0 Hz", NumberFormat::userSeparators()));
    p.optPreset_MouseUp(4, 2, 1, 0, 0);
    const PresetRec& stored = preset(0, 2, 4);
    EXPECT_EQ(stored.Settings.FreqCurrent, 7046123);
    EXPECT_EQ(p.optPreset[4].Caption(), "7046");
    EXPECT_EQ(stored.Description, NumberFormat::Format(7046123, "#,###0 Hz", NumberFormat::userSeparators()));
    EXPECT_EQ(stored.When, "2027-01-02 03:04:05");
    EXPECT_TRUE(stored.Settings.Dirty);

    // Right press: the menu once per click; "Edit Preset" only for a used preset.
    p.optPreset_MouseDown(5, 2, 0, 0, 0);
    p.optPreset_MouseUp(5, 2, 0, 0, 0);
    p.optPreset_MouseDown(4, 2, 0, 0, 0);
    ASSERT_EQ(dialogs.menus.size(), 2u);
    EXPECT_EQ(dialogs.menus[0], frontpanel::BandPlanPanel::userPresetItems(false));
    EXPECT_FALSE(dialogs.menus[0][1].Enabled);
    EXPECT_TRUE(dialogs.menus[1][1].Enabled);
    EXPECT_EQ(dialogs.menus[1][0].Caption, "Save to Preset");

    // A left press on a used preset puts it into force; unused falls back to the last one.
    vfoObject.setTunedFrequency(71'000'000);
    p.optPreset_MouseDown(4, 1, 0, 0, 0);
    EXPECT_EQ(tunedHz(), 7046123);
    EXPECT_TRUE(stored.Active);
    vfoObject.setTunedFrequency(71'000'000);
    p.optPreset_MouseDown(7, 1, 0, 0, 0);
    EXPECT_EQ(sub(0, 2).ActivePreset, 4);
    EXPECT_EQ(p.optPreset.Selected(), 4);
    EXPECT_EQ(tunedHz(), 7046123);
}

TEST_F(BandPlanPanelTest, TrackingDropsAPresetBeyond500HzAndCapturesWhereItShould) {
    startUp();
    struct Case {
        int32_t tenthsAway;
        bool autoTrack;
        bool staysActive;
        bool presetFollows; // the preset's block takes the receiver's mode
    };
    const Case cases[] = {{5000, false, true, false},
                          {-5000, true, true, true},
                          {5001, false, false, false},
                          {-5001, true, false, false}};
    for (const Case& c : cases) {
        p.SelectBand(1);
        p.SelectBand(0);
        p.optPreset_MouseDown(2, 1, 0, 0, 0);
        PresetRec& pr = preset(0, 1, 2);
        ASSERT_TRUE(pr.Active);
        const PresetSettings before = pr.Settings;
        state().AutoTrackPresets = c.autoTrack;
        core->modes.optMode.setValue(6, true);
        vfoObject.setTunedFrequency(70'509'000 + c.tenthsAway);
        p.tmrSubBands_Timer();
        EXPECT_EQ(pr.Active, c.staysActive) << c.tenthsAway;
        EXPECT_EQ(p.optPreset.Selected(), c.staysActive ? 2 : -1);
        EXPECT_EQ(pr.Settings.FreqCurrent, 7050900);
        EXPECT_EQ(pr.Settings.DemodMode, c.presetFollows ? 6 : before.DemodMode);
        EXPECT_EQ(sub(0, 1).Settings.DemodMode == 6, !c.staysActive);
        if (!c.staysActive) {
            EXPECT_EQ(p.optPreset[2].ForeColor(), frontpanel::kOtherColour);
        }
        core->modes.optMode.setValue(2, true);
    }
}

TEST_F(BandPlanPanelTest, TrackingStaysIdleWhileAnythingIsUnderWay) {
    startUp();
    p.optPreset_MouseDown(2, 1, 0, 0, 0);
    PresetRec& pr = preset(0, 1, 2);
    state().AutoTrackPresets = true;
    const auto idleTick = [&] {
        const PresetSettings before = pr.Settings;
        vfoObject.setTunedFrequency(71'000'000);
        const size_t records = log.records.size();
        p.tmrSubBands_Timer();
        EXPECT_EQ(log.records.size(), records + 1); // the log record comes first
        EXPECT_TRUE(pr.Active);
        EXPECT_EQ(pr.Settings, before);
    };
    // While a block is being applied (the log record at its end runs the tick).
    bool ticked = false;
    log.during = [&] {
        if (ticked) return;
        ticked = true;
        EXPECT_TRUE(p.routines.PresetApplying());
        idleTick();
    };
    p.routines.ApplyPreset(pr.Settings);
    log.during = {};
    EXPECT_TRUE(ticked);
    vfoObject.setTunedFrequency(70'509'000);
    // While a band loads (its pumps run the tick).
    bool loadTicked = false;
    onPump = [&] {
        if (loadTicked || !store.BandPlanLoading()) return;
        loadTicked = true;
        idleTick();
    };
    addBand("Eighty.bpl", "[MainBand]\r\nNumSubBands=0\r\n[SubBand.0]\r\nFreqCurrent=3600000\r\n");
    store.InitBandPlanArrays(bands[2]);
    store.LoadBandPlan(bands[2]);
    onPump = {};
    EXPECT_TRUE(loadTicked);
    // While the decoder starts.
    bandShell.dreamStarting = true;
    idleTick();
}

TEST_F(BandPlanPanelTest, HoverPopupsAndTheCtrlKey) {
    startUp();
    p.optPreset_MouseMove(2, 0, 0, 30, 45);
    EXPECT_FALSE(popup.shown);
    int16_t key = 17;
    p.optPreset_KeyDown(2, key, 2);
    EXPECT_TRUE(p.PresetDescEnabled);
    EXPECT_TRUE(popup.shown);
    p.optPreset_MouseMove(2, 0, 0, 30, 45);
    EXPECT_EQ(popup.left, 2000 + 30 + 1500);
    EXPECT_EQ(popup.top, 1500 + 45 + 3000);
    EXPECT_EQ(popup.caption, "Net");
    EXPECT_EQ(popup.text,
              "Frequency=7050\r\nModulation=LSB\r\nFilter=3.2 KHz\r\nDate=2025/03/07\r\nTime=09:05");
    // A preset never pressed is read from its file first, so its pop-up shows the mode and filter the file
    // holds (not those of a block still at its initial values); a When without a date as it is.
    ASSERT_FALSE(preset(0, 1, 3).Settings.Loaded);
    preset(0, 1, 3).When = "yesterday";
    p.optPreset_MouseMove(3, 0, 0, 0, 0);
    EXPECT_EQ(popup.text,
              "Frequency=7150\r\nModulation=FM\r\nFilter=2.4 KHz\r\nDate=yesterday\r\nTime=yesterday");
    EXPECT_TRUE(preset(0, 1, 3).Settings.Loaded);
    EXPECT_EQ(preset(0, 1, 3).Settings.FreqCurrent, 7150000);
    p.optSubBand_MouseMove(0, 0, 0, 10, 20);
    EXPECT_EQ(popup.left, 0 + 10 + 1500);
    EXPECT_EQ(popup.caption, "Telegraphy");
    EXPECT_EQ(popup.text, "Band=CW\r\nFreq Lo=7000000\r\nFreq Hi=7040000");
    // Shift + Ctrl does nothing; Ctrl alone switches the popups off again.
    p.optPreset_KeyDown(2, key, 3);
    EXPECT_TRUE(p.PresetDescEnabled);
    p.optPreset_KeyDown(2, key, 2);
    EXPECT_FALSE(popup.shown);
    p.optSubBand_MouseMove(0, 0, 0, 10, 20);
    EXPECT_FALSE(popup.shown);
}

TEST_F(BandPlanPanelTest, SelectorsShowByTheirStrictHalfHeightRule) {
    startUp();
    struct Case {
        float x, y;
        bool band;
    };
    // The band drop-down spans 120 to 2720 and is 315 high.
    const Case cases[] = {{121, 157, true}, {120, 10, false}, {2720, 10, false}, {2719, 157.5f, false}};
    for (const Case& c : cases) {
        p.frPresets_MouseMove(0, 0, c.x, c.y);
        EXPECT_EQ(p.cboBandSelect.Visible(), c.band) << c.x << "," << c.y;
        EXPECT_TRUE(p.lblSubBand.Visible());
    }
    EXPECT_EQ(p.frPresets.ForeColor(), state().SDRColourSchemes.FrameFocus);
    // The sub-band drop-down only once the label's hover has enabled it.
    p.cboSubBandSelect.setEnabled(false);
    p.frPresets_MouseMove(0, 0, 3000, 10);
    EXPECT_FALSE(p.cboSubBandSelect.Visible());
    p.lblSubBand_MouseMove();
    EXPECT_TRUE(p.cboSubBandSelect.Visible());
    EXPECT_FALSE(p.lblSubBand.Visible());
    p.frPresets_MouseMove(0, 0, 3000, 10);
    EXPECT_TRUE(p.cboSubBandSelect.Visible());
    EXPECT_FALSE(p.lblSubBand.Visible());
    p.imgBandSelect_MouseMove();
    EXPECT_FALSE(p.cboSubBandSelect.Visible());
    EXPECT_TRUE(p.lblSubBand.Visible());
    // A rebuilt list selects no band.
    p.cboBandSelect.Clear();
    EXPECT_EQ(state().CurrentMainBandIndex, 0);
}

// The dialog's two menu items over a scripted dialog, then a save and a fresh store.
TEST_F(BandPlanPanelTest, StoredAndSavedPresetsSurviveARestart) {
    startUp();
    p.optSubBand_MouseDown(2, 1, 0, 0, 0);
    vfoObject.setTunedFrequency(70'461'230);
    p.optPreset_MouseDown(0, 2, 1, 0, 0);
    p.optPreset_MouseUp(0, 2, 1, 0, 0);

    // "Save to Preset" on preset 1 with a typed frequency and mode.
    presetDialog.steps.push_back([](PresetEdit& e) {
        auto f = frontpanel::loadPresetDialog(e);
        f.Frequency = "7 047 500";
        f.Description = "Typed";
        f.Demodulation = 1;
        ASSERT_FALSE(frontpanel::savePresetDialog(f, e.PresetEditBuffer));
        e.PresetEditSaved = true;
    });
    dialogs.menuAnswers = {0};
    p.optPreset_MouseDown(1, 2, 0, 0, 0);
    p.optPreset_MouseUp(1, 2, 0, 0, 0);
    ASSERT_EQ(presetDialog.opened.size(), 1u);
    EXPECT_EQ(frontpanel::loadPresetDialog(presetDialog.opened[0]).Title,
              "NerixSDR - Save Current Settings to Preset 1");
    EXPECT_EQ(presetDialog.opened[0].PresetEditSaveCaption, "&Save");
    EXPECT_EQ(presetDialog.opened[0].PresetEditBuffer.Settings.FreqCurrent, 7046123);
    EXPECT_EQ(presetDialog.opened[0].PresetEditBuffer.When, "2027-01-02 03:04:05");
    EXPECT_EQ(p.optPreset[1].Caption(), "7048");
    EXPECT_FALSE(preset(0, 2, 1).Active);
    EXPECT_EQ(tunedHz(), 7047500);

    // "Edit Preset" on preset 0: a new description; cancelled edits change nothing.
    presetDialog.steps.push_back([](PresetEdit& e) {
        auto f = frontpanel::loadPresetDialog(e);
        f.Description = "Edited";
        ASSERT_FALSE(frontpanel::savePresetDialog(f, e.PresetEditBuffer));
        e.PresetEditSaved = true;
    });
    presetDialog.steps.push_back([](PresetEdit& e) { e.PresetEditBuffer.Description = "Cancelled"; });
    dialogs.menuAnswers = {1, 1};
    p.optPreset_MouseDown(0, 2, 0, 0, 0);
    p.optPreset_MouseDown(0, 2, 0, 0, 0);
    EXPECT_EQ(frontpanel::loadPresetDialog(presetDialog.opened[1]).Title, "NerixSDR - Edit Preset 0");
    EXPECT_EQ(presetDialog.opened[1].PresetEditSaveCaption, "&Update");
    EXPECT_EQ(preset(0, 2, 0).Description, "Edited");
    EXPECT_TRUE(preset(0, 2, 0).Active);

    // A preset saved with a text that holds no number is unused and never put into force.
    presetDialog.steps.push_back([](PresetEdit& e) {
        auto f = frontpanel::loadPresetDialog(e);
        f.Frequency = "none";
        ASSERT_FALSE(frontpanel::savePresetDialog(f, e.PresetEditBuffer));
        e.PresetEditSaved = true;
    });
    dialogs.menuAnswers = {0};
    vfoObject.setTunedFrequency(70'500'000);
    p.optPreset_MouseDown(6, 2, 0, 0, 0);
    EXPECT_EQ(preset(0, 2, 6).Settings.FreqCurrent, 0);
    EXPECT_EQ(tunedHz(), 7050000);

    ASSERT_TRUE(store.SaveBandPlan(bands[0]));
    std::vector<MainBandRec> again{modBandPlan::newMainBand(dir.path(), "Forty.bpl", 0)};
    ReceiverState s;
    modBandPlan::BandPlanStore fresh(again, s, [] { return std::string(paneltest::kStoreNow); });
    fresh.InitBandPlanArrays(again[0]);
    ASSERT_TRUE(fresh.LoadBandPlan(again[0]));
    for (int32_t j : {0, 1}) {
        fresh.LoadPresetOnDemand(0, 2, j);
        const PresetRec& was = preset(0, 2, j);
        const PresetRec& now = again[0].SubBand[2].Preset[static_cast<size_t>(j)];
        EXPECT_EQ(now.Caption, was.Caption) << j;
        EXPECT_EQ(now.Description, was.Description) << j;
        EXPECT_EQ(now.When, was.When) << j;
        EXPECT_EQ(now.Active, was.Active) << j;
        PresetSettings expected = was.Settings, read = now.Settings;
        expected.Dirty = read.Dirty = false;
        expected.HiSideLO = read.HiSideLO = false;
        EXPECT_EQ(read, expected) << j;
    }
    EXPECT_EQ(again[0].SubBand[2].Preset[1].Settings.FreqCurrent, 7047500);
    EXPECT_EQ(again[0].SubBand[2].Preset[1].Settings.DemodMode, 1);
}

TEST(PresetDialogFields, LoadAndSave) {
    PresetEdit e;
    e.PresetEditTitle = "Edit Preset 3";
    e.PresetEditSaveCaption = "&Update";
    e.PresetEditBuffer.Index = 3;
    e.PresetEditBuffer.When = "2005-03-07 09:05:00";
    e.PresetEditBuffer.Settings.FreqCurrent = 7050000;
    e.PresetEditBuffer.Settings.DemodMode = 4;
    e.PresetEditBuffer.Settings.FilterMode = 0;
    auto f = frontpanel::loadPresetDialog(e);
    EXPECT_EQ(f.Title, "NerixSDR - Edit Preset 3");
    EXPECT_EQ(f.Index, "3");
    EXPECT_EQ(f.Frequency, "7 050 000");
    EXPECT_EQ(f.Date, "2005-03-07");
    EXPECT_EQ(f.Time, "09:05:00");
    EXPECT_EQ(f.Demodulation, -1); // FM has no button: a save keeps it
    EXPECT_EQ(f.Filtering, 0);

    struct Case {
        const char* text;
        int32_t hertz;
        const char* caption;
        bool refused;
    };
    const Case cases[] = {{"7 050 499", 7050499, "7050", false},
                          {"7 050 500", 7050500, "7051", false},
                          {"7050000.5", 7050000, "7050", false},
                          {"none", 0, "0", false},
                          {"214 748 364", 214748364, "214748", false},
                          {"214 748 365", 0, "", true},
                          {"9999999999", 0, "", true},
                          {"1e400", 0, "", true}};
    for (const Case& c : cases) {
        PresetRec b = e.PresetEditBuffer;
        auto g = f;
        g.Frequency = c.text;
        const auto refused = frontpanel::savePresetDialog(g, b);
        EXPECT_EQ(refused.has_value(), c.refused) << c.text;
        if (c.refused) {
            EXPECT_EQ(b, e.PresetEditBuffer) << c.text;
            continue;
        }
        EXPECT_EQ(b.Settings.FreqCurrent, c.hertz) << c.text;
        EXPECT_EQ(b.Caption, c.caption) << c.text;
        EXPECT_EQ(b.Settings.DemodMode, 4);
        EXPECT_TRUE(b.Settings.Dirty);
    }

    // A short When: shorter fields, joined again with one blank.
    e.PresetEditBuffer.When = "2005-03-07 9";
    f = frontpanel::loadPresetDialog(e);
    EXPECT_EQ(f.Date, "2005-03-07");
    EXPECT_EQ(f.Time, "9");
    PresetRec b = e.PresetEditBuffer;
    ASSERT_FALSE(frontpanel::savePresetDialog(f, b));
    EXPECT_EQ(b.When, "2005-03-07 9");
    e.PresetEditBuffer.When = "2005";
    f = frontpanel::loadPresetDialog(e);
    EXPECT_EQ(f.Date, "2005");
    EXPECT_EQ(f.Time, "");
    ASSERT_FALSE(frontpanel::savePresetDialog(f, b));
    EXPECT_EQ(b.When, "2005 ");
}

} // namespace
