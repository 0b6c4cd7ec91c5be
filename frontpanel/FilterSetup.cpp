// Filter tables, filter set-up and the mode's effect on the filter bank.
#include "frontpanel/FilterSetup.h"

#include "frame/ScopedFlag.h"
#include "platform/runtime/Convert.h"
#include "platform/runtime/Hooks.h"
#include "platform/runtime/RuntimeError.h"

namespace frontpanel {

FilterTables DefaultFilterTables() {
    FilterTables t;
    const int32_t presets[5][2] = {{5000, 50}, {600, 200}, {2300, 300}, {3000, 300}, {4000, 240}};
    for (size_t r = 0; r < 5; ++r) {
        AfFilterPresetRow& p = t.AfFilterPreset[r];
        p.DefaultHi = p.Hi = p.SavedHi = presets[r][0];
        p.DefaultLo = p.Lo = p.SavedLo = presets[r][1];
    }
    const int32_t ifRows[8][2] = {{4500, 4500},   {6000, 0},    {0, 6000},    {5500, 5500},
                                  {10000, 10000}, {5500, 5500}, {4500, 4500}, {4500, 4500}};
    for (size_t mode = 1; mode <= 2; ++mode)
        for (size_t d = 0; d < 8; ++d) {
            IfFilterRow& r = t.IfFilterTable[mode][d];
            r.DefaultHi = r.Hi = ifRows[d][0];
            r.DefaultLo = r.Lo = ifRows[d][1];
        }
    return t;
}

IfFilterRow& ifFilterRow(FilterTables& tables, int32_t ifFilterMode, int32_t demodMode, const char* source) {
    const auto modes = static_cast<int32_t>(tables.IfFilterTable.size());
    const auto rows = static_cast<int32_t>(tables.IfFilterTable[0].size());
    if (ifFilterMode < 0 || ifFilterMode >= modes || demodMode < 0 || demodMode >= rows)
        runtime::raise(runtime::err::kSubscriptOutOfRange, source);
    return tables.IfFilterTable[static_cast<size_t>(ifFilterMode)][static_cast<size_t>(demodMode)];
}

AgcPreset& agcPresetRow(FilterTables& tables, int32_t agcMode, const char* source) {
    if (agcMode < 0 || agcMode >= static_cast<int32_t>(tables.AgcPresetRow.size()))
        runtime::raise(runtime::err::kSubscriptOutOfRange, source);
    return tables.AgcPresetRow[static_cast<size_t>(agcMode)];
}

std::array<NotchKnobRange, 2> DefaultNotchKnobRanges() {
    return {NotchKnobRange{6000, 0, 1000}, NotchKnobRange{6000, -6000, 1000}};
}

void FillAgcPresetRows(FilterTables& tables, float attackMax, float decayMax) {
    const double divisors[3] = {4, 2, 1};
    for (size_t row = 1; row <= 3; ++row) {
        AgcPreset& p = tables.AgcPresetRow[row];
        p.AttackDefault = p.Attack = p.AttackCopy = runtime::CLng(attackMax / divisors[row - 1]);
        p.DecayDefault = p.Decay = p.DecayCopy = runtime::CLng(decayMax / divisors[row - 1]);
    }
}

FilterSetup::FilterSetup(ReceiverState& state, Nerix::FilterBank& bank, FilterTables& tables,
                         FilterCurveSink* curve)
    : state_(state), bank_(bank), tables_(tables), curve_(curve), coeffs_(Nerix::kBlockPoints, 0.0f) {}

namespace {
// The rebuild was stopped under a block; not a failure of a design.
struct HeldBelow {};
} // namespace

void FilterSetup::waitForChain() {
    for (int n = 0; state_.DspBusy; ++n) {
        if (n == kHeldBelowPumps) {
            state_.FiltersDirty = true;
            throw HeldBelow{};
        }
        runtime::DoEvents();
    }
}

void FilterSetup::design(clsFFTFilter& f) {
    waitForChain();
    f.MakeFilter();
    waitForChain();
}

void FilterSetup::setIfEdges(int64_t C, int64_t Hi, int64_t Lo) {
    const ReceiverState& st = state_;
    const int32_t ifMode = st.IFFilterMode;
    if (ifMode < 0 || ifMode > 2 || st.DemodMode < 0 || st.DemodMode > 8)
        runtime::raise(runtime::err::kSubscriptOutOfRange, "frmMain.MakeFilters");
    const IfFilterRow& row =
        tables_.IfFilterTable[static_cast<size_t>(ifMode)][static_cast<size_t>(st.DemodMode)];
    const int64_t rHi = row.Hi, rLo = row.Lo;
    const bool upper = st.IQMode ? st.IQSelectUpper : st.HiSideLoActive;
    clsFFTFilter& ifF = bank_.IfFilter;
    const auto edges = [&ifF](int64_t high, int64_t low) {
        ifF.FHigh = runtime::checkedNarrow<int32_t>(high);
        ifF.FLow = runtime::checkedNarrow<int32_t>(low);
    };
    switch (st.DemodMode) {
    case DemodMode::AM:
    case DemodMode::BC:
    case DemodMode::SAM:
    case DemodMode::AM1:
        if (ifMode == IFFilterMode::Man)
            edges(C + rHi, C - rLo);
        else
            edges(C + Hi, C - Hi);
        break;
    case DemodMode::USB:
        if (ifMode == IFFilterMode::Man)
            upper ? edges(C + rHi, C + rLo) : edges(C - rLo, C - rHi);
        else if (ifMode == IFFilterMode::Track)
            upper ? edges(C + Hi, C + Lo) : edges(C - Lo, C - Hi);
        break;
    case DemodMode::LSB:
        if (ifMode == IFFilterMode::Man)
            upper ? edges(C - rLo, C - rHi) : edges(C + rHi, C + rLo);
        else if (ifMode == IFFilterMode::Track)
            upper ? edges(C - Lo, C - Hi) : edges(C + Hi, C + Lo);
        break;
    case DemodMode::FM:
        edges(C + 10000, C - 10000);
        break;
    default:
        edges(C + Hi, C - Hi);
        break;
    }
}

void FilterSetup::designCorrectionPair() {
    Nerix::FilterBank& b = bank_;
    b.IqCorrectionFilterI.QPhase = false;
    b.IqCorrectionFilterI.FHigh = 23999;
    b.IqCorrectionFilterI.FLow = 0;
    design(b.IqCorrectionFilterI);

    b.HilbertFilter1.QPhase = !b.IqCorrectionFilterI.QPhase;
    b.HilbertFilter1.FHigh = b.IqCorrectionFilterI.FHigh;
    b.HilbertFilter1.FLow = b.IqCorrectionFilterI.FLow;
    design(b.HilbertFilter1);
}

void FilterSetup::designAmPair(int64_t C) {
    Nerix::FilterBank& b = bank_;
    const int32_t mode = state_.DemodMode;
    const clsFFTFilter& ifF = b.IfFilter;
    clsFFTFilter& amI = b.IQAMFilterI;
    amI.QPhase = false;
    if (mode == DemodMode::AM) {
        amI.FHigh = ifF.FHigh;
        amI.FLow = ifF.FLow;
    } else if (mode == DemodMode::SAM) {
        amI.FHigh = 14000;
        amI.FLow = 10000;
    } else if (mode == DemodMode::AM1) {
        amI.FHigh = runtime::checkedNarrow<int32_t>(ifF.FHigh - C);
        amI.FLow =
            runtime::checkedNarrow<int32_t>(ifF.FLow - C); // a negative edge is raised to 0 by the design
    }
    design(amI);

    b.IQAMFilterQ.QPhase = mode != DemodMode::AM1;
    b.IQAMFilterQ.FHigh = amI.FHigh;
    b.IQAMFilterQ.FLow = amI.FLow;
    design(b.IQAMFilterQ);
}

void FilterSetup::designAudioFilters(int64_t Hi, int64_t Lo) {
    Nerix::FilterBank& b = bank_;
    for (clsFFTFilter* f : {&b.DemodAfFilter, &b.NrPostFilter}) {
        f->FHigh = static_cast<int32_t>(Hi);
        f->FLow = static_cast<int32_t>(Lo);
        design(*f);
    }

    b.SsbFilterI.FHigh = static_cast<int32_t>(Hi);
    b.SsbFilterI.FLow = static_cast<int32_t>(Lo);
    b.SsbFilterI.QPhase = false;
    design(b.SsbFilterI);

    b.SsbFilterQ.FHigh = b.SsbFilterI.FHigh;
    b.SsbFilterQ.FLow = b.SsbFilterI.FLow;
    b.SsbFilterQ.QPhase = !b.SsbFilterI.QPhase;
    waitForChain();
    b.SsbFilterQ.MakeFilter();
    runtime::DoEvents();
    waitForChain();
}

bool FilterSetup::MakeFilters() {
    if (busy_) return true;
    const ScopedFlag busy(busy_);
    try {
        // The edges as they stand when the rebuild begins, summed in 64 bits: knob values near the 32-bit
        // limits end the rebuild with Overflow.
        const int64_t C = state_.MixerCentre, Hi = state_.FilterHi, Lo = state_.FilterLo;
        setIfEdges(C, Hi, Lo);
        design(bank_.IfFilter);
        designCorrectionPair();
        designAmPair(C);
        designAudioFilters(Hi, Lo);
        bank_.IfFilter.GetFilterCoeffs_T_S(coeffs_);
        if (curve_) curve_->LoadFilterCoeffs_T_S(coeffs_.data(), static_cast<int32_t>(coeffs_.size()));
    } catch (const HeldBelow&) {
        return false;
    } catch (const std::exception&) {
        // The rebuild ends at the failing design; the remaining filters keep what they had.
    }
    return true;
}

void FilterSetup::SelectMode(int32_t index) {
    if (index < DemodMode::AM || index > DemodMode::AM1)
        runtime::raise(runtime::err::kSubscriptOutOfRange, "frmMain.optMode_Click");
    ReceiverState& st = state_;
    Nerix::FilterBank& b = bank_;
    st.DemodMode = index;
    const bool drm = index == DemodMode::DRM;
    const bool sideband = index == DemodMode::USB || index == DemodMode::LSB;
    b.DemodAfFilter.Active = !drm;
    b.IqCorrectionFilterI.Active = !drm;
    b.HilbertFilter1.Active = !drm;
    b.SsbFilterI.Active = sideband;
    b.SsbFilterQ.Active = sideband;
    // The quadrature filter of the pair stays a normalised quadrature design in every mode.
    b.HilbertFilter1.QPhase = true;
    b.HilbertFilter1.NormaliseGain = true;
    st.FiltersDirty = true;
}

} // namespace frontpanel
