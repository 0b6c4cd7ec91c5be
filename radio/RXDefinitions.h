// The receiver model table: the twenty receiver models the program knows, with the defaults the
// receiver set-up uses where a model has no saved value.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace RXDefinitions {

// One receiver model. Frequencies in hertz, except TuneStep (0.1 Hz).
struct RxModelEntry {
    int32_t Index = 0;
    std::string Name;
    // 0 software oscillator, 1 Hamlib rig, 9835, 9850, 9851, 9951 the DDS chips, 273316 the CY27EE16.
    int32_t DDSChip = 0;
    std::string DDSChipName;
    int32_t LOOffset = 0;
    int32_t DDSClock = 0;
    int32_t OscMultiplier = 0;
    bool IQMode = false;
    int32_t TunedFrequency = 0;
    int32_t TuneStep = 0;
    // 0 serial, 1 parallel, 2 and 3 none, 4 DRB30, 5 US232C, 6 FT232.
    int32_t DDSInterfaceType = 0;
    int32_t XtalFrequency = 0; // -1 when the model has no crystal front end
    int32_t PLLMultiplier = 0;
    bool VFOControl = false;
    bool LowSideLOOption = false;
    uint8_t IOUPDBitNo = 0;
    uint8_t SCLCKBitNo = 0;
    uint8_t SDATABitNo = 0;
    bool Inverting = false;
    int32_t RXMinFreq = 0;
    int32_t RXMaxFreq = 0;
};

// The table as start-up builds it. Readers index RxModels by model number, 0 to RxModelCount.
struct RxModelTable {
    std::vector<RxModelEntry> RxModels;
    int32_t RxModelCount = 0; // the highest index
    bool RxModelsBuilt = false;
};

// Builds the twenty rows; the I/Q rows take baseIf (Hz) as their IF. Building again gives the same rows.
void Initialise(RxModelTable& table, int32_t baseIf);

} // namespace RXDefinitions
