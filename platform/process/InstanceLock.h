// One running copy per user: an exclusive lock on a file in the user's runtime folder, held for the
// life of the object.
#pragma once

#include <optional>
#include <string>

namespace process {

enum class InstanceLockResult {
    Acquired,      // this is the only instance
    HeldByAnother, // another instance holds the lock
    Unavailable,   // no safe place for the lock file, or it cannot be opened
};

class InstanceLock {
public:
    // The lock file lies in runtimeDir when given (the caller passes $XDG_RUNTIME_DIR), otherwise in
    // <tempDir>/<name>-<uid>, a folder created 0700 and refused unless it is ours and private.
    InstanceLock(const std::string& name, const std::optional<std::string>& runtimeDir,
                 const std::string& tempDir);
    // From the environment: $XDG_RUNTIME_DIR, then $TMPDIR or /tmp.
    explicit InstanceLock(const std::string& name);
    ~InstanceLock();
    InstanceLock(const InstanceLock&) = delete;
    InstanceLock& operator=(const InstanceLock&) = delete;

    InstanceLockResult result() const noexcept { return result_; }

private:
    int fd_ = -1;
    InstanceLockResult result_ = InstanceLockResult::Unavailable;
};

} // namespace process
