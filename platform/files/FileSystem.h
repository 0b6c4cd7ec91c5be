// The file seam of the recorder: byte files opened, read and written at offsets, renamed and removed.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <string>

namespace files {

// Error numbers beyond the runtime's common set that file work reports.
namespace err {
inline constexpr int32_t kDiskFull = 61;
inline constexpr int32_t kFileAlreadyExists = 58;
} // namespace err

// One open file. Every call returns 0 or the runtime's error number of the failure.
class File {
public:
    virtual ~File() = default;
    virtual int32_t size(int64_t& length) = 0;
    // Reads up to data.size() bytes; fewer at the end of the file is not an error.
    virtual int32_t readAt(int64_t offset, std::span<uint8_t> data, std::size_t& got) = 0;
    // A short write reports its error with the bytes that did land in `written`.
    virtual int32_t writeAt(int64_t offset, std::span<const uint8_t> data, std::size_t& written) = 0;
    virtual int32_t truncate(int64_t length) = 0;
    // Makes what was written durable.
    virtual int32_t flush() = 0;
    // Releases the handle whatever happens, and returns the error of the release.
    virtual int32_t close() = 0;
};

class FileSystem {
public:
    virtual ~FileSystem() = default;
    virtual int32_t openRead(const std::string& path, std::unique_ptr<File>& file) = 0;
    // Creates (or empties) the file, open for reading and writing.
    virtual int32_t create(const std::string& path, std::unique_ptr<File>& file) = 0;
    // Opens an existing file for reading and writing, keeping what it holds.
    virtual int32_t openUpdate(const std::string& path, std::unique_ptr<File>& file) = 0;
    virtual bool exists(const std::string& path) = 0;
    virtual int32_t remove(const std::string& path) = 0;
    // Moves `from` to `to`, replacing `to` atomically: the old `to` is gone only once the new one is in
    // place. Across file systems it copies to a temporary name beside `to`, syncs and renames.
    virtual int32_t rename(const std::string& from, const std::string& to) = 0;
};

// The Linux files.
class PosixFileSystem final : public FileSystem {
public:
    int32_t openRead(const std::string& path, std::unique_ptr<File>& file) override;
    int32_t create(const std::string& path, std::unique_ptr<File>& file) override;
    int32_t openUpdate(const std::string& path, std::unique_ptr<File>& file) override;
    bool exists(const std::string& path) override;
    int32_t remove(const std::string& path) override;
    int32_t rename(const std::string& from, const std::string& to) override;
};

// The copy half of a rename across file systems; public so that it can be proved on one file system.
int32_t copyReplace(const std::string& from, const std::string& to);

// The system's text for an error number of this layer.
std::string describeError(int32_t number);

// The runtime's error number for an errno value.
int32_t errorFromErrno(int errnoValue);

} // namespace files
