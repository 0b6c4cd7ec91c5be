// Names for the kind of line interface a receiver model drives its oscillator through: the model table's
// DDSInterfaceType, the saved "DDSInterfaceType" of the model's section, and the VFO's.
#pragma once

#include <cstdint>

// Stored as an int32_t; a saved value with no name here chooses the null interface.
struct DDSInterfaceType {
    enum : int32_t {
        Serial = 0,
        Parallel = 1,
        Usb = 2, // reserved: the null interface
        Null = 3,
        Drb30 = 4,  // "NTI USB"
        Us232c = 5, // "FTDI US232C"
        Ft232 = 6,  // "FTDI FT232"
    };
};
