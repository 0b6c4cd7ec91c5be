// The in-memory settings store.
#include "platform/profile/SettingsStore.h"

#include "platform/runtime/Text.h"

namespace profile {

MemorySettingsStore::Address MemorySettingsStore::address(std::string_view appName, std::string_view section,
                                                          std::string_view key) {
    return {runtime::foldCase(runtime::toU32(appName)), runtime::foldCase(runtime::toU32(section)),
            runtime::foldCase(runtime::toU32(key))};
}

std::string MemorySettingsStore::GetSetting(std::string_view appName, std::string_view section,
                                            std::string_view key, std::string_view defaultValue) const {
    const auto it = values_.find(address(appName, section, key));
    return it == values_.end() ? std::string(defaultValue) : it->second;
}

void MemorySettingsStore::SaveSetting(std::string_view appName, std::string_view section,
                                      std::string_view key, std::string_view value) {
    values_[address(appName, section, key)] = std::string(value);
}

} // namespace profile
