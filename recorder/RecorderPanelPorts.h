// What the recorder panel's Qt-free core reaches outside itself: its own widgets (the view), the
// receiver's power button, the recording format choices and the preset frame the track list covers.
// The panel's widgets and the main window implement them; tests fake them.
#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace recorder {

// The ten transport buttons, by their index in the control array.
namespace transport {
inline constexpr int16_t kRecord = 0;
inline constexpr int16_t kPlay = 1;
inline constexpr int16_t kPause = 2;
inline constexpr int16_t kStop = 3;
inline constexpr int16_t kNextTrack = 4;
inline constexpr int16_t kPreviousTrack = 5;
inline constexpr int16_t kLoop = 6;
inline constexpr int16_t kLoad = 7;
inline constexpr int16_t kSave = 8;
inline constexpr int16_t kClose = 9;
inline constexpr int16_t kButtons = 10;
} // namespace transport

// Which buttons are enabled, in index order.
using EnablePattern = std::array<bool, transport::kButtons>;

// The recorder's two one-shot timers.
enum class RecorderTimer { Write, Read }; // tmrRecorderWrite, tmrPlaybackRead

// The panel's widgets as the core drives them. Lengths are twips.
class RecorderPanelView {
public:
    virtual ~RecorderPanelView() = default;

    // picWavCtlsOffFocus takes the keyboard focus; nothing happens when it cannot take it now.
    virtual void focusOffFocusSink() = 0;
    virtual void setButtonsEnabled(const EnablePattern& pattern) = 0;
    // The back colour of a button's face (0x00BBGGRR, or 0x8000000F for the platform's button face).
    virtual void setButtonFace(int16_t index, int32_t colour) = 0;
    virtual void focusButton(int16_t index) = 0;

    virtual std::string fileNameText() const = 0; // txtRecordFileName
    virtual void setFileNameText(const std::string& text) = 0;
    virtual void setRecordTime(const std::string& caption) = 0; // lblRecordTime
    virtual void setRecordSize(const std::string& caption) = 0; // lblRecordSize

    // The track list's contents and selection, as the core holds them; showing a selection runs nothing.
    virtual void setTrackHeader(const std::string& text) = 0; // txtRecordingLogHeaders
    virtual void clearTracks() = 0;                           // lstRecordingLogs
    // A row and, as its item data, the log entry it shows.
    virtual void addTrack(const std::string& row, int32_t entry) = 0;
    virtual void showTrackSelection(int32_t row) = 0; // -1 for none

    // The track list panel picRecorderTrackList: its colour, size and place, shown.
    virtual void showTrackPanel(int32_t backColour, double width, double height, double left, double top) = 0;
    virtual double trackPanelScaleWidth() const = 0;
    // The heading box at the panel's top left, this wide: shown in front, locked, in the list's font and
    // back colour, its text in textColour.
    virtual void showTrackHeader(double width, int32_t textColour) = 0;
    virtual double trackHeaderTop() const = 0;
    virtual double trackHeaderHeight() const = 0;
    // The list at the panel's left edge, shown in front.
    virtual void showTrackList(double top, double width, double height) = 0;
    virtual void hideTrackPanel() = 0;

    // Arms a one-shot timer (its interval set, then enabled), or disarms it (disabled, interval 0).
    virtual void armTimer(RecorderTimer timer, int32_t intervalMs) = 0;
    virtual void disarmTimer(RecorderTimer timer) = 0;

    // frmRecordFileError with this message; returns once the user has closed it, or the program ends.
    virtual void showRecordFileError(const std::string& message) = 0;
    // frmRecordFileError without a wait; a message arriving while the window shows is added below.
    virtual void reportRecordFileError(const std::string& message) = 0;
};

// The main window's power button optPwr: choice 0 "On", 1 "Off". Selecting a choice that was not
// selected runs its action; selecting the selected one, or clearing one, runs nothing.
class PowerButton {
public:
    virtual ~PowerButton() = default;
    virtual void setPowerChoice(int16_t Index, bool selected) = 0;
};

// The recording format on the recorder panel: the sample-rate and bits-per-sample choices and frames.
class RecordingChoices {
public:
    virtual ~RecordingChoices() = default;
    // The sample-rate choice of index 0 to 4 ("48K" to "3k") is selected, and its click runs; -1 none.
    virtual void SelectRecordSampleRate(int32_t index) = 0;
    // The caption colour of every choice, then of the two frames.
    virtual void setCaptionColour(int32_t colour) = 0;
};

// The preset frame frPresets, whose place the track list takes; twips in its container.
class PresetFrame {
public:
    virtual ~PresetFrame() = default;
    virtual int32_t BackColor() const = 0;
    virtual double Left() const = 0;
    virtual double Top() const = 0;
    virtual double Width() const = 0;
    virtual double Height() const = 0;
};

} // namespace recorder
