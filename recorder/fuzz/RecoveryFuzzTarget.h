// One run of the crash recovery of a recording over arbitrary contents of the recording and its
// frequency-log journal.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace recorder::fuzz {

// The input is the temporary recording, then, when the line below follows it, the journal after that line;
// an input without the line is a recording whose journal is missing.
inline constexpr std::string_view kJournalLine = "\n--- frequency-log journal ---\n";

// Completes the recording from its journal, twice; aborts when the completion fails in memory, changes a
// sample it keeps, leaves sizes the header does not give, a log entry outside the samples, or a second
// completion that changes the file again.
void recover(const uint8_t* data, std::size_t size);

} // namespace recorder::fuzz
