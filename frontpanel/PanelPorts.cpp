// The current VFO behind the panel's VFO port.
#include "frontpanel/PanelPorts.h"

#include "platform/runtime/RuntimeError.h"
#include "radio/clsVFO.h"

namespace frontpanel {

clsVFO& CurrentVfo::vfo() const {
    clsVFO* v = accessor_ ? accessor_() : nullptr;
    if (!v) runtime::raise(runtime::err::kObjectNotSet, "clsVFO");
    return *v;
}

clsVFO* CurrentVfo::tuningVfo() const {
    clsVFO* v = accessor_ ? accessor_() : nullptr;
    return v || absent_ == Absent::ReadsNothing ? v : &vfo();
}

int32_t CurrentVfo::TunedFrequency() const {
    const clsVFO* v = tuningVfo();
    return v ? v->TunedFrequency() : 0;
}
std::optional<double> CurrentVfo::OscillatorBase() const {
    const clsVFO* v = tuningVfo();
    if (v == nullptr) return std::nullopt;
    const Oscillator* osc = v->OscType();
    const int32_t multiplier = v->OscMultiplier();
    if (osc == nullptr || multiplier == 0) return std::nullopt;
    return static_cast<double>(osc->BaseFrequency()) / multiplier;
}
int32_t CurrentVfo::IFFrequency() const {
    const clsVFO* v = tuningVfo();
    return v ? v->IFFrequency() : 0;
}
void CurrentVfo::SetHiSideLo(bool high) {
    if (clsVFO* v = tuningVfo()) v->setHiSideLo(high);
}
void CurrentVfo::setTunedFrequency(int32_t value) {
    vfo().setTunedFrequency(value);
}
std::string CurrentVfo::FormattedTunedFreq() const {
    return vfo().FormattedTunedFreq();
}
double CurrentVfo::TuneStep() const {
    return vfo().TuneStep();
}
void CurrentVfo::setTuneStep(double value) {
    vfo().setTuneStep(value);
}
void CurrentVfo::setTuneStepLSD(double value) {
    vfo().setTuneStepLSD(value);
}
bool CurrentVfo::TuneStepLock() const {
    return vfo().TuneStepLock();
}
void CurrentVfo::setTuneStepLock(bool value) {
    vfo().setTuneStepLock(value);
}
double CurrentVfo::Inc_Freq(double increment) {
    return vfo().Inc_Freq(increment);
}
double CurrentVfo::Dec_Freq(double decrement) {
    return vfo().Dec_Freq(decrement);
}
int32_t CurrentVfo::OscOut() const {
    return vfo().OscOut();
}
bool CurrentVfo::HiSideLo() const {
    return vfo().HiSideLo();
}
void CurrentVfo::Refresh() {
    vfo().Refresh();
}
void CurrentVfo::setCalibMode(bool value) {
    Oscillator* osc = vfo().OscType();
    if (!osc) runtime::raise(runtime::err::kObjectNotSet, "clsVFO.OscType");
    osc->setCalibMode(value);
}

} // namespace frontpanel
