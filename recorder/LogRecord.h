// The frequency log of a recording and its text form in the file's trailer.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace recorder {

struct LogRecord {
    double Date = 0;            // local date and time, days since 1899-12-30
    int32_t TunedFrequency = 0; // tenths of a hertz
    int32_t Start = 0;          // byte offset of the track's first sample; the first track starts at 44
    int32_t End = 0;            // byte offset just past the track
};

inline constexpr char kTrailerMarker[] = "Nerix";
inline constexpr int32_t kMarkerLength = 5;
// One record is 62 characters of two bytes each.
inline constexpr int32_t kRecordBytes = 124;
// LogCount is 16-bit: no recording holds more entries.
inline constexpr int32_t kMaxLogEntries = 32767;
// The largest trailer a recording can write.
inline constexpr int64_t kMaxTrailerBytes = kMarkerLength + int64_t(kMaxLogEntries) * kRecordBytes;

// Every entry but the last (blank) one with a frequency above 0, as two bytes per character.
std::vector<uint8_t> BuildLogText(const std::vector<LogRecord>& LogRecords);

// One entry in the same text form, whatever its frequency.
std::vector<uint8_t> LogRecordText(const LogRecord& r);

// Bounds the first `count` entries to samples that end at byte offset dataEnd, and ends the last there:
// entries made after the last sample that reached the file point no further than its end.
void BoundLogToData(std::vector<LogRecord>& LogRecords, int32_t count, int64_t dataEnd);

// Rebuilds the log from trailer text; returns the number of records (NUL-terminated segments). Lenient:
// a value that does not convert leaves its field 0, and at most kMaxLogEntries records are taken.
int32_t ParseLogText(std::vector<LogRecord>& LogRecords, std::span<const uint8_t> text);

// "YYYY-MM-DD HH:MM:SS" for a day count, and back; the parse gives nothing for malformed text.
std::string formatLogDate(double date);
bool parseLogDate(const std::string& text, double& date);

// Day count of a civil date and time.
double dateFromParts(int year, int month, int day, int hour, int minute, int second);

} // namespace recorder
