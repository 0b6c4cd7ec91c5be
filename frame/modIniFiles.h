// Single keys of INI files (band plans, themes, the DRM decoder's settings file) through the
// private-profile service; each call reads or writes the file itself, nothing is cached here.
#pragma once

#include <cstdint>
#include <string>

namespace modIniFiles {

// Writes key=value into the section of the file, creating file, section and key as needed. Returns
// whether it was written: a refused write (a line break in the value, "=" in the key, "]" in the section,
// a read-only file) is reported here and in a trace line rather than passing as success.
bool ProfileSaveItem(const std::string& section, const std::string& key, const std::string& value,
                     const std::string& file);

// The key's value (at most 2047 characters), or the default when the section or key is missing; with a
// field number above 0, only that comma-separated field of it (counted from 1, not trimmed); empty text
// for a missing field or a negative field number.
std::string ProfileGetItem(const std::string& section, const std::string& key,
                           const std::string& defaultValue, const std::string& file, int32_t fieldNumber);

} // namespace modIniFiles
