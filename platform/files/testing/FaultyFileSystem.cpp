// Fault injection over the real file layer.
#include "platform/files/testing/FaultyFileSystem.h"

#include <algorithm>

namespace files::testing {

namespace {

class FaultyFile final : public File {
public:
    FaultyFile(std::unique_ptr<File> real, Faults& faults) : real_(std::move(real)), faults_(faults) {}

    int32_t size(int64_t& length) override { return real_->size(length); }

    int32_t readAt(int64_t offset, std::span<uint8_t> data, std::size_t& got) override {
        got = 0;
        if (offset + int64_t(data.size()) > faults_.failReadsAtByte) return runtime_error_io;
        return real_->readAt(offset, data, got);
    }

    int32_t writeAt(int64_t offset, std::span<const uint8_t> data, std::size_t& written) override {
        written = 0;
        if (faults_.duringWrite) faults_.duringWrite();
        std::size_t allowed = data.size();
        int32_t fault = 0;
        if (faults_.shortWriteOnce >= 0) {
            allowed = std::min<std::size_t>(allowed, std::size_t(faults_.shortWriteOnce));
            faults_.shortWriteOnce = -1;
            fault = allowed < data.size() ? faults_.writeError : 0;
        }
        if (offset + int64_t(allowed) > faults_.failWritesAtByte) {
            allowed = std::size_t(std::max<int64_t>(0, faults_.failWritesAtByte - offset));
            fault = faults_.writeError;
        }
        if (allowed > 0) {
            const int32_t rc = real_->writeAt(offset, data.first(allowed), written);
            if (rc != 0) return rc;
        }
        return fault;
    }

    int32_t truncate(int64_t length) override {
        return faults_.truncateError ? faults_.truncateError : real_->truncate(length);
    }
    int32_t flush() override { return real_->flush(); }
    int32_t close() override {
        const int32_t rc = real_->close();
        return faults_.closeError ? faults_.closeError : rc;
    }

private:
    static constexpr int32_t runtime_error_io = 57;
    std::unique_ptr<File> real_;
    Faults& faults_;
};

} // namespace

int32_t FaultyFileSystem::openRead(const std::string& path, std::unique_ptr<File>& file) {
    if (faults.openError) return faults.openError;
    std::unique_ptr<File> real;
    const int32_t rc = real_.openRead(path, real);
    if (rc == 0) file = std::make_unique<FaultyFile>(std::move(real), faults);
    return rc;
}

int32_t FaultyFileSystem::create(const std::string& path, std::unique_ptr<File>& file) {
    if (faults.createError) return faults.createError;
    std::unique_ptr<File> real;
    const int32_t rc = real_.create(path, real);
    if (rc == 0) file = std::make_unique<FaultyFile>(std::move(real), faults);
    return rc;
}

int32_t FaultyFileSystem::openUpdate(const std::string& path, std::unique_ptr<File>& file) {
    if (faults.openError) return faults.openError;
    std::unique_ptr<File> real;
    const int32_t rc = real_.openUpdate(path, real);
    if (rc == 0) file = std::make_unique<FaultyFile>(std::move(real), faults);
    return rc;
}

} // namespace files::testing
