// The settings store over one INI document per application and the atomic file replacement.
#include "platform/profile/FileSettingsStore.h"

#include <cstdlib>
#include <filesystem>
#include <system_error>

#include "platform/profile/AtomicFile.h"
#include "platform/profile/IniFile.h"
#include "platform/profile/PrivateProfile.h"
#include "platform/runtime/Hooks.h"
#include "platform/runtime/Text.h"

namespace profile {

namespace {

bool usableAppName(std::string_view name) {
    using namespace std::string_view_literals;
    return !runtime::trimSpaces(name).empty() && name != "." && name != ".." &&
           name.find_first_of("/\0\r\n"sv) == std::string_view::npos;
}

} // namespace

FileSettingsStore::FileSettingsStore(std::string configRoot)
    : root_(configRoot.empty() ? defaultConfigRoot() : std::move(configRoot)) {}

FileSettingsStore::~FileSettingsStore() {
    commit();
}

std::string FileSettingsStore::defaultConfigRoot() {
    if (const char* xdg = std::getenv("XDG_CONFIG_HOME"); xdg != nullptr && *xdg != '\0') return xdg;
    const char* home = std::getenv("HOME");
    return std::string(home != nullptr ? home : ".") + "/.config";
}

std::string FileSettingsStore::fileFor(std::string_view appName) const {
    const std::string app(appName);
    return root_ + "/" + app + "/" + app + ".ini";
}

FileSettingsStore::AppFile* FileSettingsStore::open(std::string_view appName) const {
    if (!usableAppName(appName)) return nullptr;
    const std::u32string folded = runtime::foldCase(runtime::toU32(appName));
    auto it = apps_.find(folded);
    if (it == apps_.end()) {
        AppFile app;
        app.path = fileFor(appName);
        if (auto doc = readIniFile(app.path, &app.readStatus)) app.doc = std::move(*doc);
        // A file refused or unreadable keeps what it holds: the settings run on defaults, unsaved.
        app.unreadable = app.readStatus != FileStatus::Ok && app.readStatus != FileStatus::Missing;
        it = apps_.emplace(folded, std::move(app)).first;
    }
    return &it->second;
}

std::string FileSettingsStore::GetSetting(std::string_view appName, std::string_view section,
                                          std::string_view key, std::string_view defaultValue) const {
    const AppFile* app = open(appName);
    if (app == nullptr) return std::string(defaultValue);
    const auto value = app->doc.get(section, key);
    return value ? *value : std::string(defaultValue);
}

void FileSettingsStore::SaveSetting(std::string_view appName, std::string_view section, std::string_view key,
                                    std::string_view value) {
    AppFile* app = open(appName);
    const ProfileStatus status = app == nullptr ? ProfileStatus::IoError : checkEntry(section, key, value);
    if (status != ProfileStatus::Ok) {
        runtime::AddLog("SaveSetting refused for " + std::string(appName) + " [" + std::string(section) +
                        "] " + std::string(key) + ": " +
                        (app == nullptr ? "unusable application name" : describe(status)));
        return;
    }
    // Objects save every key at shutdown, mostly unchanged; each write costs a flush to the disk.
    if (app->doc.get(section, key) == value) return;
    app->doc.set(section, key, value);
    app->dirty = true;
}

std::optional<SettingsFileFailure> FileSettingsStore::readRefusal(std::string_view appName) const {
    const AppFile* app = open(appName);
    if (app == nullptr || !app->unreadable) return std::nullopt;
    return SettingsFileFailure{app->path, describe(app->readStatus)};
}

std::string FileSettingsStore::writeFailure(const AppFile& app, bool folderMade, FileStatus status,
                                            int error) {
    if (app.unreadable) return "it could not be read at start, so it is left as it is";
    if (!folderMade) return "its folder cannot be made";
    if (status == FileStatus::ReadOnly) return describe(status);
    std::string reason = "it could not be written";
    if (error != 0) reason += ": " + std::system_category().message(error);
    return reason;
}

bool FileSettingsStore::commit() {
    if (held_ > 0) return true;
    commitFailure_.reset();
    for (auto& [name, app] : apps_) {
        if (!app.dirty) continue;
        FileStatus status = FileStatus::IoError;
        int error = 0;
        const bool folderMade =
            !app.unreadable && makeFolders(std::filesystem::path(app.path).parent_path().string());
        if (folderMade) status = replaceFileAtomically(app.path, app.doc.toBytes(), &error);
        if (status == FileStatus::Ok) {
            app.dirty = false;
        } else {
            runtime::AddLog("Settings: cannot write " + app.path +
                            (app.unreadable ? ": it could not be read, so it keeps what it holds" : ""));
            if (!commitFailure_)
                commitFailure_ = SettingsFileFailure{app.path, writeFailure(app, folderMade, status, error)};
        }
    }
    return !commitFailure_;
}

} // namespace profile
