// A file system over the real one that injects the faults disks and drivers produce, for tests.
#pragma once

#include "platform/files/FileSystem.h"

#include <functional>
#include <limits>

namespace files::testing {

struct Faults {
    // A write that reaches this absolute offset of a written file lands up to it and then fails.
    int64_t failWritesAtByte = std::numeric_limits<int64_t>::max();
    int32_t writeError = err::kDiskFull;
    // The next write lands only this many bytes and then fails; -1 for none.
    int64_t shortWriteOnce = -1;
    // Reads from this absolute offset on fail.
    int64_t failReadsAtByte = std::numeric_limits<int64_t>::max();
    int32_t closeError = 0;
    // Runs inside every write, as a message pump in a slow write would.
    std::function<void()> duringWrite;
    int32_t truncateError = 0;
    int32_t renameError = 0;
    int32_t removeError = 0;
    int32_t createError = 0;
    int32_t openError = 0;
};

class FaultyFileSystem final : public FileSystem {
public:
    explicit FaultyFileSystem(FileSystem& real) : real_(real) {}

    Faults faults;
    int renames = 0;

    int32_t openRead(const std::string& path, std::unique_ptr<File>& file) override;
    int32_t create(const std::string& path, std::unique_ptr<File>& file) override;
    int32_t openUpdate(const std::string& path, std::unique_ptr<File>& file) override;
    bool exists(const std::string& path) override { return real_.exists(path); }
    int32_t remove(const std::string& path) override {
        return faults.removeError ? faults.removeError : real_.remove(path);
    }
    int32_t rename(const std::string& from, const std::string& to) override {
        ++renames;
        return faults.renameError ? faults.renameError : real_.rename(from, to);
    }

private:
    FileSystem& real_;
};

} // namespace files::testing
