// The offline receiver: a WAV file (48 kHz, 16-bit PCM, one or two channels) through the receive path
// (the real block drivers and chains), block by block as the sound engine would deliver it, into a mono
// WAV file of the played blocks. Both files pass a block at a time through buffers of a fixed size, so
// its memory does not grow with the file.
//
// Two channels are an I/Q pair, left the in-phase and right the quadrature channel, taken in the
// receiver's orientation (docs/ARCHITECTURE.md, "The I/Q orientation"): a station at a positive
// frequency of left + j right lies below the LO. With the LO side as the user's choice (`upper`), the
// default receives the stations at positive frequencies, `upper` those at negative ones. A file made
// the common way (a station above the LO at a positive frequency) is received with `flip` and `upper`
// together; without them its sidebands come out swapped. One channel is an IF centred on 12 kHz, not
// audio.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "frame/ReceiverModes.h"
#include "platform/files/FileSystem.h"

namespace offline {

// What the receiver starts from without options: USB, the AF band 300 to 3000 Hz, the AGC on (attack
// 50, decay 20, its peak history preset to 16383 as the main window's load leaves it, so the level
// settles over the first 3 to 4 s in BC, SAM, FM and the sidebands), the BFO at 0, the station below
// the LO.
struct Options {
    std::string input, output;
    int32_t mode = DemodMode::USB; // one of DemodMode
    int32_t filterLo = 300;        // Hz
    int32_t filterHi = 3000;
    float bfo = 0.0f;      // Hz, the BFO knob
    bool upper = false;    // IQSelectUpper: the LO on the low side, the station above it
    bool hiSideLo = false; // single-channel files: the LO on the high side
    bool agc = true;
    bool noiseReduction = false;
    bool notch = false; // the AF notch over 900..1100 Hz
    bool flip = false;  // FlipIQ: left and right swapped before the chain
    bool phaseBit = false;
    float balance = 1.0f;
    // The vector libraries, by name or path.
    std::string nerixLibrary = "libnerix.so", nspLibrary = "libnsp.so";
    // An FFTW wisdom file: its plans are taken, the real transforms measured as the program measures them
    // (quickly where the file has them), and the file written back when that added to it. Without one
    // the plans are estimated, and the output the same on every machine with the same libraries.
    std::string wisdom;
    // The receiver is handed to the result instead of torn down, for a caller that ends the process next.
    bool keepReceiver = false;
};

// Block times in a fixed number of logarithmic bins (1 % wide, 100 ns to about 2 minutes), so a run of
// any length keeps the same few kilobytes; quantiles are good to half a percent, the maximum exact.
class BlockTimes {
public:
    void add(double seconds);
    int64_t count() const { return count_; }
    double total() const { return total_; }
    double max() const { return max_; }
    // The time below which the fraction p (0 < p <= 1) of the blocks lie, by nearest rank.
    double quantile(double p) const;

private:
    static constexpr int32_t kBins = 2100;
    std::array<int64_t, kBins> bins_{};
    int64_t count_ = 0;
    double total_ = 0, max_ = 0;
};

struct Result {
    int32_t blocks = 0;
    BlockTimes blockTimes;   // each block's run through the receive path
    double setupSeconds = 0; // the libraries, the filter bank, the path and the mode, and opening files
    double fileSeconds = 0;  // reading the input and writing the output
    std::shared_ptr<void> receiver; // with Options::keepReceiver
    double seconds() const { return blockTimes.total(); }
    double microsecondsPerBlock() const { return blocks ? seconds() * 1e6 / blocks : 0; }
    double realTimeFactor() const { return seconds() > 0 ? blocks * (2048.0 / 48000.0) / seconds() : 0; }
};

// A whole file in memory, for making test and benchmark inputs: 16-bit PCM, the samples interleaved.
struct Wav {
    int32_t channels = 1, rate = 48000;
    std::vector<int16_t> samples;
};
// Raises a runtime error for a file that cannot be written.
void writeWav(const std::string& path, const Wav& wav);

// The samples of a WAV file, 2048 frames at a time, read through a buffer of its own.
class WavReader {
public:
    static constexpr int32_t kBlockFrames = 2048;

    // Raises 53 for a file that cannot be opened and 321 (with a text saying what the receiver takes)
    // for one that is no 16-bit PCM WAV file at 48 kHz with one or two channels.
    WavReader(files::FileSystem& fileSystem, const std::string& path);
    ~WavReader();
    WavReader(const WavReader&) = delete;
    WavReader& operator=(const WavReader&) = delete;

    int32_t channels() const { return channels_; }
    int64_t frames() const { return dataBytes_ / (2 * channels_); }
    // The next whole block: the left channel into a, the right into b (zeros for one channel). False
    // once fewer than a block's frames are left.
    bool next(std::span<int16_t> a, std::span<int16_t> b);

private:
    void refill();

    std::unique_ptr<files::File> file_;
    std::string path_;
    int32_t channels_ = 1;
    int64_t dataStart_ = 0, dataBytes_ = 0, position_ = 0; // position_: bytes of data consumed
    std::unique_ptr<uint8_t[]> buffer_;
    size_t bufferSize_ = 0, bufferAt_ = 0, bufferEnd_ = 0;
};

// Runs the file through the receive path: two channels through the I/Q driver, one through the audio
// driver (with a silent second channel). Raises a runtime error for a file it cannot read or write.
Result run(const Options& options);
Result run(const Options& options, files::FileSystem& fileSystem);

} // namespace offline
