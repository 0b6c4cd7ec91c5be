// Many key lookups in one INI file from a single read of it (the band plan store's reader).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/profile/IniDocument.h"

class clsINIFile {
public:
    // Reads and indexes the file, replacing what the object held. A missing file raises File not found
    // (53), one that cannot be read Permission denied (70) or Path/File access error (75), the latter with
    // the reason when the INI layer refuses the file (not a regular file, too large, not text); the object
    // is then empty and every lookup gives its default.
    void init(const std::string& IniFilename);

    // The value after "=" of the key's line in the section, leading blanks and tabs removed;
    // DefaultValue when there is none. Sections and key lines are found as the INI layer finds them for
    // a write (profile::IniDocument), so a save replaces the very line this read.
    std::string GetItem(std::string_view Section, std::string_view Key, std::string_view DefaultValue) const;
    std::string LoadItem(std::string_view Section, std::string_view Key,
                         std::string_view DefaultValue) const {
        return GetItem(Section, Key, DefaultValue);
    }

    // The lines of the file (UTF-8), header lines trimmed of blanks; a file ending in a line break ends
    // with an empty line. Made at the first call: the band load never needs them.
    const std::vector<std::string>& Lines() const;
    int32_t LastLineIndex() const noexcept { return lastLineIndex_; }
    int32_t SectionCount() const noexcept { return sectionCount_; }

private:
    profile::IniDocument doc_;
    mutable std::vector<std::string> lines_;
    mutable bool linesMade_ = true;
    int32_t lastLineIndex_ = -1;
    int32_t sectionCount_ = 0;
};
