// The shipped band plans lie beside the built program, read as band plans, and make the build folder
// the program folder.
#include <gtest/gtest.h>

#include <filesystem>

#include "frame/clsINIFile.h"
#include "platform/profile/ProgramFolder.h"
#include "platform/profile/testing/TempFolder.h"
#include "platform/runtime/Convert.h"

TEST(DefaultData, BandPlansAreCopiedBesideTheProgramAndRead) {
    int plans = 0;
    for (const auto& entry : std::filesystem::directory_iterator(NERIX_OUTPUT_DIR)) {
        if (entry.path().extension() != ".bpl") continue;
        ++plans;
        clsINIFile ini;
        ini.init(entry.path().string());
        EXPECT_EQ(ini.GetItem("MainBand", "Name", ""), entry.path().stem().string());
        const auto last = runtime::parseInt(ini.GetItem("MainBand", "NumSubBands", ""));
        ASSERT_TRUE(last) << entry.path();
        ASSERT_LE(*last, 17);
        for (int64_t i = 0; i <= *last; ++i) {
            const std::string section = "SubBand." + std::to_string(i);
            const auto lo = runtime::parseInt(ini.GetItem(section, "FreqMin", ""));
            const auto hi = runtime::parseInt(ini.GetItem(section, "FreqMax", ""));
            const auto cur = runtime::parseInt(ini.GetItem(section, "FreqCurrent", ""));
            ASSERT_TRUE(lo && hi && cur) << entry.path() << " " << section;
            EXPECT_LT(*lo, *hi);
            EXPECT_TRUE(*lo <= *cur && *cur <= *hi) << section;
            EXPECT_LE(ini.GetItem(section, "Caption", "").size(), 6u);
        }
    }
    EXPECT_GE(plans, 1);
    profile::ProgramFolderInputs in;
    in.executableDir = NERIX_OUTPUT_DIR;
    const profile::testing::TempFolder xdg;
    in.xdgDataHome = xdg.path();
    EXPECT_EQ(profile::resolveProgramFolder(in), NERIX_OUTPUT_DIR);
}
