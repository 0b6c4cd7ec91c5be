// Test helper: writes a minimal 64-bit little-endian ELF file with one named section, so that the
// version reader can be tried on any record, whole or broken.
#pragma once

#include <cstdint>
#include <cstring>
#include <elf.h>
#include <fstream>
#include <span>
#include <string>
#include <vector>

namespace version::testing {

inline void writeElfWithSection(const std::string& path, const std::string& sectionName,
                                std::span<const uint8_t> content) {
    const std::string names = std::string("\0", 1) + sectionName + std::string("\0.shstrtab\0", 11);
    const uint64_t contentOffset = sizeof(Elf64_Ehdr);
    const uint64_t namesOffset = contentOffset + content.size();
    const uint64_t headersOffset = (namesOffset + names.size() + 7) & ~uint64_t{7};

    Elf64_Ehdr eh{};
    std::memcpy(eh.e_ident, ELFMAG, SELFMAG);
    eh.e_ident[EI_CLASS] = ELFCLASS64;
    eh.e_ident[EI_DATA] = ELFDATA2LSB;
    eh.e_ident[EI_VERSION] = EV_CURRENT;
    eh.e_type = ET_DYN;
    eh.e_machine = EM_X86_64;
    eh.e_version = EV_CURRENT;
    eh.e_ehsize = sizeof(Elf64_Ehdr);
    eh.e_shoff = headersOffset;
    eh.e_shentsize = sizeof(Elf64_Shdr);
    eh.e_shnum = 3;
    eh.e_shstrndx = 2;

    Elf64_Shdr sh[3]{};
    sh[1].sh_name = 1;
    sh[1].sh_type = SHT_PROGBITS;
    sh[1].sh_flags = SHF_ALLOC;
    sh[1].sh_offset = contentOffset;
    sh[1].sh_size = content.size();
    sh[1].sh_addralign = 4;
    sh[2].sh_name = static_cast<uint32_t>(2 + sectionName.size());
    sh[2].sh_type = SHT_STRTAB;
    sh[2].sh_offset = namesOffset;
    sh[2].sh_size = names.size();
    sh[2].sh_addralign = 1;

    std::vector<char> file(headersOffset + sizeof sh, 0);
    std::memcpy(file.data(), &eh, sizeof eh);
    if (!content.empty()) std::memcpy(file.data() + contentOffset, content.data(), content.size());
    std::memcpy(file.data() + namesOffset, names.data(), names.size());
    std::memcpy(file.data() + headersOffset, sh, sizeof sh);
    std::ofstream(path, std::ios::binary | std::ios::trunc)
        .write(file.data(), static_cast<std::streamsize>(file.size()));
}

} // namespace version::testing
