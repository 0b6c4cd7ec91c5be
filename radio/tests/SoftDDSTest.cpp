// The software oscillator: the offset it writes into the BFO knob, its limits and its failures.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/runtime/Hooks.h"
#include "platform/runtime/RuntimeError.h"
#include "radio/clsSoftDDS.h"

namespace {

class RecordingKnob final : public BfoKnob {
public:
    void setBfoValue(float hertz) override { value = hertz; }
    void SetBFO() override { applied.push_back(value); }

    float value = -1;
    std::vector<float> applied;
};

class SoftDDS : public ::testing::Test {
protected:
    // As the receiver set-up wires it: the clock, then the base with the scaling already pushed.
    void wire(double scaling) {
        osc.setFreqScaling(scaling);
        osc.setClkIn(48'000);
        osc.setBaseFrequency(28'304'000);
    }

    profile::MemorySettingsStore store;
    RecordingKnob knob;
    clsSoftDDS osc{store, &knob};
};

TEST_F(SoftDDS, StartsWithTheLimitsOfItsClockWriteAroundZero) {
    EXPECT_EQ(osc.Name(), "clsSoftDDS");
    EXPECT_EQ(osc.ClkIn(), 48'000);
    EXPECT_EQ(osc.BaseFrequency(), 28'304'000);
    EXPECT_EQ(osc.MaxFreq(), 120'000);
    EXPECT_EQ(osc.MinFreq(), -120'000);
}

TEST_F(SoftDDS, WritesTheOffsetFromTheCrystalIntoTheKnob) {
    const struct {
        double scaling;
        int32_t f;
        int32_t acted;
        float offset;
    } cases[] = {
        {4, 283'080'000, 283'080'000, 1'000},   {4, 283'000'000, 283'000'000, -1'000},
        {4, 300'000'000, 283'520'000, 12'000},  // clamped to MaxFreq
        {4, 200'000'000, 282'560'000, -12'000}, // clamped to MinFreq
        {1, 283'040'105, 283'040'105, 10},      // 10.5 Hz: a tie goes to the even number
        {1, 283'040'115, 283'040'115, 12},      {1, 283'160'000, 283'160'000, 12'000},
        {1, 290'000'000, 283'160'000, 12'000},  {1, 282'920'000, 282'920'000, -12'000},
    };
    for (const auto& c : cases) {
        wire(c.scaling);
        EXPECT_EQ(osc.SetFrequency(c.f), c.acted) << c.f;
        ASSERT_FALSE(knob.applied.empty());
        EXPECT_EQ(knob.applied.back(), c.offset) << c.f;
    }
    wire(4);
    EXPECT_EQ(osc.MaxFreq(), 283'520'000);
    EXPECT_EQ(osc.MinFreq(), 282'560'000);
    wire(1);
    EXPECT_EQ(osc.MaxFreq(), 283'160'000);
    EXPECT_EQ(osc.MinFreq(), 282'920'000);
}

TEST_F(SoftDDS, AScalingChangeWithoutANewBaseIsLimitedToAQuarterOfTheClock) {
    wire(4);
    osc.setFreqScaling(1);
    EXPECT_EQ(osc.MaxFreq(), 283'520'000);
    osc.SetFrequency(283'520'000); // 48 000 Hz away before the limit
    EXPECT_EQ(knob.applied.back(), 12'000);
}

TEST_F(SoftDDS, ActsBeforeInitialiseAndRefreshChangesNothing) {
    wire(1);
    osc.SetFrequency(283'050'000);
    EXPECT_EQ(knob.applied, std::vector<float>{1'000});
    osc.Refresh();
    EXPECT_EQ(knob.applied.size(), 1u);
    EXPECT_FALSE(osc.CMDOutActive());
}

TEST_F(SoftDDS, AScalingOfZeroReportsTheErrorAndLeavesTheKnob) {
    wire(1);
    osc.setFreqScaling(0);
    try {
        osc.SetFrequency(283'050'000);
        FAIL() << "no error";
    } catch (const runtime::RuntimeError& e) {
        EXPECT_EQ(e.Number(), runtime::err::kDivisionByZero);
    }
    EXPECT_TRUE(knob.applied.empty());
    osc.setFreqScaling(1); // and the busy flag was cleared
    osc.SetFrequency(283'050'000);
    EXPECT_EQ(knob.applied, std::vector<float>{1'000});
}

TEST_F(SoftDDS, ABadClockShowsTheMessageAndLeavesTheKnob) {
    std::vector<std::string> shown;
    runtime::ScopedHooks hooks{
        runtime::Hooks{.msgBox = [&](const std::string& prompt, int32_t, const std::string&) {
            shown.push_back(prompt);
            return runtime::mb::kOk;
        }}};
    EXPECT_THROW(osc.setClkIn(0), runtime::RuntimeError);
    osc.SetFrequency(283'050'000);
    EXPECT_TRUE(knob.applied.empty());
    EXPECT_EQ(shown, std::vector<std::string>{"Clkin is not set correctly, Clkin=0"});
}

TEST_F(SoftDDS, SettingsAreTheClockAndTheBase) {
    osc.setRxName("RXModel.IQ,Crystal Controlled");
    wire(1);
    osc.SaveSettings();
    EXPECT_EQ(store.GetSetting("NerixSDR", "RXModel.IQ,Crystal Controlled", "CLKIn"), "48000");
    EXPECT_EQ(store.GetSetting("NerixSDR", "RXModel.IQ,Crystal Controlled", "BaseFrequency"), "28304000");

    store.SaveSetting("NerixSDR", "RXModel.IQ,Crystal Controlled", "CLKIn", "96000");
    osc.Initialise();
    EXPECT_EQ(osc.ClkIn(), 96'000);
    EXPECT_EQ(osc.MaxFreq(), (28'304'000 + 24'000) * 10.0);
}

} // namespace
