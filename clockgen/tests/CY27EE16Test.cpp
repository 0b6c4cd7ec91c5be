// The clock generator driver on the simulated serial port and FT232 adaptor: the I2C writes decoded
// from the pins into the chip's registers, the BFO remainder, the guards, the limits and the settings,
// and the receiver set-up of the models built on it.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <map>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "clockgen/clsCY27EE16.h"
#include "frame/ReceiverState.h"
#include "platform/runtime/Hooks.h"
#include "platform/runtime/RuntimeError.h"
#include "radio/RXDefinitions.h"
#include "radio/clsDDSNullIF.h"
#include "radio/clsDDSSerialIF.h"
#include "radio/clsFT232IF.h"
#include "radio/clsVFO.h"
#include "radio/modSetupRX.h"
#include "radio/testing/PinBench.h"
#include "radio/testing/PinDecoders.h"

namespace {

constexpr const char* kFt232 = "FT232R USB UART";
constexpr const char* kSection = "RXModel.Test";

// The knob as the receive chain shows it: the value at each apply, and how far the pins had got then.
class RecordingKnob final : public BfoKnob {
public:
    explicit RecordingKnob(const pins::PinTrace& trace) : trace_(trace) {}
    void setBfoValue(float hertz) override { value = hertz; }
    void SetBFO() override {
        applied.push_back(value);
        traceSizeAtApply.push_back(trace_.entries().size());
        if (onApply) onApply();
    }

    float value = -1;
    std::vector<float> applied;
    std::vector<std::size_t> traceSizeAtApply;
    std::function<void()> onApply;

private:
    const pins::PinTrace& trace_;
};

// A store that remembers the spelling of every key asked for and written.
class SpellingStore final : public profile::SettingsStore {
public:
    std::string GetSetting(std::string_view app, std::string_view section, std::string_view key,
                           std::string_view fallback) const override {
        read.emplace_back(key);
        return inner.GetSetting(app, section, key, fallback);
    }
    void SaveSetting(std::string_view app, std::string_view section, std::string_view key,
                     std::string_view value) override {
        written.emplace_back(std::string(key) + "=" + std::string(value));
        inner.SaveSetting(app, section, key, value);
    }
    bool commit() override { return inner.commit(); }
    void put(std::string_view key, std::string_view value) {
        inner.SaveSetting("NerixSDR", kSection, key, value);
    }

    profile::MemorySettingsStore inner;
    mutable std::vector<std::string> read;
    std::vector<std::string> written;
};

// One register write as the chip takes it: the first register and the bytes for it and the next ones.
struct RegisterWrite {
    uint8_t reg;
    std::vector<uint8_t> data;
    bool operator==(const RegisterWrite&) const = default;
};

std::ostream& operator<<(std::ostream& os, const RegisterWrite& w) {
    os << std::hex << "0x" << int(w.reg) << " <-";
    for (uint8_t b : w.data)
        os << " 0x" << int(b);
    return os << std::dec;
}

// Every transaction must be a complete write to the chip's address (0x69, write bit clear).
std::vector<RegisterWrite> chipWrites(const std::vector<pins::I2CTransaction>& transactions) {
    std::vector<RegisterWrite> out;
    for (const auto& t : transactions) {
        EXPECT_TRUE(t.stopped);
        EXPECT_EQ(t.clockPulses, 9 * t.bytes.size());
        EXPECT_GE(t.bytes.size(), 2u);
        if (t.bytes.size() < 2) continue;
        EXPECT_EQ(t.bytes[0], 0x69 << 1);
        out.push_back({t.bytes[1], std::vector<uint8_t>(t.bytes.begin() + 2, t.bytes.end())});
    }
    return out;
}

// The chip's register file after the writes, and its output from the PLL and divider registers.
struct Chip {
    std::map<uint8_t, uint8_t> regs;

    void apply(const std::vector<RegisterWrite>& writes) {
        for (const auto& w : writes)
            for (std::size_t i = 0; i < w.data.size(); ++i)
                regs[static_cast<uint8_t>(w.reg + i)] = w.data[i];
    }
    // 0x40 bits 1-0 and 0x41 are PB, 0x42 bit 7 is PO and bits 6-0 Q - 2; P = 2 (PB + 4) + PO. The
    // crosspoint in 0x46 picks the fixed divide-by-2 or 3, or the divider in 0x0C.
    double outputHz() const {
        const int pb = (regs.at(0x40) & 0x03) << 8 | regs.at(0x41);
        const int po = regs.at(0x42) >> 7;
        const int q = (regs.at(0x42) & 0x7F) + 2;
        const int p = 2 * (pb + 4) + po;
        int d = regs.at(0x0C);
        if (regs.at(0x46) == 0x87) d = 2;
        if (regs.at(0x46) == 0xC7) d = 3;
        return 10'000'000.0 * p / q / d;
    }
};

enum class Bus { Serial, Ft232 };

class ClockGen : public ::testing::TestWithParam<Bus>, protected pins::BasicPinBench<SpellingStore> {
protected:
    ClockGen() {
        ports.plugIn(1);
        driver.plugIn(kFt232);
        serial.Initialise();
        EXPECT_GT(serial.OpenPort(false), 0);
        ft232.Initialise();
        osc.setIFHandler(&line());
    }

    LineInterface& line() { return GetParam() == Bus::Serial ? static_cast<LineInterface&>(serial) : ft232; }
    pins::TwoWire wiring() const {
        return GetParam() == Bus::Serial ? pins::wiring::serialI2C(1) : pins::wiring::ft232();
    }
    std::vector<RegisterWrite> writes() const {
        return chipWrites(pins::decodeI2C(pins::twoWireSamples(trace, wiring())));
    }
    // The USB writes made since the adaptor had made `from` of them.
    std::vector<uint32_t> usbWritesSince(std::size_t from) {
        const std::vector<uint32_t>& all = driver.adaptor(kFt232)->writeSizes;
        return {all.begin() + static_cast<long>(from), all.end()};
    }
    std::size_t usbWriteCount() { return driver.adaptor(kFt232)->writeSizes.size(); }
    // Initialised as the receiver set-up leaves it, with the pins of the start forgotten.
    void initialise() {
        osc.setRxName(kSection);
        osc.setClkIn(300'000'000);
        osc.setBaseFrequency(0);
        osc.Initialise();
        trace.clearKeepingState();
        knob.applied.clear();
    }

    clsDDSSerialIF serial{store, timing, ports};
    clsFT232IF ft232{driver, store, timing};
    RecordingKnob knob{trace};
    clsCY27EE16 osc{store, &knob};
};

INSTANTIATE_TEST_SUITE_P(Buses, ClockGen, ::testing::Values(Bus::Serial, Bus::Ft232),
                         [](const auto& info) { return info.param == Bus::Serial ? "Serial" : "Ft232"; });

using W = std::vector<RegisterWrite>;

TEST_P(ClockGen, TuningWritesTheRegistersOfTheStepAndHandsTheRestToTheKnob) {
    const struct {
        const char* name;
        int32_t f;
        bool calib;
        float remainder;
        W expected;
    } cases[] = {
        {"448 kHz, entry 0", 4'480'000, false, 0,
         W{{0x09, {0x20}},
           {0x40, {0xCD, 0x5A, 0x7B}},
           {0x0C, {0x7D}},
           {0x45, {0x8E, 0x47}},
           {0x44, {0x02}},
           {0x47, {0x80}}}},
        {"448.01 kHz, entry 0", 4'480'010, false, 0,
         W{{0x09, {0x20}},
           {0x40, {0xCD, 0x5A, 0x7B}},
           {0x0C, {0x7D}},
           {0x45, {0x8E, 0x47}},
           {0x44, {0x02}},
           {0x47, {0x80}}}},
        {"calibration input", 4'480'000, true, 0,
         W{{0x09, {0x24}},
           {0x40, {0xCD, 0x5A, 0x7B}},
           {0x0C, {0x7D}},
           {0x45, {0x8E, 0x47}},
           {0x44, {0x02}},
           {0x47, {0x80}}}},
        {"50 MHz, divider 3", 500'000'000, false, 0,
         W{{0x09, {0x20}},
           {0x40, {0xC0, 0x0B, 0x00}},
           {0x0C, {0x06}},
           {0x45, {0x8E, 0xC7}},
           {0x44, {0x02}},
           {0x47, {0x80}}}},
        {"tuned 30 MHz, divider 2", 1'200'480'000, false, 0,
         W{{0x09, {0x20}},
           {0x40, {0xD3, 0xF8, 0xD3}},
           {0x0C, {0x04}},
           {0x45, {0x8E, 0x87}},
           {0x44, {0x02}},
           {0x47, {0x80}}}},
        {"the zero entry leaves the dividers", 1'200'520'000, false, 0,
         W{{0x09, {0x20}}, {0x40, {0xC0, 0x00, 0x00}}, {0x44, {0x02}}, {0x47, {0x80}}}},
        {"the last hertz before the end", 1'200'559'979, false, 999,
         W{{0x09, {0x20}}, {0x40, {0xC0, 0x00, 0x00}}, {0x44, {0x02}}, {0x47, {0x80}}}},
    };
    initialise();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        trace.clearKeepingState();
        knob.applied.clear();
        osc.setCalibMode(c.calib);
        osc.SetFrequency(c.f);
        EXPECT_EQ(writes(), c.expected);
        EXPECT_EQ(knob.applied, std::vector<float>{c.remainder});
    }
}

TEST_P(ClockGen, TheRemainderReachesTheKnobBeforeTheChipIsWritten) {
    const struct {
        int32_t f;
        float remainder;
        int32_t index; // the step whose packed word reaches registers 0x40 to 0x42
    } cases[] = {
        {284'481'000, 25, 7000},
        {40'000'020, 0, 888}, // 1,000,000.5 Hz rounds to the even 1,000,000
        {39'999'940, 998, 887},
        {3'520'000, 0, 24}, // 88 kHz, below the first step: the mirror image
    };
    clockgen::PllLut table;
    table.BuildLUT();
    initialise();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.f);
        trace.clearKeepingState();
        knob.applied.clear();
        knob.traceSizeAtApply.clear();
        const std::size_t before = trace.entries().size();
        osc.SetFrequency(c.f);
        ASSERT_EQ(knob.applied, std::vector<float>{c.remainder});
        EXPECT_EQ(knob.traceSizeAtApply[0], before) << "no pin moved before the knob was applied";
        const W got = writes();
        ASSERT_EQ(got.size(), 6u);
        const uint32_t e = table.entry(c.index);
        EXPECT_EQ(got[1], (RegisterWrite{0x40,
                                         {static_cast<uint8_t>((e >> 16) | 0xC0),
                                          static_cast<uint8_t>(e >> 8), static_cast<uint8_t>(e)}}));
    }
}

TEST_P(ClockGen, EachTuningLeavesInOneUsbWriteOf8Plus27NPinBytes) {
    if (GetParam() != Bus::Ft232) GTEST_SKIP() << "the serial lines move at once";
    initialise();
    const std::size_t writesBefore = usbWriteCount();
    osc.SetFrequency(4'480'000);     // six writes of 3, 5, 3, 4, 3, 3 bytes
    osc.SetFrequency(1'200'520'000); // the zero entry: 3, 5, 3, 3
    EXPECT_EQ(usbWritesSince(writesBefore), (std::vector<uint32_t>{8 * 6 + 27 * 21, 8 * 4 + 27 * 14}));
    EXPECT_EQ(ft232.PinCount(), 0);
}

TEST_P(ClockGen, NothingIsSentBeforeInitialiseAndRefreshThenSendsZeroHertz) {
    osc.SetFrequency(4'480'000);
    osc.Refresh();
    osc.setXtalCap(300);
    EXPECT_TRUE(writes().empty());
    EXPECT_TRUE(knob.applied.empty());
    EXPECT_EQ(osc.table().entry(0), 0u) << "no table before Initialise";

    initialise();
    osc.Refresh(); // f = 0: h 0 mirrors to entry 112
    clockgen::PllLut table;
    table.BuildLUT();
    const uint32_t e = table.entry(112);
    const W got = writes();
    ASSERT_EQ(got.size(), 6u);
    EXPECT_EQ(got[1].data, (std::vector<uint8_t>{static_cast<uint8_t>((e >> 16) | 0xC0),
                                                 static_cast<uint8_t>(e >> 8), static_cast<uint8_t>(e)}));
    EXPECT_EQ(knob.applied, std::vector<float>{0});

    trace.clearKeepingState();
    osc.SetFrequency(500'000'000);
    osc.Refresh();
    const W twice = writes();
    ASSERT_EQ(twice.size(), 12u);
    EXPECT_EQ(W(twice.begin(), twice.begin() + 6), W(twice.begin() + 6, twice.end()));
    EXPECT_EQ(twice[1], (RegisterWrite{0x40, {0xC0, 0x0B, 0x00}}));
}

TEST_P(ClockGen, BeyondTheTableNothingMovesAndRefreshKeepsTheLastStep) {
    initialise();
    osc.SetFrequency(500'000'000);
    trace.clearKeepingState();
    knob.applied.clear();
    for (const int32_t f : {1'200'559'980, 1'300'000'000, 2'147'483'647}) {
        SCOPED_TRACE(f);
        osc.SetFrequency(f);
        EXPECT_TRUE(writes().empty());
        EXPECT_TRUE(knob.applied.empty());
    }
    osc.Refresh();
    const W got = writes();
    ASSERT_EQ(got.size(), 6u);
    EXPECT_EQ(got[1], (RegisterWrite{0x40, {0xC0, 0x0B, 0x00}}));
}

TEST_P(ClockGen, CrystalLoadIsKeptBeforeInitialiseAndRestoredByIt) {
    const W load300{{0x13, {0x2C}}};
    osc.setXtalCap(300);
    EXPECT_EQ(osc.XtalCap(), 300);
    EXPECT_TRUE(writes().empty());

    // Nothing stored: Initialise replaces the value with 0 and sends that.
    osc.setRxName(kSection);
    osc.Initialise();
    EXPECT_EQ(osc.XtalCap(), 0);
    EXPECT_EQ(writes(), (W{{0x13, {0x00}}}));

    trace.clearKeepingState();
    osc.setXtalCap(300);
    EXPECT_EQ(writes(), load300);

    // Stored: a later Initialise writes it on restoring and again at its end.
    trace.clearKeepingState();
    store.put("XtalCap", "300");
    osc.Initialise();
    EXPECT_EQ(writes(), (W{{0x13, {0x2C}}, {0x13, {0x2C}}}));
}

TEST_P(ClockGen, TheStartSetsTheBusIdleThenWritesTheLoad) {
    trace.clearKeepingState();
    const std::size_t usbBefore = usbWriteCount();
    osc.setRxName(kSection);
    EXPECT_EQ(osc.Initialise(), 0);
    EXPECT_TRUE(osc.Initialised());
    EXPECT_EQ(writes(), (W{{0x13, {0x00}}}));
    const auto samples = pins::twoWireSamples(trace, wiring());
    ASSERT_GE(samples.size(), 3u);
    EXPECT_TRUE(samples[2].scl && samples[2].sda) << "both lines high before the first start";
    if (GetParam() == Bus::Ft232) {
        EXPECT_EQ(usbWritesSince(usbBefore), (std::vector<uint32_t>{2, 8 + 27 * 3}));
    }
}

TEST_P(ClockGen, ACallFromTheKnobWhileTuningIsRefused) {
    initialise();
    knob.onApply = [&] {
        osc.SetFrequency(500'000'000);
        osc.setXtalCap(77);
        osc.Initialise();
    };
    osc.SetFrequency(4'480'000);
    knob.onApply = nullptr;
    const W got = writes();
    ASSERT_EQ(got.size(), 6u);
    EXPECT_EQ(got[1], (RegisterWrite{0x40, {0xCD, 0x5A, 0x7B}}));
    EXPECT_EQ(osc.XtalCap(), 77) << "the value is kept for the next write";
    EXPECT_EQ(knob.applied.size(), 1u);

    trace.clearKeepingState();
    osc.Refresh(); // the refused frequency was not kept
    EXPECT_EQ(writes()[1], (RegisterWrite{0x40, {0xCD, 0x5A, 0x7B}}));
}

// The receiver's road: the VFO at four times the local oscillator, IF 12 kHz above the signal. The
// chip's output over four plus the knob's hertz is the wanted local oscillator, within the step's error.
TEST_P(ClockGen, TunedThroughTheVfoTheChipAndTheKnobMakeTheLocalOscillator) {
    const struct {
        int32_t tunedHz;
        double tolerance; // Hz of the local oscillator: the table's error at that step, over four
    } cases[] = {
        {100'000, 0},    {100'437, 0},    {1'100'250, 0},       {3'737'123, 4.03}, {3'738'999, 0},
        {12'488'001, 0}, {29'988'500, 0}, {30'000'000, 2705.9}, {2'100'025, 222}, // below 15 MHz at the chip
                                                                                  // every step is within
                                                                                  // 887.6 Hz
    };
    clsVFO vfo{store};
    vfo.setOscType(&osc);
    initialise();
    vfo.setRXMinFreq(100'000);
    vfo.setRxMaxFreq(30'000'000);
    vfo.setIFFrequency(12'000);
    vfo.setOscMultiplier(4);
    vfo.setPLLMultiplier(1);
    ASSERT_EQ(osc.FreqScaling(), 4);
    Chip chip;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.tunedHz);
        trace.clearKeepingState();
        knob.applied.clear();
        vfo.setTunedFrequency(c.tunedHz * 10);
        chip.apply(writes());
        ASSERT_EQ(knob.applied.size(), 1u);
        const double lo = chip.outputHz() / 4 + knob.applied[0];
        EXPECT_NEAR(lo, c.tunedHz + 12'000.0, c.tolerance + 0.01);
    }
    vfo.setOscType(nullptr);
}

TEST_P(ClockGen, WithoutALineTuningStillMovesTheKnobAndInitialiseFails) {
    initialise();
    osc.setIFHandler(nullptr);
    osc.SetFrequency(284'481'000);
    osc.setXtalCap(10);
    EXPECT_EQ(knob.applied, std::vector<float>{25});
    EXPECT_TRUE(writes().empty());

    clsCY27EE16 fresh{store, &knob};
    try {
        fresh.Initialise();
        ADD_FAILURE() << "Initialise did not fail";
    } catch (const runtime::RuntimeError& e) {
        EXPECT_EQ(e.Number(), runtime::err::kObjectNotSet);
    }
    EXPECT_FALSE(fresh.Initialised());
}

TEST(ClockGenLines, ALineWithoutI2CFailsInitialiseWithAMissingMember) {
    profile::MemorySettingsStore store;
    clsDDSNullIF null{store};
    clsCY27EE16 osc{store};
    osc.setIFHandler(&null);
    try {
        osc.Initialise();
        ADD_FAILURE() << "Initialise did not fail";
    } catch (const runtime::RuntimeError& e) {
        EXPECT_EQ(e.Number(), runtime::err::kUnsupportedMember);
    }
    EXPECT_FALSE(osc.Initialised());
    osc.SetFrequency(4'480'000); // still refused, nothing to see and nothing thrown
}

TEST(ClockGenLimits, AreThirtyTwoBitFloatsOfTheClockAndTheBase) {
    profile::MemorySettingsStore store;
    clsCY27EE16 osc{store};
    EXPECT_EQ(osc.Name(), "clsCY27EE16");
    EXPECT_EQ(osc.ClkIn(), 100'000'000);
    EXPECT_EQ(osc.MaxFreq(), 500'000'000);
    EXPECT_EQ(osc.MinFreq(), 0);
    EXPECT_EQ(osc.FreqScaling(), 1);
    EXPECT_FALSE(osc.CMDOutActive());
    EXPECT_EQ(osc.CurrentTuningWord(), 0);

    const struct {
        const char* name;
        double clk;
        double scaling;
        std::optional<int32_t> base;
        double max, min;
    } cases[] = {
        {"the clock alone sets half of it", 100'000'000, 1, std::nullopt, 500'000'000, 0},
        {"rounded to a float", 123'456'789, 1, std::nullopt, 617'283'968, 0},
        {"both models", 300'000'000, 4, 0, 6'000'000'000.0, -6'000'000'000.0},
        {"around a base", 300'000'000, 1, 1'000'000, 1'510'000'000, -1'490'000'000},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        osc.setFreqScaling(c.scaling);
        osc.setMinFreq(0);
        osc.setClkIn(c.clk);
        if (c.base) osc.setBaseFrequency(*c.base);
        EXPECT_EQ(osc.MaxFreq(), c.max);
        EXPECT_EQ(osc.MinFreq(), c.min);
        EXPECT_EQ(osc.MaxFreq(), static_cast<float>(osc.MaxFreq()));
    }
    osc.setMaxFreq(1.0e9 + 1);
    EXPECT_EQ(osc.MaxFreq(), 1.0e9);
}

TEST(ClockGenSettings, TheClockReadAsClkInMeetsTheOneWrittenAsCLKIn) {
    SpellingStore store;
    {
        clsCY27EE16 osc{store};
        osc.setRxName(kSection);
        osc.setClkIn(300'000'000.4);
        osc.setBaseFrequency(12'000);
        osc.setAutoRefresh(true);
        osc.setXtalCap(300);
        osc.SaveSettings();
        EXPECT_EQ(store.written, (std::vector<std::string>{"CLKIn=300000000", "BaseFrequency=12000",
                                                           "AutoRefresh=True", "XtalCap=300"}));
    }
    clsCY27EE16 back{store};
    back.setRxName(kSection);
    store.read.clear();
    back.RestoreSettings();
    EXPECT_EQ(store.read, (std::vector<std::string>{"ClkIn", "AutoRefresh", "BaseFrequency", "XtalCap"}));
    EXPECT_EQ(back.ClkIn(), 300'000'000);
    EXPECT_EQ(back.BaseFrequency(), 12'000);
    EXPECT_TRUE(back.AutoRefresh());
    EXPECT_EQ(back.XtalCap(), 300);
    // The base was set after the restored clock.
    EXPECT_EQ(back.MaxFreq(), static_cast<float>((150'000'000.0 + 12'000) * 10));
}

TEST(ClockGenSettings, NothingIsReadOrWrittenWithoutASectionAndTheEndSavesOnlyAfterInitialise) {
    pins::BasicPinBench<SpellingStore> bench;
    SpellingStore& store = bench.store;
    {
        clsCY27EE16 osc{store};
        osc.setClkIn(300'000'000);
        osc.SaveSettings();
        osc.RestoreSettings();
        osc.setRxName(kSection);
    }
    EXPECT_TRUE(store.written.empty());
    EXPECT_TRUE(store.read.empty());

    bench.driver.plugIn(kFt232);
    clsFT232IF ft232{bench.driver, store, bench.timing};
    {
        clsCY27EE16 osc{store};
        osc.setIFHandler(&ft232);
        osc.setRxName(kSection);
        osc.Initialise();
        store.written.clear();
    }
    EXPECT_EQ(store.written.size(), 4u);
}

// The receiver set-up's clock generator models, on the serial port and on the FT232 adaptor: the objects
// the row names, filled with its values, and a tuning through the VFO decoded from the chip's registers.
struct ClockGenReceiver : pins::PinBench {
    ClockGenReceiver() {
        ports.plugIn(1);
        driver.plugIn(kFt232);
    }
    modSetupRX::Globals globals() {
        modSetupRX::RadioObjects objects;
        objects.Vfo = &vfo;
        objects.SerialLine = &serial;
        objects.Ft232Line = &ft232;
        objects.Cy27ee16Osc = &cy;
        return {store, state, models, objects, nullptr};
    }

    std::vector<std::string> messages;
    runtime::ScopedHooks hooks{{.doEvents = [] {},
                                .addLog = [](const std::string&) {},
                                .msgBox =
                                    [this](const std::string& p, int32_t, const std::string&) {
                                        messages.push_back(p);
                                        return 1;
                                    }}};
    ReceiverState state;
    RXDefinitions::RxModelTable models;
    RecordingKnob knob{trace};
    clsVFO vfo{store};
    clsDDSSerialIF serial{store, timing, ports};
    clsFT232IF ft232{driver, store, timing};
    clsCY27EE16 cy{store, &knob};
    modSetupRX::ReceiverSetup setup;
};

struct ClockGenModel {
    const char* name;
    int model;
    LineInterface* (*line)(ClockGenReceiver&);
    const char* lineName;
};

TEST(ClockGenSetup, EachClockGenModelGetsItsObjectsAndTunesTheChipThroughTheVfo) {
    const ClockGenModel cases[] = {
        {"serial", 17, [](ClockGenReceiver& r) -> LineInterface* { return &r.serial; },
         "DDSInterface.Serial"},
        {"FT232", 19, [](ClockGenReceiver& r) -> LineInterface* { return &r.ft232; },
         "DDSInterface.DDSFTDIFT232IF"},
    };
    // Steps the clock generator's table hits exactly.
    const int32_t tunings[] = {3'738'999, 12'488'001, 1'100'250};
    for (const ClockGenModel& c : cases) {
        SCOPED_TRACE(c.name);
        ClockGenReceiver r;
        r.state.SDRModelNo = c.model;
        int32_t m = -1;
        r.setup.InitialiseRX(m, r.globals());
        ASSERT_EQ(m, c.model);
        const RXDefinitions::RxModelEntry& row = r.models.RxModels[static_cast<size_t>(c.model)];
        const std::string section = "RXModel." + row.Name;
        LineInterface* line = c.line(r);
        EXPECT_EQ(r.vfo.OscType(), &r.cy);
        EXPECT_EQ(r.setup.SelectedOsc, &r.cy);
        EXPECT_EQ(r.setup.SelectedLine, line);
        EXPECT_EQ(r.cy.IFHandler(), line);
        EXPECT_EQ(r.cy.Parent(), &r.vfo);
        EXPECT_EQ(line->Name(), c.lineName);
        EXPECT_EQ(line->RxName(), section);
        EXPECT_EQ(r.cy.RxName(), section);
        EXPECT_EQ(r.cy.Name(), "DDSChip." + row.DDSChipName);
        EXPECT_EQ(r.cy.ClkIn(), 300'000'000);
        EXPECT_EQ(r.cy.BaseFrequency(), 0);
        EXPECT_TRUE(r.cy.Initialised());
        EXPECT_EQ(r.vfo.IFFrequency(), 12'000);
        EXPECT_TRUE(r.state.IQMode);
        EXPECT_TRUE(r.messages.empty());

        const pins::TwoWire wiring = c.model == 19 ? pins::wiring::ft232() : pins::wiring::serialI2C(1);
        for (const int32_t tunedHz : tunings) {
            SCOPED_TRACE(tunedHz);
            r.trace.clearKeepingState();
            r.knob.applied.clear();
            r.vfo.setTunedFrequency(tunedHz * 10);
            // The local oscillator above the signal by the IF; the chip runs at four times it and the
            // hertz below its 4 kHz step go to the knob.
            const double loHz = static_cast<double>(tunedHz) + row.LOOffset;
            Chip chip;
            chip.apply(chipWrites(pins::decodeI2C(pins::twoWireSamples(r.trace, wiring))));
            ASSERT_EQ(r.knob.applied.size(), 1u);
            EXPECT_NEAR(chip.outputHz() / 4 + r.knob.applied[0], loHz, 1.0);
        }
    }
}

} // namespace
