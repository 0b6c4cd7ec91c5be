// Many key lookups in one INI file from a single read of it (the band plan store's reader).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

class clsINIFile {
public:
    // Reads and indexes the file, replacing what the object held. A missing file raises File not found
    // (53), one that cannot be read Permission denied (70) or Path/File access error (75); the object is
    // then empty and every lookup gives its default.
    void init(const std::string& IniFilename);

    // The value after the first line of the section that begins with the key (letter case ignored),
    // optional blanks and "=", leading blanks removed; DefaultValue when there is none.
    std::string GetItem(std::string_view Section, std::string_view Key, std::string_view DefaultValue) const;
    std::string LoadItem(std::string_view Section, std::string_view Key,
                         std::string_view DefaultValue) const {
        return GetItem(Section, Key, DefaultValue);
    }

    // The lines of the file (UTF-8); header lines trimmed of blanks.
    const std::vector<std::string>& Lines() const noexcept { return lines_; }
    int32_t LastLineIndex() const noexcept { return lastLineIndex_; }
    int32_t SectionCount() const noexcept { return sectionCount_; }

private:
    std::vector<std::string> lines_;
    std::vector<std::u32string> folded_; // each line in folded letter case, for the comparisons
    std::vector<int32_t> sectionLines_;  // header line indexes, then one past the last line
    int32_t lastLineIndex_ = -1;
    int32_t sectionCount_ = 0;
};
