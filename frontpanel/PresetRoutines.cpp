// Settings blocks put into force, captured and stored.
#include "frontpanel/PresetRoutines.h"

#include <cmath>

#include "frame/NumberFormat.h"
#include "frame/ScopedFlag.h"
#include "frontpanel/FrontPanelCore.h"
#include "platform/runtime/Convert.h"
#include "platform/runtime/RuntimeError.h"
#include "recorder/clsWavFile.h"

namespace frontpanel {

namespace {

using runtime::checkedNarrow;
using runtime::CLng;

int16_t box(bool ticked) {
    return ticked ? 1 : 0;
}

int16_t index16(int32_t value) {
    return checkedNarrow<int16_t>(value);
}

constexpr int32_t kPresetAgcRow = 4;

} // namespace

void WavFileLog::NewLogRecord(int32_t tunedFrequency) {
    wav_.NewLogRecord(tunedFrequency);
}

PresetRoutines::PresetRoutines(FrontPanelCore& core, FrequencyLog* log, std::function<std::string()> clock)
    : core_(core), log_(log), clock_(std::move(clock)) {}

void PresetRoutines::logFrequency() {
    if (log_) log_->NewLogRecord(core_.vfo.TunedFrequency());
}

void PresetRoutines::setKnob(int16_t k, double value) {
    ScrollLabel& knob = knobAt(core_.ctlArray, k);
    knob.Value = static_cast<float>(value);
    if (knob.Apply)
        knob.Apply();
    else if (const auto apply = core_.routines.applyOf(k))
        apply();
    writeCaption(knob);
}

void PresetRoutines::ApplyPreset(PresetSettings s) {
    if (ApplyPresetBusy_) return;
    const ScopedFlag busy(ApplyPresetBusy_);
    const ScopedFlag applying(PresetApplying_);
    FrontPanelCore& c = core_;

    c.vfo.setTunedFrequency(checkedNarrow<int32_t>(int64_t{s.FreqCurrent} * 10));
    c.tuning.Display7Seg(c.vfo.FormattedTunedFreq());
    c.view.setLockPictureVisible(c.vfo.TuneStepLock());

    c.switches.chkTuneLo.setValue(box(s.LowSideLO));
    c.switches.chkTuneLo_Click();

    c.modes.optMode.setValue(index16(s.DemodMode), true);
    c.modes.optMode_Click(index16(s.DemodMode));

    applyFilters(s);
    applyNotch(s);
    applyAgc(s);

    c.ctlArray[kOutVolKnob].Value = s.OutputAttenuation;
    c.routines.SetOutVol();

    logFrequency();
}

void PresetRoutines::applyFilters(const PresetSettings& s) {
    FrontPanelCore& c = core_;
    const ReceiverState& st = c.state;
    FilterControls& f = c.filterControls;
    f.optFilter.setValue(index16(s.FilterMode), true);
    f.optFilter_Click(s.FilterMode);
    f.chkMusic.setValue(0);
    f.chkMusic.setValue(box(s.MusicModeActive));
    f.chkDynFilter.setValue(box(s.DynFilterActive));

    // A negative edge stands for the edges of the audio preset now in force.
    if (st.FilterMode < 0 || st.FilterMode >= static_cast<int32_t>(c.tables.AfFilterPreset.size()))
        runtime::raise(runtime::err::kSubscriptOutOfRange, "AfFilterPreset");
    const AfFilterPresetRow& af = c.tables.AfFilterPreset[static_cast<size_t>(st.FilterMode)];
    setKnob(kFilterHiKnob, s.FilterHi < 0 ? af.Hi : s.FilterHi);
    setKnob(kFilterLoKnob, s.FilterLo < 0 ? af.Lo : s.FilterLo);

    f.chkIFFilter.setValue(box(s.IFFilterActive));
    f.chkIFFilter_Click();
    f.optIFFilter.setValue(index16(s.IFFilterMode), true);
    f.optIFFilter_Click(s.IFFilterMode);

    // Likewise the IF edges: the table's defaults for the IF filter mode and mode now in force.
    const IfFilterRow& ifRow = ifFilterRow(c.tables, st.IFFilterMode, st.DemodMode, "IfFilterTable");
    setKnob(kIFHiKnob, s.IFFilterHi < 0 ? ifRow.DefaultHi : s.IFFilterHi);
    setKnob(kIFLoKnob, s.IFFilterLo < 0 ? ifRow.DefaultLo : s.IFFilterLo);
}

void PresetRoutines::applyNotch(const PresetSettings& s) {
    LevelControls& l = core_.levels;
    l.chkNotchOn.setValue(box(s.NotchActive));
    l.chkNotchOn_Click();
    l.chkNotchType.setValue(box(s.NotchType != 0));
    l.chkNotchType_Click();
    l.optNotch.setValue(index16(s.NotchMode), true);
    l.optNotch_Click(index16(s.NotchMode));
    l.chkNotchAuto.setValue(index16(s.NotchMode));
    l.chkNotchMirror.setValue(box(s.NotchMirror));

    setKnob(kNotchCKnob, s.NotchFilterCenter);
    setKnob(kNotchWKnob, s.NotchFilterWidth);
}

void PresetRoutines::applyAgc(const PresetSettings& s) {
    FrontPanelCore& c = core_;
    ReceiverState& st = c.state;
    LevelControls& l = c.levels;
    if (s.AGCMode < 0) {
        // Back to the mode a block's own attack and decay replaced.
        l.optAGC_Click(index16(agcModeSaved_ ? savedAgcMode_ : 1));
    } else {
        l.chkAGC.setValue(box(s.AGCOn));
        if (st.AGCMode < kPresetAgcRow) {
            savedAgcMode_ = st.AGCMode;
            agcModeSaved_ = true;
            st.AGCMode = kPresetAgcRow;
        }
        AgcPreset& row = agcPresetRow(c.tables, kPresetAgcRow, "AgcPresetRow");
        row.Attack = CLng(s.AGCAttack);
        row.Decay = CLng(s.AGCDecay);
        l.optAGC_Click(kPresetAgcRow);
        c.ctlArray[kAGCAttackKnob].Value = s.AGCAttack;
        c.ctlArray[kAGCDecayKnob].Value = s.AGCDecay;
    }
    c.routines.SetAGCAttack();
    c.routines.SetAGCDecay();
}

void PresetRoutines::ApplyPresetGuarded(const PresetRec& preset) {
    if (ApplyPresetGuardedBusy_) return;
    const ScopedFlag busy(ApplyPresetGuardedBusy_);
    if (preset.Settings.FreqCurrent < 1) return;
    ApplyPreset(preset.Settings);
}

void PresetRoutines::CapturePreset(PresetSettings& b) const {
    const FrontPanelCore& c = core_;
    const ReceiverState& st = c.state;
    b.Dirty = true;
    b.FreqCurrent = CLng(c.vfo.TunedFrequency() / 10.0);
    b.HiSideLO = st.HiSideLoActive;
    b.LowSideLO = !st.HiSideLoActive;
    b.FilterMode = st.FilterMode;
    b.FilterHi = st.FilterHi;
    b.FilterLo = st.FilterLo;
    b.MusicModeActive = st.MusicModeActive;
    b.DynFilterActive = st.DynFilterActive;
    b.IFFilterActive = st.IFFilterActive;
    b.IFFilterMode = st.IFFilterMode;
    b.IFFilterHi = st.IFFilterHi;
    b.IFFilterLo = st.IFFilterLo;
    b.AGCOn = st.AGCOn;
    b.AGCMode = st.AGCMode;
    b.NotchActive = st.NotchActive;
    b.NotchMode = st.NotchMode;
    b.NotchType = st.NotchType;
    b.NotchMirror = st.NotchMirror;
    const AgcPreset& row = agcPresetRow(core_.tables, st.AGCMode, "AgcPresetRow");
    b.AGCAttack = static_cast<float>(row.Attack);
    b.AGCDecay = static_cast<float>(row.Decay);
    b.NotchFilterCenter = CLng(c.ctlArray[kNotchCKnob].Value);
    b.NotchFilterWidth = CLng(c.ctlArray[kNotchWKnob].Value);
    b.DemodMode = st.DemodMode;
    b.OutputAttenuation = c.ctlArray[kOutVolKnob].Value;
}

void PresetRoutines::StorePresetFromCurrent(PresetRec& p) const {
    // Caption and description name the frequency this store captures. Named from the one the preset held
    // before, they were right only after the release stored again, and a release refused while the
    // press's apply let events run left an unused preset's "0" on the button and in the band plan.
    p.When = clock_();
    CapturePreset(p.Settings);
    p.Caption = NumberFormat::Format(p.Settings.FreqCurrent / 1000.0, "#0");
    p.Description = NumberFormat::Format(p.Settings.FreqCurrent, "#,###0 Hz", NumberFormat::userSeparators());
}

} // namespace frontpanel
