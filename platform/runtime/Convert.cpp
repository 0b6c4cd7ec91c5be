// Checked numeric conversions and locale-independent number text.
#include "platform/runtime/Convert.h"

#include <cctype>
#include <charconv>
#include <cmath>

#include "platform/runtime/Text.h"

namespace runtime {

double roundHalfEven(double x) noexcept {
    if (!std::isfinite(x)) return x;
    const double r = std::round(x); // ties away from zero
    if (std::fabs(x - std::trunc(x)) == 0.5) return 2.0 * std::round(x / 2.0);
    return r;
}

namespace {

template <class T> T roundInto(double x, const char* source) {
    const double r = roundHalfEven(x);
    // Compare in double: both limits of every target type up to 32 bits are exact there.
    if (!std::isfinite(r) || r < static_cast<double>(std::numeric_limits<T>::min()) ||
        r > static_cast<double>(std::numeric_limits<T>::max()))
        raise(err::kOverflow, source);
    return static_cast<T>(r);
}

} // namespace

int16_t CInt(double x) {
    return roundInto<int16_t>(x, "CInt");
}
int32_t CLng(double x) {
    return roundInto<int32_t>(x, "CLng");
}
uint8_t CByte(double x) {
    return roundInto<uint8_t>(x, "CByte");
}

int64_t CLngLng(double x) {
    const double r = roundHalfEven(x);
    // 2^63 is exact in double and already out of range; the lower limit -2^63 is in range.
    if (!std::isfinite(r) || r < -9223372036854775808.0 || r >= 9223372036854775808.0)
        raise(err::kOverflow, "CLngLng");
    return static_cast<int64_t>(r);
}

int32_t checkedDivide(int32_t numerator, int32_t denominator) {
    return checkedNarrow<int32_t>(checkedDivide(int64_t{numerator}, int64_t{denominator}));
}

int64_t checkedDivide(int64_t numerator, int64_t denominator) {
    if (denominator == 0) raise(err::kDivisionByZero, "checkedDivide");
    if (denominator == -1 && numerator == std::numeric_limits<int64_t>::min())
        raise(err::kOverflow, "checkedDivide");
    return numerator / denominator;
}

std::string CStr(double value) {
    if (std::isnan(value)) return "NaN";
    if (std::isinf(value)) return value > 0 ? "Infinity" : "-Infinity";
    if (value == 0) return "0";
    char buf[64];
    const auto res = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::general, 15);
    const std::string_view text(buf, static_cast<std::size_t>(res.ptr - buf));
    const auto e = text.find('e');
    if (e == std::string_view::npos) return std::string(text);
    // The runtime writes exponents as E+NN / E-NN.
    std::string_view exponent = text.substr(e + 1);
    const char sign = exponent.front() == '-' ? '-' : '+';
    if (exponent.front() == '-' || exponent.front() == '+') exponent.remove_prefix(1);
    std::string out(text.substr(0, e));
    out += 'E';
    out += sign;
    if (exponent.size() < 2) out += '0';
    out += exponent;
    return out;
}

std::string CStr(int64_t value) {
    return std::to_string(value);
}

std::string singleText(float value) {
    if (value == 0.0f) return "0"; // no "-0"
    char text[32];
    const auto res = std::to_chars(text, text + sizeof text, value);
    return std::string(text, res.ptr);
}

namespace {

std::string_view trimBlanks(std::string_view text) {
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos) return {};
    const auto last = text.find_last_not_of(" \t");
    return text.substr(first, last - first + 1);
}

} // namespace

std::optional<double> parseDouble(std::string_view text) {
    text = trimBlanks(text);
    if (!text.empty() && text.front() == '+') text.remove_prefix(1);
    if (text.empty()) return std::nullopt;
    double value = 0;
    const auto res = std::from_chars(text.data(), text.data() + text.size(), value);
    if (res.ec != std::errc() || res.ptr != text.data() + text.size() || !std::isfinite(value))
        return std::nullopt;
    return value;
}

std::optional<int64_t> parseInt(std::string_view text) {
    text = trimBlanks(text);
    if (!text.empty() && text.front() == '+') text.remove_prefix(1);
    if (text.empty()) return std::nullopt;
    int64_t value = 0;
    const auto res = std::from_chars(text.data(), text.data() + text.size(), value);
    if (res.ec != std::errc() || res.ptr != text.data() + text.size()) return std::nullopt;
    return value;
}

double leadingNumber(std::string_view text) {
    std::size_t i = text.find_first_not_of(" \t\r\n");
    if (i == std::string::npos) return 0;
    const std::size_t start = i;
    const auto digitsFrom = [&](std::size_t at) {
        while (at < text.size() && std::isdigit(static_cast<unsigned char>(text[at])))
            ++at;
        return at;
    };
    if (text[i] == '+' || text[i] == '-') ++i;
    const std::size_t intEnd = digitsFrom(i);
    std::size_t end = intEnd;
    bool any = intEnd > i;
    if (end < text.size() && text[end] == '.') {
        const std::size_t fracEnd = digitsFrom(end + 1);
        any = any || fracEnd > end + 1;
        end = fracEnd;
    }
    if (!any) return 0;
    if (end < text.size() && (text[end] == 'e' || text[end] == 'E')) {
        std::size_t e = end + 1;
        if (e < text.size() && (text[e] == '+' || text[e] == '-')) ++e;
        const std::size_t expEnd = digitsFrom(e);
        if (expEnd > e) end = expEnd;
    }
    std::string number(text.substr(start, end - start));
    if (number.back() == '.') number.pop_back();
    if (number == "+" || number == "-") return 0;
    const auto value = parseDouble(number);
    if (!value) raise(err::kOverflow, "Val");
    return *value;
}

std::optional<int32_t> parseLong(std::string_view text) {
    const auto number = parseDouble(text);
    if (!number) return std::nullopt;
    const double rounded = roundHalfEven(*number);
    if (rounded < -2147483648.0 || rounded > 2147483647.0) return std::nullopt;
    return static_cast<int32_t>(rounded);
}

std::optional<bool> parseBoolean(std::string_view text) {
    const std::string_view trimmed = trimSpaces(text);
    if (equalsNoCase(trimmed, "True")) return true;
    if (equalsNoCase(trimmed, "False")) return false;
    const auto number = parseDouble(trimmed);
    if (!number) return std::nullopt;
    return *number != 0.0;
}

} // namespace runtime
