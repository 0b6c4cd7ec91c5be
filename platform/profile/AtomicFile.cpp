// Whole-file reads and the write-beside-then-rename replacement.
#include "platform/profile/AtomicFile.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/runtime/UniqueFd.h"

namespace profile {

namespace {

using runtime::UniqueFd;

bool writeAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t n = ::write(fd, bytes.data(), bytes.size());
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        bytes.remove_prefix(static_cast<std::size_t>(n));
    }
    return true;
}

mode_t currentUmask() {
    const mode_t mask = ::umask(0); // one UI thread: nothing else reads the mask in between
    ::umask(mask);
    return mask;
}

} // namespace

std::optional<std::string> readWholeFile(const std::string& path, FileStatus* status) {
    const auto report = [status](FileStatus s) {
        if (status) *status = s;
    };
    UniqueFd fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
    if (fd.get() < 0) {
        report(errno == ENOENT || errno == ENOTDIR ? FileStatus::Missing
               : errno == EACCES                   ? FileStatus::Denied
                                                   : FileStatus::IoError);
        return std::nullopt;
    }
    struct stat st {};
    if (::fstat(fd.get(), &st) != 0 || !S_ISREG(st.st_mode)) {
        report(FileStatus::IoError);
        return std::nullopt;
    }
    std::string bytes;
    char buffer[65536];
    for (;;) {
        const ssize_t n = ::read(fd.get(), buffer, sizeof buffer);
        if (n < 0) {
            if (errno == EINTR) continue;
            report(FileStatus::IoError);
            return std::nullopt;
        }
        if (n == 0) break;
        bytes.append(buffer, static_cast<std::size_t>(n));
    }
    report(FileStatus::Ok);
    return bytes;
}

FileStatus replaceFileAtomically(const std::string& path, std::string_view bytes) {
    std::string target = path;
    struct stat st {};
    if (::lstat(path.c_str(), &st) == 0 && S_ISLNK(st.st_mode)) {
        char resolved[PATH_MAX];
        if (::realpath(path.c_str(), resolved) == nullptr) return FileStatus::IoError;
        target = resolved;
    }
    mode_t mode = 0666 & ~currentUmask();
    if (::stat(target.c_str(), &st) == 0) {
        if (!S_ISREG(st.st_mode)) return FileStatus::IoError;
        if ((st.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0 || ::access(target.c_str(), W_OK) != 0)
            return FileStatus::ReadOnly;
        mode = st.st_mode & 07777;
    }

    const std::filesystem::path targetPath(target);
    // Appended piece by piece: GCC 12 warns falsely about "." + std::string in optimised builds.
    std::string tempName = ".";
    tempName += targetPath.filename().string();
    tempName += ".XXXXXX";
    std::string temp = (targetPath.parent_path() / tempName).string();
    UniqueFd fd(::mkstemp(temp.data()));
    if (fd.get() < 0) return errno == EACCES || errno == EROFS ? FileStatus::ReadOnly : FileStatus::IoError;
    const bool written = writeAll(fd.get(), bytes) && ::fchmod(fd.get(), mode) == 0 && ::fsync(fd.get()) == 0;
    if (!fd.close() || !written || ::rename(temp.c_str(), target.c_str()) != 0) {
        ::unlink(temp.c_str());
        return FileStatus::IoError;
    }
    // The rename itself is durable only once the folder is flushed.
    const std::string folder = targetPath.has_parent_path() ? targetPath.parent_path().string() : ".";
    UniqueFd dir(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (dir.get() >= 0) ::fsync(dir.get());
    return FileStatus::Ok;
}

bool makeFolders(const std::string& path) {
    std::error_code ec;
    std::filesystem::create_directories(path, ec);
    return std::filesystem::is_directory(path, ec);
}

} // namespace profile
