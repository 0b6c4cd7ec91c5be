// The receive chain: the stages (detectors, noise reduction, AF notch and peak search, level, AGC and
// output level) and the two chains that run them, the audio chain DoDSP on a single-channel block
// (AudioChain.cpp) and the I/Q chain DoDSPIQ on an I/Q pair (IqChain.cpp).
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "dsp/ChainPorts.h"
#include "dsp/Detectors.h"
#include "dsp/FilterBank.h"
#include "dsp/NerixNCO.h"
#include "dsp/clsFFTReal.h"
#include "frame/ReceiverState.h"

namespace Nerix {

// Every block buffer: a block in 0..2047, FFT scratch in 2048..4095.
inline constexpr int32_t kBufferLength = 4097;

// The bank's filters centre their kernels on tap (2048 - 1) / 2, so each delays its signal by 1023
// samples; SAM delays the IF sum by as much to meet its filtered carrier.
inline constexpr int32_t kSamCarrierDelay = (kBlockPoints - 1) / 2;

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

    // One captured I/Q block into one audio block: A (the first channel) is replaced by the audio, B is
    // only read. Decides the LO side from the tuning port unless VFOControl is set. A failing display step is
    // skipped; any other failure leaves A silent and reaches the caller. DspBusy is held for the call.
    void DoDSPIQ(int16_t* A, const int16_t* B, int32_t n);
    // The tuned frequency the LO side was last decided for (0.1 Hz).
    int32_t LastTunedFrequency() const noexcept { return lastTunedFrequency_; }

    // Detectors over 2048-sample blocks, the filters of the bank around the arithmetic of Detectors.h;
    // arrays run through a filter need kBufferLength elements.
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
    AfNotchState& IqNotchState() noexcept { return iqNotch_; }

private:
    struct AgcChannel {
        std::vector<float> ramp;
        std::vector<float> history; // empty: the receiver state's AgcPeakHistory
        float peak = 0.0f, gain = 0.0f, previousGain = 0.0f;
    };
    void measure(std::span<const float> v, std::span<float> scratch);
    void agc(std::span<const float> v, std::span<float> target, AgcChannel& ch);
    static void requireBlock(std::span<const float> v, size_t n, const char* source);
    // The tuning port's tuned frequency; 0 with none.
    int32_t tuned() const;

    ReceiverState& state_;
    Wrappers& nerix_;
    FilterBank& bank_;
    clsFFTReal& fft_;
    NCO& nco_;

    // DoDSP, in the order it runs its steps
    void showAudio(int32_t source, const float* ch1, const float* ch2);
    // The captured channel as the IF in x_, its display copy before the IF filter.
    void audioToIf(const int16_t* A);
    // The detector's pair in i_ and q_ (and SAM's carrier in c_).
    void audioDetectorInput();
    // The detected audio in WorkBuffer.
    void detectAudio();
    // Noise reduction, the AF notch and filter, the level and the output into A.
    void finishAudio(int16_t* A);
    std::vector<float> x_, displayCopy_, i_, q_, c_;
    AfNotchState audioNotch_;
    // demodulators
    BcWindow bcWindow_{};
    float fmLastPhase_ = 0.0f;
    std::vector<float> fmMag_, fmPhase_, samScratch_;
    // level and AGC
    std::vector<float> levelScratch_, audioLevelScratch_, weighted_;
    AgcChannel agcChain_, agcAudio_, agcIf_;
    // noise reduction
    std::vector<float> nrRe_, nrIm_, nrMag_, nrBefore_; // the spectrum, its new and its old magnitudes
    // DoDSPIQ, in the order it runs its steps
    void runIq(int16_t* A, const int16_t* B);
    void decideLoSide();
    // The captured pair, corrected, summed into WorkBuffer and filtered as the IF.
    void iqToIf(const int16_t* A, const int16_t* B);
    void showIqIf();
    void levelIqIf(int32_t mode);
    void levelAndAgcIq();
    // The detector's pair in iqI_ and iqQ_.
    void mixIqForDetector(int32_t mode);
    void showIqDetectorInput();
    // The detected audio in WorkBuffer.
    void detectIq(int32_t mode);
    // Noise reduction, the AF notch and filter, the level and the output into A.
    void finishIqAudio(int32_t mode, int16_t* A);
    // The IF sum delayed by kSamCarrierDelay samples through the delay line; valid until the next call.
    const float* samDelayedIf(const float* sum);
    std::vector<float> iqI_, iqQ_, iqSum_, iqDiff_, iqC_, iqD_;
    // SAM: the IF sum delayed as far as the carrier filter delays the carrier, and the samples that
    // reach into the next block.
    std::vector<float> samIf_, samDelayLine_;
    AfNotchState iqNotch_;
    int32_t lastTunedFrequency_ = 0;
};

} // namespace Nerix
