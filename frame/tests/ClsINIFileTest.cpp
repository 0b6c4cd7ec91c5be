// The whole-file INI reader: which lines answer a key, which headers open a section, and files of either
// line end and either encoding.
#include <gtest/gtest.h>

#include "frame/clsINIFile.h"
#include "platform/profile/testing/TempFolder.h"
#include "platform/runtime/Hooks.h"
#include "platform/runtime/RuntimeError.h"

using profile::testing::TempFolder;

namespace {

struct LookupCase {
    const char* name;
    std::string file;
    const char* section;
    const char* key;
    const char* expected; // "<default>" when the default answers
};

// Names the case in test output instead of dumping its bytes.
void PrintTo(const LookupCase& c, std::ostream* os) {
    *os << c.name;
}

class ClsINIFileLookup : public ::testing::TestWithParam<LookupCase> {};

} // namespace

TEST_P(ClsINIFileLookup, Answers) {
    TempFolder dir;
    const auto& c = GetParam();
    clsINIFile ini;
    ini.init(dir.write("plan.bpl", c.file));
    EXPECT_EQ(ini.GetItem(c.section, c.key, "<default>"), c.expected);
    EXPECT_EQ(ini.LoadItem(c.section, c.key, "<default>"), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Lines, ClsINIFileLookup,
    ::testing::Values(
        LookupCase{"Plain", "[S]\r\nMode=1\r\n", "S", "Mode", "1"},
        LookupCase{"BlanksAroundEquals", "[S]\r\nMode = 1\r\n", "S", "Mode", "1"},
        LookupCase{"KeyLetterCase", "[S]\r\nmode=1\r\n", "S", "Mode", "1"},
        LookupCase{"EmptyValueIsNotTheDefault", "[S]\r\nMode=\r\n", "S", "Mode", ""},
        LookupCase{"TrailingBlanksStay", "[S]\r\nMode=  1  \r\n", "S", "Mode", "1  "},
        // Hand edits read as the user meant them, and as a save finds them again.
        LookupCase{"IndentedKeyLine", "[S]\r\n Mode=1\r\n", "S", "Mode", "1"},
        LookupCase{"TabBeforeEquals", "[S]\r\nMode\t= 1\r\n", "S", "Mode", "1"},
        LookupCase{"TabAfterEquals", "[S]\r\nMode=\t1\r\n", "S", "Mode", "1"},
        LookupCase{"CommentIsNoKey", "[S]\r\n;Mode=1\r\n", "S", "Mode", "<default>"},
        LookupCase{"LongerKeyIsNoKey", "[S]\r\nFilterMode=3\r\n", "S", "Mode", "<default>"},
        // A line answers only when it begins with the key: "Band=Mode" holds the key but is no Mode line.
        LookupCase{"KeyInsideAnotherLineIsNoKey", "[S]\r\nBand=Mode\r\nMode=2\r\n", "S", "Mode", "2"},
        LookupCase{"PrefixOfAnotherKeyIsNoKey", "[S]\r\nModeX=1\r\n", "S", "Mode", "<default>"},
        LookupCase{"FirstQualifyingLineWins", "[S]\r\nMode=1\r\nMode=2\r\n", "S", "Mode", "1"},
        LookupCase{"SectionLetterCase", "[MainBand]\r\nCaption=x\r\n", "mainband", "Caption", "x"},
        LookupCase{"SubBand1IsNotSubBand10", "[SubBand.10]\r\nk=10\r\n[SubBand.1]\r\nk=1\r\n", "SubBand.1",
                   "k", "1"},
        LookupCase{"HeaderWithRemark", "[MainBand] remark\r\nk=v\r\n", "MainBand", "k", "v"},
        LookupCase{"IndentedHeaderOpensItsSection", "[A]\r\n [B]\r\nk=b\r\n", "B", "k", "b"},
        LookupCase{"KeysUnderAnIndentedHeaderAreNotTheSectionAbove", "[A]\r\n [B]\r\nk=b\r\n", "A", "k",
                   "<default>"},
        LookupCase{"BlanksInsideTheBrackets", "[ SubBand.0 ]\r\nk=0\r\n", "SubBand.0", "k", "0"},
        // A header has one name, the first, as for the writes: no two sections share its lines.
        LookupCase{"OldNameBeforeTheHeaderIsItsName", "[Old][MainBand]\r\nk=m\r\n", "Old", "k", "m"},
        LookupCase{"SecondNameOfAHeaderIsNoSection", "[Old][MainBand]\r\nk=m\r\n", "MainBand", "k",
                   "<default>"},
        LookupCase{"HeaderWithoutClosingBracketIsNoSection", "[MainBand\r\nk=m\r\n", "MainBand", "k",
                   "<default>"},
        LookupCase{"OnlyTheFirstSectionOfANameIsSearched", "[S]\r\nx=1\r\n[S]\r\nk=2\r\n", "S", "k",
                   "<default>"},
        LookupCase{"KeyOfTheNextSectionIsNotFound", "[A]\r\n[B]\r\nk=b\r\n", "A", "k", "<default>"},
        LookupCase{"MissingSection", "[A]\r\nk=1\r\n", "Z", "k", "<default>"},
        LookupCase{"EmptyFile", "", "S", "k", "<default>"},
        // Files saved by Linux editors use LF alone.
        LookupCase{"LfLineEnds", "[A]\nk=a\n[B]\nk=b\n", "B", "k", "b"},
        LookupCase{"MixedLineEnds", "[A]\r\nk=a\n[B]\nk=b\r\n", "A", "k", "a"},
        LookupCase{"LastLineWithoutLineBreak", "[A]\r\nx=1\r\nk=last", "A", "k", "last"},
        LookupCase{"ByteOrderMark", "\xEF\xBB\xBF[A]\r\nk=a\r\n", "A", "k", "a"},
        LookupCase{"CrOnlyLineEnds", "[A]\rk=a\r[B]\rk=b\r", "B", "k", "b"},
        LookupCase{"Windows1252File", "[S]\r\nCaption=R\xE9seau \x80\r\n", "S", "Caption",
                   "R\xC3\xA9seau \xE2\x82\xAC"},
        LookupCase{"Utf8File", "[S]\r\nCaption=R\xC3\xA9seau\r\n", "S", "Caption", "R\xC3\xA9seau"},
        LookupCase{"CaseFoldedNonAsciiKey", "[S]\r\n\xC3\x84nderung=1\r\n", "S", "\xC3\xA4NDERUNG", "1"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ClsINIFile, IndexesLinesAndHeaders) {
    TempFolder dir;
    clsINIFile ini;
    EXPECT_EQ(ini.GetItem("S", "k", "d"), "d"); // before any init
    ini.init(dir.write("a.bpl", "[A]  \r\nk=1\r\n[B]\r\n"));
    EXPECT_EQ(ini.LastLineIndex(), 3);
    EXPECT_EQ(ini.SectionCount(), 2);
    EXPECT_EQ(ini.Lines().front(), "[A]");
    ini.init(dir.write("empty.bpl", ""));
    EXPECT_EQ(ini.LastLineIndex(), -1);
    EXPECT_EQ(ini.SectionCount(), 0);
}

TEST(ClsINIFile, ManySectionsBeyondTheOldFixedTable) {
    std::string text;
    for (int i = 0; i < 40000; ++i)
        text += "[S" + std::to_string(i) + "]\nk=" + std::to_string(i) + "\n";
    TempFolder dir;
    clsINIFile ini;
    ini.init(dir.write("big.bpl", text));
    EXPECT_EQ(ini.SectionCount(), 40000);
    EXPECT_EQ(ini.GetItem("S39999", "k", ""), "39999");
}

TEST(ClsINIFile, MissingFileRaisesFileNotFoundAndEmptiesTheObject) {
    TempFolder dir;
    clsINIFile ini;
    ini.init(dir.write("a.bpl", "[S]\r\nk=1\r\n"));
    try {
        ini.init(dir.file("missing.bpl"));
        FAIL() << "no error raised";
    } catch (const runtime::RuntimeError& e) {
        EXPECT_EQ(e.Number(), runtime::err::kFileNotFound);
    }
    EXPECT_EQ(ini.GetItem("S", "k", "d"), "d");
}

TEST(ClsINIFile, InitDoesNotPumpTheMessageLoop) {
    int pumps = 0;
    runtime::ScopedHooks hooks{runtime::Hooks{.doEvents = [&] { ++pumps; }}};
    TempFolder dir;
    clsINIFile ini;
    ini.init(dir.write("a.bpl", "[A]\r\n[B]\r\n[C]\r\n"));
    EXPECT_EQ(pumps, 0);
}

TEST(ClsINIFile, AFileTheLayerRefusesRaisesPathFileAccessWithTheReason) {
    TempFolder dir;
    clsINIFile ini;
    ini.init(dir.write("a.bpl", "[S]\r\nk=1\r\n"));
    try {
        ini.init(dir.write("u.bpl", std::string("\xFF\xFE[\0S\0]\0", 8)));
        FAIL() << "no error raised";
    } catch (const runtime::RuntimeError& e) {
        EXPECT_EQ(e.Number(), runtime::err::kPathFileAccess);
        EXPECT_NE(e.Description().find("UTF-16"), std::string::npos) << e.Description();
    }
    EXPECT_EQ(ini.GetItem("S", "k", "d"), "d");
    EXPECT_EQ(ini.SectionCount(), 0);
}
