// Seeded damage to files with a version record through the version reader's fuzz target, under the
// sanitizers: the ELF headers, the section table and the record's own lengths.
#include "frame/fuzz/VersionFuzzTarget.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "platform/profile/testing/TempFolder.h"
#include "platform/version/VersionFile.h"

namespace {

std::string fixture(const char* name) {
    return profile::testing::TempFolder::readFile(std::string(VERSION_FIXTURES) + "/" + name);
}

void readVersion(const std::string& bytes) {
    version::fuzz::readVersion(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
}

} // namespace

// Inputs the fuzzer once failed on, kept as fixtures: a record whose text holds half a UTF-16 pair alone.
TEST(VersionFuzzReplay, InputsTheFuzzerFoundKeepTheInvariants) {
    readVersion(fixture("unpaired-surrogate.record"));
}

TEST(VersionFuzzReplay, DamagedFilesAreAnsweredAndNeverReadOutsideTheRecord) {
    const std::vector<std::string> seeds{fixture("english.elf"), fixture("german.elf")};
    for (const char* name : {"english.elf", "german.elf"})
        ASSERT_GT(version::GetFileVersionInfoSize(std::string(VERSION_FIXTURES) + "/" + name), 0u) << name;
    std::mt19937 rng(20261211);
    for (int run = 0; run < 800; ++run) {
        std::string f = seeds[rng() % seeds.size()];
        const int edits = 1 + int(rng() % 6);
        for (int e = 0; e < edits && !f.empty(); ++e) {
            switch (rng() % 4) {
            case 0: // a byte of the ELF header, or anywhere
                f[rng() % (rng() % 2 ? std::min<std::size_t>(64, f.size()) : f.size())] = char(rng());
                break;
            case 1: // cut short
                f.resize(rng() % (f.size() + 1));
                break;
            case 2: { // a 16-bit length or count set to an extreme
                const uint16_t v = std::vector<uint16_t>{0, 1, 2, 6, 0x7fff, 0xffff}[rng() % 6];
                const std::size_t at = (rng() % f.size()) & ~std::size_t{1};
                if (at + 1 < f.size()) f[at] = char(v & 0xFF), f[at + 1] = char(v >> 8);
                break;
            }
            default: // a 64-bit offset or size of the section table set to an extreme
                if (f.size() >= 8) {
                    const uint64_t v =
                        std::vector<uint64_t>{0, 1, 0x7fffffffffffffffu, ~uint64_t{0}}[rng() % 4];
                    const std::size_t at = (rng() % (f.size() - 7)) & ~std::size_t{7};
                    for (int i = 0; i < 8; ++i)
                        f[at + std::size_t(i)] = char(v >> (8 * i));
                }
                break;
            }
        }
        readVersion(f);
    }
}
