// The tuning port over the VFO in use.
#include "mainwindow/VfoTuningPort.h"

#include "radio/clsVFO.h"

namespace mainwindow {

int32_t VfoTuningPort::TunedFrequency() const {
    const clsVFO* v = vfo();
    return v ? v->TunedFrequency() : 0;
}

std::optional<double> VfoTuningPort::OscillatorBase() const {
    const clsVFO* v = vfo();
    if (v == nullptr) return std::nullopt;
    const Oscillator* osc = v->OscType();
    const int32_t multiplier = v->OscMultiplier();
    if (osc == nullptr || multiplier == 0) return std::nullopt;
    return static_cast<double>(osc->BaseFrequency()) / multiplier;
}

int32_t VfoTuningPort::IFFrequency() const {
    const clsVFO* v = vfo();
    return v ? v->IFFrequency() : 0;
}

void VfoTuningPort::SetHiSideLo(bool high) {
    if (clsVFO* v = vfo()) v->setHiSideLo(high);
}

} // namespace mainwindow
