// The receiver set-up.
#include "radio/modSetupRX.h"

#include <optional>
#include <system_error>

#include "platform/runtime/Convert.h"
#include "platform/runtime/Hooks.h"
#include "platform/runtime/RuntimeError.h"
#include "radio/DDSInterfaceType.h"

namespace modSetupRX {
namespace {

constexpr const char* kSetRx = "modSetupRx.SetRx";
constexpr const char* kInitialiseRX = "modSetupRx.InitialiseRX";
// No stored value can hold a line break, so this default tells a missing key from a stored one.
constexpr std::string_view kMissing = "\n";

// One model section's keys, read with the run-time's conversions: a value that does not convert
// raises Type mismatch (13) or Overflow (6) and ends the set-up.
class ModelKeys {
public:
    ModelKeys(const profile::SettingsStore& store, std::string section)
        : store_(store), section_(std::move(section)) {}

    std::optional<std::string> raw(std::string_view key) const {
        std::string value = store_.GetSetting(runtime::kProductName, section_, key, kMissing);
        if (value == kMissing) return std::nullopt;
        return value;
    }
    int32_t readLong(std::string_view key, int32_t current) const {
        const auto text = raw(key);
        if (!text) return current;
        const auto number = runtime::parseDouble(*text);
        if (!number) mismatch(key);
        return runtime::CLng(*number);
    }
    double readDouble(std::string_view key, double current) const {
        const auto text = raw(key);
        if (!text) return current;
        const auto number = runtime::parseDouble(*text);
        if (!number) mismatch(key);
        return *number;
    }
    bool readBool(std::string_view key, bool current) const {
        const auto text = raw(key);
        if (!text) return current;
        const auto value = runtime::parseBoolean(*text);
        if (!value) mismatch(key);
        return *value;
    }
    std::string readText(std::string_view key, std::string_view current) const {
        return raw(key).value_or(std::string(current));
    }

private:
    [[noreturn]] static void mismatch(std::string_view key) {
        runtime::raise(runtime::err::kTypeMismatch, std::string(kSetRx) + " \"" + std::string(key) + "\"");
    }

    const profile::SettingsStore& store_;
    std::string section_;
};

// strerror's text; empty for 0, which is no error.
std::string systemErrorText(int32_t error) {
    return error == 0 ? std::string() : std::system_category().message(error);
}

template <class T> T& chosen(T* object, const char* global) {
    if (object == nullptr) runtime::raise(runtime::err::kObjectNotSet, global);
    return *object;
}

// The row a saved model number sets up: the table has no row past its last, so such a number sets up
// the first model.
int16_t modelInTable(int32_t model, const RXDefinitions::RxModelTable& models) {
    if (model > models.RxModelCount || model >= static_cast<int32_t>(models.RxModels.size())) {
        runtime::AddLog(std::string(kSetRx) + ":Model " + std::to_string(model) +
                        " is not in the model table, model 0 used");
        return 0;
    }
    return static_cast<int16_t>(model);
}

// The model's keys in their order, the row's values as the defaults.
CurrentModelValues readModel(const ModelKeys& keys, const RXDefinitions::RxModelEntry& row) {
    CurrentModelValues m;
    m.LOOffset = keys.readLong("LOOffset", row.LOOffset);
    m.HiSideLo = keys.readBool("HiSideLo", true);
    m.AutoUpdate = keys.readBool("AutoUpdate", false);
    m.TunedFrequency =
        keys.readLong("TunedFrequency", runtime::checkedNarrow<int32_t>(int64_t{row.TunedFrequency} * 10));
    m.TuneStep = keys.readLong("TuneStep", row.TuneStep);
    m.OscMultiplier = keys.readLong("OscMultiplier", row.OscMultiplier);
    m.PLLMultiplier = keys.readLong("PLLMultiplier", row.PLLMultiplier);
    m.CalibOffset = keys.readLong("CalibOffset", 0);
    m.DDSInterfaceType = keys.readLong("DDSInterfaceType", row.DDSInterfaceType);
    m.DDSChip = keys.readLong("DDSChip", row.DDSChip);
    m.DDSClock = keys.readLong("DDSClock", row.DDSClock);
    m.DDSChipName = "DDSChip." + keys.readText("DDSChipName", row.DDSChipName);
    m.XtalFrequency = keys.readLong("XtalFrequency", row.XtalFrequency);
    m.IQMode = keys.readBool("IQMode", row.IQMode);
    m.VFOControl = keys.readBool("VFOControl", row.VFOControl);
    m.LowSideLOOption = keys.readBool("LowSideLOOption", row.LowSideLOOption);
    m.WaitTime = keys.readDouble("WaitTime", 5e-6);
    m.RXMaxFreq = keys.readLong("RXMaxFreq", row.RXMaxFreq);
    m.RXMinFreq = keys.readLong("RXMinFreq", row.RXMinFreq);
    if (m.XtalFrequency < 0) m.XtalFrequency = 0;
    return m;
}

// The line object an interface type drives, and the name it is given; Usb, Null and every value
// without a name choose the null interface.
struct LineChoice {
    LineInterface* RadioObjects::*object;
    const char* name;
};
LineChoice lineFor(int32_t interfaceType) {
    switch (interfaceType) {
    case DDSInterfaceType::Serial:
        return {&RadioObjects::SerialLine, "DDSInterface.Serial"};
    case DDSInterfaceType::Parallel:
        return {&RadioObjects::ParallelLine, "DDSInterface.Parallel"};
    case DDSInterfaceType::Drb30:
        return {&RadioObjects::Drb30Line, "DDSInterface.NTIUSB"};
    case DDSInterfaceType::Us232c:
        return {&RadioObjects::Us232cLine, "DDSInterface.DDSFTDIUS232C"};
    case DDSInterfaceType::Ft232:
        return {&RadioObjects::Ft232Line, "DDSInterface.DDSFTDIFT232IF"};
    default:
        return {&RadioObjects::NullLine, "DDSInterface.Null"};
    }
}

// The oscillator a DDSChip value names; a chip no class drives gets the software oscillator, after a
// message.
Oscillator* oscillatorFor(int32_t chip, const RadioObjects& objects) {
    switch (chip) {
    case 0:
        return objects.SoftDdsOsc;
    case 1:
        return objects.HamlibOsc;
    case 9835:
        return objects.Ad9835Osc;
    case 9850:
        return objects.Ad9850Osc;
    case 9851:
        return objects.Ad9851Osc;
    case 9951:
        return objects.Ad9951Osc;
    case 273316:
        return objects.Cy27ee16Osc;
    default:
        runtime::MsgBox("Unknown DDSChip", runtime::mb::kOkOnly);
        return objects.SoftDdsOsc;
    }
}

// The VFO's values in the order they depend on each other: the oscillator first, AutoUpdate off while
// the tuning and the VFO's own saved values go in.
void fillVfo(clsVFO& vfo, const std::string& section, Oscillator* osc, const CurrentModelValues& m) {
    vfo.setName(section);
    vfo.setOscType(osc);
    chosen(osc, "modSetupRX.SelectedOsc").setParent(&vfo);
    vfo.setAutoUpdate(m.AutoUpdate);
    vfo.setCalibOffset(m.CalibOffset);
    vfo.setHiSideLo(m.HiSideLo);
    vfo.setIFFrequency(m.LOOffset);
    vfo.setOscMultiplier(m.OscMultiplier);
    vfo.setPLLMultiplier(m.PLLMultiplier);
    vfo.setTuneStep(static_cast<double>(m.TuneStep));
    vfo.setDDSInterfaceType(m.DDSInterfaceType);
    vfo.setRxMaxFreq(m.RXMaxFreq);
    vfo.setRXMinFreq(m.RXMinFreq);
    vfo.setAutoUpdate(false);
    vfo.setTunedFrequency(m.TunedFrequency);
    vfo.RestoreSettings();
    vfo.setAutoUpdate(m.AutoUpdate);
}

// Initialises the line; a serial line also opens its port, through the serial event control when the
// shaft encoder needs its events. A port that does not open is told and the set-up goes on.
void startLine(LineInterface& line, int32_t interfaceType, const Globals& globals) {
    if (interfaceType != DDSInterfaceType::Serial) {
        line.Initialise();
        return;
    }
    line.setMSCommCtl(globals.MSComm1);
    line.Initialise();
    if (line.OpenPort(globals.State.EnableShaftEncoder) != 0) return;
    // No run-time error is pending here, so line and number are 0; the description is the system's own
    // text for the failed open, which tells the user what to mend.
    runtime::MsgBox("Unable to open Serial Interface COM" + std::to_string(line.PortNo()) + "\r\n" +
                        kInitialiseRX +
                        ":0\r\nError Code=0\r\nError Desc=" + systemErrorText(line.openPortError()),
                    runtime::mb::kOkOnly);
}

} // namespace

bool ReceiverSetup::SetRx(int32_t& model, const Globals& globals) {
    RXDefinitions::RxModelTable& models = globals.RxModels;
    runtime::AddLog(std::string(kSetRx) + ":Start");
    if (!models.RxModelsBuilt) RXDefinitions::Initialise(models, globals.State.BaseIF);
    if (model >= 0) SetupModelNo = modelInTable(model, models);
    const RXDefinitions::RxModelEntry& row = models.RxModels.at(static_cast<size_t>(SetupModelNo));
    ModelSection = "RXModel." + row.Name;

    CurrentModelValues m = readModel(ModelKeys(globals.Settings, ModelSection), row);
    const LineChoice line = lineFor(m.DDSInterfaceType);
    SelectedLine = globals.Objects.*line.object;
    SelectedLineName = line.name;
    SelectedOsc = oscillatorFor(m.DDSChip, globals.Objects);
    CurrentModel = std::move(m);
    // The signal path reads the model's VFOControl through the receiver state.
    globals.State.VFOControl = CurrentModel.VFOControl;
    runtime::AddLog(std::string(kSetRx) + ":End");
    return true;
}

void ReceiverSetup::InitialiseRX(int32_t& model, const Globals& globals) {
    runtime::AddLog(std::string(kInitialiseRX) + ":Start");
    if (model < 0) model = globals.State.SDRModelNo;
    SetRx(model, globals);
    globals.State.IQMode = CurrentModel.IQMode;
    const RadioObjects& objects = globals.Objects;

    clsVFO& vfo = chosen(objects.Vfo, "modSetupRX.Vfo");
    fillVfo(vfo, ModelSection, SelectedOsc, CurrentModel);

    Oscillator& osc = chosen(vfo.OscType(), "modSetupRX.SelectedOsc");
    osc.setName(CurrentModel.DDSChipName);
    osc.setRxName(vfo.Name());
    // The clock first: the oscillator works out its limits from it when the base is set.
    osc.setClkIn(CurrentModel.DDSClock);
    osc.setBaseFrequency(CurrentModel.XtalFrequency);
    osc.setIFHandler(SelectedLine);
    // The VFO's first tuning above ran against the oscillator's creation limits (the software
    // oscillator's lie around a base of 0) and may have been clamped back to a frequency the model never
    // had; with nothing saved that value would stay and be saved at exit. With the model's clock and
    // base in place, the model's frequency is tuned again.
    if (vfo.TunedFrequency() != CurrentModel.TunedFrequency)
        vfo.setTunedFrequency(CurrentModel.TunedFrequency);

    LineInterface& line = chosen(osc.IFHandler(), "modSetupRX.SelectedLine");
    line.setName(SelectedLineName);
    line.setRxName(vfo.Name());
    line.setWaitTime(CurrentModel.WaitTime);

    startLine(line, vfo.DDSInterfaceType(), globals);
    osc.Initialise();
    runtime::AddLog(std::string(kInitialiseRX) + ":End");
}

void ReceiverSetup::ReleaseRX() {
    SelectedOsc = nullptr;
    SelectedLine = nullptr;
}

} // namespace modSetupRX
