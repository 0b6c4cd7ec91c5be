// The Hamlib oscillator: the six rig calls of a tuning change against a fake bridge, the model number it
// hands Hamlib, its failures and its line sequences, and one tuning of Hamlib's dummy rig end to end.
#include <gtest/gtest.h>

#include <bit>
#include <climits>
#include <functional>
#include <ostream>
#include <string>
#include <vector>

#include "platform/runtime/DynamicLibrary.h"
#include "platform/runtime/Hooks.h"
#include "platform/runtime/RuntimeError.h"
#include "radio/clsDDSNullIF.h"
#include "radio/clsHamlib.h"

namespace {

// One call into the bridge; the first argument is the level, the model or the rig.
struct RigCall {
    std::string name;
    int32_t arg = 0;
    int32_t vfo = 0;
    double hertz = 0;
    bool operator==(const RigCall&) const = default;
};

void PrintTo(const RigCall& c, std::ostream* os) {
    *os << c.name << '(' << c.arg;
    if (c.name == "rig_set_freq") *os << ", 0x" << std::hex << c.vfo << std::dec << ", " << c.hertz;
    *os << ')';
}

// What one tuning change must send: the values written out here, not taken from the code under test.
std::vector<RigCall> sixCalls(int32_t model, int32_t rig, double hertz) {
    return {{"rig_set_debug", 5}, {"rig_init", model},
            {"rig_open", rig},    {"rig_set_freq", rig, 0x20000000, hertz},
            {"rig_close", rig},   {"rig_cleanup", rig}};
}

std::vector<RigCall> twice(std::vector<RigCall> calls) {
    const std::vector<RigCall> once = calls;
    calls.insert(calls.end(), once.begin(), once.end());
    return calls;
}

class FakeBridge final : public RigBridge {
public:
    int32_t rig_set_debug(int32_t level) override { return call({"rig_set_debug", level}); }
    int32_t rig_init(int32_t model) override {
        call({"rig_init", model});
        return handle;
    }
    int32_t rig_open(int32_t rig) override { return call({"rig_open", rig}); }
    int32_t rig_set_freq(int32_t rig, int32_t vfo, double freq) override {
        return call({"rig_set_freq", rig, vfo, freq});
    }
    int32_t rig_close(int32_t rig) override { return call({"rig_close", rig}); }
    int32_t rig_cleanup(int32_t rig) override { return call({"rig_cleanup", rig}); }

    std::vector<RigCall> calls;
    int32_t handle = 7;
    int32_t status = -6; // a rig that does not answer: the oscillator must go on regardless
    // The next this many calls fail as a bridge that does not load would.
    int failingCalls = 0;
    // Runs as a call arrives, as an event pumped during a slow rig would.
    std::function<void()> during;
    // A call of this name raises, as a bridge without that entry point would.
    std::string missing;

private:
    int32_t call(RigCall c) {
        if (c.name == missing)
            runtime::raise(runtime::err::kDllEntryPoint, "DynamicLibrary", "Can't find DLL entry point");
        if (failingCalls > 0) {
            --failingCalls;
            runtime::raise(runtime::err::kDllLoad, "DynamicLibrary", "Error in loading DLL");
        }
        calls.push_back(std::move(c));
        if (during) during();
        return status;
    }
};

// The lines the start sequence and the refresh drive.
class RecordingLine final : public LineInterface {
public:
    void SDATA(int32_t level) override { record("SDATA " + std::to_string(level)); }
    void SCLCK(int32_t level) override { record("SCLCK " + std::to_string(level)); }
    void IOUPD(int32_t level) override { record("IOUPD " + std::to_string(level)); }
    void Out8LSB(uint8_t value) override { record("Out8LSB " + std::to_string(value)); }

    std::vector<std::string> changes;
    bool failing = false;

protected:
    std::string_view className() const override { return "RecordingLine"; }

private:
    void record(std::string change) {
        if (failing) runtime::raise(runtime::err::kDeviceIo, "RecordingLine");
        changes.push_back(std::move(change));
    }
};

const std::vector<std::string> kStartSequence{"SDATA 0", "SCLCK 0", "IOUPD 0", "IOUPD 1", "IOUPD 0"};

int32_t errorOf(const std::function<void()>& call) {
    try {
        call();
    } catch (const runtime::RuntimeError& e) {
        return e.Number();
    }
    return 0;
}

class Hamlib : public ::testing::Test {
protected:
    // Wired as the receiver set-up wires it, with no settings section, so the creation values stay.
    void ready(Oscillator& o) {
        o.setIFHandler(&line);
        o.Initialise();
    }

    profile::MemorySettingsStore store;
    FakeBridge bridge;
    RecordingLine line;
    clsHamlib osc{store, bridge};
};

TEST_F(Hamlib, ATuningChangeIsSixCallsWithTheWholeHertzAndHamlibsModelNumber) {
    const struct {
        double clock;
        int32_t rigNo;
        int32_t f;
        int32_t acted;
        int32_t model;
        double hertz;
    } cases[] = {
        {100'000'000, 1, 70'000'005, 70'000'005, 1, 7'000'000.0},
        {100'000'000, 1, 9, 9, 1, 0.0},
        {100'000'000, 1, 600'000'000, 500'000'000, 1, 50'000'000.0}, // clamped to half the clock
        {100'000'000, 2, -15, -15, 2, -1.0},                         // no lower clamp; toward zero
        {100'000'000, 2502, 70'000'000, 70'000'000, 25'002, 7'000'000.0},
        {100'000'000, 101, 70'000'000, 70'000'000, 1'001, 7'000'000.0},
        {100'000'000, 1603, 70'000'000, 70'000'000, 16'003, 7'000'000.0},
        {360'096'000, 1, 1'800'480'001, 1'800'480'000, 1, 180'048'000.0}, // the model table's clock
        // The float limit 123 456 792 lets 123 456 790 through and clamps 123 456 795 to itself.
        {24'691'357.8, 1, 123'456'790, 123'456'790, 1, 12'345'679.0},
        {24'691'357.8, 1, 123'456'795, 123'456'792, 1, 12'345'679.0},
    };
    for (const auto& c : cases) {
        FakeBridge fresh;
        clsHamlib o(store, fresh);
        ready(o);
        o.setClkIn(c.clock);
        o.setRigNo(c.rigNo);
        EXPECT_EQ(o.SetFrequency(c.f), c.acted) << c.f;
        EXPECT_EQ(fresh.calls, sixCalls(c.model, 7, c.hertz)) << c.f;
        EXPECT_EQ(o.CurrentTuningWord(), 0) << c.f;
        EXPECT_EQ(o.RigNo(), c.rigNo) << "the number as saved and shown stays";
    }
}

TEST_F(Hamlib, EveryChangeIsAFullSequenceAndOneArrivingDuringItIsDropped) {
    ready(osc);
    osc.setRigNo(1);
    osc.SetFrequency(70'000'000);
    osc.SetFrequency(70'000'000); // nothing is cached
    EXPECT_EQ(bridge.calls, twice(sixCalls(1, 7, 7'000'000.0)));

    bridge.calls.clear();
    std::vector<std::optional<int32_t>> nested;
    bridge.during = [&] {
        if (bridge.calls.back().name == "rig_open") nested.push_back(osc.SetFrequency(1'234));
    };
    EXPECT_EQ(osc.SetFrequency(140'000'000), 140'000'000);
    EXPECT_EQ(nested, std::vector<std::optional<int32_t>>{1'234});
    EXPECT_EQ(bridge.calls, sixCalls(1, 7, 14'000'000.0));
}

TEST_F(Hamlib, AModelHamlibHasNoRigForIsNeitherOpenedNorTunedNorFreed) {
    ready(osc);
    osc.setRigNo(1508);
    bridge.handle = 0;
    EXPECT_EQ(osc.SetFrequency(70'000'000), 70'000'000);
    EXPECT_EQ(bridge.calls, (std::vector<RigCall>{{"rig_set_debug", 5}, {"rig_init", 15'008}}));
}

TEST_F(Hamlib, ASavedNumberWithNoHamlibNumberRaisesOverflowBeforeAnyRigAndBlocksNothing) {
    ready(osc);
    for (const int32_t rigNo : {INT32_MAX, INT32_MIN, 214'748'400}) {
        bridge.calls.clear();
        osc.setRigNo(rigNo);
        EXPECT_EQ(errorOf([&] { osc.SetFrequency(70'000'000); }), runtime::err::kOverflow) << rigNo;
        EXPECT_EQ(bridge.calls, (std::vector<RigCall>{{"rig_set_debug", 5}})) << rigNo;
    }
    bridge.calls.clear();
    osc.setRigNo(2);
    osc.SetFrequency(70'000'000);
    EXPECT_EQ(bridge.calls, sixCalls(2, 7, 7'000'000.0));
}

TEST_F(Hamlib, ABridgeThatDoesNotLoadFailsTheChangeAndTheNextChangeTunes) {
    ready(osc);
    osc.setRigNo(1);
    bridge.failingCalls = 1;
    EXPECT_EQ(errorOf([&] { osc.SetFrequency(70'000'000); }), runtime::err::kDllLoad);
    EXPECT_TRUE(bridge.calls.empty());
    EXPECT_EQ(osc.SetFrequency(70'000'000), 70'000'000);
    EXPECT_EQ(bridge.calls, sixCalls(1, 7, 7'000'000.0));
}

TEST_F(Hamlib, ARigMadeIsClosedAndFreedWhenACallAfterItFails) {
    ready(osc);
    osc.setRigNo(1);
    for (const char* failing : {"rig_open", "rig_set_freq"}) {
        bridge.calls.clear();
        bridge.missing = failing;
        EXPECT_EQ(errorOf([&] { osc.SetFrequency(70'000'000); }), runtime::err::kDllEntryPoint) << failing;
        ASSERT_GE(bridge.calls.size(), 2u);
        EXPECT_EQ(std::vector<RigCall>(bridge.calls.end() - 2, bridge.calls.end()),
                  (std::vector<RigCall>{{"rig_close", 7}, {"rig_cleanup", 7}}))
            << failing;
    }
    bridge.missing.clear();
    bridge.calls.clear();
    EXPECT_EQ(osc.SetFrequency(70'000'000), 70'000'000);
    EXPECT_EQ(bridge.calls, sixCalls(1, 7, 7'000'000.0));
}

TEST_F(Hamlib, ABadClockShowsTheMessageAndMakesNoCall) {
    std::vector<std::string> shown;
    const runtime::ScopedHooks hooks(
        runtime::Hooks{.msgBox = [&](const std::string& prompt, int32_t, const std::string&) {
            shown.push_back(prompt);
            return runtime::mb::kOk;
        }});
    ready(osc);
    osc.setClkIn(-100);
    EXPECT_EQ(osc.SetFrequency(70'000'000), -500);
    EXPECT_EQ(shown, std::vector<std::string>{"Clkin is not set correctly, Clkin=-100"});
    EXPECT_TRUE(bridge.calls.empty());
}

TEST_F(Hamlib, OnlyAReinitialisationTunesTheRigToZero) {
    EXPECT_EQ(osc.SetFrequency(70'000'000), std::nullopt);
    osc.setIFHandler(&line);
    EXPECT_EQ(osc.Initialise(), 0);
    EXPECT_EQ(line.changes, kStartSequence);
    EXPECT_TRUE(bridge.calls.empty());

    osc.setRigNo(1);
    line.changes.clear();
    EXPECT_EQ(osc.Initialise(), 0);
    EXPECT_EQ(line.changes, kStartSequence);
    EXPECT_EQ(bridge.calls, sixCalls(1, 7, 0.0));

    osc.setIFHandler(nullptr);
    EXPECT_EQ(errorOf([&] { osc.Initialise(); }), runtime::err::kObjectNotSet);
}

TEST_F(Hamlib, RefreshRepeatsTheDdsLinesAndLeavesTheRigAlone) {
    ready(osc);
    osc.setRigNo(1);
    osc.SetFrequency(70'000'000);
    bridge.calls.clear();
    line.changes.clear();

    osc.Refresh();
    EXPECT_TRUE(bridge.calls.empty());
    EXPECT_EQ(line.changes, (std::vector<std::string>{"Out8LSB 0", "Out8LSB 0", "Out8LSB 0", "Out8LSB 0",
                                                      "Out8LSB 1", "IOUPD 1", "IOUPD 0", "IOUPD 1"}));
    EXPECT_FALSE(osc.CMDOutActive());

    line.changes.clear();
    osc.setCMDOutActive(true);
    osc.Refresh();
    EXPECT_TRUE(line.changes.empty());

    osc.setCMDOutActive(false);
    line.failing = true;
    EXPECT_EQ(errorOf([&] { osc.Refresh(); }), runtime::err::kDeviceIo);
    EXPECT_FALSE(osc.CMDOutActive());

    osc.setIFHandler(nullptr);
    EXPECT_EQ(errorOf([&] { osc.Refresh(); }), 0);
}

TEST_F(Hamlib, TheRigIsSavedAndRestoredAndANewModelStartsAsTheDummyRig) {
    EXPECT_EQ(osc.Name(), "clsHamLib");
    EXPECT_EQ(osc.RigNo(), 2502);
    EXPECT_EQ(osc.ClkIn(), 100'000'000);
    EXPECT_EQ(osc.MaxFreq(), 500'000'000);

    const char* section = "RXModel.Hamlib";
    osc.setRxName(section);
    osc.setRigNo(1603);
    osc.setRigDesc("Ten-Tec:RX-320");
    osc.setAutoRefresh(true);
    osc.SaveSettings();
    EXPECT_EQ(store.size(), 5u);
    EXPECT_EQ(store.GetSetting("NerixSDR", section, "RigNo"), "1603");
    EXPECT_EQ(store.GetSetting("NerixSDR", section, "RigDesc"), "Ten-Tec:RX-320");
    EXPECT_EQ(store.GetSetting("NerixSDR", section, "AutoRefresh"), "True");
    EXPECT_EQ(store.GetSetting("NerixSDR", section, "CLKIn"), "100000000");
    {
        clsHamlib restored(store, bridge);
        restored.setRxName(section);
        ready(restored);
        EXPECT_EQ(restored.RigNo(), 1603);
        EXPECT_EQ(restored.RigDesc(), "Ten-Tec:RX-320");
        EXPECT_TRUE(restored.AutoRefresh());
    }

    std::vector<std::string> logged;
    const runtime::ScopedHooks hooks(
        runtime::Hooks{.addLog = [&](const std::string& text) { logged.push_back(text); }});
    const struct {
        const char* savedRigNo; // nullptr: not saved
        int32_t rigNo;
    } cases[] = {{nullptr, 1}, {"seven", 1}, {"-3", -3}};
    for (const auto& c : cases) {
        profile::MemorySettingsStore fresh;
        if (c.savedRigNo) fresh.SaveSetting("NerixSDR", section, "RigNo", c.savedRigNo);
        clsHamlib o(fresh, bridge);
        o.setRigNo(2502);
        o.setRigDesc("SAT-Schneider:DRT1");
        o.setRxName(section);
        o.RestoreSettings();
        EXPECT_EQ(o.RigNo(), c.rigNo) << (c.savedRigNo ? c.savedRigNo : "none");
        EXPECT_EQ(o.RigDesc(), "Dummy");
    }
    EXPECT_EQ(logged.size(), 1u) << "the damaged number is logged";
}

TEST_F(Hamlib, OffersTheRigMembersAndAutoRefreshButNoChipMembers) {
    EXPECT_EQ(errorOf([&] { osc.setAutoRefresh(osc.AutoRefresh()); }), 0);
    EXPECT_EQ(errorOf([&] { osc.setRigDesc(osc.RigDesc()); }), 0);
    EXPECT_EQ(errorOf([&] { osc.setCalibMode(true); }), runtime::err::kUnsupportedMember);
    EXPECT_EQ(errorOf([&] { osc.InitialiseChip(); }), runtime::err::kUnsupportedMember);
}

// The real bridge, letting through only the models that open no serial device, and reading the rig's
// frequency back through the bridge just before the oscillator closes the rig.
class ReadingBackBridge final : public RigBridge {
public:
    int32_t rig_set_debug(int32_t level) override { return real.rig_set_debug(level); }
    int32_t rig_init(int32_t model) override {
        if (model != 1 && model != 2) {
            ADD_FAILURE() << "model " << model << " must not reach Hamlib";
            return 0;
        }
        return real.rig_init(model);
    }
    int32_t rig_open(int32_t rig) override { return opened = real.rig_open(rig); }
    int32_t rig_set_freq(int32_t rig, int32_t vfo, double freq) override {
        return real.rig_set_freq(rig, vfo, freq);
    }
    int32_t rig_close(int32_t rig) override {
        double frequency = -1;
        if (getFreq(rig, 0x20000000, &frequency) == rigbridge::kRigOk) readBack.push_back(frequency);
        return real.rig_close(rig);
    }
    int32_t rig_cleanup(int32_t rig) override {
        cleanedUp = real.rig_cleanup(rig);
        return cleanedUp;
    }

    RigBridgeLibrary real{RIGBRIDGE_FILE};
    // The same loaded bridge, so the same rig ids.
    runtime::DynamicLibrary library{RIGBRIDGE_FILE};
    runtime::BoundFunction<rigbridge::RigGetFreqFn> getFreq{library, "rig_get_freq"};
    std::vector<double> readBack;
    int32_t opened = -99;
    int32_t cleanedUp = -99;
};

TEST(HamlibDummyRig, IsTunedThroughTheRealBridge) {
    profile::MemorySettingsStore store;
    clsDDSNullIF line(store);
    ReadingBackBridge bridge;
    {
        clsHamlib osc(store, bridge);
        osc.setRigNo(1);
        osc.setIFHandler(&line);
        osc.Initialise();
        EXPECT_EQ(osc.SetFrequency(140'740'005), 140'740'005);
    }
    bridge.real.rig_set_debug(0); // quiet again for the tests that follow
    EXPECT_EQ(bridge.opened, rigbridge::kRigOk);
    ASSERT_EQ(bridge.readBack.size(), 1u);
    EXPECT_EQ(std::bit_cast<uint64_t>(bridge.readBack[0]), std::bit_cast<uint64_t>(14'074'000.0));
    EXPECT_EQ(bridge.cleanedUp, rigbridge::kRigOk);
}

} // namespace
