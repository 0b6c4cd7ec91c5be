// The playback half: halves read from the disk, widened to 16 bits and zero-stuffed to the capture rate.
#include "recorder/WavPlayback.h"

#include "frame/DebugTools.h"
#include "platform/runtime/RuntimeError.h"
#include "recorder/WavFileParts.h"

#include <algorithm>
#include <cstring>
#include <string>

namespace recorder {

void WavPlayback::sizeBuffers(int32_t playBlockSize) {
    state_.H = playBlockSize / state_.F;
    playBuffer_.assign(std::size_t(2 * state_.H + 1), 0);
    readBuffer_.assign(std::size_t(state_.H), 0);
    readBytes_.assign(std::size_t(state_.H) * 2, 0);
}

void WavPlayback::releaseBuffers() {
    playBuffer_.assign(1, 0);
    readBuffer_.assign(1, 0);
    state_.H = 0;
    state_.halfOffset = 0;
}

void WavPlayback::rewindCursors() {
    state_.fillHalf = state_.fillPosition = state_.halfOffset = state_.playingHalf = 0;
}

void WavPlayback::takeHeader(const WavHeaderFields& header, int32_t samplingRate) {
    const int32_t rate = header.sampleRate;
    headerBits_ = header.bitsPerSample;
    headerDataSize_ = header.dataSize;
    if (rate <= 0 || rate > samplingRate)
        runtime::raise(runtime::err::kDivisionByZero, kWavFileSource,
                       header.wavTags
                           ? "The file's sample rate of " + std::to_string(rate) + " Hz cannot be played"
                           : std::string("The file has no WAV header"));
    const int32_t f = samplingRate / rate;
    // Only whole factors whose blocks tile a half can be zero-stuffed.
    if (!isRateFactor(f)) runtime::raise(kInvalidFileFormat, kWavFileSource, "Invalid file format");
    state_.F = f;
    state_.bytesPerSample = headerBits_ == 8 ? 1 : 2;
    const int64_t dataBytes = headerDataSize_;
    trailerPosition_ = headerDataSize_ >= 0 ? dataBytes + kFirstSamplePosition : 0;
    if (trailerPosition_ >= state_.fileSize) trailerPosition_ = 0;
    // A data size that the file holds ends the samples; otherwise they run to the end of the file.
    state_.dataEnd = (headerDataSize_ > 0 && kHeaderLength + dataBytes <= state_.fileSize)
                         ? kHeaderLength + dataBytes
                         : state_.fileSize;
}

int32_t WavPlayback::readTrailer(files::File& file, std::vector<LogRecord>& log) {
    State& s = state_;
    log.assign(1, LogRecord{});
    int32_t tracks = 0;
    auto markerAt = [&](int64_t position) {
        if (position <= 0 || position + kMarkerLength - 1 > s.fileSize) return false;
        uint8_t m[kMarkerLength];
        std::size_t got = 0;
        return file.readAt(position - 1, m, got) == 0 && got == std::size_t(kMarkerLength) &&
               std::memcmp(m, kTrailerMarker, kMarkerLength) == 0;
    };
    if (trailerPosition_ != 0 && !markerAt(trailerPosition_)) {
        trailerPosition_ = 0;
        // A file may hold 16-bit samples under an 8-bit header; where the marker lies tells.
        const int64_t wide = int64_t(headerDataSize_) * 2 + kFirstSamplePosition;
        if (headerBits_ == 8 && headerDataSize_ > 0 && markerAt(wide)) {
            s.bytesPerSample = 2;
            trailerPosition_ = wide;
        }
    }
    if (trailerPosition_ != 0) {
        s.dataEnd = trailerPosition_ - 1;
        const int64_t textStart = trailerPosition_ - 1 + kMarkerLength;
        const int64_t textBytes = std::min<int64_t>(s.fileSize - textStart, kMaxTrailerBytes);
        std::vector<uint8_t> text(std::size_t(std::max<int64_t>(0, textBytes)));
        std::size_t got = 0;
        if (!text.empty() && file.readAt(textStart, text, got) == 0) {
            text.resize(got);
            tracks = ParseLogText(log, text);
        }
    }
    // Samples are whole: the data ends on a sample boundary.
    s.dataEnd = kHeaderLength +
                (std::max<int64_t>(0, s.dataEnd - kHeaderLength) / s.bytesPerSample) * s.bytesPerSample;
    for (LogRecord& r : log) {
        if (r.TunedFrequency == 0 && r.Start == 0 && r.End == 0) continue;
        auto clampOffset = [&](int32_t v) {
            const int64_t c = std::clamp<int64_t>(v, kHeaderLength, s.dataEnd);
            return clamp32(kHeaderLength + (c - kHeaderLength) / s.bytesPerSample * s.bytesPerSample);
        };
        r.Start = clampOffset(r.Start);
        r.End = clampOffset(r.End);
    }
    return tracks;
}

void WavPlayback::startOnRecording(int64_t fileSize, int32_t factor, int32_t bytesPerSample) {
    state_.numSamples = 0;
    state_.endOfData = false;
    state_.fileSize = fileSize;
    state_.F = factor;
    state_.bytesPerSample = bytesPerSample;
    state_.filePosition = kFirstSamplePosition;
}

int32_t WavPlayback::fill(files::File& file, bool& ended) {
    State& s = state_;
    const int32_t H = s.H;
    const int32_t bps = s.bytesPerSample;
    const int64_t wanted = int64_t(H) * bps;
    const int64_t available = std::clamp<int64_t>(s.dataEnd - (s.filePosition - 1), 0, wanted);
    std::size_t got = 0;
    const int32_t rc = available > 0
                           ? file.readAt(s.filePosition - 1,
                                         std::span<uint8_t>(readBytes_).first(std::size_t(available)), got)
                           : 0;
    if (rc != 0) {
        s.endOfData = true;
        ended = true;
        return rc;
    }
    // Past the data (or a file cut short) is silence, never trailer bytes.
    const std::size_t whole = got / std::size_t(bps);
    for (std::size_t k = 0; k < std::size_t(H); ++k) {
        int16_t v = 0;
        if (k < whole)
            v = bps == 1 ? int16_t((int32_t(readBytes_[k]) - 128) * 256)
                         : int16_t(uint16_t(readBytes_[2 * k] | uint16_t(readBytes_[2 * k + 1]) << 8));
        readBuffer_[k] = v;
    }
    DebugTools::CopyWords(readBuffer_.data(), playBuffer_.data() + s.fillPosition, H);
    s.filePosition += wanted;
    if (s.filePosition - 1 >= s.dataEnd) {
        s.endOfData = true;
        s.filePosition = kFirstSamplePosition;
        s.fillHalf = 0;
        s.fillPosition = 0;
        ended = true;
    } else {
        s.fillHalf = 1 - s.fillHalf;
        s.fillPosition = s.fillHalf * H;
        ended = false;
    }
    return 0;
}

int32_t WavPlayback::take(std::span<int16_t> out, int32_t count, bool& switched) {
    State& s = state_;
    switched = false;
    const int32_t F = s.F;
    const int32_t H = s.H;
    const int32_t m = std::min(count / F, H - s.halfOffset);
    if (m <= 0) return 0;
    s.numSamples += m;
    const int16_t* src =
        playBuffer_.data() + std::size_t(H) * std::size_t(s.playingHalf) + std::size_t(s.halfOffset);
    for (int32_t k = 0; k < m; ++k)
        out[std::size_t(k) * std::size_t(F)] = src[k];
    s.halfOffset += m;
    if (s.halfOffset >= H) {
        s.halfOffset = 0;
        s.playingHalf = 1 - s.playingHalf;
        switched = true;
    }
    return m;
}

void WavPlayback::rewind() {
    state_.filePosition = kFirstSamplePosition;
    state_.halfOffset = 0;
    state_.playingHalf = 0;
}

void WavPlayback::seek(int64_t start) {
    state_.seekPosition = start + 1;
    state_.numSamples = (start - kHeaderLength) / state_.bytesPerSample;
}

void WavPlayback::startSeek() {
    state_.filePosition = state_.seekPosition;
    rewindCursors();
    state_.endOfData = false;
}

} // namespace recorder
