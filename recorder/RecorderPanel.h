// The recorder panel's logic: the ten transport actions, their enable patterns and faces, the track list,
// the two disk timers and the main window's side of the recorder's events. Qt-free; its widgets are a
// RecorderPanelView, and it is the recorder's WavFileListener.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "frame/NumberFormat.h"
#include "platform/runtime/PostQueue.h"
#include "recorder/RecorderPanelPorts.h"
#include "recorder/RecorderPorts.h"

namespace recorder {

class clsWavFile;

// Colours the panel gives faces and captions (0x00BBGGRR; the button face is a system colour).
inline constexpr int32_t kToggleActiveFace = 0x0000FF;
inline constexpr int32_t kButtonFace = static_cast<int32_t>(0x8000000F);
inline constexpr int32_t kChoicesRecording = 0xC0C000;
inline constexpr int32_t kChoicesClosed = 0xFFFF00;
inline constexpr int32_t kTrackHeaderText = 0x00FFFF;

// The enable patterns after each action; Pause, Next, Previous, Loop and a failed Record or Close keep
// the pattern that stood before.
namespace patterns {
inline constexpr EnablePattern kStartUp{1, 0, 0, 0, 0, 0, 0, 1, 0, 0};
inline constexpr EnablePattern kRecording{0, 1, 1, 1, 0, 0, 0, 0, 1, 1}; // Record, or Play of the recording
inline constexpr EnablePattern kPlayingFile{0, 1, 1, 1, 1, 1, 1, 1, 0, 1};
inline constexpr EnablePattern kStoppedRecording{1, 1, 1, 1, 0, 0, 0, 0, 1, 1};
inline constexpr EnablePattern kStopped{1, 1, 1, 1, 1, 1, 1, 1, 1, 1};
inline constexpr EnablePattern kLoaded{1, 1, 1, 1, 1, 1, 1, 1, 0, 1}; // Load, Save
inline constexpr EnablePattern kClosed = kStartUp;
inline constexpr EnablePattern kNone{}; // while an action runs
} // namespace patterns

class RecorderPanel final : public WavFileListener {
public:
    // Any of the neighbours may be absent; the steps that need one are then skipped.
    struct Ports {
        PowerButton* power = nullptr;
        RecordingChoices* choices = nullptr;
        const PresetFrame* presets = nullptr;
        // SaveRecordingsPath: the folder recordings are made in, without a trailing "/".
        std::function<std::string()> recordingsFolder;
        // The process's working directory when not given.
        std::function<std::string()> currentDirectory;
        // The user's thousands separator for the size label.
        NumberFormat::Separators separators = NumberFormat::userSeparators();
    };

    RecorderPanel(clsWavFile& wav, RecorderPanelView& view, Ports ports);
    RecorderPanel(const RecorderPanel&) = delete;
    RecorderPanel& operator=(const RecorderPanel&) = delete;

    // The main window's start-up, after the recorder's init: the start-up pattern, and the name of a
    // recording that init found unsaved and moved aside.
    void startUp();
    // The main window's shutdown, before it releases the recorder: both timers stop.
    void stopTimers();

    // Events the recorder raises in the sound path are handled there without disk work; PlayEnd and
    // RecordingFault wait here until the sound path has returned. The UI drains it from its event loop.
    runtime::PostQueue& deferredEvents() { return deferred_; }

    // The handlers.
    void cmdWavCtls_Click(int16_t Index);
    void WavFile_PlayEnd();
    void WavFile_WriteNextBlockToDisk();
    void WavFile_ReadNextBlockFromDisk();
    void WavFile_CatalogueLoaded(int32_t NumberOfTracks);
    void WavFile_DiskRead(int32_t RecordingOffsetInBytes);
    void WavFile_SamplesPlayed(int32_t CurrentTrack, int32_t NumSamples);
    void tmrRecorderWrite_Timer();
    void tmrPlaybackRead_Timer();
    // The user picked this row of lstRecordingLogs.
    void userPicksTrack(int32_t row);
    void lstRecordingLogs_Click();
    void txtRecordFileName_LostFocus();

    // What the panel shows.
    bool WavCtlsBusy() const { return WavCtlsBusy_; }
    bool TrackSelectLock() const { return TrackSelectLock_; }
    const EnablePattern& Pattern() const { return pattern_; }
    int32_t ListCount() const { return int32_t(rowEntries_.size()); }
    int32_t ListIndex() const { return listIndex_; }
    // The log entry a row shows; -1 outside the rows.
    int32_t entryOfRow(int32_t row) const;

    // WavFileListener.
    void ReadNextBlockFromDisk() override { WavFile_ReadNextBlockFromDisk(); }
    void WriteNextBlockToDisk() override { WavFile_WriteNextBlockToDisk(); }
    void PlayEnd() override;
    void CatalogueLoaded(int32_t NumberOfTracks) override { WavFile_CatalogueLoaded(NumberOfTracks); }
    void DiskRead(int32_t RecordingOffsetInBytes) override { WavFile_DiskRead(RecordingOffsetInBytes); }
    void SamplesPlayed(int32_t CurrentTrack, int32_t NumSamples) override {
        WavFile_SamplesPlayed(CurrentTrack, NumSamples);
    }
    void RecordingFault(RecorderFault fault, int32_t errorNumber) override;

private:
    void record();
    void play();
    void pause();
    void stop();
    void nextTrack(int16_t step);
    void loop();
    void load();
    void save();
    void close();

    void setPattern(const EnablePattern& pattern);
    void setChoicesColour(int32_t colour);
    void emptyFileNameAndLabels();
    void nameRecoveredRecording();
    void reportFault(RecorderFault fault, int32_t errorNumber);
    void clearTrackList();
    // Setting ListIndex from code: another row runs lstRecordingLogs_Click; a row outside the list raises
    // Invalid property value (380).
    void setListIndex(int32_t row);
    int32_t rowOfEntry(int32_t entry) const;
    void layTrackPanel();

    clsWavFile& wav_;
    RecorderPanelView& view_;
    Ports ports_;
    runtime::PostQueue deferred_;

    bool WavCtlsBusy_ = false;
    bool TrackSelectLock_ = false;
    bool writeTimerBusy_ = false;
    bool readTimerBusy_ = false;
    EnablePattern pattern_ = patterns::kStartUp;
    std::vector<int32_t> rowEntries_; // the log entry of each row
    int32_t listIndex_ = -1;
};

// The messages the panel shows in the recording-file error window.
namespace messages {
std::string unableToCreate(const std::string& tempFileName);
std::string unableToClose(const std::string& recordFileName);
std::string unableToOpen(const std::string& fileName, const std::string& reason);
std::string recordingFault(RecorderFault fault, int32_t errorNumber, const std::string& tempFileName);
std::string recoveredRecording(const std::string& path);
inline constexpr char kCloseUnsaved[] = "Current Recording Not Saved\r\nDo you want to Save it ?";
} // namespace messages

} // namespace recorder
