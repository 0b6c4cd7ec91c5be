// Number pictures for captions and tooltips ("#0 000 000", "#,##0 Hz", "#0%", "0.0;(0.0)"), written the
// same whatever the process locale; a caller that must follow the user's locale passes its separators.
#pragma once

#include <string>
#include <string_view>

namespace NumberFormat {

// What "." and "," of a picture become in the text.
struct Separators {
    std::string decimal = ".";
    std::string thousands = ",";
};

// Writes value by picture. In a picture "0" is a digit always shown, "#" a digit shown only when
// significant, "." the decimal point, "," anywhere before it groups the whole part by thousands, "%"
// multiplies by 100 and is shown, and every other character is copied. Sections split by ";" serve
// positive values, negative values (shown without a minus sign of their own) and zero; a value that
// rounds to zero counts as zero. The number is first taken to 15 significant digits, then rounded to
// the picture's decimals with halves away from zero. Digits beyond the picture's whole-number
// placeholders go in front of the first one. An empty picture gives the plain number text.
// NaN and infinities raise Overflow.
std::string Format(double value, std::string_view picture, const Separators& separators = {});

// The separators of the user's locale, as the process's C locale holds them (the UI sets it from the
// environment at start-up); a locale without a thousands separator gets "," (or "." beside a decimal
// comma).
Separators userSeparators();

} // namespace NumberFormat
