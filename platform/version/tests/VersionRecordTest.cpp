// Version records: built and queried by the Windows sub-block paths, found in ELF files, and every
// broken or missing record reported as none.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <tuple>

#include "platform/profile/testing/TempFolder.h"
#include "platform/version/VersionFile.h"
#include "platform/version/VersionRecord.h"
#include "platform/version/testing/ElfFixture.h"

using namespace version;
using profile::testing::TempFolder;
using version::testing::writeElfWithSection;

namespace {

VersionRecordSpec sampleSpec() {
    VersionRecordSpec spec;
    std::tie(spec.fixed.fileVersionMS, spec.fixed.fileVersionLS) = versionWords(4, 5, 2, 2);
    spec.fixed.fileType = 2;
    spec.translations = {{0x0409, 0x04B0}};
    spec.tables = {
        {0x0409, 0x04B0, {{"CompanyName", "Nerix"}, {"FileVersion", "4, 5, 2, 2"}, {"Empty", ""}}}};
    return spec;
}

// Reads a little-endian 16-bit field the way the library probe does.
int16_t field16(const std::vector<uint8_t>& b, std::size_t at) {
    return static_cast<int16_t>(b[at] | (b[at + 1] << 8));
}

} // namespace

TEST(VersionRecord, LayoutIsTheWindowsOne) {
    const auto record = buildVersionRecord(sampleSpec());
    ASSERT_GE(record.size(), 92u);
    EXPECT_EQ(static_cast<std::size_t>(field16(record, 0)), record.size()); // wLength
    EXPECT_EQ(field16(record, 2), 52); // value length: a fixed part follows
    EXPECT_EQ(field16(record, 4), 0);  // binary
    // "VS_VERSION_INFO" in UTF-16 at 6, NUL, padding to 40, then the signature.
    EXPECT_EQ(record[6], 'V');
    EXPECT_EQ(record[8], 'S');
    EXPECT_EQ(record[40] | (record[41] << 8) | (record[42] << 16) | (uint32_t{record[43]} << 24),
              0xFEEF04BDu);
    EXPECT_TRUE(isValidVersionRecord(record));
}

TEST(VersionRecord, QueriesBySubBlockPath) {
    const auto record = buildVersionRecord(sampleSpec());
    const auto fixed = VerQueryValue(record, "\\");
    ASSERT_TRUE(fixed);
    ASSERT_EQ(fixed->value.size(), FixedFileInfo::kSize);
    const auto f = FixedFileInfo::fromBytes(fixed->value.first<FixedFileInfo::kSize>());
    EXPECT_EQ(f.fileVersionMS, 0x00040005u);
    EXPECT_EQ(f.fileVersionLS, 0x00020002u);
    EXPECT_EQ(f.fileType, 2u);

    const auto translation = VerQueryValue(record, "\\VarFileInfo\\Translation");
    ASSERT_TRUE(translation);
    ASSERT_EQ(translation->length, 4);
    EXPECT_EQ(translation->value[0] | (translation->value[1] << 8), 0x0409);
    EXPECT_EQ(translation->value[2] | (translation->value[3] << 8), 0x04B0);

    EXPECT_EQ(VerQueryString(record, "\\StringFileInfo\\040904B0\\FileVersion"), "4, 5, 2, 2");
    EXPECT_EQ(VerQueryString(record, "\\stringfileinfo\\040904b0\\companyname"), "Nerix");
    EXPECT_EQ(VerQueryString(record, "\\StringFileInfo\\040904B0\\Missing"), std::nullopt);
    EXPECT_EQ(VerQueryString(record, "\\StringFileInfo\\040704B0\\CompanyName"), std::nullopt);
    EXPECT_EQ(VerQueryString(record, "\\StringFileInfo\\040904B0\\Empty"), ""); // length 1: the NUL alone
}

TEST(VersionRecord, NonAsciiStringsRoundTrip) {
    VersionRecordSpec spec = sampleSpec();
    spec.tables[0].strings = {{"LegalCopyright", "\xC2\xA9 M\xC3\xBCller \xF0\x9F\x93\xBB"}};
    const auto record = buildVersionRecord(spec);
    EXPECT_EQ(VerQueryString(record, "\\StringFileInfo\\040904B0\\LegalCopyright"),
              "\xC2\xA9 M\xC3\xBCller \xF0\x9F\x93\xBB");
}

// A value with half a UTF-16 pair alone (a damaged or foreign record) reads as UTF-8, that half shown as
// the replacement character.
TEST(VersionRecord, UnpairedSurrogatesReadAsTheReplacementCharacter) {
    VersionRecordSpec spec = sampleSpec();
    spec.tables[0].strings = {{"Comments", "aXbY"}};
    auto record = buildVersionRecord(spec);
    const auto patch = [&record](char from, uint16_t to) {
        const uint8_t unit[] = {static_cast<uint8_t>(from), 0};
        const auto at = std::search(record.begin(), record.end(), std::begin(unit), std::end(unit));
        ASSERT_NE(at, record.end());
        at[0] = static_cast<uint8_t>(to & 0xFF);
        at[1] = static_cast<uint8_t>(to >> 8);
    };
    patch('X', 0xD83D); // a high half followed by no low half
    patch('Y', 0xDC3B); // a low half alone
    EXPECT_EQ(VerQueryString(record, "\\StringFileInfo\\040904B0\\Comments"), "a\xEF\xBF\xBD"
                                                                              "b\xEF\xBF\xBD");
}

TEST(VersionRecord, LanguageNames) {
    EXPECT_EQ(VerLanguageName(0x0409), "English (United States)");
    EXPECT_EQ(VerLanguageName(0x0407), "German (Germany)");
    EXPECT_EQ(VerLanguageName(0x0000), "Language Neutral");
    EXPECT_EQ(VerLanguageName(0x7FFF), "Unknown language");
}

TEST(VersionFile, OwnLibraryCarriesItsRecord) {
    const auto record = GetFileVersionInfo(VERSION_FIXTURE_PATH);
    ASSERT_TRUE(record);
    EXPECT_EQ(GetFileVersionInfoSize(VERSION_FIXTURE_PATH), record->size());
    EXPECT_GT(field16(*record, 2), 0); // what the library probe looks at
    EXPECT_EQ(VerQueryString(*record, "\\StringFileInfo\\040904B0\\FileVersion"), "4, 5, 2, 2");
}

TEST(VersionFile, ProgramVersionIsTheProjectVersion) {
    EXPECT_STREQ(programVersion(), NERIX_PROJECT_VERSION);
}

namespace {

struct BrokenCase {
    const char* name;
    std::vector<uint8_t> (*section)(); // nullptr: a file that is no ELF file at all
};

// Names the case in test output instead of dumping its bytes.
void PrintTo(const BrokenCase& c, std::ostream* os) {
    *os << c.name;
}

std::vector<uint8_t> whole() {
    return buildVersionRecord(sampleSpec());
}
std::vector<uint8_t> truncated() {
    auto r = whole();
    r.resize(r.size() / 2);
    return r;
}
std::vector<uint8_t> badSignature() {
    auto r = whole();
    r[40] ^= 0xFF;
    return r;
}
std::vector<uint8_t> childOverrunsParent() {
    auto r = whole();
    r[92] = 0xFF; // StringFileInfo's length
    r[93] = 0x7F;
    return r;
}
std::vector<uint8_t> unterminatedKey() {
    std::vector<uint8_t> r(38, 'A');
    r[0] = 38;
    r[1] = 0;
    r[2] = r[3] = r[4] = r[5] = 0;
    return r;
}
std::vector<uint8_t> wrongRootKey() {
    auto r = whole();
    r[6] = 'X';
    return r;
}
std::vector<uint8_t> randomBytes() {
    std::mt19937 rng(20240611);
    std::vector<uint8_t> r(600);
    for (auto& b : r)
        b = static_cast<uint8_t>(rng());
    return r;
}
std::vector<uint8_t> empty() {
    return {};
}

class BrokenRecord : public ::testing::TestWithParam<BrokenCase> {};

} // namespace

TEST_P(BrokenRecord, IsReportedAsNone) {
    TempFolder dir;
    const std::string file = dir.file("lib.so");
    const auto& c = GetParam();
    writeElfWithSection(file, kVersionSectionName, c.section());
    EXPECT_EQ(GetFileVersionInfoSize(file), 0u);
    EXPECT_FALSE(GetFileVersionInfo(file));
}

INSTANTIATE_TEST_SUITE_P(Records, BrokenRecord,
                         ::testing::Values(BrokenCase{"Truncated", truncated},
                                           BrokenCase{"BadSignature", badSignature},
                                           BrokenCase{"ChildOverrunsParent", childOverrunsParent},
                                           BrokenCase{"UnterminatedKey", unterminatedKey},
                                           BrokenCase{"WrongRootKey", wrongRootKey},
                                           BrokenCase{"RandomBytes", randomBytes},
                                           BrokenCase{"Empty", empty}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(VersionFile, WholeRecordInAnElfFileIsFound) {
    TempFolder dir;
    const std::string file = dir.file("lib.so");
    writeElfWithSection(file, kVersionSectionName, whole());
    EXPECT_EQ(GetFileVersionInfo(file), whole());
}

TEST(VersionFile, FilesWithoutARecord) {
    TempFolder dir;
    std::mt19937 rng(7);
    std::string noise(5000, '\0');
    for (auto& b : noise)
        b = static_cast<char>(rng());
    const std::string elfNoise = std::string("\x7F"
                                             "ELF\x02\x01\x01",
                                             7) +
                                 noise;
    const std::string otherSection = dir.file("other.so");
    writeElfWithSection(otherSection, ".text", whole());
    for (const std::string& file :
         {dir.write("random.bin", noise), dir.write("elf-header-then-noise.so", elfNoise),
          dir.write("empty", ""), dir.write("text.txt", "hello"), otherSection, dir.file("does-not-exist"),
          dir.path(), std::string("/proc/self/exe")}) {
        EXPECT_EQ(GetFileVersionInfoSize(file), 0u) << file;
    }
}

TEST(VersionFile, FullPathNames) {
    EXPECT_EQ(GetFullPathName(""), std::nullopt);
    EXPECT_EQ(GetFullPathName("/a/b/../c/./d"), "/a/c/d");
    const auto relative = GetFullPathName("x.so");
    ASSERT_TRUE(relative);
    EXPECT_EQ(*relative, (std::filesystem::current_path() / "x.so").string());
    const std::string longName = "/" + std::string(400, 'n');
    EXPECT_EQ(GetFullPathName(longName), longName); // no 260-character limit
}
