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

int32_t CurrentVfo::TunedFrequency() const {
    return vfo().TunedFrequency();
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
void CurrentVfo::setHiSideLo(bool value) {
    vfo().setHiSideLo(value);
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
