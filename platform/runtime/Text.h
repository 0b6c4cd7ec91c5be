// Text as the system counts it: UTF-8 in memory, characters (code points) for every length and position.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace runtime {

// Decodes UTF-8; a byte that does not start a valid sequence stands for the Latin-1 character of its value.
std::u32string toU32(std::string_view utf8);
std::string toUtf8(std::u32string_view text);
std::string toUtf8(char32_t c);

// True when every byte belongs to a valid UTF-8 sequence (no overlongs, surrogates or values past U+10FFFF).
bool isValidUtf8(std::string_view bytes) noexcept;

// Number of characters.
std::size_t charLength(std::string_view utf8);

// Lower case for comparison without regard to letter case (Latin, Greek and Cyrillic letters).
char32_t foldCase(char32_t c) noexcept;
std::u32string foldCase(std::u32string_view text);
bool equalsNoCase(std::string_view a, std::string_view b);

// The text without leading and trailing blanks (spaces only, not tabs or line breaks).
std::string_view trimSpaces(std::string_view text) noexcept;

} // namespace runtime
