// INI files as users, editors and file systems leave them: a write never changes how the rest of a file
// reads, whatever its encoding; byte-order marks and CR-only line ends read and stay; and the files the
// layer refuses are refused before they are read, traced, and never written.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <vector>

#include "platform/profile/IniFile.h"
#include "platform/profile/PrivateProfile.h"
#include "platform/profile/testing/TempFolder.h"
#include "platform/runtime/Hooks.h"

using namespace profile;
using profile::testing::TempFolder;

namespace {

struct EncodingCase {
    const char* name;
    std::string before;
    const char* key; // written in section S
    std::string value;
    std::string readBack; // UTF-8
    std::string after;
};

void PrintTo(const EncodingCase& c, std::ostream* os) {
    *os << c.name;
}

// "été" in section S, "€ 5" in section T, in either encoding.
const std::string kUtf8File = "[S]\r\na=\xC3\xA9t\xC3\xA9\r\nb=plain\r\n[T]\r\nc=\xE2\x82\xAC 5\r\n";
const std::string kCp1252File = "[S]\r\na=\xE9t\xE9\r\nb=plain\r\n[T]\r\nc=\x80 5\r\n";
const std::string kCyrillic = "\xD0\x9F\xD1\x80\xD0\xB8\xD0\xB2\xD0\xB5\xD1\x82";

class IniEncodingTable : public ::testing::TestWithParam<EncodingCase> {};

} // namespace

TEST_P(IniEncodingTable, TheWrittenKeyReadsAsWrittenAndEveryOtherAsBefore) {
    const EncodingCase& c = GetParam();
    TempFolder dir;
    const std::string file = dir.write("f.ini", c.before);
    const std::vector<std::pair<const char*, const char*>> probes{
        {"S", "a"}, {"S", "b"}, {"T", "c"}, {"S", "new"}};
    std::vector<std::string> was;
    for (const auto& [section, key] : probes)
        was.push_back(GetPrivateProfileString(section, key, "<none>", file));

    ASSERT_EQ(WritePrivateProfileString("S", c.key, c.value, file), ProfileStatus::Ok);
    EXPECT_EQ(TempFolder::readFile(file), c.after);
    EXPECT_EQ(GetPrivateProfileString("S", c.key, "<none>", file), c.readBack);
    for (std::size_t i = 0; i < probes.size(); ++i) {
        if (std::string_view(probes[i].second) == c.key) continue;
        EXPECT_EQ(GetPrivateProfileString(probes[i].first, probes[i].second, "<none>", file), was[i])
            << probes[i].first << "." << probes[i].second;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Files, IniEncodingTable,
    ::testing::Values(
        EncodingCase{"Utf8FileAsciiValue", kUtf8File, "b", "x", "x",
                     "[S]\r\na=\xC3\xA9t\xC3\xA9\r\nb=x\r\n[T]\r\nc=\xE2\x82\xAC 5\r\n"},
        EncodingCase{"Utf8FileCyrillicValue", kUtf8File, "b", kCyrillic, kCyrillic,
                     "[S]\r\na=\xC3\xA9t\xC3\xA9\r\nb=" + kCyrillic + "\r\n[T]\r\nc=\xE2\x82\xAC 5\r\n"},
        // A file name in Latin-1 handed on as bytes: taken as Windows-1252 and stored as UTF-8.
        EncodingCase{"Utf8FileLatin1Byte", kUtf8File, "b", "Caf\xE9", "Caf\xC3\xA9",
                     "[S]\r\na=\xC3\xA9t\xC3\xA9\r\nb=Caf\xC3\xA9\r\n[T]\r\nc=\xE2\x82\xAC 5\r\n"},
        EncodingCase{"Utf8FileNewKeyWithLatin1Byte", kUtf8File, "new", "\xC4", "\xC3\x84",
                     "[S]\r\na=\xC3\xA9t\xC3\xA9\r\nb=plain\r\nnew=\xC3\x84\r\n[T]\r\nc=\xE2\x82\xAC 5\r\n"},
        EncodingCase{"Windows1252FileAsciiValue", kCp1252File, "b", "x", "x",
                     "[S]\r\na=\xE9t\xE9\r\nb=x\r\n[T]\r\nc=\x80 5\r\n"},
        EncodingCase{"Windows1252FileValueItHolds", kCp1252File, "b", "Caf\xC3\xA9 \xE2\x82\xAC",
                     "Caf\xC3\xA9 \xE2\x82\xAC",
                     "[S]\r\na=\xE9t\xE9\r\nb=Caf\xE9 \x80\r\n[T]\r\nc=\x80 5\r\n"},
        EncodingCase{"Windows1252FileLatin1Byte", kCp1252File, "b", "Caf\xE9", "Caf\xC3\xA9",
                     "[S]\r\na=\xE9t\xE9\r\nb=Caf\xE9\r\n[T]\r\nc=\x80 5\r\n"},
        // Cyrillic does not exist in Windows-1252: the whole file becomes UTF-8.
        EncodingCase{"Windows1252FileCyrillicValue", kCp1252File, "b", kCyrillic, kCyrillic,
                     "[S]\r\na=\xC3\xA9t\xC3\xA9\r\nb=" + kCyrillic + "\r\n[T]\r\nc=\xE2\x82\xAC 5\r\n"},
        // "Ã©" in Windows-1252 is the bytes of "é" in UTF-8; once the last byte that marked the file as
        // Windows-1252 is overwritten, the file must not start to read as UTF-8.
        EncodingCase{"Windows1252FileLosesItsLastMarkingByte", "[S]\r\na=\xC3\xA9\r\nb=\xE9\r\n", "b", "x",
                     "x", "[S]\r\na=\xC3\x83\xC2\xA9\r\nb=x\r\n"}),
    [](const auto& info) { return std::string(info.param.name); });

namespace {

struct OddCase {
    const char* name;
    std::string before;
    const char* section; // read, then written with key "n" and value "v"
    const char* key;
    const char* readBack;
    std::string after;
};

void PrintTo(const OddCase& c, std::ostream* os) {
    *os << c.name;
}

class OddTextFiles : public ::testing::TestWithParam<OddCase> {};

} // namespace

TEST_P(OddTextFiles, ReadAsTheTextTheyHoldAndKeepTheirForm) {
    const OddCase& c = GetParam();
    TempFolder dir;
    const std::string file = dir.write("f.ini", c.before);
    EXPECT_EQ(GetPrivateProfileString(c.section, c.key, "<none>", file), c.readBack);
    ASSERT_EQ(WritePrivateProfileString(c.section, "n", "v", file), ProfileStatus::Ok);
    EXPECT_EQ(TempFolder::readFile(file), c.after);
    EXPECT_EQ(GetPrivateProfileString(c.section, c.key, "<none>", file), c.readBack);
    const auto again = readIniFile(file);
    ASSERT_TRUE(again);
    EXPECT_EQ(again->toBytes(), c.after); // read and written back unchanged
}

INSTANTIATE_TEST_SUITE_P(
    Files, OddTextFiles,
    ::testing::Values(OddCase{"ByteOrderMark", "\xEF\xBB\xBF[S]\r\nk=1\r\n", "S", "k", "1",
                              "\xEF\xBB\xBF[S]\r\nk=1\r\nn=v\r\n"},
                      OddCase{"ByteOrderMarkOnAWindows1252File", "\xEF\xBB\xBF[S]\r\nk=\xE9\r\n", "S", "k",
                              "\xC3\xA9", "\xEF\xBB\xBF[S]\r\nk=\xE9\r\nn=v\r\n"},
                      OddCase{"CrOnlyLineEnds", "[S]\rk=1\r[T]\rm=2\r", "T", "m", "2",
                              "[S]\rk=1\r[T]\rm=2\rn=v\r"},
                      OddCase{"CrOnlyNewSection", "[S]\rk=1", "U", "k", "<none>", "[S]\rk=1\r[U]\rn=v\r"},
                      OddCase{"LfLineEnds", "[S]\nk=1\n", "S", "k", "1", "[S]\nk=1\nn=v\r\n"}),
    [](const auto& info) { return std::string(info.param.name); });

namespace {

struct RefusedCase {
    const char* name;
    const char* why; // part of the trace line
    // Makes the file at the path.
    void (*make)(const std::string& path);
};

void PrintTo(const RefusedCase& c, std::ostream* os) {
    *os << c.name;
}

void writeBytes(const std::string& path, std::string_view bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

// "[S]\r\nk=1\r\n" in UTF-16, little-endian.
std::string utf16(std::string_view ascii) {
    std::string out;
    for (const char c : ascii) {
        out += c;
        out += '\0';
    }
    return out;
}

class RefusedFiles : public ::testing::TestWithParam<RefusedCase> {};

} // namespace

TEST_P(RefusedFiles, AreTracedNeverReadAndNeverWritten) {
    const RefusedCase& c = GetParam();
    TempFolder dir;
    const std::string file = dir.file("f.ini");
    c.make(file);
    const auto kind = std::filesystem::symlink_status(file).type();
    const std::string bytes = kind == std::filesystem::file_type::regular ? TempFolder::readFile(file) : "";
    std::vector<std::string> log;
    runtime::ScopedHooks hooks{runtime::Hooks{.addLog = [&](const std::string& l) { log.push_back(l); }}};

    EXPECT_EQ(GetPrivateProfileString("S", "k", "dflt", file), "dflt");
    EXPECT_EQ(WritePrivateProfileString("S", "k", "2", file), ProfileStatus::IoError);
    ProfileBatch batch(file);
    EXPECT_EQ(batch.read("S", "k", "dflt"), "dflt");
    ASSERT_EQ(batch.write("S", "k", "3"), ProfileStatus::Ok);
    EXPECT_EQ(batch.commit(), ProfileStatus::IoError);

    EXPECT_EQ(std::filesystem::symlink_status(file).type(), kind);
    if (kind == std::filesystem::file_type::regular) {
        EXPECT_EQ(TempFolder::readFile(file), bytes);
    }
    ASSERT_FALSE(log.empty());
    EXPECT_NE(log.front().find(file), std::string::npos) << log.front();
    EXPECT_NE(log.front().find(c.why), std::string::npos) << log.front();
    // Nothing was left beside it either.
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1);
}

INSTANTIATE_TEST_SUITE_P(
    Files, RefusedFiles,
    ::testing::Values(
        RefusedCase{"Utf16WithMark", "UTF-16",
                    [](const std::string& p) { writeBytes(p, "\xFF\xFE" + utf16("[S]\r\nk=1\r\n")); }},
        RefusedCase{"Utf16WithoutMark", "UTF-16",
                    [](const std::string& p) { writeBytes(p, utf16("[S]\r\nk=1\r\n")); }},
        RefusedCase{
            "BinaryBytes", "not text",
            [](const std::string& p) { writeBytes(p, std::string("[S]\r\nk=1\r\n\0\0\x01\x7f", 15)); }},
        RefusedCase{
            "LargerThanTheLimit", "larger",
            [](const std::string& p) { writeBytes(p, "[S]\r\nk=1\r\n" + std::string(kIniFileLimit, ';')); }},
        // A device is refused before it is opened; the FIFO's case runs in a bounded child (settings store).
        RefusedCase{"DeviceBehindALink", "not a regular file",
                    [](const std::string& p) { std::filesystem::create_symlink("/dev/null", p); }},
        RefusedCase{"Folder", "not a regular file",
                    [](const std::string& p) { std::filesystem::create_directory(p); }}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(IniFile, AFileOfExactlyTheLimitIsRead) {
    TempFolder dir;
    const std::string head = "[S]\r\nk=1\r\n;";
    const std::string file = dir.write("f.ini", head + std::string(kIniFileLimit - head.size(), ';'));
    EXPECT_EQ(GetPrivateProfileString("S", "k", "dflt", file), "1");
}
