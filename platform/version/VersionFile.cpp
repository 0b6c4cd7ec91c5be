// Finding the version record in an ELF file, with every offset and size checked against the file.
#include "platform/version/VersionFile.h"

#include <bit>
#include <cstring>
#include <elf.h>
#include <filesystem>
#include <fstream>

#include "platform/version/VersionRecord.h"

namespace version {

namespace {

constexpr uint64_t kMaxSection = 65536;     // a record's length is a 16-bit field
constexpr uint64_t kMaxNameTable = 1 << 20; // section names of any sane binary fit

class FileReader {
public:
    explicit FileReader(const std::string& path) : in_(path, std::ios::binary) {
        if (in_) {
            in_.seekg(0, std::ios::end);
            size_ = static_cast<uint64_t>(in_.tellg());
        }
    }
    bool ok() const { return static_cast<bool>(in_); }
    // Reads n bytes at offset, only when they lie inside the file.
    bool read(uint64_t offset, uint64_t n, void* out) {
        if (offset > size_ || n > size_ - offset) return false;
        in_.clear();
        in_.seekg(static_cast<std::streamoff>(offset));
        in_.read(static_cast<char*>(out), static_cast<std::streamsize>(n));
        return static_cast<uint64_t>(in_.gcount()) == n;
    }

private:
    std::ifstream in_;
    uint64_t size_ = 0;
};

struct SectionHeader {
    uint32_t name = 0, type = 0;
    uint64_t offset = 0, size = 0;
};

template <class Ehdr, class Shdr>
std::optional<std::vector<uint8_t>> findSection(FileReader& file, std::string_view wanted) {
    Ehdr eh{};
    if (!file.read(0, sizeof eh, &eh) || eh.e_shentsize != sizeof(Shdr) || eh.e_shnum == 0 ||
        eh.e_shstrndx >= eh.e_shnum)
        return std::nullopt;
    std::vector<SectionHeader> sections(eh.e_shnum);
    for (std::size_t i = 0; i < sections.size(); ++i) {
        Shdr sh{};
        if (!file.read(eh.e_shoff + i * sizeof(Shdr), sizeof sh, &sh)) return std::nullopt;
        sections[i] = {sh.sh_name, sh.sh_type, sh.sh_offset, sh.sh_size};
    }
    const SectionHeader& names = sections[eh.e_shstrndx];
    if (names.size == 0 || names.size > kMaxNameTable) return std::nullopt;
    std::vector<char> table(names.size);
    if (!file.read(names.offset, names.size, table.data())) return std::nullopt;
    table.back() = '\0';
    for (const SectionHeader& s : sections) {
        if (s.name >= table.size() || wanted != std::string_view(table.data() + s.name)) continue;
        if (s.type == SHT_NOBITS || s.size == 0) return std::nullopt;
        std::vector<uint8_t> bytes(std::min<uint64_t>(s.size, kMaxSection));
        if (!file.read(s.offset, bytes.size(), bytes.data())) return std::nullopt;
        return bytes;
    }
    return std::nullopt;
}

std::optional<std::vector<uint8_t>> versionRecord(const std::string& path) {
    auto section = readElfSection(path, kVersionSectionName);
    if (!section || section->size() < 2) return std::nullopt;
    const std::size_t length = (*section)[0] | ((*section)[1] << 8);
    if (length > section->size()) return std::nullopt; // truncated
    section->resize(length);
    if (!isValidVersionRecord(*section)) return std::nullopt;
    return section;
}

} // namespace

std::optional<std::vector<uint8_t>> readElfSection(const std::string& path, std::string_view sectionName) {
    FileReader file(path);
    unsigned char ident[EI_NIDENT] = {};
    if (!file.ok() || !file.read(0, sizeof ident, ident) || std::memcmp(ident, ELFMAG, SELFMAG) != 0 ||
        ident[EI_DATA] != ELFDATA2LSB)
        return std::nullopt;
    static_assert(std::endian::native == std::endian::little, "ELF headers are read in place");
    if (ident[EI_CLASS] == ELFCLASS64) return findSection<Elf64_Ehdr, Elf64_Shdr>(file, sectionName);
    if (ident[EI_CLASS] == ELFCLASS32) return findSection<Elf32_Ehdr, Elf32_Shdr>(file, sectionName);
    return std::nullopt;
}

uint32_t GetFileVersionInfoSize(const std::string& path) {
    const auto record = versionRecord(path);
    return record ? static_cast<uint32_t>(record->size()) : 0;
}

std::optional<std::vector<uint8_t>> GetFileVersionInfo(const std::string& path) {
    return versionRecord(path);
}

std::optional<std::string> GetFullPathName(std::string_view name) {
    if (name.empty()) return std::nullopt;
    std::error_code ec;
    const auto full = std::filesystem::absolute(std::filesystem::path(name), ec);
    if (ec) return std::nullopt;
    return full.lexically_normal().string();
}

const char* programVersion() noexcept {
    return NERIX_PROJECT_VERSION;
}

} // namespace version
