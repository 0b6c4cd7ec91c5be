// The audio chain: one captured block of a single audio or IF channel into one block of audio.
#include "dsp/DisplayTap.h"
#include "dsp/ReceiveChain.h"
#include "frame/ScopedFlag.h"
#include "platform/runtime/RuntimeError.h"

namespace Nerix {

namespace {

constexpr int32_t kN = kBlockPoints;

} // namespace

// Every step runs under resumeNext: a failing one is skipped and the block still ends with its audio.
void ReceiveChain::DoDSP(int16_t* A, const int16_t* /*B*/, int32_t /*n*/) {
    ScopedFlag busy(state_.DspBusy);
    audioToIf(A);
    audioDetectorInput();
    runtime::resumeNext([&] { showAudio(ScopeSource::PostDemod, i_.data(), q_.data()); });
    detectAudio();
    finishAudio(A);
}

// Both display points of this chain show the IF as tuned, mirrored when the LO is on the high side.
void ReceiveChain::showAudio(int32_t source, const float* ch1, const float* ch2) {
    tapDisplay(
        Ports.Spectrum, state_.ScopeSource, {source, false, TapAnnounce::Always},
        [&](bool) {
            return TapView<float>{ch1, ch2, state_.HiSideLoActive};
        },
        [&](bool) { return std::optional<double>(tuned() / 10.0); });
}

void ReceiveChain::audioToIf(const int16_t* A) {
    using runtime::resumeNext;
    FilterBank& b = bank_;
    SpectrumSink* scope = Ports.Spectrum;
    float* x = x_.data();
    resumeNext([&] { nerix_.Dll().Int16ToFloat_S_2(A, x, kN); });
    resumeNext([&] {
        if (b.NotchFilter.Active && state_.NotchType == NotchType::IF) b.NotchFilter.Filter_FFT_S_1(x_);
    });
    resumeNext([&] {
        if (scope != nullptr && scope->Active()) nerix_.CopySingles(x, displayCopy_.data(), kN);
    });
    resumeNext([&] {
        if (b.IfFilter.Active) b.IfFilter.Filter_FFT_S_1(x_);
    });
    resumeNext([&] { showAudio(ScopeSource::PreDemod, displayCopy_.data(), x); });
}

void ReceiveChain::audioDetectorInput() {
    using runtime::resumeNext;
    nerixdll::NerixDll& dll = nerix_.Dll();
    FilterBank& b = bank_;
    const ReceiverState& st = state_;
    float* x = x_.data();
    float* I = i_.data();
    float* Q = q_.data();
    float* c = c_.data();
    const auto both = [&] {
        resumeNext([&] { nerix_.CopySingles(x, I, kN); });
        resumeNext([&] { nerix_.CopySingles(x, Q, kN); });
    };
    if (Ports.Player != nullptr && Ports.Player->IsPlaying()) {
        both();
        return;
    }
    switch (st.DemodMode) {
    case DemodMode::AM:
        both();
        resumeNext([&] { b.IqCorrectionFilterI.Filter_FFT_S_1(i_); });
        resumeNext([&] { b.HilbertFilter1.Filter_FFT_S_1(q_); });
        break;
    case DemodMode::USB:
    case DemodMode::LSB:
        if (st.MixerCentre == st.BaseIF) {
            resumeNext([&] { dll.MixerIQ_S_S_1(x, I, Q, kN); });
        } else {
            resumeNext([&] { nco_.MakeNCO(st.NcoIncrement, Sine.data(), Cosine.data(), 1.0f); });
            resumeNext([&] { nerix_.Mpy3(x, Cosine.data(), I, kN); });
            resumeNext([&] { nerix_.Mpy3(x, Sine.data(), Q, kN); });
        }
        break;
    case DemodMode::FM:
        resumeNext([&] { b.FmHilbertShift.sTransform(x_, q_, kN); });
        resumeNext([&] { b.FmHilbertDelay.sDelaySamples(x_, i_, kN); });
        for (float* v : {I, Q}) {
            resumeNext([&] { dll.HiThresh_S_1(v, 0.0f, 16384.0f, kN); });
            resumeNext([&] { dll.LowThresh_S_1(v, 0.0f, -16384.0f, kN); });
        }
        break;
    case DemodMode::SAM:
        resumeNext([&] { nerix_.CopySingles(x, c, kN); });
        resumeNext([&] { dll.HiThresh_S_1(c, 1.0f, 1.0f, kN); });
        resumeNext([&] { dll.LowThresh_S_1(c, -1.0f, -1.0f, kN); });
        resumeNext([&] { nerix_.CopySingles(x, I, kN); });
        resumeNext([&] { nerix_.CopySingles(c, Q, kN); });
        resumeNext([&] { nerix_.ScaleSingles(8192.0f, Q, kN); });
        break;
    default: // DRM, BC, AM1 and anything else: the input on both
        both();
        break;
    }
}

void ReceiveChain::detectAudio() {
    using runtime::resumeNext;
    const ReceiverState& st = state_;
    switch (st.DemodMode) {
    case DemodMode::AM:
    case DemodMode::AM1:
        resumeNext([&] { DemodAm(i_, q_, WorkBuffer); });
        break;
    case DemodMode::USB:
        resumeNext([&] { DemodSsb(i_, q_, WorkBuffer, !st.HiSideLoActive); });
        break;
    case DemodMode::LSB:
        resumeNext([&] { DemodSsb(i_, q_, WorkBuffer, st.HiSideLoActive); });
        break;
    case DemodMode::FM:
        resumeNext([&] { DemodFm(i_, q_, WorkBuffer); });
        break;
    case DemodMode::BC:
        resumeNext([&] { DemodBc(i_, WorkBuffer, kN); });
        break;
    case DemodMode::SAM:
        resumeNext([&] { nerix_.Mpy3(i_.data(), c_.data(), WorkBuffer.data(), kN); });
        resumeNext([&] { bank_.DemodAfFilter.Filter_FFT_S_1(WorkBuffer); });
        break;
    default: // DRM and anything else: the in-phase signal as it is
        resumeNext([&] { nerix_.CopySingles(i_.data(), WorkBuffer.data(), kN); });
        break;
    }
}

void ReceiveChain::finishAudio(int16_t* A) {
    using runtime::resumeNext;
    resumeNext([&] { ReduceNoise(WorkBuffer); });
    resumeNext([&] { AfNotchAndPeakSearch(audioNotch_); });
    resumeNext([&] {
        if (bank_.AfFilter.Active) bank_.AfFilter.Filter_FFT_S_1(WorkBuffer);
    });
    resumeNext([&] { ProcessAudioLevel(WorkBuffer, WorkBuffer); });
    resumeNext([&] { nerix_.Dll().FloatToInt16_S_2(WorkBuffer.data(), A, kN); });
}

} // namespace Nerix
