// The tuning port over the VFO in use. The configuration dialog may replace the VFO object at run time,
// so the port keeps the way to reach it, never the object.
#pragma once

#include <functional>

#include "frame/TuningPort.h"

class clsVFO;

namespace mainwindow {

class VfoTuningPort final : public TuningPort {
public:
    // Gives the VFO in use, or none.
    using VfoAccessor = std::function<clsVFO*()>;
    explicit VfoTuningPort(VfoAccessor vfo) : vfo_(std::move(vfo)) {}

    // Without a VFO: the tuned frequency and the IF are 0, there is no oscillator base, and the LO side
    // goes nowhere.
    int32_t TunedFrequency() const override;
    std::optional<double> OscillatorBase() const override;
    int32_t IFFrequency() const override;
    void SetHiSideLo(bool high) override;

private:
    clsVFO* vfo() const { return vfo_ ? vfo_() : nullptr; }
    VfoAccessor vfo_;
};

} // namespace mainwindow
