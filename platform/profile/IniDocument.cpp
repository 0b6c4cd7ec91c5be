// Parsing, editing and writing back one INI file with its untouched lines kept byte for byte.
#include "platform/profile/IniDocument.h"

#include <algorithm>
#include <array>
#include <utility>

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

namespace {

char lowerAscii(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool isAscii(std::string_view text) {
    return std::all_of(text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

// The bytes as UTF-8, copied only when they are not UTF-8 already.
std::string_view asUtf8(std::string_view bytes, std::string& store) {
    if (runtime::isValidUtf8(bytes)) return bytes;
    store = repairUtf8(bytes);
    return store;
}

// A name as the indexes hold it: UTF-8 with letter case folded. Short ASCII names, the names programs
// use, are folded on the stack, so that a lookup allocates nothing.
class FoldedName {
public:
    explicit FoldedName(std::string_view name) {
        if (name.size() <= small_.size() && isAscii(name)) {
            std::transform(name.begin(), name.end(), small_.begin(), lowerAscii);
            view_ = std::string_view(small_.data(), name.size());
            return;
        }
        std::string store;
        big_ = runtime::toUtf8(runtime::foldCase(runtime::toU32(asUtf8(name, store))));
        view_ = big_;
    }
    FoldedName(const FoldedName&) = delete;
    FoldedName& operator=(const FoldedName&) = delete;

    std::string_view view() const noexcept { return view_; }
    std::string text() const { return std::string(view_); }

private:
    std::array<char, 64> small_{};
    std::string big_;
    std::string_view view_;
};

// The line end as static text, so that no line holds a copy of it.
std::string_view lineEnding(std::string_view bytes) {
    if (bytes == "\r\n") return "\r\n";
    if (bytes == "\n") return "\n";
    if (bytes == "\r") return "\r";
    return {};
}

// Where a line lies in the file and what it is. Found on the bytes themselves, which is exact in either
// encoding: "[", "=", blanks and tabs are ASCII, and neither encoding has an ASCII byte inside another
// character.
struct LineSpan {
    std::size_t start = 0, contentEnd = 0, next = 0;
    bool header = false, key = false;
};

} // namespace

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

    // The lines first, so that every container is made once at its size: a read costs an allocation per
    // line, not a copy of every section each time it grows.
    std::vector<LineSpan> spans;
    spans.reserve(static_cast<std::size_t>(std::count(bytes.begin(), bytes.end(), lineEnd)) + 1);
    std::size_t headers = 0;
    for (std::size_t pos = 0; pos < bytes.size();) {
        const auto found = bytes.find(lineEnd, pos);
        LineSpan span{pos, found == std::string_view::npos ? bytes.size() : found,
                      found == std::string_view::npos ? bytes.size() : found + 1};
        if (!crOnly && found != std::string_view::npos && span.contentEnd > pos &&
            bytes[span.contentEnd - 1] == '\r')
            --span.contentEnd;
        const std::string_view text = bytes.substr(pos, span.contentEnd - pos);
        span.header = trimLeadingBlanks(text).starts_with('[');
        const auto eq = text.find('=');
        span.key = !span.header && eq != std::string_view::npos && !trimBlanks(text.substr(0, eq)).empty();
        headers += span.header ? 1 : 0;
        spans.push_back(span);
        pos = span.next;
    }
    doc.sections_.reserve(headers + 1);
    doc.sectionIndex_.reserve(headers);

    std::string decoded;
    const auto textOf = [&](const LineSpan& span) -> std::string_view {
        const std::string_view raw = bytes.substr(span.start, span.contentEnd - span.start);
        if (doc.encoding_ == IniEncoding::Utf8) return raw;
        decoded = decodeText(raw, doc.encoding_);
        return decoded;
    };
    const auto lineOf = [&](const LineSpan& span) {
        return Line{std::string(bytes.substr(span.start, span.contentEnd - span.start)),
                    lineEnding(bytes.substr(span.contentEnd, span.next - span.contentEnd))};
    };
    for (std::size_t i = 0; i < spans.size();) {
        if (spans[i].header) {
            if (const auto name = headerName(textOf(spans[i])))
                doc.sectionIndex_.try_emplace(FoldedName(*name).text(), doc.sections_.size());
            Section section;
            section.header = lineOf(spans[i]);
            doc.sections_.push_back(std::move(section));
            ++i;
        }
        Section& section = doc.sections_.back();
        std::size_t end = i, afterLastKey = i, keys = 0;
        for (; end < spans.size() && !spans[end].header; ++end) {
            if (spans[end].key) {
                afterLastKey = end + 1;
                ++keys;
            }
        }
        section.body.reserve(afterLastKey - i);
        section.tail.reserve(end - afterLastKey);
        if (section.header) section.keys.reserve(keys);
        for (; i < end; ++i) {
            if (spans[i].key && section.header) {
                const std::string_view text = textOf(spans[i]);
                section.keys.try_emplace(FoldedName(trimBlanks(text.substr(0, text.find('=')))).text(),
                                         section.body.size());
            }
            (i < afterLastKey ? section.body : section.tail).push_back(lineOf(spans[i]));
        }
    }
    return doc;
}

const IniDocument::Line* IniDocument::find(std::string_view section, std::string_view key) const {
    const auto s = sectionIndex_.find(FoldedName(trimBlanks(section)).view());
    if (s == sectionIndex_.end()) return nullptr;
    const Section& sec = sections_[s->second];
    const auto k = sec.keys.find(FoldedName(trimBlanks(key)).view());
    return k == sec.keys.end() ? nullptr : &sec.body[k->second];
}

std::optional<std::string> IniDocument::get(std::string_view section, std::string_view key) const {
    const Line* line = find(section, key);
    if (line == nullptr) return std::nullopt;
    std::string store;
    return std::string(readValue(afterEquals(*line, store)));
}

std::optional<std::string> IniDocument::textAfterEquals(std::string_view section,
                                                        std::string_view key) const {
    const Line* line = find(section, key);
    if (line == nullptr) return std::nullopt;
    std::string store;
    return std::string(trimLeadingBlanks(afterEquals(*line, store)));
}

IniDocument::Line IniDocument::makeKeyLine(std::string_view key, std::string_view value) const {
    std::string text(key);
    text += '=';
    text += value;
    return Line{encodeText(text, encoding_), newline_};
}

std::string_view IniDocument::afterEquals(const Line& line, std::string& store) const {
    // "=" is ASCII in either encoding, so the first one in the bytes is the first one in the text.
    const std::string_view raw = line.raw;
    const auto eq = raw.find('=');
    const std::string_view after = eq == std::string_view::npos ? std::string_view{} : raw.substr(eq + 1);
    if (encoding_ == IniEncoding::Utf8) return after;
    store = decodeText(after, encoding_);
    return store;
}

const IniDocument::Line* IniDocument::lastLine() const {
    for (auto it = sections_.rbegin(); it != sections_.rend(); ++it) {
        if (!it->tail.empty()) return &it->tail.back();
        if (!it->body.empty()) return &it->body.back();
        if (it->header) return &*it->header;
    }
    return nullptr;
}

IniDocument::Line* IniDocument::lastLine() {
    return const_cast<Line*>(std::as_const(*this).lastLine());
}

template <class Visit> void IniDocument::forEachLine(Visit visit) const {
    for (const Section& sec : sections_) {
        if (sec.header) visit(*sec.header, true);
        for (const Line& line : sec.body)
            visit(line, false);
        for (const Line& line : sec.tail)
            visit(line, false);
    }
}

void IniDocument::convertToUtf8() {
    for (Section& sec : sections_) {
        if (sec.header) sec.header->raw = decodeText(sec.header->raw, encoding_);
        for (Line& line : sec.body)
            line.raw = decodeText(line.raw, encoding_);
        for (Line& line : sec.tail)
            line.raw = decodeText(line.raw, encoding_);
    }
    encoding_ = IniEncoding::Utf8;
}

void IniDocument::set(std::string_view section, std::string_view key, std::string_view value) {
    std::string sectionStore, keyStore, valueStore;
    const std::string_view sectionText = asUtf8(trimBlanks(section), sectionStore);
    const std::string_view keyText = asUtf8(trimBlanks(key), keyStore);
    const std::string_view valueText = asUtf8(value, valueStore);
    // No edit is refused for its characters, and none may change how the rest of the file reads.
    if (encoding_ == IniEncoding::Windows1252 &&
        !(fitsWindows1252(sectionText) && fitsWindows1252(keyText) && fitsWindows1252(valueText)))
        convertToUtf8();

    const FoldedName foldedSection(sectionText);
    const auto s = sectionIndex_.find(foldedSection.view());
    if (s == sectionIndex_.end()) {
        // The last line of the file gets the line break it may lack, so the new header starts a line.
        if (Line* last = lastLine(); last != nullptr && last->eol.empty()) last->eol = newline_;
        std::string header = "[";
        header += sectionText;
        header += ']';
        Section added;
        added.header = Line{encodeText(header, encoding_), newline_};
        added.body.push_back(makeKeyLine(keyText, valueText));
        added.keys.emplace(FoldedName(keyText).text(), 0);
        sections_.push_back(std::move(added));
        sectionIndex_.emplace(foldedSection.text(), sections_.size() - 1);
        return;
    }
    Section& sec = sections_[s->second];
    const FoldedName foldedKey(keyText);
    if (const auto k = sec.keys.find(foldedKey.view()); k != sec.keys.end()) {
        Line& line = sec.body[k->second];
        // The value the line already gives, in every reader's view, leaves the user's spelling of the line
        // (indentation, blanks and tabs around "=") alone.
        std::string store;
        if (trimLeadingBlanks(afterEquals(line, store)) == valueText) return;
        const std::string_view eol = line.eol; // a last line without a line break stays so
        line = makeKeyLine(keyText, valueText);
        line.eol = eol;
        return;
    }
    // After the last key of the section, so blank lines and remarks before the next header stay there.
    Line& before = sec.body.empty() ? *sec.header : sec.body.back();
    if (before.eol.empty()) before.eol = newline_;
    sec.keys.emplace(foldedKey.text(), sec.body.size());
    sec.body.push_back(makeKeyLine(keyText, valueText));
}

std::string IniDocument::assemble(bool asUtf8) const {
    const bool convert = asUtf8 && encoding_ == IniEncoding::Windows1252;
    std::string out;
    if (bom_) out += kByteOrderMark;
    forEachLine([&](const Line& line, bool) {
        out += convert ? decodeText(line.raw, encoding_) : line.raw;
        out += line.eol;
    });
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
    forEachLine([&](const Line& line, bool header) {
        out.push_back({decodeText(line.raw, encoding_), header});
    });
    return out;
}

std::size_t IniDocument::lineCount() const noexcept {
    std::size_t count = 0;
    for (const Section& sec : sections_)
        count += sec.body.size() + sec.tail.size() + (sec.header ? 1 : 0);
    return count;
}

std::size_t IniDocument::headerCount() const noexcept {
    return sections_.size() - 1;
}

bool IniDocument::endsWithLineBreak() const noexcept {
    const Line* last = lastLine();
    return last != nullptr && !last->eol.empty();
}

} // namespace profile
