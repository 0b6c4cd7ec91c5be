// The track list's texts: the heading, the notice for a file without tracks, one row per track of the
// frequency log, and the hours, minutes and seconds the recorder's labels and rows show.
#pragma once

#include <cstdint>
#include <string>

#include "recorder/LogRecord.h"

namespace recorder {

inline constexpr char kTrackHeader[] = " F(KHz)   Date      Time   Duration";
inline constexpr char kNoTracks[] = "No Track Information Found";

// "HH:MM:SS" of the whole seconds in seconds (s >= 0); a hundred hours and more take more digits.
std::string FormatHms(float seconds);

// A track's length in whole seconds, halves rounded up, of samples of bytesPerSample bytes at rate
// samples a second. End and Start are taken as 32-bit floats. A rate or width of 0 raises Division by
// zero (11).
float TrackDuration(const LogRecord& entry, int32_t rate, int32_t bytesPerSample);

// The kilohertz right-aligned in six characters, the date, the time and the duration, blank-separated:
// "  7050 2007-07-01 12:34:56 00:02:44". A frequency of seven digits or more raises Invalid procedure
// call (5).
std::string TrackRow(const LogRecord& entry, float duration);

} // namespace recorder
