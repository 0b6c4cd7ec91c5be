// CFileVersionInfo: every step of reading a record, on our own library and on records made for one case.
#include <gtest/gtest.h>

#include <tuple>

#include "frame/CFileVersionInfo.h"
#include "platform/profile/testing/TempFolder.h"
#include "platform/version/VersionFile.h"
#include "platform/version/VersionRecord.h"
#include "platform/version/testing/ElfFixture.h"

using profile::testing::TempFolder;
using namespace version;

namespace {

std::string fileWith(const TempFolder& dir, const VersionRecordSpec& spec, const char* name = "lib.so") {
    const std::string path = dir.file(name);
    version::testing::writeElfWithSection(path, kVersionSectionName, buildVersionRecord(spec));
    return path;
}

VersionRecordSpec withVersion(uint16_t a, uint16_t b, uint16_t c, uint16_t d) {
    VersionRecordSpec spec;
    std::tie(spec.fixed.fileVersionMS, spec.fixed.fileVersionLS) = versionWords(a, b, c, d);
    std::tie(spec.fixed.productVersionMS, spec.fixed.productVersionLS) = versionWords(a, b, c, d);
    return spec;
}

} // namespace

TEST(CFileVersionInfo, NewObjectIsEmpty) {
    CFileVersionInfo info;
    EXPECT_FALSE(info.Available());
    EXPECT_EQ(info.FullPathName(), "");
    EXPECT_EQ(info.FileVersion(), "");
    EXPECT_EQ(info.PredefinedValue(4), "");
}

TEST(CFileVersionInfo, ReadsOurOwnLibraryFieldByField) {
    CFileVersionInfo info;
    info.FullPathName(VERSION_FIXTURE_PATH);
    EXPECT_EQ(info.FullPathName(), VERSION_FIXTURE_PATH);
    ASSERT_TRUE(info.Available());
    EXPECT_EQ(info.VerStructure(), "1.0");
    EXPECT_EQ(info.VerFile(), "4.05.0202");
    EXPECT_EQ(info.VerProduct(), "4.05.0000");
    EXPECT_EQ(info.FileFlags(), "Debug PreRel");
    EXPECT_EQ(info.FileOS(), "NT-Win32");
    EXPECT_EQ(info.FileType(), "DLL");
    EXPECT_EQ(info.FileSubType(), "");
    EXPECT_EQ(info.Language(), "English (United States)");
    EXPECT_EQ(info.Comments(), "read back by the tests");
    EXPECT_EQ(info.CompanyName(), "NerixSDR test fixtures");
    EXPECT_EQ(info.FileDescription(), "Version record fixture");
    EXPECT_EQ(info.FileVersion(), "4, 5, 2, 2");
    EXPECT_EQ(info.InternalName(), "version_fixture");
    EXPECT_EQ(info.LegalCopyright(), "none");
    EXPECT_EQ(info.LegalTrademarks(), "");
    EXPECT_EQ(info.OriginalFilename(), "libversion_fixture.so");
    EXPECT_EQ(info.ProductName(), "NerixSDR");
    EXPECT_EQ(info.ProductVersion(), "4.5");
    EXPECT_EQ(info.PrivateBuild(), "");
    EXPECT_EQ(info.SpecialBuild(), "");
    EXPECT_EQ(info.PredefinedName(13), "LegalTrademarks1");
    EXPECT_EQ(info.PredefinedValue(13), "first mark");
    EXPECT_EQ(info.PredefinedValue(14), "second mark");
}

TEST(CFileVersionInfo, PredefinedNamesAndValues) {
    TempFolder dir;
    VersionRecordSpec spec = withVersion(1, 0, 0, 0);
    spec.translations = {{0x0409, 0x04B0}};
    spec.tables = {{0x0409, 0x04B0, {{"CompanyName", "C"}, {"FileDescription", "D"}, {"SpecialBuild", "S"}}}};
    CFileVersionInfo info;
    info.FullPathName(fileWith(dir, spec));
    const char* names[] = {"Language",          "Comments",         "Company Name",    "File Description",
                           "File Version",      "Internal Name",    "Legal Copyright", "Legal Trademarks",
                           "Original Filename", "Product Name",     "Product Version", "Private Build",
                           "Special Build",     "LegalTrademarks1", "LegalTrademarks2"};
    for (int32_t i = 0; i < 15; ++i)
        EXPECT_EQ(info.PredefinedName(i), names[i]);
    EXPECT_EQ(info.PredefinedName(15), "");
    EXPECT_EQ(info.PredefinedName(-1), "");
    EXPECT_EQ(info.PredefinedValue(0), "English (United States)");
    EXPECT_EQ(info.PredefinedValue(2), "C");
    EXPECT_EQ(info.PredefinedValue(3), "D");
    EXPECT_EQ(info.PredefinedValue(12), "S");
    EXPECT_EQ(info.PredefinedValue(15), "");
}

namespace {

struct FixedCase {
    const char* name;
    uint16_t v[4];
    uint32_t flags, os, type, subtype;
    const char* verFile;
    const char* fileFlags;
    const char* fileOS;
    const char* fileType;
    const char* fileSubType;
};

// Names the case in test output instead of dumping its bytes.
void PrintTo(const FixedCase& c, std::ostream* os) {
    *os << c.name;
}

class CFileVersionInfoFixed : public ::testing::TestWithParam<FixedCase> {};

} // namespace

TEST_P(CFileVersionInfoFixed, FormatsTheFixedPart) {
    const auto& c = GetParam();
    TempFolder dir;
    VersionRecordSpec spec = withVersion(c.v[0], c.v[1], c.v[2], c.v[3]);
    spec.fixed.fileFlags = c.flags;
    spec.fixed.fileFlagsMask = 0; // the flags word is used as it is, without the mask
    spec.fixed.fileOS = c.os;
    spec.fixed.fileType = c.type;
    spec.fixed.fileSubtype = c.subtype;
    CFileVersionInfo info;
    info.FullPathName(fileWith(dir, spec));
    ASSERT_TRUE(info.Available());
    EXPECT_EQ(info.VerFile(), c.verFile);
    EXPECT_EQ(info.VerProduct(), c.verFile);
    EXPECT_EQ(info.FileFlags(), c.fileFlags);
    EXPECT_EQ(info.FileOS(), c.fileOS);
    EXPECT_EQ(info.FileType(), c.fileType);
    EXPECT_EQ(info.FileSubType(), c.fileSubType);
    EXPECT_EQ(info.Language(), ""); // no translation table
    EXPECT_EQ(info.FileVersion(), "");
}

INSTANTIATE_TEST_SUITE_P(
    Records, CFileVersionInfoFixed,
    ::testing::Values(
        FixedCase{"Version4522", {4, 5, 2, 2}, 0, 0x40004, 2, 0, "4.05.0202", "", "NT-Win32", "DLL", ""},
        FixedCase{"LowHalvesJoined",
                  {6, 1, 7600, 16385},
                  0,
                  0x40004,
                  1,
                  0,
                  "6.01.760016385",
                  "",
                  "NT-Win32",
                  "Application",
                  ""},
        FixedCase{"ZeroThirdPart",
                  {1, 0, 0, 15},
                  0x3F,
                  0x10001,
                  3,
                  9,
                  "1.00.0015",
                  "Debug PreRel Patched Private Info Special",
                  "DOS-Win16",
                  "Driver",
                  "Sound drv"},
        FixedCase{"DebugAndPreRel",
                  {1, 2, 3, 4},
                  0x03,
                  0x10004,
                  4,
                  3,
                  "1.02.0304",
                  "Debug PreRel",
                  "DOS-Win32",
                  "Font",
                  "TrueType Font"},
        FixedCase{"UnknownDriverSubtype",
                  {1, 0, 0, 0},
                  0x40,
                  0x20002,
                  3,
                  11,
                  "1.00.0000",
                  "",
                  "OS/2-16 PM-16",
                  "Driver",
                  ""},
        FixedCase{
            "UnknownOsAndType", {1, 0, 0, 0}, 0, 0x50005, 6, 0, "1.00.0000", "", "Unknown", "Unknown", ""},
        FixedCase{
            "OS2PM32AndVxD", {1, 0, 0, 0}, 0, 0x30003, 5, 0, "1.00.0000", "", "OS/2-16 PM-32", "VxD", ""},
        FixedCase{"Lib", {1, 0, 0, 0}, 0, 0x40004, 7, 0, "1.00.0000", "", "NT-Win32", "Lib", ""}),
    [](const auto& info) { return std::string(info.param.name); });

// The first translation's table lacks CompanyName: the English table answers only when it has one.
TEST(CFileVersionInfo, FallsBackToTheEnglishTableOnlyWhenItHasCompanyName) {
    struct Case {
        const char* englishCompany; // nullptr: the English table has none either
        const char* company;
        const char* fileVersion;
    };
    for (const Case c : {Case{"Nerix", "Nerix", "english"}, Case{nullptr, "", "german"}}) {
        TempFolder dir;
        VersionRecordSpec spec = withVersion(1, 0, 0, 0);
        spec.translations = {{0x0407, 0x04E4}};
        spec.tables = {{0x0407, 0x04E4, {{"FileVersion", "german"}}},
                       {0x0409, 0x04E4, {{"FileVersion", "english"}}}};
        if (c.englishCompany)
            spec.tables[1].strings.insert(spec.tables[1].strings.begin(), {"CompanyName", c.englishCompany});
        CFileVersionInfo info;
        info.FullPathName(fileWith(dir, spec));
        EXPECT_EQ(info.Language(), "German (Germany)");
        EXPECT_EQ(info.CompanyName(), c.company);
        EXPECT_EQ(info.FileVersion(), c.fileVersion);
    }
}

TEST(CFileVersionInfo, FileVersionTextIsKeptExactly) {
    TempFolder dir;
    for (const char* text : {"4, 5, 2, 2", "4.5.2.2", "4, 5, 2, 2 ", "4, 5, 2, 3"}) {
        VersionRecordSpec spec = withVersion(4, 5, 2, 2);
        spec.translations = {{0x0409, 0x04B0}};
        spec.tables = {{0x0409, 0x04B0, {{"FileVersion", text}}}};
        CFileVersionInfo info;
        info.FullPathName(fileWith(dir, spec));
        EXPECT_EQ(info.FileVersion(), text);
        EXPECT_EQ(info.FileVersion() == "4, 5, 2, 2", std::string(text) == "4, 5, 2, 2");
    }
}

TEST(CFileVersionInfo, SecondFileShowsNothingOfTheFirst) {
    TempFolder dir;
    VersionRecordSpec driver = withVersion(2, 0, 0, 0);
    driver.fixed.fileType = 3;
    driver.fixed.fileSubtype = 1;
    driver.translations = {{0x0409, 0x04B0}};
    driver.tables = {{0x0409, 0x04B0, {{"CompanyName", "First"}, {"FileVersion", "2"}}}};
    VersionRecordSpec application = withVersion(3, 0, 0, 0); // no strings, no subtype

    CFileVersionInfo info;
    info.FullPathName(fileWith(dir, driver, "driver.so"));
    EXPECT_EQ(info.FileSubType(), "Printer drv");
    info.FullPathName(fileWith(dir, application, "app.so"));
    EXPECT_TRUE(info.Available());
    EXPECT_EQ(info.FileSubType(), "");
    EXPECT_EQ(info.CompanyName(), "");
    EXPECT_EQ(info.FileVersion(), "");
    EXPECT_EQ(info.Language(), "");
    info.FullPathName(dir.write("plain.txt", "no record"));
    EXPECT_FALSE(info.Available());
    EXPECT_EQ(info.VerFile(), "");
}

TEST(CFileVersionInfo, PathsResolveAndAreNotLimitedTo260Characters) {
    TempFolder dir;
    CFileVersionInfo info;
    info.FullPathName("");
    EXPECT_EQ(info.FullPathName(), ""); // unresolvable: nothing changes
    std::string deep = dir.path();
    while (deep.size() < 300)
        deep += "/a-rather-long-folder-name";
    std::filesystem::create_directories(deep);
    const std::string file = deep + "/lib.so";
    version::testing::writeElfWithSection(file, kVersionSectionName,
                                          buildVersionRecord(withVersion(4, 5, 2, 2)));
    info.FullPathName(deep + "/./x/../lib.so");
    EXPECT_EQ(info.FullPathName(), file);
    EXPECT_TRUE(info.Available());
    EXPECT_EQ(info.VerFile(), "4.05.0202");
}

TEST(CFileVersionInfo, MissingFileIsNotAvailable) {
    TempFolder dir;
    CFileVersionInfo info;
    info.FullPathName(dir.file("nsp.so"));
    EXPECT_EQ(info.FullPathName(), dir.file("nsp.so"));
    EXPECT_FALSE(info.Available());
}
