// Characters, not bytes: lengths, decoding of stray 8-bit bytes, case folding.
#include <gtest/gtest.h>

#include "platform/runtime/Text.h"

using namespace runtime;

TEST(Text, CountsCharactersNotBytes) {
    EXPECT_EQ(charLength(""), 0u);
    EXPECT_EQ(charLength("abc"), 3u);
    EXPECT_EQ(charLength("Zürich"), 6u);
    EXPECT_EQ(charLength("\xE2\x82\xAC"), 1u); // euro sign
    EXPECT_EQ(charLength("a\xFC"
                         "b"),
              3u);                         // a stray Latin-1 byte is one character
    EXPECT_EQ(charLength("\xE2\x82"), 2u); // a cut sequence is its bytes
}

TEST(Text, StrayBytesDecodeAsLatin1AndRoundTripAsUtf8) {
    EXPECT_EQ(toU32("a\xFC"), (std::u32string{U'a', U'\u00FC'}));
    EXPECT_EQ(toUtf8(toU32("a\xFC")), "a\xC3\xBC");
    const std::string mixed = "K\xC3\xB6ln \xF0\x9F\x93\xBB";
    EXPECT_EQ(toUtf8(toU32(mixed)), mixed);
    EXPECT_EQ(toU32("\xC0\x80").size(), 2u); // overlong encodings are not accepted
}

TEST(Text, FoldsLetterCaseBeyondAscii) {
    EXPECT_TRUE(equalsNoCase("SaveRecordingsPath", "SaveRecordingspath"));
    EXPECT_TRUE(equalsNoCase("ÄÖÜ", "äöü"));
    EXPECT_TRUE(equalsNoCase("ПРИЁМ", "приём"));
    EXPECT_FALSE(equalsNoCase("a", "b"));
    EXPECT_EQ(foldCase(U'\u00D7'), U'\u00D7'); // the multiplication sign has no case
}

TEST(Text, TrimsSpacesOnly) {
    EXPECT_EQ(trimSpaces("  5 kHz  "), "5 kHz");
    EXPECT_EQ(trimSpaces("\t5\t"), "\t5\t");
    EXPECT_EQ(trimSpaces("   "), "");
}
