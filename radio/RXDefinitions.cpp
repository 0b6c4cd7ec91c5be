// The receiver model table.
#include "radio/RXDefinitions.h"

#include "radio/DDSInterfaceType.h"

#include "platform/runtime/Convert.h"
#include "platform/runtime/Hooks.h"

namespace RXDefinitions {
namespace {

constexpr int32_t kBaseIf = -2;   // stands for the base IF in force when the table is built
constexpr int32_t kFromXtal = -3; // the tuned frequency the crystal gives: XtalFrequency / 4 - LOOffset

struct Row {
    const char* name;
    int32_t chip;
    const char* chipName;
    int32_t interfaceType;
    int32_t loOffset;
    int32_t clock;
    int32_t oscMultiplier;
    int32_t pllMultiplier;
    int32_t xtal;
    bool iqMode;
    bool vfoControl;
    bool lowSideLoOption;
    int32_t tuned;
    int32_t tuneStep;
    uint8_t ioupdBit, sclckBit, sdataBit;
    bool inverting;
    int32_t minHz, maxHz;
};

constexpr bool T = true;
constexpr bool F = false;

// The line interfaces the rows use, by their options' captions.
constexpr int32_t Ser = DDSInterfaceType::Serial;
constexpr int32_t Par = DDSInterfaceType::Parallel;
constexpr int32_t Null = DDSInterfaceType::Null;
constexpr int32_t FT232 = DDSInterfaceType::Ft232;

// clang-format off
constexpr Row kRows[] = {
    {"Sat Schneider DRT1", 9951, "AD9951", Ser, 45'000'000, 360'096'000, 1, 1, -1, F, T, F, 10'000'000, 100, 2, 1, 0, T, 10'000, 30'000'000},
    {"Elektor DRM - Velloc", 9835, "AD9835", Ser, 455'000, 50'000'000, 1, 1, -1, F, T, T, 10'000'000, 100, 2, 1, 0, T, 0, 30'000'000},
    {"IQ,AD9850 DDS", 9850, "AD9850", Par, kBaseIf, 100'000'000, 4, 1, -1, T, T, F, 10'000'000, 100, 2, 1, 0, F, 10'000, 30'000'000},
    {"IQ,AD9851 DDS", 9851, "AD9851", Par, kBaseIf, 180'000'000, 4, 1, -1, T, T, F, 10'000'000, 100, 2, 1, 0, F, 10'000, 30'000'000},
    {"IQ,Crystal Controlled", 0, "SoftDDS", Null, kBaseIf, 48'000, 4, 1, 12'340'000, T, F, F, kFromXtal, 100, 2, 1, 0, F, 10'000, 30'000'000},
    {"IQ,AD9835 DDS", 9835, "AD9835", Ser, kBaseIf, 50'000'000, 1, 2, -1, T, T, F, 7'083'000, 100, 2, 1, 0, T, 10'000, 30'000'000},
    {"FunkAmateur IQ-SDR4080-7076", 0, "SoftDDS", Null, kBaseIf, 48'000, 4, 1, 28'304'000, T, F, F, kFromXtal, 100, 2, 1, 0, F, 10'000, 30'000'000},
    {"FunkAmateur IQ-SDR4080-3750", 0, "SoftDDS", Null, kBaseIf, 48'000, 4, 1, 15'000'000, T, F, F, kFromXtal, 100, 2, 1, 0, F, 10'000, 30'000'000},
    {"FunkAmateur IQ-SDR4080-3500", 0, "SoftDDS", Null, kBaseIf, 48'000, 4, 1, 14'000'000, T, F, F, kFromXtal, 100, 2, 1, 0, F, 10'000, 30'000'000},
    {"FunkAmateur IQ-SDR4080-3579", 0, "SoftDDS", Null, kBaseIf, 48'000, 4, 1, 14'318'000, T, F, F, kFromXtal, 100, 2, 1, 0, F, 10'000, 30'000'000},
    {"FunkAmateur IQ-SDR4080-3686", 0, "SoftDDS", Null, kBaseIf, 48'000, 4, 1, 14'747'000, T, F, F, kFromXtal, 100, 2, 1, 0, F, 10'000, 30'000'000},
    {"Soft Rock 160-1.845MHz", 0, "SoftDDS", Null, kBaseIf, 48'000, 4, 1, 7'380'000, T, F, F, kFromXtal, 100, 2, 1, 0, F, 10'000, 30'000'000},
    {"Soft Rock 80-3.527MHz", 0, "SoftDDS", Null, kBaseIf, 48'000, 4, 1, 14'108'000, T, F, F, kFromXtal, 100, 2, 1, 0, F, 10'000, 30'000'000},
    {"Soft Rock 40-7.055MHz", 0, "SoftDDS", Null, kBaseIf, 48'000, 4, 1, 28'220'000, T, F, F, kFromXtal, 100, 2, 1, 0, F, 10'000, 30'000'000},
    {"Soft Rock 30-10.125MHz", 0, "SoftDDS", Null, kBaseIf, 48'000, 4, 1, 40'500'000, T, F, F, kFromXtal, 100, 2, 1, 0, F, 10'000, 30'000'000},
    {"NTI DRB 30", 9951, "AD9951", Par, 44'998'000, 360'080'000, 1, 1, -1, F, T, F, 10'000'000, 100, 1, 2, 3, F, 10'000, 30'000'000},
    {"IQ,AD9951 DDS", 9951, "AD9951", Ser, kBaseIf, 300'000'000, 4, 1, -1, T, T, F, 10'000'000, 100, 2, 1, 0, F, 10'000, 30'000'000},
    {"IQ,CY27EE16 Clock Gen", 273316, "CY27EE16", Ser, kBaseIf, 300'000'000, 4, 1, -1, T, T, F, 3'995'000, 1000, 2, 1, 0, F, 100'000, 30'000'000},
    {"Hamlib", 1, "HamLib", Null, 0, 360'096'000, 1, 1, -1, F, T, F, 10'000'000, 100, 2, 1, 0, T, 10'000, 30'000'000},
    {"Elektor 2007-05 IQ SDR", 273316, "CY27EE16", FT232, kBaseIf, 300'000'000, 4, 1, -1, T, T, F, 3'995'000, 1000, 2, 1, 0, F, 100'000, 30'000'000},
};
// clang-format on

} // namespace

void Initialise(RxModelTable& table, int32_t baseIf) {
    runtime::AddLog("RxDefinitions.Initialise:Start");
    table.RxModelCount = 0;
    table.RxModels.resize(1);
    int32_t index = 0;
    for (const Row& r : kRows) {
        if (static_cast<int32_t>(table.RxModels.size()) <= index) table.RxModels.resize(index + 1);
        table.RxModelCount = index;
        RxModelEntry& e = table.RxModels[index];
        e = RxModelEntry{};
        e.Index = index;
        e.Name = r.name;
        e.DDSChip = r.chip;
        e.DDSChipName = r.chipName;
        e.LOOffset = r.loOffset == kBaseIf ? baseIf : r.loOffset;
        e.DDSClock = r.clock;
        e.OscMultiplier = r.oscMultiplier;
        e.IQMode = r.iqMode;
        e.TunedFrequency =
            r.tuned == kFromXtal ? runtime::CLng(r.xtal / 4.0 - static_cast<double>(e.LOOffset)) : r.tuned;
        e.TuneStep = r.tuneStep;
        e.DDSInterfaceType = r.interfaceType;
        e.XtalFrequency = r.xtal;
        e.PLLMultiplier = r.pllMultiplier;
        e.VFOControl = r.vfoControl;
        e.LowSideLOOption = r.lowSideLoOption;
        e.IOUPDBitNo = r.ioupdBit;
        e.SCLCKBitNo = r.sclckBit;
        e.SDATABitNo = r.sdataBit;
        e.Inverting = r.inverting;
        e.RXMinFreq = r.minHz;
        e.RXMaxFreq = r.maxHz;
        ++index;
    }
    table.RxModelsBuilt = true;
    runtime::AddLog("RxDefinitions.Initialise:End");
}

} // namespace RXDefinitions
