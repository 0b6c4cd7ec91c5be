// The filter controls' handlers.
#include "frontpanel/FilterControls.h"

#include <cmath>

#include "frame/NumberFormat.h"
#include "frame/ScopedFlag.h"
#include "platform/runtime/Convert.h"
#include "platform/runtime/RuntimeError.h"

namespace frontpanel {

namespace {

constexpr int32_t kHighestPreset = 4;
// Music mode holds the low audio edge here.
constexpr int32_t kMusicLowEdge = 50;
// How far inside a slider's edges the pointer must be to light its description.
constexpr float kHoverInset = 50;

} // namespace

FilterControls::FilterControls(ReceiverState& state, CtlArray& ctlArray, FilterTables& tables,
                               MouseOverS::KnobRoutines& routines, Nerix::FilterBank* filters)
    : state_(state), ctlArray_(ctlArray), tables_(tables), routines_(routines), filters_(filters) {
    optFilter.Click = [this](int16_t i) { optFilter_Click(i); };
    chkMusic.Click = [this] { chkMusic_Click(); };
    chkDynFilter.Click = [this] { chkDynFilter_Click(); };
    chkIFFilter.Click = [this] { chkIFFilter_Click(); };
    optIFFilter.Click = [this](int16_t i) { optIFFilter_Click(i); };
    sldBW0.Change = [this] { sldBW_Change(0); };
    sldBW1.Change = [this] { sldBW_Change(1); };
    sldBW0.setSmallChange(50);
    sldBW0.setLargeChange(100);
    for (PanelSlider* s : {&sldBW0, &sldBW1})
        s->Tag = "0";
}

PanelSlider& FilterControls::sldBW(int16_t Index) {
    if (Index == 0) return sldBW0;
    if (Index == 1) return sldBW1;
    runtime::raise(runtime::err::kInvalidPropertyArrayIndex, "sldBW", "Control array element does not exist");
}

AfFilterPresetRow& FilterControls::preset() {
    if (state_.FilterMode < 0 || state_.FilterMode >= static_cast<int32_t>(tables_.AfFilterPreset.size()))
        runtime::raise(runtime::err::kSubscriptOutOfRange, "AfFilterPreset");
    return tables_.AfFilterPreset[static_cast<size_t>(state_.FilterMode)];
}

Nerix::FilterBank& FilterControls::filters() {
    if (!filters_) runtime::raise(runtime::err::kObjectNotSet, "FilterBank");
    return *filters_;
}

void FilterControls::setKnob(int16_t k, double value, double defaultValue) {
    ScrollLabel& s = knob(k);
    s.Value = static_cast<float>(value);
    s.Default = static_cast<float>(defaultValue);
    writeCaption(s);
}

int32_t FilterControls::tagEdge(const std::string& tag) {
    return runtime::CLng(runtime::leadingNumber(tag));
}

void FilterControls::optFilter_Click(int32_t Index) {
    ReceiverState& st = state_;
    if (Index != -1 && Index >= 0 && Index <= kHighestPreset) {
        optFilter.recolour(static_cast<int16_t>(Index));
        st.FilterMode = Index;
    }
    if (Index >= 0) {
        AfFilterPresetRow& p = preset();
        st.FilterLo = p.Lo;
        st.FilterHi = p.Hi;
        knob(kFilterHiKnob).Default = static_cast<float>(p.DefaultHi);
        knob(kFilterLoKnob).Default = static_cast<float>(p.DefaultLo);
        if (st.IFFilterMode == IFFilterMode::Track) {
            // Knobs 7 and 8 take the preset by the mode; the IF routines then store knobs 17 and 18.
            if (st.DemodMode == DemodMode::USB) {
                setKnob(kFilterHiKnob, st.FilterHi, p.DefaultHi);
                routines_.SetIFHi();
                setKnob(kFilterLoKnob, st.FilterLo, p.DefaultLo);
            } else if (st.DemodMode == DemodMode::LSB) {
                setKnob(kFilterHiKnob, -double(p.Hi), -double(p.DefaultHi));
                routines_.SetIFHi();
                setKnob(kFilterLoKnob, -double(p.Lo), -double(p.DefaultLo));
            } else {
                setKnob(kFilterHiKnob, p.Hi, p.DefaultHi);
                routines_.SetIFHi();
                setKnob(kFilterLoKnob, -double(p.Hi), -double(p.DefaultHi));
            }
            routines_.SetIFLo();
        }
        st.MusicModeActive = p.Music;
        // The box's handler runs once: set by code it runs on a change, otherwise it is run by name. Run
        // twice, Music's second run would keep 50 Hz as the edge to go back to.
        const int16_t music = p.Music ? 1 : 0;
        if (chkMusic.Value() != music)
            chkMusic.setValue(music);
        else
            chkMusic_Click();
    }
    if (Index == -2) {
        st.FilterLo = tagEdge(sldBW0.Tag);
        st.FilterHi = tagEdge(sldBW1.Tag);
    }
    const int64_t bandwidth = int64_t{st.FilterHi} - st.FilterLo;
    st.FilterBandwidth = runtime::checkedNarrow<int32_t>(bandwidth);
    sldBW0.Tag = runtime::CStr(int64_t{st.FilterLo});
    sldBW1.Tag = runtime::CStr(int64_t{st.FilterHi});
    Nerix::FilterBank& bank = filters();
    bank.AfFilter.FLow = runtime::CLng(st.FilterLo + 0.1 * static_cast<double>(bandwidth));
    bank.AfFilter.FHigh = runtime::CLng(st.FilterHi - 0.1 * static_cast<double>(bandwidth));
    sldBW0.setValue(int64_t{sldBW0.Max()} + sldBW0.Min() - st.FilterLo);
    sldBW1.setValue(int64_t{sldBW1.Max()} + sldBW1.Min() - st.FilterHi);
    st.FiltersDirty = true;
}

void FilterControls::chkMusic_Click() {
    ReceiverState& st = state_;
    AfFilterPresetRow& p = preset();
    if (chkMusic.Value() == 1) {
        p.SavedLo = st.FilterLo;
        st.MusicModeActive = true;
        p.Music = true;
        st.FilterLo = kMusicLowEdge;
    } else {
        st.FilterLo = p.SavedLo;
        st.MusicModeActive = false;
        p.Music = false;
    }
    ScrollLabel& lo = knob(kFilterLoKnob);
    lo.Value = static_cast<float>(st.FilterLo);
    routines_.lblFilterLo_Wheel();
    writeCaption(lo);
    st.FiltersDirty = true;
}

void FilterControls::chkDynFilter_Click() {
    if (chkDynFilter.Value() == 1) {
        state_.DynFilterActive = true;
        filters().AfFilter.Active = true;
    } else {
        state_.DynFilterActive = false;
        filters().AfFilter.Active = false;
        optFilter_Click(-2);
    }
}

void FilterControls::chkIFFilter_Click() {
    if (IFFilterBusy_) return;
    const ScopedFlag busy(IFFilterBusy_);
    ReceiverState& st = state_;
    if (chkIFFilter.Value() == 1) {
        filters().IfFilter.Active = true;
        st.IFFilterActive = true;
        knob(kIFHiKnob).Disabled = false;
        knob(kIFLoKnob).Disabled = false;
        optIFFilter_Click(st.IFFilterMode);
    } else {
        // Still on at this point, a filter being switched off goes to Track first.
        optIFFilter_Click(IFFilterMode::Track);
        chkIFFilter.setValue(0);
        filters().IfFilter.Active = false;
        st.IFFilterActive = false;
        knob(kIFHiKnob).Disabled = true;
        knob(kIFLoKnob).Disabled = true;
    }
    st.FiltersDirty = true;
}

void FilterControls::optIFFilter_Click(int32_t Index) {
    if (optIFFilterBusy_) return;
    const ScopedFlag busy(optIFFilterBusy_);
    ReceiverState& st = state_;
    if (!st.IFFilterActive) {
        optIFFilter.setValue(runtime::checkedNarrow<int16_t>(st.IFFilterMode), true);
        return;
    }
    if (Index < IFFilterMode::Off || Index > IFFilterMode::Track)
        runtime::raise(runtime::err::kInvalidPropertyArrayIndex, "optIFFilter",
                       "Control array element does not exist");
    st.IFFilterMode = Index;
    if (Index == IFFilterMode::Off) {
        chkIFFilter.setValue(0);
        lblIFHi.setEnabled(false);
        lblIFLo.setEnabled(false);
    } else if (Index == IFFilterMode::Man) {
        chkIFFilter.setValue(1);
        for (PanelControl* c : {&lblIFHi, &lblIFHiDesc, &lblIFLo, &lblIFLoDesc})
            c->setVisible(true);
        const IfFilterRow& r = ifFilterRow(tables_, Index, st.DemodMode, "IfFilterTable");
        knob(kIFHiKnob).Value = static_cast<float>(r.Hi);
        knob(kIFHiKnob).Default = static_cast<float>(r.DefaultHi);
        knob(kIFLoKnob).Value = static_cast<float>(r.Lo);
        knob(kIFLoKnob).Default = static_cast<float>(r.DefaultLo);
    } else {
        chkIFFilter.setValue(1);
        for (PanelControl* c : {&lblIFHi, &lblIFHiDesc, &lblIFLo, &lblIFLoDesc})
            c->setVisible(false);
        const AfFilterPresetRow& p = preset();
        ScrollLabel& hi = knob(kIFHiKnob);
        ScrollLabel& lo = knob(kIFLoKnob);
        const auto load = [](ScrollLabel& k, double value, double defaultValue) {
            k.Value = static_cast<float>(value);
            k.Default = static_cast<float>(defaultValue);
        };
        if (st.DemodMode == DemodMode::USB) {
            load(hi, p.Hi, p.DefaultHi);
            load(lo, p.Lo, p.DefaultLo);
        } else if (st.DemodMode == DemodMode::LSB) {
            load(hi, p.Lo, -double(p.DefaultLo));
            load(lo, p.Hi, p.DefaultHi);
        } else {
            load(hi, p.Hi, p.DefaultHi);
            load(lo, p.Hi, p.DefaultHi);
        }
    }
    optIFFilter.recolour(static_cast<int16_t>(Index));
    optIFFilter.setValue(static_cast<int16_t>(Index), true);
    routines_.SetIFHi();
    routines_.SetIFLo();
}

// ---- Bandwidth sliders

void FilterControls::sldBW_Change(int16_t Index) {
    if (sldBWBusy_) return;
    const ScopedFlag busy(sldBWBusy_);
    PanelSlider& s = sldBW(Index);
    (Index == 0 ? state_.FilterLo : state_.FilterHi) = s.inverted(s.Value());
    state_.FiltersDirty = true;
    UpdateBandwidthDisplay();
}

void FilterControls::sldBW_MouseDown(int16_t Index, int16_t Button) {
    constexpr int16_t kRight = 2;
    if (Button != kRight) return;
    PanelSlider& s = sldBW(Index);
    // The Tag holds the edge the presets applied last, so a right click undoes a drag.
    const int32_t edge = Index == 0 && state_.MusicModeActive ? kMusicLowEdge : tagEdge(s.Tag);
    s.setValue(int64_t{s.Max()} + s.Min() - edge);
    state_.FiltersDirty = true;
}

void FilterControls::sldBW_MouseMove(int16_t Index, float X, float Y, float Width, float Height) {
    PanelSlider& s = sldBW(Index);
    s.SetFocus();
    const bool inside =
        X > kHoverInset && Y > kHoverInset && X < Width - kHoverInset && Y < Height - kHoverInset;
    descLabel(Index).setForeColor(inside ? kChosenColour : kOtherColour);
    valueLabel(Index).setForeColor(descLabel(Index).ForeColor());
}

void FilterControls::sldBW_LostFocus(int16_t Index) {
    descLabel(Index).setForeColor(kOtherColour);
    valueLabel(Index).setForeColor(descLabel(Index).ForeColor());
}

void FilterControls::UpdateBandwidthDisplay() {
    if (BandwidthDisplayBusy_) return;
    const ScopedFlag busy(BandwidthDisplayBusy_);
    ReceiverState& st = state_;
    sldBW0.setValue(int64_t{sldBW0.Max()} + sldBW0.Min() - st.FilterLo);
    lblFLo.setCaption(NumberFormat::Format(st.FilterLo, "#0"));
    sldBW0.setToolTipText("Flo : " + NumberFormat::Format(st.FilterLo, "#,##0 Hz"));
    sldBW1.setValue(int64_t{sldBW1.Max()} + sldBW1.Min() - st.FilterHi);
    lblFHi.setCaption(NumberFormat::Format(st.FilterHi, "#0"));
    sldBW1.setToolTipText("Fhi : " + NumberFormat::Format(st.FilterHi, "#,##0 Hz"));
    ScrollLabel& hi = knob(kFilterHiKnob);
    hi.Value = static_cast<float>(st.FilterHi);
    writeCaption(hi);
    routines_.lblFilterHi_Wheel();
    ScrollLabel& lo = knob(kFilterLoKnob);
    lo.Value = static_cast<float>(st.FilterLo);
    writeCaption(lo);
    routines_.lblFilterLo_Wheel();
}

} // namespace frontpanel
