// The I/Q chain: one captured I/Q block into one block of audio, with the LO side decided from the
// tuning.
#include <algorithm>

#include "dsp/DisplayTap.h"
#include "dsp/ReceiveChain.h"
#include "frame/ScopedFlag.h"
#include "platform/runtime/Convert.h"
#include "platform/runtime/RuntimeError.h"

namespace Nerix {

namespace {

constexpr int32_t kN = kBlockPoints;

} // namespace

void ReceiveChain::decideLoSide() {
    TuningPort* tuning = Ports.Tuning;
    if (tuning == nullptr || state_.VFOControl) return;
    const int32_t tf = tuning->TunedFrequency();
    if (tf == lastTunedFrequency_) return;
    // Without an oscillator or with a zero multiplier there is no LO to compare with: the side stays
    // as it is, and is decided as soon as both are there.
    const std::optional<double> base = tuning->OscillatorBase();
    if (!base) return;
    const bool upper = iqUpperSide(tf, runtime::CLng(*base), lastTunedFrequency_);
    state_.IQSelectUpper = upper;
    tuning->SetHiSideLo(!upper);
    lastTunedFrequency_ = tuning->TunedFrequency();
}

const float* ReceiveChain::samDelayedIf(const float* sum) {
    constexpr int32_t d = kSamCarrierDelay;
    float* out = samIf_.data();
    nerix_.CopySingles(samDelayLine_.data(), out, d);
    nerix_.CopySingles(sum, out + d, kN - d);
    nerix_.CopySingles(sum + (kN - d), samDelayLine_.data(), d);
    return out;
}

void ReceiveChain::DoDSPIQ(int16_t* A, const int16_t* B, int32_t /*n*/) {
    ScopedFlag busy(state_.DspBusy);
    try {
        runIq(A, B);
    } catch (...) {
        // The raw capture at full scale would blast the speaker; a failed block is silence.
        std::fill_n(A, kN, int16_t{0});
        throw;
    }
}

void ReceiveChain::runIq(int16_t* A, const int16_t* B) {
    decideLoSide();
    iqToIf(A, B);
    runtime::resumeNext([&] { showIqIf(); });
    const int32_t mode = state_.DemodMode;
    levelIqIf(mode);
    mixIqForDetector(mode);
    runtime::resumeNext([&] { showIqDetectorInput(); });
    detectIq(mode);
    finishIqAudio(mode, A);
}

void ReceiveChain::iqToIf(const int16_t* A, const int16_t* B) {
    nerixdll::NerixDll& dll = nerix_.Dll();
    FilterBank& b = bank_;
    float* I = iqI_.data();
    float* Q = iqQ_.data();
    float* W = WorkBuffer.data();
    if (state_.IQSelectUpper) {
        dll.Int16ToFloat_S_2(B, I, kN);
        dll.Int16ToFloat_S_2(A, Q, kN);
    } else {
        dll.Int16ToFloat_S_2(A, I, kN);
        dll.Int16ToFloat_S_2(B, Q, kN);
    }
    nerix_.ScaleSingles(state_.SoundcardCorrectionAmpBalance, Q, kN);
    b.IqCorrectionFilterI.Filter_FFT_S_1(iqI_);
    b.HilbertFilter1.Filter_FFT_S_1(iqQ_);
    dll.Add_S_3(I, Q, W, kN);
    nerix_.CopySingles(W, iqSum_.data(), kN);
    dll.Sub_S_3(I, Q, iqDiff_.data(), kN);
    if (b.NotchFilter.Active && state_.NotchType == NotchType::IF) b.NotchFilter.Filter_FFT_S_1(WorkBuffer);
    if (b.IfFilter.Active) b.IfFilter.Filter_FFT_S_1(WorkBuffer);
}

// The IF as the display takes it: an I/Q display gets the saved sum and the difference (the side
// received first) around the LO; a two-channel one the filtered sum and the difference.
void ReceiveChain::showIqIf() {
    const ReceiverState& st = state_;
    tapDisplay(
        Ports.Spectrum, st.ScopeSource, {ScopeSource::PreDemod, true, TapAnnounce::WhenFed},
        [&](bool iq) {
            if (!iq) return TapView<float>{WorkBuffer.data(), iqDiff_.data(), st.IQSelectUpper};
            if (st.IQSelectUpper) return TapView<float>{iqDiff_.data(), iqSum_.data(), false};
            return TapView<float>{iqSum_.data(), iqDiff_.data(), false};
        },
        [&](bool iq) -> std::optional<double> {
            if (st.VFOControl) return tuned() / 10.0;
            if (!iq) return tuned() / 10.0 - st.BfoOffset;
            // Around the LO; with none known the display keeps its offset.
            const std::optional<double> base = Ports.Tuning ? Ports.Tuning->OscillatorBase() : std::nullopt;
            if (!base) return std::nullopt;
            return *base - Ports.Tuning->IFFrequency();
        });
}

// The AGC's only failure (an all-zero history) leaves the gain as it was, as in the audio chain.
void ReceiveChain::levelAndAgcIq() {
    MeasureLevel(WorkBuffer);
    runtime::resumeNext([&] { ApplyAgc(WorkBuffer); });
}

void ReceiveChain::levelIqIf(int32_t mode) {
    if (mode == DemodMode::AM) {
        levelAndAgcIq();
    } else if (mode == DemodMode::BC || mode == DemodMode::SAM || mode == DemodMode::AM1) {
        // These modes level the IF here and the audio after detection. Through one peak history the
        // two passes weigh IF peaks against detector peaks of another scale (AM1's squared envelope)
        // and the audio collapses; the IF pass keeps a history of its own.
        MeasureLevel(WorkBuffer);
        runtime::resumeNext([&] { agc(WorkBuffer, WorkBuffer, agcIf_); });
    }
}

void ReceiveChain::mixIqForDetector(int32_t mode) {
    nerixdll::NerixDll& dll = nerix_.Dll();
    FilterBank& b = bank_;
    const ReceiverState& st = state_;
    float* I = iqI_.data();
    float* Q = iqQ_.data();
    float* W = WorkBuffer.data();
    switch (mode) {
    case DemodMode::AM:
        nerix_.CopySingles(W, I, kN);
        nerix_.CopySingles(W, Q, kN);
        b.IQAMFilterI.Filter_FFT_S_1(iqI_);
        b.IQAMFilterQ.Filter_FFT_S_1(iqQ_);
        break;
    case DemodMode::USB:
    case DemodMode::LSB:
    case DemodMode::AM1:
        nco_.MakeNCO(st.NcoIncrement, Sine.data(), Cosine.data(), 1.0f);
        nerix_.Mpy3(W, st.IQSelectUpper ? Sine.data() : Cosine.data(), I, kN);
        nerix_.Mpy3(W, st.IQSelectUpper ? Cosine.data() : Sine.data(), Q, kN);
        break;
    case DemodMode::SAM: {
        float* C = iqC_.data();
        nerix_.CopySingles(W, C, kN);
        dll.HiThresh_S_1(C, 0.0f, 1.0f, kN);
        dll.LowThresh_S_1(C, 0.0f, -1.0f, kN);
        nerix_.CopySingles(C, iqD_.data(), kN);
        b.IQAMFilterQ.Filter_FFT_S_1(iqD_);
        b.IQAMFilterI.Filter_FFT_S_1(iqC_);
        // The carrier comes out of its filter 1023 samples late, 270 degrees of the 12 kHz IF: against
        // the undelayed sum the product would be in quadrature and the in-phase detector silent on an
        // exactly tuned station. The sum is delayed to meet it, its last samples carried to the next
        // block.
        const float* delayed = samDelayedIf(W);
        nerix_.Mpy3(C, delayed, I, kN);
        nerix_.Mpy3(iqD_.data(), delayed, Q, kN);
        break;
    }
    default: // DRM, FM and BC work on the corrected pair or the sum as they are
        break;
    }
}

void ReceiveChain::showIqDetectorInput() {
    const ReceiverState& st = state_;
    tapDisplay(
        Ports.Spectrum, st.ScopeSource, {ScopeSource::PostDemod, false, TapAnnounce::WhenFed},
        [&](bool) {
            return TapView<float>{iqI_.data(), iqQ_.data(), !st.IQSelectUpper};
        },
        [&](bool) { return std::optional<double>(tuned() / 10.0 - (st.VFOControl ? 0 : st.BfoOffset)); });
}

void ReceiveChain::detectIq(int32_t mode) {
    FilterBank& b = bank_;
    switch (mode) {
    case DemodMode::AM:
        DemodAm(iqI_, iqQ_, WorkBuffer);
        break;
    case DemodMode::USB:
    case DemodMode::LSB:
        DemodSsb(iqI_, iqQ_, WorkBuffer, mode == DemodMode::USB);
        b.DemodAfFilter.Filter_FFT_S_1(WorkBuffer);
        break;
    case DemodMode::FM:
        DemodFm(iqI_, iqQ_, WorkBuffer);
        break;
    case DemodMode::BC:
        DemodBc(WorkBuffer, WorkBuffer, kN);
        break;
    case DemodMode::SAM:
        DemodSam(iqI_, iqQ_, WorkBuffer);
        b.DemodAfFilter.Filter_FFT_S_1(WorkBuffer);
        break;
    case DemodMode::AM1:
        b.IQAMFilterI.Filter_FFT_S_1(iqI_);
        b.IQAMFilterQ.Filter_FFT_S_1(iqQ_);
        DemodAm(iqI_, iqQ_, WorkBuffer);
        break;
    default: // DRM and anything else: the corrected in-phase input
        nerix_.CopySingles(iqI_.data(), WorkBuffer.data(), kN);
        break;
    }
}

void ReceiveChain::finishIqAudio(int32_t mode, int16_t* A) {
    ReduceNoise(WorkBuffer);
    AfNotchAndPeakSearch(iqNotch_);
    if (bank_.AfFilter.Active) bank_.AfFilter.Filter_FFT_S_1(WorkBuffer);
    if (mode != DemodMode::AM) levelAndAgcIq();
    AudioLC(WorkBuffer);
    nerix_.Dll().FloatToInt16_S_2(WorkBuffer.data(), A, kN);
}

} // namespace Nerix
