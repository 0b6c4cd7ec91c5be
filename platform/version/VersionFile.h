// The version record of a file on disk: our binaries carry it in the ELF section "nerix_version" (put
// there by nerix_add_version_record). Any file, of any content, is answered without a crash: a file
// without a whole, well-formed record has none.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace version {

inline constexpr const char* kVersionSectionName = "nerix_version";

// The bytes of a named section of an ELF file (32- or 64-bit, little-endian), at most 64 KiB;
// nullopt when the file is not such a file or has no such section.
std::optional<std::vector<uint8_t>> readElfSection(const std::string& path, std::string_view sectionName);

// The size of the file's version record, 0 when it has none (or a corrupt one).
uint32_t GetFileVersionInfoSize(const std::string& path);
// The file's version record, exactly as many bytes as its length field says; nullopt when it has none.
std::optional<std::vector<uint8_t>> GetFileVersionInfo(const std::string& path);

// The name resolved against the current folder, "." and ".." taken out; nullopt for an empty name.
std::optional<std::string> GetFullPathName(std::string_view name);

// The version of this program, from the project version of the build ("0.1.0").
const char* programVersion() noexcept;

} // namespace version
