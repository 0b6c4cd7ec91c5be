// The recorder's recording side: opening, feeding, writing and closing a recording, the unsaved recordings
// kept across crashes, and saving a recording under its name.
#include "recorder/clsWavFile.h"

#include "frame/ScopedFlag.h"
#include "platform/runtime/Hooks.h"
#include "platform/runtime/RuntimeError.h"

#include <algorithm>

namespace recorder {

namespace {

std::string folderOf(const std::string& path) {
    const auto slash = path.find_last_of('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash);
}

} // namespace

// ---- recording ----

int32_t clsWavFile::OpenRecording() {
    if (isRecording_) return status::kRecordingOpen;
    // A recording stopped by a fault is finished before it is moved aside.
    if (recording_.open()) CloseRecording();
    journal_.close();
    // A recording that cannot be moved aside is not deleted by a new one.
    if (const int32_t rc = recoverUnsavedRecording(); rc != 0) return rc;
    CloseFile();
    recording_.begin(recBlockSize_, decimator_, bitsPerSample_ / 8);
    logCount_ = 0;
    logRecords_.assign(1, LogRecord{});
    LastTunedFrequency = 0;
    if (ports_.listener) ports_.listener->SamplesPlayed(0, 0);
    const std::vector<uint8_t> header = BuildWavHeader();
    if (fs_.exists(TempFileName)) {
        const int32_t rc = fs_.remove(TempFileName);
        if (rc != 0) return rc;
    }
    int32_t rc = fs_.create(TempFileName, diskFile_);
    if (rc != 0) {
        diskFile_.reset();
        return rc;
    }
    std::size_t written = 0;
    rc = diskFile_->writeAt(0, header, written);
    if (rc != 0) {
        closeHandle();
        return rc;
    }
    // Either the journal or the marker tells a later Record that this recording is undecided; with
    // neither, a crash would leave it to be deleted, so it does not start.
    const int32_t journalError = journal_.create(fs_, LogJournal::pathFor(TempFileName));
    if (!setUnsavedMarker(TempFileName) && journalError != 0) {
        closeHandle();
        fs_.remove(TempFileName);
        setUnsavedMarker("");
        return journalError;
    }
    journalFailed_ = false;
    if (journalError != 0)
        runtime::AddLog(
            "clsWavFile.OpenRecording: the frequency log journal " + LogJournal::pathFor(TempFileName) +
            " could not be created, a crash would lose the log: Code=" + std::to_string(journalError) +
            " Description=" + files::describeError(journalError));
    recording_.setOpen(true);
    isRecording_ = true;
    isClosed_ = false;
    isPaused_ = false;
    statusOfMedia_ = MediaStatus::RecordingUnsaved;
    playerMode_ = PlayerMode::Recording;
    SaveFileName.clear();
    const int32_t tuned = ports_.vfo ? ports_.vfo->TunedFrequency() : 0;
    NewLogRecord(tuned);
    return 0;
}

int16_t clsWavFile::AddSamples(std::span<const int16_t> Samples, int32_t NoSamples) {
    if (!isRecording_) return int16_t(status::kAddNotRecording);
    if (playerMode_ == PlayerMode::Paused || playerMode_ == PlayerMode::Stopped)
        return int16_t(status::kWrongMode);
    return recording_.add(Samples, NoSamples, ports_.listener);
}

// A write failure or the size limit stopped the recording: the file stays open, unsaved.
void clsWavFile::recordingStopped(RecorderFault fault, int32_t errorNumber) {
    isRecording_ = false;
    isPaused_ = false;
    playerMode_ = PlayerMode::Stopped;
    raiseFault(fault, errorNumber);
}

int32_t clsWavFile::WriteToDisk() {
    if (!isRecording_) return status::kNotRecording;
    if (isPaused_) return status::kPaused;
    if (inWrite_) return status::kWriteBusy;
    const ScopedFlag guard(inWrite_);
    if (recording_.pendingHalves() == 0) return status::kNoFullHalf;
    return recording_.writePending(diskFile_.get(), ports_.maxFileBytes);
}

int32_t clsWavFile::flushRecording() {
    return recording_.flush(diskFile_.get(), ports_.maxFileBytes);
}

void clsWavFile::StopRecording() {
    if (inStopRecording_) return;
    const ScopedFlag guard(inStopRecording_);
    setPlayerMode(PlayerMode::Stopped);
    if (isRecording_) {
        isPaused_ = false;
        isRecording_ = false;
    }
}

int32_t clsWavFile::CloseRecording() {
    if (!diskFile_) return status::kNothingOpen;
    int32_t headerError = 0;
    if (recording_.open()) {
        flushRecording();
        headerError = UpdateWavHeader();
    }
    // A failed final header is reported like a failed close: the file is closed either way.
    int32_t rc = closeHandle();
    journal_.close();
    if (rc == 0) rc = headerError;
    logRecords_.assign(1, LogRecord{});
    recording_.clearCounts();
    playback_.setNumSamples(0);
    playback_.setFileSize(0);
    isClosed_ = true;
    isRecording_ = false;
    isPaused_ = false;
    return rc;
}

// ---- unsaved recordings ----

// False when the store could not keep it (a read-only settings file).
bool clsWavFile::setUnsavedMarker(const std::string& path) {
    settings_.SaveSetting(runtime::kProductName, name_, kUnsavedRecordingKey, path);
    return settings_.commit();
}

// The recording is decided: nothing marks it any more.
void clsWavFile::dropJournal() {
    journal_.close();
    const std::string journal = LogJournal::pathFor(TempFileName);
    if (fs_.exists(journal)) fs_.remove(journal);
}

void clsWavFile::DiscardRecording() {
    setUnsavedMarker("");
    dropJournal();
}

// A temporary recording is undecided while the marker names it or its journal is there: the marker alone
// is not enough, as a read-only settings file cannot keep it.
int32_t clsWavFile::recoverUnsavedRecording() {
    const std::string marked = settings_.GetSetting(runtime::kProductName, name_, kUnsavedRecordingKey, "");
    if (!marked.empty()) {
        if (!fs_.exists(marked))
            setUnsavedMarker("");
        else if (const int32_t rc = moveAside(marked, true); rc != 0)
            return rc;
    }
    if (TempFileName != marked && fs_.exists(TempFileName) && fs_.exists(LogJournal::pathFor(TempFileName)))
        return moveAside(TempFileName, false);
    return 0;
}

// Completes the recording with its log, then moves it to "recovered_<date>_<time>.wav" beside it. Nothing
// is moved or dropped before the step ahead of it worked, so a failure loses nothing and the next Record
// tries again.
int32_t clsWavFile::moveAside(const std::string& path, bool marked) {
    const std::string journal = LogJournal::pathFor(path);
    int32_t rc = completeRecording(fs_, path, journal);
    if (rc != 0) return rc;
    std::string stamp = formatLogDate(now());
    std::replace(stamp.begin(), stamp.end(), ':', '-');
    std::replace(stamp.begin(), stamp.end(), ' ', '_');
    const std::string folder = folderOf(path);
    const std::string base = (folder.empty() ? std::string() : folder + "/") + "recovered_" + stamp;
    std::string target = base + ".wav";
    for (int i = 2; fs_.exists(target); ++i)
        target = base + "_" + std::to_string(i) + ".wav";
    rc = fs_.rename(path, target);
    if (rc != 0) return rc;
    RecoveredFileName = target;
    if (fs_.exists(journal)) fs_.remove(journal);
    if (marked) setUnsavedMarker("");
    return 0;
}

// ---- saving ----

void clsWavFile::Save() {
    if (inSave_) return;
    const ScopedFlag guard(inSave_);
    if (LastDirectory.empty()) LastDirectory = programFolder_;
    if (statusOfMedia_ != MediaStatus::RecordingUnsaved) return;
    // A recording already closed (a cancelled Save) goes straight to the name.
    if (recording_.open()) {
        const int32_t rc = CloseRecording();
        if (rc != 0) {
            runtime::MsgBox("Unable to close temporary file " + TempFileName +
                            "\n Please report this problem to Nerix" +
                            "\n Error Code=" + std::to_string(int16_t(rc)));
            return;
        }
    }
    isRecording_ = false;
    setPlayerMode(PlayerMode::Stopped);
    isPaused_ = true;
    std::string name;
    if (ports_.dialogs) {
        FileDialogRequest request;
        request.DialogTitle = "Select Filename to Save Recording";
        request.Directory = LastDirectory;
        request.FileName = "untitled.wav";
        request.Extension = "wav";
        request.Filter = "Sound Files (*.wav)|*.wav";
        request.ReadOnlyIsVisible = false;
        if (const std::optional<std::string> chosen = ports_.dialogs->ShowSave(request)) name = *chosen;
        if (!name.empty() && name.find(".wav") == std::string::npos) name += ".wav";
    }
    if (name.empty()) return;
    // The rename replaces an existing file atomically, so the old one goes only when the new one is there.
    const bool existed = fs_.exists(name);
    const int32_t rc = fs_.rename(TempFileName, name);
    if (rc != 0) {
        if (existed)
            runtime::MsgBox("Unable to overwrite " + name + "\n Try a different filename");
        else
            runtime::MsgBox("Problem creating " + name + "\nSystem Reported Error Code " +
                            std::to_string(rc) + "\n" + files::describeError(rc));
        return;
    }
    LastDirectory = folderOf(name);
    SaveFileName = name;
    statusOfMedia_ = MediaStatus::RecordingSaved;
    isPaused_ = false;
    isRecording_ = false;
    setUnsavedMarker("");
    dropJournal();
}

} // namespace recorder
