// Every member of the Oscillator set refuses by default, the way a late-bound call of a missing member
// did.
#include "radio/Oscillator.h"

#include "platform/runtime/RuntimeError.h"

void Oscillator::unsupported(std::string_view member) const {
    std::string source(className());
    source += '.';
    source += member;
    runtime::raise(runtime::err::kUnsupportedMember, source);
}

// clang-format off
std::string Oscillator::Name() const { unsupported("Name"); }
void Oscillator::setName(std::string) { unsupported("Name"); }
std::string Oscillator::RxName() const { unsupported("RxName"); }
void Oscillator::setRxName(std::string) { unsupported("RxName"); }
clsVFO* Oscillator::Parent() const { unsupported("Parent"); }
void Oscillator::setParent(clsVFO*) { unsupported("Parent"); }
LineInterface* Oscillator::IFHandler() const { unsupported("IFHandler"); }
void Oscillator::setIFHandler(LineInterface*) { unsupported("IFHandler"); }
double Oscillator::ClkIn() const { unsupported("ClkIn"); }
void Oscillator::setClkIn(double) { unsupported("ClkIn"); }
int32_t Oscillator::BaseFrequency() const { unsupported("BaseFrequency"); }
void Oscillator::setBaseFrequency(int32_t) { unsupported("BaseFrequency"); }
double Oscillator::FreqScaling() const { unsupported("FreqScaling"); }
void Oscillator::setFreqScaling(double) { unsupported("FreqScaling"); }
double Oscillator::MaxFreq() const { unsupported("MaxFreq"); }
double Oscillator::MinFreq() const { unsupported("MinFreq"); }
int32_t Oscillator::CurrentTuningWord() const { unsupported("CurrentTuningWord"); }
void Oscillator::setCurrentTuningWord(int32_t) { unsupported("CurrentTuningWord"); }
bool Oscillator::CMDOutActive() const { unsupported("CMDOutActive"); }
void Oscillator::setCMDOutActive(bool) { unsupported("CMDOutActive"); }
int32_t Oscillator::Initialise() { unsupported("Initialise"); }
std::optional<int32_t> Oscillator::SetFrequency(int32_t) { unsupported("SetFrequency"); }
void Oscillator::Refresh() { unsupported("Refresh"); }
void Oscillator::SaveSettings() { unsupported("SaveSettings"); }
void Oscillator::RestoreSettings() { unsupported("RestoreSettings"); }
bool Oscillator::AutoRefresh() const { unsupported("AutoRefresh"); }
void Oscillator::setAutoRefresh(bool) { unsupported("AutoRefresh"); }
bool Oscillator::CalibMode() const { unsupported("CalibMode"); }
void Oscillator::setCalibMode(bool) { unsupported("CalibMode"); }
void Oscillator::InitialiseChip() { unsupported("InitialiseChip"); }
int32_t Oscillator::RigNo() const { unsupported("RigNo"); }
void Oscillator::setRigNo(int32_t) { unsupported("RigNo"); }
std::string Oscillator::RigDesc() const { unsupported("RigDesc"); }
void Oscillator::setRigDesc(std::string) { unsupported("RigDesc"); }
// clang-format on
