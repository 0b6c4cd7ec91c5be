// The 44-byte RIFF/WAVE PCM header at the front of every recording: written from a format and a data
// size, and read back field by field for the player to judge.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace recorder {

inline constexpr int32_t kHeaderLength = 44;

// The two size fields a growing recording brings up to date after every half written.
inline constexpr std::size_t kRiffSizeOffset = 4;
inline constexpr std::size_t kDataSizeOffset = 40;

// The whole factors between the capture rate and a recording's: a recording keeps one sample in each
// factor, the player zero-stuffs by it, and only at these do the blocks tile a half.
inline constexpr bool isRateFactor(int64_t f) {
    return f == 1 || f == 2 || f == 4 || f == 8 || f == 16;
}

struct WavFormat {
    int32_t sampleRate = 48000;
    int32_t bytesPerSample = 2;
    int32_t channels = 1;
};

// The header of a file holding dataBytes bytes of samples; the sizes keep their low 32 bits.
std::vector<uint8_t> wavHeader(const WavFormat& format, int64_t dataBytes);

// The RIFF size (36 + dataBytes) and the data size, as stored at their offsets.
std::array<uint8_t, 4> riffSizeField(int64_t dataBytes);
std::array<uint8_t, 4> dataSizeField(int64_t dataBytes);

// The fields the player reads, as they stand in the file: nothing is checked here.
struct WavHeaderFields {
    int32_t sampleRate = 0;
    int32_t bitsPerSample = 0;
    int32_t dataSize = 0;
    bool wavTags = false; // "RIFF", "WAVE", "fmt " and "data" stand where the header puts them
};

// header holds at least kHeaderLength bytes.
WavHeaderFields wavHeaderFields(std::span<const uint8_t> header);

} // namespace recorder
