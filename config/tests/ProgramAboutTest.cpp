// The about text from a program's version record.
#include <gtest/gtest.h>

#include <string>

#include "config/ProgramAbout.h"
#include "platform/profile/testing/TempFolder.h"
#include "platform/version/VersionFile.h"
#include "platform/version/VersionRecord.h"
#include "platform/version/testing/ElfFixture.h"

namespace {

TEST(ProgramAbout, TheTextComesFromTheRecordOfTheProgramFile) {
    const profile::testing::TempFolder folder;
    version::VersionRecordSpec spec;
    std::tie(spec.fixed.fileVersionMS, spec.fixed.fileVersionLS) = version::versionWords(2, 7, 9, 31);
    spec.translations = {{0x0809, 0x04E4}};
    spec.tables = {{0x0809,
                    0x04E4,
                    {{"LegalCopyright", "Copyright (C) the receiver's makers"},
                     {"Comments", "For sound-card receivers"}}}};
    const auto record = version::buildVersionRecord(spec);
    const std::string program = folder.path() + "/NerixSDR";
    version::testing::writeElfWithSection(program, version::kVersionSectionName, record);

    const config::ProgramVersion v = config::readProgramVersion(program, "https://nerix.example");
    EXPECT_EQ(config::aboutText(v), "NerixSDR Ver 2.7.31\r\n"
                                    "Copyright (C) the receiver's makers\r\n\r\n"
                                    "For sound-card receivers\r\n\r\n"
                                    "https://nerix.example");
}

TEST(ProgramAbout, AFileWithoutARecordGivesTheProductNameAlone) {
    const profile::testing::TempFolder folder;
    const std::string program = folder.path() + "/other";
    version::testing::writeElfWithSection(program, ".text", std::vector<uint8_t>(16, 0));
    for (const std::string& path : {program, folder.path() + "/missing"}) {
        const config::ProgramVersion v = config::readProgramVersion(path, "");
        EXPECT_EQ(config::aboutText(v), "NerixSDR Ver 0.0.0\r\n\r\n\r\n\r\n\r\n") << path;
    }
}

} // namespace
