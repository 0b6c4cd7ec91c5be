// The band plan store's records: one band per band plan file, its sub-bands and presets.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// One band. The start-up fills the fields up to FilePath from the folder scan; the store fills the
// rest when the band is first selected.
struct MainBandRec {
    std::string Name; // file name without its four-character extension
    int32_t Index = 0;
    std::string Caption;
    std::string Description;
    bool Active = false;
    int32_t ActiveSubBand = 0;
    int32_t NumSubBands = 0;
    int32_t SubBandUpperBound = 0;
    int32_t PresetUpperBound = 0;
    std::string FilePath;
    bool Loaded = false;
};

namespace modBandPlan {

inline constexpr int32_t kSubBandUpperBound = 18;
inline constexpr int32_t kPresetUpperBound = 12;

// The record of a band plan file as the start-up creates it: named after the file, at its index, not
// loaded.
MainBandRec newMainBand(const std::string& programFolder, const std::string& fileName, int32_t index);

} // namespace modBandPlan

using MainBandArray = std::vector<MainBandRec>;
