// Text and clock routines of the Nerix module (its vector routines live with the signal path).
// Positions count characters from 1; compare 0 is exact, 1 ignores letter case.
#pragma once

#include <chrono>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace Nerix {

inline constexpr int32_t kBinaryCompare = 0;
inline constexpr int32_t kTextCompare = 1;

// The UTC time of day as HH:MM:SS.
std::string UtcClock();
std::string UtcClock(std::chrono::system_clock::time_point when);

// Returns the text before the first delimiter and removes it and the delimiter from text; without a
// delimiter it returns empty text and leaves text as it is.
std::string GetToken(std::string& text, std::string_view delimiter, int32_t compare);

// Cuts text at each delimiter: the first part, every further non-empty part, and what follows the last
// delimiter. limit -1 means no limit; otherwise at most limit elements, the last holding the rest.
std::vector<std::string> Split(std::string_view text, std::string_view delimiter, int32_t limit,
                               int32_t compare);

std::string StrReverse(std::string_view text);

// Position where the last occurrence of find begins, ignoring the last start - 1 characters; 0 for none.
int32_t InStrRev(std::string_view text, std::string_view find, int32_t start, int32_t compare);

// Replaces find by with, searching again from start after each replacement. count -1 replaces all.
std::string Replace(std::string_view text, std::string_view find, std::string_view with, int32_t start,
                    int32_t count, int32_t compare);

} // namespace Nerix
