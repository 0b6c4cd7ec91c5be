// What the receive chain reaches of later layers (display, recorder, VFO, sound engine), as small
// interfaces the main window wires to the real objects and tests fake.
#pragma once

#include <cstdint>

class clsVFO;

namespace Nerix {

// The spectrum analyser as the chain feeds it at a source point.
class SpectrumSink {
public:
    virtual ~SpectrumSink() = default;
    virtual bool Active() const = 0;
    virtual void SetIQMode(bool iq) = 0;
    virtual bool IQMode() const = 0;
    // Two channels of Points samples each (at most 2048).
    virtual void LoadSamples_S(const float* channel1, const float* channel2) = 0;
    virtual double FStart() const = 0;
    virtual double FEnd() const = 0;
    virtual void SetFOffset(int32_t hz) = 0;
    virtual void SetReverseSpectrum(bool reverse) = 0;
};

// The recorder's playing state.
class PlayerState {
public:
    virtual ~PlayerState() = default;
    virtual bool IsPlaying() const = 0;
};

// The tuned frequency of the VFO, tenths of a hertz.
class TuningSource {
public:
    virtual ~TuningSource() = default;
    virtual int32_t TunedFrequency() const = 0;
};

// The sound engine's playback attenuation, hundredths of a decibel (0 none; the engine limits it).
class OutputAttenuationSink {
public:
    virtual ~OutputAttenuationSink() = default;
    virtual void SetOutputAttenuation(int32_t hundredthsDb) = 0;
};

// Where the chain's calls go; any of them may be absent (nothing is fed, the recorder is idle, the
// tuned frequency is 0, the attenuation goes nowhere, the I/Q chain keeps its LO side).
struct ChainPorts {
    SpectrumSink* Spectrum = nullptr;
    PlayerState* Player = nullptr;
    TuningSource* Tuning = nullptr;
    OutputAttenuationSink* Engine = nullptr;
    // The I/Q chain reads the tuning, the oscillator and its multiplier here and sets the LO side.
    clsVFO* Vfo = nullptr;
};

} // namespace Nerix
