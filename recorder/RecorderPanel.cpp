// The recorder panel's logic over the recorder object and the panel's view: its messages, the engine's
// reports, the disk timers and the track list.
#include "recorder/RecorderPanel.h"

#include <filesystem>

#include "frame/ScopedFlag.h"
#include "platform/files/FileSystem.h"
#include "platform/runtime/Hooks.h"
#include "platform/runtime/RuntimeError.h"
#include "recorder/TrackList.h"
#include "recorder/clsWavFile.h"

namespace recorder {

namespace {

constexpr char kCrLf[] = "\r\n";
constexpr char kOtherApplication[] =
    "\r\n Another application may be using the file\r\nClose the file in the other application";

std::string processDirectory() {
    std::error_code ec;
    const std::filesystem::path p = std::filesystem::current_path(ec);
    return ec ? std::string() : p.string();
}

} // namespace

namespace messages {

std::string unableToCreate(const std::string& tempFileName) {
    return "Unable to Create Temporary File " + tempFileName + kOtherApplication;
}

std::string unableToClose(const std::string& recordFileName) {
    return "Unable to Close " + recordFileName + kOtherApplication;
}

std::string unableToOpen(const std::string& fileName, const std::string& reason) {
    return "Unable to open " + fileName + kCrLf + reason;
}

std::string recordingFault(RecorderFault fault, int32_t errorNumber, const std::string& tempFileName) {
    switch (fault) {
    case RecorderFault::WriteFailed:
        return "Recording stopped: unable to write " + tempFileName + kCrLf +
               files::describeError(errorNumber);
    case RecorderFault::FileLimit:
        return "Recording stopped: the recording file has reached its largest size";
    case RecorderFault::SamplesDropped:
        return "Samples were lost: the disk could not keep up";
    case RecorderFault::TrailerNotWritten:
        return "The frequency log could not be written to " + tempFileName;
    }
    return {};
}

std::string recoveredRecording(const std::string& path) {
    return "An unsaved recording was kept as " + path;
}

} // namespace messages

RecorderPanel::RecorderPanel(clsWavFile& wav, RecorderPanelView& view, Ports ports)
    : wav_(wav), view_(view), ports_(std::move(ports)) {
    if (!ports_.currentDirectory) ports_.currentDirectory = processDirectory;
}

void RecorderPanel::startUp() {
    runtime::resumeNext([&] { setPattern(patterns::kStartUp); });
    runtime::resumeNext([&] { nameRecoveredRecording(); });
}

void RecorderPanel::stopTimers() {
    runtime::resumeNext([&] { view_.disarmTimer(RecorderTimer::Write); });
    runtime::resumeNext([&] { view_.disarmTimer(RecorderTimer::Read); });
}

// ---- the engine's reports ----

void RecorderPanel::PlayEnd() {
    deferred_.post([this] { WavFile_PlayEnd(); });
}

void RecorderPanel::RecordingFault(RecorderFault fault, int32_t errorNumber) {
    deferred_.post([this, fault, errorNumber] { reportFault(fault, errorNumber); });
}

// The recording stays as the fault left it, so Save and Close still act on it.
void RecorderPanel::reportFault(RecorderFault fault, int32_t errorNumber) {
    view_.reportRecordFileError(messages::recordingFault(fault, errorNumber, wav_.TempFileName));
}

void RecorderPanel::nameRecoveredRecording() {
    if (wav_.RecoveredFileName.empty()) return;
    const std::string path = wav_.RecoveredFileName;
    wav_.RecoveredFileName.clear();
    view_.reportRecordFileError(messages::recoveredRecording(path));
}

// ---- timers ----

void RecorderPanel::WavFile_WriteNextBlockToDisk() {
    view_.armTimer(RecorderTimer::Write, 2);
}

void RecorderPanel::WavFile_ReadNextBlockFromDisk() {
    view_.armTimer(RecorderTimer::Read, 4);
}

void RecorderPanel::tmrRecorderWrite_Timer() {
    if (writeTimerBusy_) return;
    const ScopedFlag busy(writeTimerBusy_);
    view_.disarmTimer(RecorderTimer::Write);
    // A failed write stops the recording, and the recorder reports it itself.
    if (wav_.BufferFull() && !wav_.IsPaused()) wav_.WriteToDisk();
}

void RecorderPanel::tmrPlaybackRead_Timer() {
    if (readTimerBusy_) return;
    const ScopedFlag busy(readTimerBusy_);
    view_.disarmTimer(RecorderTimer::Read);
    wav_.ReadFromDisk();
}

// ---- track list ----

int32_t RecorderPanel::entryOfRow(int32_t row) const {
    if (row < 0 || row >= ListCount()) return -1;
    return rowEntries_[std::size_t(row)];
}

int32_t RecorderPanel::rowOfEntry(int32_t entry) const {
    for (std::size_t r = 0; r < rowEntries_.size(); ++r)
        if (rowEntries_[r] == entry) return int32_t(r);
    return -1;
}

void RecorderPanel::setListIndex(int32_t row) {
    if (row < -1 || row >= ListCount())
        runtime::raise(runtime::err::kInvalidPropertyValue, "lstRecordingLogs");
    if (row == listIndex_) return;
    listIndex_ = row;
    view_.showTrackSelection(row);
    lstRecordingLogs_Click();
}

void RecorderPanel::clearTrackList() {
    rowEntries_.clear();
    listIndex_ = -1;
    view_.clearTracks();
}

void RecorderPanel::WavFile_CatalogueLoaded(int32_t NumberOfTracks) {
    runtime::resumeNext([&] { clearTrackList(); });
    runtime::resumeNext([&] { view_.setTrackHeader(kNoTracks); });
    if (NumberOfTracks <= 0) return;
    runtime::resumeNext([&] { view_.setTrackHeader(kTrackHeader); });
    const std::vector<LogRecord>& log = wav_.LogRecords();
    for (int32_t i = 0; i <= NumberOfTracks; ++i) {
        runtime::resumeNext([&] {
            const LogRecord& entry = log.at(std::size_t(i));
            const float d = TrackDuration(entry, wav_.WavSamplingRate(), wav_.BytesPerSample());
            if (d <= 0) return;
            const std::string row = TrackRow(entry, d);
            view_.addTrack(row, i);
            rowEntries_.push_back(i);
        });
    }
    runtime::resumeNext([&] { setListIndex(0); });
}

void RecorderPanel::WavFile_DiskRead(int32_t RecordingOffsetInBytes) {
    const std::vector<LogRecord>& log = wav_.LogRecords();
    for (std::size_t i = 0; i + 1 < log.size(); ++i) {
        if (log[i].Start <= RecordingOffsetInBytes && RecordingOffsetInBytes <= log[i].End) {
            const int32_t row = rowOfEntry(int32_t(i));
            if (row >= 0) {
                const ScopedFlag lock(TrackSelectLock_);
                runtime::resumeNext([&] { setListIndex(row); });
            }
            return;
        }
    }
}

void RecorderPanel::userPicksTrack(int32_t row) {
    if (row < 0 || row >= ListCount()) return;
    listIndex_ = row;
    lstRecordingLogs_Click();
}

// Rows carry their log entry, so a track left out of the list never shifts a seek.
void RecorderPanel::lstRecordingLogs_Click() {
    if (TrackSelectLock_) return;
    wav_.setNumSamples(0);
    const int32_t entry = entryOfRow(listIndex_);
    if (entry >= 0) wav_.PlayFrom(entry);
}

void RecorderPanel::WavFile_SamplesPlayed(int32_t /*CurrentTrack*/, int32_t NumSamples) {
    runtime::resumeNext(
        [&] { view_.setRecordSize(NumberFormat::Format(NumSamples, "#,##0", ports_.separators)); });
    runtime::resumeNext([&] {
        const int32_t rate = wav_.WavSamplingRate();
        if (rate == 0) runtime::raise(runtime::err::kDivisionByZero, "WavFile_SamplesPlayed");
        view_.setRecordTime(FormatHms(float(NumSamples) / float(rate)));
    });
}

void RecorderPanel::txtRecordFileName_LostFocus() {
    const std::string& current = wav_.RecordFileName();
    const std::string text = view_.fileNameText();
    if (!current.empty()) {
        const auto slash = current.find_last_of('/');
        wav_.setRecordFileName((slash == std::string::npos ? std::string() : current.substr(0, slash + 1)) +
                               text);
    } else {
        wav_.setRecordFileName(ports_.currentDirectory() + "/" + text);
    }
}

} // namespace recorder
