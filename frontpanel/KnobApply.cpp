// Knob apply routines for the values the receive chain reads.
#include "frontpanel/KnobApply.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "platform/runtime/Convert.h"
#include "platform/runtime/RuntimeError.h"

namespace MouseOverS {

namespace {

// The label's "0.0" picture after a literal sign.
std::string oneDecimal(const char* sign, double x) {
    char text[40];
    std::snprintf(text, sizeof text, "%s%.1f", sign, x);
    return text;
}

frontpanel::IfFilterRow& ifRow(const ReceiverState& state, frontpanel::FilterTables& tables,
                               const char* source) {
    if (state.IFFilterMode < 0 || state.IFFilterMode > 2 || state.DemodMode < 0 || state.DemodMode > 8)
        runtime::raise(runtime::err::kSubscriptOutOfRange, source);
    return tables
        .IfFilterTable[static_cast<size_t>(state.IFFilterMode)][static_cast<size_t>(state.DemodMode)];
}

} // namespace

void SetIFShift(ReceiverState& state, float value) {
    state.MixerCentre = runtime::CLng(static_cast<double>(value) + state.BaseIF);
    state.FiltersDirty = true;
}

int32_t SetBFO(ReceiverState& state, float value) {
    const double v = state.HiSideLoActive ? value : -static_cast<double>(value);
    state.BfoOffset = runtime::CLng(v);
    SetIFShift(state, static_cast<float>(state.BfoOffset));
    const int64_t centre = (state.IQMode && !state.IQSelectUpper)
                               ? static_cast<int64_t>(state.BaseIF) - state.BfoOffset
                               : static_cast<int64_t>(state.BaseIF) + state.BfoOffset;
    state.MixerCentre = runtime::CLng(static_cast<double>(centre));
    state.NcoIncrement =
        runtime::CLng(std::floor(1073741824.0 / 48000.0 * static_cast<double>(centre) + 0.5));
    state.FiltersDirty = true;
    return state.BfoOffset;
}

float SetAGCAttack(ReceiverState& state, Nerix::Wrappers& nerix, float value) {
    state.AgcAttackMs = value / 10.0f;
    const int32_t samples = runtime::CLng(static_cast<double>(state.AgcAttackMs) * 23.4375);
    // The AGC's tables hold 2048 block peaks, and it needs at least one.
    state.AgcHistoryLength = std::clamp(samples, 1, ReceiverState::kAgcTableLength);
    nerix.Dll().VectorRamp_S_1(1.0f, 0.0f, state.AgcHistoryWeights.data(), state.AgcHistoryLength);
    return state.AgcAttackMs;
}

int32_t SetAGCDecay(ReceiverState& state, float value) {
    state.AgcDecayMs = runtime::CLng(static_cast<double>(value) / 10.0);
    const int32_t samples = runtime::CLng(state.AgcDecayMs / 1000.0 * (2048.0 / 0.042666666));
    // The ramp covers at most the whole block.
    state.AgcRampLength = std::clamp(samples, 0, 2048);
    return state.AgcDecayMs;
}

float SetNB(ReceiverState& state, float value, float knobMax, float knobMin) {
    const float range = (knobMax - knobMin) * 2.5f;
    if (range == 0.0f) runtime::raise(runtime::err::kDivisionByZero, "MouseOverS.SetNB");
    state.NbLevel = value / range;
    return state.NbLevel * 100.0f;
}

std::optional<std::string> ApplyOutVol(ReceiverState& state, float value) {
    if (value < -50.0f) {
        state.OutputAttenuation = value;
        return oneDecimal("-", 20.0 * Nerix::Log10(std::fabs(value / 100.0)));
    }
    if (value < -1.0f) return std::nullopt;
    if (value <= 1.0f) {
        state.OutputAttenuation = 0.0f;
        return oneDecimal("", 0.0);
    }
    state.OutputAttenuation = value / 1000.0f + 1.0f;
    return oneDecimal("+", 20.0 * Nerix::Log10(state.OutputAttenuation));
}

void lblFilterHi_Wheel(ReceiverState& state, float value) {
    state.FilterHi = runtime::CLng(value);
    state.FiltersDirty = true;
}

void lblFilterLo_Wheel(ReceiverState& state, float value) {
    state.FilterLo = runtime::CLng(value);
    state.FiltersDirty = true;
}

void SetIFHi(ReceiverState& state, frontpanel::FilterTables& tables, float value) {
    frontpanel::IfFilterRow& row = ifRow(state, tables, "MouseOverS.SetIFHi");
    row.Hi = runtime::CLng(value);
    state.IFFilterHi = row.Hi;
    state.FiltersDirty = true;
}

void SetIFLo(ReceiverState& state, frontpanel::FilterTables& tables, float value) {
    frontpanel::IfFilterRow& row = ifRow(state, tables, "MouseOverS.SetIFLo");
    row.Lo = runtime::CLng(value);
    state.IFFilterLo = row.Lo;
    state.FiltersDirty = true;
}

} // namespace MouseOverS
