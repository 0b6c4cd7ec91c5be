// The recorder and player: records the received audio into a WAV file with a frequency log, and plays
// such files (or the recording still open) back into the receive chain.
#pragma once

#include "platform/files/FileSystem.h"
#include "platform/profile/SettingsStore.h"
#include "recorder/LogRecord.h"
#include "recorder/RecorderPorts.h"

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

// The run-time error of a file the player cannot read.
inline constexpr int32_t kInvalidFileFormat = 321;

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
    int32_t StatusOfMedia() const { return statusOfMedia_; }
    void setStatusOfMedia(int32_t v) { statusOfMedia_ = v; }
    int32_t PlayerMode() const { return playerMode_; }
    void setPlayerMode(int32_t v);
    bool IsPlaying() const { return isPlaying_; }
    const std::string& Name() const { return name_; }
    void setName(std::string v) { name_ = std::move(v); }
    bool IsClosed() const { return isClosed_; }
    bool IsPaused() const { return isPaused_; }
    void setIsPaused(bool v) { isPaused_ = v; }
    bool BufferFull() const { return rec_.pending > 0; }
    int32_t NumSamples() const;
    void setNumSamples(int32_t v) { play_.numSamples = v; }
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
    void setIsRecording(bool v) { isRecording_ = v && rec_.open && !rec_.failed; }

    // The log, shared with the track list.
    const std::vector<LogRecord>& LogRecords() const { return logRecords_; }
    int32_t LogCount() const { return logCount_; }
    int32_t NumberOfTracks() const { return numberOfTracks_; }
    int32_t TrailerPosition() const { return int32_t(trailerPosition_); }
    // Bytes per sample of the open file or recording: offsets in the log count in these.
    int32_t BytesPerSample() const { return rec_.R > 0 ? rec_.bytesPerSample : play_.bytesPerSample; }
    // Samples refused because both halves were still waiting for the disk.
    int64_t DroppedSamples() const { return rec_.dropped; }

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
    struct Recording {
        bool open = false;   // the open file is this recording's
        bool failed = false; // stopped by a write failure or the size limit; nothing more is written
        bool dropping = false;
        int32_t R = 0, D = 1, bytesPerSample = 2, decimatedHalfSize = 0;
        int32_t fillHalf = 0, fillPosition = 0, pending = 0;
        int64_t samplesQueued = 0, dataBytes = 0, numSamples = 0, dropped = 0;
    };
    struct Playback {
        int32_t F = 1, H = 0, bytesPerSample = 2;
        int32_t fillHalf = 0, fillPosition = 0, halfOffset = 0, playingHalf = 0;
        int64_t filePosition = 45, dataEnd = 44, seekPosition = 0, fileSize = 0, numSamples = 0;
        bool endOfData = false;
    };

    void raiseFault(RecorderFault fault, int32_t errorNumber);
    bool recordingSideShown() const;
    int32_t writeHalf(int32_t half, int32_t samples);
    int32_t writePending();
    int32_t flushRecording();
    void stopOnFault(RecorderFault fault, int32_t errorNumber, bool cutBack);
    int32_t writeSizes();
    std::vector<uint8_t> BuildWavHeader();
    void ParseWavHeader(std::span<const uint8_t> header);
    void ReadTrailer();
    int32_t openForPlayback(bool startReading);
    void sizePlayBuffers();
    void selectRateOption();
    int32_t closeHandle();
    void resetBuffers();
    double now() const;
    int32_t recoverUnsavedRecording();
    void setUnsavedMarker(const std::string& path);
    void readSettings();

    profile::SettingsStore& settings_;
    files::FileSystem& fs_;
    std::string programFolder_;
    WavFilePorts ports_;
    WavFileListener nullListener_;

    std::unique_ptr<files::File> diskFile_;
    std::string name_ = "clsWavFile";
    std::string fileShortName_, fileName_, recordFileName_;
    int32_t statusOfMedia_ = 0, playerMode_ = 0, prevPlayerMode_ = 0;
    bool isPlaying_ = false, isClosed_ = true, isPaused_ = false, isRecording_ = false;
    int32_t recBlockSize_ = 131072, playBlockSize_ = 32768, decimator_ = 1, samplingRate_ = 48000;
    int32_t wavSamplingRate_ = 48000, bitsPerSample_ = 16, numChannels_ = 1;

    std::vector<LogRecord> logRecords_{1};
    int32_t logCount_ = 0, numberOfTracks_ = 0;
    int64_t trailerPosition_ = 0;
    int32_t headerBits_ = 16;
    int32_t headerDataSize_ = 0;

    Recording rec_;
    Playback play_;
    std::vector<int16_t> recordBuffer_, halfBuffer_;
    std::vector<uint8_t> writeBytes_;
    std::vector<int16_t> playBuffer_, readBuffer_;
    std::vector<uint8_t> readBytes_;

    bool inWrite_ = false, inStopRecording_ = false, inStopPlayBack_ = false, inRead_ = false,
         inGetNext_ = false, inSave_ = false;
};

} // namespace recorder
