// The per-model load: what the dialog shows for a model chosen in its list, from the settings the
// model's objects saved, with the model table's row as the defaults.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "config/ModelLoad.h"
#include "platform/runtime/Hooks.h"
#include "radio/RXDefinitions.h"

namespace {

struct ModelLoadTest : ::testing::Test {
    ModelLoadTest() {
        RXDefinitions::Initialise(models, 12'000);
        log.clear();
    }

    const RXDefinitions::RxModelEntry& row(int32_t modelNo) const {
        return models.RxModels[static_cast<std::size_t>(modelNo)];
    }
    void put(const std::string& section, const std::string& key, const std::string& value) {
        store.SaveSetting("NerixSDR", section, key, value);
    }
    bool logged(const std::string& text) const {
        for (const auto& l : log)
            if (l.find(text) != std::string::npos) return true;
        return false;
    }

    RXDefinitions::RxModelTable models;
    profile::MemorySettingsStore store;
    std::vector<std::string> log;
    runtime::ScopedHooks hooks{runtime::Hooks{{}, [this](const std::string& l) { log.push_back(l); }, {}}};
};

TEST_F(ModelLoadTest, AModelNeverUsedShowsItsRow) {
    const struct {
        int32_t modelNo;
        const char* section;
        const char* ifText;
        int32_t vfoMult, pllMult, kind;
        bool inverting;
        int32_t ioupd, sclck, sdata;
        const char* clock;
        const char* xtal;
    } cases[] = {
        {0, "RXModel.Sat Schneider DRT1", "45 000 000", 0, 0, 0, true, 2, 1, 0, "360 096 000", "0 000 001"},
        {2, "RXModel.IQ,AD9850 DDS", "0 012 000", 2, 0, 1, false, 2, 1, 0, "100 000 000", "0 000 001"},
        {4, "RXModel.IQ,Crystal Controlled", "0 012 000", 2, 0, 3, false, 2, 1, 0, "0 048 000", "12 340 000"},
        {5, "RXModel.IQ,AD9835 DDS", "0 012 000", 0, 1, 0, true, 2, 1, 0, "50 000 000", "0 000 001"},
        {15, "RXModel.NTI DRB 30", "44 998 000", 0, 0, 1, false, 1, 2, 3, "360 080 000", "0 000 001"},
        {18, "RXModel.Hamlib", "0 000 000", 0, 0, 3, true, 2, 1, 0, "360 096 000", "0 000 001"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.section);
        const config::ModelLoad m = config::loadModel(store, row(c.modelNo));
        EXPECT_EQ(m.ModelSection, c.section);
        EXPECT_EQ(m.HamLibEnabled, c.modelNo == 18);
        EXPECT_EQ(m.IFText, c.ifText);
        EXPECT_EQ(m.VFOMultPosition, c.vfoMult);
        EXPECT_EQ(m.PLLMultPosition, c.pllMult);
        EXPECT_EQ(m.InterfaceType, c.kind);
        EXPECT_EQ(m.Inverting, c.inverting);
        EXPECT_EQ(m.IOUPDBitNo, c.ioupd);
        EXPECT_EQ(m.SCLCKBitNo, c.sclck);
        EXPECT_EQ(m.SDATABitNo, c.sdata);
        EXPECT_EQ(m.ClockText, c.clock);
        EXPECT_EQ(m.XtalText, c.xtal);
    }
    EXPECT_TRUE(log.empty());
}

TEST_F(ModelLoadTest, AModelUsedBeforeShowsWhatItsObjectsSaved) {
    const std::string section = "RXModel.Sat Schneider DRT1";
    put(section, "IFFrequency", "-455000");
    put(section, "OscMultiplier", "8");
    put(section, "PLLMultiplier", "1024");
    put(section, "DDSInterfaceType", "5");
    put(section, "Inverting", "False");
    put(section, "SCLCKBitNo", "6");
    // Keys of another model do not leak in.
    put("RXModel.NTI DRB 30", "IOUPDBitNo", "7");
    const config::ModelLoad m = config::loadModel(store, row(0));
    EXPECT_EQ(m.IFText, "0 455 000"); // no sign
    EXPECT_EQ(m.VFOMultPosition, 3);
    EXPECT_EQ(m.PLLMultPosition, 10);
    EXPECT_EQ(m.InterfaceType, 5);
    EXPECT_FALSE(m.Inverting);
    EXPECT_EQ(m.IOUPDBitNo, 2); // never saved: the row's
    EXPECT_EQ(m.SCLCKBitNo, 6);
    EXPECT_EQ(m.SDATABitNo, 0);
    EXPECT_EQ(m.ClockText, "360 096 000");
}

TEST_F(ModelLoadTest, ChoosingAModelAgainKeepsItsCalibratedClock) {
    const std::string section = "RXModel.IQ,AD9835 DDS";
    // What the oscillator saved after a calibration.
    put(section, "CLKIn", "49999868.4");
    put(section, "BaseFrequency", "0");
    config::ModelLoad m = config::loadModel(store, row(5));
    EXPECT_EQ(m.ClockText, "49 999 868");
    EXPECT_EQ(m.XtalText, "0 000 000");
    // A key of the chip's own section still wins.
    put("DDSChip.AD9835", "DDSClock", "50000100");
    m = config::loadModel(store, row(5));
    EXPECT_EQ(m.ClockText, "50 000 100");
    // The crystal of a fixed front end the same way.
    put("RXModel.IQ,Crystal Controlled", "BaseFrequency", "12345678");
    EXPECT_EQ(config::loadModel(store, row(4)).XtalText, "12 345 678");
}

TEST_F(ModelLoadTest, OnlyTheModelNamedHamlibEnablesTheRigList) {
    RXDefinitions::RxModelEntry entry = row(18);
    for (const char* name : {"Hamlib", "HAMLIB", "hamlib", "HamLib"}) {
        entry.Name = name;
        EXPECT_TRUE(config::loadModel(store, entry).HamLibEnabled) << name;
    }
    for (const char* name : {"Hamlib2", "Ham lib", "", "IQ,AD9850 DDS"}) {
        entry.Name = name;
        EXPECT_FALSE(config::loadModel(store, entry).HamLibEnabled) << name;
    }
}

TEST_F(ModelLoadTest, HostileStoredValuesNeverStopTheLoad) {
    const std::string section = "RXModel.IQ,AD9850 DDS";
    const struct {
        const char* key;
        const char* stored;
        std::function<bool(const config::ModelLoad&)> shown;
        bool traced;
    } cases[] = {
        {"IFFrequency", "abc", [](const auto& m) { return m.IFText == "0 012 000"; }, true},
        {"IFFrequency", "1e20", [](const auto& m) { return m.IFText == "0 012 000"; }, true},
        {"IFFrequency", "2.5", [](const auto& m) { return m.IFText == "0 000 002"; }, false},
        {"OscMultiplier", "0", [](const auto& m) { return m.VFOMultPosition == 0; }, true},
        {"OscMultiplier", "-4", [](const auto& m) { return m.VFOMultPosition == 0; }, true},
        {"OscMultiplier", "16", [](const auto& m) { return m.VFOMultPosition == 3; }, true},
        {"OscMultiplier", "3", [](const auto& m) { return m.VFOMultPosition == 2; }, false},
        {"PLLMultiplier", "", [](const auto& m) { return m.PLLMultPosition == 0; }, true},
        {"DDSInterfaceType", "9", [](const auto& m) { return m.InterfaceType == -1; }, true},
        {"DDSInterfaceType", "-1", [](const auto& m) { return m.InterfaceType == -1; }, true},
        {"Inverting", "maybe", [](const auto& m) { return !m.Inverting; }, true},
        {"Inverting", "2", [](const auto& m) { return m.Inverting; }, false},
        {"IOUPDBitNo", "8", [](const auto& m) { return m.IOUPDBitNo == -1; }, true},
        {"IOUPDBitNo", "70000", [](const auto& m) { return m.IOUPDBitNo == 2; }, true}, // past 16 bits
        {"SDATABitNo", "4.5", [](const auto& m) { return m.SDATABitNo == 4; }, false},
        {"CLKIn", "fast", [](const auto& m) { return m.ClockText == "100 000 000"; }, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.key) + "=" + c.stored);
        store = profile::MemorySettingsStore();
        log.clear();
        put(section, c.key, c.stored);
        put(section, "SCLCKBitNo", "5"); // a later key is still read
        const config::ModelLoad m = config::loadModel(store, row(2));
        EXPECT_TRUE(c.shown(m));
        EXPECT_EQ(m.SCLCKBitNo, 5);
        EXPECT_EQ(m.ClockText, "100 000 000");
        EXPECT_EQ(!log.empty(), c.traced);
    }
}

} // namespace
