// The offline receiver: a 48 kHz 16-bit WAV file through the receive path (the real block drivers and
// chains), block by block as the sound engine would deliver it, into a WAV file of the played blocks.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "frame/ReceiverModes.h"

namespace offline {

struct Options {
    std::string input, output;
    int32_t mode = DemodMode::USB; // one of DemodMode
    int32_t filterLo = 300;        // Hz
    int32_t filterHi = 3000;
    float bfo = 0.0f;      // Hz, the BFO knob
    bool upper = false;    // IQSelectUpper: receive below the LO
    bool hiSideLo = false; // single-channel files: the LO on the high side
    bool agc = true;
    bool noiseReduction = false;
    bool notch = false; // the AF notch over 900..1100 Hz
    bool flip = false;
    bool phaseBit = false;
    float balance = 1.0f;
    // The vector libraries, by name or path.
    std::string nerixLibrary = "libnerix.so", nspLibrary = "libnsp.so";
};

struct Result {
    int32_t blocks = 0;
    double seconds = 0; // processing time of all blocks
    double microsecondsPerBlock() const { return blocks ? seconds * 1e6 / blocks : 0; }
    double realTimeFactor() const { return seconds > 0 ? blocks * (2048.0 / 48000.0) / seconds : 0; }
};

// 16-bit PCM: the samples interleaved.
struct Wav {
    int32_t channels = 1, rate = 48000;
    std::vector<int16_t> samples;
};
// Raises a runtime error for a file that cannot be read or is not 16-bit PCM.
Wav readWav(const std::string& path);
void writeWav(const std::string& path, const Wav& wav);

// Two channels run the I/Q driver, one the audio driver (with a silent second channel).
Result run(const Options& options);

} // namespace offline
