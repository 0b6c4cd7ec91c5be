// Knob apply routines for the values the receive chain reads.
#include "frontpanel/KnobApply.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "frame/NumberFormat.h"
#include "platform/runtime/Convert.h"
#include "platform/runtime/RuntimeError.h"

namespace MouseOverS {

namespace {

frontpanel::IfFilterRow& ifRow(const ReceiverState& state, frontpanel::FilterTables& tables,
                               const char* source) {
    return frontpanel::ifFilterRow(tables, state.IFFilterMode, state.DemodMode, source);
}

} // namespace

void SetIFShift(ReceiverState& state, float value) {
    state.MixerCentre = runtime::CLng(static_cast<double>(value) + state.BaseIF);
    state.FiltersDirty = true;
}

int32_t BfoOffsetOf(const ReceiverState& state, float value) {
    return runtime::CLng(state.HiSideLoActive ? value : -static_cast<double>(value));
}

int32_t SetBFO(ReceiverState& state, float value) {
    state.BfoOffset = BfoOffsetOf(state, value);
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

std::optional<std::string> ApplyOutVol(ReceiverState& state, float value, std::string_view format) {
    const auto signedPicture = [&](const char* sign) { return std::string(sign) + std::string(format); };
    if (value < -50.0f) {
        state.OutputAttenuation = value;
        return NumberFormat::Format(20.0 * Nerix::Log10(std::fabs(value / 100.0)), signedPicture("-"));
    }
    if (value < -1.0f) return std::nullopt;
    if (value <= 1.0f) {
        state.OutputAttenuation = 0.0f;
        // The logarithm of no gain at all is taken as 0.
        return NumberFormat::Format(0.0, format);
    }
    state.OutputAttenuation = value / 1000.0f + 1.0f;
    return NumberFormat::Format(20.0 * Nerix::Log10(state.OutputAttenuation), signedPicture("+"));
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
