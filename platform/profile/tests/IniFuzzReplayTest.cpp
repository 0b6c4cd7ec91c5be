// Seeded hand edits of INI files and seeded writes through the INI engine's and the settings store's fuzz
// targets, under the sanitizers.
#include "platform/profile/fuzz/IniFuzzTarget.h"
#include "platform/profile/fuzz/SettingsFuzzTarget.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "platform/profile/testing/TempFolder.h"

namespace {

const std::vector<std::string> kFiles{
    "",
    "[MainBand]\r\nCaption=Hand\r\nNumSubBands=1\r\n[SubBand.0]\r\nCaption=160m\r\nFreqMin=1810000\r\n",
    "[S]\r\na=\xC3\xA9t\xC3\xA9\r\nb=plain\r\n[T]\r\nc=\xE2\x82\xAC 5\r\n",
    "[S]\r\na=\xE9t\xE9\r\nb=plain\r\n[T]\r\nc=\x80 5\r\n",
    "[S]\r\na=\xC3\xA9\r\nb=\xE9\r\n",
    "\xEF\xBB\xBF[S]\r\nk=1\r\n",
    "[S]\rk=1\r[T]\rm=2",
    "[S]\nk=1\n\n; remark\n[T]\nk = \"q\" \n",
    " [Old][MainBand] remark\r\n  Caption\t= x\r\n[ SubBand.0 ]\r\nk=1\r\nk=2\r\n[MainBand]\r\nCaption=y",
    "k=before any header\r\n[\r\n[]\r\nk=empty\r\n[a[b]\r\nk=nested\r\n",
};

// Bytes a hand edit or a foreign editor puts into a file.
const std::string kEditBytes = "[]= \t\r\n;\"'kS0\xE9\xC3\xA9\xD0\x94\x80";
// Values a program writes: names, Latin-1 bytes, Cyrillic, quotes, blanks, and line breaks it must refuse.
const std::vector<std::string> kValues{
    "x",   "",   " spaced ",     "\"quoted\"", "Caf\xE9", "Caf\xC3\xA9", "\xD0\x94\xD0\xB8", "\xE2\x82\xAC 5",
    "a=b", "\t", "two\r\nlines", "[Evil]",     "\x81\x8D"};

// The file and the writes a program makes to it, in the targets' layout.
std::vector<uint8_t> withWrites(const std::string& file, std::mt19937& rng) {
    std::vector<profile::fuzz::Write> writes;
    const int count = static_cast<int>(rng() % 8);
    for (int w = 0; w < count; ++w)
        writes.push_back(
            {static_cast<uint8_t>(rng()), static_cast<uint8_t>(rng()), kValues[rng() % kValues.size()]});
    return profile::fuzz::makeInput(file, writes);
}

// A hand-edited file and the writes a program makes to it, in the targets' layout.
std::vector<uint8_t> editedFileAndWrites(std::mt19937& rng) {
    std::string file = kFiles[rng() % kFiles.size()];
    const int edits = static_cast<int>(rng() % 6);
    for (int e = 0; e < edits; ++e) {
        const std::size_t at = file.empty() ? 0 : rng() % (file.size() + 1);
        switch (rng() % 3) {
        case 0:
            file.insert(at, 1, kEditBytes[rng() % kEditBytes.size()]);
            break;
        case 1:
            if (at < file.size()) file.erase(at, 1);
            break;
        default:
            if (at < file.size()) file[at] = kEditBytes[rng() % kEditBytes.size()];
            break;
        }
    }
    return withWrites(file, rng);
}

} // namespace

TEST(IniFuzzReplay, HandEditedFilesAndAnyWritesKeepEveryOtherValue) {
    std::mt19937 rng(20261210);
    for (int run = 0; run < 2000; ++run) {
        const auto input = editedFileAndWrites(rng);
        profile::fuzz::readAndWrite(input.data(), input.size());
    }
}

// Files with NUL bytes (which the store refuses) among them: kEditBytes holds none, so one is put in.
TEST(SettingsFuzzReplay, HandEditedSettingsFilesReadSaveAndCommitAsTheFileSays) {
    std::mt19937 rng(20261211);
    for (int run = 0; run < 600; ++run) {
        auto input = editedFileAndWrites(rng);
        const std::size_t length = profile::fuzz::splitInput(input.data(), input.size()).file.size();
        if (run % 10 == 0 && length > 0) input[rng() % length] = 0;
        profile::fuzz::readSaveCommit(input.data(), input.size());
    }
}

// The settings files of the fixtures, as the program and a hand leave them, each with writes.
TEST(SettingsFuzzReplay, FixtureSettingsFilesReadSaveAndCommitAsTheFileSays) {
    std::mt19937 rng(20261212);
    int files = 0;
    for (const auto& entry : std::filesystem::directory_iterator(PROFILE_FIXTURES)) {
        const std::string file = profile::testing::TempFolder::readFile(entry.path().string());
        ++files;
        for (int run = 0; run < 40; ++run) {
            const auto input = withWrites(file, rng);
            profile::fuzz::readAndWrite(input.data(), input.size());
            profile::fuzz::readSaveCommit(input.data(), input.size());
        }
    }
    EXPECT_GE(files, 2);
}
