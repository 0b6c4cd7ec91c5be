// The recorder panel in the real main window, over simulated sound and the real recorder on the rig's
// folder: a user records, saves, loads the file back and plays it through the receiver; a disk fault reaches
// the error window through the window's event loop; a recording left by the close is named at the next
// start; and the window is drawn with the panel in each layout.
#include <gtest/gtest.h>

#include <QApplication>
#include <QTest>
#include <algorithm>
#include <cmath>
#include <fstream>
#include <iterator>
#include <set>

#include "mainwindow/tests/MainWindowRig.h"
#include "recorder/RecorderControls.h"
#include "recorder/RecorderPanel.h"

namespace {

using namespace recorder;
constexpr int64_t kBlock = 2048;

uint32_t le32(const std::string& bytes, size_t at) {
    uint32_t v = 0;
    for (size_t i = 0; i < 4; ++i)
        v |= uint32_t(uint8_t(bytes.at(at + i))) << (8 * i);
    return v;
}

// A WAV file as a reader that is not the recorder's sees it: the format fields and the 16-bit samples.
struct WavRead {
    bool riff = false;
    uint32_t channels = 0, rate = 0, bits = 0;
    std::vector<int16_t> samples;
};
WavRead readWav(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    const std::string b((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    WavRead w;
    if (b.size() < 44) return w;
    w.riff =
        b.compare(0, 4, "RIFF") == 0 && b.compare(8, 8, "WAVEfmt ") == 0 && b.compare(36, 4, "data") == 0;
    w.channels = le32(b, 22) & 0xFFFF;
    w.rate = le32(b, 24);
    w.bits = le32(b, 34) & 0xFFFF;
    const uint32_t size = std::min<uint32_t>(le32(b, 40), uint32_t(b.size() - 44));
    for (uint32_t i = 0; i + 1 < size; i += 2)
        w.samples.push_back(int16_t(uint16_t(uint8_t(b[44 + i])) | uint16_t(uint8_t(b[45 + i])) << 8));
    return w;
}

double rms(const std::vector<int16_t>& v, size_t from, size_t to) {
    to = std::min(to, v.size());
    if (from >= to) return 0;
    double sum = 0;
    for (size_t i = from; i < to; ++i)
        sum += double(v[i]) * v[i];
    return std::sqrt(sum / double(to - from));
}

class RecorderInWindow : public ::testing::Test, public mainwindowtest::MainWindowRig {
protected:
    RecorderInWindow() {
        // A carrier at the IF, amplitude-modulated by a tone, on both inputs while the antenna is live.
        sound.captureSource = [this](int64_t frame, int32_t) -> int16_t {
            if (!antennaLive) return 0;
            const double t = double(frame) / 48000.0;
            return int16_t(6000 * (1 + 0.8 * std::sin(2 * M_PI * 800.0 * t)) *
                           std::sin(2 * M_PI * 12000.0 * t));
        };
    }
    void open() {
        auto& w = make();
        w.Show();
        ASSERT_NE(w.RecorderControls, nullptr);
        ASSERT_NE(receiver().RecorderPanel, nullptr);
    }
    RecorderControls& controls() { return *window->RecorderControls; }
    void click(int16_t i) { QTest::mouseClick(controls().cmdWavCtls[i].widget(), Qt::LeftButton); }
    void power(int16_t i) { QTest::mouseClick(window->optPwr[i].widget(), Qt::LeftButton); }
    EnablePattern pattern() {
        EnablePattern p{};
        for (int16_t i = 0; i < transport::kButtons; ++i)
            p[size_t(i)] = controls().cmdWavCtls[i].Enabled();
        return p;
    }
    // Sound runs on for this many blocks; an armed disk timer fires, and the event loop runs, after each.
    void flow(int blocks) {
        for (int i = 0; i < blocks; ++i) {
            sound.advance(kBlock);
            for (ui::Timer* t : {&controls().tmrRecorderWrite, &controls().tmrPlaybackRead})
                if (t->running() && t->Timer_) t->Timer_();
            QCoreApplication::processEvents();
        }
    }
    // The caption colours of the recording format's two frames and their seven choices, as shown.
    std::set<int32_t> recordingChoiceColours() {
        std::vector<ui::Frame*> frames;
        window->forEachControl([&](ui::Control& c) {
            auto* f = dynamic_cast<ui::Frame*>(&c);
            if (f && (f->Caption() == "Sample Rate" || f->Caption() == "Bits/Sample")) frames.push_back(f);
        });
        std::set<int32_t> colours;
        int shown = 0;
        window->forEachControl([&](ui::Control& c) {
            for (ui::Frame* f : frames)
                if (&c == f ||
                    (dynamic_cast<ui::OptionButton*>(&c) && c.widget()->parentWidget() == f->container())) {
                    colours.insert(c.ForeColor());
                    ++shown;
                }
        });
        EXPECT_EQ(shown, 9);
        return colours;
    }
    std::string path(const std::string& name) const { return folder.path() + "/" + name; }
    void answerFileDialog(const std::string& file) {
        dialogs.fileAnswers.push_back(ui::FileDialogResult{{file}});
    }

    bool antennaLive = true;
};

// Record, Stop, Save, Load, Play, from the window's own buttons: the saved file holds what the receiver
// played while recording, the track list shows it, and playback with a silent antenna plays it again until
// its end stops the receiver.
TEST_F(RecorderInWindow, RecordsSavesLoadsAndPlaysBackThroughTheReceiver) {
    open();
    EXPECT_EQ(pattern(), patterns::kStartUp);
    EXPECT_TRUE(controls().txtRecordFileName.Locked());
    EXPECT_EQ(controls().txtRecordFileName.Text(), "");

    // No band plan has set the audio filter yet: the user picks one, then switches on.
    ui::OptionButton* filter = nullptr;
    window->forEachControl([&](ui::Control& c) {
        auto* b = dynamic_cast<ui::OptionButton*>(&c);
        if (b && b->Caption() == "5.0 KHz") filter = b;
    });
    ASSERT_NE(filter, nullptr);
    QTest::mouseClick(filter->widget(), Qt::LeftButton);
    power(0);
    ASSERT_TRUE(window->optPwr[0].Value());
    flow(40); // the AGC settles on the band the start-up selected
    EXPECT_EQ(recordingChoiceColours(), std::set<int32_t>{0xBFBF00}); // the scheme's, as ReColour left them
    // The band used last tuned the receiver; the log and the volume are what stand at the record.
    const int32_t tunedKHz = vfo.TunedFrequency() / 10000;
    const double volume = std::pow(10.0, std::min(receiver().SoundCard->OutputAttenuation(), 0) / 2000.0);
    click(transport::kRecord);
    EXPECT_EQ(pattern(), patterns::kRecording);
    EXPECT_EQ(recordingChoiceColours(), std::set<int32_t>{0xC0C000});
    const size_t recordFrom = sound.played.size();
    flow(24);
    const size_t recordTo = sound.played.size();
    EXPECT_EQ(controls().lblRecordTime.Caption(), "00:00:01");

    click(transport::kStop);
    EXPECT_TRUE(window->optPwr[1].Value()) << "Stop switches the receiver off";
    EXPECT_EQ(pattern(), patterns::kStoppedRecording);

    answerFileDialog(path("take.wav"));
    click(transport::kSave);
    EXPECT_EQ(pattern(), patterns::kLoaded);
    const WavRead saved = readWav(path("take.wav"));
    ASSERT_TRUE(saved.riff);
    EXPECT_EQ(std::tuple(saved.channels, saved.rate, saved.bits), std::tuple(1u, 48000u, 16u));
    // Whole blocks, about as many as flowed, and as loud as what was heard meanwhile before the output
    // volume.
    EXPECT_EQ(saved.samples.size() % size_t(kBlock), 0u);
    EXPECT_NEAR(double(saved.samples.size()), double(recordTo - recordFrom), 2.0 * kBlock);
    const double recordedRms = rms(saved.samples, 0, saved.samples.size());
    EXPECT_GT(recordedRms, 100);
    EXPECT_NEAR(recordedRms * volume, rms(sound.played, recordFrom, recordTo), 0.2 * recordedRms * volume);

    answerFileDialog(path("take.wav"));
    click(transport::kLoad);
    EXPECT_EQ(pattern(), patterns::kLoaded);
    EXPECT_EQ(controls().txtRecordFileName.Text(), "take.wav");
    ASSERT_EQ(controls().lstRecordingLogs.ListCount(), 1);
    const std::string row = controls().lstRecordingLogs.List(0);
    EXPECT_EQ(row.substr(0, 7), "  " + std::to_string(tunedKHz) + " ") << row;
    EXPECT_EQ(row.substr(row.size() - 9), " 00:00:01") << row;
    EXPECT_EQ(controls().lstRecordingLogs.ListIndex(), 0);
    EXPECT_TRUE(window->grab().save(RENDER_DIR "/main_window_recorder_loaded.png"));

    antennaLive = false;
    click(transport::kPlay);
    EXPECT_TRUE(window->optPwr[0].Value()) << "Play switches the receiver on";
    EXPECT_EQ(pattern(), patterns::kPlayingFile);
    const size_t playFrom = sound.played.size();
    flow(12);
    // Past the blocks of live sound still on their way out.
    EXPECT_GT(rms(sound.played, playFrom + 4 * kBlock, sound.played.size()), 0.3 * recordedRms * volume)
        << "the silent antenna is not what is heard";

    // The end of the file, reported from inside the sound path, stops the receiver from the event loop.
    flow(int(saved.samples.size() / kBlock));
    EXPECT_TRUE(window->optPwr[1].Value());
    EXPECT_EQ(pattern(), patterns::kStopped);

    click(transport::kClose);
    EXPECT_EQ(pattern(), patterns::kClosed);
    EXPECT_EQ(recordingChoiceColours(), std::set<int32_t>{0xFFFF00});
    EXPECT_EQ(controls().errorWindow(), nullptr);
    EXPECT_EQ(dialogs.unexpected, 0);
}

// A disk that fills while recording: the window's event loop brings the engine's report to the error
// window once, the recording stays where it stopped, and Save still gives a valid WAV file.
TEST_F(RecorderInWindow, ADiskFullRecordingReachesTheErrorWindowOnceAndStillSaves) {
    // Halves of two blocks: the second half's write finds the disk full.
    store.SaveSetting("NerixSDR", "WavFile", "RecBlockSizeInSamples", std::to_string(2 * kBlock));
    open();
    power(0);
    faultyFiles.faults.failWritesAtByte = 44 + 2 * 2 * kBlock + 100;
    click(transport::kRecord);
    flow(16);
    frmRecordFileError* error = controls().errorWindow();
    ASSERT_NE(error, nullptr);
    EXPECT_TRUE(error->isVisible());
    const std::string temp = receiver().WavFile->TempFileName;
    EXPECT_EQ(temp, path("~NerixWAV.TMP"));
    EXPECT_EQ(error->txtMessage.Text(), "Recording stopped: unable to write " + temp + "\r\n" +
                                            files::describeError(files::err::kDiskFull));
    EXPECT_EQ(pattern(), patterns::kRecording);

    faultyFiles.faults.failWritesAtByte = std::numeric_limits<int64_t>::max();
    click(transport::kStop);
    answerFileDialog(path("full.wav"));
    click(transport::kSave);
    const WavRead saved = readWav(path("full.wav"));
    EXPECT_TRUE(saved.riff);
    EXPECT_EQ(saved.samples.size(), size_t(2 * kBlock)) << "cut back to the last whole half";
    EXPECT_EQ(error->txtMessage.Text().find("Recording stopped", 1), std::string::npos) << "reported once";
    error->Unload();
}

// Closing the window mid-recording stops the disk timers and releases the recorder, whose close finishes
// the file and keeps it marked; the next start moves it aside and names it to the user once.
TEST_F(RecorderInWindow, ARecordingLeftByTheCloseIsNamedAtTheNextStart) {
    open();
    power(0);
    click(transport::kRecord);
    flow(8);
    window->close();
    EXPECT_EQ(window->RecorderControls, nullptr);
    EXPECT_EQ(receiver().RecorderPanel, nullptr);
    EXPECT_EQ(receiver().WavFile, nullptr);
    const WavRead left = readWav(path("~NerixWAV.TMP"));
    EXPECT_TRUE(left.riff);
    EXPECT_GT(left.samples.size(), 0u);

    window.reset();
    open();
    frmRecordFileError* error = controls().errorWindow();
    ASSERT_NE(error, nullptr);
    const std::string text = error->txtMessage.Text();
    const std::string prefix = "An unsaved recording was kept as " + path("recovered_");
    EXPECT_EQ(text.substr(0, prefix.size()), prefix) << text;
    EXPECT_EQ(text.substr(text.size() - 4), ".wav") << text;
    const std::string recovered = text.substr(std::string("An unsaved recording was kept as ").size());
    EXPECT_EQ(readWav(recovered).samples, left.samples);
    EXPECT_FALSE(std::filesystem::exists(path("~NerixWAV.TMP")));
    EXPECT_EQ(pattern(), patterns::kStartUp);
    error->Unload();
}

// The window as a person sees it with a recording running, in each layout; the time and size labels, and
// the file name box with them, read in the knobs' focus colour on the window's background.
TEST_F(RecorderInWindow, DrawsTheWindowWithThePanelInEachLayout) {
    store.SaveSetting("NerixSDR", "frmMain", "ScrollableLabelFocusColour", std::to_string(0x00FF00));
    open();
    for (ui::Control* c : std::initializer_list<ui::Control*>{
             &controls().lblRecordTime, &controls().lblRecordSize, &controls().txtRecordFileName}) {
        EXPECT_EQ(c->ForeColor(), 0x00FF00);
        EXPECT_EQ(c->BackColor(), window->BackColor());
    }
    power(0);
    click(transport::kRecord);
    flow(30);
    for (const int16_t index : {0, 1, 2, 3}) {
        window->optDisplaySize_Click(index);
        QCoreApplication::processEvents();
        EXPECT_TRUE(window->grab().save(QString(RENDER_DIR "/main_window_recorder_layout%1.png").arg(index)));
    }
    QWidget* row = controls().cmdWavCtls[0].widget();
    EXPECT_EQ(row->parentWidget(), window->picRecorder.widget());
    EXPECT_EQ(controls().cmdWavCtls[0].Top(), (window->picRecorder.ScaleHeight() - 300) / 2);
    click(transport::kStop);
}

} // namespace
