// The configuration dialog's texts and list positions, worked out from the live values they show:
// frequencies, periods, the parallel port address, the rig entries, the multiplier and priority lists and
// the decoder arguments the program generates.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "frame/NumberFormat.h"

namespace config {

// A whole number of hertz, without sign, on the picture "#0 000 000": at least seven digits, a single
// blank before each group of three (125000000 is "125 000 000", -455000 is "0 455 000").
std::string frequencyText(double hertz);
// Seconds with nine decimals in the user's separator (5E-06 is "0.000005000").
std::string periodText(double seconds, const NumberFormat::Separators& separators);
// "&H" and upper-case hexadecimal digits without leading zeros (888 is "&H378").
std::string addressText(int32_t address);
// The rig list entry: the description left in 33 columns, then the rig number right in 4, so the
// numbers line up in a fixed-pitch face. A longer description or number widens its field rather than
// losing characters.
std::string rigEntryText(std::string_view description, int32_t rigNo);

// The list position of a multiplier in a list of the powers of two 1, 2, 4 ...: log2 of the value
// rounded half to even (3 selects "4", 6 selects "8"). A value of 0 or less selects the first entry and
// one beyond the list the last, each with a trace line naming what (a list that cannot show the value
// must still show something the user can apply).
int32_t multiplierPosition(int32_t value, int32_t entries, std::string_view what);
inline constexpr int32_t kVfoMultEntries = 4;  // 1 to 8
inline constexpr int32_t kPllMultEntries = 16; // 1 to 32768

// The process priority list, in list order, with each entry's priority class.
struct PriorityEntry {
    const char* caption;
    int32_t priorityClass;
};
inline constexpr std::array<PriorityEntry, 4> kPriorities{
    {{"Realtime", 256}, {"High", 128}, {"Normal", 32}, {"Idle", 64}}};
// The entry of a stored priority class; any class not in the list shows "Realtime".
int32_t priorityPosition(int32_t priorityClass);

// The arguments the program puts on the decoder's command line: " -M 0 -I ", the capture device less
// 2, " -O ", the playback device less 2 (neither below 0), then " -C 3" for an I/Q receiver or a blank.
std::string decoderArguments(int32_t captureDevice, int32_t playbackDevice, bool iqMode);

// Whether a model section is the one of the model "Hamlib", letter case aside.
bool isHamlibSection(std::string_view modelSection);

// A position in a list of entries (0-based): itself, or -1 (none selected, with a trace line naming
// what) when the list has no such entry.
int32_t listPosition(int64_t position, int32_t entries, std::string_view what);

} // namespace config
