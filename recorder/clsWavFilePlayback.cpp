// The recorder's playback side: choosing and opening a file, the blocks handed to the receive chain, the
// reads from the disk, and the transport's modes.
#include "recorder/clsWavFile.h"

#include "frame/ScopedFlag.h"
#include "platform/runtime/RuntimeError.h"
#include "recorder/WavFileParts.h"

#include <algorithm>

namespace recorder {

void clsWavFile::selectRateOption() {
    if (!ports_.rateChoice) return;
    int32_t index = -1;
    for (int32_t i = 0; i < 5; ++i)
        if (wavSamplingRate_ == 48000 >> i) index = i;
    ports_.rateChoice->SelectRecordSampleRate(index);
}

int32_t clsWavFile::GetNextSamples(std::span<int16_t> OutSamples, int16_t NoSamples) {
    if (inGetNext_) return 0;
    const ScopedFlag guard(inGetNext_);
    const int32_t n =
        std::clamp<int32_t>(NoSamples, 0, int32_t(std::min<std::size_t>(OutSamples.size(), INT16_MAX)));
    std::fill_n(OutSamples.begin(), n, int16_t(0));
    if ((playerMode_ != PlayerMode::Playing && playerMode_ != PlayerMode::PlayingBack) || PlayEnd)
        return status::kWrongMode;
    if (playback_.seekPending()) {
        playback_.startSeek();
        ReadFromDisk();
        playback_.endSeek();
        if (PlayEnd) return status::kWrongMode;
    }
    bool switched = false;
    const int32_t m = playback_.take(OutSamples, n, switched);
    if (m <= 0) return 0;
    if (playback_.numSamples() % (16 * int64_t(m)) != 0 && ports_.listener)
        ports_.listener->SamplesPlayed(0, clamp32(playback_.numSamples()));
    if (switched) {
        if (playback_.endOfData()) PlayEnd = true;
        if (ports_.listener) ports_.listener->DiskRead(clamp32(playback_.filePosition()));
    }
    if (PlayEnd) {
        playback_.rewind();
        playerMode_ = PlayerMode::Stopped;
        if (ports_.listener) ports_.listener->PlayEnd();
        if (PlayEnd) return 0;
    }
    if (switched && ports_.listener) ports_.listener->ReadNextBlockFromDisk();
    return 0;
}

int32_t clsWavFile::ReadFromDisk() {
    if (inRead_) return 0;
    const ScopedFlag guard(inRead_);
    if (!diskFile_ || playback_.halfSize() <= 0) return 0;
    const bool ownRecording = recording_.open();
    if (ownRecording) playback_.setDataEnd(kHeaderLength + recording_.dataBytes());
    bool ended = false;
    if (playback_.fill(*diskFile_, ended) != 0) {
        PlayEnd = true;
        ReadNextBufferFromDisk = false;
        // A failed read of the open recording ends its playback, never the recording.
        if (!ownRecording) closeHandle();
        playerMode_ = PlayerMode::Stopped;
        return 0;
    }
    if (!ended) ReadNextBufferFromDisk = false;
    return 0;
}

int32_t clsWavFile::Play() {
    if (playerMode_ == PlayerMode::Closed || !diskFile_ || recording_.open()) return 0;
    playerMode_ = PlayerMode::Playing;
    playback_.setEndOfData(false);
    PlayEnd = false;
    ReadFromDisk();
    return FileSize();
}

int32_t clsWavFile::RecordPlayback() {
    if (isPlaying_ || !recording_.open() || !diskFile_) return 0;
    isPaused_ = false;
    PlayEnd = false;
    int64_t length = 0;
    diskFile_->size(length);
    const int32_t rate = samplingRate_ / recording_.decimator();
    playback_.startOnRecording(length, samplingRate_ / rate, recording_.bytesPerSample());
    wavSamplingRate_ = rate;
    selectRateOption();
    playback_.sizeBuffers(playBlockSize_);
    playback_.rewindCursors();
    playerMode_ = PlayerMode::PlayingBack;
    ReadFromDisk();
    return FileSize();
}

int32_t clsWavFile::PlayRecording() {
    if (!recording_.open()) return 0;
    playerMode_ = PlayerMode::PlayingBack;
    playback_.setEndOfData(false);
    PlayEnd = false;
    ReadFromDisk();
    return FileSize();
}

// Shared by OpenFile and OpenPlayback: open FileName, read header and trailer, size the player.
int32_t clsWavFile::openForPlayback(bool startReading) {
    playback_.reset();
    recording_.reset();
    PlayEnd = false;
    if (!diskFile_) {
        const int32_t rc = fs_.openRead(fileName_, diskFile_);
        if (rc != 0) {
            diskFile_.reset();
            isRecording_ = false;
            return rc;
        }
    }
    try {
        int64_t length = 0;
        int32_t rc = diskFile_->size(length);
        if (rc != 0) runtime::raise(rc, kWavFileSource);
        // Every size and position in a recording is 32-bit.
        if (length > INT32_MAX)
            runtime::raise(kInvalidFileFormat, kWavFileSource,
                           "The file is larger than 2 GiB, the largest size a recording can have");
        if (length == 0) runtime::raise(runtime::err::kDivisionByZero, kWavFileSource, "The file is empty");
        playback_.setFileSize(length);
        std::vector<uint8_t> header(kHeaderLength, 0);
        std::size_t got = 0;
        if ((rc = diskFile_->readAt(0, header, got)) != 0) runtime::raise(rc, kWavFileSource);
        if (got < std::size_t(kHeaderLength))
            runtime::raise(runtime::err::kDivisionByZero, kWavFileSource,
                           "The file is too short to hold a WAV header (" + std::to_string(got) + " bytes)");
        playback_.setFilePosition(WavPlayback::kFirstSamplePosition);
        ParseWavHeader(header);
        playback_.sizeBuffers(playBlockSize_);
        ReadTrailer();
    } catch (const runtime::RuntimeError&) {
        // A file the player refuses leaves nothing open.
        CloseFile();
        throw;
    }
    playback_.setFilePosition(WavPlayback::kFirstSamplePosition);
    logCount_ = 0;
    if (ports_.listener) ports_.listener->CatalogueLoaded(numberOfTracks_);
    playback_.rewindCursors();
    if (startReading) ReadFromDisk();
    return FileSize();
}

int32_t clsWavFile::OpenPlayback() {
    // The open recording is played back through RecordPlayback, never reopened under it.
    if (isPlaying_ || recording_.open()) return 0;
    isPaused_ = false;
    const int32_t rc = openForPlayback(true);
    if (!diskFile_) return rc;
    selectRateOption();
    isPlaying_ = true;
    return rc;
}

int32_t clsWavFile::OpenFile() {
    CloseFile();
    const int32_t result = openForPlayback(false);
    if (!diskFile_) return result;
    playerMode_ = PlayerMode::Stopped;
    statusOfMedia_ = MediaStatus::FileLoaded;
    return result;
}

void clsWavFile::StopPlayer() {
    playerMode_ = PlayerMode::Stopped;
    isPaused_ = false;
}

void clsWavFile::Pause() {
    if (playerMode_ == PlayerMode::Paused) {
        isPaused_ = false;
        playerMode_ = prevPlayerMode_;
        // A half that filled before the pause goes to the disk now.
        if (playerMode_ == PlayerMode::Recording && recording_.pendingHalves() > 0 && ports_.listener)
            ports_.listener->WriteNextBlockToDisk();
    } else {
        prevPlayerMode_ = playerMode_;
        playerMode_ = PlayerMode::Paused;
        isPaused_ = true;
    }
}

void clsWavFile::StopPlayBack() {
    if (inStopPlayBack_) return;
    const ScopedFlag guard(inStopPlayBack_);
    setPlayerMode(PlayerMode::Stopped);
    if (isPlaying_) {
        isPaused_ = isRecording_ = isPlaying_ = false;
        playerMode_ = PlayerMode::Stopped;
    }
}

void clsWavFile::PlayFrom(int32_t Index) {
    if (playerMode_ != PlayerMode::Playing || Index < 0 || std::size_t(Index) >= logRecords_.size()) return;
    playback_.seek(std::max<int64_t>(logRecords_[std::size_t(Index)].Start, kHeaderLength));
}

int32_t clsWavFile::ClosePlayback() {
    if (!isPlaying_) return status::kNothingOpen;
    const int32_t rc = closeHandle();
    if (rc != 0) return rc;
    resetBuffers();
    isClosed_ = true;
    isRecording_ = isPaused_ = isPlaying_ = false;
    return 0;
}

std::string clsWavFile::LoadMedia() {
    if (!ports_.dialogs) return {};
    FileDialogRequest request;
    request.DialogTitle = "Select Filename";
    request.RestoreCurDir = true;
    request.ExistFlags = 2048;
    request.FileName = "*.wav";
    request.Extension = "wav";
    request.Filter = "Sound Files (*.wav)|*.wav";
    request.ReadOnlyIsVisible = false;
    const std::optional<std::string> chosen = ports_.dialogs->ShowOpen(request);
    if (!chosen || chosen->empty()) return {};
    statusOfMedia_ = MediaStatus::FileLoaded;
    setPlayerMode(PlayerMode::Stopped);
    const auto slash = chosen->find_last_of('/');
    fileShortName_ = slash == std::string::npos ? *chosen : chosen->substr(slash + 1);
    fileName_ = *chosen;
    return fileName_;
}

} // namespace recorder
