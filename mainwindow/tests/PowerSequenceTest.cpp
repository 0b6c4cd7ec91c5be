// The power button's sequences and the shutdown over recording ports: the orders, a failing step in each
// place, the bounded display wait, and the band plans that could not be saved.
#include <filesystem>
#include <functional>
#include <set>
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <sys/stat.h>

#include "frontpanel/modBandPlan.h"
#include "mainwindow/PowerSequence.h"
#include "platform/profile/FileSettingsStore.h"
#include "platform/profile/testing/TempFolder.h"
#include "platform/runtime/RuntimeError.h"

namespace {

using Log = std::vector<std::string>;

class RecordingPower final : public mainwindow::PowerPorts {
public:
    Log log;
    void setTitleBarHidden(bool h) override { log.push_back(h ? "TitleBarHidden" : "TitleBarShownFlag"); }
    void ApplyLayout() override { log.push_back("Layout"); }
    void ShowTitleBar(bool on) override { log.push_back(on ? "TitleBar on" : "TitleBar off"); }
    void ShowClose(bool v) override { log.push_back(v ? "Close shown" : "Close hidden"); }
    void SetPowerColours(int32_t on, int32_t off) override {
        log.push_back("Colours " + std::to_string(on) + " " + std::to_string(off));
    }
    void SetBfoRange(int32_t min, int32_t max) override {
        log.push_back("BFO " + std::to_string(min) + " " + std::to_string(max));
    }
    void MakeFilters() override { log.push_back("MakeFilters"); }
    void SetPriorityClass(int32_t c) override { log.push_back("Priority " + std::to_string(c)); }
    void SetFreeze(bool f) override { log.push_back(f ? "Freeze" : "Unfreeze"); }
    void KillScopeTimer() override { log.push_back("KillScopeTimer"); }
    void SetScopeTimer(int32_t ms) override { log.push_back("SetScopeTimer " + std::to_string(ms)); }
    void StartSound() override { log.push_back("StartSound"); }
    void StopSound() override { log.push_back("StopSound"); }
    void StopHousekeeping() override { log.push_back("StopHousekeeping"); }
};

TEST(PowerButton, OnAndOffRunTheirStepsInOrder) {
    struct Case {
        bool captionOff, iq;
        Log on, off;
    };
    const Log onTail = {"Colours 49152 255", "MakeFilters",    "Priority 256", "Close hidden",
                        "Unfreeze",          "KillScopeTimer", "StartSound"};
    const Log offHead = {"StopSound",         "Freeze",     "Priority 64", "StopHousekeeping",
                         "Colours 65280 192", "Close shown"};
    const auto join = [](Log a, const Log& b) {
        a.insert(a.end(), b.begin(), b.end());
        return a;
    };
    const Case cases[] = {
        {false, false, join({"BFO -12000 12000"}, onTail), join(offHead, {"SetScopeTimer 50"})},
        {false, true, join({"BFO -24000 24000"}, onTail), join(offHead, {"SetScopeTimer 50"})},
        {true, false, join({"TitleBarHidden", "Layout", "TitleBar off", "BFO -12000 12000"}, onTail),
         join(offHead, {"TitleBar on", "TitleBarShownFlag", "Layout", "SetScopeTimer 50"})},
    };
    for (const Case& c : cases) {
        ReceiverState st;
        st.FormCaptionOffOnPwrOn = c.captionOff;
        st.IQMode = c.iq;
        st.RunPriority = 256;
        RecordingPower on, off;
        mainwindow::powerOn(on, st);
        mainwindow::powerOff(off, st);
        EXPECT_EQ(on.log, c.on) << c.captionOff << c.iq;
        EXPECT_EQ(off.log, c.off) << c.captionOff << c.iq;
    }
}

// Records every action; the one named in failAt raises instead.
class RecordingShutdown final : public mainwindow::ShutdownPorts {
public:
    Log log;
    std::string failAt;
    int64_t drawingPasses = 0; // Drawing answers true this many times (-1: always)
    int64_t pumps = 0;
    std::vector<std::string> messages;
    std::function<bool(int32_t, mainwindow::BandSaveFailure&)> save = [](int32_t, auto&) { return true; };
    std::function<std::optional<mainwindow::FileSaveFailure>()> settings = [] { return std::nullopt; };

    void act(const std::string& name) {
        log.push_back(name);
        if (name == failAt) runtime::raise(5, name);
    }
    void KillScopeTimer() override { act("KillScopeTimer"); }
    void Pump() override { ++pumps; }
    bool Drawing() override {
        if (drawingPasses == 0) return false;
        if (drawingPasses > 0) --drawingPasses;
        return true;
    }
    void StopTimers() override { act("StopTimers"); }
    void StopRecorderTimers() override { act("StopRecorderTimers"); }
    void StopEncoderTimer() override { act("StopEncoderTimer"); }
    void Hide() override { act("Hide"); }
    void UnhookWheel() override { act("UnhookWheel"); }
    void StopSound() override { act("StopSound"); }
    void ReleaseDevices() override { act("ReleaseDevices"); }
    int32_t BandCount() override { return 2; }
    bool SaveBandPlan(int32_t i, mainwindow::BandSaveFailure& f) override {
        act("SaveBandPlan " + std::to_string(i));
        return save(i, f);
    }
    void SaveSettings() override { act("SaveSettings"); }
    void SaveVfoSettings() override { act("SaveVfoSettings"); }
    void SaveLineSettings() override { act("SaveLineSettings"); }
    void SaveOscillatorSettings() override { act("SaveOscillatorSettings"); }
    std::optional<mainwindow::FileSaveFailure> SettingsSaveFailure() override {
        act("SettingsSaveFailure");
        return settings();
    }
    void ReleaseRX() override { act("ReleaseRX"); }
    void ClosePort(int32_t line) override { act("ClosePort " + std::to_string(line)); }
    void ReleaseRadioObjects() override { act("ReleaseRadioObjects"); }
    void ReleaseSoundCard() override { act("ReleaseSoundCard"); }
    void ReleaseWavFile() override { act("ReleaseWavFile"); }
    void ShowMessage(const std::string& text) override { messages.push_back(text); }
};

const Log kShutdownOrder = {"KillScopeTimer",
                            "StopTimers",
                            "StopRecorderTimers",
                            "StopEncoderTimer",
                            "Hide",
                            "UnhookWheel",
                            "StopSound",
                            "ReleaseDevices",
                            "SaveBandPlan 0",
                            "SaveBandPlan 1",
                            "SaveSettings",
                            "SaveVfoSettings",
                            "SaveLineSettings",
                            "SaveOscillatorSettings",
                            "SettingsSaveFailure",
                            "ReleaseRX",
                            "ClosePort 0",
                            "ClosePort 1",
                            "ClosePort 2",
                            "ClosePort 3",
                            "ClosePort 4",
                            "ClosePort 5",
                            "ReleaseRadioObjects",
                            "ReleaseSoundCard",
                            "ReleaseWavFile"};

TEST(Shutdown, RunsEveryStepInOrderWhicheverStepFails) {
    for (const std::string& failing : kShutdownOrder) {
        RecordingShutdown p;
        p.failAt = failing;
        mainwindow::runShutdown(p);
        EXPECT_EQ(p.log, kShutdownOrder) << "failing " << failing;
        EXPECT_TRUE(p.messages.empty());
    }
}

TEST(Shutdown, WaitsForTheDisplaysFrameAndGivesUpAtTheBound) {
    RecordingShutdown finishing;
    finishing.drawingPasses = 3;
    mainwindow::runShutdown(finishing);
    EXPECT_EQ(finishing.pumps, 1 + 3);

    RecordingShutdown stuck;
    stuck.drawingPasses = -1;
    mainwindow::runShutdown(stuck);
    EXPECT_EQ(stuck.pumps, 1 + mainwindow::kDisplayWaitPasses + 1);
    EXPECT_EQ(stuck.log, kShutdownOrder);
}

// The band plan store's refusals as the shutdown reports them: a changed read-only file is named, an
// unchanged read-only one and a band never loaded are no failure.
TEST(Shutdown, NamesTheBandPlansThatCouldNotBeSavedInOneMessage) {
    profile::testing::TempFolder folder;
    MainBandArray bands;
    for (const char* plan : {"Amateur.bpl", "Broadcast.bpl", "Amateur.bpl"}) {
        const std::string name = std::to_string(bands.size()) + plan;
        std::filesystem::copy_file(std::string(NERIX_DATA_DIR) + "/" + plan, folder.path() + "/" + name);
        bands.push_back(modBandPlan::newMainBand(folder.path(), name, static_cast<int32_t>(bands.size())));
    }
    ReceiverState state;
    modBandPlan::BandPlanStore store(bands, state);
    ASSERT_TRUE(store.LoadBandPlan(bands[0]));
    ASSERT_TRUE(store.LoadBandPlan(bands[1]));
    // Saved once as the store writes them, so a second save of an unchanged band leaves its file alone.
    ASSERT_TRUE(store.SaveBandPlan(bands[0]));
    ASSERT_TRUE(store.SaveBandPlan(bands[1]));
    for (const auto& b : bands)
        ::chmod(b.FilePath.c_str(), 0444);
    bands[0].Description = "changed";

    RecordingShutdown p;
    p.save = [&](int32_t i, mainwindow::BandSaveFailure& f) {
        f.File = bands[static_cast<size_t>(i)].FilePath;
        return store.SaveBandPlan(bands[static_cast<size_t>(i)], &f.Reason);
    };
    mainwindow::runShutdown(p);
    ASSERT_EQ(p.messages.size(), 1u);
    EXPECT_EQ(p.messages[0],
              "This band plan could not be saved:\r\n" + bands[0].FilePath + " (the file is read-only)");
    // The message comes after the saves of the settings, and the shutdown goes on.
    EXPECT_EQ(p.log, kShutdownOrder);
}

// The settings file is written by the shutdown's own commit, so a file that cannot be written is told in
// the same message as the band plans, once, after every save.
TEST(Shutdown, NamesTheSettingsFileThatCouldNotBeSavedWithTheBandPlans) {
    profile::testing::TempFolder folder;
    const std::string ini = folder.write("NerixSDR/NerixSDR.ini", "[frmMain]\r\nSDRModelNo=13\r\n");
    ::chmod(ini.c_str(), 0444);
    profile::FileSettingsStore store(folder.path());
    const auto shutdownWith = [&store](bool bandFails) {
        RecordingShutdown p;
        p.save = [bandFails](int32_t i, mainwindow::BandSaveFailure& f) {
            f = {"/plans/" + std::to_string(i) + ".bpl", "the file is read-only"};
            return !bandFails || i != 1;
        };
        p.settings = [&]() -> std::optional<mainwindow::FileSaveFailure> {
            store.SaveSetting("NerixSDR", "frmMain", "SDRModelNo", "14");
            if (store.commit()) return std::nullopt;
            const auto failure = store.commitFailure();
            return mainwindow::FileSaveFailure{failure->file, failure->reason};
        };
        mainwindow::runShutdown(p);
        EXPECT_EQ(p.log, kShutdownOrder);
        return p.messages;
    };
    const std::string settingsText = "The settings could not be saved:\r\n" + ini + " (it is read-only)";
    EXPECT_EQ(shutdownWith(false), std::vector<std::string>{settingsText});
    EXPECT_EQ(shutdownWith(true),
              std::vector<std::string>{"This band plan could not be saved:\r\n/plans/1.bpl (the file is "
                                       "read-only)\r\n\r\n" +
                                       settingsText});
    ::chmod(ini.c_str(), 0644);
    EXPECT_TRUE(shutdownWith(false).empty());
    EXPECT_NE(folder.read("NerixSDR/NerixSDR.ini").find("SDRModelNo=14"), std::string::npos);
}

} // namespace
