// The recording half of the recorder: captured blocks fill one of two halves while the other waits for
// the disk; a full half goes to the file decimated, and the header's sizes follow every half written.
#pragma once

#include "platform/files/FileSystem.h"
#include "recorder/RecorderPorts.h"

#include <cstdint>
#include <functional>
#include <span>
#include <vector>

namespace recorder {

class WavRecording {
public:
    // Told once a fault has stopped the recording; the file is already cut back where a write failed.
    using StopHandler = std::function<void(RecorderFault fault, int32_t errorNumber)>;

    explicit WavRecording(StopHandler stopped) : stopped_(std::move(stopped)) {}

    // No recording: every cursor and count back to nothing (the buffers stay).
    void reset() { state_ = State{}; }
    // A new recording in halves of halfSize captured samples, kept one in decimator, bytesPerSample wide.
    void begin(int32_t halfSize, int32_t decimator, int32_t bytesPerSample);
    // The open file is this recording's from now on, or no more.
    void setOpen(bool open) { state_.open = open; }
    // The counters a closed recording no longer shows.
    void clearCounts() {
        state_.samplesQueued = 0;
        state_.numSamples = 0;
    }

    bool open() const { return state_.open; }
    bool failed() const { return state_.failed; }
    // Zero until a recording begins.
    int32_t halfSize() const { return state_.R; }
    int32_t decimator() const { return state_.D; }
    int32_t bytesPerSample() const { return state_.bytesPerSample; }
    int32_t pendingHalves() const { return state_.pending; }
    int64_t samplesQueued() const { return state_.samplesQueued; }
    int64_t dataBytes() const { return state_.dataBytes; }
    int64_t numSamples() const { return state_.numSamples; }
    int64_t dropped() const { return state_.dropped; }

    // Queues a block; a block that finds both halves waiting is dropped, counted and reported once.
    int16_t add(std::span<const int16_t> samples, int32_t count, WavFileListener* listener);
    // Writes the halves waiting for the disk, oldest first.
    int32_t writePending(files::File* file, int64_t maxFileBytes);
    // Everything captured reaches the file: halves still waiting, then the half being filled.
    int32_t flush(files::File* file, int64_t maxFileBytes);

private:
    struct State {
        bool open = false;   // the open file is this recording's
        bool failed = false; // stopped by a write failure or the size limit; nothing more is written
        bool dropping = false;
        int32_t R = 0, D = 1, bytesPerSample = 2, decimatedHalfSize = 0;
        int32_t fillHalf = 0, fillPosition = 0, pending = 0;
        int64_t samplesQueued = 0, dataBytes = 0, numSamples = 0, dropped = 0;
    };

    int32_t writeHalf(files::File* file, int64_t maxFileBytes, int32_t half, int32_t samples);
    int32_t writeSizes(files::File& file);
    void stopOnFault(files::File* file, RecorderFault fault, int32_t errorNumber, bool cutBack);

    StopHandler stopped_;
    State state_;
    std::vector<int16_t> recordBuffer_, halfBuffer_;
    std::vector<uint8_t> writeBytes_;
};

} // namespace recorder
