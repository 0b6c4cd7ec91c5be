// What the recorder needs of its neighbours, as small interfaces that the main window fills; the tuned
// frequency of its log comes through the tuning port (frame/TuningPort.h).
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "frame/TuningPort.h"

namespace recorder {

// Why a recording stopped on its own or lost samples; the main window tells the user, outside the sound path.
enum class RecorderFault {
    WriteFailed,      // a write failed (disk full or another error): the recording stopped, file cut back
    FileLimit,        // the file reached the largest size its 32-bit positions describe: recording stopped
    SamplesDropped,   // both halves were waiting for the disk: incoming blocks were dropped and counted
    TrailerNotWritten // the frequency log could not be appended at close; samples and header are good
};

// The events of clsWavFile. The main window's adapter delivers them; PlayEnd is queued there, so the
// engine never stops sound or pumps the loop from inside the sound path.
class WavFileListener {
public:
    virtual ~WavFileListener() = default;
    virtual void ReadNextBlockFromDisk() {}
    virtual void WriteNextBlockToDisk() {}
    virtual void PlayEnd() {}
    virtual void CatalogueLoaded(int32_t /*NumberOfTracks*/) {}
    virtual void DiskWrite(int32_t /*RecordingOffsetInBytes*/) {}
    virtual void DiskRead(int32_t /*RecordingOffsetInBytes*/) {}
    virtual void SamplesPlayed(int32_t /*CurrentTrack*/, int32_t /*NumSamples*/) {}
    virtual void RecordingFault(RecorderFault /*fault*/, int32_t /*errorNumber*/) {}
};

// One file dialog, as the shared dialog object is set up for it.
struct FileDialogRequest {
    std::string DialogTitle;
    std::string Directory;
    std::string FileName;
    std::string Extension;
    std::string Filter;
    int32_t ExistFlags = 0;
    bool RestoreCurDir = false;
    bool ReadOnlyIsVisible = false;
};

// The UI layer's file dialogs: the chosen full path, or nothing when the user cancelled.
class FileDialogService {
public:
    virtual ~FileDialogService() = default;
    virtual std::optional<std::string> ShowOpen(const FileDialogRequest& request) = 0;
    virtual std::optional<std::string> ShowSave(const FileDialogRequest& request) = 0;
};

// The front panel's recording sample-rate buttons: index 0 to 4 (48K to 3k), or -1 for none.
class RecordSampleRateChoice {
public:
    virtual ~RecordSampleRateChoice() = default;
    virtual void SelectRecordSampleRate(int32_t index) = 0;
};

// Local date and time as a day count (days since 1899-12-30, the fraction the time of day).
class RecorderClock {
public:
    virtual ~RecorderClock() = default;
    virtual double Now() const = 0;
};

} // namespace recorder
