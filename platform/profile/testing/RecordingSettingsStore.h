// A settings store in memory that also records every read and write in order, so a test can hold an
// object to the exact keys, sections and order of its restore and save.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/profile/SettingsStore.h"

namespace profile::testing {

class RecordingSettingsStore final : public SettingsStore {
public:
    struct Access {
        bool write = false;
        std::string section;
        std::string key;
        std::string value; // what was written, or what the read returned
        bool operator==(const Access&) const = default;
    };

    std::string GetSetting(std::string_view appName, std::string_view section, std::string_view key,
                           std::string_view defaultValue = {}) const override {
        std::string value = values_.GetSetting(appName, section, key, defaultValue);
        log.push_back({false, std::string(section), std::string(key), value});
        return value;
    }
    void SaveSetting(std::string_view appName, std::string_view section, std::string_view key,
                     std::string_view value) override {
        log.push_back({true, std::string(section), std::string(key), std::string(value)});
        values_.SaveSetting(appName, section, key, value);
    }
    bool commit() override { return values_.commit(); }

    // The keys read or written, as "section/key", in order.
    std::vector<std::string> keys(bool writes) const {
        std::vector<std::string> out;
        for (const Access& a : log)
            if (a.write == writes) out.push_back(a.section + "/" + a.key);
        return out;
    }

    mutable std::vector<Access> log;

private:
    MemorySettingsStore values_;
};

} // namespace profile::testing
