// The oscillator member set's shared steps: clock read-back, limits, the tuning word, the guards and
// the settings, on a driver that records the words it would send.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "platform/runtime/Hooks.h"
#include "platform/runtime/RuntimeError.h"
#include "radio/OscillatorBase.h"

namespace {

constexpr OscillatorBase::Traits kIntegerLimits{.className = "WordOscillator", .floatLimits = false};

OscillatorBase::Traits withFloatLimits() {
    OscillatorBase::Traits t = kIntegerLimits;
    t.floatLimits = true;
    return t;
}

class WordOscillator final : public OscillatorBase {
public:
    explicit WordOscillator(profile::SettingsStore& store, const Traits& traits = kIntegerLimits)
        : OscillatorBase(traits, store) {}
    ~WordOscillator() override { saveAtEnd(); }

    void Refresh() override {}

    std::vector<int32_t> words;
    int startSequences = 0;
    std::function<void()> onOutput;
    std::function<void()> onStart;

protected:
    void startSequence() override {
        ++startSequences;
        if (onStart) onStart();
        SetFrequency(0); // as the DDS drivers end their start sequence
    }
    void output(int32_t, int32_t word) override {
        words.push_back(word);
        if (onOutput) onOutput();
    }
};

struct Messages {
    std::vector<std::string> shown;
    std::vector<std::string> logged;
    runtime::ScopedHooks hooks{
        runtime::Hooks{.addLog = [this](const std::string& line) { logged.push_back(line); },
                       .msgBox =
                           [this](const std::string& prompt, int32_t, const std::string&) {
                               shown.push_back(prompt);
                               return runtime::mb::kOk;
                           }}};
};

TEST(OscillatorClock, ReadsBackInWholeHertzRoundingHalfUp) {
    profile::MemorySettingsStore store;
    WordOscillator osc(store);
    const struct {
        double written;
        double read;
    } cases[] = {{100'000'000.6, 100'000'001},
                 {100'000'000.5, 100'000'001},
                 {100'000'000.4, 100'000'000},
                 {48'000, 48'000}};
    for (const auto& c : cases) {
        osc.setClkIn(c.written);
        EXPECT_EQ(osc.ClkIn(), c.read) << c.written;
    }
    osc.setClkIn(100'000'000.6);
    osc.setRxName("RXModel.Test");
    osc.SaveSettings();
    EXPECT_EQ(store.GetSetting("NerixSDR", "RXModel.Test", "CLKIn"), "100000001");
}

TEST(OscillatorClock, TheClockWriteSetsOnlyTheUpperLimitAndTheBaseWriteSetsBoth) {
    profile::MemorySettingsStore store;
    WordOscillator osc(store);
    osc.setFreqScaling(1.0);
    osc.setBaseFrequency(7'000'000);
    EXPECT_EQ(osc.MaxFreq(), (7'000'000 + 50'000'000) * 10.0);
    EXPECT_EQ(osc.MinFreq(), (7'000'000 - 50'000'000) * 10.0);

    osc.setClkIn(20'000'000); // after the base: MaxFreq from the clock alone, MinFreq untouched
    EXPECT_EQ(osc.MaxFreq(), 100'000'000);
    EXPECT_EQ(osc.MinFreq(), -430'000'000);

    osc.setFreqScaling(2.0); // takes effect at the next base write
    EXPECT_EQ(osc.MaxFreq(), 100'000'000);
    osc.setBaseFrequency(7'000'000);
    EXPECT_EQ(osc.MaxFreq(), (7'000'000 + 20'000'000) * 10.0);
    EXPECT_EQ(osc.MinFreq(), (7'000'000 - 20'000'000) * 10.0);
}

TEST(OscillatorWord, IsFrequencyTimesFactorOrTwoWhenItDoesNotFit) {
    profile::MemorySettingsStore store;
    const struct {
        double clock;
        int32_t f;
        int32_t sent;
        int32_t word;
    } cases[] = {
        {100'000'000, 70'000'000, 70'000'000, 300'647'711},
        {100'000'000, 499'999'999, 499'999'999, 2'147'483'644},
        {100'000'000, 500'000'000, 500'000'000, 2}, // exactly 2^31
        {100'000'000, 600'000'000, 500'000'000, 2}, // clamped to MaxFreq first
        {180'000'000, 70'000'000, 70'000'000, 167'026'506},
        {100'000'000, 0, 0, 0},
    };
    for (const auto& c : cases) {
        WordOscillator osc(store);
        osc.Initialise();
        osc.words.clear();
        osc.setClkIn(c.clock);
        EXPECT_EQ(osc.SetFrequency(c.f), c.sent) << c.f;
        ASSERT_EQ(osc.words.size(), 1u) << c.f;
        EXPECT_EQ(osc.words[0], c.word) << c.f;
        EXPECT_EQ(osc.CurrentTuningWord(), c.word) << c.f;
    }
}

TEST(OscillatorWord, FloatLimitsRoundTheClampDifferently) {
    profile::MemorySettingsStore store;
    WordOscillator integer(store);
    WordOscillator floating(store, withFloatLimits());
    for (WordOscillator* osc : {&integer, &floating}) {
        osc->Initialise();
        osc->setClkIn(24'691'357.8);
    }
    EXPECT_EQ(integer.MaxFreq(), 123'456'789);
    EXPECT_EQ(floating.MaxFreq(), 123'456'792);
    EXPECT_EQ(integer.SetFrequency(123'456'790), 123'456'789);
    EXPECT_EQ(floating.SetFrequency(123'456'790), 123'456'790);
}

TEST(OscillatorWord, ABadClockShowsTheMessageAndSendsNothing) {
    profile::MemorySettingsStore store;
    Messages messages;
    WordOscillator osc(store);
    osc.Initialise();
    osc.words.clear();

    osc.setClkIn(-100);
    EXPECT_EQ(osc.SetFrequency(70'000'000), -500); // clamped to the negative MaxFreq, then refused
    try {
        osc.setClkIn(0);
        FAIL() << "no error";
    } catch (const runtime::RuntimeError& e) {
        EXPECT_EQ(e.Number(), runtime::err::kDivisionByZero);
    }
    EXPECT_EQ(osc.MaxFreq(), 0);
    osc.SetFrequency(70'000'000);

    EXPECT_TRUE(osc.words.empty()); // never word 2 for a clock of 0
    EXPECT_EQ(messages.shown, (std::vector<std::string>{"Clkin is not set correctly, Clkin=-100",
                                                        "Clkin is not set correctly, Clkin=0"}));
}

TEST(OscillatorGuards, NothingActsBeforeInitialiseAndTheSecondInitialiseSendsWordZero) {
    profile::MemorySettingsStore store;
    WordOscillator osc(store);
    EXPECT_EQ(osc.SetFrequency(70'000'000), std::nullopt);
    EXPECT_EQ(osc.Initialise(), 0);
    EXPECT_TRUE(osc.words.empty()); // the start sequence's SetFrequency(0) finds it not yet initialised
    EXPECT_EQ(osc.Initialise(), 0);
    EXPECT_EQ(osc.words, std::vector<int32_t>{0});
}

TEST(OscillatorGuards, ANestedCallIsDroppedAndAFailedCallBlocksNothing) {
    profile::MemorySettingsStore store;
    WordOscillator osc(store);
    osc.Initialise();
    osc.words.clear();

    std::optional<int32_t> nested;
    osc.onOutput = [&] { nested = osc.SetFrequency(1234); };
    osc.SetFrequency(70'000'000);
    EXPECT_EQ(nested, 1234);
    EXPECT_EQ(osc.words.size(), 1u);

    osc.onOutput = [] { runtime::raise(runtime::err::kUnsupportedMember, "lines"); };
    EXPECT_THROW(osc.SetFrequency(70'000'000), runtime::RuntimeError);
    osc.onOutput = nullptr;
    osc.SetFrequency(70'000'000);
    EXPECT_EQ(osc.words.size(), 3u);

    int32_t nestedInitialise = -1;
    osc.onStart = [&] { nestedInitialise = osc.Initialise(); };
    osc.Initialise();
    EXPECT_EQ(nestedInitialise, 0);
    EXPECT_EQ(osc.startSequences, 2); // the nested one ran no start sequence

    osc.onStart = [] { runtime::raise(runtime::err::kDeviceIo, "lines"); };
    EXPECT_THROW(osc.Initialise(), runtime::RuntimeError);
    osc.onStart = nullptr;
    osc.Initialise();
    EXPECT_EQ(osc.startSequences, 4);
}

TEST(OscillatorSettings, RoundTripAndADamagedKeyKeepsOnlyItsOwnValue) {
    profile::MemorySettingsStore store;
    {
        WordOscillator osc(store);
        osc.setRxName("RXModel.Test");
        osc.setClkIn(180'000'000);
        osc.setBaseFrequency(12'000);
        osc.setAutoRefresh(true);
        osc.Initialise();
    } // saves at its end, having been initialised
    {
        WordOscillator osc(store);
        osc.setRxName("RXModel.Test");
        osc.Initialise();
        EXPECT_EQ(osc.ClkIn(), 180'000'000);
        EXPECT_EQ(osc.BaseFrequency(), 12'000);
        EXPECT_TRUE(osc.AutoRefresh());
    }

    Messages messages;
    store.SaveSetting("NerixSDR", "RXModel.Test", "CLKIn", "fast");
    store.SaveSetting("NerixSDR", "RXModel.Test", "BaseFrequency", "9000");
    WordOscillator osc(store);
    osc.setRxName("RXModel.Test");
    osc.RestoreSettings();
    EXPECT_EQ(osc.ClkIn(), 100'000'000);
    EXPECT_EQ(osc.BaseFrequency(), 9'000);
    ASSERT_EQ(messages.logged.size(), 1u);
    EXPECT_NE(messages.logged[0].find("\"ClkIn\"=\"fast\""), std::string::npos);
}

TEST(OscillatorSettings, NothingIsReadOrWrittenWithoutASection) {
    profile::MemorySettingsStore store;
    store.SaveSetting("NerixSDR", "", "ClkIn", "5");
    WordOscillator osc(store);
    osc.Initialise();
    osc.SaveSettings();
    EXPECT_EQ(osc.ClkIn(), 100'000'000);
    EXPECT_EQ(store.size(), 1u);
}

TEST(OscillatorClock, ALimitThatCannotBeHeldRaisesButTheFactorFollowsTheClock) {
    profile::MemorySettingsStore store;
    WordOscillator integer(store);
    integer.Initialise();
    integer.words.clear();
    EXPECT_THROW(integer.setClkIn(500'000'000), runtime::RuntimeError); // MaxFreq 2.5e9 does not fit
    EXPECT_EQ(integer.ClkIn(), 500'000'000);
    integer.SetFrequency(70'000'000);
    EXPECT_EQ(integer.words, std::vector<int32_t>{60'129'542}); // 7 MHz at 500 MHz, not at the old clock

    WordOscillator floating(store, withFloatLimits());
    try {
        floating.setClkIn(1e38);
        FAIL() << "no error";
    } catch (const runtime::RuntimeError& e) {
        EXPECT_EQ(e.Number(), runtime::err::kOverflow);
    }
}

} // namespace
