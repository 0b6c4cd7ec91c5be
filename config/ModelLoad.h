// The per-model load of the configuration dialog: what the controls show for a receiver model chosen in
// the model list, from the settings its objects saved, with the model table's row as the defaults. The
// settings store is only read.
#pragma once

#include <cstdint>
#include <string>

#include "platform/profile/SettingsStore.h"
#include "radio/RXDefinitions.h"

namespace config {

struct ModelLoad {
    std::string ModelSection; // "RXModel." and the model's name
    bool HamLibEnabled = false;
    std::string IFText;
    int32_t VFOMultPosition = 0;
    int32_t PLLMultPosition = 0;
    int32_t InterfaceType = -1; // -1: none of the options can show the stored kind
    bool Inverting = false;
    // -1: none of the bit list's entries can show the stored bit.
    int32_t IOUPDBitNo = -1;
    int32_t SCLCKBitNo = -1;
    int32_t SDATABitNo = -1;
    std::string ClockText;
    std::string XtalText;
};

// Reads the model's keys in their fixed order: "IFFrequency", "OscMultiplier", "PLLMultiplier",
// "DDSInterfaceType", "Inverting", "IOUPDBitNo", "SCLCKBitNo" and "SDATABitNo" of the model section,
// then "DDSClock" and "BaseFrequency" of the section "DDSChip." and the chip's name. The chip keys take
// as their defaults the clock and crystal frequency the model's oscillator saved ("CLKIn" and
// "BaseFrequency" of the model section), so a calibrated clock survives choosing the model again; the
// row is the last default. A stored text that does not convert shows the default, with a trace line.
ModelLoad loadModel(const profile::SettingsStore& store, const RXDefinitions::RxModelEntry& row);

} // namespace config
