// Building, checking and querying VS_VERSIONINFO records, with every read checked against its bounds.
#include "platform/version/VersionRecord.h"

#include <cstring>

#include "platform/runtime/Text.h"

namespace version {

namespace {

constexpr std::size_t kHeaderSize = 6; // wLength, wValueLength, wType
constexpr int kMaxDepth = 8;

uint16_t read16(std::span<const uint8_t> b, std::size_t at) noexcept {
    return static_cast<uint16_t>(b[at] | (b[at + 1] << 8));
}
uint32_t read32(std::span<const uint8_t> b, std::size_t at) noexcept {
    return uint32_t{read16(b, at)} | (uint32_t{read16(b, at + 2)} << 16);
}
constexpr std::size_t align4(std::size_t n) noexcept {
    return (n + 3) & ~std::size_t{3};
}

// One node of the record, located inside its parent.
struct Node {
    std::size_t start = 0, end = 0;       // the node's bytes
    std::size_t keyStart = 0, keyEnd = 0; // UTF-16 key without its NUL
    std::size_t valueStart = 0, valueEnd = 0;
    std::size_t childrenStart = 0;
    uint16_t valueLength = 0;
    bool text = false;
};

std::optional<Node> nodeAt(std::span<const uint8_t> b, std::size_t at, std::size_t limit) noexcept {
    if (at + kHeaderSize > limit) return std::nullopt;
    Node n;
    n.start = at;
    const std::size_t length = read16(b, at);
    n.valueLength = read16(b, at + 2);
    const uint16_t type = read16(b, at + 4);
    if (length < kHeaderSize || at + length > limit || type > 1) return std::nullopt;
    n.end = at + length;
    n.text = type == 1;
    n.keyStart = at + kHeaderSize;
    std::size_t p = n.keyStart;
    while (p + 2 <= n.end && read16(b, p) != 0)
        p += 2;
    if (p + 2 > n.end) return std::nullopt; // unterminated key
    n.keyEnd = p;
    n.valueStart = std::min(align4(p + 2), n.end);
    const std::size_t valueBytes = n.text ? std::size_t{n.valueLength} * 2 : n.valueLength;
    if (n.valueStart + valueBytes > n.end) {
        if (!n.text) return std::nullopt;
        n.valueEnd = n.end; // some writers count text values in bytes; the node's end still bounds it
    } else {
        n.valueEnd = n.valueStart + valueBytes;
    }
    n.childrenStart = std::min(align4(n.valueEnd), n.end);
    return n;
}

bool keyEquals(std::span<const uint8_t> b, const Node& n, std::string_view name) noexcept {
    if ((n.keyEnd - n.keyStart) / 2 != name.size()) return false;
    for (std::size_t i = 0; i < name.size(); ++i) {
        uint16_t c = read16(b, n.keyStart + 2 * i);
        unsigned char want = static_cast<unsigned char>(name[i]);
        if (c >= 'A' && c <= 'Z') c = static_cast<uint16_t>(c + 32);
        if (want >= 'A' && want <= 'Z') want = static_cast<unsigned char>(want + 32);
        if (c != want) return false;
    }
    return true;
}

bool validTree(std::span<const uint8_t> b, const Node& n, int depth) noexcept {
    if (depth > kMaxDepth) return false;
    for (std::size_t p = n.childrenStart; p < n.end;) {
        const auto child = nodeAt(b, p, n.end);
        if (!child || !validTree(b, *child, depth + 1)) return false;
        p = align4(child->end);
    }
    return true;
}

std::optional<Node> findChild(std::span<const uint8_t> b, const Node& parent,
                              std::string_view name) noexcept {
    for (std::size_t p = parent.childrenStart; p < parent.end;) {
        const auto child = nodeAt(b, p, parent.end);
        if (!child) return std::nullopt;
        if (keyEquals(b, *child, name)) return child;
        p = align4(child->end);
    }
    return std::nullopt;
}

// Writer side: nodes are laid out depth first and their length fields patched once their children are in.
class Writer {
public:
    std::size_t begin(std::u16string_view key, uint16_t valueLength, bool text) {
        pad();
        const std::size_t at = out_.size();
        put16(0);
        put16(valueLength);
        put16(text ? 1 : 0);
        for (char16_t c : key)
            put16(c);
        put16(0);
        pad();
        return at;
    }
    void bytes(std::span<const uint8_t> data) { out_.insert(out_.end(), data.begin(), data.end()); }
    void put16(uint16_t v) {
        out_.push_back(static_cast<uint8_t>(v));
        out_.push_back(static_cast<uint8_t>(v >> 8));
    }
    void end(std::size_t at) {
        const std::size_t length = out_.size() - at;
        out_[at] = static_cast<uint8_t>(length);
        out_[at + 1] = static_cast<uint8_t>(length >> 8);
    }
    void pad() {
        while (out_.size() % 4 != 0)
            out_.push_back(0);
    }
    std::vector<uint8_t> take() { return std::move(out_); }

private:
    std::vector<uint8_t> out_;
};

std::u16string toUtf16(std::string_view utf8) {
    std::u16string out;
    for (char32_t c : runtime::toU32(utf8)) {
        if (c >= 0x10000) {
            c -= 0x10000;
            out.push_back(static_cast<char16_t>(0xD800 + (c >> 10)));
            out.push_back(static_cast<char16_t>(0xDC00 + (c & 0x3FF)));
        } else {
            out.push_back(static_cast<char16_t>(c));
        }
    }
    return out;
}

std::u16string hex8(uint16_t language, uint16_t codePage) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    const uint32_t v = (uint32_t{language} << 16) | codePage;
    std::u16string out;
    for (int shift = 28; shift >= 0; shift -= 4)
        out.push_back(static_cast<char16_t>(kHex[(v >> shift) & 0xF]));
    return out;
}

} // namespace

FixedFileInfo FixedFileInfo::fromBytes(std::span<const uint8_t, kSize> bytes) noexcept {
    FixedFileInfo f;
    uint32_t* fields[] = {&f.signature,        &f.strucVersion,     &f.fileVersionMS, &f.fileVersionLS,
                          &f.productVersionMS, &f.productVersionLS, &f.fileFlagsMask, &f.fileFlags,
                          &f.fileOS,           &f.fileType,         &f.fileSubtype,   &f.fileDateMS,
                          &f.fileDateLS};
    for (std::size_t i = 0; i < 13; ++i)
        *fields[i] = read32(bytes, 4 * i);
    return f;
}

std::array<uint8_t, FixedFileInfo::kSize> FixedFileInfo::toBytes() const noexcept {
    const uint32_t fields[] = {signature,        strucVersion,     fileVersionMS, fileVersionLS,
                               productVersionMS, productVersionLS, fileFlagsMask, fileFlags,
                               fileOS,           fileType,         fileSubtype,   fileDateMS,
                               fileDateLS};
    std::array<uint8_t, kSize> out{};
    for (std::size_t i = 0; i < 13; ++i) {
        for (std::size_t k = 0; k < 4; ++k)
            out[4 * i + k] = static_cast<uint8_t>(fields[i] >> (8 * k));
    }
    return out;
}

std::vector<uint8_t> buildVersionRecord(const VersionRecordSpec& spec) {
    Writer w;
    const std::size_t root = w.begin(u"VS_VERSION_INFO", FixedFileInfo::kSize, false);
    w.bytes(spec.fixed.toBytes());
    if (!spec.tables.empty()) {
        const std::size_t sfi = w.begin(u"StringFileInfo", 0, true);
        for (const StringTable& table : spec.tables) {
            const std::size_t st = w.begin(hex8(table.language, table.codePage), 0, true);
            for (const auto& [key, value] : table.strings) {
                const std::u16string text = toUtf16(value);
                const std::size_t s = w.begin(toUtf16(key), static_cast<uint16_t>(text.size() + 1), true);
                for (char16_t c : text)
                    w.put16(c);
                w.put16(0);
                w.end(s);
            }
            w.end(st);
        }
        w.end(sfi);
    }
    if (!spec.translations.empty()) {
        const std::size_t vfi = w.begin(u"VarFileInfo", 0, true);
        const std::size_t var =
            w.begin(u"Translation", static_cast<uint16_t>(4 * spec.translations.size()), false);
        for (const auto& [language, codePage] : spec.translations) {
            w.put16(language);
            w.put16(codePage);
        }
        w.end(var);
        w.end(vfi);
    }
    w.end(root);
    return w.take();
}

bool isValidVersionRecord(std::span<const uint8_t> block) noexcept {
    const auto root = nodeAt(block, 0, block.size());
    if (!root || !keyEquals(block, *root, "VS_VERSION_INFO") || root->text) return false;
    if (root->valueLength != 0) {
        if (root->valueLength != FixedFileInfo::kSize ||
            read32(block, root->valueStart) != FixedFileInfo::kSignature)
            return false;
    }
    return validTree(block, *root, 0);
}

std::optional<QueryResult> VerQueryValue(std::span<const uint8_t> block, std::string_view subBlock) noexcept {
    auto node = nodeAt(block, 0, block.size());
    if (!node) return std::nullopt;
    std::size_t pos = 0;
    while (node && pos < subBlock.size()) {
        while (pos < subBlock.size() && subBlock[pos] == '\\')
            ++pos;
        if (pos == subBlock.size()) break;
        const std::size_t next = std::min(subBlock.find('\\', pos), subBlock.size());
        node = findChild(block, *node, subBlock.substr(pos, next - pos));
        pos = next;
    }
    if (!node) return std::nullopt;
    return QueryResult{block.subspan(node->valueStart, node->valueEnd - node->valueStart), node->valueLength,
                       node->text};
}

std::optional<std::string> VerQueryString(std::span<const uint8_t> block, std::string_view subBlock) {
    const auto result = VerQueryValue(block, subBlock);
    if (!result || result->length == 0) return std::nullopt;
    std::u32string text;
    const auto& v = result->value;
    for (std::size_t i = 0; i + 2 <= v.size(); i += 2) {
        char32_t c = read16(v, i);
        if (c == 0) break;
        if (c >= 0xD800 && c <= 0xDBFF && i + 4 <= v.size()) {
            const char32_t low = read16(v, i + 2);
            if (low >= 0xDC00 && low <= 0xDFFF) {
                c = 0x10000 + ((c - 0xD800) << 10) + (low - 0xDC00);
                i += 2;
            }
        }
        // A half of a pair alone has no UTF-8 form: it shows as the replacement character.
        if (c >= 0xD800 && c <= 0xDFFF) c = 0xFFFD;
        text.push_back(c);
    }
    return runtime::toUtf8(text);
}

std::string VerLanguageName(uint16_t languageId) {
    struct Entry {
        uint16_t id;
        const char* name;
    };
    static constexpr Entry kNames[] = {
        {0x0000, "Language Neutral"},
        {0x0404, "Chinese (Traditional)"},
        {0x0405, "Czech"},
        {0x0406, "Danish"},
        {0x0407, "German (Germany)"},
        {0x0408, "Greek"},
        {0x0409, "English (United States)"},
        {0x040A, "Spanish (Traditional Sort)"},
        {0x040B, "Finnish"},
        {0x040C, "French (France)"},
        {0x040E, "Hungarian"},
        {0x0410, "Italian (Italy)"},
        {0x0411, "Japanese"},
        {0x0412, "Korean"},
        {0x0413, "Dutch (Netherlands)"},
        {0x0414, "Norwegian (Bokmal)"},
        {0x0415, "Polish"},
        {0x0416, "Portuguese (Brazil)"},
        {0x0419, "Russian"},
        {0x041D, "Swedish"},
        {0x041F, "Turkish"},
        {0x0804, "Chinese (Simplified)"},
        {0x0807, "German (Switzerland)"},
        {0x0809, "English (United Kingdom)"},
        {0x080A, "Spanish (Mexico)"},
        {0x0816, "Portuguese (Portugal)"},
        {0x0C07, "German (Austria)"},
        {0x0C09, "English (Australia)"},
        {0x0C0A, "Spanish (International Sort)"},
        {0x1009, "English (Canada)"},
    };
    for (const Entry& e : kNames) {
        if (e.id == languageId) return e.name;
    }
    return "Unknown language";
}

} // namespace version
