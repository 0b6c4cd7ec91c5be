// The recorder panel's widgets on the main window: the ten transport buttons, the focus sink, the file
// name box and the time and size labels on picRecorder; the track list panel beside the preset frame; the
// two disk timers; the recording-file error window. They show what the panel's core tells them and
// forward the user's clicks, picks and focus changes to it.
#pragma once

#include <QPointer>
#include <functional>
#include <memory>

#include "platform/ui/ControlArray.h"
#include "platform/ui/Controls.h"
#include "platform/ui/PictureBox.h"
#include "platform/ui/PostQueueWatcher.h"
#include "platform/ui/Timer.h"
#include "recorder/RecorderPanel.h"
#include "recorder/RecorderPanelPorts.h"
#include "recorder/frmRecordFileError.h"

namespace recorder {

class RecorderControls final : public RecorderPanelView {
public:
    struct Hosts {
        QWidget* recorderPanel = nullptr;      // picRecorder
        QWidget* trackListContainer = nullptr; // the container of the preset frame
        QWidget* owner = nullptr;              // the main window, owner of the error window
    };

    explicit RecorderControls(const Hosts& hosts);
    ~RecorderControls() override;
    RecorderControls(const RecorderControls&) = delete;
    RecorderControls& operator=(const RecorderControls&) = delete;

    // Wires the events to the core and runs its deferred events from the event loop. The core must
    // outlive the controls.
    void connect(RecorderPanel& core);
    // The start-up's centring of the button row in a panel of this inner height (twips).
    void centreButtons(double panelScaleHeight);
    // Every control, for the window's colouring.
    void forEachControl(const std::function<void(ui::Control&)>& f);
    // The error window, made when first needed; none before.
    frmRecordFileError* errorWindow() const { return errorWindow_; }

    ui::ControlArray<ui::CommandButton> cmdWavCtls;
    ui::PictureBox picWavCtlsOffFocus;
    ui::TextBox txtRecordFileName;
    ui::Label lblRecordTime, lblRecordSize;
    ui::PictureBox picRecorderTrackList;
    ui::TextBox txtRecordingLogHeaders;
    ui::ListBox lstRecordingLogs;
    ui::Timer tmrRecorderWrite, tmrPlaybackRead;

    // RecorderPanelView.
    void focusOffFocusSink() override;
    void setButtonsEnabled(const EnablePattern& pattern) override;
    void setButtonFace(int16_t index, int32_t colour) override;
    void focusButton(int16_t index) override;
    std::string fileNameText() const override;
    void setFileNameText(const std::string& text) override;
    void setRecordTime(const std::string& caption) override;
    void setRecordSize(const std::string& caption) override;
    void setTrackHeader(const std::string& text) override;
    void clearTracks() override;
    void addTrack(const std::string& row, int32_t entry) override;
    void showTrackSelection(int32_t row) override;
    void showTrackPanel(int32_t backColour, double width, double height, double left, double top) override;
    double trackPanelScaleWidth() const override;
    void showTrackHeader(double width, int32_t textColour) override;
    double trackHeaderTop() const override;
    double trackHeaderHeight() const override;
    void showTrackList(double top, double width, double height) override;
    void hideTrackPanel() override;
    void armTimer(RecorderTimer timer, int32_t intervalMs) override;
    void disarmTimer(RecorderTimer timer) override;
    void showRecordFileError(const std::string& message) override;
    void reportRecordFileError(const std::string& message) override;

private:
    ui::Timer& timer(RecorderTimer t) {
        return t == RecorderTimer::Write ? tmrRecorderWrite : tmrPlaybackRead;
    }
    frmRecordFileError& loadErrorWindow();

    QWidget* owner_;
    RecorderPanel* core_ = nullptr;
    std::unique_ptr<ui::PostQueueWatcher> deferred_;
    QPointer<frmRecordFileError> errorWindow_;
    bool mirroring_ = false;
};

// The preset frame as the track list reads it: a control of the main window.
class ControlPresetFrame final : public PresetFrame {
public:
    explicit ControlPresetFrame(const ui::Control& frame) : frame_(frame) {}
    int32_t BackColor() const override { return frame_.BackColor(); }
    double Left() const override { return frame_.Left(); }
    double Top() const override { return frame_.Top(); }
    double Width() const override { return frame_.Width(); }
    double Height() const override { return frame_.Height(); }

private:
    const ui::Control& frame_;
};

} // namespace recorder
