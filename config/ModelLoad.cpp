// The per-model load.
#include "config/ModelLoad.h"

#include <cmath>
#include <optional>

#include "config/ConfigTexts.h"
#include "platform/runtime/Convert.h"
#include "platform/runtime/Hooks.h"
#include "radio/SettingsSection.h"

namespace config {
namespace {

// One section's keys as the dialog reads them: the stored text converted by the program's rules, the
// default for a missing key or for a text that does not convert (or does not fit the type).
class Keys {
public:
    Keys(const profile::SettingsStore& store, std::string section)
        : store_(store), section_(std::move(section)) {}

    int64_t readWhole(std::string_view key, int64_t current, int64_t low, int64_t high) const {
        const auto text = raw(key);
        if (!text) return current;
        const auto number = runtime::parseDouble(*text);
        const double rounded = number ? runtime::roundHalfEven(*number) : 0.0;
        if (!number || rounded < static_cast<double>(low) || rounded > static_cast<double>(high)) {
            rejected(key, *text);
            return current;
        }
        return static_cast<int64_t>(rounded);
    }
    int32_t readLong(std::string_view key, int32_t current) const {
        return static_cast<int32_t>(readWhole(key, current, INT32_MIN, INT32_MAX));
    }
    int16_t readInteger(std::string_view key, int16_t current) const {
        return static_cast<int16_t>(readWhole(key, current, INT16_MIN, INT16_MAX));
    }
    bool readBool(std::string_view key, bool current) const {
        const auto text = raw(key);
        if (!text) return current;
        const auto value = runtime::parseBoolean(*text);
        if (!value) {
            rejected(key, *text);
            return current;
        }
        return *value;
    }

private:
    std::optional<std::string> raw(std::string_view key) const {
        // No stored value can hold a line break, so this default tells a missing key from a stored one.
        static constexpr std::string_view kMissing = "\n";
        std::string text = store_.GetSetting(runtime::kProductName, section_, key, kMissing);
        if (text == kMissing) return std::nullopt;
        return text;
    }
    void rejected(std::string_view key, std::string_view text) const {
        runtime::AddLog("frmConfig.cboSDRModel_Click : [" + section_ + "] \"" + std::string(key) + "\"=\"" +
                        std::string(text) + "\" does not convert, the default is shown");
    }

    const profile::SettingsStore& store_;
    std::string section_;
};

int32_t bitPosition(int16_t bit, std::string_view key) {
    return listPosition(bit, 8, std::string(key) + " " + std::to_string(bit));
}

} // namespace

ModelLoad loadModel(const profile::SettingsStore& store, const RXDefinitions::RxModelEntry& row) {
    ModelLoad m;
    m.ModelSection = "RXModel." + row.Name;
    m.HamLibEnabled = isHamlibSection(m.ModelSection);
    const Keys model(store, m.ModelSection);
    const Keys chip(store, "DDSChip." + row.DDSChipName);

    m.IFText = frequencyText(model.readLong("IFFrequency", row.LOOffset));
    m.VFOMultPosition = multiplierPosition(model.readLong("OscMultiplier", row.OscMultiplier),
                                           kVfoMultEntries, "OscMultiplier");
    m.PLLMultPosition = multiplierPosition(model.readLong("PLLMultiplier", row.PLLMultiplier),
                                           kPllMultEntries, "PLLMultiplier");
    const int32_t kind = model.readLong("DDSInterfaceType", row.DDSInterfaceType);
    m.InterfaceType = listPosition(kind, 7, "DDSInterfaceType " + std::to_string(kind));
    m.Inverting = model.readBool("Inverting", row.Inverting);
    m.IOUPDBitNo = bitPosition(model.readInteger("IOUPDBitNo", row.IOUPDBitNo), "IOUPDBitNo");
    m.SCLCKBitNo = bitPosition(model.readInteger("SCLCKBitNo", row.SCLCKBitNo), "SCLCKBitNo");
    m.SDATABitNo = bitPosition(model.readInteger("SDATABitNo", row.SDATABitNo), "SDATABitNo");

    const int32_t savedClock = model.readLong("CLKIn", row.DDSClock);
    m.ClockText = frequencyText(chip.readLong("DDSClock", savedClock));
    const int32_t savedXtal = model.readLong("BaseFrequency", row.XtalFrequency);
    m.XtalText = frequencyText(chip.readLong("BaseFrequency", savedXtal));
    return m;
}

} // namespace config
