// The recorder's tests tune by hand: a tuning port that reports the frequency a test sets.
#pragma once

#include <cstdint>
#include <optional>

#include "frame/TuningPort.h"

namespace recorder::testing {

struct FixedTuning final : TuningPort {
    explicit FixedTuning(int32_t frequency = 70500000) : f(frequency) {}
    int32_t f;
    int32_t TunedFrequency() const override { return f; }
    std::optional<double> OscillatorBase() const override { return std::nullopt; }
    int32_t IFFrequency() const override { return 0; }
    void SetHiSideLo(bool) override {}
};

} // namespace recorder::testing
