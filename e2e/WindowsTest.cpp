// Every window of the program reached as a user reaches it, photographed from the X server: the picture
// has the window's size on the server and is not blank.
#include <algorithm>
#include <chrono>
#include <cstdint>
#include <string>
#include <thread>
#include <vector>

#include "config/ConfigDesign.h"
#include "e2e/EndToEnd.h"
#include "e2e/Gestures.h"
#include "frontpanel/FrontPanelDesign.h"
#include "mainwindow/MainWindowDesign.h"
#include "radio/CalibrateDesign.h"
#include "recorder/RecorderPanelPorts.h"

namespace e2e {
namespace {

namespace md = mainwindow::design;
namespace cd = config::design;
namespace fd = frontpanel::design;

const std::string kConfigCaption = "NerixSDR - Configuration";
// The tabs' captions, in order, as file names.
const char* const kTabNames[] = {"general",   "soundcard",   "vfo",   "dds",
                                 "serial-if", "parallel-if", "dream", "spectrum-display",
                                 "controls",  "about"};

class Windows : public EndToEnd {
protected:
    // The picture of the window, checked to be the window's size on the server.
    Picture shoot(const WindowOnScreen& w, const std::string& name) {
        Picture p = photograph(w, name);
        EXPECT_EQ(p.width, w.width) << name;
        EXPECT_EQ(p.height, w.height) << name;
        return p;
    }

    void click(const WindowOnScreen& w, const ui::PixelRect& r, int button = 1) {
        screen().click(w, r.centreX(), r.centreY(), button);
    }

    // Waits within the bound for a popup of the size; the topmost such.
    std::optional<WindowOnScreen> waitForPopup(int width, int height) {
        const auto deadline = std::chrono::steady_clock::now() + kBound;
        for (;;) {
            const auto popups = screen().popups();
            for (auto w = popups.rbegin(); w != popups.rend(); ++w)
                if (w->width == width && w->height == height) return *w;
            if (std::chrono::steady_clock::now() > deadline) return std::nullopt;
            std::this_thread::sleep_for(10ms);
        }
    }

    // Waits for a dialog to come, photographs it, and closes it with the button at the place.
    Picture photographDialog(const std::string& caption, const std::string& name,
                             const ui::PixelRect& close) {
        const auto dialog = screen().waitFor(caption, kBound);
        EXPECT_TRUE(dialog) << caption;
        if (!dialog) return {};
        Picture picture = shoot(*dialog, name);
        click(*dialog, close);
        EXPECT_TRUE(screen().waitGone(caption, kBound)) << caption;
        return picture;
    }
};

struct Layout {
    int16_t index;
    const char* name;
};
constexpr Layout kLayouts[] = {{md::kLayoutCompact, "comp"},
                               {md::kLayoutStandard, "std"},
                               {md::kLayoutExtended, "ext"},
                               {md::kLayoutFull, "full"}};

TEST_F(Windows, TheMainWindowsLayoutsAndTheTraceLogArePhotographed) {
    sandbox_.writeSettings(softRockSettings(false));
    auto program = start();
    ASSERT_TRUE(main_);

    const auto log = screen().waitFor("NerixSDR Log Display", kBound);
    ASSERT_TRUE(log);
    ASSERT_TRUE(waitForLine(sandbox_.traceFile(), "frmMain:frmMain:Form_Load:End", kBound));
    // Without a window manager the main window, shown after it, covers it.
    screen().raise(*log);
    shoot(*log, "trace-log");
    screen().raise(*main_);

    const int width = ui::designPixels(md::kClientWidth);
    for (const Layout& layout : kLayouts) {
        SCOPED_TRACE(layout.name);
        const int height = ui::designPixels(md::clientHeight(layout.index, false));
        const auto w = chooseLayout(screen(), kSoftRockCaption, *main_, layout.index);
        ASSERT_TRUE(w);
        ASSERT_EQ(w->width, width);
        ASSERT_EQ(w->height, height);
        shoot(*w, std::string("main-") + layout.name);
        main_ = w;
    }

    // The configuration dialog from the Full layout; each tab in turn from the first by the arrow key.
    click(*main_, md::configButton(false).pixels());
    const auto config = screen().waitFor(kConfigCaption, kBound);
    ASSERT_TRUE(config);
    EXPECT_EQ(config->width, ui::designPixels(cd::kClientWidth));
    EXPECT_EQ(config->height, ui::designPixels(cd::kClientHeight));
    // A tab clicked takes the focus; Right then goes to the next tab.
    const auto toTab = [&](int k) {
        click(*config, cd::firstTab().pixels());
        for (int i = 0; i < k; ++i)
            screen().key(keysym::kRight);
    };
    toTab(0);
    std::vector<Picture> tabs;
    for (int k = 0; k < 10; ++k) {
        SCOPED_TRACE(kTabNames[k]);
        if (k > 0) screen().key(keysym::kRight);
        tabs.push_back(shoot(*config, "config-tab-" + std::to_string(k) + "-" + kTabNames[k]));
        if (k == cd::kPageDDS) {
            click(*config, cd::calibrateButton().pixels());
            const Picture calibration = photographDialog("NerixSDR - Calibrate DDS CLKIN", "calibration",
                                                         ui::DesignPath(radio::design::cmdCancel).pixels());
            // The saved receiver's software oscillator has no clock of its own to calibrate: "&Try It" and
            // "&Apply" show disabled, their captions lighter than "&Cancel"'s (once, an absurd clock was
            // offered for applying).
            const auto darkest = [&](const ui::DesignRect& button) {
                const ui::PixelRect r = ui::DesignPath(button).pixels();
                int least = 255 * 3;
                for (int y = r.Y; y < std::min(r.Y + r.Height, calibration.height); ++y)
                    for (int x = r.X; x < std::min(r.X + r.Width, calibration.width); ++x) {
                        const uint32_t p = calibration.at(x, y);
                        least = std::min<int>(least,
                                              int(p & 0xFF) + int((p >> 8) & 0xFF) + int((p >> 16) & 0xFF));
                    }
                return least;
            };
            const int cancel = darkest(radio::design::cmdCancel);
            EXPECT_GT(darkest(radio::design::cmdTry), cancel + 60) << "\"&Try It\" shows enabled";
            EXPECT_GT(darkest(radio::design::cmdApply), cancel + 60) << "\"&Apply\" shows enabled";
            // The focus went back to Calibrate.
            toTab(k);
        }
    }
    // Each tab showed a page of its own.
    for (size_t a = 0; a < tabs.size(); ++a)
        for (size_t b = a + 1; b < tabs.size(); ++b)
            EXPECT_NE(tabs[a].pixels, tabs[b].pixels)
                << kTabNames[a] << " and " << kTabNames[b] << " look alike";
    click(*config, cd::cancelButton().pixels());
    EXPECT_TRUE(screen().waitGone(kConfigCaption, kBound));
    EXPECT_TRUE(sandbox_.dialogs().empty()) << "a message was shown: " << sandbox_.dialogs().front();
}

TEST_F(Windows, ThePresetDialogsThePresetPopUpAndTheTrackListArePhotographed) {
    sandbox_.writeSettings(softRockSettings(true, "DisplayMode=3\r\n"));
    auto program = start();
    ASSERT_TRUE(main_);
    const auto full =
        waitForHeight(screen(), kSoftRockCaption, ui::designPixels(md::clientHeight(md::kLayoutFull, false)));
    ASSERT_TRUE(full);
    ASSERT_EQ(full->width, ui::designPixels(md::kClientWidth));
    main_ = full;

    // The right button's menu on a preset: Save, then Edit the preset just saved.
    constexpr int kPreset = 2;
    const ui::PixelRect preset = md::presetButton(kPreset, false).pixels();
    sandbox_.answerPopupMenu("Save to Preset");
    click(*main_, preset, 3);
    photographDialog("NerixSDR - Save Current Settings to Preset " + std::to_string(kPreset), "preset-save",
                     ui::DesignPath(fd::presetDialogSave).pixels());
    // The saved preset's handler may still run after its dialog has gone, and refuses a click meanwhile:
    // the right button is pressed again until the menu was asked for.
    sandbox_.answerPopupMenu("Edit Preset");
    const std::string editMenu = "popup menu\tEdit Preset";
    for (int i = 0; i < 8 && !waitForLine(sandbox_.root() / "dialogs", editMenu, i == 0 ? 0ms : 2500ms); ++i)
        click(*main_, preset, 3);
    photographDialog("NerixSDR - Edit Preset " + std::to_string(kPreset), "preset-edit",
                     ui::DesignPath(fd::presetDialogCancel).pixels());

    // Ctrl over the preset, which has the focus once clicked, turns the pop-up on; the pointer over it
    // fills it.
    click(*main_, preset);
    screen().key(keysym::kControlL);
    screen().move(*main_, preset.centreX() + 2, preset.centreY() + 1);
    const auto popup =
        waitForPopup(ui::designPixels(fd::kPresetDescWidth), ui::designPixels(fd::kPresetDescHeight));
    ASSERT_TRUE(popup);
    // The pop-up is pale yellow (0x00C0FFFF) under its two lines of text.
    const Picture popupPicture = shoot(*popup, "preset-popup");
    const auto paleYellow = std::count(popupPicture.pixels.begin(), popupPicture.pixels.end(), 0xFFFFC0u);
    EXPECT_GE(2 * static_cast<size_t>(paleYellow), popupPicture.pixels.size())
        << "preset-popup.png does not show the pop-up";

    // A second of the receiver recorded and saved, then loaded: its track list takes the preset
    // frame's place.
    const auto take = sandbox_.root() / "take.wav";
    click(*main_, md::recorderButton(recorder::transport::kRecord, false).pixels());
    std::this_thread::sleep_for(1200ms);
    click(*main_, md::recorderButton(recorder::transport::kStop, false).pixels());
    sandbox_.answerFileDialog(take.string());
    const std::string saved = "Select Filename to Save Recording\tfile save\t" + take.string();
    ASSERT_TRUE(clickUntilLine(screen(), *main_,
                               md::recorderButton(recorder::transport::kSave, false).pixels(),
                               sandbox_.root() / "dialogs", saved))
        << ::testing::PrintToString(sandbox_.dialogs());
    sandbox_.answerFileDialog(take.string());
    const std::string loaded = "Select Filename\tfile open\t" + take.string();
    ASSERT_TRUE(clickUntilLine(screen(), *main_,
                               md::recorderButton(recorder::transport::kLoad, false).pixels(),
                               sandbox_.root() / "dialogs", loaded))
        << ::testing::PrintToString(sandbox_.dialogs());
    const Picture window = photograph(*main_, "main-track-list");
    const ui::PixelRect list = md::trackList(false).pixels();
    Picture part;
    part.width = list.Width;
    part.height = list.Height;
    for (int y = 0; y < list.Height; ++y)
        for (int x = 0; x < list.Width; ++x)
            part.pixels.push_back(window.at(list.X + x, list.Y + y));
    EXPECT_TRUE(part.savePng((screenshotFolder() / "track-list.png").string()));
    EXPECT_TRUE(saveContactSheet(screenshotFolder()));
    EXPECT_GE(part.colours(), 2) << "the track list is blank";

    EXPECT_EQ(sandbox_.dialogs(), (std::vector<std::string>{
                                      "popup menu\tSave to Preset",
                                      "popup menu\tEdit Preset",
                                      saved,
                                      loaded,
                                  }));
}

} // namespace
} // namespace e2e
