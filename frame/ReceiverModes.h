// Names for the receiver's choices that the receiver state, the settings and the band plans hold as
// 32-bit numbers.
#pragma once

#include <cstdint>

// The fields stay int32_t, as stored: a file may hold a number that has no name here, and each reader
// handles it as it always has (a switch's default, a range check). Code compares and assigns through
// these names, which convert to the stored number.

// The demodulation mode (the receiver state's and a band plan's DemodMode).
struct DemodMode {
    enum : int32_t { AM = 0, USB = 1, LSB = 2, DRM = 3, FM = 4, BC = 5, SAM = 6, AM1 = 7 };
};

// Where the notch filter runs (NotchType): on the audio or on the IF.
struct NotchType {
    enum : int32_t { AF = 0, IF = 1 };
};

// The point of the receive path the display shows (ScopeSource).
struct ScopeSource {
    enum : int32_t { IFIn = 0, PreDemod = 1, PostDemod = 2, AFOut = 3 };
};

// How the IF filter's edges are chosen (IFFilterMode): off, by hand, or tracking the AF filter.
struct IFFilterMode {
    enum : int32_t { Off = 0, Man = 1, Track = 2 };
};
