// The receiver's antenna and loudspeaker on the run's sound server: an I/Q tone played into the null
// sink "rx", and what the program plays to "out", recorded from that sink's monitor and measured.
#pragma once

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "e2e/harness/Servers.h"

namespace e2e {

inline constexpr int kSampleRate = 48000;

// Plays a complex tone into "rx" until destroyed: left I = cos, right Q = sin, so a positive offset lies
// above the centre in the sense the left channel leads. Nothing plays when the offset is silent(). The
// player asks the sound server for the latency given (a long one costs the server less).
class ToneSource {
public:
    ToneSource(const std::filesystem::path& folder, double offsetHz, double amplitude = 0.25,
               std::chrono::seconds length = 60s, std::chrono::milliseconds latency = 20ms);
    ~ToneSource();
    ToneSource(const ToneSource&) = delete;
    ToneSource& operator=(const ToneSource&) = delete;

private:
    std::filesystem::path file_;
    std::unique_ptr<ChildProcess> player_;
};

// Stereo 16-bit frames taken from a sink's monitor.
struct Sound {
    std::vector<int16_t> left, right;
    double seconds() const { return static_cast<double>(left.size()) / kSampleRate; }
    // The part from..to seconds.
    Sound slice(double from, double to) const;
};

// Records the monitor of the sink for the time given (plus the recorder's own start, which is dropped).
Sound recordSink(const std::filesystem::path& folder, const std::string& sink,
                 std::chrono::milliseconds length);

// Records the sink in pieces of the length given until a piece satisfies the check or the bound has
// passed; the last piece.
Sound listenUntil(const std::filesystem::path& folder, const std::string& sink,
                  const std::function<bool(const Sound&)>& heard, std::chrono::milliseconds piece,
                  std::chrono::milliseconds bound);

struct ToneReading {
    double hz = 0;             // the strongest component in the band searched
    double levelDb = -200;     // its amplitude, dB relative to full scale
    double neighbourDb = -200; // the strongest other component within ±500 Hz, at least 40 Hz away
    double rmsDb = -200;       // the whole signal's RMS, dB relative to full scale
};

// The strongest tone between lo and hi Hz in one channel, by the Goertzel recurrence on a Hann window.
ToneReading measureTone(const std::vector<int16_t>& samples, double loHz = 100, double hiHz = 4000);
// The amplitude of one frequency, dB relative to full scale (Hann window).
double toneLevelDb(const std::vector<int16_t>& samples, double hz);

} // namespace e2e
