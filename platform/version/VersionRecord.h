// Version records in the Windows version-resource layout (VS_VERSIONINFO): building one, and bounds-checked
// queries on one, by the sub-block paths of the Windows version API ("\", "\VarFileInfo\Translation",
// "\StringFileInfo\040904B0\FileVersion").
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace version {

// The fixed part, VS_FIXEDFILEINFO: 13 little-endian 32-bit words, 52 bytes.
struct FixedFileInfo {
    static constexpr uint32_t kSignature = 0xFEEF04BD;
    static constexpr std::size_t kSize = 52;

    uint32_t signature = kSignature;
    uint32_t strucVersion = 0x00010000;
    uint32_t fileVersionMS = 0, fileVersionLS = 0;
    uint32_t productVersionMS = 0, productVersionLS = 0;
    uint32_t fileFlagsMask = 0x3F;
    uint32_t fileFlags = 0;
    uint32_t fileOS = 0x40004; // VOS_NT_WINDOWS32, the value Windows tools write
    uint32_t fileType = 1;     // 1 application, 2 DLL
    uint32_t fileSubtype = 0;
    uint32_t fileDateMS = 0, fileDateLS = 0;

    static FixedFileInfo fromBytes(std::span<const uint8_t, kSize> bytes) noexcept;
    std::array<uint8_t, kSize> toBytes() const noexcept;
};

// Four 16-bit parts (4.5.2.2) as the two words of the fixed part.
constexpr std::pair<uint32_t, uint32_t> versionWords(uint16_t a, uint16_t b, uint16_t c,
                                                     uint16_t d) noexcept {
    return {(uint32_t{a} << 16) | b, (uint32_t{c} << 16) | d};
}

struct StringTable {
    uint16_t language = 0x0409;
    uint16_t codePage = 0x04B0;
    std::vector<std::pair<std::string, std::string>> strings; // key, value (UTF-8)
};

struct VersionRecordSpec {
    FixedFileInfo fixed;
    std::vector<std::pair<uint16_t, uint16_t>> translations; // language, code page
    std::vector<StringTable> tables;
};

// The record's bytes, as a resource compiler lays them out (UTF-16 keys and strings, 32-bit alignment).
std::vector<uint8_t> buildVersionRecord(const VersionRecordSpec& spec);

// True when the block is a whole, well-formed record: every node inside its parent, keys terminated,
// the root key VS_VERSION_INFO and, when there is a fixed part, its signature.
bool isValidVersionRecord(std::span<const uint8_t> block) noexcept;

struct QueryResult {
    std::span<const uint8_t> value; // the value's bytes
    uint16_t length = 0;            // the length field as stored: bytes, or characters for a text value
    bool text = false;              // a NUL-terminated UTF-16 string
};

// The value at the sub-block path (names compared without regard to letter case), or nullopt.
std::optional<QueryResult> VerQueryValue(std::span<const uint8_t> block, std::string_view subBlock) noexcept;
// A text value as UTF-8 up to its terminating NUL; nullopt when missing or of length 0.
std::optional<std::string> VerQueryString(std::span<const uint8_t> block, std::string_view subBlock);

// The name of a Windows language id, "Language Neutral" for 0 and "Unknown language" for ids not in the
// table.
std::string VerLanguageName(uint16_t languageId);

} // namespace version
