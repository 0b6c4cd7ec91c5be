// Text and clock routines of the Nerix module.
#include "frame/NerixStrings.h"

#include <algorithm>
#include <ctime>

#include "platform/runtime/RuntimeError.h"
#include "platform/runtime/Text.h"

namespace Nerix {

namespace {

// Positions and counts reach callers as 16-bit values, so a longer text is an overflow.
constexpr std::size_t kMaxChars = 32767;

void checkLength(const std::u32string& text, const char* source) {
    if (text.size() > kMaxChars) runtime::raise(runtime::err::kOverflow, source);
}

void checkCompare(int32_t compare, const char* source) {
    if (compare != kBinaryCompare && compare != kTextCompare)
        runtime::raise(runtime::err::kInvalidCall, source);
}

// 0-based index of find in text at or after from, or npos.
std::size_t findFrom(const std::u32string& text, const std::u32string& find, std::size_t from,
                     int32_t compare) {
    if (from > text.size()) return std::u32string::npos;
    if (compare == kBinaryCompare) return text.find(find, from);
    return runtime::foldCase(text).find(runtime::foldCase(find), from);
}

} // namespace

std::string UtcClock() {
    return UtcClock(std::chrono::system_clock::now());
}

std::string UtcClock(std::chrono::system_clock::time_point when) {
    const std::time_t t = std::chrono::system_clock::to_time_t(when);
    std::tm utc{};
    gmtime_r(&t, &utc);
    char buf[16];
    std::snprintf(buf, sizeof buf, "%02d:%02d:%02d", utc.tm_hour, utc.tm_min, utc.tm_sec);
    return buf;
}

std::string GetToken(std::string& text, std::string_view delimiter, int32_t compare) {
    checkCompare(compare, "Nerix.GetToken");
    if (delimiter.empty()) return {};
    const std::u32string t = runtime::toU32(text);
    const std::u32string d = runtime::toU32(delimiter);
    const std::size_t p = findFrom(t, d, 0, compare);
    if (p == std::u32string::npos) return {};
    std::string token = runtime::toUtf8(std::u32string_view(t).substr(0, p));
    text = runtime::toUtf8(std::u32string_view(t).substr(p + d.size()));
    return token;
}

std::vector<std::string> Split(std::string_view text, std::string_view delimiter, int32_t limit,
                               int32_t compare) {
    checkCompare(compare, "Nerix.Split");
    if (limit < -1) runtime::raise(runtime::err::kInvalidCall, "Nerix.Split");
    std::vector<std::string> parts;
    if (limit == 0) return parts;
    std::string rest(text);
    if (!delimiter.empty()) {
        while (limit == -1 || static_cast<int32_t>(parts.size()) < limit - 1) {
            const std::string before = rest;
            std::string token = GetToken(rest, delimiter, compare);
            if (rest == before && token.empty()) break; // no delimiter left
            if (parts.empty() || !token.empty()) parts.push_back(std::move(token));
        }
    }
    parts.push_back(std::move(rest));
    return parts;
}

std::string StrReverse(std::string_view text) {
    std::u32string t = runtime::toU32(text);
    checkLength(t, "Nerix.StrReverse");
    std::reverse(t.begin(), t.end());
    return runtime::toUtf8(t);
}

int32_t InStrRev(std::string_view text, std::string_view find, int32_t start, int32_t compare) {
    checkCompare(compare, "Nerix.InStrRev");
    if (start < 1) runtime::raise(runtime::err::kInvalidCall, "Nerix.InStrRev");
    std::u32string t = runtime::toU32(text);
    std::u32string f = runtime::toU32(find);
    checkLength(t, "Nerix.InStrRev");
    if (f.empty()) return 0;
    std::reverse(t.begin(), t.end());
    std::reverse(f.begin(), f.end());
    const std::size_t a = findFrom(t, f, static_cast<std::size_t>(start - 1), compare);
    if (a == std::u32string::npos) return 0;
    return static_cast<int32_t>(t.size() + 2 - (a + 1) - f.size());
}

std::string Replace(std::string_view text, std::string_view find, std::string_view with, int32_t start,
                    int32_t count, int32_t compare) {
    checkCompare(compare, "Nerix.Replace");
    if (start < 1 || count < -1) runtime::raise(runtime::err::kInvalidCall, "Nerix.Replace");
    std::u32string copy = runtime::toU32(text);
    const std::u32string f = runtime::toU32(find);
    const std::u32string w = runtime::toU32(with);
    checkLength(copy, "Nerix.Replace");
    if (f.empty() || count == 0) return std::string(text);

    // Searching again from start finds joins made by a replacement. When the replacement holds the
    // search text itself that would never end, so the search then goes on after the inserted text.
    const bool withHoldsFind = findFrom(w, f, 0, compare) != std::u32string::npos;
    const std::size_t restart = static_cast<std::size_t>(start - 1);
    int32_t replaced = 0;
    std::size_t p = findFrom(copy, f, restart, compare);
    while (p != std::u32string::npos) {
        copy.replace(p, f.size(), w);
        checkLength(copy, "Nerix.Replace");
        ++replaced;
        if (count != -1 && replaced >= count) break;
        p = findFrom(copy, f, withHoldsFind ? p + w.size() : restart, compare);
    }
    return runtime::toUtf8(copy);
}

} // namespace Nerix
