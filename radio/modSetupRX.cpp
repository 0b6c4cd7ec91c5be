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

} // namespace

bool ReceiverSetup::SetRx(int32_t& model, const Globals& globals) {
    RXDefinitions::RxModelTable& models = globals.RxModels;
    const RadioObjects& objects = globals.Objects;
    runtime::AddLog(std::string(kSetRx) + ":Start");
    if (!models.RxModelsBuilt) RXDefinitions::Initialise(models, globals.State.BaseIF);
    if (model >= 0) {
        // The table has no row past its last: such a saved number sets up the first model.
        if (model > models.RxModelCount || model >= static_cast<int32_t>(models.RxModels.size())) {
            runtime::AddLog(std::string(kSetRx) + ":Model " + std::to_string(model) +
                            " is not in the model table, model 0 used");
            SetupModelNo = 0;
        } else {
            SetupModelNo = static_cast<int16_t>(model);
        }
    }
    const RXDefinitions::RxModelEntry& row = models.RxModels.at(static_cast<size_t>(SetupModelNo));
    ModelSection = "RXModel." + row.Name;

    const ModelKeys keys(globals.Settings, ModelSection);
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
    const std::string chipName = keys.readText("DDSChipName", row.DDSChipName);
    m.XtalFrequency = keys.readLong("XtalFrequency", row.XtalFrequency);
    m.IQMode = keys.readBool("IQMode", row.IQMode);
    m.VFOControl = keys.readBool("VFOControl", row.VFOControl);
    m.LowSideLOOption = keys.readBool("LowSideLOOption", row.LowSideLOOption);
    m.WaitTime = keys.readDouble("WaitTime", 5e-6);
    m.RXMaxFreq = keys.readLong("RXMaxFreq", row.RXMaxFreq);
    m.RXMinFreq = keys.readLong("RXMinFreq", row.RXMinFreq);
    if (m.XtalFrequency < 0) m.XtalFrequency = 0;

    switch (m.DDSInterfaceType) {
    case DDSInterfaceType::Serial:
        SelectedLine = objects.SerialLine;
        SelectedLineName = "DDSInterface.Serial";
        break;
    case DDSInterfaceType::Parallel:
        SelectedLine = objects.ParallelLine;
        SelectedLineName = "DDSInterface.Parallel";
        break;
    case DDSInterfaceType::Drb30:
        SelectedLine = objects.Drb30Line;
        SelectedLineName = "DDSInterface.NTIUSB";
        break;
    case DDSInterfaceType::Us232c:
        SelectedLine = objects.Us232cLine;
        SelectedLineName = "DDSInterface.DDSFTDIUS232C";
        break;
    case DDSInterfaceType::Ft232:
        SelectedLine = objects.Ft232Line;
        SelectedLineName = "DDSInterface.DDSFTDIFT232IF";
        break;
    default: // Usb, Null and every value without a name
        SelectedLine = objects.NullLine;
        SelectedLineName = "DDSInterface.Null";
        break;
    }

    switch (m.DDSChip) {
    case 0:
        SelectedOsc = objects.SoftDdsOsc;
        break;
    case 1:
        SelectedOsc = objects.HamlibOsc;
        break;
    case 9835:
        SelectedOsc = objects.Ad9835Osc;
        break;
    case 9850:
        SelectedOsc = objects.Ad9850Osc;
        break;
    case 9851:
        SelectedOsc = objects.Ad9851Osc;
        break;
    case 9951:
        SelectedOsc = objects.Ad9951Osc;
        break;
    case 273316:
        SelectedOsc = objects.Cy27ee16Osc;
        break;
    default:
        runtime::MsgBox("Unknown DDSChip", runtime::mb::kOkOnly);
        SelectedOsc = objects.SoftDdsOsc;
        break;
    }
    m.DDSChipName = "DDSChip." + chipName;
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
    vfo.setName(ModelSection);
    vfo.setOscType(SelectedOsc);
    chosen(SelectedOsc, "modSetupRX.SelectedOsc").setParent(&vfo);
    vfo.setAutoUpdate(CurrentModel.AutoUpdate);
    vfo.setCalibOffset(CurrentModel.CalibOffset);
    vfo.setHiSideLo(CurrentModel.HiSideLo);
    vfo.setIFFrequency(CurrentModel.LOOffset);
    vfo.setOscMultiplier(CurrentModel.OscMultiplier);
    vfo.setPLLMultiplier(CurrentModel.PLLMultiplier);
    vfo.setTuneStep(static_cast<double>(CurrentModel.TuneStep));
    vfo.setDDSInterfaceType(CurrentModel.DDSInterfaceType);
    vfo.setRxMaxFreq(CurrentModel.RXMaxFreq);
    vfo.setRXMinFreq(CurrentModel.RXMinFreq);
    vfo.setAutoUpdate(false);
    vfo.setTunedFrequency(CurrentModel.TunedFrequency);
    vfo.RestoreSettings();
    vfo.setAutoUpdate(CurrentModel.AutoUpdate);

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

    if (vfo.DDSInterfaceType() != DDSInterfaceType::Serial) {
        line.Initialise();
    } else {
        line.setMSCommCtl(globals.MSComm1);
        line.Initialise();
        if (line.OpenPort(globals.State.EnableShaftEncoder) == 0) {
            // No run-time error is pending here, so line and number are 0; the description is the
            // system's own text for the failed open, which tells the user what to mend.
            runtime::MsgBox("Unable to open Serial Interface COM" + std::to_string(line.PortNo()) + "\r\n" +
                                kInitialiseRX +
                                ":0\r\nError Code=0\r\nError Desc=" + systemErrorText(line.openPortError()),
                            runtime::mb::kOkOnly);
        }
    }
    osc.Initialise();
    runtime::AddLog(std::string(kInitialiseRX) + ":End");
}

void ReceiverSetup::ReleaseRX() {
    SelectedOsc = nullptr;
    SelectedLine = nullptr;
}

} // namespace modSetupRX
