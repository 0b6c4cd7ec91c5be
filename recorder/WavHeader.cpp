// Writing and reading the RIFF/WAVE PCM header.
#include "recorder/WavHeader.h"

#include <cstring>

namespace recorder {

namespace {

void putLE(std::vector<uint8_t>& b, std::size_t at, uint32_t v, int width) {
    for (int i = 0; i < width; ++i)
        b[at + std::size_t(i)] = uint8_t(v >> (8 * i));
}

std::array<uint8_t, 4> le32(uint32_t v) {
    return {uint8_t(v), uint8_t(v >> 8), uint8_t(v >> 16), uint8_t(v >> 24)};
}

int32_t getLE32(std::span<const uint8_t> b, std::size_t at) {
    return int32_t(uint32_t(b[at]) | uint32_t(b[at + 1]) << 8 | uint32_t(b[at + 2]) << 16 |
                   uint32_t(b[at + 3]) << 24);
}

int32_t getLE16(std::span<const uint8_t> b, std::size_t at) {
    return int32_t(uint32_t(b[at]) | uint32_t(b[at + 1]) << 8);
}

} // namespace

std::array<uint8_t, 4> riffSizeField(int64_t dataBytes) {
    return le32(uint32_t(36 + dataBytes));
}

std::array<uint8_t, 4> dataSizeField(int64_t dataBytes) {
    return le32(uint32_t(dataBytes));
}

std::vector<uint8_t> wavHeader(const WavFormat& format, int64_t dataBytes) {
    const int32_t bps = format.bytesPerSample;
    const int32_t rate = format.sampleRate;
    const int32_t channels = format.channels;
    std::vector<uint8_t> h(kHeaderLength, 0);
    std::memcpy(&h[0], "RIFF", 4);
    putLE(h, kRiffSizeOffset, uint32_t(36 + dataBytes), 4);
    std::memcpy(&h[8], "WAVE", 4);
    std::memcpy(&h[12], "fmt ", 4);
    putLE(h, 16, 16, 4);
    putLE(h, 20, 1, 2);
    putLE(h, 22, uint32_t(channels), 2);
    putLE(h, 24, uint32_t(rate), 4);
    putLE(h, 28, uint32_t(rate * channels * bps), 4);
    putLE(h, 32, uint32_t(channels * bps), 2);
    putLE(h, 34, uint32_t(bps * 8), 2);
    std::memcpy(&h[36], "data", 4);
    putLE(h, kDataSizeOffset, uint32_t(dataBytes), 4);
    return h;
}

WavHeaderFields wavHeaderFields(std::span<const uint8_t> header) {
    WavHeaderFields fields;
    fields.sampleRate = getLE32(header, 24);
    fields.bitsPerSample = getLE16(header, 34);
    fields.dataSize = getLE32(header, 40);
    auto tagAt = [&](std::size_t at, const char* tag) { return std::memcmp(&header[at], tag, 4) == 0; };
    fields.wavTags = tagAt(0, "RIFF") && tagAt(8, "WAVE") && tagAt(12, "fmt ") && tagAt(36, "data");
    return fields;
}

} // namespace recorder
