// The recorder panel's widgets on a stand-in main window, offscreen, driven by mouse clicks: tooltips,
// faces, the track list laid over the preset frame, and the error window whose OK ends the wait.
#include <gtest/gtest.h>

#include <QApplication>
#include <QListWidget>
#include <QTest>
#include <QTimer>
#include <filesystem>
#include <fstream>
#include <unistd.h>

#include "platform/files/testing/FaultyFileSystem.h"
#include "platform/profile/SettingsStore.h"
#include "platform/runtime/Hooks.h"
#include "platform/ui/Form.h"
#include "platform/ui/Twips.h"
#include "recorder/RecorderControls.h"
#include "recorder/clsWavFile.h"

namespace {

namespace fs = std::filesystem;
using namespace recorder;

struct Dialogs final : FileDialogService {
    std::optional<std::string> answer;
    std::optional<std::string> ShowOpen(const FileDialogRequest&) override { return answer; }
    std::optional<std::string> ShowSave(const FileDialogRequest&) override { return answer; }
};

struct Power final : PowerButton {
    int16_t selected = 1;
    void setPowerChoice(int16_t i, bool s) override {
        if (s) selected = i;
    }
};

std::string le32(uint32_t v) {
    std::string s(4, '\0');
    for (int i = 0; i < 4; ++i)
        s[std::size_t(i)] = char(v >> (8 * i));
    return s;
}

// Two tracks of a second at 12000 Hz, 16-bit, with their log.
void writeTwoTracks(const std::string& path) {
    const uint32_t n = 12000 * 2;
    std::string log;
    for (const char* e : {"F=0070500000\4T=2007-07-01 12:34:56\4S=0000000044\4E=0000024044\4",
                          "F=0141000000\4T=2007-07-01 12:35:57\4S=0000024044\4E=0000048044\4"}) {
        for (char c : std::string(e) + '\0') {
            log += c;
            log += '\0';
        }
    }
    std::ofstream out(path, std::ios::binary);
    out << "RIFF" << le32(36 + 2 * n) << "WAVEfmt " << le32(16) << std::string("\1\0\1\0", 4) << le32(12000)
        << le32(24000) << std::string("\2\0\x10\0", 4) << "data" << le32(2 * n) << std::string(2 * n, '\0')
        << "Nerix" << log;
}

// The main window's part, as it will compose the panel.
class RecorderWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() / ("nerix-panelwin-" + std::to_string(::getpid()) + "-" +
                                            ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(dir_);
        fs::create_directories(dir_);
        form_.setClientSize(12465, 4305);
        form_.setBackColor(0x404040);
        frPresets_.Move(60, 300, 6000, 3135);
        frPresets_.setBackColor(0x404040);
        frPresets_.setForeColor(0xFFFF00);
        picRecorder_.Move(60, 3555, 12345, 630);
        picRecorder_.setBackColor(0x404040);
        controls_.centreButtons(picRecorder_.ScaleHeight());

        wav_ = std::make_unique<clsWavFile>(settings_, faulty_, dir_.string());
        wav_->setName("WavFile");
        RecorderPanel::Ports ports;
        ports.power = &power_;
        ports.presets = &presetFrame_;
        ports.recordingsFolder = [this] { return dir_.string(); };
        panel_ = std::make_unique<RecorderPanel>(*wav_, controls_, ports);
        WavFilePorts wp;
        wp.listener = panel_.get();
        wp.dialogs = &dialogs_;
        wav_->setPorts(wp);
        controls_.connect(*panel_);
        wav_->init();
        panel_->startUp();
        form_.Show();
    }
    void TearDown() override {
        panel_->stopTimers();
        fs::remove_all(dir_);
    }

    void click(int16_t i) { QTest::mouseClick(controls_.cmdWavCtls[i].widget(), Qt::LeftButton); }
    QRgb faceCorner(int16_t i) { return controls_.cmdWavCtls[i].widget()->grab().toImage().pixel(3, 3); }
    std::string path(const std::string& name) const { return (dir_ / name).string(); }

    fs::path dir_;
    files::PosixFileSystem real_;
    files::testing::FaultyFileSystem faulty_{real_};
    profile::MemorySettingsStore settings_;
    Dialogs dialogs_;
    Power power_;
    // The panel outlives the recorder, whose close may still report; the widgets go first.
    std::unique_ptr<RecorderPanel> panel_;
    std::unique_ptr<clsWavFile> wav_;
    ui::Form form_;
    ui::Frame frPresets_{&form_, "Presets"};
    ui::PictureBox picRecorder_{&form_};
    ControlPresetFrame presetFrame_{frPresets_};
    RecorderControls controls_{{picRecorder_.widget(), &form_, &form_}};
};

TEST_F(RecorderWindowTest, ButtonsShowTheirTooltipsAndStartWithRecordAndLoad) {
    const std::vector<std::string> tips = {"Record",
                                           "Play",
                                           "Pause",
                                           "Stop",
                                           "Next Track",
                                           "Previous Track",
                                           "Continuous Looping Playback",
                                           "Load Wav File",
                                           "Save Recording",
                                           "Close Recorder"};
    for (int16_t i = 0; i < 10; ++i) {
        EXPECT_EQ(controls_.cmdWavCtls[i].ToolTipText(), tips[std::size_t(i)]);
        EXPECT_EQ(controls_.cmdWavCtls[i].widget()->size(), QSize(20, 20));
        EXPECT_EQ(controls_.cmdWavCtls[i].Enabled(), i == 0 || i == 7) << i;
        EXPECT_EQ(controls_.cmdWavCtls[i].Top(), 165);
    }
    EXPECT_EQ(controls_.txtRecordFileName.ToolTipText(), "Filename for recording");
    EXPECT_EQ(controls_.txtRecordFileName.Text(), "nerixsdr.wav");
}

TEST_F(RecorderWindowTest, LoadLaysTheTrackListOverThePresetFrameAndPauseAndLoopTurnRed) {
    writeTwoTracks(path("two.wav"));
    dialogs_.answer = path("two.wav");
    const QRgb restingFace = faceCorner(transport::kPause);
    click(transport::kLoad);

    QWidget* panel = controls_.picRecorderTrackList.widget();
    EXPECT_TRUE(panel->isVisible());
    EXPECT_EQ(panel->geometry(), frPresets_.widget()->geometry());
    // What a user sees at the frame's centre is the track list, not the presets.
    const QPoint centre = frPresets_.widget()->geometry().center();
    QWidget* seen = form_.childAt(centre);
    ASSERT_NE(seen, nullptr);
    EXPECT_TRUE(seen == panel || panel->isAncestorOf(seen));
    EXPECT_EQ(controls_.lstRecordingLogs.ListCount(), 2);
    EXPECT_EQ(controls_.lstRecordingLogs.List(1), " 14100 2007-07-01 12:35:57 00:00:01");
    EXPECT_EQ(controls_.lstRecordingLogs.ListIndex(), 0);
    EXPECT_EQ(controls_.txtRecordingLogHeaders.Text(), " F(KHz)   Date      Time   Duration");
    EXPECT_EQ(controls_.txtRecordFileName.Text(), "two.wav");
    form_.grab().save("recorder-panel-loaded.png");
    const QRect row =
        controls_.cmdWavCtls[0].widget()->geometry().united(controls_.cmdWavCtls[9].widget()->geometry());
    picRecorder_.widget()->grab(row).toImage().scaled(row.size() * 4).save("recorder-faces.png");

    click(transport::kPlay);
    EXPECT_EQ(power_.selected, 0);
    click(transport::kPause);
    EXPECT_EQ(faceCorner(transport::kPause), qRgb(255, 0, 0));
    click(transport::kLoop);
    EXPECT_EQ(faceCorner(transport::kLoop), qRgb(255, 0, 0));
    click(transport::kPause);
    EXPECT_EQ(faceCorner(transport::kPause), restingFace);
    form_.grab().save("recorder-panel-playing.png");

    // A row the user clicks is the track picked.
    QListWidget* list = qobject_cast<QListWidget*>(controls_.lstRecordingLogs.widget());
    ASSERT_NE(list, nullptr);
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(1)).center());
    EXPECT_EQ(panel_->ListIndex(), 1);

    click(transport::kClose);
    EXPECT_FALSE(panel->isVisible());
    EXPECT_TRUE(controls_.cmdWavCtls[transport::kRecord].Enabled());
    EXPECT_FALSE(controls_.cmdWavCtls[transport::kPlay].Enabled());
}

TEST_F(RecorderWindowTest, TheErrorWindowWaitsUntilItsOkIsClicked) {
    runtime::ScopedHooks hooks({});
    faulty_.faults.createError = runtime::err::kPermissionDenied;
    bool busyWhileShown = false;
    QTimer::singleShot(0, &form_, [&] {
        frmRecordFileError* w = controls_.errorWindow();
        ASSERT_NE(w, nullptr);
        EXPECT_TRUE(w->isVisible());
        EXPECT_EQ(w->Caption(), "Recording File Error");
        EXPECT_EQ(std::pair(w->ScaleWidth(), w->ScaleHeight()), std::pair(6030, 1950));
        busyWhileShown = panel_->WavCtlsBusy();
        w->grab().save("recorder-file-error.png");
        QTest::mouseClick(w->OKButton.widget(), Qt::LeftButton);
    });
    click(transport::kRecord);
    ASSERT_NE(controls_.errorWindow(), nullptr);
    EXPECT_FALSE(controls_.errorWindow()->isVisible());
    EXPECT_TRUE(busyWhileShown);
    EXPECT_FALSE(panel_->WavCtlsBusy());
    EXPECT_EQ(
        controls_.errorWindow()->txtMessage.Text(),
        "Unable to Create Temporary File " + path("~NerixWAV.TMP") +
            "\r\n Another application may be using the file\r\nClose the file in the other application");
    EXPECT_TRUE(controls_.cmdWavCtls[transport::kRecord].Enabled());

    // Reports that do not wait go below what the window already shows.
    controls_.reportRecordFileError("first");
    controls_.reportRecordFileError("second");
    EXPECT_EQ(controls_.errorWindow()->txtMessage.Text(), "first\r\nsecond");
    controls_.errorWindow()->Unload();
}

} // namespace
