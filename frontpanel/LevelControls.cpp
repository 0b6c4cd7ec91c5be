// The AGC, noise-reduction, notch, mute, volume and balance controls' handlers.
#include "frontpanel/LevelControls.h"

#include <cmath>

#include "frame/NumberFormat.h"
#include "frame/ScopedFlag.h"
#include "frontpanel/KnobApply.h"
#include "platform/runtime/Convert.h"
#include "platform/runtime/Hooks.h"
#include "platform/runtime/RuntimeError.h"

namespace frontpanel {

namespace {

constexpr int16_t kRightButton = 2;
constexpr int32_t kManualNotch = 0, kAutomaticNotch = 1;
// A right click on the width slider gives the notch this width (Hz).
constexpr int32_t kDefaultNotchWidth = 200;

int32_t halved(int32_t v) {
    return v / 2;
}

} // namespace

LevelControls::LevelControls(ReceiverState& state, Nerix::Wrappers& nerix, CtlArray& ctlArray,
                             FilterTables& tables, MouseOverS::KnobRoutines& routines,
                             Nerix::FilterBank* filters, NotchOverlay* display)
    : state_(state), nerix_(nerix), ctlArray_(ctlArray), tables_(tables), routines_(routines),
      filters_(filters), display_(display) {
    chkAGC.Click = [this] { chkAGC_Click(); };
    optAGC.Click = [this](int16_t i) { optAGC_Click(i); };
    sldAGCAttack.Change = [this] { sldAGCAttack_Change(); };
    sldAGCDecay.Change = [this] { sldAGCDecay_Change(); };
    chkNB.Click = [this] { chkNB_Click(); };
    sldNB.Change = [this] { sldNB_Change(); };
    dialNB.Change = [this] { dialNB_Change(); };
    chkNotchOn.Click = [this] { chkNotchOn_Click(); };
    chkNotchAuto.Click = [this] { chkNotchAuto_Click(); };
    optNotch.Click = [this](int16_t i) { optNotch_Click(i); };
    chkNotchType.Click = [this] { chkNotchType_Click(); };
    chkNotchMirror.Click = [this] { chkNotchMirror_Click(); };
    sldNotch.Change = [this] { sldNotch_Change(); };
    sldNotchWidth.Change = [this] { sldNotchWidth_Change(); };
    chkMute.Click = [this] { chkMute_Click(); };
    sldOutVolume.Change = [this] { sldOutVolume_Change(); };
    dialOutVol.Change = [this] { dialOutVol_Change(); };
    sldBalance.Change = [this] { sldBalance_Change(); };
}

Nerix::FilterBank& LevelControls::filters() {
    if (!filters_) runtime::raise(runtime::err::kObjectNotSet, "NotchFilter");
    return *filters_;
}

NotchOverlay& LevelControls::display() {
    if (!display_) runtime::raise(runtime::err::kObjectNotSet, "SpectrumAnalyser");
    return *display_;
}

// ---- AGC

void LevelControls::chkAGC_Click() {
    const bool on = chkAGC.Value() == 1;
    state_.AGCOn = on;
    chkAGC.setForeColor(on ? kChosenColour : kOtherColour);
    knob(kAGCAttackKnob).Disabled = !on;
    knob(kAGCDecayKnob).Disabled = !on;
}

void LevelControls::optAGC_Click(int16_t Index) {
    if (optAGCBusy_) return;
    const ScopedFlag busy(optAGCBusy_);
    if (!state_.AGCOn) {
        optAGC.setValue(runtime::checkedNarrow<int16_t>(state_.AGCMode), true);
        return;
    }
    optAGC.recolour(Index);
    optAGC.setValue(Index, true);
    state_.AGCMode = Index;
    const AgcPreset& r = agcPresetRow(tables_, Index, "AgcPresetRow");
    ScrollLabel& attack = knob(kAGCAttackKnob);
    attack.Value = static_cast<float>(r.Attack);
    attack.Default = static_cast<float>(r.AttackDefault);
    ScrollLabel& decay = knob(kAGCDecayKnob);
    decay.Value = static_cast<float>(r.Decay);
    decay.Default = static_cast<float>(r.DecayDefault);
    routines_.SetAGCAttack();
    routines_.SetAGCDecay();
}

void LevelControls::sldAGCAttack_Change() {
    if (AttackBusy_) return;
    const ScopedFlag busy(AttackBusy_);
    const float ms = MouseOverS::SetAGCAttack(state_, nerix_, static_cast<float>(sldAGCAttack.Value()));
    // The two AGC sliders' tooltips name each other's quantity; the texts are kept as users know them.
    sldAGCAttack.setToolTipText("AGC Decay=" + runtime::singleText(ms) + " S");
}

void LevelControls::sldAGCDecay_Change() {
    if (DecayBusy_) return;
    const ScopedFlag busy(DecayBusy_);
    const int32_t ms = MouseOverS::SetAGCDecay(state_, static_cast<float>(sldAGCDecay.Value()));
    sldAGCDecay.setToolTipText("AGC Attack=" + runtime::CStr(int64_t{ms}) + " mS");
}

// ---- Noise reduction

void LevelControls::chkNB_Click() {
    const bool on = chkNB.Value() == 1;
    state_.NBOn = on;
    dialNB.setVisible(on);
    sldNB.setEnabled(on);
    knob(kNBKnob).Disabled = !on;
}

void LevelControls::sldNB_Change() {
    if (sldNBBusy_) return;
    const ScopedFlag busy(sldNBBusy_);
    ScrollLabel& k = knob(kNBKnob);
    // The knob's own routine moves this slider: it has set the level already.
    if (k.Updating) return;
    using runtime::resumeNext;
    const int32_t position = sldNB.Value();
    resumeNext([&] { k.Value = static_cast<float>(position); });
    float shown = 0;
    const bool levelSet = resumeNext([&] {
        shown = MouseOverS::SetNB(state_, static_cast<float>(position), static_cast<float>(sldNB.Max()),
                                  static_cast<float>(sldNB.Min()));
    });
    if (levelSet) resumeNext([&] { writeCaption(k, shown); });
    resumeNext([&] { dialNB.setValue(position); });
}

void LevelControls::sldNB_MouseDown(int16_t Button) {
    if (Button != kRightButton) return;
    sldNB.setValue(runtime::CLng(knob(kNBKnob).Default));
    routines_.SetNB();
}

void LevelControls::dialNB_Change() {
    if (dialNBBusy_) return;
    const ScopedFlag busy(dialNBBusy_);
    if (knob(kNBKnob).Updating) return;
    sldNB.setValue(dialNB.Value());
}

// ---- Notch

void LevelControls::chkNotchOn_Click() {
    ReceiverState& st = state_;
    if (chkNotchOn.Value() == 1) {
        if (optNotch.Selected() == 0) st.NotchMode = kManualNotch;
        if (optNotch.Selected() == 1) st.NotchMode = kAutomaticNotch;
        st.NotchActive = true;
        filters().NotchFilter.Active = true;
        st.NotchDirty = true;
        display().setShowNotch(true);
        knob(kNotchCKnob).Disabled = false;
        knob(kNotchWKnob).Disabled = false;
    } else {
        st.NotchActive = false;
        filters().NotchFilter.Active = false;
        display().setShowNotch(false);
        knob(kNotchCKnob).Disabled = true;
        knob(kNotchWKnob).Disabled = true;
    }
}

void LevelControls::chkNotchAuto_Click() {
    if (NotchAutoBusy_) return;
    const ScopedFlag busy(NotchAutoBusy_);
    if (!state_.NotchActive) {
        chkNotchAuto.setValue(state_.NotchMode == kAutomaticNotch ? 1 : 0);
        return;
    }
    applyNotchMode(chkNotchAuto.Value());
}

void LevelControls::optNotch_Click(int16_t Index) {
    if (optNotchBusy_) return;
    const ScopedFlag busy(optNotchBusy_);
    optNotch.recolour(Index);
    optNotch.setValue(Index, true);
    if (!state_.NotchActive) {
        const auto stored = runtime::checkedNarrow<int16_t>(state_.NotchMode);
        optNotch.setValue(stored, true);
        optNotch.recolour(stored);
        return;
    }
    applyNotchMode(Index);
}

void LevelControls::applyNotchMode(int32_t mode) {
    ReceiverState& st = state_;
    st.NotchMode = mode;
    PanelControl* manualOnly[] = {&lblNotchC, &lblNotchCDesc, &lblNotchW, &lblNotchWDesc, &chkNotchType};
    if (mode == kManualNotch) {
        for (PanelControl* c : manualOnly)
            c->setVisible(true);
        filters().NotchFilter.Active = true;
        st.NotchDirty = true;
        display().setShowNotch(true);
        chkNotchType_Click();
    } else if (mode == kAutomaticNotch) {
        for (PanelControl* c : manualOnly)
            c->setVisible(false);
        // The automatic notch works on the audio spectrum. The knob's range goes back to the row of the
        // notch type it was showing, so an audio range never replaces the IF notch's.
        ScrollLabel& centre = knob(kNotchCKnob);
        NotchKnobRange& kept = tables_.NotchKnobRanges[st.NotchType != NotchType::AF ? 1 : 0];
        kept = {centre.Max, centre.Min, centre.Value};
        const NotchKnobRange& audio = tables_.NotchKnobRanges[0];
        centre.Value = audio.Value;
        centre.Max = audio.Max;
        centre.Min = audio.Min;
        filters().NotchFilter.Active = true;
        st.NotchDirty = true;
        display().setShowNotch(true);
    }
}

void LevelControls::chkNotchType_Click() {
    if (NotchTypeBusy_) return;
    const ScopedFlag busy(NotchTypeBusy_);
    ReceiverState& st = state_;
    if (!st.NotchActive) {
        chkNotchType.setValue(st.NotchType != NotchType::AF ? 1 : 0);
        return;
    }
    ScrollLabel& centre = knob(kNotchCKnob);
    NotchKnobRange& audio = tables_.NotchKnobRanges[0];
    NotchKnobRange& intermediate = tables_.NotchKnobRanges[1];
    if (chkNotchType.Value() == 1) {
        audio.Value = centre.Value;
        centre.Value = intermediate.Value;
        centre.Max = intermediate.Max;
        centre.Min = intermediate.Min;
    } else {
        intermediate.Value = centre.Value;
        centre.Value = std::fabs(audio.Value);
        centre.Max = audio.Max;
        centre.Min = audio.Min;
    }
    st.NotchType = chkNotchType.Value();
    routines_.SetNotchCentre();
}

void LevelControls::chkNotchMirror_Click() {
    if (state_.NotchActive) {
        state_.NotchMirror = chkNotchMirror.Value() == 1;
        state_.NotchDirty = true;
    } else {
        chkNotchMirror.setValue(state_.NotchMirror ? 1 : 0);
    }
}

void LevelControls::sldNotch_Change() {
    ReceiverState& st = state_;
    // Shared with the centre knob's routine: the slider re-applies the centre in force, never its own
    // position.
    if (st.NotchBusy) return;
    const ScopedFlag busy(st.NotchBusy);
    lblNotch.setCaption(NumberFormat::Format(st.NotchCentre, "###0"));
    sldNotch.setToolTipText("Notch Centre : " + NumberFormat::Format(st.NotchCentre, "#,###0 Hz"));
    st.NotchHigh = runtime::checkedNarrow<int32_t>(int64_t{st.NotchCentre} + halved(st.NotchWidth));
    st.NotchLow = runtime::checkedNarrow<int32_t>(int64_t{st.NotchCentre} - halved(st.NotchWidth));
    if (filters().NotchFilter.Active) st.NotchDirty = true;
    ScrollLabel& centre = knob(kNotchCKnob);
    centre.Value = static_cast<float>(st.NotchCentre);
    writeCaption(centre);
}

void LevelControls::sldNotchWidth_Change() {
    if (NotchWidthBusy_) return;
    const ScopedFlag busy(NotchWidthBusy_);
    ReceiverState& st = state_;
    st.NotchWidth = sldNotchWidth.inverted(sldNotchWidth.Value());
    lblNotchWidth.setCaption(NumberFormat::Format(st.NotchWidth, "###0"));
    st.NotchLow = runtime::checkedNarrow<int32_t>(int64_t{st.NotchCentre} - halved(st.NotchWidth));
    if (st.NotchLow < 1) st.NotchLow = 0;
    st.NotchHigh = runtime::checkedNarrow<int32_t>(int64_t{st.NotchCentre} + halved(st.NotchWidth));
    sldNotchWidth.setToolTipText("Notch Width : " + NumberFormat::Format(st.NotchWidth, "#,###0 Hz"));
    st.NotchDirty = true;
}

void LevelControls::sldNotchWidth_MouseDown(int16_t Button) {
    if (Button != kRightButton) return;
    sldNotchWidth.setValue(int64_t{sldNotchWidth.Max()} + sldNotchWidth.Min() - kDefaultNotchWidth);
}

// ---- Mute, volume and balance

void LevelControls::chkMute_Click() {
    const bool on = chkMute.Value() == 1;
    chkMute.setForeColor(on ? kChosenColour : kOtherColour);
    state_.MuteAf = on;
}

void LevelControls::sldOutVolume_Change() {
    if (OutVolumeBusy_) return;
    const ScopedFlag busy(OutVolumeBusy_);
    const int32_t position = sldOutVolume.Value();
    knob(kOutVolKnob).Value = static_cast<float>(position);
    runtime::DoEvents();
    dialOutVol.setValue(position);
    routines_.ApplyOutVol();
}

void LevelControls::sldOutVolume_MouseDown(int16_t Button) {
    if (Button != kRightButton) return;
    const int32_t before = sldOutVolume.Value();
    sldOutVolume.setValue(runtime::CLng(knob(kOutVolKnob).Default));
    // Set by code the handler has run on a change; otherwise it runs by name, once either way.
    if (sldOutVolume.Value() == before) sldOutVolume_Change();
}

void LevelControls::sldOutVolume_MouseMove() {
    sldOutVolume.SetFocus();
}

void LevelControls::dialOutVol_Change() {
    if (dialOutVolBusy_) return;
    const ScopedFlag busy(dialOutVolBusy_);
    const int32_t value = dialOutVol.Value();
    knob(kOutVolKnob).Value = static_cast<float>(value);
    runtime::DoEvents();
    sldOutVolume.setValue(value);
}

void LevelControls::sldBalance_Change() {
    const float balance = static_cast<float>(sldBalance.Value()) / 10000.0f;
    state_.SoundcardCorrectionAmpBalance = balance;
    sldBalance.setToolTipText("IQ Imbalance=" + NumberFormat::Format(std::fabs(balance), "#0.0000"));
}

// ---- The twins' set-up

TwinSetUp LevelControls::twinSetUp() {
    using runtime::CLng;
    TwinSetUp t;
    t.nbSlider = [this](const ScrollLabel& nb) {
        sldNB.setMax(CLng(nb.Max));
        sldNB.setMin(CLng(nb.Min));
        sldNB.setSmallChange(CLng(nb.Step));
        sldNB.setLargeChange(CLng(nb.Step));
        sldNB.setTickFrequency(CLng((static_cast<double>(sldNB.Max()) - sldNB.Min()) / 10));
        sldNB.Tag = nb.Format;
        sldNB.setValue(0);
        sldNB_Change();
    };
    t.nbDial = [this](const ScrollLabel& nb) {
        dialNB.setLimits(CLng(nb.Min), CLng(nb.Max));
        dialNB.Tag = nb.Format;
        dialNB.setValue(0);
        dialNB_Change();
    };
    t.volDial = [this](const ScrollLabel& vol) {
        dialOutVol.setLimits(CLng(vol.Min), CLng(vol.Max));
        dialOutVol.setValue(CLng(vol.Value));
    };
    t.volSlider = [this](const ScrollLabel& vol) {
        sldOutVolume.setMax(CLng(vol.Max));
        sldOutVolume.setMin(CLng(vol.Min));
        sldOutVolume.setTickFrequency(CLng((static_cast<double>(vol.Max) - vol.Min) / 10));
        sldOutVolume.setSmallChange(CLng(vol.Step));
        sldOutVolume.setLargeChange(CLng(vol.Step));
        sldOutVolume.setValue(CLng(vol.Value));
    };
    return t;
}

} // namespace frontpanel
