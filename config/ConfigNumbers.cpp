// The dialog's number readings.
#include "config/ConfigNumbers.h"

#include <charconv>
#include <cmath>
#include <limits>
#include <optional>
#include <string>

#include "platform/runtime/Convert.h"
#include "platform/runtime/RuntimeError.h"

namespace config {

namespace {

bool isBlank(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r';
}

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

int digitValue(char c) {
    if (isDigit(c)) return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return 99;
}

// Digits of a base as a 32-bit pattern; nullopt when there are none, or more than 32 bits' worth.
std::optional<double> radixPattern(std::string_view digits, int base) {
    if (digits.empty()) return std::nullopt;
    uint64_t value = 0;
    for (const char c : digits) {
        value = value * static_cast<uint64_t>(base) + static_cast<uint64_t>(digitValue(c));
        if (value > 0xFFFFFFFFull) return std::nullopt;
    }
    return static_cast<double>(static_cast<int32_t>(static_cast<uint32_t>(value)));
}

// The longest run of characters of a base from the front.
std::string_view radixDigits(std::string_view text, int base) {
    std::size_t n = 0;
    while (n < text.size() && digitValue(text[n]) < base)
        ++n;
    return text.substr(0, n);
}

// A decimal number in "." form, as from_chars reads it; an infinity when it overflows a double.
double decimalValue(const std::string& number) {
    double value = 0;
    const auto res = std::from_chars(number.data(), number.data() + number.size(), value);
    if (res.ec == std::errc::result_out_of_range) {
        // Too large gives an infinity of its sign; too small is 0.
        const bool negative = number.front() == '-';
        const auto e = number.find_first_of("eE");
        const bool tiny = e != std::string::npos && number.find('-', e) != std::string::npos;
        if (tiny) return negative ? -0.0 : 0.0;
        return negative ? -std::numeric_limits<double>::infinity() : std::numeric_limits<double>::infinity();
    }
    return value;
}

// The leading number of blank-free text: how many characters it takes, and the number in "." form.
std::size_t scanDecimal(std::string_view text, std::string_view decimalSeparator, std::string& number) {
    std::size_t i = 0;
    number.clear();
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        if (text[i] == '-') number += '-';
        ++i;
    }
    std::size_t digits = 0;
    while (i < text.size() && isDigit(text[i])) {
        number += text[i++];
        ++digits;
    }
    if (!decimalSeparator.empty() && text.substr(i, decimalSeparator.size()) == decimalSeparator) {
        std::size_t j = i + decimalSeparator.size();
        std::string fraction;
        while (j < text.size() && isDigit(text[j]))
            fraction += text[j++];
        if (digits > 0 || !fraction.empty()) {
            number += '.';
            number += fraction;
            digits += fraction.size();
            i = j;
        }
    }
    if (digits == 0) return 0;
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E' || text[i] == 'd' || text[i] == 'D')) {
        std::size_t j = i + 1;
        std::string exponent = "e";
        if (j < text.size() && (text[j] == '+' || text[j] == '-')) exponent += text[j++];
        const std::size_t first = j;
        while (j < text.size() && isDigit(text[j]))
            exponent += text[j++];
        if (j > first) {
            number += exponent;
            i = j;
        }
    }
    if (number.back() == '.') number.pop_back();
    return i;
}

bool startsNoCase(std::string_view text, std::string_view prefix) {
    if (text.size() < prefix.size()) return false;
    for (std::size_t i = 0; i < prefix.size(); ++i)
        if ((text[i] | 0x20) != (prefix[i] | 0x20)) return false;
    return true;
}

} // namespace

double lenientNumber(std::string_view text) {
    std::string packed;
    for (const char c : text)
        if (!isBlank(c)) packed += c;
    const std::string_view t(packed);
    if (startsNoCase(t, "&h")) return radixPattern(radixDigits(t.substr(2), 16), 16).value_or(0);
    if (startsNoCase(t, "&o")) return radixPattern(radixDigits(t.substr(2), 8), 8).value_or(0);
    std::string number;
    if (scanDecimal(t, ".", number) == 0) return 0;
    return decimalValue(number);
}

double strictNumber(std::string_view text, const NumberFormat::Separators& separators, bool digitGroups) {
    std::size_t first = 0, last = text.size();
    while (first < last && isBlank(text[first]))
        ++first;
    while (last > first && isBlank(text[last - 1]))
        --last;
    std::string ungrouped;
    if (digitGroups) {
        for (std::size_t i = first; i < last; ++i)
            if (!(text[i] == ' ' && i > first && isDigit(text[i - 1]) && i + 1 < last &&
                  isDigit(text[i + 1])))
                ungrouped += text[i];
        text = ungrouped;
        first = 0;
        last = ungrouped.size();
    }
    const std::string_view t = text.substr(first, last - first);
    if (startsNoCase(t, "&h")) {
        const std::string_view digits = t.substr(2);
        if (radixDigits(digits, 16).size() == digits.size())
            if (const auto value = radixPattern(digits, 16)) return *value;
        runtime::raise(runtime::err::kTypeMismatch, "frmConfig.strictNumber");
    }
    std::string number;
    if (t.empty() || scanDecimal(t, separators.decimal, number) != t.size())
        runtime::raise(runtime::err::kTypeMismatch, "frmConfig.strictNumber");
    const double value = decimalValue(number);
    if (!std::isfinite(value)) runtime::raise(runtime::err::kTypeMismatch, "frmConfig.strictNumber");
    return value;
}

int32_t strictLong(std::string_view text, const NumberFormat::Separators& separators, bool digitGroups) {
    return runtime::CLng(strictNumber(text, separators, digitGroups));
}

} // namespace config
