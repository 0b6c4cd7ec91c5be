// The receive chain's buffers and the stages both chains run.
#include "dsp/ReceiveChain.h"

#include <algorithm>
#include <cmath>

#include "dsp/LevelStages.h"
#include "platform/runtime/Convert.h"
#include "platform/runtime/RuntimeError.h"

namespace Nerix {

namespace {

constexpr int32_t kN = kBlockPoints;
constexpr float kAgcTarget = 16383.0f;
constexpr float kOutputPeak = 16384.0f;

std::vector<float> buffer(size_t n = kBufferLength) {
    return std::vector<float>(n, 0.0f);
}

} // namespace

AfNotchState::AfNotchState() : Real(buffer()), Imag(buffer()), Power(buffer()), Tail(buffer()) {}

ReceiveChain::ReceiveChain(ReceiverState& state, Wrappers& nerix, FilterBank& bank, clsFFTReal& fftReal4096,
                           NCO& nco, ChainPorts ports)
    : Ports(ports), WorkBuffer(buffer()), Sine(buffer(2049)), Cosine(buffer(2049)), state_(state),
      nerix_(nerix), bank_(bank), fft_(fftReal4096), nco_(nco), x_(buffer()), displayCopy_(buffer()),
      i_(buffer()), q_(buffer()), c_(buffer()), fmMag_(buffer()), fmPhase_(buffer()),
      samScratch_(buffer(2049)), levelScratch_(buffer(2049)), audioLevelScratch_(buffer(2049)),
      weighted_(buffer(ReceiverState::kAgcTableLength)), nrRe_(buffer()), nrIm_(buffer()), nrMag_(buffer()),
      nrBefore_(buffer()), iqI_(buffer()), iqQ_(buffer()), iqSum_(buffer()), iqDiff_(buffer()),
      iqC_(buffer()), iqD_(buffer()), samIf_(buffer()), samDelayLine_(buffer(kSamCarrierDelay)) {
    agcChain_.ramp = buffer(2049);
    agcAudio_.ramp = buffer(2048);
    agcIf_.ramp = buffer(2049);
    agcIf_.history = buffer(ReceiverState::kAgcTableLength);
}

void ReceiveChain::requireBlock(std::span<const float> v, size_t n, const char* source) {
    if (v.size() < n) runtime::raise(runtime::err::kSubscriptOutOfRange, source);
}

int32_t ReceiveChain::tuned() const {
    return Ports.Tuning ? Ports.Tuning->TunedFrequency() : 0;
}

// ---- demodulators ----

void ReceiveChain::DemodSsb(std::span<float> I, std::span<float> Q, std::span<float> out, bool sumFlag) {
    requireBlock(out, kN, "frmMain.DemodSsb");
    bank_.SsbFilterI.Filter_FFT_S_1(I);
    bank_.SsbFilterQ.Filter_FFT_S_1(Q);
    detectSsb(nerix_, I, Q, out, sumFlag);
}

void ReceiveChain::DemodSam(std::span<float> I, std::span<float> Q, std::span<float> out) {
    requireBlock(out, kN, "frmMain.DemodSam");
    bank_.SsbFilterI.Filter_FFT_S_1(I);
    bank_.SsbFilterQ.Filter_FFT_S_1(Q);
    detectSam(nerix_, I, Q, out, samScratch_);
}

void ReceiveChain::DemodAm(std::span<float> I, std::span<float> Q, std::span<float> out) {
    detectAm(nerix_, I, Q, out);
    bank_.DemodAfFilter.Filter_FFT_S_1(out);
}

void ReceiveChain::DemodBc(std::span<float> in, std::span<float> out, int32_t n) {
    detectBc(nerix_, in, out, n, bcWindow_);
    bank_.DemodAfFilter.Filter_FFT_S_1(out);
}

void ReceiveChain::DemodFm(std::span<const float> I, std::span<const float> Q, std::span<float> out) {
    detectFm(nerix_, I, Q, out, fmMag_, fmPhase_, fmLastPhase_);
    bank_.DemodAfFilter.Filter_FFT_S_1(out);
}

// ---- level, AGC, output level ----

void ReceiveChain::measure(std::span<const float> v, std::span<float> scratch) {
    const float s = blockPower(nerix_, v, scratch);
    ReceiverState& st = state_;
    st.LevelRingIndex = std::clamp(st.LevelRingIndex, 0, 5);
    st.BlockPowerRingIndex = std::clamp(st.BlockPowerRingIndex, 0, 233);
    st.BlockPowerRing[static_cast<size_t>(st.BlockPowerRingIndex)] = s;
    st.LevelRing[static_cast<size_t>(st.LevelRingIndex)] = blockLevel(s);
    st.LevelRingIndex = (st.LevelRingIndex + 1) % 6;
    st.BlockPowerRingIndex = (st.BlockPowerRingIndex + 1) % 234;
}

void ReceiveChain::MeasureLevel(std::span<const float> v) {
    measure(v, levelScratch_);
}

void ReceiveChain::agc(std::span<const float> v, std::span<float> target, AgcChannel& ch) {
    requireBlock(v, kN, "frmMain.ApplyAgc");
    requireBlock(target, kN, "frmMain.ApplyAgc");
    ReceiverState& st = state_;
    // Lengths outside the tables would read past them (or divide by zero); the setters keep them
    // within, and so does this.
    const int32_t L = std::clamp(st.AgcHistoryLength, 1, ReceiverState::kAgcTableLength);
    const int32_t R = std::clamp(st.AgcRampLength, 0, kN);
    ch.peak = nerix_.MaxAbs(v.data(), kN);
    float* history = ch.history.empty() ? st.AgcPeakHistory.data() : ch.history.data();
    if (ch.peak != 0.0f) {
        nerix_.Dll().ShiftVectorRight_S_1(history, L - 1);
        history[0] = ch.peak;
    }
    nerix_.Mpy3(history, st.AgcHistoryWeights.data(), weighted_.data(), L);
    const float m = nerix_.MaxAbs(weighted_.data(), L);
    // An all-zero weighted history leaves the gains as they were and the block unscaled.
    if (m == 0.0f) runtime::raise(runtime::err::kDivisionByZero, "frmMain.ApplyAgc");
    ch.gain = kAgcTarget / m;
    if (st.AGCOn) {
        nerix_.Dll().VectorRamp_S_1(ch.previousGain, ch.gain, ch.ramp.data(), R);
        if (R > 0) nerix_.MpyInPlace(ch.ramp.data(), target.data(), R);
        nerix_.ScaleSingles(ch.gain, target.data() + R, kN - R);
    }
    ch.previousGain = ch.gain;
    st.AgcGain = ch.gain;
}

void ReceiveChain::ApplyAgc(std::span<const float> v) {
    agc(v, WorkBuffer, agcChain_);
}

void ReceiveChain::AudioLC(std::span<float> v) {
    requireBlock(v, kN, "frmMain.AudioLC");
    const float level = state_.OutputAttenuation;
    if (level > 0.0f) {
        nerix_.ScaleSingles(level, v.data(), kN);
        if (Ports.Engine) Ports.Engine->SetOutputAttenuation(0);
    } else if (Ports.Engine) {
        Ports.Engine->SetOutputAttenuation(runtime::CLng(static_cast<double>(level)));
    }
    limitPeak(nerix_, v, kOutputPeak);
}

void ReceiveChain::ProcessAudioLevel(std::span<const float> m, std::span<float> t) {
    measure(m, audioLevelScratch_);
    agc(m, t, agcAudio_);
    AudioLC(t);
}

// ---- noise reduction, peak search, AF notch ----

void ReceiveChain::ReduceNoise(std::span<float> v) {
    if (!state_.NBOn) return;
    requireBlock(v, kSegmentSize, "frmMain.ReduceNoise");
    // The upper half is transformed as it stands (what the last stage left there).
    fft_.FFT_Real_S_2(v, nrRe_, nrIm_);
    const int32_t n = fft_.Points;
    const int32_t lo = bank_.DemodAfFilter.BinFLow;
    const int32_t first = lo + 25;
    // The band stops at the last bin; an empty or inverted band is left alone.
    const int32_t c = std::min(bank_.DemodAfFilter.BinFCount, n - first);
    if (first >= 0 && c > 0) {
        // Only magnitudes change, each bin keeping its phase, so the bins touched (lo + 1 .. lo + c + 24,
        // which hold the band) are scaled in place: the same result as a round trip through polar
        // form, without the angle of every bin.
        const int32_t from = std::max(lo + 1, 0), to = std::min(lo + c + 24, n - 1);
        const int32_t span = to - from + 1;
        float* mag = nrMag_.data() + from;
        float* re = nrRe_.data() + from;
        float* im = nrIm_.data() + from;
        for (int32_t i = 0; i < span; ++i)
            mag[i] = std::sqrt(re[i] * re[i] + im[i] * im[i]);
        nerix_.CopySingles(mag, nrBefore_.data() + from, span);
        nerixdll::NerixDll& dll = nerix_.Dll();
        float* band = nrMag_.data() + first;
        const float level = state_.NbLevel;
        const float M = dll.MaxValue_S(band, c);
        dll.LowThreshFract_S_1(band, level * M, level / 10.0f, c);
        dll.LowThreshFract_S_1(band, level * M, 0.15f, c);
        const float quarter = level * M / 4.0f;
        for (int32_t i = 0; i < span; ++i)
            if (quarter > mag[i]) mag[i] *= 0.5f;
        const float* before = nrBefore_.data() + from;
        for (int32_t i = 0; i < span; ++i) {
            const float f = before[i] > 0.0f ? mag[i] / before[i] : 1.0f;
            re[i] *= f;
            im[i] *= f;
        }
    }
    fft_.IFFT_Real_S_2(nrRe_, nrIm_, v);
    bank_.NrPostFilter.Filter_FFT_S_1(v);
}

void ReceiveChain::AfNotchAndPeakSearch(AfNotchState& s) {
    clsFFTFilter& notch = bank_.NotchFilter;
    if (!notch.Active && !state_.DynFilterActive) return;
    float* w = WorkBuffer.data();
    nerix_.ZeroSingles(w + kN, kN);
    fft_.FFT_Real_S_2(WorkBuffer, s.Real, s.Imag);
    nerix_.Dll().PowerSpectrum_S_2(s.Real.data(), s.Imag.data(), s.Power.data(), kN);
    const int32_t binWidth = runtime::CLng(bank_.AfFilter.HzPerBin);
    const int32_t start = static_cast<int32_t>(runtime::checkedDivide(state_.FilterLo, binWidth));
    // Only the bins of the computed half are searched; an empty or inverted band is not searched.
    const int32_t count = std::min(
        static_cast<int32_t>(runtime::checkedDivide(static_cast<int64_t>(state_.FilterHi) - state_.FilterLo,
                                                    static_cast<int64_t>(binWidth))),
        kN - start);
    if (start >= 0 && count > 0) {
        const int32_t k = nerix_.Dll().MaxIndex_S(s.Power.data() + start, count);
        s.LastPeakBin = k;
        state_.PeakBinRingIndex = std::clamp(state_.PeakBinRingIndex, 0, 100);
        state_.PeakBinRing[static_cast<size_t>(state_.PeakBinRingIndex)] = k;
        if (++state_.PeakBinRingIndex > 100) state_.PeakBinRingIndex = 0;
    }
    if (notch.Active && state_.NotchType == NotchType::AF) {
        notch.Filter_S_Cart_1(s.Real, s.Imag);
        fft_.IFFT_Real_S_2(s.Real, s.Imag, WorkBuffer);
        const int32_t P = notch.Points;
        nerix_.AddInPlace(s.Tail.data(), w, P - 2);
        nerix_.CopySingles(w + P, s.Tail.data(), P - 2);
    }
}

} // namespace Nerix
