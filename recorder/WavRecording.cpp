// The recording half: two halves of captured samples, decimated and narrowed on their way to the file.
#include "recorder/WavRecording.h"

#include "frame/DebugTools.h"
#include "platform/runtime/RuntimeError.h"
#include "recorder/LogRecord.h"
#include "recorder/WavFileParts.h"
#include "recorder/WavHeader.h"

#include <algorithm>

namespace recorder {

void WavRecording::begin(int32_t halfSize, int32_t decimator, int32_t bytesPerSample) {
    state_ = State{};
    state_.R = halfSize;
    state_.D = decimator;
    state_.bytesPerSample = bytesPerSample;
    state_.decimatedHalfSize = state_.R / state_.D;
    recordBuffer_.assign(std::size_t(2 * state_.R + 1), 0);
    halfBuffer_.assign(std::size_t(state_.R), 0);
    writeBytes_.assign(std::size_t(state_.decimatedHalfSize) * std::size_t(state_.bytesPerSample), 0);
}

int16_t WavRecording::add(std::span<const int16_t> samples, int32_t count, WavFileListener* listener) {
    State& s = state_;
    const int32_t n = count;
    if (n <= 0) return 0;
    if (std::size_t(n) > samples.size() || n > s.R - s.fillPosition)
        runtime::raise(runtime::err::kSubscriptOutOfRange, kWavFileSource);
    if (s.pending == 2) {
        s.dropped += n;
        if (!s.dropping) {
            s.dropping = true;
            if (listener) listener->RecordingFault(RecorderFault::SamplesDropped, 0);
        }
        return 0;
    }
    s.dropping = false;
    DebugTools::CopyWords(
        samples.data(),
        recordBuffer_.data() + std::size_t(s.R) * std::size_t(s.fillHalf) + std::size_t(s.fillPosition), n);
    s.samplesQueued += n;
    s.fillPosition += n;
    if (s.samplesQueued % (16 * int64_t(n)) != 0 && listener)
        listener->SamplesPlayed(0, clamp32(s.samplesQueued / s.D));
    if (s.fillPosition >= s.R) {
        s.fillPosition = 0;
        s.fillHalf = 1 - s.fillHalf;
        ++s.pending;
        if (listener) listener->WriteNextBlockToDisk();
    }
    return 0;
}

int32_t WavRecording::writeSizes(files::File& file) {
    const auto riff = riffSizeField(state_.dataBytes);
    const auto data = dataSizeField(state_.dataBytes);
    std::size_t written = 0;
    int32_t rc = file.writeAt(int64_t(kRiffSizeOffset), riff, written);
    if (rc == 0) rc = file.writeAt(int64_t(kDataSizeOffset), data, written);
    return rc;
}

void WavRecording::stopOnFault(files::File* file, RecorderFault fault, int32_t errorNumber, bool cutBack) {
    state_.failed = true;
    state_.pending = 0;
    state_.fillPosition = 0;
    if (cutBack && file) {
        file->truncate(kHeaderLength + state_.dataBytes);
        writeSizes(*file);
    }
    if (stopped_) stopped_(fault, errorNumber);
}

// Writes `samples` captured samples of one half, decimated, after the data already in the file.
int32_t WavRecording::writeHalf(files::File* file, int64_t maxFileBytes, int32_t half, int32_t samples) {
    State& s = state_;
    const int32_t count = samples / s.D;
    const int64_t bytes = int64_t(count) * s.bytesPerSample;
    if (kHeaderLength + s.dataBytes + bytes + kMaxTrailerBytes > maxFileBytes) {
        stopOnFault(file, RecorderFault::FileLimit, 0, false);
        return 0;
    }
    // A failed close leaves the recording running without its file: the half fails as a write to a
    // closed file does, and the recording stops.
    if (!file) {
        stopOnFault(nullptr, RecorderFault::WriteFailed, runtime::err::kBadFileName, false);
        return runtime::err::kBadFileName;
    }
    DebugTools::CopyWords(recordBuffer_.data() + std::size_t(half) * std::size_t(s.R), halfBuffer_.data(),
                          samples);
    for (int32_t k = 0; k < count; ++k) {
        const int16_t v = halfBuffer_[std::size_t(k) * std::size_t(s.D)];
        if (s.bytesPerSample == 1) {
            writeBytes_[std::size_t(k)] = uint8_t((v >> 8) + 128);
        } else {
            writeBytes_[2 * std::size_t(k)] = uint8_t(uint16_t(v));
            writeBytes_[2 * std::size_t(k) + 1] = uint8_t(uint16_t(v) >> 8);
        }
    }
    std::size_t written = 0;
    int32_t rc = file->writeAt(kHeaderLength + s.dataBytes,
                               std::span<const uint8_t>(writeBytes_).first(std::size_t(bytes)), written);
    if (rc == 0 && written != std::size_t(bytes)) rc = files::err::kDiskFull;
    if (rc == 0) {
        s.dataBytes += bytes;
        s.numSamples += count;
        // A crash leaves a file whose header counts every half written.
        rc = writeSizes(*file);
    }
    if (rc != 0) stopOnFault(file, RecorderFault::WriteFailed, rc, true);
    return rc;
}

int32_t WavRecording::writePending(files::File* file, int64_t maxFileBytes) {
    while (state_.pending > 0 && !state_.failed) {
        const int32_t oldest = state_.pending == 2 ? state_.fillHalf : 1 - state_.fillHalf;
        --state_.pending;
        const int32_t rc = writeHalf(file, maxFileBytes, oldest, state_.R);
        if (rc != 0) return rc;
    }
    return 0;
}

int32_t WavRecording::flush(files::File* file, int64_t maxFileBytes) {
    if (!state_.open || state_.failed || !file) return 0;
    int32_t rc = writePending(file, maxFileBytes);
    if (rc == 0 && !state_.failed && state_.fillPosition > 0) {
        const int32_t samples = state_.fillPosition;
        state_.fillPosition = 0;
        rc = writeHalf(file, maxFileBytes, state_.fillHalf, samples);
    }
    return rc;
}

} // namespace recorder
