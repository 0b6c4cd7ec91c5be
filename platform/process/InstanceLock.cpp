// The single-instance lock over flock.
#include "platform/process/InstanceLock.h"

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace process {

namespace {

// The folder under the shared temporary directory: created private, and trusted only when it is a
// real folder (not a link), owned by us and closed to everyone else, so nobody can plant or hold our
// lock file.
int openPrivateFolder(const std::string& path) {
    if (::mkdir(path.c_str(), 0700) != 0 && errno != EEXIST) return -1;
    const int dir = ::open(path.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (dir < 0) return -1;
    struct stat st {};
    if (::fstat(dir, &st) != 0 || st.st_uid != ::getuid() || (st.st_mode & 077) != 0) {
        ::close(dir);
        return -1;
    }
    return dir;
}

} // namespace

InstanceLock::InstanceLock(const std::string& name, const std::optional<std::string>& runtimeDir,
                           const std::string& tempDir) {
    int dir = -1;
    if (runtimeDir && !runtimeDir->empty())
        dir = ::open(runtimeDir->c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    else
        dir = openPrivateFolder(tempDir + "/" + name + "-" + std::to_string(::getuid()));
    if (dir < 0) return;
    const std::string file = name + ".lock";
    fd_ = ::openat(dir, file.c_str(), O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0600);
    ::close(dir);
    if (fd_ < 0) return;
    int rc = 0;
    do {
        rc = ::flock(fd_, LOCK_EX | LOCK_NB);
    } while (rc != 0 && errno == EINTR);
    if (rc == 0) {
        result_ = InstanceLockResult::Acquired;
        return;
    }
    result_ = errno == EWOULDBLOCK ? InstanceLockResult::HeldByAnother : InstanceLockResult::Unavailable;
    ::close(fd_);
    fd_ = -1;
}

namespace {

std::optional<std::string> envText(const char* name) {
    const char* v = std::getenv(name);
    if (v == nullptr || *v == '\0') return std::nullopt;
    return std::string(v);
}

} // namespace

InstanceLock::InstanceLock(const std::string& name)
    : InstanceLock(name, envText("XDG_RUNTIME_DIR"), envText("TMPDIR").value_or("/tmp")) {}

InstanceLock::~InstanceLock() {
    if (fd_ >= 0) ::close(fd_); // closing the file releases the lock
}

} // namespace process
