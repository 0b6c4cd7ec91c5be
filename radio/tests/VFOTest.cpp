// The VFO: clamping, the oscillator frequency, the snap grid, re-entry and the settings, against a fake
// oscillator that records what it is sent.
#include <gtest/gtest.h>

#include <functional>
#include <limits>
#include <optional>
#include <string>
#include <vector>

#include "platform/runtime/Hooks.h"
#include "platform/runtime/RuntimeError.h"
#include "radio/clsVFO.h"

namespace {

class FakeOscillator final : public Oscillator {
public:
    double MaxFreq() const override { return maxFreq; }
    double MinFreq() const override { return minFreq; }
    double FreqScaling() const override { return scaling; }
    void setFreqScaling(double value) override { scaling = value; }
    std::optional<int32_t> SetFrequency(int32_t f) override {
        sent.push_back(f);
        if (onSet) onSet();
        return f;
    }

    double maxFreq = 2'000'000'000;
    double minFreq = 0;
    double scaling = 1;
    std::vector<int32_t> sent;
    std::function<void()> onSet;

protected:
    std::string_view className() const override { return "FakeOscillator"; }
};

struct RefreshCase {
    const char* name;
    int32_t minHz, maxHz;
    int32_t ifHz, calibHz;
    int32_t oscMultiplier, pllMultiplier;
    bool hiSideLo;
    double oscMax, oscMin;
    int32_t tunedSet;
    int32_t tunedAfter;
    std::optional<int32_t> sent; // nothing when nothing may be sent
};

void PrintTo(const RefreshCase& c, std::ostream* os) {
    *os << c.name;
}

class VFORefresh : public ::testing::TestWithParam<RefreshCase> {};

TEST_P(VFORefresh, ClampsComputesAndTakesBack) {
    const RefreshCase& c = GetParam();
    profile::MemorySettingsStore store;
    FakeOscillator osc;
    osc.maxFreq = c.oscMax;
    osc.minFreq = c.oscMin;
    clsVFO vfo(store);
    vfo.setOscType(&osc);
    vfo.setRxMaxFreq(c.maxHz);
    vfo.setRXMinFreq(c.minHz);
    vfo.setIFFrequency(c.ifHz);
    vfo.setCalibOffset(c.calibHz);
    vfo.setHiSideLo(c.hiSideLo);
    vfo.setOscMultiplier(c.oscMultiplier);
    try {
        vfo.setPLLMultiplier(c.pllMultiplier);
    } catch (const runtime::RuntimeError&) {
        // a PLL multiplier of 0 is stored all the same
    }

    vfo.setTunedFrequency(c.tunedSet);

    EXPECT_EQ(vfo.TunedFrequency(), c.tunedAfter);
    if (c.sent) {
        ASSERT_EQ(osc.sent.size(), 1u);
        EXPECT_EQ(osc.sent[0], *c.sent);
        EXPECT_EQ(vfo.OscOut(), *c.sent);
        // Taking the tuned frequency back makes the next refresh produce the same output.
        vfo.Refresh();
        EXPECT_EQ(osc.sent.back(), *c.sent);
        EXPECT_EQ(vfo.TunedFrequency(), c.tunedAfter);
    } else {
        EXPECT_TRUE(osc.sent.empty());
    }
}

constexpr double kWide = 2'000'000'000;

INSTANTIATE_TEST_SUITE_P(
    Cases, VFORefresh,
    ::testing::Values(RefreshCase{"ClampToModelMax", 10'000, 30'000'000, 0, 0, 1, 1, true, kWide, 0,
                                  400'000'000, 300'000'000, 300'000'000},
                      RefreshCase{"ClampToModelMin", 10'000, 30'000'000, 0, 0, 1, 1, true, kWide, 0, 50,
                                  100'000, 100'000},
                      RefreshCase{"NegativeIsAbsolute", 0, 30'000'000, 0, 0, 1, 1, true, kWide, 0,
                                  -70'000'000, 70'000'000, 70'000'000},
                      RefreshCase{"MinimumAboveMaximumWins", 20'000'000, 10'000'000, 0, 0, 1, 1, true, kWide,
                                  0, 150'000'000, 200'000'000, 200'000'000},
                      RefreshCase{"HighSideTimesFour", 0, 30'000'000, 12'000, 0, 4, 1, true, kWide, 0,
                                  70'000'000, 70'000'000, 280'480'000},
                      RefreshCase{"LowSideTimesFour", 0, 30'000'000, 12'000, 0, 4, 1, false, kWide, 0,
                                  70'000'000, 70'000'000, 279'520'000},
                      RefreshCase{"LowSideBelowTheIF", 0, 30'000'000, 12'000, 0, 1, 1, false, kWide, 0,
                                  100'000, 100'000, 20'000},
                      RefreshCase{"NegativeIFActsAsLowSide", 0, 30'000'000, -12'000, 0, 1, 1, true, kWide, 0,
                                  70'000'000, 70'000'000, 69'880'000},
                      RefreshCase{"CalibrationOffset", 0, 30'000'000, 0, 25, 1, 1, true, kWide, 0, 70'000'000,
                                  70'000'000, 70'000'250},
                      RefreshCase{"RatioTieGoesToEven", 0, 30'000'000, 0, 0, 3, 2, true, kWide, 0, 70'000'001,
                                  70'000'001, 105'000'002},
                      RefreshCase{"OscillatorMaxTakesTheTunedFrequencyBack", 0, 30'000'000, 12'000, 0, 4, 1,
                                  true, 200'000'000, 0, 70'000'000, 49'880'000, 200'000'000},
                      RefreshCase{"OscillatorMaxOnTheLowSide", 0, 30'000'000, 12'000, 0, 4, 1, false,
                                  200'000'000, 0, 70'000'000, 50'120'000, 200'000'000},
                      RefreshCase{"OscillatorMin", 0, 30'000'000, 0, 0, 1, 1, true, kWide, 100'000'000,
                                  50'000'000, 100'000'000, 100'000'000},
                      RefreshCase{"FloatLimitIsRounded", 0, 30'000'000, 0, 0, 1, 1, true, 123'456'792.5, 0,
                                  200'000'000, 123'456'792, 123'456'792},
                      RefreshCase{"OutputSaturatesBeforeTheClamp", 0, 200'000'000, 0, 0, 20, 1, true,
                                  500'000'000, 0, 2'000'000'000, 25'000'000, 500'000'000},
                      RefreshCase{"PLLMultiplierZeroSendsNothing", 0, 30'000'000, 0, 0, 1, 0, true, kWide, 0,
                                  70'000'000, 70'000'000, std::nullopt},
                      RefreshCase{"OscMultiplierZeroSendsNothing", 0, 30'000'000, 0, 0, 0, 1, true, kWide, 0,
                                  70'000'000, 70'000'000, std::nullopt}),
    [](const auto& info) { return std::string(info.param.name); });

class VFO : public ::testing::Test {
protected:
    void SetUp() override {
        vfo.setOscType(&osc);
        vfo.setRxMaxFreq(100'000'000);
        vfo.setName("RXModel.Test");
    }

    profile::MemorySettingsStore store;
    FakeOscillator osc;
    clsVFO vfo{store};
};

TEST_F(VFO, StepsSnapToTheGrid) {
    const struct {
        const char* name;
        double lsd; // set after TuneStep 1000
        bool up;
        double step;
        int32_t tuned;
    } cases[] = {
        {"IncByTuneStep", 1'000, true, 0, 71'236'000},
        {"DecByTuneStep", 1'000, false, 0, 71'234'000},
        {"DecByFive", 1'000, false, 5, 71'234'995},
        {"DecByMinusFive", 1'000, false, -5, 71'234'995},
        {"IncByFive", 1'000, true, 5, 71'235'005},
        {"NoGridSkipsTheSnap", 0, true, 0, 71'235'567},
        {"NegativeGridSkipsTheSnap", -10, true, 0, 71'235'567},
    };
    for (const auto& c : cases) {
        vfo.setTuneStep(1'000);
        vfo.setTuneStepLSD(c.lsd);
        vfo.setTunedFrequency(71'234'567);
        const double result = c.up ? vfo.Inc_Freq(c.step) : vfo.Dec_Freq(c.step);
        EXPECT_EQ(vfo.TunedFrequency(), c.tuned) << c.name;
        EXPECT_EQ(result, c.tuned) << c.name;
        EXPECT_EQ(osc.sent.back(), c.tuned) << c.name;
    }
}

TEST_F(VFO, TheGridIsAtMostTenThousandAndTheLockHoldsBoth) {
    vfo.setTuneStepLSD(25'000);
    EXPECT_EQ(vfo.TuneStepLSD(), 10'000);
    vfo.setTuneStep(500);
    EXPECT_EQ(vfo.TuneStepLSD(), 500);
    vfo.setTuneStepLock(true);
    vfo.setTuneStep(100);
    vfo.setTuneStepLSD(100);
    EXPECT_EQ(vfo.TuneStep(), 500);
    EXPECT_EQ(vfo.TuneStepLSD(), 500);
}

TEST_F(VFO, ANestedTuningSetDuringASetIsDropped) {
    osc.onSet = [&] {
        osc.onSet = nullptr;
        vfo.setTunedFrequency(50'000'000);
    };
    vfo.setTunedFrequency(70'000'000);
    EXPECT_EQ(vfo.TunedFrequency(), 70'000'000);
    EXPECT_EQ(osc.sent, std::vector<int32_t>{70'000'000});
}

TEST_F(VFO, ARequestDuringARefreshIsSentByTheNextRefresh) {
    vfo.setTunedFrequency(70'000'000);
    osc.onSet = [&] {
        osc.onSet = nullptr;
        vfo.setTunedFrequency(50'000'000);
    };
    vfo.Refresh();
    EXPECT_EQ(vfo.TunedFrequency(), 50'000'000); // stored and clamped at once
    EXPECT_EQ(osc.sent.back(), 70'000'000);      // but not sent
    vfo.Refresh();
    EXPECT_EQ(osc.sent.back(), 50'000'000);
}

TEST_F(VFO, ANestedStepReturnsZeroWithoutStepping) {
    vfo.setTuneStep(1'000);
    vfo.setTunedFrequency(70'000'000);
    double nested = -1;
    osc.onSet = [&] {
        osc.onSet = nullptr;
        nested = vfo.Dec_Freq(0);
    };
    vfo.Inc_Freq(0);
    EXPECT_EQ(nested, 0);
    EXPECT_EQ(vfo.TunedFrequency(), 70'001'000);
}

TEST_F(VFO, WithoutAnOscillatorItStillClampsAndStepsButSendsNothing) {
    clsVFO bare(store);
    bare.setRxMaxFreq(30'000'000);
    bare.setTunedFrequency(400'000'000);
    EXPECT_EQ(bare.TunedFrequency(), 300'000'000);
    EXPECT_EQ(bare.Refresh(), 0);
    EXPECT_EQ(bare.OscOut(), 300'000'000);
    bare.setTuneStep(1'000);
    EXPECT_EQ(bare.Dec_Freq(0), 299'999'000);
}

TEST_F(VFO, TheMultiplierSettersStoreFirstAndThenReportTheirErrors) {
    vfo.setOscMultiplier(4);
    EXPECT_EQ(osc.scaling, 4.0);
    try {
        vfo.setPLLMultiplier(0);
        FAIL() << "no error";
    } catch (const runtime::RuntimeError& e) {
        EXPECT_EQ(e.Number(), runtime::err::kDivisionByZero);
    }
    EXPECT_EQ(vfo.PLLMultiplier(), 0);

    clsVFO bare(store);
    try {
        bare.setOscMultiplier(3);
        FAIL() << "no error";
    } catch (const runtime::RuntimeError& e) {
        EXPECT_EQ(e.Number(), runtime::err::kObjectNotSet);
    }
    EXPECT_EQ(bare.OscMultiplier(), 3);
}

TEST_F(VFO, HertzSettersRaiseOverflowWhereTheTenfoldDoesNotFit) {
    vfo.setIFFrequency(214'748'364);
    EXPECT_EQ(vfo.IFFrequency(), 214'748'364);
    EXPECT_THROW(vfo.setIFFrequency(214'748'365), runtime::RuntimeError);
    EXPECT_THROW(vfo.setCalibOffset(-214'748'365), runtime::RuntimeError);
    EXPECT_THROW(vfo.setRxMaxFreq(std::numeric_limits<int32_t>::max()), runtime::RuntimeError);
    EXPECT_EQ(vfo.IFFrequency(), 214'748'364);
    vfo.setIFFrequency(0);
    EXPECT_THROW(vfo.setTunedFrequency(std::numeric_limits<int32_t>::min()), runtime::RuntimeError);
    vfo.setTunedFrequency(70'000'000); // the setter is not left busy
    EXPECT_EQ(vfo.TunedFrequency(), 70'000'000);
}

TEST_F(VFO, FormatsTheTunedFrequencyInNineDigitsAtLeast) {
    vfo.setTunedFrequency(71'000'000);
    EXPECT_EQ(vfo.FormattedTunedFreq(), "071000000");
    vfo.setRxMaxFreq(200'000'000);
    vfo.setTunedFrequency(1'234'567'890);
    EXPECT_EQ(vfo.FormattedTunedFreq(), "1234567890");
}

TEST_F(VFO, SettingsRoundTrip) {
    vfo.setIFFrequency(12'000);
    vfo.setHiSideLo(false);
    vfo.setAutoUpdate(true);
    vfo.setTunedFrequency(71'234'567);
    vfo.setTuneStep(2.5);
    vfo.setOscMultiplier(4);
    vfo.setPLLMultiplier(2);
    vfo.setCalibOffset(25);
    vfo.setDDSInterfaceType(3);
    EXPECT_EQ(vfo.SaveSettings(), 0);
    EXPECT_EQ(store.GetSetting("NerixSDR", "RXModel.Test", "TuneStep"), "3");
    EXPECT_EQ(store.GetSetting("NerixSDR", "RXModel.Test", "CalibOffset"), "25");
    EXPECT_EQ(store.GetSetting("NerixSDR", "RXModel.Test", "HiSideLo"), "False");

    clsVFO restored(store);
    restored.setName("RXModel.Test");
    EXPECT_EQ(restored.RestoreSettings(), 0);
    EXPECT_EQ(restored.IFFrequency(), 12'000);
    EXPECT_FALSE(restored.HiSideLo());
    EXPECT_TRUE(restored.AutoUpdate());
    EXPECT_EQ(restored.TunedFrequency(), 71'234'567);
    EXPECT_EQ(restored.TuneStep(), 3);
    EXPECT_EQ(restored.OscMultiplier(), 4);
    EXPECT_EQ(restored.PLLMultiplier(), 2);
    EXPECT_EQ(restored.CalibOffset(), 25);
    EXPECT_EQ(restored.DDSInterfaceType(), 3);
    EXPECT_TRUE(osc.sent.size() == 1u); // restoring sends nothing

    vfo.setTuneStep(1.5);
    vfo.SaveSettings();
    EXPECT_EQ(store.GetSetting("NerixSDR", "RXModel.Test", "TuneStep"), "2");
}

TEST_F(VFO, ADamagedKeyKeepsItsValueAndTheRestIsStillRead) {
    std::vector<std::string> logged;
    runtime::ScopedHooks hooks{
        runtime::Hooks{.addLog = [&](const std::string& line) { logged.push_back(line); }}};
    store.SaveSetting("NerixSDR", "RXModel.Test", "IFFrequency", "300000000"); // tenfold does not fit
    store.SaveSetting("NerixSDR", "RXModel.Test", "HiSideLo", "maybe");
    store.SaveSetting("NerixSDR", "RXModel.Test", "TunedFrequency", "7e7");
    store.SaveSetting("NerixSDR", "RXModel.Test", "TuneStep", "ten");
    store.SaveSetting("NerixSDR", "RXModel.Test", "PLLMultiplier", "99999999999");
    store.SaveSetting("NerixSDR", "RXModel.Test", "AutoUpdate", "1");
    store.SaveSetting("NerixSDR", "RXModel.Test", "CalibOffset", "-7");

    vfo.setTuneStep(100);
    vfo.RestoreSettings();
    EXPECT_EQ(vfo.IFFrequency(), 0);
    EXPECT_TRUE(vfo.HiSideLo());
    EXPECT_EQ(vfo.TunedFrequency(), 70'000'000);
    EXPECT_EQ(vfo.TuneStep(), 100);
    EXPECT_EQ(vfo.PLLMultiplier(), 1);
    EXPECT_TRUE(vfo.AutoUpdate());
    EXPECT_EQ(vfo.CalibOffset(), -7);
    EXPECT_EQ(logged.size(), 4u);
}

} // namespace
