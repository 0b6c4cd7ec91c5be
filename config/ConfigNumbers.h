// The two ways the configuration dialog reads a typed number: the lenient one for the frequencies, which
// never fails (the dialog shows them with blanks between the digit groups), and the strict one for the
// other fields, which refuses whatever is not a number in the user's own format.
#pragma once

#include <cstdint>
#include <string_view>

#include "frame/NumberFormat.h"

namespace config {

// The number the text begins with. Blanks (spaces, tabs, line breaks) anywhere are skipped, so
// "0 455 000" is 455000. Then a sign, digits, "." and a fraction, an exponent; or "&H" and hexadecimal,
// "&O" and octal digits, read as a 32-bit pattern ("&HFFFFFFFF" is -1; more digits than 32 bits hold
// give 0). Reading stops at the first character that cannot continue the number; a text without a
// leading number gives 0, and one too large for a double an infinity. It never raises.
double lenientNumber(std::string_view text);

// The whole text as a number: blanks around it, a sign, digits with the user's decimal separator and
// an exponent; or "&H" and one to eight hexadecimal digits as a 32-bit pattern. Anything else, and a
// number beyond a double, raises Type mismatch (13). Thousands separators are refused: in a locale whose
// grouping mark is ".", "0.000005" must not be read as 5. With digitGroups, single blanks between digits
// are taken as the dialog's own grouping of a frequency ("0 455 000").
double strictNumber(std::string_view text, const NumberFormat::Separators& separators,
                    bool digitGroups = false);

// strictNumber rounded half to even into 32 bits; out of that range raises Overflow (6).
int32_t strictLong(std::string_view text, const NumberFormat::Separators& separators,
                   bool digitGroups = false);

} // namespace config
