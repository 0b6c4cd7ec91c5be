// The receiver set-up: builds the radio of one receiver model from its saved settings, with the model
// table's row as the defaults, out of the global oscillator and line objects made at start-up.
#pragma once

#include <cstdint>
#include <string>

#include "frame/ReceiverState.h"
#include "platform/profile/SettingsStore.h"
#include "radio/LineInterface.h"
#include "radio/Oscillator.h"
#include "radio/RXDefinitions.h"
#include "radio/clsVFO.h"

namespace comm {
class MSComm;
}

namespace modSetupRX {

// The model's values as the set-up read them; each field bears the name of its settings key.
struct CurrentModelValues {
    int32_t LOOffset = 0;
    bool HiSideLo = false;
    bool AutoUpdate = false;
    int32_t TunedFrequency = 0; // 0.1 Hz
    int32_t TuneStep = 0;       // 0.1 Hz
    int32_t OscMultiplier = 0;
    int32_t PLLMultiplier = 0;
    int32_t CalibOffset = 0;
    int32_t DDSInterfaceType = 0;
    int32_t DDSChip = 0;
    int32_t DDSClock = 0;
    std::string DDSChipName; // "DDSChip." and the saved name
    int32_t XtalFrequency = 0;
    bool IQMode = false;
    bool VFOControl = false;
    bool LowSideLOOption = false;
    double WaitTime = 0; // seconds
    int32_t RXMaxFreq = 0;
    int32_t RXMinFreq = 0;
};

// The global objects the set-up chooses among, as the application holds them at the call; not owned.
// Choosing one that start-up could not make raises Object variable not set (91).
struct RadioObjects {
    clsVFO* Vfo = nullptr;
    LineInterface* SerialLine = nullptr;
    LineInterface* ParallelLine = nullptr;
    LineInterface* NullLine = nullptr;
    LineInterface* Drb30Line = nullptr;
    LineInterface* Us232cLine = nullptr;
    LineInterface* Ft232Line = nullptr;
    Oscillator* Ad9835Osc = nullptr;
    Oscillator* Ad9850Osc = nullptr;
    Oscillator* Ad9851Osc = nullptr;
    Oscillator* Ad9951Osc = nullptr;
    Oscillator* Cy27ee16Osc = nullptr;
    Oscillator* SoftDdsOsc = nullptr;
    Oscillator* HamlibOsc = nullptr;
};

// Everything the set-up reads and wires, as the application holds it at the call. The main window's
// globals are the receiver state's SDRModelNo (the chosen model) and EnableShaftEncoder, and its serial
// event control MSComm1, through which the serial line opens its port in event mode (none: the port
// cannot open so).
struct Globals {
    profile::SettingsStore& Settings;
    ReceiverState& State;
    RXDefinitions::RxModelTable& RxModels;
    RadioObjects Objects;
    comm::MSComm* MSComm1 = nullptr;
};

// The module's state, kept until the next set-up. The application holds one.
class ReceiverSetup {
public:
    // Reads the model's settings and chooses its objects; a negative model keeps SetupModelNo. A model
    // the table has no row for sets up model 0 (with a trace line). Always true.
    bool SetRx(int32_t& model, const Globals& globals);
    // Builds the radio on the VFO in globals; a negative model is replaced by SDRModelNo in the caller's
    // variable. Errors of a settings value or a member the chosen object lacks end it at that step and
    // reach the caller.
    void InitialiseRX(int32_t& model, const Globals& globals);
    void ReleaseRX();

    int16_t SetupModelNo = 0;
    std::string ModelSection; // "RXModel." and the model's name
    CurrentModelValues CurrentModel;
    Oscillator* SelectedOsc = nullptr;
    LineInterface* SelectedLine = nullptr;
    std::string SelectedLineName;
};

} // namespace modSetupRX
