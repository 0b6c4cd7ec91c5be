// UTF-8 decoding, encoding and case folding.
#include "platform/runtime/Text.h"

#include <algorithm>

namespace runtime {

namespace {

// Length of the valid UTF-8 sequence at text[i], or 0 when there is none.
std::size_t sequenceAt(std::string_view text, std::size_t i, char32_t& out) {
    const auto b = [&](std::size_t k) { return static_cast<unsigned char>(text[i + k]); };
    const unsigned char lead = b(0);
    std::size_t len = 0;
    char32_t c = 0;
    if (lead < 0x80) {
        out = lead;
        return 1;
    } else if ((lead & 0xE0) == 0xC0) {
        len = 2;
        c = lead & 0x1F;
    } else if ((lead & 0xF0) == 0xE0) {
        len = 3;
        c = lead & 0x0F;
    } else if ((lead & 0xF8) == 0xF0) {
        len = 4;
        c = lead & 0x07;
    } else {
        return 0;
    }
    if (i + len > text.size()) return 0;
    for (std::size_t k = 1; k < len; ++k) {
        if ((b(k) & 0xC0) != 0x80) return 0;
        c = (c << 6) | (b(k) & 0x3F);
    }
    static constexpr char32_t kMinimum[] = {0, 0, 0x80, 0x800, 0x10000};
    if (c < kMinimum[len] || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) return 0;
    out = c;
    return len;
}

} // namespace

std::u32string toU32(std::string_view utf8) {
    std::u32string out;
    out.reserve(utf8.size());
    for (std::size_t i = 0; i < utf8.size();) {
        char32_t c = 0;
        const std::size_t len = sequenceAt(utf8, i, c);
        if (len == 0) {
            out.push_back(static_cast<unsigned char>(utf8[i]));
            ++i;
        } else {
            out.push_back(c);
            i += len;
        }
    }
    return out;
}

std::string toUtf8(char32_t c) {
    std::string out;
    if (c < 0x80) {
        out.push_back(static_cast<char>(c));
    } else if (c < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (c >> 6)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else if (c < 0x10000) {
        out.push_back(static_cast<char>(0xE0 | (c >> 12)));
        out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xF0 | (c >> 18)));
        out.push_back(static_cast<char>(0x80 | ((c >> 12) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    }
    return out;
}

std::string toUtf8(std::u32string_view text) {
    std::string out;
    out.reserve(text.size());
    for (char32_t c : text)
        out += toUtf8(c);
    return out;
}

bool isValidUtf8(std::string_view bytes) noexcept {
    for (std::size_t i = 0; i < bytes.size();) {
        // Runs of ASCII, most of any text the program reads, need no decoding.
        if (static_cast<unsigned char>(bytes[i]) < 0x80) {
            ++i;
            continue;
        }
        char32_t c = 0;
        const std::size_t len = sequenceAt(bytes, i, c);
        if (len == 0) return false;
        i += len;
    }
    return true;
}

std::size_t charLength(std::string_view utf8) {
    std::size_t count = 0;
    for (std::size_t i = 0; i < utf8.size(); ++count) {
        char32_t c = 0;
        const std::size_t len = sequenceAt(utf8, i, c);
        i += len == 0 ? 1 : len;
    }
    return count;
}

char32_t foldCase(char32_t c) noexcept {
    if (c >= U'A' && c <= U'Z') return c + 0x20;
    if (c < 0xC0) return c;
    if (c <= 0xDE && c != 0xD7) return c + 0x20;              // Latin-1
    if (c >= 0x100 && c <= 0x137 && c % 2 == 0) return c + 1; // Latin Extended-A
    if (c >= 0x139 && c <= 0x148 && c % 2 == 1) return c + 1;
    if (c >= 0x14A && c <= 0x177 && c % 2 == 0) return c + 1;
    if (c == 0x178) return 0xFF;
    if (c >= 0x179 && c <= 0x17E && c % 2 == 1) return c + 1;
    if (c >= 0x391 && c <= 0x3AB && c != 0x3A2) return c + 0x20; // Greek
    if (c >= 0x410 && c <= 0x42F) return c + 0x20;               // Cyrillic
    if (c >= 0x400 && c <= 0x40F) return c + 0x50;
    return c;
}

std::u32string foldCase(std::u32string_view text) {
    std::u32string out(text);
    for (char32_t& c : out)
        c = foldCase(c);
    return out;
}

bool equalsNoCase(std::string_view a, std::string_view b) {
    // No letter outside ASCII folds into ASCII or out of it, so where one side is ASCII the bytes decide,
    // without a copy of either.
    const auto ascii = [](std::string_view text) {
        return std::all_of(text.begin(), text.end(),
                           [](char c) { return static_cast<unsigned char>(c) < 0x80; });
    };
    if (ascii(a) || ascii(b)) {
        const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
        return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(),
                                                  [&](char x, char y) { return lower(x) == lower(y); });
    }
    return foldCase(toU32(a)) == foldCase(toU32(b));
}

std::string_view trimSpaces(std::string_view text) noexcept {
    const auto first = text.find_first_not_of(' ');
    if (first == std::string_view::npos) return {};
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

} // namespace runtime
