// The clock calibration dialog, offscreen, on real oscillator drivers tuned by the VFO, with scripted
// message boxes.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <memory>
#include <string>

#include "platform/profile/SettingsStore.h"
#include "platform/ui/testing/ScriptedDialogService.h"
#include "radio/clsAD9835.h"
#include "radio/clsAD9850.h"
#include "radio/clsDDSNullIF.h"
#include "radio/clsHamlib.h"
#include "radio/clsSoftDDS.h"
#include "radio/clsVFO.h"
#include "radio/frmCalibrate.h"

namespace {

class Calibrate : public ::testing::Test {
protected:
    // A receiver on the given oscillator, tuned to tunedHertz; the oscillator computes its word.
    void build(Oscillator& osc, double clock, int32_t ifHertz, bool hiSide, int32_t tunedHertz,
               int32_t oscMul = 1, int32_t pllMul = 1) {
        osc.setClkIn(clock);
        osc.setBaseFrequency(0);
        osc.setIFHandler(&line);
        osc.setParent(&vfo);
        osc.Initialise();
        vfo.setOscType(&osc);
        vfo.setOscMultiplier(oscMul);
        vfo.setPLLMultiplier(pllMul);
        vfo.setRXMinFreq(0);
        vfo.setRxMaxFreq(100'000'000);
        vfo.setIFFrequency(ifHertz);
        vfo.setHiSideLo(hiSide);
        vfo.setTunedFrequency(tunedHertz * 10);
    }
    void open() {
        dlg = std::make_unique<frmCalibrate>(vfo, dialogs);
        dlg->Show();
    }

    profile::MemorySettingsStore store;
    clsDDSNullIF line{store};
    clsVFO vfo{store};
    ui::testing::ScriptedDialogService dialogs;
    std::unique_ptr<frmCalibrate> dlg;
};

TEST_F(Calibrate, AStationHeardTwentyHertzHighCorrectsTheClock) {
    clsAD9835 osc(store);
    build(osc, 50'000'000, 455'000, true, 7'100'020);
    ASSERT_EQ(osc.CurrentTuningWord(), 648'971'276); // 7 555 020 Hz at 50 MHz
    open();
    EXPECT_EQ(dlg->Caption(), "NerixSDR - Calibrate DDS CLKIN");
    EXPECT_EQ(dlg->lblCurrentTunedFreq.Caption(), "7 100 020");
    EXPECT_EQ(dlg->lblDDSClkInCurrent.Caption(), "50 000 000");
    EXPECT_EQ(dlg->txtOfficialFreq.Text(), "7100020");

    dlg->txtOfficialFreq.setText("7 100 000");
    EXPECT_EQ(dlg->lblDDSClkinNew.Caption(), "49 999 868");
    EXPECT_TRUE(dlg->cmdApply.Enabled());
    dlg->cmdApply.setValue(true);
    EXPECT_TRUE(dlg->ApplyChanges);
    EXPECT_FALSE(dlg->isVisible());
    EXPECT_EQ(osc.ClkIn(), 49'999'868);
    EXPECT_TRUE(dialogs.messages.empty());
    EXPECT_EQ(dialogs.unexpected, 0);
}

TEST_F(Calibrate, TheNewClockMakesTheCurrentWordGiveTheStationWhateverTheMultiplier) {
    const struct Case {
        const char* name;
        int32_t oscMul, pllMul;
        bool hiSide;
        int32_t ifHertz, tuned, official;
    } cases[] = {
        {"x1 high side", 1, 1, true, 455'000, 7'100'020, 7'100'000},
        {"x4 high side", 4, 1, true, 0, 7'100'020, 7'100'000},
        {"x0.5 high side", 1, 2, true, 12'000, 14'200'000, 14'199'950},
        {"x1 low side below the IF", 1, 1, false, 9'000'000, 5'000'030, 5'000'000},
        {"x4 low side", 4, 1, false, 12'000, 3'000'000, 3'000'010},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        clsVFO fresh(store);
        clsAD9850 osc(store);
        osc.setClkIn(100'000'000);
        osc.setIFHandler(&line);
        osc.Initialise();
        fresh.setOscType(&osc);
        fresh.setOscMultiplier(c.oscMul);
        fresh.setPLLMultiplier(c.pllMul);
        fresh.setRXMinFreq(0);
        fresh.setRxMaxFreq(100'000'000);
        fresh.setIFFrequency(c.ifHertz);
        fresh.setHiSideLo(c.hiSide);
        fresh.setTunedFrequency(c.tuned * 10);
        const double sentTuned = fresh.OscOut();

        frmCalibrate form(fresh, dialogs);
        form.Show();
        form.txtOfficialFreq.setText(std::to_string(c.official));
        form.cmdApply.setValue(true);

        // Independent of the word formula: the true clock is the nominal one scaled by the frequency the
        // oscillator really gives against what it was told.
        fresh.setTunedFrequency(c.official * 10);
        const double sentOfficial = fresh.OscOut();
        const double expected = 100'000'000.0 * sentOfficial / sentTuned;
        EXPECT_NEAR(osc.ClkIn(), expected, 1.0);
        fresh.setOscType(nullptr);
    }
}

TEST_F(Calibrate, AnOfficialFrequencyOfNothingIsRefusedWithTheMessage) {
    clsAD9835 osc(store);
    build(osc, 50'000'000, 455'000, true, 7'100'020);
    open();
    const std::string computed = dlg->lblDDSClkinNew.Caption();
    for (const char* text : {"0", "abc", "", " 0.4", "99999999999", "1e400"}) {
        SCOPED_TRACE(text);
        dialogs.messages.clear();
        dlg->txtOfficialFreq.setText(text);
        ASSERT_EQ(dialogs.messages.size(), 1u);
        EXPECT_EQ(dialogs.messages[0].prompt, "Official Frequency must not be ZERO");
        EXPECT_EQ(dialogs.messages[0].buttons, 0);
        EXPECT_EQ(dialogs.messages[0].title, "NerixSDR");
        EXPECT_EQ(dlg->lblDDSClkinNew.Caption(), computed);
    }
    // Blanks and a tail that cannot continue the number are read past, as the dialog's own mask shows it.
    dialogs.messages.clear();
    dlg->txtOfficialFreq.setText(" 7 100 000 Hz");
    EXPECT_TRUE(dialogs.messages.empty());
    EXPECT_EQ(dlg->lblDDSClkinNew.Caption(), "49 999 868");
}

TEST_F(Calibrate, ApplyAtOnceKeepsTheClockTheWordCameFrom) {
    clsAD9835 osc(store);
    build(osc, 50'000'000, 455'000, true, 7'100'020);
    open();
    dlg->cmdApply.setValue(true);
    EXPECT_TRUE(dlg->ApplyChanges);
    EXPECT_NEAR(osc.ClkIn(), 50'000'000, 1.0);
}

TEST_F(Calibrate, CancelRestoresTheClockAndTheCloseBoxKeepsATriedOne) {
    clsAD9835 osc(store);
    build(osc, 50'000'000, 455'000, true, 7'100'020);
    open();
    dlg->txtOfficialFreq.setText("7100000");
    dlg->cmdTry.setValue(true);
    EXPECT_EQ(osc.ClkIn(), 49'999'868);
    dlg->cmdCancel.setValue(true);
    EXPECT_EQ(osc.ClkIn(), 50'000'000);
    EXPECT_FALSE(dlg->ApplyChanges);
    EXPECT_FALSE(dlg->isVisible());

    open();
    dlg->txtOfficialFreq.setText("7100000");
    dlg->cmdTry.setValue(true);
    EXPECT_TRUE(dlg->Unload());
    EXPECT_EQ(osc.ClkIn(), 49'999'868);
    EXPECT_FALSE(dlg->ApplyChanges);
}

TEST_F(Calibrate, NothingCanBeTriedOrAppliedWithoutAValidClock) {
    {
        SCOPED_TRACE("a word of 0: the oscillator was never tuned");
        clsAD9835 osc(store);
        osc.setClkIn(50'000'000);
        osc.setIFHandler(&line);
        vfo.setOscType(&osc);
        vfo.setIFFrequency(455'000);
        open();
        dlg->txtOfficialFreq.setText("7100000");
        EXPECT_FALSE(dlg->cmdTry.Enabled());
        EXPECT_FALSE(dlg->cmdApply.Enabled());
        dlg->cmdTry.setValue(true);
        dlg->cmdApply.setValue(true);
        EXPECT_EQ(osc.ClkIn(), 50'000'000);
        EXPECT_FALSE(dlg->ApplyChanges);
        vfo.setOscType(nullptr);
    }
    {
        SCOPED_TRACE("low side, tuned to the IF: the first computation stops");
        clsAD9850 osc(store);
        vfo.setCalibOffset(1000); // the oscillator still runs, at the offset
        build(osc, 100'000'000, 9'000'000, false, 9'000'000);
        ASSERT_GT(osc.CurrentTuningWord(), 0);
        open();
        EXPECT_FALSE(dlg->cmdTry.Enabled());
        EXPECT_FALSE(dlg->cmdApply.Enabled());
        dlg->cmdApply.setValue(true);
        EXPECT_EQ(osc.ClkIn(), 100'000'000);
        dlg->txtOfficialFreq.setText("9001000");
        EXPECT_TRUE(dlg->cmdApply.Enabled());
        const std::string computed = dlg->lblDDSClkinNew.Caption();
        EXPECT_FALSE(computed.empty());
        // A later computation that stops keeps the clock already computed.
        dlg->txtOfficialFreq.setText("9000000");
        EXPECT_TRUE(dlg->cmdApply.Enabled());
        EXPECT_EQ(dlg->lblDDSClkinNew.Caption(), computed);
        dlg->cmdApply.setValue(true);
        EXPECT_EQ(frmCalibrate::formatClock(osc.ClkIn()), computed);
        vfo.setOscType(nullptr);
    }
}

// The software oscillator's ClkIn is the sampling rate and its word overflows to 2 at any real
// frequency; the rig keeps its own reference and has word 0. Neither clock follows from a station.
TEST_F(Calibrate, AnOscillatorWithoutAClockOfItsOwnOffersNothingToTryOrApply) {
    struct Knob final : BfoKnob {
        void setBfoValue(float) override {}
        void SetBFO() override {}
    } knob;
    struct Rig final : RigBridge {
        int32_t rig_set_debug(int32_t) override { return 0; }
        int32_t rig_init(int32_t) override { return 1; }
        int32_t rig_open(int32_t) override { return 0; }
        int32_t rig_set_freq(int32_t, int32_t, double) override { return 0; }
        int32_t rig_close(int32_t) override { return 0; }
        int32_t rig_cleanup(int32_t) override { return 0; }
    } rig;
    const struct Case {
        const char* name;
        std::function<std::unique_ptr<Oscillator>()> make;
        double clock;
        int32_t base, oscMul;
    } cases[] = {
        // Model 13: a 28.22 MHz crystal under a divider of four.
        {"the software oscillator", [&] { return std::make_unique<clsSoftDDS>(store, &knob); }, 48'000,
         28'220'000, 4},
        {"a rig through Hamlib", [&] { return std::make_unique<clsHamlib>(store, rig); }, 360'096'000, 0, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::unique_ptr<Oscillator> osc = c.make();
        build(*osc, c.clock, 12'000, true, 7'043'000, c.oscMul);
        osc->setBaseFrequency(c.base);
        vfo.setTunedFrequency(70'430'000);
        dialogs.messages.clear();
        open();
        EXPECT_EQ(dlg->lblDDSClkInCurrent.Caption(), frmCalibrate::formatClock(c.clock));
        EXPECT_EQ(dlg->lblDDSClkinNew.Caption(), "No clock to calibrate");
        for (const char* typed : {"7043000", "7042990", "0"}) {
            dlg->txtOfficialFreq.setText(typed);
            EXPECT_FALSE(dlg->cmdTry.Enabled()) << typed;
            EXPECT_FALSE(dlg->cmdApply.Enabled()) << typed;
        }
        EXPECT_EQ(dlg->lblDDSClkinNew.Caption(), "No clock to calibrate");
        dlg->cmdTry.setValue(true);
        dlg->cmdApply.setValue(true);
        EXPECT_EQ(osc->ClkIn(), c.clock);
        EXPECT_FALSE(dlg->ApplyChanges);
        EXPECT_TRUE(dialogs.messages.empty());
        dlg->cmdCancel.setValue(true);
        vfo.setOscType(nullptr);
    }
}

TEST_F(Calibrate, FieldsShowAtLeastSevenDigitsGroupedByThree) {
    const std::pair<double, const char*> cases[] = {
        {7'100'000, "7 100 000"}, {360'096'000, "360 096 000"}, {455'000, "0 455 000"},
        {0, "0 000 000"},         {49'999'867.7, "49 999 868"}, {1'234'567'890, "1234 567 890"},
    };
    for (const auto& [value, text] : cases)
        EXPECT_EQ(frmCalibrate::formatClock(value), text) << value;
}

} // namespace
