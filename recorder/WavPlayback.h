// The playback half of the recorder: a file's samples read half by half from the disk, widened to
// 16 bits, and handed out zero-stuffed to the capture rate; the header and trailer read on opening.
#pragma once

#include "platform/files/FileSystem.h"
#include "recorder/LogRecord.h"
#include "recorder/WavHeader.h"

#include <cstdint>
#include <span>
#include <vector>

namespace recorder {

// The run-time error of a file the player cannot read.
inline constexpr int32_t kInvalidFileFormat = 321;

class WavPlayback {
public:
    // Where a file's samples start being read: one past the header, counted from 1.
    static constexpr int64_t kFirstSamplePosition = kHeaderLength + 1;

    // No file: every cursor back to the start (the buffers and the trailer's place stay).
    void reset() { state_ = State{}; }
    // Buffers for halves of playBlockSize output samples at the file's upsampling factor.
    void sizeBuffers(int32_t playBlockSize);
    // After a close: a block asked for reads nothing.
    void releaseBuffers();
    // Both halves empty, reading from the start of the samples.
    void rewindCursors();

    // Takes what the header says, refusing a rate the player cannot bring to samplingRate.
    void takeHeader(const WavHeaderFields& header, int32_t samplingRate);
    // Rebuilds the log from the trailer and bounds its offsets to the samples; returns the tracks.
    int32_t readTrailer(files::File& file, std::vector<LogRecord>& log);
    // Plays the open recording: its factor and width, from its first sample (the buffers sized after).
    void startOnRecording(int64_t fileSize, int32_t factor, int32_t bytesPerSample);

    // Reads the next half from the file into the half being filled. On a failed read (its error is
    // returned) the data has ended; `ended` tells whether this half was the last.
    int32_t fill(files::File& file, bool& ended);
    // Copies what the playing half holds of a block of `count` output samples, one in every factor
    // (the rest stays as the caller zeroed it); `switched` tells whether the half ran out.
    int32_t take(std::span<int16_t> out, int32_t count, bool& switched);
    // After the end: the next play starts from the first sample.
    void rewind();
    // The next block starts at byte offset `start` of the file.
    void seek(int64_t start);
    bool seekPending() const { return state_.seekPosition != 0; }
    void startSeek();
    void endSeek() { state_.seekPosition = 0; }

    void setEndOfData(bool v) { state_.endOfData = v; }
    bool endOfData() const { return state_.endOfData; }
    void setDataEnd(int64_t v) { state_.dataEnd = v; }
    int64_t filePosition() const { return state_.filePosition; }
    void setFilePosition(int64_t v) { state_.filePosition = v; }
    int32_t halfSize() const { return state_.H; }
    int32_t factor() const { return state_.F; }
    int32_t bytesPerSample() const { return state_.bytesPerSample; }
    int64_t fileSize() const { return state_.fileSize; }
    void setFileSize(int64_t v) { state_.fileSize = v; }
    int64_t numSamples() const { return state_.numSamples; }
    void setNumSamples(int64_t v) { state_.numSamples = v; }
    int64_t trailerPosition() const { return trailerPosition_; }

private:
    struct State {
        int32_t F = 1, H = 0, bytesPerSample = 2;
        int32_t fillHalf = 0, fillPosition = 0, halfOffset = 0, playingHalf = 0;
        int64_t filePosition = kFirstSamplePosition, dataEnd = kHeaderLength, seekPosition = 0, fileSize = 0,
                numSamples = 0;
        bool endOfData = false;
    };

    State state_;
    int64_t trailerPosition_ = 0;
    int32_t headerBits_ = 16;
    int32_t headerDataSize_ = 0;
    std::vector<int16_t> playBuffer_, readBuffer_;
    std::vector<uint8_t> readBytes_;
};

} // namespace recorder
