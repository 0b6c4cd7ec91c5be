// The band plan store against small band plan files: what a load gives, what a save writes, and the
// files it must never damage.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <chrono>
#include <clocale>
#include <filesystem>
#include <functional>
#include <locale>
#include <ostream>
#include <sstream>

#include "frame/clsINIFile.h"
#include "frontpanel/modBandPlan.h"
#include "platform/profile/IniFile.h"
#include "platform/profile/PrivateProfile.h"
#include "platform/profile/testing/BoundedChild.h"
#include "platform/profile/testing/TempFolder.h"
#include "platform/runtime/Hooks.h"
#include "platform/runtime/RuntimeError.h"

using modBandPlan::BandPlanStore;
using profile::testing::TempFolder;

namespace {

constexpr const char* kNow = "2026-12-10 13:45:00";

std::string fixture(const std::string& name) {
    return TempFolder::readFile(std::string(BANDPLAN_FIXTURES) + "/" + name);
}

// Band plan files in a folder of their own, the records made as the start-up makes them, and a store
// whose trace lines and message-loop pumps the test sees.
struct Plan {
    TempFolder dir;
    std::vector<std::string> log;
    std::function<void()> onPump;
    int pumps = 0;
    runtime::ScopedHooks hooks{runtime::Hooks{[this] {
                                                  ++pumps;
                                                  if (onPump) onPump();
                                              },
                                              [this](const std::string& line) { log.push_back(line); },
                                              {}}};
    MainBandArray MainBands;
    ReceiverState State;
    BandPlanStore store{MainBands, State, [] { return std::string(kNow); }};

    Plan() { MainBands.reserve(8); }

    MainBandRec& add(const std::string& fileName, std::string_view bytes) {
        dir.write(fileName, bytes);
        MainBands.push_back(
            modBandPlan::newMainBand(dir.path(), fileName, static_cast<int32_t>(MainBands.size())));
        return MainBands.back();
    }
    MainBandRec& addFixture(const std::string& name) { return add(name, fixture(name)); }
    // As a band selection does.
    MainBandRec& select(MainBandRec& band) {
        store.InitBandPlanArrays(band);
        EXPECT_TRUE(store.LoadBandPlan(band));
        return band;
    }
    // Every preset in use read on demand, as pressing each of them does.
    void pressAllPresets(const MainBandRec& band) {
        for (int32_t i = 0; i <= band.NumSubBands; ++i) {
            for (int32_t j = 0; j < 12; ++j) {
                if (band.SubBand[static_cast<std::size_t>(i)]
                        .Preset[static_cast<std::size_t>(j)]
                        .Settings.FreqCurrent > 0)
                    store.LoadPresetOnDemand(band.Index, i, j);
            }
        }
    }
    bool logged(const std::string& part) const {
        for (const auto& line : log) {
            if (line.find(part) != std::string::npos) return true;
        }
        return false;
    }
};

SubBandRec& sub(MainBandRec& band, int i) {
    return band.SubBand[static_cast<std::size_t>(i)];
}
PresetRec& preset(MainBandRec& band, int i, int j) {
    return sub(band, i).Preset[static_cast<std::size_t>(j)];
}

std::vector<std::string> splitCrLf(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t pos = 0;
    for (std::size_t end; (end = text.find("\r\n", pos)) != std::string::npos; pos = end + 2)
        lines.push_back(text.substr(pos, end - pos));
    lines.push_back(text.substr(pos));
    return lines;
}

// Records compared without the flags that say where a block came from.
void forgetOrigin(MainBandRec& band) {
    for (auto& s : band.SubBand) {
        s.Settings.Dirty = s.Settings.Loaded = false;
        for (auto& p : s.Preset)
            p.Settings.Dirty = p.Settings.Loaded = false;
    }
}

struct BandCase {
    const char* file;
    const char* caption;
    const char* description;
    bool active;
    int32_t activeSubBand;
    int32_t numSubBands;
};

void PrintTo(const BandCase& c, std::ostream* os) {
    *os << c.file;
}

class LoadBand : public ::testing::TestWithParam<BandCase> {};

TEST_P(LoadBand, GivesTheBandKeys) {
    const BandCase& c = GetParam();
    Plan plan;
    auto& band = plan.select(plan.addFixture(c.file));
    EXPECT_TRUE(band.Loaded);
    EXPECT_EQ(band.Caption, c.caption);
    EXPECT_EQ(band.Description, c.description);
    EXPECT_EQ(band.Active, c.active);
    EXPECT_EQ(band.ActiveSubBand, c.activeSubBand);
    EXPECT_EQ(band.NumSubBands, c.numSubBands);
    EXPECT_EQ(band.SubBand.size(), 19u);
    EXPECT_FALSE(plan.store.BandPlanBusy());
    EXPECT_FALSE(plan.store.BandPlanLoading());
}

INSTANTIATE_TEST_SUITE_P(
    Fixtures, LoadBand,
    ::testing::Values(BandCase{"full.bpl", "Full", "Every sub-band in use", true, 4, 17},
                      BandCase{"mainband-only.bpl", "Only", "Just the band", false, 0, 17},
                      BandCase{"out-of-order.bpl", "out-of-order", "out-of-order", false, 2, 2},
                      BandCase{"mixed-case.bpl", "Loud", "mixed-case", false, 0, 1},
                      BandCase{"latin1.bpl", "latin1", "B\u00e4nder f\u00fcr \u00dcbersee", false, 0, 0},
                      BandCase{"utf8.bpl", "utf8", "\u0414\u0438\u0430\u043f\u0430\u0437\u043e\u043d\u044b",
                               false, 0, 0}));

struct SubBandCase {
    const char* file;
    int i;
    const char* caption;
    const char* description;
    int32_t freqMin, freqMax, freqCurrent;
    bool inUse;
    int32_t activePreset;
    int32_t tuneStep;
    bool agcOn;
    int32_t ifFilterMode;
    float agcAttack;
};

void PrintTo(const SubBandCase& c, std::ostream* os) {
    *os << c.file << " sub-band " << c.i;
}

class LoadSubBand : public ::testing::TestWithParam<SubBandCase> {};

TEST_P(LoadSubBand, GivesItsKeysAndSettingsOrTheirDefaults) {
    const SubBandCase& c = GetParam();
    Plan plan;
    auto& band = plan.select(plan.addFixture(c.file));
    const SubBandRec& s = sub(band, c.i);
    EXPECT_EQ(s.Name, band.Name + ".SubBand(" + std::to_string(c.i) + ")");
    EXPECT_EQ(s.Caption, c.caption);
    EXPECT_EQ(s.Description, c.description);
    EXPECT_EQ(s.FreqMin, c.freqMin);
    EXPECT_EQ(s.FreqMax, c.freqMax);
    EXPECT_EQ(s.Settings.FreqCurrent, c.freqCurrent);
    EXPECT_EQ(s.InUse, c.inUse);
    EXPECT_EQ(s.ActivePreset, c.activePreset);
    EXPECT_EQ(s.Settings.TuneStep, c.tuneStep);
    EXPECT_EQ(s.Settings.AGCOn, c.agcOn);
    EXPECT_EQ(s.Settings.IFFilterMode, c.ifFilterMode);
    EXPECT_EQ(s.Settings.AGCAttack, c.agcAttack);
    EXPECT_TRUE(s.Settings.Loaded);
    EXPECT_FALSE(s.Settings.Dirty);
}

INSTANTIATE_TEST_SUITE_P(
    Fixtures, LoadSubBand,
    ::testing::Values(SubBandCase{"full.bpl", 0, "B0m", "Sub-band 0, 1000000-1500000 Hz", 1000000, 1500000,
                                  1000000, true, -1, 1000, true, 0, 2.5f},
                      SubBandCase{"full.bpl", 1, "B1m", "Sub-band 1, 2000000-2500000 Hz", 2000000, 2500000,
                                  2001000, true, 0, 50000, false, 1, 10.0f},
                      SubBandCase{"full.bpl", 17, "B17m", "Sub-band 17, 18000000-18500000 Hz", 18000000,
                                  18500000, 18017000, true, 0, 100, true, 2, 10.0f},
                      SubBandCase{"mainband-only.bpl", 0, "S1", "SubBand #1", -1, -1, -1, false, -1, 1000,
                                  true, 2, 10.0f},
                      SubBandCase{"mainband-only.bpl", 17, "S18", "SubBand #18", -1, -1, -1, false, -1, 1000,
                                  true, 2, 10.0f},
                      SubBandCase{"no-final-break.bpl", 0, "S1", "SubBand #1", 100, 200, -1, true, -1, 1000,
                                  true, 2, 10.0f},
                      SubBandCase{"out-of-order.bpl", 0, "160m", "SubBand #1", -1, -1, 1840000, true, -1,
                                  1000, true, 2, 10.0f},
                      SubBandCase{"out-of-order.bpl", 2, "40m", "SubBand #3", 7000000, 7200000, -1, true, -1,
                                  1000, true, 2, 10.0f},
                      SubBandCase{"mixed-case.bpl", 1, "Amateu", "SubBand #2", 7000000, 7200000, -1, true, -1,
                                  1000, false, 2, 10.0f},
                      SubBandCase{"latin1.bpl", 0, "Gr\u00f6\u00dfen", "Stra\u00dfe", 100, 200, -1, true, -1,
                                  1000, true, 2, 10.0f},
                      SubBandCase{"utf8.bpl", 0, "Gr\u00f6\u00dfen", "\u03a9\u03bc\u03ad\u03b3\u03b1", 100,
                                  200, -1, true, -1, 1000, true, 2, 10.0f}));

struct PresetCase {
    const char* file;
    int i, j;
    const char* caption;
    const char* description;
    bool active;
    const char* when;
    int32_t freqCurrent;
};

void PrintTo(const PresetCase& c, std::ostream* os) {
    *os << c.file << " preset " << c.i << "." << c.j;
}

class LoadPreset : public ::testing::TestWithParam<PresetCase> {};

TEST_P(LoadPreset, GivesItsShortKeysAndLeavesItsSettingsForThePress) {
    const PresetCase& c = GetParam();
    Plan plan;
    auto& band = plan.select(plan.addFixture(c.file));
    const PresetRec& p = preset(band, c.i, c.j);
    EXPECT_EQ(p.Name,
              band.Name + ".SubBand(" + std::to_string(c.i) + ").Preset(" + std::to_string(c.j) + ")");
    EXPECT_EQ(p.Caption, c.caption);
    EXPECT_EQ(p.Description, c.description);
    EXPECT_EQ(p.Active, c.active);
    EXPECT_EQ(p.When, c.when);
    EXPECT_EQ(p.Settings.FreqCurrent, c.freqCurrent);
    EXPECT_FALSE(p.Settings.Loaded);
}

INSTANTIATE_TEST_SUITE_P(
    Fixtures, LoadPreset,
    ::testing::Values(
        PresetCase{"full.bpl", 0, 0, "P0.0", "Preset 0 of sub-band 0", false, "2025-01-10 00:30:00", 1000000},
        PresetCase{"full.bpl", 3, 5, "P3.5", "Preset 5 of sub-band 3", true, "2025-04-15 05:33:05", 4003500},
        PresetCase{"full.bpl", 0, 1, "P2", "Preset2", false, kNow, -1},
        PresetCase{"full.bpl", 1, 2, "unused", "Preset3", false, kNow, 0},
        PresetCase{"mixed-case.bpl", 1, 0, "Amateur", "Preset1", false, kNow, 7050000},
        PresetCase{"utf8.bpl", 0, 0, "\u0410\u043cateur", "Preset1", false, kNow, 150},
        // The last line has no line break and is read all the same.
        PresetCase{"no-final-break.bpl", 0, 0, "Last", "Preset1", false, kNow, 150},
        PresetCase{"out-of-order.bpl", 2, 1, "Late", "Preset2", false, kNow, 7100000},
        // A sub-band not in use has its presets left unread.
        PresetCase{"mainband-only.bpl", 0, 0, "P1", "Preset1", false, kNow, -1}));

TEST(BandPlanLoad, AnActiveBandBecomesTheCurrentBand) {
    Plan plan;
    auto& other = plan.addFixture("mainband-only.bpl");
    auto& full = plan.addFixture("full.bpl");
    plan.State.CurrentMainBandIndex = 0;
    plan.select(other);
    EXPECT_EQ(plan.State.CurrentMainBandIndex, 0);
    plan.select(full);
    EXPECT_EQ(plan.State.CurrentMainBandIndex, 1);
}

TEST(BandPlanLoad, APresetPressReadsItsBlockFromTheFileAsItIsNow) {
    Plan plan;
    auto& band = plan.select(plan.addFixture("full.bpl"));
    // Written after the load: the press still sees it.
    ASSERT_EQ(profile::WritePrivateProfileString("Preset.3.5", "DemodMode", "6", band.FilePath),
              profile::ProfileStatus::Ok);
    plan.store.LoadPresetOnDemand(0, 3, 5);
    const PresetSettings& s = preset(band, 3, 5).Settings;
    EXPECT_TRUE(s.Loaded);
    EXPECT_EQ(s.DemodMode, 6);
    // k = 41 in the fixture's pattern.
    EXPECT_EQ(s.TuneStep, 100);
    EXPECT_EQ(s.AGCMode, 1);
    EXPECT_EQ(s.AGCAttack, 10.0f);
    EXPECT_EQ(s.AGCDecay, 1.0f);
    EXPECT_EQ(s.NotchFilterWidth, 250);
    EXPECT_EQ(s.OutputAttenuation, 3.5f);
    EXPECT_TRUE(s.MusicModeActive);
    // A loaded block is not read again.
    ASSERT_EQ(profile::WritePrivateProfileString("Preset.3.5", "DemodMode", "7", band.FilePath),
              profile::ProfileStatus::Ok);
    plan.store.LoadPresetOnDemand(0, 3, 5);
    EXPECT_EQ(preset(band, 3, 5).Settings.DemodMode, 6);

    // A block missing from the file gets the read defaults.
    plan.store.LoadPresetOnDemand(0, 0, 1);
    PresetSettings expected;
    expected.Loaded = true;
    expected.FreqCurrent = -1;
    expected.TuneStep = 1000;
    expected.FilterHi = expected.FilterLo = -1;
    expected.IFFilterMode = 2;
    expected.IFFilterHi = 4500;
    expected.IFFilterLo = 50;
    expected.AGCOn = true;
    expected.AGCMode = 2;
    expected.AGCAttack = expected.AGCDecay = 10.0f;
    expected.NotchMode = 1;
    expected.NotchFilterCenter = 1000;
    expected.NotchFilterWidth = 100;
    EXPECT_EQ(preset(band, 0, 1).Settings, expected);

    EXPECT_THROW(plan.store.LoadPresetOnDemand(1, 0, 0), runtime::RuntimeError);
    EXPECT_THROW(plan.store.LoadPresetOnDemand(0, 19, 0), runtime::RuntimeError);
}

TEST(BandPlanLoad, AKeyOnALastLineWithoutLineBreakIsSeenByTheLoadAndThePress) {
    Plan plan;
    auto& band = plan.select(plan.addFixture("no-final-break.bpl"));
    EXPECT_EQ(preset(band, 0, 0).Settings.FreqCurrent, 150);
    preset(band, 0, 0).Settings.FreqCurrent = 0;
    plan.store.LoadPresetOnDemand(0, 0, 0);
    EXPECT_EQ(preset(band, 0, 0).Settings.FreqCurrent, 150);
}

TEST(BandPlanLoad, ValuesOutOfRangeOrNotNumbersAreCorrectedAndTraced) {
    Plan plan;
    auto& band = plan.select(plan.addFixture("malformed.bpl"));
    EXPECT_FALSE(band.Active);
    EXPECT_EQ(band.NumSubBands, 17);
    EXPECT_EQ(band.ActiveSubBand, 0);

    const SubBandRec& s0 = sub(band, 0);
    EXPECT_EQ(s0.ActivePreset, 11);
    EXPECT_EQ(s0.FreqMin, -1);
    EXPECT_EQ(s0.FreqMax, 2000000);
    EXPECT_EQ(s0.Settings.FreqCurrent, -1); // cannot be tuned in tenths of a hertz
    EXPECT_EQ(s0.Settings.DemodMode, 0);
    EXPECT_EQ(s0.Settings.FilterMode, 0);
    EXPECT_EQ(s0.Settings.IFFilterMode, 2);
    EXPECT_EQ(s0.Settings.NotchMode, 1);
    EXPECT_EQ(s0.Settings.NotchFilterWidth, 100);
    EXPECT_EQ(s0.Settings.AGCAttack, 10.0f);
    EXPECT_EQ(s0.Settings.TuneStep, 1000);
    EXPECT_EQ(s0.Settings.AGCDecay, 2.5f); // keys after a bad one are still read
    EXPECT_TRUE(s0.Settings.Loaded);

    const SubBandRec& s1 = sub(band, 1);
    EXPECT_EQ(s1.ActivePreset, -1);
    EXPECT_EQ(s1.Settings.FreqCurrent, 214748364);
    EXPECT_EQ(s1.Settings.NotchFilterWidth, 100);
    EXPECT_EQ(preset(band, 1, 0).Settings.FreqCurrent, -1);
    EXPECT_TRUE(preset(band, 1, 0).Active);

    plan.store.LoadPresetOnDemand(0, 1, 1);
    const PresetSettings& p = preset(band, 1, 1).Settings;
    EXPECT_EQ(p.DemodMode, 0);
    EXPECT_EQ(p.NotchFilterWidth, 100);
    EXPECT_TRUE(p.AGCOn);
    EXPECT_EQ(p.IFFilterMode, 1);
    EXPECT_TRUE(p.Loaded);

    for (const char* traced :
         {"Active=maybe", "NumSubBands=40", "ActiveSubBand=-3", "[SubBand.0] ActivePreset=15", "FreqMin=abc",
          "[SubBand.0] FreqCurrent=300000000", "DemodMode=9", "FilterMode=7", "IFFilterMode=5", "NotchMode=3",
          "[SubBand.0] NotchFilterWidth=-5", "AGCAttack=ten", "TuneStep=", "ActivePreset=-7",
          "[Preset.1.0] FreqCurrent=214748365", "[Preset.1.1] DemodMode=-1",
          "[Preset.1.1] NotchFilterWidth=-1", "AGCOn=sometimes"})
        EXPECT_TRUE(plan.logged(traced)) << traced;
    EXPECT_TRUE(plan.logged(band.FilePath));

    // The block with bad keys stays usable: a capture reaches the file.
    preset(band, 1, 1).Settings.DemodMode = 4;
    preset(band, 1, 1).Settings.Dirty = true;
    ASSERT_TRUE(plan.store.SaveBandPlan(band));
    clsINIFile ini;
    ini.init(band.FilePath);
    EXPECT_EQ(ini.GetItem("Preset.1.1", "DemodMode", ""), "4");
    EXPECT_EQ(ini.GetItem("Preset.1.1", "AGCOn", ""), "True");
    EXPECT_EQ(ini.GetItem("Preset.1.1", "NotchFilterWidth", ""), "100");
}

TEST(BandPlanSave, LoadCaptureSaveAndReloadGiveTheSameRecords) {
    Plan plan;
    auto& band = plan.select(plan.addFixture("full.bpl"));
    plan.pressAllPresets(band);
    band.Caption = "Renamed";
    auto& s4 = sub(band, 4).Settings;
    s4.DemodMode = 5;
    s4.AGCAttack = 0.1f;
    s4.OutputAttenuation = -40.5f;
    s4.Dirty = true;
    auto& p = preset(band, 3, 5);
    p.Caption = "7.1";
    p.Description = "Stored";
    p.When = "2026-12-10 09:05:00";
    p.Settings.FreqCurrent = 7100000;
    p.Settings.NotchMirror = !p.Settings.NotchMirror;
    p.Settings.Dirty = true;
    // A preset stored where the file had none.
    plan.store.LoadPresetOnDemand(0, 2, 7);
    auto& added = preset(band, 2, 7);
    added.Caption = "3500";
    added.Settings.FreqCurrent = 3500000;
    added.Settings.AGCDecay = 1.75f;
    added.Settings.Dirty = true;
    ASSERT_TRUE(plan.store.SaveBandPlan(band));

    Plan again;
    auto& reread = again.add("full.bpl", plan.dir.read("full.bpl"));
    again.select(reread);
    again.pressAllPresets(reread);
    EXPECT_EQ(reread.Caption, "Renamed");
    forgetOrigin(band);
    forgetOrigin(reread);
    for (int i = 0; i <= 17; ++i)
        EXPECT_EQ(sub(reread, i), sub(band, i)) << "sub-band " << i;
}

TEST(BandPlanSave, KeepsEveryLineItDoesNotWriteByteForByte) {
    Plan plan;
    auto& band = plan.select(plan.addFixture("full.bpl"));
    const std::string original = fixture("full.bpl");
    ASSERT_TRUE(plan.store.SaveBandPlan(band));
    EXPECT_EQ(plan.dir.read("full.bpl"), original);

    auto& s = sub(band, 4).Settings;
    s.DemodMode = 7;
    s.AGCAttack = 0.5f;
    s.Dirty = true;
    ASSERT_TRUE(plan.store.SaveBandPlan(band));
    const auto before = splitCrLf(original);
    const auto after = splitCrLf(plan.dir.read("full.bpl"));
    ASSERT_EQ(after.size(), before.size());
    std::vector<std::string> changed;
    for (std::size_t n = 0; n < before.size(); ++n) {
        if (before[n] != after[n]) changed.push_back(after[n]);
    }
    EXPECT_EQ(changed, (std::vector<std::string>{"DemodMode=7", "AGCAttack=0.5"}));
    const std::string saved = plan.dir.read("full.bpl");
    ASSERT_TRUE(plan.store.SaveBandPlan(band));
    EXPECT_EQ(plan.dir.read("full.bpl"), saved); // saving twice gives the same bytes
}

TEST(BandPlanSave, AMainBandOnlyFileGetsItsSubBandSectionsInKeyOrder) {
    Plan plan;
    auto& band = plan.select(plan.addFixture("mainband-only.bpl"));
    ASSERT_TRUE(plan.store.SaveBandPlan(band));
    std::string expected = "[MainBand]\r\nCaption=Only\r\nDescription=Just the band\r\nIndex=0\r\n"
                           "Name=mainband-only\r\nActive=False\r\nActiveSubBand=0\r\nNumSubBands=17\r\n";
    for (int i = 0; i <= 17; ++i) {
        const std::string n = std::to_string(i);
        expected += "[SubBand." + n + "]\r\nIndex=" + n + "\r\nName=mainband-only.SubBand(" + n +
                    ")\r\nCaption=S" + std::to_string(i + 1) + "\r\nDescription=SubBand #" +
                    std::to_string(i + 1) +
                    "\r\nNumPresets=12\r\nActivePreset=-1\r\nFreqMin=-1\r\nFreqMax=-1\r\n";
    }
    EXPECT_EQ(plan.dir.read("mainband-only.bpl"), expected);
    ASSERT_TRUE(plan.store.SaveBandPlan(band));
    EXPECT_EQ(plan.dir.read("mainband-only.bpl"), expected);
}

TEST(BandPlanSave, ABandNeverSelectedIsNotTouched) {
    Plan plan;
    auto& selected = plan.addFixture("mainband-only.bpl");
    auto& never = plan.addFixture("out-of-order.bpl");
    const auto old = std::filesystem::file_time_type::clock::now() - std::chrono::hours(24);
    std::filesystem::last_write_time(never.FilePath, old);
    plan.select(selected);
    EXPECT_TRUE(plan.store.SaveBandPlan(selected));
    EXPECT_TRUE(plan.store.SaveBandPlan(never));
    EXPECT_EQ(plan.dir.read("out-of-order.bpl"), fixture("out-of-order.bpl"));
    EXPECT_EQ(std::filesystem::last_write_time(never.FilePath), old);
}

TEST(BandPlanSave, WritesTheFileInItsOwnEncodingAndCutsCaptionsByCharacters) {
    Plan plan;
    auto& latin = plan.select(plan.addFixture("latin1.bpl"));
    auto& utf8 = plan.select(plan.addFixture("utf8.bpl"));
    latin.Caption = "B\u00e4nder \u20ac";
    utf8.Caption = "B\u00e4nder \u20ac";
    ASSERT_TRUE(plan.store.SaveBandPlan(latin));
    ASSERT_TRUE(plan.store.SaveBandPlan(utf8));
    const std::string l = plan.dir.read("latin1.bpl");
    EXPECT_NE(l.find("Description=B\xE4nder f\xFCr \xDC"
                     "bersee\r\n"),
              std::string::npos);
    EXPECT_NE(l.find("Caption=B\xE4nder \x80\r\n"), std::string::npos);
    EXPECT_NE(l.find("Caption=Gr\xF6\xDF"
                     "en\r\n"),
              std::string::npos);
    const std::string u = plan.dir.read("utf8.bpl");
    EXPECT_NE(u.find("Caption=B\u00e4nder \u20ac\r\n"), std::string::npos);
    EXPECT_NE(u.find("Caption=Gr\u00f6\u00dfen\r\n"), std::string::npos);
    EXPECT_NE(u.find("Caption=\u0410\u043cateur\r\n"), std::string::npos);
}

TEST(BandPlanSave, LineBreaksInTextNeverReachTheFile) {
    Plan plan;
    auto& band = plan.select(plan.addFixture("mainband-only.bpl"));
    band.Caption = "Two\r\nlines";
    sub(band, 0).Description = "a\nb\r[Evil]";
    ASSERT_TRUE(plan.store.SaveBandPlan(band));
    Plan again;
    auto& reread = again.select(again.add("x.bpl", plan.dir.read("mainband-only.bpl")));
    EXPECT_EQ(reread.Caption, "Two lines");
    EXPECT_EQ(sub(reread, 0).Description, "a b [Evil]");
    EXPECT_EQ(sub(reread, 1).Caption, "S2");
    clsINIFile ini;
    ini.init(reread.FilePath);
    EXPECT_EQ(ini.SectionCount(), 19);
}

TEST(BandPlanSave, NumbersReadAndWriteTheSameUnderAGermanLocale) {
    const profile::testing::ScopedGermanLocale german;
    if (!german.active()) GTEST_SKIP() << "no German locale on this machine";
    {
        Plan plan;
        auto& band = plan.select(plan.addFixture("full.bpl"));
        EXPECT_EQ(sub(band, 0).Settings.AGCAttack, 2.5f);
        EXPECT_EQ(sub(band, 1).Settings.OutputAttenuation, -12.25f);
        sub(band, 1).Settings.AGCDecay = 0.75f;
        sub(band, 1).Settings.Dirty = true;
        ASSERT_TRUE(plan.store.SaveBandPlan(band));
        const std::string saved = plan.dir.read("full.bpl");
        EXPECT_NE(saved.find("AGCDecay=0.75\r\n"), std::string::npos);
        EXPECT_NE(saved.find("OutputAttenuation=-12.25\r\n"), std::string::npos);
    }
}

TEST(BandPlanSave, AFileThatCouldNotBeReadIsNeverOverwritten) {
    Plan plan;
    auto& band = plan.addFixture("full.bpl");
    // There, but not readable as a file at the load.
    std::filesystem::remove(band.FilePath);
    std::filesystem::create_directory(band.FilePath);
    plan.select(band);
    EXPECT_TRUE(band.FileUnreadable);
    EXPECT_EQ(sub(band, 0).Caption, "S1");
    // Readable again by the shutdown: the user's file must survive the defaults.
    std::filesystem::remove(band.FilePath);
    plan.dir.write("full.bpl", fixture("full.bpl"));
    EXPECT_FALSE(plan.store.SaveBandPlan(band));
    EXPECT_EQ(plan.dir.read("full.bpl"), fixture("full.bpl"));
    EXPECT_TRUE(plan.logged(band.FilePath + " not saved"));
}

TEST(BandPlanSave, AFileThatHasGoneIsCreatedAgain) {
    Plan plan;
    auto& band = plan.addFixture("full.bpl");
    std::filesystem::remove(band.FilePath);
    plan.select(band);
    EXPECT_FALSE(band.FileUnreadable);
    EXPECT_TRUE(plan.store.SaveBandPlan(band));
    clsINIFile ini;
    ini.init(band.FilePath);
    EXPECT_EQ(ini.SectionCount(), 19);
    EXPECT_EQ(ini.GetItem("SubBand.17", "Caption", ""), "S18");
}

TEST(BandPlanSave, AReadOnlyFileFailsTheSaveAndStaysAsItWas) {
    Plan plan;
    auto& band = plan.select(plan.addFixture("full.bpl"));
    sub(band, 0).Settings.DemodMode = 3;
    sub(band, 0).Settings.Dirty = true;
    ASSERT_EQ(::chmod(band.FilePath.c_str(), 0444), 0);
    EXPECT_FALSE(plan.store.SaveBandPlan(band));
    EXPECT_EQ(plan.dir.read("full.bpl"), fixture("full.bpl"));
    EXPECT_TRUE(plan.logged(band.FilePath));
    EXPECT_FALSE(plan.store.BandPlanBusy());
    ::chmod(band.FilePath.c_str(), 0644);
    EXPECT_TRUE(plan.store.SaveBandPlan(band));
}

TEST(BandPlanStore, EventsDuringALoadCannotDisturbIt) {
    Plan plan;
    auto& saved = plan.select(plan.addFixture("mainband-only.bpl"));
    auto& loading = plan.addFixture("full.bpl");
    auto& other = plan.addFixture("out-of-order.bpl");
    bool sawLoading = false, otherRefused = false, saveRefused = false;
    int nested = 0;
    plan.onPump = [&] {
        if (nested++ > 0) return; // the save's own waiting pumps
        sawLoading = plan.store.BandPlanLoading();
        plan.store.InitBandPlanArrays(other);
        otherRefused = !plan.store.LoadBandPlan(other);
        saveRefused = !plan.store.SaveBandPlan(saved);
        plan.store.InitBandPlanArrays(loading); // the band being read keeps its records
        plan.store.LoadPresetOnDemand(1, 0, 0);
    };
    plan.select(loading);
    plan.onPump = nullptr;
    EXPECT_TRUE(sawLoading);
    EXPECT_TRUE(otherRefused);
    EXPECT_TRUE(saveRefused);
    EXPECT_FALSE(other.Loaded);
    EXPECT_EQ(sub(loading, 17).Caption, "B17m");
    EXPECT_FALSE(plan.store.BandPlanBusy());
    EXPECT_FALSE(plan.store.BandPlanLoading());
    EXPECT_TRUE(plan.store.LoadBandPlan(other));
    EXPECT_TRUE(plan.store.SaveBandPlan(saved));
}

// The shipped band plans hold every key the save writes, in its order, so a save of captured blocks
// changes nothing but the values that changed.
TEST(ShippedBandPlans, LoadAndSaveBackByteForByte) {
    int plans = 0;
    for (const auto& entry : std::filesystem::directory_iterator(NERIX_DATA_DIR)) {
        if (entry.path().extension() != ".bpl") continue;
        ++plans;
        const std::string name = entry.path().filename().string();
        const std::string original = TempFolder::readFile(entry.path().string());
        Plan plan;
        auto& band = plan.select(plan.add(name, original));
        EXPECT_TRUE(plan.log.empty()) << plan.log.front();
        ASSERT_TRUE(plan.store.SaveBandPlan(band));
        EXPECT_EQ(plan.dir.read(name), original) << name;
        plan.pressAllPresets(band);
        for (auto& s : band.SubBand) {
            s.Settings.Dirty = true;
            for (auto& p : s.Preset)
                p.Settings.Dirty = true;
        }
        ASSERT_TRUE(plan.store.SaveBandPlan(band));
        EXPECT_EQ(plan.dir.read(name), original) << name;
        EXPECT_TRUE(plan.log.empty());
    }
    EXPECT_EQ(plans, 2);
}

// A small band plan as the program writes it, every key the save writes present.
const std::string kHandPlan =
    "[MainBand]\r\nIndex=0\r\nName=hand\r\nCaption=Hand\r\nDescription=Edited by hand\r\nActive=True\r\n"
    "ActiveSubBand=0\r\nNumSubBands=1\r\n"
    "[SubBand.0]\r\nIndex=0\r\nName=hand.SubBand(0)\r\nCaption=160m\r\nDescription=Top "
    "band\r\nNumPresets=12\r\n"
    "ActivePreset=0\r\nFreqMin=1810000\r\nFreqMax=2000000\r\nDemodMode=2\r\nFreqCurrent=1840000\r\n"
    "TuneStep=100\r\nAGCOn=False\r\n"
    "[Preset.0.0]\r\nIndex=0\r\nName=hand.SubBand(0).Preset(0)\r\nCaption=FT8\r\nDescription=Digital\r\n"
    "Active=True\r\nWhen=2025-01-10 00:30:00\r\nDemodMode=5\r\nFreqCurrent=1840000\r\nNotchMode=0\r\n"
    "[SubBand.1]\r\nIndex=1\r\nName=hand.SubBand(1)\r\nCaption=80m\r\nDescription=SubBand "
    "#2\r\nNumPresets=12\r\n"
    "ActivePreset=-1\r\nFreqMin=3500000\r\nFreqMax=3800000\r\n";

std::string replaceFirst(std::string text, const std::string& from, const std::string& to) {
    const auto at = text.find(from);
    if (at != std::string::npos) text.replace(at, from.size(), to);
    return text;
}

std::string replaceAll(std::string text, const std::string& from, const std::string& to) {
    for (auto at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size()))
        text.replace(at, from.size(), to);
    return text;
}

struct HandEdit {
    const char* name;
    std::string (*edit)(const std::string& text);
    // The save writes the edited line with the program's own spelling (its value's text changed).
    bool respelledBySave = false;
};

void PrintTo(const HandEdit& c, std::ostream* os) {
    *os << c.name;
}

// The records a load gives, with the preset's block as a press reads it.
struct Loaded {
    std::string caption, description;
    bool active;
    int32_t activeSubBand, numSubBands;
    std::vector<SubBandRec> subBands;
    bool operator==(const Loaded&) const = default;
};

Loaded loadHand(const std::string& bytes, std::vector<std::string>* log = nullptr) {
    Plan plan;
    auto& band = plan.select(plan.add("hand.bpl", bytes));
    plan.store.LoadPresetOnDemand(0, 0, 0);
    if (log) *log = plan.log;
    return {band.Caption, band.Description, band.Active, band.ActiveSubBand, band.NumSubBands, band.SubBand};
}

// Loads, changes the upper edge of sub-band 0, saves; gives the saved bytes.
std::string changeAndSave(const std::string& bytes) {
    Plan plan;
    auto& band = plan.select(plan.add("hand.bpl", bytes));
    plan.store.LoadPresetOnDemand(0, 0, 0);
    sub(band, 0).FreqMax = 1999000;
    EXPECT_TRUE(plan.store.SaveBandPlan(band));
    return plan.dir.read("hand.bpl");
}

class HandEditedBandPlans : public ::testing::TestWithParam<HandEdit> {};

TEST_P(HandEditedBandPlans, ReadAsWrittenAndSavedWithoutLosingAValue) {
    const HandEdit& c = GetParam();
    const std::string edited = c.edit(kHandPlan);
    ASSERT_NE(edited, kHandPlan);

    // Every value the user wrote is read: the records are those of the plan as the program writes it.
    const Loaded clean = loadHand(kHandPlan);
    ASSERT_EQ(clean.subBands[0].Caption, "160m");                 // the reference itself reads
    ASSERT_EQ(clean.subBands[0].Preset[0].Settings.NotchMode, 0); // the press read the block
    std::vector<std::string> log;
    EXPECT_EQ(loadHand(edited, &log), clean);
    EXPECT_TRUE(log.empty()) << log.front();

    // The save replaces only the changed value's line; every other line stays as the user wrote it.
    const std::string cleanSaved = changeAndSave(kHandPlan);
    const std::string saved = changeAndSave(edited);
    EXPECT_EQ(saved, c.respelledBySave ? cleanSaved : c.edit(cleanSaved));
    EXPECT_EQ(loadHand(saved), loadHand(cleanSaved));
}

INSTANTIATE_TEST_SUITE_P(
    Spellings, HandEditedBandPlans,
    ::testing::Values(
        HandEdit{
            "IndentedKeyLine",
            [](const std::string& t) { return replaceFirst(t, "\r\nCaption=160m", "\r\n  Caption=160m"); }},
        HandEdit{
            "TabIndentedPresetKey",
            [](const std::string& t) { return replaceFirst(t, "\r\nDemodMode=5", "\r\n\tDemodMode=5"); }},
        // One leading blank once cost 160 m its caption and edges at the next save.
        HandEdit{"IndentedHeader",
                 [](const std::string& t) { return replaceFirst(t, "\r\n[SubBand.0]", "\r\n [SubBand.0]"); }},
        HandEdit{"BlanksInsideTheBrackets",
                 [](const std::string& t) { return replaceFirst(t, "[SubBand.0]", "[ SubBand.0 ]"); }},
        HandEdit{
            "RemarkAfterTheHeader",
            [](const std::string& t) { return replaceFirst(t, "[SubBand.0]", "[SubBand.0] ; top band"); }},
        HandEdit{"TabBeforeEquals",
                 [](const std::string& t) {
                     return replaceFirst(t, "Description=Top band", "Description\t=Top band");
                 }},
        HandEdit{"BlanksAroundEquals",
                 [](const std::string& t) { return replaceFirst(t, "Caption=80m", "Caption = 80m"); }},
        HandEdit{"KeyLetterCase",
                 [](const std::string& t) { return replaceFirst(t, "ActivePreset=0", "activepreset=0"); }},
        HandEdit{"TabAfterEqualsOnTheChangedLine",
                 [](const std::string& t) { return replaceFirst(t, "FreqMax=2000000", "FreqMax=\t2000000"); },
                 true},
        HandEdit{"ByteOrderMark", [](const std::string& t) { return "\xEF\xBB\xBF" + t; }},
        HandEdit{"CrOnlyLineEnds", [](const std::string& t) { return replaceAll(t, "\r\n", "\r"); }},
        HandEdit{"LfLineEnds", [](const std::string& t) { return replaceAll(t, "\r\n", "\n"); }},
        HandEdit{"NoFinalLineBreak", [](const std::string& t) { return t.substr(0, t.size() - 2); }}),
    [](const auto& info) { return std::string(info.param.name); });

// A header's name is its first: "[Old][MainBand]" once gave the load the band's keys while every save
// went to a new "[MainBand]" that the load never read. Now load and save both leave those lines to "Old".
TEST(BandPlanLoad, AHeaderNamedOldFirstKeepsItsLinesAndTheBandReadsWhatItsSaveWrites) {
    const std::string edited = replaceFirst(kHandPlan, "[MainBand]", "[Old][MainBand]");
    const Loaded first = loadHand(edited);
    EXPECT_EQ(first.caption, "hand");
    EXPECT_EQ(first.subBands[0].Caption, "160m");
    const std::string saved = changeAndSave(edited);
    EXPECT_TRUE(saved.starts_with(replaceFirst(edited, "FreqMax=2000000", "FreqMax=1999000")));
    Loaded expected = first;
    expected.subBands[0].FreqMax = 1999000;
    EXPECT_EQ(loadHand(saved), expected);
}

struct RefusedPlan {
    const char* name;
    const char* why; // part of the trace line
    std::string bytes;
};

void PrintTo(const RefusedPlan& c, std::ostream* os) {
    *os << c.name;
}

std::string utf16(std::string_view ascii) {
    std::string out = "\xFF\xFE";
    for (const char c : ascii) {
        out += c;
        out += '\0';
    }
    return out;
}

class RefusedBandPlans : public ::testing::TestWithParam<RefusedPlan> {};

TEST_P(RefusedBandPlans, LoadAsDefaultsWithATraceLineAndAreNeverWritten) {
    const RefusedPlan& c = GetParam();
    Plan plan;
    auto& band = plan.select(plan.add("hand.bpl", c.bytes));
    EXPECT_TRUE(band.FileUnreadable);
    EXPECT_EQ(sub(band, 0).Caption, "S1");
    EXPECT_TRUE(plan.logged(band.FilePath));
    EXPECT_TRUE(plan.logged(c.why));
    plan.store.LoadPresetOnDemand(0, 0, 0);
    sub(band, 0).FreqMax = 1999000;
    EXPECT_FALSE(plan.store.SaveBandPlan(band));
    EXPECT_EQ(plan.dir.read("hand.bpl"), c.bytes);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(plan.dir.path()), {}), 1);
}

INSTANTIATE_TEST_SUITE_P(Files, RefusedBandPlans,
                         ::testing::Values(RefusedPlan{"Utf16", "UTF-16", utf16(kHandPlan)},
                                           RefusedPlan{"NulBytes", "not text",
                                                       kHandPlan + std::string("\0\0\x01", 3)},
                                           RefusedPlan{"TooLarge", "larger",
                                                       kHandPlan + std::string(profile::kIniFileLimit, ';')}),
                         [](const auto& info) { return std::string(info.param.name); });

// A FIFO among the band plans once hung the band's first selection; the store runs in a child that the
// test waits for with a bound.
TEST(RefusedBandPlans, AFifoIsRefusedWithoutWaiting) {
    TempFolder dir;
    const std::string path = dir.file("hand.bpl");
    ASSERT_EQ(::mkfifo(path.c_str(), 0600), 0);
    const auto result = profile::testing::runInBoundedChild(
        [&] {
            Plan plan;
            plan.MainBands.push_back(modBandPlan::newMainBand(dir.path(), "hand.bpl", 0));
            auto& band = plan.select(plan.MainBands.back());
            plan.store.LoadPresetOnDemand(0, 0, 0);
            sub(band, 0).FreqMax = 1999000;
            const bool refused = band.FileUnreadable && !plan.store.SaveBandPlan(band);
            return refused && plan.logged("not a regular file") ? 0 : 1;
        },
        std::chrono::seconds(30));
    ASSERT_TRUE(result) << "the band plan store hung on the FIFO";
    EXPECT_EQ(*result, 0);
    EXPECT_TRUE(std::filesystem::is_fifo(path));
}

// A band file named in Latin-1 and a caption in Cyrillic are written without changing how any other
// value of the file reads.
TEST(BandPlanSave, NoNameOrCaptionChangesHowTheRestOfTheFileReads) {
    Plan plan;
    // "Bänder.bpl" with its name in Latin-1 bytes, in a UTF-8 file.
    auto& named = plan.select(plan.add(
        "B\xE4nder.bpl", "[MainBand]\r\nDescription=Diapason \xC3\xA9t\xC3\xA9\r\nNumSubBands=0\r\n"));
    auto& latin = plan.select(plan.addFixture("latin1.bpl"));
    latin.Caption = "\xD0\x94\xD0\xB8\xD0\xB0\xD0\xBF"; // Cyrillic, which Windows-1252 lacks
    ASSERT_TRUE(plan.store.SaveBandPlan(named));
    ASSERT_TRUE(plan.store.SaveBandPlan(latin));

    Plan again;
    auto& namedAgain = again.select(again.add("B\xE4nder.bpl", plan.dir.read("B\xE4nder.bpl")));
    auto& latinAgain = again.select(again.add("latin1.bpl", plan.dir.read("latin1.bpl")));
    EXPECT_EQ(namedAgain.Description, "Diapason \xC3\xA9t\xC3\xA9");
    EXPECT_EQ(latinAgain.Caption, latin.Caption);
    EXPECT_EQ(latinAgain.Description, "B\u00e4nder f\u00fcr \u00dcbersee");
    EXPECT_EQ(sub(latinAgain, 0).Caption, "Gr\u00f6\u00dfen");
    EXPECT_EQ(sub(latinAgain, 0).Description, "Stra\u00dfe");
    clsINIFile ini;
    ini.init(namedAgain.FilePath);
    EXPECT_EQ(ini.GetItem("MainBand", "Name", ""), "B\u00e4nder");
}

} // namespace
