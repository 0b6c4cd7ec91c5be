// The private-profile INI service: single keys read and written in INI files named by path, and batches
// that commit many writes to one file as one atomic replace. No cache: each single call reads the file.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "platform/profile/IniDocument.h"

namespace profile {

// Characters a read returns at most (a 2048-character buffer less its terminator).
inline constexpr std::size_t kProfileReadCap = 2047;

enum class ProfileStatus {
    Ok,
    BadSection, // empty, or holds CR, LF, NUL or "]"
    BadKey,     // empty, starts with "[", or holds CR, LF, NUL or "="
    BadValue,   // holds CR, LF or NUL
    ReadOnly,   // the file (or its folder) may not be written
    IoError,    // the file could not be read or replaced
};

// A short English text for a trace line.
const char* describe(ProfileStatus status) noexcept;

// Whether section, key and value can be written without creating other keys or sections.
ProfileStatus checkEntry(std::string_view section, std::string_view key, std::string_view value) noexcept;

// The key's value, or defaultValue when the file, the section or the key is missing; cut to maxChars
// characters.
std::string GetPrivateProfileString(std::string_view section, std::string_view key,
                                    std::string_view defaultValue, const std::string& file,
                                    std::size_t maxChars = kProfileReadCap);

// The key's value as a whole number (rounded half to even), or defaultValue when it is missing or not a
// number. Numbers are read with "." as the separator whatever the locale.
int32_t GetPrivateProfileInt(std::string_view section, std::string_view key, int32_t defaultValue,
                             const std::string& file);

// Writes key=value into the section, creating the file, the section and the key as needed; the file is
// replaced atomically and every line the write does not touch stays byte for byte.
ProfileStatus WritePrivateProfileString(std::string_view section, std::string_view key,
                                        std::string_view value, const std::string& file);

// Many writes to one file committed as one atomic replace. The file is read once, when the batch is made;
// reads through the batch see its pending writes.
class ProfileBatch {
public:
    explicit ProfileBatch(std::string file);

    std::string read(std::string_view section, std::string_view key, std::string_view defaultValue,
                     std::size_t maxChars = kProfileReadCap) const;
    // Checks and keeps the write in memory.
    ProfileStatus write(std::string_view section, std::string_view key, std::string_view value);
    // Replaces the file when anything was written; Ok when nothing was. A file that existed but was
    // refused or could not be read is never replaced.
    ProfileStatus commit();
    // False when the writes leave the file as it was read (a commit would rewrite the same bytes).
    bool changesFile() const;

    const std::string& file() const noexcept { return file_; }
    bool pending() const noexcept { return dirty_; }

private:
    std::string file_;
    IniDocument doc_;
    bool read_ = false; // the file was there and read
    bool unreadable_ = false;
    bool dirty_ = false;
    std::optional<std::string> original_; // the file as read, as the document writes it
};

// The first maxChars characters of UTF-8 text.
std::string cutToChars(std::string_view utf8, std::size_t maxChars);

} // namespace profile
