// The per-user settings store on disk: one INI file per application, <config>/<app>/<app>.ini, with
// <config> $XDG_CONFIG_HOME or ~/.config. Saves collect in memory; commit() replaces each changed file
// atomically, once per save routine rather than once per key.
#pragma once

#include <map>
#include <string>
#include <string_view>

#include "platform/profile/AtomicFile.h"
#include "platform/profile/IniDocument.h"
#include "platform/profile/SettingsStore.h"

namespace profile {

class FileSettingsStore final : public SettingsStore {
public:
    // configRoot empty: the folder named by the environment (defaultConfigRoot()).
    explicit FileSettingsStore(std::string configRoot = {});
    // Commits what is still pending, so the settings saved at exit reach the disk.
    ~FileSettingsStore() override;
    FileSettingsStore(const FileSettingsStore&) = delete;
    FileSettingsStore& operator=(const FileSettingsStore&) = delete;

    std::string GetSetting(std::string_view appName, std::string_view section, std::string_view key,
                           std::string_view defaultValue = {}) const override;
    // A value, key or section that would break the file's lines, or an unusable application name, is
    // refused with a trace line.
    void SaveSetting(std::string_view appName, std::string_view section, std::string_view key,
                     std::string_view value) override;
    // Writes each file whose settings changed since it was read or last written; a save of the value a
    // key already holds is no change.
    bool commit() override;
    void holdCommits(bool held) override { held_ += held ? 1 : -1; }
    std::optional<SettingsFileFailure> readRefusal(std::string_view appName) const override;
    std::optional<SettingsFileFailure> commitFailure() const override { return commitFailure_; }

    // The file that holds an application's settings.
    std::string fileFor(std::string_view appName) const;
    const std::string& configRoot() const noexcept { return root_; }

    // $XDG_CONFIG_HOME when set and not empty, else $HOME/.config.
    static std::string defaultConfigRoot();

private:
    struct AppFile {
        std::string path;
        IniDocument doc;
        FileStatus readStatus = FileStatus::Ok;
        bool unreadable = false;
        bool dirty = false;
    };
    AppFile* open(std::string_view appName) const;
    // Why the file could not be written, for the user.
    static std::string writeFailure(const AppFile& app, bool folderMade, FileStatus status, int error);

    std::string root_;
    mutable std::map<std::u32string, AppFile> apps_; // read on first use, by folded application name
    std::optional<SettingsFileFailure> commitFailure_;
    int held_ = 0; // holds in force
};

} // namespace profile
