// The knob apply routines.
#include "frontpanel/KnobRoutines.h"

#include <algorithm>
#include <cmath>

#include "frame/ScopedFlag.h"
#include "frontpanel/KnobApply.h"
#include "platform/runtime/Convert.h"
#include "platform/runtime/Hooks.h"
#include "platform/runtime/RuntimeError.h"
#include "radio/modEncoder.h"

namespace MouseOverS {

using frontpanel::writeCaption;
using runtime::CLng;

namespace {

// The length of the display's time scope: 2048 samples at 48000 Hz, as a 32-bit float.
constexpr float kBlockSeconds = 0.042666666f;

int32_t halved(int32_t v) {
    return v / 2;
}

} // namespace

frontpanel::AnalyserKnobs& KnobRoutines::analyser() {
    if (!p_.analyser) runtime::raise(runtime::err::kObjectNotSet, "SpectrumAnalyser");
    return *p_.analyser;
}

Nerix::FilterBank& KnobRoutines::filters() {
    if (!p_.filters) runtime::raise(runtime::err::kObjectNotSet, "NotchFilter");
    return *p_.filters;
}

std::function<void()> KnobRoutines::applyOf(int16_t k) {
    using R = KnobRoutines;
    static constexpr void (R::*kRoutines[kKnobCount])() = {
        nullptr,
        &R::TuneByWheel,
        &R::SetChn1Gain,
        &R::SetChn1Shift,
        &R::SetChn2Gain,
        &R::SetChn2Shift,
        &R::SetScopeXWidth,
        &R::lblFilterHi_Wheel,
        &R::lblFilterLo_Wheel,
        &R::SetNB,
        &R::SetOutVol,
        &R::SetNotchCentre,
        &R::SetNotchWidth,
        &R::SetAGCAttack,
        &R::SetAGCDecay,
        &R::SetScopeXCentre,
        &R::TuneOverScope,
        &R::SetIFHi,
        &R::SetIFLo,
        &R::SetSpectrumSmooth,
        &R::SetBFO,
        &R::SetY1Bright,
        &R::SetY2Bright,
        &R::SetIFShift,
        &R::SetFrameRate,
    };
    if (k < 0 || k >= kKnobCount) runtime::raise(runtime::err::kSubscriptOutOfRange, "MouseOverS");
    const auto routine = kRoutines[k];
    if (!routine) return {};
    return [this, routine] { (this->*routine)(); };
}

// ---- Tuning

void KnobRoutines::TuneByWheel() {
    if (TuneByWheelBusy_) return;
    const ScopedFlag busy(TuneByWheelBusy_);
    {
        // The dial raises nothing for a move from code, so the flag is down again before the pump: a
        // real turn that the pump brings is never swallowed.
        const ScopedFlag skip(p_.state.SkipDialChange);
        if (knob(kFrequencyReadoutKnob).LastWheelMsg.wParam < 0) {
            p_.vfo.Dec_Freq(0);
            p_.dial.moveByCode(-1);
        } else {
            p_.vfo.Inc_Freq(0);
            p_.dial.moveByCode(1);
        }
    }
    runtime::DoEvents();
}

void KnobRoutines::TuneOverScope() {
    if (p_.vfo.TuneStepLock()) return;
    const int32_t w = knob(PicScopeIndex).LastWheelMsg.wParam;
    if (w > 0) {
        p_.state.TuneUpRequest = true;
        p_.state.TuneDownRequest = false;
    } else if (w < 0) {
        p_.state.TuneDownRequest = true;
        p_.state.TuneUpRequest = false;
    }
}

// ---- Display

void KnobRoutines::SetChn1Gain() {
    analyser().setChn1Gain(knob(kScopeChn1GainKnob).Value);
}
void KnobRoutines::SetChn1Shift() {
    analyser().setChn1Shift(knob(kScopeChn1ShiftKnob).Value);
}
void KnobRoutines::SetChn2Gain() {
    analyser().setChn2Gain(knob(kScopeChn2GainKnob).Value);
}
void KnobRoutines::SetChn2Shift() {
    analyser().setChn2Shift(knob(kScopeChn2ShiftKnob).Value);
}

void KnobRoutines::SetSpectrumSmooth() {
    if (SpectrumSmoothBusy_) return;
    const ScopedFlag busy(SpectrumSmoothBusy_);
    ScrollLabel& k = knob(lblSpectrumSmoothIndex);
    analyser().setSpectrumSmooth(CLng(k.Value));
    writeCaption(k);
}

void KnobRoutines::SetY1Bright() {
    if (Y1BrightBusy_) return;
    const ScopedFlag busy(Y1BrightBusy_);
    analyser().SetChannelBrightness(0, runtime::CInt(knob(lblY1BrightIndex).Value));
}

void KnobRoutines::SetY2Bright() {
    if (Y2BrightBusy_) return;
    const ScopedFlag busy(Y2BrightBusy_);
    analyser().SetChannelBrightness(1, runtime::CInt(knob(lblY2BrightIndex).Value));
}

void KnobRoutines::SetFrameRate() {
    if (FrameRateBusy_) return;
    const ScopedFlag busy(FrameRateBusy_);
    ScrollLabel& k = knob(lblFrameRateIndex);
    analyser().setFrameRate(CLng(k.Value));
    writeCaption(k);
}

void KnobRoutines::SetScopeXWidth() {
    using runtime::resumeNext;
    ScrollLabel& width = knob(kScopeXWidthKnob);
    ScrollLabel& centre = knob(kScopeXCentreKnob);
    int32_t mode = -1;
    resumeNext([&] { mode = analyser().mode(); });
    double m = 1;
    resumeNext([&] {
        if (analyser().IQMode()) m = 2;
    });

    if (mode == 0) {
        resumeNext([&] { spanLimit_ = CLng(width.Max); });
        resumeNext([&] { span_ = CLng(width.Value); });
        resumeNext([&] { spanStart_ = CLng(centre.Value - static_cast<double>(halved(span_))); });
        if (spanStart_ < 0) spanStart_ = 0;
        resumeNext([&] { spanStop_ = CLng(centre.Value + std::trunc(span_ / 2.0 + 0.5)); });
        if (spanStop_ > spanLimit_) spanStop_ = spanLimit_;
        resumeNext([&] { analyser().setStartBin(spanStart_); });
        resumeNext([&] { analyser().setStopBin(spanStop_); });
    } else if (mode == 1) {
        resumeNext([&] { spanLimit_ = CLng(static_cast<double>(width.Max) - width.Min); });
        resumeNext([&] { span_ = CLng(static_cast<double>(width.Value) - width.Min); });
        span_ = std::max(span_, 10);
        span_ = std::min(span_, spanLimit_);
        resumeNext([&] { analyser().setScreenWidth(span_); });
        resumeNext([&] { analyser().setStartBin(0); });
        resumeNext([&] { analyser().setStopBin(span_ - 1); });
    }

    // The frequency at the display's centre, in every mode.
    resumeNext([&] {
        writeCaption(centre, (centre.Value + 1.0) * analyser().HzPerBin() * m + analyser().FOffset());
    });
    resumeNext([&] {
        span_ = runtime::checkedNarrow<int32_t>(static_cast<int64_t>(analyser().StopBin()) -
                                                analyser().StartBin());
    });
    // Hertz or seconds per division of the twelve-division graticule.
    if (mode == 0)
        resumeNext([&] { writeCaption(width, analyser().HzPerBin() * m * (span_ + 1.0) / 12.0); });
    else if (mode == 1)
        resumeNext([&] { writeCaption(width, (span_ + 1.0) * kBlockSeconds / 12.0); });
}

void KnobRoutines::SetScopeXCentre() {
    if (ScopeXCentreBusy_) return;
    const ScopedFlag busy(ScopeXCentreBusy_);
    const int32_t mode = analyser().mode();
    if (mode == 0) {
        SetScopeXWidth();
    } else if (mode == 1) {
        const ScrollLabel& width = knob(kScopeXWidthKnob);
        spanLimit_ = CLng(width.Max);
        span_ = CLng(static_cast<double>(width.Value) - width.Min);
        span_ = std::max(span_, 10);
        span_ = std::min(span_, spanLimit_);
        analyser().setScreenWidth(span_);
        analyser().setStartBin(0);
        analyser().setStopBin(span_ - 1);
    }
}

// ---- Filters

void KnobRoutines::lblFilterHi_Wheel() {
    if (FilterHiBusy_) return;
    const ScopedFlag busy(FilterHiBusy_);
    MouseOverS::lblFilterHi_Wheel(p_.state, knob(kFilterHiKnob).Value);
}

void KnobRoutines::lblFilterLo_Wheel() {
    if (FilterLoBusy_) return;
    const ScopedFlag busy(FilterLoBusy_);
    MouseOverS::lblFilterLo_Wheel(p_.state, knob(kFilterLoKnob).Value);
}

void KnobRoutines::SetIFHi() {
    if (IFHiBusy_) return;
    const ScopedFlag busy(IFHiBusy_);
    ScrollLabel& k = knob(kIFHiKnob);
    MouseOverS::SetIFHi(p_.state, p_.tables, k.Value);
    writeCaption(k);
}

void KnobRoutines::SetIFLo() {
    if (IFLoBusy_) return;
    const ScopedFlag busy(IFLoBusy_);
    ScrollLabel& k = knob(kIFLoKnob);
    MouseOverS::SetIFLo(p_.state, p_.tables, k.Value);
    writeCaption(k);
}

// ---- Noise reduction and volume

void KnobRoutines::SetNB() {
    if (SetNBBusy_) return;
    const ScopedFlag busy(SetNBBusy_);
    ScrollLabel& k = knob(kNBKnob);
    // The twins' own handlers leave the knob alone while it moves them.
    const ScopedFlag updating(k.Updating);
    writeCaption(k, MouseOverS::SetNB(p_.state, k.Value, k.Max, k.Min));
    const int32_t position = CLng(k.Value);
    if (p_.twins.sldNB) p_.twins.sldNB(position);
    runtime::DoEvents();
    if (p_.twins.dialNB) p_.twins.dialNB(position);
    runtime::DoEvents();
}

void KnobRoutines::SetOutVol() {
    if (SetOutVolBusy_) return;
    const ScopedFlag busy(SetOutVolBusy_);
    const int32_t position = CLng(knob(kOutVolKnob).Value);
    if (p_.twins.dialOutVol) p_.twins.dialOutVol(position);
    runtime::DoEvents();
    if (p_.twins.sldOutVolume) p_.twins.sldOutVolume(position);
    runtime::DoEvents();
    ApplyOutVol();
}

void KnobRoutines::ApplyOutVol() {
    ScrollLabel& k = knob(kOutVolKnob);
    const auto caption = MouseOverS::ApplyOutVol(p_.state, k.Value, k.Format);
    if (caption && k.Label) k.Label->setCaption(*caption);
}

// ---- Notch

void KnobRoutines::SetNotchCentre() {
    if (NotchCentreBusy_) return;
    const ScopedFlag busy(NotchCentreBusy_);
    ReceiverState& st = p_.state;
    ScrollLabel& k = knob(kNotchCKnob);
    if (st.NotchBusy) return;
    {
        const ScopedFlag notch(st.NotchBusy);
        double c = k.Value;
        if (st.NotchType != NotchType::AF) {
            // An IF notch sits on the side of the IF the signal is on.
            const bool above = p_.vfo.HiSideLo() != st.IQMode;
            c = above ? st.BaseIF + static_cast<double>(k.Value) : st.BaseIF - static_cast<double>(k.Value);
        }
        st.NotchCentre = CLng(c);
        st.NotchLow = runtime::checkedNarrow<int32_t>(int64_t{st.NotchCentre} - halved(st.NotchWidth));
        st.NotchHigh = runtime::checkedNarrow<int32_t>(int64_t{st.NotchCentre} + halved(st.NotchWidth));
        if (filters().NotchFilter.Active) st.NotchDirty = true;
    }
    writeCaption(k);
}

void KnobRoutines::SetNotchWidth() {
    if (NotchWidthBusy_) return;
    const ScopedFlag busy(NotchWidthBusy_);
    ReceiverState& st = p_.state;
    ScrollLabel& k = knob(kNotchWKnob);
    st.NotchWidthPrevious = st.NotchWidth;
    writeCaption(k);
    st.NotchWidth = CLng(k.Value);
    st.NotchLow = runtime::checkedNarrow<int32_t>(int64_t{st.NotchCentre} - halved(st.NotchWidth));
    if (st.NotchLow <= 0) st.NotchLow = 0;
    st.NotchHigh = runtime::checkedNarrow<int32_t>(int64_t{st.NotchCentre} + halved(st.NotchWidth));
    st.NotchDirty = true;
}

// ---- AGC

frontpanel::AgcPreset& KnobRoutines::agcRow() {
    return frontpanel::agcPresetRow(p_.tables, p_.state.AGCMode, "AgcPresetRow");
}

void KnobRoutines::SetAGCAttack() {
    if (AGCAttackBusy_) return;
    const ScopedFlag busy(AGCAttackBusy_);
    ScrollLabel& k = knob(kAGCAttackKnob);
    writeCaption(k, MouseOverS::SetAGCAttack(p_.state, p_.nerix, k.Value));
    agcRow().Attack = CLng(k.Value);
}

void KnobRoutines::SetAGCDecay() {
    if (AGCDecayBusy_) return;
    const ScopedFlag busy(AGCDecayBusy_);
    ScrollLabel& k = knob(kAGCDecayKnob);
    writeCaption(k, MouseOverS::SetAGCDecay(p_.state, k.Value));
    agcRow().Decay = CLng(k.Value);
}

// ---- BFO and IF shift

void KnobRoutines::SetBFO() {
    if (BFOBusy_) return;
    const ScopedFlag busy(BFOBusy_);
    ScrollLabel& bfo = knob(lblBFOIndex);
    // The IF-shift knob follows the offset and shows it.
    knob(lblIFShiftIndex).Value = static_cast<float>(MouseOverS::BfoOffsetOf(p_.state, bfo.Value));
    SetIFShift();
    writeCaption(bfo, MouseOverS::SetBFO(p_.state, bfo.Value));
}

void KnobRoutines::SetIFShift() {
    if (IFShiftBusy_) return;
    const ScopedFlag busy(IFShiftBusy_);
    ScrollLabel& k = knob(lblIFShiftIndex);
    MouseOverS::SetIFShift(p_.state, k.Value);
    writeCaption(k);
}

void KnobRoutines::setBfoValue(float hertz) {
    knob(lblBFOIndex).Value = hertz;
}

// ---- Shaft encoder

void KnobRoutines::QueueEncoderBits(const comm::ModemEvent& event) {
    if (!p_.state.EnableShaftEncoder) return;
    lastEncoderBits_ = event.modemStatus;
    if (p_.encoder) p_.encoder->QueueEncoderBits(event);
}

} // namespace MouseOverS
