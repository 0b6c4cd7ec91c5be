// Settings-file utilities over the private-profile service.
#include "frame/modIniFiles.h"

#include <exception>

#include "platform/profile/PrivateProfile.h"
#include "platform/runtime/Hooks.h"
#include "platform/runtime/RuntimeError.h"

namespace modIniFiles {

namespace {

// A failure inside a routine is shown as the routine's message box, with its number and description.
void showFailure(const char* prefix) {
    int32_t number = 0;
    std::string description;
    try {
        throw;
    } catch (const runtime::RuntimeError& e) {
        number = e.Number();
        description = e.Description();
    } catch (const std::bad_alloc&) {
        number = runtime::err::kOutOfMemory;
        description = runtime::standardDescription(number);
    } catch (const std::exception& e) {
        number = runtime::err::kInvalidCall;
        description = e.what();
    }
    runtime::MsgBox(std::string(prefix) + std::to_string(number) + " " + description,
                    runtime::mb::kOkOnly | runtime::mb::kCritical);
}

} // namespace

bool ProfileSaveItem(const std::string& section, const std::string& key, const std::string& value,
                     const std::string& file) {
    try {
        const profile::ProfileStatus status = profile::WritePrivateProfileString(section, key, value, file);
        if (status == profile::ProfileStatus::Ok) return true;
        runtime::AddLog("ProfileSaveItem: [" + section + "] " + key + " not written to " + file + ": " +
                        profile::describe(status));
    } catch (...) {
        showFailure("ProfileSaveItem: ");
    }
    return false;
}

std::string ProfileGetItem(const std::string& section, const std::string& key,
                           const std::string& defaultValue, const std::string& file, int32_t fieldNumber) {
    try {
        const std::string value = profile::GetPrivateProfileString(section, key, defaultValue, file);
        if (value.empty()) return {};
        if (fieldNumber == 0) return value;
        if (fieldNumber < 0) return {};
        std::string_view rest = value;
        for (int32_t i = 1; i < fieldNumber; ++i) {
            const auto comma = rest.find(',');
            if (comma == std::string_view::npos) return {};
            rest.remove_prefix(comma + 1);
        }
        return std::string(rest.substr(0, rest.find(',')));
    } catch (...) {
        showFailure("ProfileGetItemError: ");
    }
    return {};
}

} // namespace modIniFiles
