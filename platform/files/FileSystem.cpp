// Linux backend of the file seam, on POSIX descriptors.
#include "platform/files/FileSystem.h"

#include "platform/runtime/RuntimeError.h"

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace files {

int32_t errorFromErrno(int e) {
    switch (e) {
    case 0:
        return 0;
    case ENOENT:
        return runtime::err::kFileNotFound;
    case ENOTDIR:
        return runtime::err::kPathNotFound;
    case EACCES:
    case EPERM:
    case EROFS:
        return runtime::err::kPermissionDenied;
    case ENOSPC:
    case EFBIG:
    case EDQUOT:
        return err::kDiskFull;
    case EEXIST:
        return err::kFileAlreadyExists;
    case ENAMETOOLONG:
        return runtime::err::kBadFileName;
    case EISDIR:
    case EBUSY:
        return runtime::err::kPathFileAccess;
    default:
        return runtime::err::kDeviceIo;
    }
}

std::string describeError(int32_t number) {
    switch (number) {
    case err::kDiskFull:
        return "Disk full";
    case err::kFileAlreadyExists:
        return "File already exists";
    default:
        return runtime::standardDescription(number);
    }
}

namespace {

class PosixFile final : public File {
public:
    explicit PosixFile(int fd) : fd_(fd) {}
    ~PosixFile() override {
        if (fd_ >= 0) ::close(fd_);
    }

    int32_t size(int64_t& length) override {
        struct stat st {};
        if (::fstat(fd_, &st) != 0) return errorFromErrno(errno);
        length = st.st_size;
        return 0;
    }

    int32_t readAt(int64_t offset, std::span<uint8_t> data, std::size_t& got) override {
        got = 0;
        while (got < data.size()) {
            const ssize_t n = ::pread(fd_, data.data() + got, data.size() - got, offset + int64_t(got));
            if (n < 0) {
                if (errno == EINTR) continue;
                return errorFromErrno(errno);
            }
            if (n == 0) break;
            got += std::size_t(n);
        }
        return 0;
    }

    int32_t writeAt(int64_t offset, std::span<const uint8_t> data, std::size_t& written) override {
        written = 0;
        while (written < data.size()) {
            const ssize_t n =
                ::pwrite(fd_, data.data() + written, data.size() - written, offset + int64_t(written));
            if (n < 0) {
                if (errno == EINTR) continue;
                return errorFromErrno(errno);
            }
            if (n == 0) return err::kDiskFull;
            written += std::size_t(n);
        }
        return 0;
    }

    int32_t truncate(int64_t length) override {
        return ::ftruncate(fd_, length) == 0 ? 0 : errorFromErrno(errno);
    }

    int32_t flush() override { return ::fsync(fd_) == 0 ? 0 : errorFromErrno(errno); }

    int32_t close() override {
        if (fd_ < 0) return 0;
        const int rc = ::close(fd_);
        fd_ = -1;
        return rc == 0 ? 0 : errorFromErrno(errno);
    }

private:
    int fd_;
};

int32_t openWith(const std::string& path, int flags, std::unique_ptr<File>& file) {
    file.reset();
    const int fd = ::open(path.c_str(), flags | O_CLOEXEC, 0644);
    if (fd < 0) return errorFromErrno(errno);
    file = std::make_unique<PosixFile>(fd);
    return 0;
}

} // namespace

int32_t PosixFileSystem::openRead(const std::string& path, std::unique_ptr<File>& file) {
    return openWith(path, O_RDONLY, file);
}

int32_t PosixFileSystem::create(const std::string& path, std::unique_ptr<File>& file) {
    return openWith(path, O_RDWR | O_CREAT | O_TRUNC, file);
}

int32_t PosixFileSystem::openUpdate(const std::string& path, std::unique_ptr<File>& file) {
    return openWith(path, O_RDWR, file);
}

bool PosixFileSystem::exists(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0;
}

int32_t PosixFileSystem::remove(const std::string& path) {
    return ::unlink(path.c_str()) == 0 ? 0 : errorFromErrno(errno);
}

int32_t PosixFileSystem::rename(const std::string& from, const std::string& to) {
    if (::rename(from.c_str(), to.c_str()) == 0) return 0;
    if (errno != EXDEV) return errorFromErrno(errno);
    const int32_t rc = copyReplace(from, to);
    if (rc != 0) return rc;
    return ::unlink(from.c_str()) == 0 ? 0 : errorFromErrno(errno);
}

int32_t copyReplace(const std::string& from, const std::string& to) {
    const int in = ::open(from.c_str(), O_RDONLY | O_CLOEXEC);
    if (in < 0) return errorFromErrno(errno);
    const std::string part = to + ".part";
    const int out = ::open(part.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (out < 0) {
        const int e = errno;
        ::close(in);
        return errorFromErrno(e);
    }
    int32_t rc = 0;
    char buffer[65536];
    for (;;) {
        const ssize_t n = ::read(in, buffer, sizeof buffer);
        if (n < 0) {
            if (errno == EINTR) continue;
            rc = errorFromErrno(errno);
            break;
        }
        if (n == 0) break;
        ssize_t done = 0;
        while (done < n) {
            const ssize_t w = ::write(out, buffer + done, std::size_t(n - done));
            if (w < 0) {
                if (errno == EINTR) continue;
                rc = errorFromErrno(errno);
                break;
            }
            done += w;
        }
        if (rc != 0) break;
    }
    if (rc == 0 && ::fsync(out) != 0) rc = errorFromErrno(errno);
    if (::close(out) != 0 && rc == 0) rc = errorFromErrno(errno);
    ::close(in);
    if (rc == 0 && ::rename(part.c_str(), to.c_str()) != 0) rc = errorFromErrno(errno);
    if (rc != 0) ::unlink(part.c_str());
    return rc;
}

} // namespace files
