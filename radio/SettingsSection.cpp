// One object's keys in the settings store, tolerant of damaged values.
#include "radio/SettingsSection.h"

#include <cmath>
#include <limits>

#include "platform/runtime/Convert.h"
#include "platform/runtime/Hooks.h"

SettingsSection::SettingsSection(profile::SettingsStore& store, std::string section, std::string owner)
    : store_(store), section_(std::move(section)), owner_(std::move(owner)) {}

std::string SettingsSection::raw(std::string_view key, std::string_view current, bool& found) const {
    // A default no stored text can equal tells a missing key from a stored one.
    static constexpr std::string_view kMissing{"\x01missing\x01"};
    std::string text = store_.GetSetting(runtime::kProductName, section_, key, kMissing);
    found = text != kMissing;
    return found ? text : std::string(current);
}

void SettingsSection::logRejected(std::string_view key, std::string_view text) const {
    runtime::AddLog(owner_ + ".RestoreSettings : \"" + std::string(key) + "\"=\"" + std::string(text) +
                    "\" is not valid, value kept");
}

int32_t SettingsSection::readInt32(std::string_view key, int32_t current) const {
    bool found = false;
    const std::string text = raw(key, {}, found);
    if (!found) return current;
    const auto value = runtime::parseLong(text);
    if (!value) {
        logRejected(key, text);
        return current;
    }
    return *value;
}

double SettingsSection::readDouble(std::string_view key, double current) const {
    bool found = false;
    const std::string text = raw(key, {}, found);
    if (!found) return current;
    const auto value = runtime::parseDouble(text);
    if (!value) {
        logRejected(key, text);
        return current;
    }
    return *value;
}

float SettingsSection::readSingle(std::string_view key, float current) const {
    bool found = false;
    const std::string text = raw(key, {}, found);
    if (!found) return current;
    const auto value = runtime::parseDouble(text);
    if (!value || std::fabs(*value) > std::numeric_limits<float>::max()) {
        logRejected(key, text);
        return current;
    }
    return static_cast<float>(*value);
}

bool SettingsSection::readBool(std::string_view key, bool current) const {
    bool found = false;
    const std::string text = raw(key, {}, found);
    if (!found) return current;
    const auto value = runtime::parseBoolean(text);
    if (!value) {
        logRejected(key, text);
        return current;
    }
    return *value;
}

std::string SettingsSection::readText(std::string_view key, std::string_view current) const {
    bool found = false;
    return raw(key, current, found);
}

void SettingsSection::writeText(std::string_view key, std::string_view value) {
    store_.SaveSetting(runtime::kProductName, section_, key, value);
}

void SettingsSection::writeInt(std::string_view key, int64_t value) {
    writeText(key, runtime::CStr(value));
}

void SettingsSection::writeDouble(std::string_view key, double value) {
    writeText(key, runtime::CStr(value));
}

void SettingsSection::writeSingle(std::string_view key, float value) {
    writeText(key, runtime::singleText(value));
}

void SettingsSection::writeBool(std::string_view key, bool value) {
    writeText(key, value ? "True" : "False");
}

void SettingsSection::commit() {
    if (!store_.commit()) runtime::AddLog(owner_ + ".SaveSettings : the settings could not be written");
}
