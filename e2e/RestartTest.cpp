// A restart keeps the receiver: the Soft Rock 40 chosen in the configuration dialog and tuned by a preset
// below its crystal's frequency comes back after a close with the same readout, the same side switch and
// the same station heard; a preset stored with Shift + right click names the frequency it holds.
#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "config/ConfigDesign.h"
#include "e2e/EndToEnd.h"
#include "e2e/Gestures.h"
#include "e2e/harness/TestBand.h"
#include "mainwindow/MainWindowDesign.h"

namespace e2e {
namespace {

namespace fs = std::filesystem;
namespace md = mainwindow::design;
namespace cd = config::design;

constexpr bool kElektorPanel = false; // neither Soft Rock has one
// The band's own tuning, below the Soft Rock 80's crystal frequency (3 527 000 Hz), so that model starts
// on the lower side with "IQ Upper" unticked.
constexpr int64_t kSubBandHz = 3'510'000;
// Model 12, the list's entry above the Soft Rock 40.
const std::string kSoftRock80Caption = "NerixSDR - Soft Rock 80-3.527MHz";
const std::string kConfigCaption = "NerixSDR - Configuration";
// The preset's dial lies 12 kHz below the crystal's 7 055 000 Hz: the chain takes the lower side there.
constexpr int64_t kDialHz = 7'043'000;
constexpr int64_t kAudioHz = 1000;
constexpr int64_t kStationHz = stationHz(kDialHz, Sideband::Usb, kAudioHz);
static_assert(kDialHz < kSoftRockLoHz);

const std::string kModelSection = "RXModel.Soft Rock 40-7.055MHz";

// Which pixels of a part of the picture are lit (a channel at half its range or more): a readout's
// segments and a box's tick whatever their brightness, which follows the tuning step and the colours.
std::vector<bool> litIn(const Picture& window, const ui::PixelRect& r) {
    std::vector<bool> lit;
    for (int y = 0; y < r.Height; ++y)
        for (int x = 0; x < r.Width; ++x) {
            const uint32_t p = window.at(r.X + x, r.Y + y);
            lit.push_back(((p >> 16) & 0xff) >= 0x80 || ((p >> 8) & 0xff) >= 0x80 || (p & 0xff) >= 0x80);
        }
    return lit;
}

// How many pixels are lit in one and not in the other.
size_t differing(const std::vector<bool>& a, const std::vector<bool>& b) {
    size_t n = a.size() == b.size() ? 0 : std::max(a.size(), b.size());
    for (size_t i = 0; i < std::min(a.size(), b.size()); ++i)
        n += a[i] != b[i] ? 1 : 0;
    return n;
}
// The readout draws the tuning step's digit brighter, which moves a few anti-aliased edge pixels across
// the threshold; a digit or a tick of its own changes hundreds.
constexpr size_t kEdgePixels = 40;

std::string keyOf(const std::map<std::string, std::string>& keys, const std::string& key) {
    const auto k = keys.find(key);
    return k == keys.end() ? "(missing)" : k->second;
}

class Restart : public EndToEnd {
protected:
    // The readout's lit segments and the side switch's box (the square at its left) as the user sees
    // them now.
    struct Face {
        std::vector<bool> readout, side;
    };
    Face face(const std::string& name) {
        const Picture window = photograph(*main_, name);
        ui::PixelRect box = md::sideSwitch().pixels();
        box.Width = box.Height;
        return {litIn(window, ui::DesignPath(md::frFreqCtl).then(frontpanel::design::picFreqDisp).pixels()),
                litIn(window, box)};
    }
    void click(const ui::DesignPath& control, int button = 1) {
        clickControl(screen(), *main_, control, button);
    }
};

TEST_F(Restart, TheReadoutTheSideAndTheStationHeardAreThoseTheUserLeft) {
    sandbox_.addBandPlan(kTestBandFile, testBandPlan(kSubBandHz, Sideband::Lsb, kDialHz, Sideband::Usb));
    sandbox_.writeSettings("[frmMain]\r\nSDRModelNo=12\r\nAutoStartSDR=True\r\nDisplayMode=3\r\n"
                           "CurrentMainBandIndex=" +
                           std::to_string(kTestBandIndex) + "\r\n");
    auto program = start({"trace"}, kSoftRock80Caption);
    ASSERT_TRUE(main_);
    ASSERT_TRUE(waitForLine(sandbox_.traceFile(), "frmMain:frmMain:Form_Load:End", kBound));

    // The Soft Rock 40, the next entry of the model list, chosen and applied with OK.
    click(md::configButton(kElektorPanel));
    const auto config = screen().waitFor(kConfigCaption, kBound);
    ASSERT_TRUE(config);
    screen().click(*config, cd::firstTab().pixels().centreX(), cd::firstTab().pixels().centreY());
    const ui::PixelRect list = cd::modelList().pixels();
    screen().click(*config, list.centreX(), list.centreY());
    screen().key(keysym::kDown);
    screen().key(keysym::kReturn);
    screen().click(*config, cd::okButton().pixels().centreX(), cd::okButton().pixels().centreY());
    ASSERT_TRUE(screen().waitGone(kConfigCaption, kBound));
    main_ = screen().waitFor(kSoftRockCaption, kBound);
    ASSERT_TRUE(main_) << "the main window never named the Soft Rock 40";

    Face before;
    {
        const ToneSource station(servers_->folder(), toneOffsetHz(kStationHz));
        click(md::presetButton(0, kElektorPanel));
        ASSERT_TRUE(waitForTone(servers_->folder(), kAudioHz)) << "the preset does not play the station";
        // Shift + right click stores the receiver into the second preset, unused until now.
        screen().keyDown(keysym::kShiftL);
        click(md::presetButton(1, kElektorPanel), 3);
        screen().keyUp(keysym::kShiftL);
        EXPECT_TRUE(waitForTone(servers_->folder(), kAudioHz)) << "the store changed what is heard";
        before = face("restart-before-close");
    }
    std::string why;
    const auto closed = offAndClose(screen(), *main_, sandbox_, *program, &why);
    ASSERT_TRUE(closed) << "the program did not end after \"&Close\": " << why;
    const auto model = iniSection(sandbox_.settingsFile(), kModelSection);
    EXPECT_EQ(keyOf(model, "TunedFrequency"), std::to_string(kDialHz * 10));
    EXPECT_EQ(keyOf(model, "HiSideLo"), "True");
    const auto stored = iniSection(sandbox_.home() / kTestBandFile, "Preset.0.1");
    EXPECT_EQ(keyOf(stored, "FreqCurrent"), std::to_string(kDialHz));
    EXPECT_EQ(keyOf(stored, "Caption"), std::to_string(kDialHz / 1000));

    program.reset();
    fs::remove(sandbox_.traceFile()); // each run starts its own
    program = start();
    ASSERT_TRUE(main_);
    ASSERT_TRUE(waitForLine(sandbox_.traceFile(), "frmMain:frmMain:Form_Load:End", kBound));
    {
        const ToneSource station(servers_->folder(), toneOffsetHz(kStationHz));
        EXPECT_TRUE(waitForTone(servers_->folder(), kAudioHz))
            << "the station is not heard after the restart";
        const Face after = face("restart-after-start");
        EXPECT_LE(differing(after.readout, before.readout), kEdgePixels) << "the readout changed";
        EXPECT_LE(differing(after.side, before.side), kEdgePixels) << "the side switch changed";
    }
    const auto again = offAndClose(screen(), *main_, sandbox_, *program, &why);
    ASSERT_TRUE(again) << "the program did not end after the second \"&Close\": " << why;
    EXPECT_EQ(keyOf(iniSection(sandbox_.settingsFile(), kModelSection), "TunedFrequency"),
              std::to_string(kDialHz * 10));
    EXPECT_TRUE(sandbox_.dialogs().empty()) << "a message was shown: " << sandbox_.dialogs().front();
}

} // namespace
} // namespace e2e
