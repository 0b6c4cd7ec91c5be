// Parsing, editing and writing back one INI file with its untouched lines kept byte for byte.
#include "platform/profile/IniDocument.h"

#include <array>

#include "platform/runtime/Text.h"

namespace profile {

namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

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

std::string_view trimLeadingBlanks(std::string_view text) {
    const auto first = text.find_first_not_of(" \t");
    return first == std::string_view::npos ? std::string_view{} : text.substr(first);
}

// A value as it reads back: blanks around it removed, then one pair of enclosing quotes dropped.
std::string_view readValue(std::string_view written) {
    std::string_view value = trimBlanks(written);
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front())
        value = value.substr(1, value.size() - 2);
    return value;
}

std::string cp1252Character(unsigned char byte) {
    if (byte < 0x80) return std::string(1, static_cast<char>(byte));
    return runtime::toUtf8(byte < 0xA0 ? char32_t{kCp1252High[byte - 0x80]} : char32_t{byte});
}

// The length of the valid UTF-8 sequence that starts the text, 0 when none does.
std::size_t utf8SequenceAt(std::string_view text) {
    const auto lead = static_cast<unsigned char>(text.front());
    const std::size_t length = lead < 0x80 ? 1 : lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 0;
    if (length == 0 || length > text.size()) return 0;
    return runtime::isValidUtf8(text.substr(0, length)) ? length : 0;
}

bool hasHighBytes(std::string_view bytes) {
    for (const char b : bytes) {
        if (static_cast<unsigned char>(b) >= 0x80) return true;
    }
    return false;
}

// The name a header line gives: the text between its first "[" and the next "]". A header without the
// closing bracket answers to no name.
std::optional<std::string_view> headerName(std::string_view text) {
    const auto open = text.find('[');
    const auto close = text.find(']', open + 1);
    if (close == std::string_view::npos) return std::nullopt;
    return trimBlanks(text.substr(open + 1, close - open - 1));
}

} // namespace

IniEncoding detectEncoding(std::string_view bytes) noexcept {
    return runtime::isValidUtf8(bytes) ? IniEncoding::Utf8 : IniEncoding::Windows1252;
}

std::string decodeText(std::string_view bytes, IniEncoding encoding) {
    if (encoding == IniEncoding::Utf8) return std::string(bytes);
    std::string out;
    out.reserve(bytes.size());
    for (const char b : bytes)
        out += cp1252Character(static_cast<unsigned char>(b));
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

bool fitsWindows1252(std::string_view utf8) {
    for (const char32_t c : runtime::toU32(utf8)) {
        if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) continue;
        bool found = false;
        for (const char16_t high : kCp1252High)
            found = found || high == c;
        if (!found) return false;
    }
    return true;
}

std::string repairUtf8(std::string_view bytes) {
    if (runtime::isValidUtf8(bytes)) return std::string(bytes);
    std::string out;
    out.reserve(bytes.size() + bytes.size() / 2);
    while (!bytes.empty()) {
        const std::size_t length = utf8SequenceAt(bytes);
        if (length > 0) {
            out.append(bytes.substr(0, length));
            bytes.remove_prefix(length);
        } else {
            out += cp1252Character(static_cast<unsigned char>(bytes.front()));
            bytes.remove_prefix(1);
        }
    }
    return out;
}

std::optional<TextRefusal> refuseText(std::string_view bytes) noexcept {
    if (bytes.starts_with("\xFF\xFE") || bytes.starts_with("\xFE\xFF")) return TextRefusal::Utf16;
    // UTF-16 without a mark shows as NUL bytes at every other place; NUL bytes anywhere else are binary.
    bool even = false, odd = false;
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        if (bytes[i] != '\0') continue;
        (i % 2 == 0 ? even : odd) = true;
    }
    if (even && odd) return TextRefusal::NotText;
    if (even || odd) return TextRefusal::Utf16;
    return std::nullopt;
}

IniDocument::IniDocument() {
    sections_.emplace_back();
}

std::u32string IniDocument::fold(std::string_view utf8) {
    return runtime::foldCase(runtime::toU32(utf8));
}

IniDocument IniDocument::fromBytes(std::string_view bytes) {
    IniDocument doc;
    if (bytes.starts_with(kByteOrderMark)) {
        doc.bom_ = true;
        bytes.remove_prefix(kByteOrderMark.size());
    }
    doc.encoding_ = detectEncoding(bytes);
    const bool crOnly =
        bytes.find('\n') == std::string_view::npos && bytes.find('\r') != std::string_view::npos;
    if (crOnly) doc.newline_ = "\r";
    const char lineEnd = crOnly ? '\r' : '\n';
    for (std::size_t pos = 0; pos < bytes.size();) {
        const auto found = bytes.find(lineEnd, pos);
        const std::size_t next = found == std::string_view::npos ? bytes.size() : found + 1;
        std::size_t contentEnd = found == std::string_view::npos ? bytes.size() : found;
        if (!crOnly && found != std::string_view::npos && contentEnd > pos && bytes[contentEnd - 1] == '\r')
            --contentEnd;
        doc.addLine(std::string(bytes.substr(pos, contentEnd - pos)),
                    std::string(bytes.substr(contentEnd, next - contentEnd)));
        pos = next;
    }
    return doc;
}

void IniDocument::addLine(std::string raw, std::string eol) {
    Line line{std::move(raw), std::move(eol), {}, false};
    std::string decoded;
    if (encoding_ != IniEncoding::Utf8) decoded = decodeText(line.raw, encoding_);
    const std::string_view text = encoding_ == IniEncoding::Utf8 ? std::string_view(line.raw) : decoded;
    if (trimLeadingBlanks(text).starts_with('[')) {
        // Named before the line moves: the text may be a view of its bytes.
        if (const auto name = headerName(text)) sectionIndex_.try_emplace(fold(*name), sections_.size());
        Section section;
        section.header = std::move(line);
        sections_.push_back(std::move(section));
        return;
    }
    Section& section = sections_.back();
    const auto eq = text.find('=');
    if (eq != std::string_view::npos) {
        const std::string_view key = trimBlanks(text.substr(0, eq));
        if (!key.empty()) {
            line.isKey = true;
            line.after = std::string(text.substr(eq + 1));
            if (section.header) section.keys.try_emplace(fold(key), section.body.size());
        }
    }
    section.body.push_back(std::move(line));
}

const IniDocument::Line* IniDocument::find(std::string_view section, std::string_view key) const {
    const auto s = sectionIndex_.find(fold(repairUtf8(trimBlanks(section))));
    if (s == sectionIndex_.end()) return nullptr;
    const Section& sec = sections_[s->second];
    const auto k = sec.keys.find(fold(repairUtf8(trimBlanks(key))));
    return k == sec.keys.end() ? nullptr : &sec.body[k->second];
}

std::optional<std::string> IniDocument::get(std::string_view section, std::string_view key) const {
    const Line* line = find(section, key);
    if (line == nullptr) return std::nullopt;
    return std::string(readValue(line->after));
}

std::optional<std::string> IniDocument::textAfterEquals(std::string_view section,
                                                        std::string_view key) const {
    const Line* line = find(section, key);
    if (line == nullptr) return std::nullopt;
    return std::string(trimLeadingBlanks(line->after));
}

IniDocument::Line IniDocument::makeKeyLine(std::string_view key, std::string_view value) const {
    std::string text(key);
    text += '=';
    text += value;
    return Line{encodeText(text, encoding_), newline_, std::string(value), true};
}

IniDocument::Line* IniDocument::lastLine() {
    for (auto it = sections_.rbegin(); it != sections_.rend(); ++it) {
        if (!it->body.empty()) return &it->body.back();
        if (it->header) return &*it->header;
    }
    return nullptr;
}

void IniDocument::convertToUtf8() {
    for (Section& sec : sections_) {
        if (sec.header) sec.header->raw = decodeText(sec.header->raw, encoding_);
        for (Line& line : sec.body)
            line.raw = decodeText(line.raw, encoding_);
    }
    encoding_ = IniEncoding::Utf8;
}

void IniDocument::set(std::string_view section, std::string_view key, std::string_view value) {
    const std::string sectionText = repairUtf8(trimBlanks(section));
    const std::string keyText = repairUtf8(trimBlanks(key));
    const std::string valueText = repairUtf8(value);
    // No edit is refused for its characters, and none may change how the rest of the file reads.
    if (encoding_ == IniEncoding::Windows1252 &&
        !(fitsWindows1252(sectionText) && fitsWindows1252(keyText) && fitsWindows1252(valueText)))
        convertToUtf8();

    const std::u32string foldedSection = fold(sectionText);
    const auto s = sectionIndex_.find(foldedSection);
    if (s == sectionIndex_.end()) {
        // The last line of the file gets the line break it may lack, so the new header starts a line.
        if (Line* last = lastLine(); last != nullptr && last->eol.empty()) last->eol = newline_;
        std::string header = "[";
        header += sectionText;
        header += ']';
        Section added;
        added.header = Line{encodeText(header, encoding_), newline_, {}, false};
        added.body.push_back(makeKeyLine(keyText, valueText));
        added.keys.emplace(fold(keyText), 0);
        sections_.push_back(std::move(added));
        sectionIndex_.emplace(foldedSection, sections_.size() - 1);
        return;
    }
    Section& sec = sections_[s->second];
    const std::u32string foldedKey = fold(keyText);
    if (const auto k = sec.keys.find(foldedKey); k != sec.keys.end()) {
        Line& line = sec.body[k->second];
        // The value the line already gives, in every reader's view, leaves the user's spelling of the line
        // (indentation, blanks and tabs around "=") alone.
        if (trimLeadingBlanks(line.after) == valueText) return;
        std::string eol = std::move(line.eol); // a last line without a line break stays so
        line = makeKeyLine(keyText, valueText);
        line.eol = std::move(eol);
        return;
    }
    // After the last key of the section, so blank lines and remarks before the next header stay there.
    std::size_t insertAt = 0;
    for (std::size_t i = 0; i < sec.body.size(); ++i) {
        if (sec.body[i].isKey) insertAt = i + 1;
    }
    Line& before = insertAt == 0 ? *sec.header : sec.body[insertAt - 1];
    if (before.eol.empty()) before.eol = newline_;
    sec.body.insert(sec.body.begin() + static_cast<std::ptrdiff_t>(insertAt),
                    makeKeyLine(keyText, valueText));
    sec.keys.emplace(foldedKey, insertAt);
}

std::string IniDocument::assemble(bool asUtf8) const {
    const bool convert = asUtf8 && encoding_ == IniEncoding::Windows1252;
    std::string out;
    if (bom_) out += kByteOrderMark;
    const auto put = [&](const Line& line) {
        out += convert ? decodeText(line.raw, encoding_) : line.raw;
        out += line.eol;
    };
    for (const Section& sec : sections_) {
        if (sec.header) put(*sec.header);
        for (const Line& line : sec.body)
            put(line);
    }
    return out;
}

std::string IniDocument::toBytes() const {
    std::string out = assemble(false);
    if (encoding_ == IniEncoding::Utf8) return out;
    // The edits may have left no byte that marks the file as Windows-1252, so that it would read as
    // UTF-8: it is then written as UTF-8, which reads the same.
    const std::string_view text = std::string_view(out).substr(bom_ ? kByteOrderMark.size() : 0);
    if (hasHighBytes(text) && runtime::isValidUtf8(text)) return assemble(true);
    return out;
}

std::vector<IniDocument::LineText> IniDocument::lines() const {
    std::vector<LineText> out;
    out.reserve(lineCount());
    for (const Section& sec : sections_) {
        if (sec.header) out.push_back({decodeText(sec.header->raw, encoding_), true});
        for (const Line& line : sec.body)
            out.push_back({decodeText(line.raw, encoding_), false});
    }
    return out;
}

std::size_t IniDocument::lineCount() const noexcept {
    std::size_t count = 0;
    for (const Section& sec : sections_)
        count += sec.body.size() + (sec.header ? 1 : 0);
    return count;
}

std::size_t IniDocument::headerCount() const noexcept {
    return sections_.size() - 1;
}

bool IniDocument::endsWithLineBreak() const noexcept {
    for (auto it = sections_.rbegin(); it != sections_.rend(); ++it) {
        if (!it->body.empty()) return !it->body.back().eol.empty();
        if (it->header) return !it->header->eol.empty();
    }
    return false;
}

} // namespace profile
