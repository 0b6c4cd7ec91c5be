// Writing and reading the frequency log text of the trailer.
#include "recorder/LogRecord.h"

#include "recorder/WavFileParts.h"
#include "recorder/WavHeader.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace recorder {

namespace {

constexpr char kFS = '\x04';

// Days from 1970-01-01 for a civil date (proleptic Gregorian).
int64_t daysFromCivil(int64_t y, int64_t m, int64_t d) {
    y -= m <= 2;
    const int64_t era = (y >= 0 ? y : y - 399) / 400;
    const int64_t yoe = y - era * 400;
    const int64_t doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468;
}

void civilFromDays(int64_t z, int64_t& y, int64_t& m, int64_t& d) {
    z += 719468;
    const int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const int64_t doe = z - era * 146097;
    const int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const int64_t mp = (5 * doy + 2) / 153;
    d = doy - (153 * mp + 2) / 5 + 1;
    m = mp + (mp < 10 ? 3 : -9);
    y = yoe + era * 400 + (m <= 2);
}

constexpr int64_t kEpochOffsetDays = 25569; // 1899-12-30 to 1970-01-01

void appendField(std::string& text, const char* key, const std::string& value) {
    text += key;
    text += value;
    text += kFS;
}

std::string tenDigits(int32_t value) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "%010d", value);
    return buf;
}

void appendRecord(std::string& text, const LogRecord& r) {
    appendField(text, "F=", tenDigits(r.TunedFrequency));
    appendField(text, "T=", formatLogDate(r.Date));
    appendField(text, "S=", tenDigits(r.Start));
    appendField(text, "E=", tenDigits(r.End));
    text += '\0';
}

// Each character as its code and a zero byte.
std::vector<uint8_t> wideText(const std::string& text) {
    std::vector<uint8_t> bytes(text.size() * 2, 0);
    for (std::size_t k = 0; k < text.size(); ++k)
        bytes[2 * k] = uint8_t(text[k]);
    return bytes;
}

// A whole number of any length that fits 32 bits.
bool parseInt32(const std::string& s, int32_t& out) {
    if (s.empty() || s.size() > 24) return false;
    std::size_t i = 0;
    bool negative = false;
    if (s[0] == '-' || s[0] == '+') {
        negative = s[0] == '-';
        i = 1;
    }
    if (i == s.size()) return false;
    int64_t v = 0;
    for (; i < s.size(); ++i) {
        if (s[i] < '0' || s[i] > '9') return false;
        v = v * 10 + (s[i] - '0');
        if (v > int64_t(INT32_MAX) + 1) return false;
    }
    v = negative ? -v : v;
    if (v > INT32_MAX || v < INT32_MIN) return false;
    out = int32_t(v);
    return true;
}

} // namespace

double dateFromParts(int year, int month, int day, int hour, int minute, int second) {
    return double(daysFromCivil(year, month, day) + kEpochOffsetDays) +
           (hour * 3600 + minute * 60 + second) / 86400.0;
}

std::string formatLogDate(double date) {
    if (!std::isfinite(date) || std::fabs(date) > 3e6) date = 0;
    // Whole seconds, rounded, so that a written time reads back as itself.
    const int64_t totalSeconds = int64_t(std::llround(date * 86400.0));
    int64_t days = totalSeconds / 86400;
    int64_t secs = totalSeconds % 86400;
    if (secs < 0) {
        secs += 86400;
        --days;
    }
    int64_t y = 0, m = 0, d = 0;
    civilFromDays(days - kEpochOffsetDays, y, m, d);
    char buf[40];
    std::snprintf(buf, sizeof buf, "%04d-%02d-%02d %02d:%02d:%02d", int(y), int(m), int(d), int(secs / 3600),
                  int(secs / 60 % 60), int(secs % 60));
    return buf;
}

bool parseLogDate(const std::string& text, double& date) {
    int y = 0, mo = 0, d = 0, h = 0, mi = 0, s = 0;
    char tail = 0;
    if (std::sscanf(text.c_str(), "%4d-%2d-%2d %2d:%2d:%2d%c", &y, &mo, &d, &h, &mi, &s, &tail) != 6)
        return false;
    if (mo < 1 || mo > 12 || d < 1 || d > 31 || h < 0 || h > 23 || mi < 0 || mi > 59 || s < 0 || s > 59)
        return false;
    date = dateFromParts(y, mo, d, h, mi, s);
    return true;
}

std::vector<uint8_t> BuildLogText(const std::vector<LogRecord>& LogRecords) {
    std::string text;
    for (std::size_t i = 0; i + 1 < LogRecords.size(); ++i)
        if (LogRecords[i].TunedFrequency > 0) appendRecord(text, LogRecords[i]);
    return wideText(text);
}

std::vector<uint8_t> LogRecordText(const LogRecord& r) {
    std::string text;
    appendRecord(text, r);
    return wideText(text);
}

void BoundLogToData(std::vector<LogRecord>& LogRecords, int32_t count, int64_t dataEnd) {
    count = std::clamp<int32_t>(count, 0, int32_t(std::min<std::size_t>(LogRecords.size(), INT32_MAX)));
    for (int32_t i = 0; i < count; ++i) {
        LogRecord& r = LogRecords[std::size_t(i)];
        r.Start = clamp32(std::clamp<int64_t>(r.Start, kHeaderLength, dataEnd));
        r.End = clamp32(std::clamp<int64_t>(r.End, r.Start, dataEnd));
    }
    if (count > 0) LogRecords[std::size_t(count - 1)].End = clamp32(dataEnd);
}

int32_t ParseLogText(std::vector<LogRecord>& LogRecords, std::span<const uint8_t> text) {
    if (LogRecords.empty()) LogRecords.resize(1);
    int32_t segment = 0;
    std::string part;
    auto applyPart = [&]() {
        const auto eq = part.find('=');
        if (eq == std::string::npos) return;
        const std::string key = part.substr(0, eq);
        std::string value = part.substr(eq + 1);
        value = value.substr(0, value.find('='));
        LogRecord& r = LogRecords[std::size_t(segment)];
        if (key == "F")
            parseInt32(value, r.TunedFrequency);
        else if (key == "S")
            parseInt32(value, r.Start);
        else if (key == "E")
            parseInt32(value, r.End);
        else if (key == "T")
            parseLogDate(value, r.Date);
    };
    for (std::size_t i = 0; i < text.size(); i += 2) {
        const char c = char(text[i]);
        if (c == '\0') {
            ++segment;
            LogRecords.resize(std::size_t(segment) + 1);
            part.clear();
            if (segment >= kMaxLogEntries) break;
        } else if (c == kFS) {
            applyPart();
            part.clear();
        } else if (part.size() < 64) {
            part += c;
        }
    }
    return segment;
}

} // namespace recorder
