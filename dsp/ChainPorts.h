// What the receive chain reaches of later layers (display, recorder, tuning, sound engine), as small
// interfaces the receive path wires to the real objects and tests fake.
#pragma once

#include <cstdint>

#include "frame/TuningPort.h"

namespace Nerix {

// The display port: the spectrum analyser as the chain and the block drivers feed it at their source
// points (see DisplayTap.h for the one order in which a point feeds it).
class SpectrumSink {
public:
    virtual ~SpectrumSink() = default;
    virtual bool Active() const = 0;
    virtual void SetIQMode(bool iq) = 0;
    virtual bool IQMode() const = 0;
    // Two channels of Points samples each (at most 2048).
    virtual void LoadSamples_S(const float* channel1, const float* channel2) = 0;
    virtual void LoadSamples_INT16(const int16_t* channel1, const int16_t* channel2) = 0;
    virtual double FStart() const = 0;
    virtual double FEnd() const = 0;
    virtual void SetFOffset(int32_t hz) = 0;
    virtual void SetReverseSpectrum(bool reverse) = 0;
    // The next frame, asked for once per played block.
    virtual void RequestRedraw() = 0;
};

// The recorder's playing state.
class PlayerState {
public:
    virtual ~PlayerState() = default;
    virtual bool IsPlaying() const = 0;
};

// The sound engine's playback attenuation, hundredths of a decibel (0 none; the engine limits it).
class OutputAttenuationSink {
public:
    virtual ~OutputAttenuationSink() = default;
    virtual void SetOutputAttenuation(int32_t hundredthsDb) = 0;
};

// Where the chain's calls go; any of them may be absent (nothing is fed, the recorder is idle, the
// tuned frequency is 0 and the I/Q chain keeps its LO side, the attenuation goes nowhere).
struct ChainPorts {
    SpectrumSink* Spectrum = nullptr;
    PlayerState* Player = nullptr;
    // The audio chain reads the tuned frequency here; the I/Q chain also the oscillator and the IF, and
    // it sets the LO side.
    TuningPort* Tuning = nullptr;
    OutputAttenuationSink* Engine = nullptr;
};

} // namespace Nerix
