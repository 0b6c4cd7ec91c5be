// The receiver model table, row by row and field by field against the model definitions.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/runtime/Hooks.h"
#include "radio/RXDefinitions.h"

namespace {

// One model as the definitions give it. "IF" rows carry the base IF; crystal rows tune to the crystal's
// quarter less the IF.
struct Expected {
    const char* name;
    int32_t chip;
    const char* chipName;
    int32_t interfaceType;
    int32_t loOffset; // -1: the base IF
    int32_t clock;
    int32_t oscMultiplier;
    int32_t pllMultiplier;
    int32_t xtal;
    bool iq, vfoControl, lowSide;
    int32_t tuned; // -1: from the crystal
    int32_t step;
    int ioupd, sclck, sdata;
    bool inverting;
    int32_t minHz, maxHz;
};

constexpr int32_t IF = -1;
constexpr int32_t XT = -1;

// clang-format off
const Expected kModels[20] = {
    /* 0 */ {"Sat Schneider DRT1", 9951, "AD9951", 0, 45000000, 360096000, 1, 1, -1, false, true, false, 10000000, 100, 2, 1, 0, true, 10000, 30000000},
    /* 1 */ {"Elektor DRM - Velloc", 9835, "AD9835", 0, 455000, 50000000, 1, 1, -1, false, true, true, 10000000, 100, 2, 1, 0, true, 0, 30000000},
    /* 2 */ {"IQ,AD9850 DDS", 9850, "AD9850", 1, IF, 100000000, 4, 1, -1, true, true, false, 10000000, 100, 2, 1, 0, false, 10000, 30000000},
    /* 3 */ {"IQ,AD9851 DDS", 9851, "AD9851", 1, IF, 180000000, 4, 1, -1, true, true, false, 10000000, 100, 2, 1, 0, false, 10000, 30000000},
    /* 4 */ {"IQ,Crystal Controlled", 0, "SoftDDS", 3, IF, 48000, 4, 1, 12340000, true, false, false, XT, 100, 2, 1, 0, false, 10000, 30000000},
    /* 5 */ {"IQ,AD9835 DDS", 9835, "AD9835", 0, IF, 50000000, 1, 2, -1, true, true, false, 7083000, 100, 2, 1, 0, true, 10000, 30000000},
    /* 6 */ {"FunkAmateur IQ-SDR4080-7076", 0, "SoftDDS", 3, IF, 48000, 4, 1, 28304000, true, false, false, XT, 100, 2, 1, 0, false, 10000, 30000000},
    /* 7 */ {"FunkAmateur IQ-SDR4080-3750", 0, "SoftDDS", 3, IF, 48000, 4, 1, 15000000, true, false, false, XT, 100, 2, 1, 0, false, 10000, 30000000},
    /* 8 */ {"FunkAmateur IQ-SDR4080-3500", 0, "SoftDDS", 3, IF, 48000, 4, 1, 14000000, true, false, false, XT, 100, 2, 1, 0, false, 10000, 30000000},
    /* 9 */ {"FunkAmateur IQ-SDR4080-3579", 0, "SoftDDS", 3, IF, 48000, 4, 1, 14318000, true, false, false, XT, 100, 2, 1, 0, false, 10000, 30000000},
    /* 10 */ {"FunkAmateur IQ-SDR4080-3686", 0, "SoftDDS", 3, IF, 48000, 4, 1, 14747000, true, false, false, XT, 100, 2, 1, 0, false, 10000, 30000000},
    /* 11 */ {"Soft Rock 160-1.845MHz", 0, "SoftDDS", 3, IF, 48000, 4, 1, 7380000, true, false, false, XT, 100, 2, 1, 0, false, 10000, 30000000},
    /* 12 */ {"Soft Rock 80-3.527MHz", 0, "SoftDDS", 3, IF, 48000, 4, 1, 14108000, true, false, false, XT, 100, 2, 1, 0, false, 10000, 30000000},
    /* 13 */ {"Soft Rock 40-7.055MHz", 0, "SoftDDS", 3, IF, 48000, 4, 1, 28220000, true, false, false, XT, 100, 2, 1, 0, false, 10000, 30000000},
    /* 14 */ {"Soft Rock 30-10.125MHz", 0, "SoftDDS", 3, IF, 48000, 4, 1, 40500000, true, false, false, XT, 100, 2, 1, 0, false, 10000, 30000000},
    /* 15 */ {"NTI DRB 30", 9951, "AD9951", 1, 44998000, 360080000, 1, 1, -1, false, true, false, 10000000, 100, 1, 2, 3, false, 10000, 30000000},
    /* 16 */ {"IQ,AD9951 DDS", 9951, "AD9951", 0, IF, 300000000, 4, 1, -1, true, true, false, 10000000, 100, 2, 1, 0, false, 10000, 30000000},
    /* 17 */ {"IQ,CY27EE16 Clock Gen", 273316, "CY27EE16", 0, IF, 300000000, 4, 1, -1, true, true, false, 3995000, 1000, 2, 1, 0, false, 100000, 30000000},
    /* 18 */ {"Hamlib", 1, "HamLib", 3, 0, 360096000, 1, 1, -1, false, true, false, 10000000, 100, 2, 1, 0, true, 10000, 30000000},
    /* 19 */ {"Elektor 2007-05 IQ SDR", 273316, "CY27EE16", 6, IF, 300000000, 4, 1, -1, true, true, false, 3995000, 1000, 2, 1, 0, false, 100000, 30000000},
};
// clang-format on

// The crystal rows' default tuning, worked out by hand for a base IF of 12 000 Hz.
const std::pair<int, int32_t> kCrystalTuningAt12k[] = {
    {4, 3073000},  {6, 7064000},  {7, 3738000},  {8, 3488000},  {9, 3567500},
    {10, 3674750}, {11, 1833000}, {12, 3515000}, {13, 7043000}, {14, 10113000},
};

void expectRows(const RXDefinitions::RxModelTable& table, int32_t baseIf) {
    ASSERT_TRUE(table.RxModelsBuilt);
    EXPECT_EQ(table.RxModelCount, 19);
    ASSERT_EQ(table.RxModels.size(), 20u);
    for (int i = 0; i < 20; ++i) {
        const Expected& x = kModels[i];
        const RXDefinitions::RxModelEntry& r = table.RxModels[static_cast<size_t>(i)];
        SCOPED_TRACE("row " + std::to_string(i) + " " + x.name);
        const int32_t lo = x.loOffset == IF ? baseIf : x.loOffset;
        EXPECT_EQ(r.Index, i);
        EXPECT_EQ(r.Name, x.name);
        EXPECT_EQ(r.DDSChip, x.chip);
        EXPECT_EQ(r.DDSChipName, x.chipName);
        EXPECT_EQ(r.LOOffset, lo);
        EXPECT_EQ(r.DDSClock, x.clock);
        EXPECT_EQ(r.OscMultiplier, x.oscMultiplier);
        EXPECT_EQ(r.IQMode, x.iq);
        // Every crystal is a multiple of 4 Hz, so its quarter is whole.
        EXPECT_EQ(r.TunedFrequency, x.tuned != XT ? x.tuned : x.xtal / 4 - lo);
        EXPECT_EQ(r.TuneStep, x.step);
        EXPECT_EQ(r.DDSInterfaceType, x.interfaceType);
        EXPECT_EQ(r.XtalFrequency, x.xtal);
        EXPECT_EQ(r.PLLMultiplier, x.pllMultiplier);
        EXPECT_EQ(r.VFOControl, x.vfoControl);
        EXPECT_EQ(r.LowSideLOOption, x.lowSide);
        EXPECT_EQ(r.IOUPDBitNo, x.ioupd);
        EXPECT_EQ(r.SCLCKBitNo, x.sclck);
        EXPECT_EQ(r.SDATABitNo, x.sdata);
        EXPECT_EQ(r.Inverting, x.inverting);
        EXPECT_EQ(r.RXMinFreq, x.minHz);
        EXPECT_EQ(r.RXMaxFreq, x.maxHz);
    }
}

} // namespace

TEST(RXDefinitions, RowsAreTheModelDefinitionsAndBuildingAgainChangesNothing) {
    std::vector<std::string> log;
    runtime::ScopedHooks hooks({.addLog = [&](const std::string& l) { log.push_back(l); }});
    RXDefinitions::RxModelTable table;
    RXDefinitions::Initialise(table, 12000);
    expectRows(table, 12000);
    for (const auto& [row, tuned] : kCrystalTuningAt12k)
        EXPECT_EQ(table.RxModels[static_cast<size_t>(row)].TunedFrequency, tuned) << "row " << row;
    EXPECT_EQ(log,
              (std::vector<std::string>{"RxDefinitions.Initialise:Start", "RxDefinitions.Initialise:End"}));

    // A row a reader changed is put back, and nothing is left past the last model.
    table.RxModels[3].Name = "changed";
    table.RxModels.resize(25);
    RXDefinitions::Initialise(table, 12000);
    expectRows(table, 12000);
}

// The IF of the I/Q rows and the crystal rows' tuning follow the base IF in force when the table is built.
TEST(RXDefinitions, IqRowsFollowTheBaseIf) {
    RXDefinitions::RxModelTable table;
    RXDefinitions::Initialise(table, 10000);
    expectRows(table, 10000);
    EXPECT_EQ(table.RxModels[13].TunedFrequency, 28220000 / 4 - 10000);
    EXPECT_EQ(table.RxModels[9].TunedFrequency, 3569500);
    RXDefinitions::Initialise(table, 12001);
    // 14 318 000 / 4 - 12 001 = 3 567 499, whole; 7 380 000 / 4 - 12 001 = 1 832 999.
    EXPECT_EQ(table.RxModels[9].TunedFrequency, 3567499);
    EXPECT_EQ(table.RxModels[11].TunedFrequency, 1832999);
}
