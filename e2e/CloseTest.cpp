// The program's close as a user makes it: "Off", then "&Close". The process ends by itself with status 0
// and leaves no process behind, the settings file holds the main window's keys with the layout last chosen,
// and a band plan changed in the run that cannot be written is named once.
#include <sys/prctl.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <vector>

#include "e2e/Gestures.h"

namespace e2e {
namespace {

namespace fs = std::filesystem;
namespace design = mainwindow::design;

using Close = EndToEnd;

// Every key the main window writes at its close, in its section "frmMain".
const std::vector<std::string> kMainWindowKeys = {"SDRModelNo",
                                                  "SDRBackgroundColour",
                                                  "SDRFrameFocusColour",
                                                  "SDRFrameNormalColour",
                                                  "SDRLabelColour",
                                                  "SDRTuningColour",
                                                  "ScrollableLabelFocusColour",
                                                  "ScrollableLabelNormalColour",
                                                  "CurrentMainBandIndex",
                                                  "NoiseFloor",
                                                  "DisplayMode",
                                                  "PerfStatsOn",
                                                  "UseSPL",
                                                  "ShaftAutoRate",
                                                  "EnableShaftEncoder",
                                                  "ScrollWheelEnableOverScope",
                                                  "ScopeSource",
                                                  "NBOn",
                                                  "NB",
                                                  "CurrentPlaybackDevice",
                                                  "CurrentCaptureDevice",
                                                  "MuteAf",
                                                  "AutoDDSRefresh",
                                                  "MouseOverS.HiLiteBorder",
                                                  "KBDSupport",
                                                  "DRM.RunDreamOnDRM",
                                                  "DRM.MuteAFOnDRM",
                                                  "DRM.CloseSoundcardOnDRM",
                                                  "DRM.PathToDream",
                                                  "DRM.DreamProgArgs",
                                                  "DRM.DreamWindowStyle",
                                                  "DRM.DreamCloseOnExit",
                                                  "DRM.DreamCloseOnModeChange",
                                                  "AutoTrackPresets",
                                                  "FormCaptionOffOnPwrOn",
                                                  "AutoStartSDR",
                                                  "SaveRecordingsPath",
                                                  "PhaseBitCorrection",
                                                  "FlipIQ",
                                                  "SoundcardCorrection",
                                                  "SoundcardCorrectionAmpBalance",
                                                  "DDSIFType",
                                                  "RunPriority"};

// While alive, this process adopts the orphans of its descendants, so a process the program leaves
// behind when it ends becomes this one's child, where the test sees it.
class Adopter {
public:
    Adopter() { ::prctl(PR_SET_CHILD_SUBREAPER, 1); }
    ~Adopter() { ::prctl(PR_SET_CHILD_SUBREAPER, 0); }

    // This process's children other than the servers', alive or not yet reaped.
    static std::vector<std::string> adopted(const std::vector<pid_t>& own) {
        std::vector<std::string> out;
        for (const ProcessEntry& p : processes())
            if (p.parent == ::getpid() && std::find(own.begin(), own.end(), p.pid) == own.end())
                out.push_back(p.name + " " + p.state);
        return out;
    }
};

int clientHeight(int16_t layout) {
    return ui::designPixels(design::clientHeight(layout, false));
}

TEST_F(Close, OffThenCloseEndsCleanlyKeepsTheLayoutAndNamesTheBandPlanThatCouldNotBeSaved) {
    sandbox_.writeSettings(softRockSettings(true));
    const fs::path amateur = sandbox_.home() / "Amateur.bpl", broadcast = sandbox_.home() / "Broadcast.bpl";
    const std::string amateurBefore = readFile(amateur);
    const Adopter adopter;
    auto program = start();
    ASSERT_TRUE(main_);
    ASSERT_TRUE(waitForLine(sandbox_.traceFile(), "frmMain:frmMain:Form_Load:End", kBound));
    ASSERT_EQ(main_->height, clientHeight(design::kLayoutExtended));

    // The full layout shows the band plan's presets; Shift + right-click stores the tuned frequency in the
    // first one, a change to the band plan in use, the first one read.
    main_ = chooseLayout(screen(), kSoftRockCaption, *main_, design::kLayoutFull);
    ASSERT_TRUE(main_) << "the full layout never showed";
    screen().keyDown(keysym::kShiftL);
    clickControl(screen(), *main_, design::presetButton(0, false), 3);
    screen().keyUp(keysym::kShiftL);
    photograph(*main_, "close-full-layout-preset-stored");
    // Neither band plan may be written now; the other one, not loaded in this run, is not written at all.
    for (const fs::path& p : {amateur, broadcast})
        fs::permissions(p, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);

    // "About a second" on a quiet machine; on a busy one the wait goes on while the close makes progress.
    std::string why;
    const auto status = offAndClose(screen(), *main_, sandbox_, *program, &why);
    ASSERT_TRUE(status) << "the program did not end after \"&Close\": " << why;
    EXPECT_TRUE(WIFEXITED(*status) && WEXITSTATUS(*status) == 0) << "wait status " << *status << "; stderr:\n"
                                                                 << readFile(sandbox_.root() / "stderr");
    const std::vector<pid_t> servers{servers_->x().pid(), servers_->sound().pid()};
    EXPECT_EQ(Adopter::adopted(servers), std::vector<std::string>{}) << "processes left behind";

    const std::string refused = "NerixSDR\t0\tThis band plan could not be saved:\\r\\n" + amateur.string() +
                                " (the file is read-only)";
    EXPECT_EQ(sandbox_.dialogs(), std::vector<std::string>{refused});
    EXPECT_EQ(readFile(amateur), amateurBefore);
    const auto saved = iniSection(sandbox_.settingsFile(), "frmMain");
    for (const std::string& key : kMainWindowKeys)
        EXPECT_TRUE(saved.count(key)) << "the settings file lacks frmMain's " << key;
    EXPECT_EQ(saved.size(), kMainWindowKeys.size()) << "keys other than the main window's in its section";
    EXPECT_EQ(saved.count("DisplayMode") ? saved.at("DisplayMode") : "", std::to_string(design::kLayoutFull));

    // The next run loads both band plans, read-only as they are, in the layout saved. Its close names the
    // band plan in use again: the band's state (its active sub-band and preset) is kept in it.
    program.reset();
    fs::remove(sandbox_.traceFile()); // each run starts its own
    program = start();
    ASSERT_TRUE(main_);
    ASSERT_TRUE(waitForLine(sandbox_.traceFile(), "frmMain:frmMain:Form_Load:End", kBound));
    EXPECT_EQ(main_->height, clientHeight(design::kLayoutFull));
    EXPECT_EQ(traceCount(sandbox_, "frmSupervisor.Initialise:Processing Amateur.bpl"), 1u);
    EXPECT_EQ(traceCount(sandbox_, "frmSupervisor.Initialise:Processing Broadcast.bpl"), 1u);
    for (const std::string& line : sandbox_.trace())
        EXPECT_EQ(line.find("cannot be read"), std::string::npos) << line;
    const auto again = offAndClose(screen(), *main_, sandbox_, *program, &why);
    ASSERT_TRUE(again) << "the program did not end after the second \"&Close\": " << why;
    EXPECT_TRUE(WIFEXITED(*again) && WEXITSTATUS(*again) == 0) << "wait status " << *again;
    EXPECT_EQ(sandbox_.dialogs(), (std::vector<std::string>{refused, refused}));
}

} // namespace
} // namespace e2e
