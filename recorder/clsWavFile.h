// The recorder and player: records the received audio into a WAV file with a frequency log, and plays
// such files (or the recording still open) back into the receive chain.
#pragma once

#include "platform/files/FileSystem.h"
#include "platform/profile/SettingsStore.h"
#include "recorder/LogJournal.h"
#include "recorder/LogRecord.h"
#include "recorder/MediaStatus.h"
#include "recorder/PlayerMode.h"
#include "recorder/RecorderPorts.h"
#include "recorder/WavPlayback.h"
#include "recorder/WavRecording.h"

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

namespace recorder {

// The object's own status codes, returned sign-extended.
namespace status {
inline constexpr int32_t kWriteBusy = -32767;       // 0x8001
inline constexpr int32_t kRecordingOpen = -32766;   // 0x8002
inline constexpr int32_t kNothingOpen = -32765;     // 0x8003
inline constexpr int32_t kNotRecording = -32764;    // 0x8004
inline constexpr int32_t kPaused = -32763;          // 0x8005
inline constexpr int32_t kNoFullHalf = -32762;      // 0x8006
inline constexpr int32_t kAddNotRecording = -32761; // 0x8007
inline constexpr int32_t kWrongMode = -32760;       // 0x8008
} // namespace status

// The settings key that marks an unsaved recording (its temporary file's path) across crashes.
inline constexpr char kUnsavedRecordingKey[] = "UnsavedRecording";

struct WavFilePorts {
    WavFileListener* listener = nullptr;
    const TuningPort* vfo = nullptr;
    FileDialogService* dialogs = nullptr;
    RecordSampleRateChoice* rateChoice = nullptr;
    const RecorderClock* clock = nullptr; // the system's local clock when null
    // The largest recording file; its 32-bit positions allow no more.
    int64_t maxFileBytes = INT32_MAX;
};

class clsWavFile {
public:
    clsWavFile(profile::SettingsStore& settings, files::FileSystem& fileSystem, std::string programFolder,
               WavFilePorts ports = {});
    ~clsWavFile(); // Class_Terminate: finishes an open recording and saves the settings
    clsWavFile(const clsWavFile&) = delete;
    clsWavFile& operator=(const clsWavFile&) = delete;

    void setPorts(const WavFilePorts& ports);

    // Public variables.
    std::string LastDirectory;
    std::string SaveFileName;
    int32_t LastTunedFrequency = 0;
    int32_t LogTunedFrequency = 0;
    std::string TempFileName;
    bool PlayEnd = false;
    bool Looping = false;
    bool ReadNextBufferFromDisk = false;
    // Where the last unsaved recording found at Record or start-up was moved; empty when none.
    std::string RecoveredFileName;

    // Properties.
    const std::string& FileShortName() const { return fileShortName_; }
    void setFileShortName(std::string v) { fileShortName_ = std::move(v); }
    const std::string& FileName() const { return fileName_; }
    void setFileName(std::string v) { fileName_ = std::move(v); }
    MediaStatus StatusOfMedia() const { return statusOfMedia_; }
    void setStatusOfMedia(MediaStatus v) { statusOfMedia_ = v; }
    // One of recorder::PlayerMode.
    int32_t PlayerMode() const { return playerMode_; }
    void setPlayerMode(int32_t v);
    bool IsPlaying() const { return isPlaying_; }
    const std::string& Name() const { return name_; }
    void setName(std::string v) { name_ = std::move(v); }
    bool IsClosed() const { return isClosed_; }
    bool IsPaused() const { return isPaused_; }
    void setIsPaused(bool v) { isPaused_ = v; }
    bool BufferFull() const { return recording_.pendingHalves() > 0; }
    int32_t NumSamples() const;
    void setNumSamples(int32_t v) { playback_.setNumSamples(v); }
    int32_t FileSize() const;
    int32_t WavSamplingRate() const { return wavSamplingRate_; }
    void setWavSamplingRate(int32_t v) { wavSamplingRate_ = v; }
    int32_t SamplesQueued() const;
    int32_t Decimator() const { return decimator_; }
    void setDecimator(int32_t n);
    const std::string& RecordFileName() const { return recordFileName_; }
    void setRecordFileName(std::string v) { recordFileName_ = std::move(v); }
    int32_t RecBlockSizeInSamples() const { return recBlockSize_; }
    void setRecBlockSizeInSamples(int32_t v);
    int32_t PlayBlockSizeInSamples() const { return playBlockSize_; }
    void setPlayBlockSizeInSamples(int32_t v);
    int32_t SamplingRate() const { return samplingRate_; }
    void setSamplingRate(int32_t v);
    int32_t BitsPerSample() const { return bitsPerSample_; }
    void setBitsPerSample(int32_t v);
    int32_t NumChannels() const { return numChannels_; }
    void setNumChannels(int32_t v);
    int32_t TotSamplesOut() const;
    bool IsRecording() const { return isRecording_; }
    // Resuming is only possible into a recording whose file is still open and was not stopped by a fault.
    void setIsRecording(bool v) { isRecording_ = v && RecordingResumable(); }
    bool RecordingResumable() const { return recording_.open() && !recording_.failed(); }
    // A file (played or recorded) is open: OpenFile's result alone cannot tell an error number from a size.
    bool IsFileOpen() const { return diskFile_ != nullptr; }

    // The log, shared with the track list.
    const std::vector<LogRecord>& LogRecords() const { return logRecords_; }
    int32_t LogCount() const { return logCount_; }
    int32_t NumberOfTracks() const { return numberOfTracks_; }
    int32_t TrailerPosition() const { return int32_t(playback_.trailerPosition()); }
    // Bytes per sample of the open file or recording: offsets in the log count in these.
    int32_t BytesPerSample() const {
        return recording_.halfSize() > 0 ? recording_.bytesPerSample() : playback_.bytesPerSample();
    }
    // Samples refused because both halves were still waiting for the disk.
    int64_t DroppedSamples() const { return recording_.dropped(); }

    // Recording.
    int32_t OpenRecording();
    int16_t AddSamples(std::span<const int16_t> Samples, int32_t NoSamples);
    int32_t WriteToDisk();
    void StopRecording();
    int32_t CloseRecording();
    int32_t CloseFile();
    int32_t NewLogRecord(const int32_t& TunedFrequency);
    int16_t UpdateWavHeader();
    // The user's explicit No to saving: the temporary recording may be replaced by the next Record.
    void DiscardRecording();

    // Playback.
    int32_t GetNextSamples(std::span<int16_t> OutSamples, int16_t NoSamples);
    int32_t ReadFromDisk();
    int32_t Play();
    int32_t RecordPlayback();
    int32_t PlayRecording();
    int32_t OpenPlayback();
    void StopPlayer();
    void Pause();
    void StopPlayBack();
    void PlayFrom(int32_t Index);
    int32_t ClosePlayback();

    // Media and settings.
    int32_t OpenFile();
    std::string LoadMedia();
    void Save();
    void init();

private:
    void raiseFault(RecorderFault fault, int32_t errorNumber);
    bool recordingSideShown() const;
    void recordingStopped(RecorderFault fault, int32_t errorNumber);
    int32_t flushRecording();
    std::vector<uint8_t> BuildWavHeader();
    void ParseWavHeader(std::span<const uint8_t> header);
    void ReadTrailer();
    int32_t openForPlayback(bool startReading);
    void selectRateOption();
    int32_t closeHandle();
    void resetBuffers();
    double now() const;
    int32_t recoverUnsavedRecording();
    int32_t moveAside(const std::string& path, bool marked);
    bool setUnsavedMarker(const std::string& path);
    void journalEntry(const LogRecord& r);
    void dropJournal();
    void readSettings();

    profile::SettingsStore& settings_;
    files::FileSystem& fs_;
    std::string programFolder_;
    WavFilePorts ports_;

    std::unique_ptr<files::File> diskFile_;
    std::string name_ = "clsWavFile";
    std::string fileShortName_, fileName_, recordFileName_;
    MediaStatus statusOfMedia_ = MediaStatus::Empty;
    int32_t playerMode_ = 0, prevPlayerMode_ = 0;
    bool isPlaying_ = false, isClosed_ = true, isPaused_ = false, isRecording_ = false;
    int32_t recBlockSize_ = 131072, playBlockSize_ = 32768, decimator_ = 1, samplingRate_ = 48000;
    int32_t wavSamplingRate_ = 48000, bitsPerSample_ = 16, numChannels_ = 1;

    std::vector<LogRecord> logRecords_{1};
    int32_t logCount_ = 0, numberOfTracks_ = 0;

    WavRecording recording_;
    WavPlayback playback_;
    LogJournal journal_;
    bool journalFailed_ = false;

    bool inWrite_ = false, inStopRecording_ = false, inStopPlayBack_ = false, inRead_ = false,
         inGetNext_ = false, inSave_ = false;
};

} // namespace recorder
