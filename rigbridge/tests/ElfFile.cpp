// A 64-bit ELF reader just large enough to list dynamic symbols and needed libraries.
#include "rigbridge/tests/ElfFile.h"

#include <elf.h>

#include <cstring>
#include <fstream>
#include <iterator>
#include <stdexcept>

namespace elffile {
namespace {

struct Image {
    std::vector<char> bytes;

    explicit Image(const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        bytes.assign(std::istreambuf_iterator<char>(in), {});
        if (bytes.size() < sizeof(Elf64_Ehdr) || std::memcmp(bytes.data(), ELFMAG, SELFMAG) != 0 ||
            bytes[EI_CLASS] != ELFCLASS64)
            throw std::runtime_error("not a 64-bit ELF file: " + path);
    }
    template <class T> T at(size_t offset) const {
        if (offset + sizeof(T) > bytes.size()) throw std::runtime_error("ELF file cut short");
        T value;
        std::memcpy(&value, bytes.data() + offset, sizeof(T));
        return value;
    }
    std::vector<Elf64_Shdr> sections() const {
        const auto header = at<Elf64_Ehdr>(0);
        std::vector<Elf64_Shdr> result;
        for (size_t i = 0; i < header.e_shnum; ++i)
            result.push_back(at<Elf64_Shdr>(header.e_shoff + i * header.e_shentsize));
        return result;
    }
    std::string text(const Elf64_Shdr& strings, size_t offset) const {
        std::string s;
        for (size_t i = strings.sh_offset + offset; i < bytes.size() && bytes[i] != '\0'; ++i)
            s += bytes[i];
        return s;
    }
};

} // namespace

std::vector<std::string> exportedSymbols(const std::string& path) {
    const Image image(path);
    const auto sections = image.sections();
    std::vector<std::string> names;
    for (const auto& section : sections) {
        if (section.sh_type != SHT_DYNSYM) continue;
        const auto& strings = sections.at(section.sh_link);
        for (size_t i = 1; i < section.sh_size / sizeof(Elf64_Sym); ++i) {
            const auto symbol = image.at<Elf64_Sym>(section.sh_offset + i * sizeof(Elf64_Sym));
            const auto binding = ELF64_ST_BIND(symbol.st_info);
            if (symbol.st_shndx == SHN_UNDEF || (binding != STB_GLOBAL && binding != STB_WEAK)) continue;
            names.push_back(image.text(strings, symbol.st_name));
        }
    }
    return names;
}

std::vector<std::string> neededLibraries(const std::string& path) {
    const Image image(path);
    const auto sections = image.sections();
    std::vector<std::string> names;
    for (const auto& section : sections) {
        if (section.sh_type != SHT_DYNAMIC) continue;
        const auto& strings = sections.at(section.sh_link);
        for (size_t i = 0; i < section.sh_size / sizeof(Elf64_Dyn); ++i) {
            const auto entry = image.at<Elf64_Dyn>(section.sh_offset + i * sizeof(Elf64_Dyn));
            if (entry.d_tag == DT_NULL) break;
            if (entry.d_tag == DT_NEEDED) names.push_back(image.text(strings, entry.d_un.d_val));
        }
    }
    return names;
}

} // namespace elffile
