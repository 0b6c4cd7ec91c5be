// The audio side of the receive chain.
#include "dsp/ReceiveChain.h"

#include <algorithm>
#include <cmath>

#include "platform/runtime/Convert.h"
#include "platform/runtime/RuntimeError.h"
#include "radio/clsVFO.h"

namespace Nerix {

namespace {

constexpr int32_t kN = kBlockPoints;
constexpr float kAgcTarget = 16383.0f;
constexpr float kOutputPeak = 16384.0f;
constexpr float kHalfPi = 1.5707964f; // the float nearest pi/2

std::vector<float> buffer(size_t n = kBufferLength) {
    return std::vector<float>(n, 0.0f);
}

// Holds DspBusy for one block, so a block that fails can never leave it set.
class BusyScope {
public:
    explicit BusyScope(bool& flag) noexcept : flag_(flag) { flag_ = true; }
    ~BusyScope() { flag_ = false; }
    BusyScope(const BusyScope&) = delete;
    BusyScope& operator=(const BusyScope&) = delete;

private:
    bool& flag_;
};

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
      iqC_(buffer()), iqD_(buffer()) {
    agcChain_.ramp = buffer(2049);
    agcAudio_.ramp = buffer(2048);
    agcIf_.ramp = buffer(2049);
    agcIf_.history = buffer(ReceiverState::kAgcTableLength);
}

void ReceiveChain::requireBlock(std::span<const float> v, size_t n, const char* source) {
    if (v.size() < n) runtime::raise(runtime::err::kSubscriptOutOfRange, source);
}

// ---- demodulators ----

void ReceiveChain::DemodSsb(std::span<float> I, std::span<float> Q, std::span<float> out, bool sumFlag) {
    requireBlock(out, kN, "frmMain.DemodSsb");
    bank_.SsbFilterI.Filter_FFT_S_1(I);
    bank_.SsbFilterQ.Filter_FFT_S_1(Q);
    if (sumFlag)
        nerix_.Dll().Add_S_3(I.data(), Q.data(), out.data(), kN);
    else
        nerix_.Dll().Sub_S_3(I.data(), Q.data(), out.data(), kN);
}

void ReceiveChain::DemodSam(std::span<float> I, std::span<float> Q, std::span<float> out) {
    requireBlock(out, kN, "frmMain.DemodSam");
    bank_.SsbFilterI.Filter_FFT_S_1(I);
    bank_.SsbFilterQ.Filter_FFT_S_1(Q);
    nerix_.Dll().Add_S_3(I.data(), Q.data(), out.data(), kN);
    nerix_.Dll().Sub_S_3(I.data(), Q.data(), samScratch_.data(), kN);
    nerix_.AddInPlace(samScratch_.data(), out.data(), kN);
}

void ReceiveChain::DemodAm(std::span<float> I, std::span<float> Q, std::span<float> out) {
    requireBlock(I, kN, "frmMain.DemodAm");
    requireBlock(Q, kN, "frmMain.DemodAm");
    requireBlock(out, kN, "frmMain.DemodAm");
    // The squared envelope: no square root, as the level stages expect.
    nerix_.Dll().PowerSpectrum_S_2(I.data(), Q.data(), out.data(), kN);
    bank_.DemodAfFilter.Filter_FFT_S_1(out);
}

void ReceiveChain::DemodBc(std::span<float> in, std::span<float> out, int32_t n) {
    if (n < 0 || in.size() < static_cast<size_t>(n) || out.size() < static_cast<size_t>(n))
        runtime::raise(runtime::err::kSubscriptOutOfRange, "frmMain.DemodBc");
    nerix_.Dll().Sqr_S_1(in.data(), n);
    constexpr int32_t W = 6;
    for (int32_t k = 0; k < n; ++k) {
        for (int32_t j = W - 1; j > 0; --j)
            bcWindow_[j] = bcWindow_[j - 1];
        bcWindow_[0] = in[static_cast<size_t>(k)];
        float sum = 0.0f;
        for (float w : bcWindow_)
            sum += w;
        // Root of the sum, then divided by the window length (not the root of the mean).
        out[static_cast<size_t>(k)] = static_cast<float>(std::sqrt(static_cast<double>(sum)) / W);
    }
    bank_.DemodAfFilter.Filter_FFT_S_1(out);
}

void ReceiveChain::DemodFm(std::span<const float> I, std::span<const float> Q, std::span<float> out) {
    requireBlock(I, kN, "frmMain.DemodFm");
    requireBlock(Q, kN, "frmMain.DemodFm");
    requireBlock(out, kN, "frmMain.DemodFm");
    nerix_.CartToPolar(I.data(), Q.data(), fmMag_.data(), fmPhase_.data(), kN);
    // Phase differences without unwrapping: a wrap gives one large sample.
    out[0] = fmPhase_[0] - fmLastPhase_;
    for (int32_t k = 1; k < kN; ++k)
        out[static_cast<size_t>(k)] = fmPhase_[static_cast<size_t>(k)] - fmPhase_[static_cast<size_t>(k - 1)];
    nerixdll::NerixDll& dll = nerix_.Dll();
    dll.Abs_S_1(out.data(), kN);
    dll.Sub_S_1(kHalfPi, out.data(), kN);
    nerix_.ScaleSingles(4096.0f, out.data(), kN);
    fmLastPhase_ = fmPhase_[kN - 1];
    bank_.DemodAfFilter.Filter_FFT_S_1(out);
}

// ---- level, AGC, output level ----

void ReceiveChain::measure(std::span<const float> v, float* scratch) {
    requireBlock(v, kN, "frmMain.MeasureLevel");
    nerixdll::NerixDll& dll = nerix_.Dll();
    dll.Sqr_S_2(v.data(), scratch, kN);
    const float s = dll.Sum_S_1(scratch, kN);
    ReceiverState& st = state_;
    st.LevelRingIndex = std::clamp(st.LevelRingIndex, 0, 5);
    st.BlockPowerRingIndex = std::clamp(st.BlockPowerRingIndex, 0, 233);
    st.BlockPowerRing[static_cast<size_t>(st.BlockPowerRingIndex)] = s;
    st.LevelRing[static_cast<size_t>(st.LevelRingIndex)] = static_cast<float>(std::sqrt(s / 2048.0));
    st.LevelRingIndex = (st.LevelRingIndex + 1) % 6;
    st.BlockPowerRingIndex = (st.BlockPowerRingIndex + 1) % 234;
}

void ReceiveChain::MeasureLevel(std::span<const float> v) {
    measure(v, levelScratch_.data());
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
    const float peak = nerix_.MaxAbs(v.data(), kN);
    if (peak > kOutputPeak) nerix_.ScaleSingles(kOutputPeak / peak, v.data(), kN);
}

void ReceiveChain::ProcessAudioLevel(std::span<const float> m, std::span<float> t) {
    measure(m, audioLevelScratch_.data());
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
    if (notch.Active && state_.NotchType == 0) {
        notch.Filter_S_Cart_1(s.Real, s.Imag);
        fft_.IFFT_Real_S_2(s.Real, s.Imag, WorkBuffer);
        const int32_t P = notch.Points;
        nerix_.AddInPlace(s.Tail.data(), w, P - 2);
        nerix_.CopySingles(w + P, s.Tail.data(), P - 2);
    }
}

// ---- the audio chain ----

void ReceiveChain::DoDSP(int16_t* A, const int16_t* /*B*/, int32_t /*n*/) {
    BusyScope busy(state_.DspBusy);
    using runtime::resumeNext;
    nerixdll::NerixDll& dll = nerix_.Dll();
    FilterBank& b = bank_;
    ReceiverState& st = state_;
    SpectrumSink* scope = Ports.Spectrum;
    const auto scopeActive = [scope] { return scope != nullptr && scope->Active(); };
    const auto tuned = [this] { return Ports.Tuning ? Ports.Tuning->TunedFrequency() : 0; };
    const auto showAt = [&](const float* ch1, const float* ch2) {
        scope->LoadSamples_S(ch1, ch2);
        scope->SetFOffset(runtime::CLng(tuned() / 10.0 - (scope->FEnd() - scope->FStart()) / 2.0));
        scope->SetReverseSpectrum(st.HiSideLoActive);
    };
    float* x = x_.data();
    float* I = i_.data();
    float* Q = q_.data();
    float* c = c_.data();

    resumeNext([&] { dll.Int16ToFloat_S_2(A, x, kN); });
    resumeNext([&] {
        if (b.NotchFilter.Active && st.NotchType == 1) b.NotchFilter.Filter_FFT_S_1(x_);
    });
    resumeNext([&] {
        if (scopeActive()) nerix_.CopySingles(x, displayCopy_.data(), kN);
    });
    resumeNext([&] {
        if (b.IfFilter.Active) b.IfFilter.Filter_FFT_S_1(x_);
    });
    resumeNext([&] {
        if (scope) scope->SetIQMode(false);
        if (scopeActive() && st.ScopeSource == 1) showAt(displayCopy_.data(), x);
    });

    const bool playing = Ports.Player != nullptr && Ports.Player->IsPlaying();
    const auto both = [&] {
        resumeNext([&] { nerix_.CopySingles(x, I, kN); });
        resumeNext([&] { nerix_.CopySingles(x, Q, kN); });
    };
    if (playing) {
        both();
    } else {
        switch (st.DemodMode) {
        case 0:
            both();
            resumeNext([&] { b.IqCorrectionFilterI.Filter_FFT_S_1(i_); });
            resumeNext([&] { b.HilbertFilter1.Filter_FFT_S_1(q_); });
            break;
        case 1:
        case 2:
            if (st.MixerCentre == st.BaseIF) {
                resumeNext([&] { dll.MixerIQ_S_S_1(x, I, Q, kN); });
            } else {
                resumeNext([&] { nco_.MakeNCO(st.NcoIncrement, Sine.data(), Cosine.data(), 1.0f); });
                resumeNext([&] { nerix_.Mpy3(x, Cosine.data(), I, kN); });
                resumeNext([&] { nerix_.Mpy3(x, Sine.data(), Q, kN); });
            }
            break;
        case 4:
            resumeNext([&] { b.FmHilbertShift.sTransform(x_, q_, kN); });
            resumeNext([&] { b.FmHilbertDelay.sDelaySamples(x_, i_, kN); });
            for (float* v : {I, Q}) {
                resumeNext([&] { dll.HiThresh_S_1(v, 0.0f, 16384.0f, kN); });
                resumeNext([&] { dll.LowThresh_S_1(v, 0.0f, -16384.0f, kN); });
            }
            break;
        case 6:
            resumeNext([&] { nerix_.CopySingles(x, c, kN); });
            resumeNext([&] { dll.HiThresh_S_1(c, 1.0f, 1.0f, kN); });
            resumeNext([&] { dll.LowThresh_S_1(c, -1.0f, -1.0f, kN); });
            resumeNext([&] { nerix_.CopySingles(x, I, kN); });
            resumeNext([&] { nerix_.CopySingles(c, Q, kN); });
            resumeNext([&] { nerix_.ScaleSingles(8192.0f, Q, kN); });
            break;
        default:
            both();
            break;
        }
    }

    resumeNext([&] {
        if (scope) scope->SetIQMode(false);
        if (scopeActive() && st.ScopeSource == 2) showAt(I, Q);
    });

    switch (st.DemodMode) {
    case 0:
    case 7:
        resumeNext([&] { DemodAm(i_, q_, WorkBuffer); });
        break;
    case 1:
        resumeNext([&] { DemodSsb(i_, q_, WorkBuffer, !st.HiSideLoActive); });
        break;
    case 2:
        resumeNext([&] { DemodSsb(i_, q_, WorkBuffer, st.HiSideLoActive); });
        break;
    case 4:
        resumeNext([&] { DemodFm(i_, q_, WorkBuffer); });
        break;
    case 5:
        resumeNext([&] { DemodBc(i_, WorkBuffer, kN); });
        break;
    case 6:
        resumeNext([&] { nerix_.Mpy3(I, c, WorkBuffer.data(), kN); });
        resumeNext([&] { b.DemodAfFilter.Filter_FFT_S_1(WorkBuffer); });
        break;
    default: // DRM and anything else: the in-phase signal as it is
        resumeNext([&] { nerix_.CopySingles(I, WorkBuffer.data(), kN); });
        break;
    }

    resumeNext([&] { ReduceNoise(WorkBuffer); });
    resumeNext([&] { AfNotchAndPeakSearch(audioNotch_); });
    resumeNext([&] {
        if (b.AfFilter.Active) b.AfFilter.Filter_FFT_S_1(WorkBuffer);
    });
    resumeNext([&] { ProcessAudioLevel(WorkBuffer, WorkBuffer); });
    resumeNext([&] { dll.FloatToInt16_S_2(WorkBuffer.data(), A, kN); });
}

// ---- the I/Q chain ----

void ReceiveChain::decideLoSide() {
    clsVFO* vfo = Ports.Vfo;
    if (vfo == nullptr || state_.VFOControl) return;
    const int32_t tf = vfo->TunedFrequency();
    if (tf == lastTunedFrequency_) return;
    // Without an oscillator or with a zero multiplier there is no LO to compare with: the side stays
    // as it is, and is decided as soon as both are there.
    Oscillator* osc = vfo->OscType();
    const int32_t multiplier = vfo->OscMultiplier();
    if (osc == nullptr || multiplier == 0) return;
    const int32_t a = tf / 10;
    const auto b = [&] { return runtime::CLng(static_cast<double>(osc->BaseFrequency()) / multiplier); };
    bool upper;
    if (a < b())
        upper = false;
    else if (a == b())
        upper = !(lastTunedFrequency_ > tf); // a step down keeps the high side
    else
        upper = true;
    state_.IQSelectUpper = upper;
    vfo->setHiSideLo(!upper);
    lastTunedFrequency_ = vfo->TunedFrequency();
}

void ReceiveChain::DoDSPIQ(int16_t* A, const int16_t* B, int32_t /*n*/) {
    BusyScope busy(state_.DspBusy);
    try {
        runIq(A, B);
    } catch (...) {
        // The raw capture at full scale would blast the speaker; a failed block is silence.
        std::fill_n(A, kN, int16_t{0});
        throw;
    }
}

void ReceiveChain::runIq(int16_t* A, const int16_t* B) {
    using runtime::resumeNext;
    nerixdll::NerixDll& dll = nerix_.Dll();
    FilterBank& b = bank_;
    ReceiverState& st = state_;
    SpectrumSink* scope = Ports.Spectrum;
    clsVFO* vfo = Ports.Vfo;
    const auto scopeAt = [&](int32_t source) {
        return scope != nullptr && st.ScopeSource == source && scope->Active();
    };
    const auto tuned = [vfo] { return vfo ? vfo->TunedFrequency() : 0; };
    const auto halfSpan = [scope] { return (scope->FEnd() - scope->FStart()) / 2.0; };
    float* I = iqI_.data();
    float* Q = iqQ_.data();
    float* W = WorkBuffer.data();

    decideLoSide();

    if (st.IQSelectUpper) {
        dll.Int16ToFloat_S_2(B, I, kN);
        dll.Int16ToFloat_S_2(A, Q, kN);
    } else {
        dll.Int16ToFloat_S_2(A, I, kN);
        dll.Int16ToFloat_S_2(B, Q, kN);
    }
    nerix_.ScaleSingles(st.SoundcardCorrectionAmpBalance, Q, kN);
    b.IqCorrectionFilterI.Filter_FFT_S_1(iqI_);
    b.HilbertFilter1.Filter_FFT_S_1(iqQ_);
    dll.Add_S_3(I, Q, W, kN);
    nerix_.CopySingles(W, iqSum_.data(), kN);
    dll.Sub_S_3(I, Q, iqDiff_.data(), kN);
    if (b.NotchFilter.Active && st.NotchType == 1) b.NotchFilter.Filter_FFT_S_1(WorkBuffer);
    if (b.IfFilter.Active) b.IfFilter.Filter_FFT_S_1(WorkBuffer);

    resumeNext([&] {
        if (!scopeAt(1)) return;
        scope->SetIQMode(true);
        const bool r = scope->IQMode();
        if (!r)
            scope->LoadSamples_S(W, iqDiff_.data());
        else if (st.IQSelectUpper)
            scope->LoadSamples_S(iqDiff_.data(), iqSum_.data());
        else
            scope->LoadSamples_S(iqSum_.data(), iqDiff_.data());
        const double s = halfSpan();
        double offset;
        if (st.VFOControl)
            offset = tuned() / 10.0 - s;
        else if (r)
            offset = (vfo ? static_cast<double>(vfo->OscType() ? vfo->OscType()->BaseFrequency() : 0) /
                                    vfo->OscMultiplier() -
                                vfo->IFFrequency()
                          : 0.0) -
                     s;
        else
            offset = tuned() / 10.0 - st.BfoOffset - s;
        scope->SetFOffset(runtime::CLng(offset));
        scope->SetReverseSpectrum(!r && st.IQSelectUpper);
    });

    const int32_t mode = st.DemodMode;
    // The AGC's only failure (an all-zero history) leaves the gain as it was, as in the audio chain.
    const auto levelAndAgc = [&] {
        MeasureLevel(WorkBuffer);
        resumeNext([&] { ApplyAgc(WorkBuffer); });
    };
    if (mode == 0) {
        levelAndAgc();
    } else if (mode == 5 || mode == 6 || mode == 7) {
        // These modes level the IF here and the audio after detection. Through one peak history the
        // two passes weigh IF peaks against detector peaks of another scale (AM1's squared envelope)
        // and the audio collapses; the IF pass keeps a history of its own.
        MeasureLevel(WorkBuffer);
        resumeNext([&] { agc(WorkBuffer, WorkBuffer, agcIf_); });
    }

    switch (mode) {
    case 0:
        nerix_.CopySingles(W, I, kN);
        nerix_.CopySingles(W, Q, kN);
        b.IQAMFilterI.Filter_FFT_S_1(iqI_);
        b.IQAMFilterQ.Filter_FFT_S_1(iqQ_);
        break;
    case 1:
    case 2:
    case 7:
        nco_.MakeNCO(st.NcoIncrement, Sine.data(), Cosine.data(), 1.0f);
        nerix_.Mpy3(W, st.IQSelectUpper ? Sine.data() : Cosine.data(), I, kN);
        nerix_.Mpy3(W, st.IQSelectUpper ? Cosine.data() : Sine.data(), Q, kN);
        break;
    case 6: {
        float* C = iqC_.data();
        nerix_.CopySingles(W, C, kN);
        dll.HiThresh_S_1(C, 0.0f, 1.0f, kN);
        dll.LowThresh_S_1(C, 0.0f, -1.0f, kN);
        nerix_.CopySingles(C, iqD_.data(), kN);
        b.IQAMFilterQ.Filter_FFT_S_1(iqD_);
        b.IQAMFilterI.Filter_FFT_S_1(iqC_);
        nerix_.Mpy3(C, W, I, kN);
        nerix_.Mpy3(iqD_.data(), W, Q, kN);
        break;
    }
    default: // DRM, FM and BC work on the corrected pair or the sum as they are
        break;
    }

    resumeNext([&] {
        if (!scopeAt(2)) return;
        scope->SetIQMode(false);
        scope->LoadSamples_S(I, Q);
        const double s = halfSpan();
        scope->SetFOffset(
            runtime::CLng(st.VFOControl ? tuned() / 10.0 - s : tuned() / 10.0 - st.BfoOffset - s));
        scope->SetReverseSpectrum(!st.IQSelectUpper);
    });

    switch (mode) {
    case 0:
        DemodAm(iqI_, iqQ_, WorkBuffer);
        break;
    case 1:
    case 2:
        DemodSsb(iqI_, iqQ_, WorkBuffer, mode == 1);
        b.DemodAfFilter.Filter_FFT_S_1(WorkBuffer);
        break;
    case 4:
        DemodFm(iqI_, iqQ_, WorkBuffer);
        break;
    case 5:
        DemodBc(WorkBuffer, WorkBuffer, kN);
        break;
    case 6:
        DemodSam(iqI_, iqQ_, WorkBuffer);
        b.DemodAfFilter.Filter_FFT_S_1(WorkBuffer);
        break;
    case 7:
        b.IQAMFilterI.Filter_FFT_S_1(iqI_);
        b.IQAMFilterQ.Filter_FFT_S_1(iqQ_);
        DemodAm(iqI_, iqQ_, WorkBuffer);
        break;
    default: // DRM and anything else: the corrected in-phase input
        nerix_.CopySingles(I, W, kN);
        break;
    }

    ReduceNoise(WorkBuffer);
    AfNotchAndPeakSearch(iqNotch_);
    if (b.AfFilter.Active) b.AfFilter.Filter_FFT_S_1(WorkBuffer);
    if (mode != 0) levelAndAgc();
    AudioLC(WorkBuffer);
    dll.FloatToInt16_S_2(W, A, kN);
}

} // namespace Nerix
