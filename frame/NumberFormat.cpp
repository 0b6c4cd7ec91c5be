// Number pictures, worked on decimal digit strings so that no value is ever too large for an integer.
#include "frame/NumberFormat.h"

#include <array>
#include <charconv>
#include <clocale>
#include <cmath>
#include <span>
#include <vector>

#include "platform/runtime/Convert.h"
#include "platform/runtime/RuntimeError.h"

namespace NumberFormat {

namespace {

constexpr int kSignificantDigits = 15;

bool isPlaceholder(char c) {
    return c == '0' || c == '#';
}

// A magnitude as decimal digits: the whole part without leading zeros ("" for none) and exactly the
// asked number of decimals.
struct Digits {
    std::string whole;
    std::string fraction;
    bool isZero() const {
        return whole.find_first_not_of('0') == std::string::npos &&
               fraction.find_first_not_of('0') == std::string::npos;
    }
};

Digits toDigits(double magnitude, std::size_t decimals) {
    std::string whole;
    std::string fraction;
    if (magnitude != 0) {
        // Fifteen significant digits first, as a caption shows what the number means rather than the
        // binary fraction it is stored as (2.675 is written 2.68 with two decimals).
        std::array<char, 40> buf{};
        const auto res = std::to_chars(buf.data(), buf.data() + buf.size(), magnitude,
                                       std::chars_format::scientific, kSignificantDigits - 1);
        const std::string_view text(buf.data(), static_cast<std::size_t>(res.ptr - buf.data()));
        const auto e = text.find('e');
        std::string digits;
        for (const char c : text.substr(0, e))
            if (c != '.') digits += c;
        int exponent = 0;
        const std::string_view exponentText = text.substr(e + 1);
        std::from_chars(exponentText.data() + (exponentText.front() == '+' ? 1 : 0),
                        exponentText.data() + exponentText.size(), exponent);
        const int point = exponent + 1; // digits before the decimal point
        const int count = static_cast<int>(digits.size());
        if (point <= 0) {
            fraction = std::string(static_cast<std::size_t>(-point), '0') + digits;
        } else if (point >= count) {
            whole = digits + std::string(static_cast<std::size_t>(point - count), '0');
        } else {
            whole = digits.substr(0, static_cast<std::size_t>(point));
            fraction = digits.substr(static_cast<std::size_t>(point));
        }
    }
    bool roundUp = false;
    if (fraction.size() > decimals) {
        roundUp = fraction[decimals] >= '5';
        fraction.resize(decimals);
    }
    fraction.append(decimals - fraction.size(), '0');
    if (roundUp) {
        std::string all = whole + fraction;
        int i = static_cast<int>(all.size()) - 1;
        for (; i >= 0 && all[static_cast<std::size_t>(i)] == '9'; --i)
            all[static_cast<std::size_t>(i)] = '0';
        if (i < 0)
            all.insert(all.begin(), '1');
        else
            ++all[static_cast<std::size_t>(i)];
        whole = all.substr(0, all.size() - decimals);
        fraction = all.substr(all.size() - decimals);
    }
    const auto first = whole.find_first_not_of('0');
    whole = first == std::string::npos ? std::string{} : whole.substr(first);
    return {whole, fraction};
}

// One section of a picture, split at its decimal point.
struct Section {
    std::string_view whole;    // up to the decimal point
    std::string_view fraction; // after it
    bool hasPoint = false;
    bool percent = false;
    bool grouping = false;

    explicit Section(std::string_view text) {
        const auto point = text.find('.');
        hasPoint = point != std::string_view::npos;
        whole = text.substr(0, point);
        if (hasPoint) fraction = text.substr(point + 1);
        percent = text.find('%') != std::string_view::npos;
        grouping = whole.find(',') != std::string_view::npos;
    }

    std::size_t decimals() const {
        std::size_t n = 0;
        for (const char c : fraction)
            n += isPlaceholder(c) ? 1 : 0;
        return n;
    }
};

std::string layout(const Section& section, const Digits& digits, const Separators& separators) {
    std::string out;

    // Whole part: digits fill the placeholders from the right; a literal between placeholders is shown
    // only inside the number, that is when a digit stands to its left.
    std::size_t placeholders = 0;
    std::size_t firstZero = std::string::npos;
    for (const char c : section.whole) {
        if (!isPlaceholder(c)) continue;
        if (c == '0' && firstZero == std::string::npos) firstZero = placeholders;
        ++placeholders;
    }
    const std::size_t minimum = firstZero == std::string::npos ? 0 : placeholders - firstZero;
    std::string shown = digits.whole;
    if (shown.size() < minimum) shown.insert(0, minimum - shown.size(), '0');

    std::size_t emitted = 0;
    const auto emit = [&](char digit) {
        out += digit;
        ++emitted;
        const std::size_t right = shown.size() - emitted;
        if (section.grouping && right > 0 && right % 3 == 0) out += separators.thousands;
    };
    const std::size_t overflow = shown.size() > placeholders ? shown.size() - placeholders : 0;
    std::size_t placeholdersLeft = placeholders; // placeholders at or to the right of the position
    bool overflowDone = false;
    for (const char c : section.whole) {
        if (isPlaceholder(c)) {
            if (!overflowDone) {
                for (std::size_t i = 0; i < overflow; ++i)
                    emit(shown[i]);
                overflowDone = true;
            }
            if (placeholdersLeft <= shown.size()) emit(shown[shown.size() - placeholdersLeft]);
            --placeholdersLeft;
        } else if (c == ',') {
            // grouping flag only
        } else if (placeholdersLeft == placeholders || placeholdersLeft == 0 || emitted > 0) {
            out += c;
        }
    }
    if (!overflowDone)
        for (std::size_t i = 0; i < overflow; ++i)
            emit(shown[i]);

    if (!section.hasPoint) return out;
    out += separators.decimal;

    // Decimals: a "#" place shows its digit only while a significant digit or a "0" place follows.
    std::size_t keep = 0;
    std::size_t index = 0;
    for (const char c : section.fraction) {
        if (!isPlaceholder(c)) continue;
        if (c == '0' || digits.fraction[index] != '0') keep = index + 1;
        ++index;
    }
    index = 0;
    for (const char c : section.fraction) {
        if (isPlaceholder(c)) {
            if (index < keep) out += digits.fraction[index];
            ++index;
        } else if (index < keep || index == digits.fraction.size()) {
            out += c;
        }
    }
    return out;
}

} // namespace

std::string Format(double value, std::string_view picture, const Separators& separators) {
    if (!std::isfinite(value)) runtime::raise(runtime::err::kOverflow, "Format");
    if (picture.empty()) {
        std::string text = runtime::CStr(value);
        const auto point = text.find('.');
        if (point != std::string::npos) text.replace(point, 1, separators.decimal);
        return text;
    }

    // Positive, negative and zero; any later section serves no number. Held without allocating, since
    // the display formats its labels every frame.
    std::array<std::string_view, 3> section{};
    std::size_t count = 0;
    for (std::size_t start = 0; count < section.size();) {
        const auto end = picture.find(';', start);
        section[count++] = picture.substr(start, end == std::string_view::npos ? end : end - start);
        if (end == std::string_view::npos) break;
        start = end + 1;
    }
    const std::span<const std::string_view> sections(section.data(), count);

    const auto digitsFor = [value](const Section& s) {
        return toDigits(std::fabs(value) * (s.percent ? 100.0 : 1.0), s.decimals());
    };
    const Section first(sections[0]);
    const Digits firstDigits = digitsFor(first);
    if (firstDigits.isZero()) {
        if (sections.size() >= 3 && !sections[2].empty()) {
            const Section zero(sections[2]);
            return layout(zero, digitsFor(zero), separators);
        }
        return layout(first, firstDigits, separators);
    }
    if (value < 0) {
        if (sections.size() >= 2 && !sections[1].empty()) {
            const Section negative(sections[1]);
            return layout(negative, digitsFor(negative), separators);
        }
        return "-" + layout(first, firstDigits, separators);
    }
    return layout(first, firstDigits, separators);
}

Separators userSeparators() {
    const std::lconv* conv = std::localeconv();
    Separators separators;
    if (conv && conv->decimal_point && *conv->decimal_point) separators.decimal = conv->decimal_point;
    if (conv && conv->thousands_sep && *conv->thousands_sep)
        separators.thousands = conv->thousands_sep;
    else
        separators.thousands = separators.decimal == "," ? "." : ",";
    return separators;
}

} // namespace NumberFormat
