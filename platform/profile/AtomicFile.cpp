// Whole-file reads and the write-beside-then-rename replacement.
#include "platform/profile/AtomicFile.h"

#include <cerrno>
#include <climits>
#include <cstdint>
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

// Temporaries of earlier saves that a crash left behind: ours by their name, and only plain files.
void removeUnfinishedSaves(const std::filesystem::path& target) {
    const std::string prefix = unfinishedSavePrefix(target.filename().string());
    const std::filesystem::path folder = target.has_parent_path() ? target.parent_path() : ".";
    std::error_code ec;
    for (std::filesystem::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        const std::string name = it->path().filename().string();
        if (name.size() != prefix.size() + 6 || name.compare(0, prefix.size(), prefix) != 0) continue;
        struct stat st {};
        if (::lstat(it->path().c_str(), &st) == 0 && S_ISREG(st.st_mode)) ::unlink(it->path().c_str());
    }
}

mode_t currentUmask() {
    const mode_t mask = ::umask(0); // one UI thread: nothing else reads the mask in between
    ::umask(mask);
    return mask;
}

} // namespace

const char* describe(FileStatus status) noexcept {
    switch (status) {
    case FileStatus::Ok:
        return "read";
    case FileStatus::Missing:
        return "it does not exist";
    case FileStatus::Denied:
        return "permission denied";
    case FileStatus::ReadOnly:
        return "it is read-only";
    case FileStatus::IoError:
        return "it could not be read";
    case FileStatus::NotRegular:
        return "it is not a regular file (a folder, a FIFO or a device)";
    case FileStatus::TooLarge:
        return "it is larger than settings and band plan files ever are";
    case FileStatus::Utf16:
        return "it is UTF-16 text, which is not read";
    case FileStatus::NotText:
        return "it is not text (it holds NUL bytes)";
    }
    return "unknown";
}

std::optional<std::string> readWholeFile(const std::string& path, std::size_t maxBytes, FileStatus* status) {
    const auto report = [status](FileStatus s) {
        if (status) *status = s;
    };
    // A device is never opened at all (opening a serial port moves its lines); the open itself does not
    // block, as opening a FIFO for reading would otherwise wait for a writer for ever.
    struct stat st {};
    if (::stat(path.c_str(), &st) == 0 && !S_ISREG(st.st_mode)) {
        report(FileStatus::NotRegular);
        return std::nullopt;
    }
    UniqueFd fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY));
    if (fd.get() < 0) {
        report(errno == ENOENT || errno == ENOTDIR ? FileStatus::Missing
               : errno == EACCES                   ? FileStatus::Denied
               : errno == ENXIO                    ? FileStatus::NotRegular
                                                   : FileStatus::IoError);
        return std::nullopt;
    }
    if (::fstat(fd.get(), &st) != 0) {
        report(FileStatus::IoError);
        return std::nullopt;
    }
    if (!S_ISREG(st.st_mode)) {
        report(FileStatus::NotRegular);
        return std::nullopt;
    }
    if (st.st_size < 0 || static_cast<uint64_t>(st.st_size) > maxBytes) {
        report(FileStatus::TooLarge);
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
        // A file growing while it is read is held to the same limit.
        if (static_cast<std::size_t>(n) > maxBytes - bytes.size()) {
            report(FileStatus::TooLarge);
            return std::nullopt;
        }
        bytes.append(buffer, static_cast<std::size_t>(n));
    }
    report(FileStatus::Ok);
    return bytes;
}

std::string unfinishedSavePrefix(std::string_view fileName) {
    std::string prefix = ".";
    prefix += fileName;
    prefix += ".unfinished-save-";
    return prefix;
}

FileStatus replaceFileAtomically(const std::string& path, std::string_view bytes, int* systemError) {
    const auto fail = [systemError](FileStatus status, int error) {
        if (systemError) *systemError = error;
        return status;
    };
    if (systemError) *systemError = 0;
    std::string target = path;
    struct stat st {};
    if (::lstat(path.c_str(), &st) == 0 && S_ISLNK(st.st_mode)) {
        char resolved[PATH_MAX];
        if (::realpath(path.c_str(), resolved) == nullptr) return fail(FileStatus::IoError, errno);
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
    removeUnfinishedSaves(targetPath);
    std::string temp =
        (targetPath.parent_path() / (unfinishedSavePrefix(targetPath.filename().string()) + "XXXXXX"))
            .string();
    UniqueFd fd(::mkstemp(temp.data()));
    if (fd.get() < 0)
        return fail(errno == EACCES || errno == EROFS ? FileStatus::ReadOnly : FileStatus::IoError, errno);
    const bool written = writeAll(fd.get(), bytes) && ::fchmod(fd.get(), mode) == 0 && ::fsync(fd.get()) == 0;
    int error = written ? 0 : errno;
    const bool closed = fd.close();
    if (!closed && error == 0) error = errno;
    if (closed && written && ::rename(temp.c_str(), target.c_str()) != 0) error = errno;
    if (!closed || !written || error != 0) {
        ::unlink(temp.c_str());
        return fail(FileStatus::IoError, error);
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
