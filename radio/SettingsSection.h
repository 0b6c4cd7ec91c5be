// One object's keys in the settings store: readers that keep the current value when a key is missing or
// does not parse, and writers in the store's text forms.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/profile/SettingsStore.h"

class SettingsSection {
public:
    // owner names the object in the trace line written for a value that does not parse.
    SettingsSection(profile::SettingsStore& store, std::string section, std::string owner);

    // A value that does not parse keeps current for that key alone and is logged, so one damaged key
    // cannot stop the rest of a restore.
    int32_t readInt32(std::string_view key, int32_t current) const;
    double readDouble(std::string_view key, double current) const;
    // A number beyond the 32-bit float range does not convert either.
    float readSingle(std::string_view key, float current) const;
    // "True"/"False" in any letter case, or a number (non-zero is true): runtime::parseBoolean.
    bool readBool(std::string_view key, bool current) const;
    std::string readText(std::string_view key, std::string_view current) const;

    void writeText(std::string_view key, std::string_view value);
    void writeInt(std::string_view key, int64_t value);
    void writeDouble(std::string_view key, double value);
    // In the shortest text that reads back as the same 32-bit float.
    void writeSingle(std::string_view key, float value);
    void writeBool(std::string_view key, bool value);
    // Makes the writes durable; a save routine calls it once at its end.
    void commit();

private:
    std::string raw(std::string_view key, std::string_view current, bool& found) const;
    void logRejected(std::string_view key, std::string_view text) const;

    profile::SettingsStore& store_;
    std::string section_;
    std::string owner_;
};
