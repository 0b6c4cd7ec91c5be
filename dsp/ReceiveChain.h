// The audio side of the receive chain: demodulators, noise reduction, AF notch and peak search, level,
// AGC and output level, and the audio DSP chain DoDSP that runs them on a single-channel block.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "dsp/ChainPorts.h"
#include "dsp/FilterBank.h"
#include "dsp/NerixNCO.h"
#include "dsp/clsFFTReal.h"
#include "frame/ReceiverState.h"

namespace Nerix {

// Every block buffer: a block in 0..2047, FFT scratch in 2048..4095.
inline constexpr int32_t kBufferLength = 4097;

// The AF notch's spectrum buffers and overlap tail; each chain keeps its own.
struct AfNotchState {
    AfNotchState();
    std::vector<float> Real, Imag, Power, Tail;
    double LastPeakBin = 0.0;
};

// Holds every buffer the chain needs, made once; nothing is allocated per block.
class ReceiveChain {
public:
    ReceiveChain(ReceiverState& state, Wrappers& nerix, FilterBank& bank, clsFFTReal& fftReal4096, NCO& nco,
                 ChainPorts ports = {});
    ReceiveChain(const ReceiveChain&) = delete;
    ReceiveChain& operator=(const ReceiveChain&) = delete;

    ChainPorts Ports;
    std::vector<float> WorkBuffer;   // shared by both chains
    std::vector<float> Sine, Cosine; // the oscillator's block, shared by both chains

    // One captured block of a single channel into one audio block: A (2048 samples) is replaced by the
    // audio; B and n are not used. A failing step is skipped and the next one runs; DspBusy is set for
    // the call and always cleared.
    void DoDSP(int16_t* A, const int16_t* B, int32_t n);

    // Detectors over 2048-sample blocks; arrays run through a filter need kBufferLength elements.
    void DemodAm(std::span<float> I, std::span<float> Q, std::span<float> out);
    void DemodSsb(std::span<float> I, std::span<float> Q, std::span<float> out, bool sumFlag);
    void DemodSam(std::span<float> I, std::span<float> Q, std::span<float> out);
    // Square-law envelope over a running six-sample window; in may be out.
    void DemodBc(std::span<float> in, std::span<float> out, int32_t n);
    void DemodFm(std::span<const float> I, std::span<const float> Q, std::span<float> out);

    void MeasureLevel(std::span<const float> v);
    // Measures v and applies the gain to WorkBuffer.
    void ApplyAgc(std::span<const float> v);
    // Level of m, AGC measured on m and applied to t, then the output level of t.
    void ProcessAudioLevel(std::span<const float> m, std::span<float> t);
    void AudioLC(std::span<float> v);
    void ReduceNoise(std::span<float> v);
    // The peak search over the AF band, and the AF notch when it is on and of the AF type, on WorkBuffer.
    void AfNotchAndPeakSearch(AfNotchState& s);

    AfNotchState& AudioNotchState() noexcept { return audioNotch_; }

private:
    struct AgcChannel {
        std::vector<float> ramp;
        float peak = 0.0f, gain = 0.0f, previousGain = 0.0f;
    };
    void measure(std::span<const float> v, float* scratch);
    void agc(std::span<const float> v, std::span<float> target, AgcChannel& ch);
    static void requireBlock(std::span<const float> v, size_t n, const char* source);

    ReceiverState& state_;
    Wrappers& nerix_;
    FilterBank& bank_;
    clsFFTReal& fft_;
    NCO& nco_;

    // DoDSP
    std::vector<float> x_, displayCopy_, i_, q_, c_;
    AfNotchState audioNotch_;
    // demodulators
    float bcWindow_[6] = {};
    float fmLastPhase_ = 0.0f;
    std::vector<float> fmMag_, fmPhase_, samScratch_;
    // level and AGC
    std::vector<float> levelScratch_, audioLevelScratch_, weighted_;
    AgcChannel agcChain_, agcAudio_;
    // noise reduction
    std::vector<float> nrRe_, nrIm_, nrMag_, nrBefore_; // the spectrum, its new and its old magnitudes
};

} // namespace Nerix
