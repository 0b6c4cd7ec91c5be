// The per-user settings store: string values addressed by application name, section and key, matched
// without regard to letter case. Objects read at set-up and write at shutdown; commit() makes what was
// saved durable at once (one atomic write per save routine, not one per key).
#pragma once

#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <tuple>

namespace profile {

// A settings file the store could not use, and why, in a short English text for the user.
struct SettingsFileFailure {
    std::string file;
    std::string reason;
};

class SettingsStore {
public:
    virtual ~SettingsStore() = default;

    // The stored value, or defaultValue when the key (or its section) is missing.
    virtual std::string GetSetting(std::string_view appName, std::string_view section, std::string_view key,
                                   std::string_view defaultValue = {}) const = 0;
    virtual void SaveSetting(std::string_view appName, std::string_view section, std::string_view key,
                             std::string_view value) = 0;
    // Writes everything saved so far to durable storage; false when that failed.
    virtual bool commit() = 0;

    // The application's settings file when it was refused at reading: its settings are then the defaults
    // and the file is never written. A store without files has none.
    virtual std::optional<SettingsFileFailure> readRefusal(std::string_view appName) const {
        (void)appName;
        return std::nullopt;
    }
    // The file the last commit() could not write; nullopt after a commit that succeeded.
    virtual std::optional<SettingsFileFailure> commitFailure() const { return std::nullopt; }

    // While held, commit() writes nothing and answers true, so a run of save routines that each commit
    // writes the file once (see CommitHold). A store without files has nothing to hold.
    virtual void holdCommits(bool held) { (void)held; }
};

// Holds a store's commits while it lives; when it goes, one commit writes what was asked for meanwhile.
class CommitHold {
public:
    explicit CommitHold(SettingsStore& store) : store_(store) { store_.holdCommits(true); }
    ~CommitHold() {
        store_.holdCommits(false);
        store_.commit();
    }
    CommitHold(const CommitHold&) = delete;
    CommitHold& operator=(const CommitHold&) = delete;

private:
    SettingsStore& store_;
};

// A store that keeps everything in memory, for tests and for a run that must not touch the disk.
class MemorySettingsStore final : public SettingsStore {
public:
    std::string GetSetting(std::string_view appName, std::string_view section, std::string_view key,
                           std::string_view defaultValue = {}) const override;
    void SaveSetting(std::string_view appName, std::string_view section, std::string_view key,
                     std::string_view value) override;
    bool commit() override {
        ++commits_;
        return true;
    }

    int commits() const { return commits_; }
    std::size_t size() const { return values_.size(); }

private:
    using Address = std::tuple<std::u32string, std::u32string, std::u32string>;
    static Address address(std::string_view appName, std::string_view section, std::string_view key);

    std::map<Address, std::string> values_;
    int commits_ = 0;
};

} // namespace profile
