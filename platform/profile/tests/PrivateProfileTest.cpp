// The private-profile service: what a write changes and leaves, how files of either encoding and either
// line end read, the read cap, and the writes it refuses.
#include <gtest/gtest.h>

#include <clocale>
#include <locale>
#include <sys/stat.h>

#include "platform/profile/PrivateProfile.h"
#include "platform/profile/testing/TempFolder.h"
#include "platform/runtime/Convert.h"

using namespace profile;
using profile::testing::TempFolder;

namespace {

struct ReadCase {
    const char* name;
    std::string bytes;
    const char* section;
    const char* key;
    std::string expected; // UTF-8
};

// Names the case in test output instead of dumping its bytes.
void PrintTo(const ReadCase& c, std::ostream* os) {
    *os << c.name;
}

class PrivateProfileRead : public ::testing::TestWithParam<ReadCase> {};

} // namespace

TEST_P(PrivateProfileRead, FindsTheValue) {
    TempFolder dir;
    const auto& c = GetParam();
    const std::string file = dir.write("f.ini", c.bytes);
    EXPECT_EQ(GetPrivateProfileString(c.section, c.key, "dflt", file), c.expected);
    ProfileBatch batch(file);
    EXPECT_EQ(batch.read(c.section, c.key, "dflt"), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Files, PrivateProfileRead,
    ::testing::Values(
        ReadCase{"CrLf", "[A]\r\nk=1\r\n[B]\r\nk=2\r\n", "B", "k", "2"},
        ReadCase{"LfOnly", "[A]\nk=1\n[B]\nk=2\n", "B", "k", "2"},
        ReadCase{"NoFinalLineBreak", "[A]\r\nk=1\r\n[B]\r\nk=last", "B", "k", "last"},
        ReadCase{"SectionsOutOfOrder", "[Z]\r\nk=z\r\n[A]\r\nk=a\r\n[M]\r\nk=m\r\n", "A", "k", "a"},
        ReadCase{"SectionLetterCase", "[MainBand]\r\nCaption=x\r\n", "mainband", "caption", "x"},
        ReadCase{"KeyLetterCase", "[S]\r\nSaveRecordingsPath=/tmp\r\n", "S", "SaveRecordingspath", "/tmp"},
        ReadCase{"BlanksAroundKeyAndValue", "[S]\r\n  k  =  v w  \r\n", "S", "k", "v w"},
        ReadCase{"EnclosingQuotesDropped", "[S]\r\nk=\"quoted\"\r\n", "S", "k", "quoted"},
        ReadCase{"FirstOfTwoSections", "[S]\r\nk=1\r\n[S]\r\nk=2\r\n", "S", "k", "1"},
        ReadCase{"EmptyValue", "[S]\r\nk=\r\n", "S", "k", ""},
        ReadCase{"MissingKey", "[S]\r\nother=1\r\n", "S", "k", "dflt"},
        ReadCase{"MissingSection", "[S]\r\nk=1\r\n", "T", "k", "dflt"},
        ReadCase{"KeyOfAnotherSection", "[S]\r\n[T]\r\nk=1\r\n", "S", "k", "dflt"},
        ReadCase{"CommentIsNotAKey", "[S]\r\n;k=1\r\n", "S", "k", "dflt"},
        ReadCase{"Windows1252Bytes", "[S]\r\nk=Caf\xE9 \x80\r\n", "S", "k", "Caf\xC3\xA9 \xE2\x82\xAC"},
        ReadCase{"Utf8Bytes", "[S]\r\nk=Caf\xC3\xA9\r\n", "S", "k", "Caf\xC3\xA9"},
        ReadCase{"Latin1SectionAndKey", "[\xC4nderung]\r\n\xFC=1\r\n", "\xC3\xA4NDERUNG", "\xC3\x9C", "1"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(PrivateProfile, MissingFileGivesTheDefault) {
    TempFolder dir;
    EXPECT_EQ(GetPrivateProfileString("S", "k", "dflt", dir.file("none.ini")), "dflt");
}

TEST(PrivateProfile, ReadsAreCutAt2047Characters) {
    TempFolder dir;
    // Two-byte characters, so a byte count would cut in the wrong place.
    std::string exact, longer;
    for (int i = 0; i < 2047; ++i)
        exact += "\xC3\xA9";
    longer = exact + "\xC3\xA9xyz";
    const std::string file = dir.write("f.ini", "[S]\r\nexact=" + exact + "\r\nlong=" + longer + "\r\n");
    EXPECT_EQ(GetPrivateProfileString("S", "exact", "", file), exact);
    EXPECT_EQ(GetPrivateProfileString("S", "long", "", file), exact);
    EXPECT_EQ(GetPrivateProfileString("S", "none", longer, file), exact);
}

namespace {

struct WriteCase {
    const char* name;
    std::string before;
    const char* section;
    const char* key;
    const char* value;
    std::string after;
};

// Names the case in test output instead of dumping its bytes.
void PrintTo(const WriteCase& c, std::ostream* os) {
    *os << c.name;
}

class PrivateProfileWrite : public ::testing::TestWithParam<WriteCase> {};

} // namespace

TEST_P(PrivateProfileWrite, ChangesOnlyWhatItMust) {
    TempFolder dir;
    const auto& c = GetParam();
    const std::string file = dir.write("f.ini", c.before);
    ASSERT_EQ(WritePrivateProfileString(c.section, c.key, c.value, file), ProfileStatus::Ok);
    EXPECT_EQ(TempFolder::readFile(file), c.after);
    EXPECT_EQ(GetPrivateProfileString(c.section, c.key, "dflt", file), c.value);
}

INSTANTIATE_TEST_SUITE_P(
    Files, PrivateProfileWrite,
    ::testing::Values(
        WriteCase{"ReplacesInPlace", "; remark\r\n[A]\r\nx = 1 \r\nk=old\r\ny=2\r\n[B]\r\nk=b\r\n", "a", "K",
                  "new", "; remark\r\n[A]\r\nx = 1 \r\nK=new\r\ny=2\r\n[B]\r\nk=b\r\n"},
        WriteCase{"KeepsLfLines", "[A]\nk=old\nz=9\n", "A", "k", "new", "[A]\nk=new\nz=9\n"},
        WriteCase{"AppendsKeyAfterTheLastKeyOfItsSection", "[A]\r\nk=1\r\n\r\n[B]\r\nk=2\r\n", "A", "n", "v",
                  "[A]\r\nk=1\r\nn=v\r\n\r\n[B]\r\nk=2\r\n"},
        WriteCase{"AppendsKeyToEmptySection", "[A]\r\n[B]\r\n", "A", "n", "v", "[A]\r\nn=v\r\n[B]\r\n"},
        WriteCase{"AppendsAfterTheLastKeyPastRemarksBetweenKeys",
                  "[A]\r\nk=1\r\n; note\r\nj=2\r\n\r\n; end\r\n[B]\r\n", "A", "n", "v",
                  "[A]\r\nk=1\r\n; note\r\nj=2\r\nn=v\r\n\r\n; end\r\n[B]\r\n"},
        WriteCase{"AppendsBeforeTheRemarksOfASectionWithoutKeys", "[A]\r\n; r\r\n[B]\r\n", "A", "n", "v",
                  "[A]\r\nn=v\r\n; r\r\n[B]\r\n"},
        WriteCase{"FindsANonAsciiSectionAndKeyInAnotherCase", "[\xC3\x89t\xC3\xA9]\r\n\xC3\x84=1\r\n",
                  "\xC3\xA9T\xC3\x89", "\xC3\xA4", "2", "[\xC3\x89t\xC3\xA9]\r\n\xC3\xA4=2\r\n"},
        WriteCase{"AppendsSection", "[A]\r\nk=1\r\n", "B", "n", "v", "[A]\r\nk=1\r\n[B]\r\nn=v\r\n"},
        WriteCase{"AppendsSectionAfterLastLineWithoutBreak", "[A]\r\nk=1", "B", "n", "v",
                  "[A]\r\nk=1\r\n[B]\r\nn=v\r\n"},
        WriteCase{"ReplacesLastLineWithoutBreak", "[A]\r\nk=1", "A", "k", "2", "[A]\r\nk=2"},
        WriteCase{"CreatesFile", "", "S", "k", "v", "[S]\r\nk=v\r\n"},
        WriteCase{"Windows1252FileStaysWindows1252", "[S]\r\nold=Caf\xE9\r\n", "S", "new",
                  "\xC3\xBC \xE2\x82\xAC", "[S]\r\nold=Caf\xE9\r\nnew=\xFC \x80\r\n"},
        WriteCase{"Utf8FileStaysUtf8", "[S]\r\nold=Caf\xC3\xA9\r\n", "S", "new", "\xC3\xBC",
                  "[S]\r\nold=Caf\xC3\xA9\r\nnew=\xC3\xBC\r\n"}),
    [](const auto& info) { return std::string(info.param.name); });

// No character is lost to a "?": the whole file becomes UTF-8, and the other values read the same.
TEST(PrivateProfile, CharacterWindows1252CannotHoldTurnsTheFileIntoUtf8) {
    TempFolder dir;
    const std::string file = dir.write("f.ini", "[S]\r\nk=\xE9\r\nother=Caf\xE9\r\n");
    ASSERT_EQ(WritePrivateProfileString("S", "k", "\xE2\x86\x92", file), ProfileStatus::Ok); // an arrow
    EXPECT_EQ(TempFolder::readFile(file), "[S]\r\nk=\xE2\x86\x92\r\nother=Caf\xC3\xA9\r\n");
    EXPECT_EQ(GetPrivateProfileString("S", "other", "", file), "Caf\xC3\xA9");
}

TEST(PrivateProfile, RefusesWhatWouldInjectKeysOrSections) {
    TempFolder dir;
    const std::string before = "[S]\r\nk=1\r\n";
    const std::string file = dir.write("f.ini", before);
    struct Case {
        const char* section;
        const char* key;
        const char* value;
        ProfileStatus status;
    };
    for (const Case& c :
         {Case{"S", "k", "1\r\nevil=1", ProfileStatus::BadValue},
          Case{"S", "k", "1\n[Other]", ProfileStatus::BadValue}, Case{"S", "a=b", "1", ProfileStatus::BadKey},
          Case{"S", "a\nb", "1", ProfileStatus::BadKey}, Case{"S", "[T]", "1", ProfileStatus::BadKey},
          Case{"S", "", "1", ProfileStatus::BadKey}, Case{"S]x", "k", "1", ProfileStatus::BadSection},
          Case{"S\r\n[T", "k", "1", ProfileStatus::BadSection},
          Case{"", "k", "1", ProfileStatus::BadSection}}) {
        EXPECT_EQ(WritePrivateProfileString(c.section, c.key, c.value, file), c.status) << c.key << c.value;
    }
    EXPECT_EQ(TempFolder::readFile(file), before);
}

TEST(PrivateProfile, ReadOnlyFileIsRefusedAndKept) {
    TempFolder dir;
    const std::string file = dir.write("f.ini", "[S]\r\nk=1\r\n");
    ASSERT_EQ(::chmod(file.c_str(), 0444), 0);
    EXPECT_EQ(WritePrivateProfileString("S", "k", "2", file), ProfileStatus::ReadOnly);
    EXPECT_EQ(TempFolder::readFile(file), "[S]\r\nk=1\r\n");
    EXPECT_EQ(GetPrivateProfileString("S", "k", "", file), "1");
}

TEST(PrivateProfile, WriteKeepsTheFilesPermissions) {
    TempFolder dir;
    const std::string file = dir.write("f.ini", "[S]\r\nk=1\r\n");
    ASSERT_EQ(::chmod(file.c_str(), 0640), 0);
    ASSERT_EQ(WritePrivateProfileString("S", "k", "2", file), ProfileStatus::Ok);
    struct stat st {};
    ASSERT_EQ(::stat(file.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0640u);
}

TEST(PrivateProfile, FileInMissingFolderIsAnError) {
    TempFolder dir;
    EXPECT_EQ(WritePrivateProfileString("S", "k", "v", dir.file("no/such/f.ini")), ProfileStatus::IoError);
}

TEST(ProfileBatch, ManyWritesAreOneReplaceAndReadBackBeforeCommit) {
    TempFolder dir;
    const std::string file = dir.write("plan.bpl", "[MainBand]\r\nCaption=Old\r\n");
    ProfileBatch batch(file);
    for (int s = 0; s < 18; ++s) {
        for (int k = 0; k < 40; ++k)
            ASSERT_EQ(
                batch.write("SubBand." + std::to_string(s), "Key" + std::to_string(k), std::to_string(s * k)),
                ProfileStatus::Ok);
    }
    EXPECT_EQ(batch.write("MainBand", "caption", "New"), ProfileStatus::Ok);
    EXPECT_EQ(batch.read("subband.17", "KEY39", ""), "663");
    EXPECT_EQ(TempFolder::readFile(file), "[MainBand]\r\nCaption=Old\r\n"); // nothing on disk yet
    ASSERT_EQ(batch.commit(), ProfileStatus::Ok);
    EXPECT_FALSE(batch.pending());
    EXPECT_EQ(GetPrivateProfileString("MainBand", "Caption", "", file), "New");
    EXPECT_EQ(GetPrivateProfileString("SubBand.17", "Key39", "", file), "663");
    EXPECT_EQ(GetPrivateProfileString("SubBand.0", "Key0", "", file), "0");
}

// Keys added one after another land in the order written, after the keys already there and before the
// remarks that close the section; the first of two lines of one key still answers.
TEST(ProfileBatch, KeysAddedInTurnKeepTheirOrderAndTheSectionsRemarks) {
    TempFolder dir;
    const std::string file = dir.write("f.ini", "[A]\r\nk=1\r\nK=dup\r\n; end of A\r\n[B]\r\nb=1\r\n");
    ProfileBatch batch(file);
    for (const char* key : {"x", "y", "z"})
        ASSERT_EQ(batch.write("a", key, key), ProfileStatus::Ok);
    ASSERT_EQ(batch.write("A", "k", "2"), ProfileStatus::Ok);
    ASSERT_EQ(batch.commit(), ProfileStatus::Ok);
    EXPECT_EQ(TempFolder::readFile(file),
              "[A]\r\nk=2\r\nK=dup\r\nx=x\r\ny=y\r\nz=z\r\n; end of A\r\n[B]\r\nb=1\r\n");
}

TEST(ProfileBatch, ReadsBackBeforeCommitWhatTheFileWillGive) {
    TempFolder dir;
    const std::string file = dir.file("f.ini");
    ProfileBatch batch(file);
    ASSERT_EQ(batch.write(" S ", " quoted ", "\"q\""), ProfileStatus::Ok);
    ASSERT_EQ(batch.write("S", "spaced", "  v  "), ProfileStatus::Ok);
    const std::string quotedBefore = batch.read("S", "quoted", ""),
                      spacedBefore = batch.read("S", "spaced", "");
    ASSERT_EQ(batch.commit(), ProfileStatus::Ok);
    EXPECT_EQ(quotedBefore, GetPrivateProfileString("S", "quoted", "", file));
    EXPECT_EQ(spacedBefore, GetPrivateProfileString("S", "spaced", "", file));
    EXPECT_EQ(quotedBefore, "q");
    EXPECT_EQ(spacedBefore, "v");
    EXPECT_EQ(TempFolder::readFile(file), "[S]\r\nquoted=\"q\"\r\nspaced=  v  \r\n");
}

TEST(ProfileBatch, NothingWrittenLeavesTheFileAlone) {
    TempFolder dir;
    ProfileBatch batch(dir.file("none.ini"));
    EXPECT_EQ(batch.commit(), ProfileStatus::Ok);
    EXPECT_FALSE(std::filesystem::exists(dir.file("none.ini")));
}

TEST(PrivateProfile, NumbersReadAndWriteTheSameUnderAGermanLocale) {
    const profile::testing::ScopedGermanLocale german;
    if (!german.active()) GTEST_SKIP() << "no German locale on this machine";
    TempFolder dir;
    const std::string file = dir.write("f.ini", "[S]\r\nhalf=2.5\r\nneg=-3.5\r\nbig=1234567\r\nbad=1,5\r\n");
    EXPECT_EQ(GetPrivateProfileInt("S", "half", 0, file), 2); // half to even
    EXPECT_EQ(GetPrivateProfileInt("S", "neg", 0, file), -4);
    EXPECT_EQ(GetPrivateProfileInt("S", "big", 0, file), 1234567);
    EXPECT_EQ(GetPrivateProfileInt("S", "bad", 7, file), 7); // a comma is no decimal separator here
    EXPECT_EQ(GetPrivateProfileInt("S", "none", 7, file), 7);
    ASSERT_EQ(WritePrivateProfileString("S", "written", runtime::CStr(0.25), file), ProfileStatus::Ok);
    EXPECT_EQ(GetPrivateProfileString("S", "written", "", file), "0.25");
    EXPECT_EQ(runtime::parseDouble(GetPrivateProfileString("S", "half", "", file)), 2.5);
}
