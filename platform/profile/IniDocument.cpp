// Parsing, editing and writing back one INI file with its untouched lines kept byte for byte.
#include "platform/profile/IniDocument.h"

#include <array>

#include "platform/runtime/Text.h"

namespace profile {

namespace {

// Windows-1252 bytes 0x80 to 0x9F; the five bytes it leaves undefined stand for the C1 control of their
// value.
constexpr std::array<char16_t, 32> kCp1252High = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

std::string_view trimBlanks(std::string_view text) {
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos) return {};
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

// A value as it reads back: blanks around it removed, then one pair of enclosing quotes dropped.
std::string_view readValue(std::string_view written) {
    std::string_view value = trimBlanks(written);
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front())
        value = value.substr(1, value.size() - 2);
    return value;
}

} // namespace

IniDocument::IniDocument() {
    sections_.emplace_back();
}

IniEncoding detectEncoding(std::string_view bytes) noexcept {
    return runtime::isValidUtf8(bytes) ? IniEncoding::Utf8 : IniEncoding::Windows1252;
}

std::string decodeText(std::string_view bytes, IniEncoding encoding) {
    if (encoding == IniEncoding::Utf8) return std::string(bytes);
    std::string out;
    out.reserve(bytes.size());
    for (const char b : bytes) {
        const auto u = static_cast<unsigned char>(b);
        if (u < 0x80) {
            out.push_back(b);
        } else {
            out += runtime::toUtf8(u < 0xA0 ? char32_t{kCp1252High[u - 0x80]} : char32_t{u});
        }
    }
    return out;
}

std::string encodeText(std::string_view utf8, IniEncoding encoding) {
    if (encoding == IniEncoding::Utf8) return std::string(utf8);
    std::string out;
    for (const char32_t c : runtime::toU32(utf8)) {
        if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) {
            out.push_back(static_cast<char>(c));
            continue;
        }
        char replacement = '?';
        for (std::size_t i = 0; i < kCp1252High.size(); ++i) {
            if (kCp1252High[i] == c) replacement = static_cast<char>(0x80 + i);
        }
        out.push_back(replacement);
    }
    return out;
}

std::u32string IniDocument::fold(std::string_view utf8) {
    return runtime::foldCase(runtime::toU32(utf8));
}

IniDocument IniDocument::fromBytes(std::string_view bytes) {
    IniDocument doc;
    doc.encoding_ = detectEncoding(bytes);
    for (std::size_t pos = 0; pos < bytes.size();) {
        const auto lf = bytes.find('\n', pos);
        const std::size_t end = lf == std::string_view::npos ? bytes.size() : lf;
        std::size_t contentEnd = end;
        if (lf != std::string_view::npos && contentEnd > pos && bytes[contentEnd - 1] == '\r') --contentEnd;
        doc.addLine(std::string(bytes.substr(pos, contentEnd - pos)),
                    std::string(bytes.substr(contentEnd,
                                             (lf == std::string_view::npos ? end : end + 1) - contentEnd)));
        pos = lf == std::string_view::npos ? bytes.size() : lf + 1;
    }
    return doc;
}

void IniDocument::addLine(std::string raw, std::string eol) {
    const std::string text = decodeText(raw, encoding_);
    const std::string_view trimmed = trimBlanks(text);
    Line line{std::move(raw), std::move(eol), {}, false};
    if (!trimmed.empty() && trimmed.front() == '[') {
        const auto close = trimmed.find(']');
        const std::string_view name =
            trimBlanks(trimmed.substr(1, close == std::string_view::npos ? close : close - 1));
        Section section;
        section.header = std::move(line);
        sections_.push_back(std::move(section));
        sectionIndex_.try_emplace(fold(name), sections_.size() - 1);
        return;
    }
    Section& section = sections_.back();
    const auto eq = text.find('=');
    if (eq != std::string::npos) {
        const std::string_view key = trimBlanks(std::string_view(text).substr(0, eq));
        if (!key.empty()) {
            line.isKey = true;
            line.value = std::string(readValue(std::string_view(text).substr(eq + 1)));
            if (section.header) section.keys.try_emplace(fold(key), section.body.size());
        }
    }
    section.body.push_back(std::move(line));
}

std::optional<std::string> IniDocument::get(std::string_view section, std::string_view key) const {
    section = trimBlanks(section);
    key = trimBlanks(key);
    const auto s = sectionIndex_.find(fold(section));
    if (s == sectionIndex_.end()) return std::nullopt;
    const Section& sec = sections_[s->second];
    const auto k = sec.keys.find(fold(key));
    if (k == sec.keys.end()) return std::nullopt;
    return sec.body[k->second].value;
}

IniDocument::Line IniDocument::makeKeyLine(std::string_view key, std::string_view value) const {
    std::string text(key);
    text += '=';
    text += value;
    return Line{encodeText(text, encoding_), "\r\n", std::string(readValue(value)), true};
}

void IniDocument::set(std::string_view section, std::string_view key, std::string_view value) {
    section = trimBlanks(section);
    key = trimBlanks(key);
    const std::u32string foldedSection = fold(section);
    const auto s = sectionIndex_.find(foldedSection);
    if (s == sectionIndex_.end()) {
        // The last line of the file gets the line break it may lack, so the new header starts a line.
        for (auto it = sections_.rbegin(); it != sections_.rend(); ++it) {
            Line* last = !it->body.empty() ? &it->body.back() : (it->header ? &*it->header : nullptr);
            if (last == nullptr) continue;
            if (last->eol.empty()) last->eol = "\r\n";
            break;
        }
        Section added;
        std::string header = "[";
        header += section;
        header += ']';
        added.header = Line{encodeText(header, encoding_), "\r\n", {}, false};
        added.body.push_back(makeKeyLine(key, value));
        added.keys.emplace(fold(key), 0);
        sections_.push_back(std::move(added));
        sectionIndex_.emplace(foldedSection, sections_.size() - 1);
        return;
    }
    Section& sec = sections_[s->second];
    const std::u32string foldedKey = fold(key);
    if (const auto k = sec.keys.find(foldedKey); k != sec.keys.end()) {
        Line& line = sec.body[k->second];
        std::string eol = std::move(line.eol); // a last line without a line break stays so
        line = makeKeyLine(key, value);
        line.eol = std::move(eol);
        return;
    }
    // After the last key of the section, so blank lines and remarks before the next header stay there.
    std::size_t insertAt = 0;
    for (std::size_t i = 0; i < sec.body.size(); ++i) {
        if (sec.body[i].isKey) insertAt = i + 1;
    }
    Line& before = insertAt == 0 ? *sec.header : sec.body[insertAt - 1];
    if (before.eol.empty()) before.eol = "\r\n";
    sec.body.insert(sec.body.begin() + static_cast<std::ptrdiff_t>(insertAt), makeKeyLine(key, value));
    sec.keys.emplace(foldedKey, insertAt);
}

std::string IniDocument::toBytes() const {
    std::string out;
    const auto put = [&out](const Line& line) {
        out += line.raw;
        out += line.eol;
    };
    for (const Section& sec : sections_) {
        if (sec.header) put(*sec.header);
        for (const Line& line : sec.body)
            put(line);
    }
    return out;
}

} // namespace profile
