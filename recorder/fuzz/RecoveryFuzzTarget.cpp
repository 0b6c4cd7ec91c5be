// The crash recovery's fuzz target: whatever a crash left of a recording and its journal, the completion
// keeps every sample it counts as they were, writes a header that gives the file's sizes and a log inside
// the samples, and a second completion (a crash during the first) leaves the file as the first did.
#include "recorder/fuzz/RecoveryFuzzTarget.h"

#include "platform/runtime/RuntimeError.h"
#include "recorder/LogJournal.h"
#include "recorder/LogRecord.h"
#include "recorder/WavHeader.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <span>
#include <string>
#include <vector>

namespace recorder::fuzz {

namespace {

using Bytes = std::vector<uint8_t>;

constexpr const char* kRecording = "/rec/~NerixWAV.TMP";

[[noreturn]] void broken(const char* what) {
    std::fprintf(stderr, "recording recovery: %s\n", what);
    std::abort();
}

// A file held in memory and changed in place, so that a run touches no disk.
class MemoryFile final : public files::File {
public:
    explicit MemoryFile(Bytes& bytes) : bytes_(bytes) {}
    int32_t size(int64_t& length) override {
        length = int64_t(bytes_.size());
        return 0;
    }
    int32_t readAt(int64_t offset, std::span<uint8_t> data, std::size_t& got) override {
        got = 0;
        if (offset < 0) broken("a read before the file's start");
        if (std::size_t(offset) >= bytes_.size()) return 0;
        got = std::min(data.size(), bytes_.size() - std::size_t(offset));
        std::memcpy(data.data(), bytes_.data() + offset, got);
        return 0;
    }
    int32_t writeAt(int64_t offset, std::span<const uint8_t> data, std::size_t& written) override {
        // A write past the end would leave a hole of zeros that no crash wrote.
        if (offset < 0 || std::size_t(offset) > bytes_.size()) broken("a write outside the file");
        if (std::size_t(offset) + data.size() > bytes_.size())
            bytes_.resize(std::size_t(offset) + data.size());
        if (!data.empty()) std::memcpy(bytes_.data() + offset, data.data(), data.size());
        written = data.size();
        return 0;
    }
    int32_t truncate(int64_t length) override {
        if (length < 0 || std::size_t(length) > bytes_.size())
            broken("a truncation that would lengthen the file");
        bytes_.resize(std::size_t(length));
        return 0;
    }
    int32_t flush() override { return 0; }
    int32_t close() override { return 0; }

private:
    Bytes& bytes_;
};

class MemoryFileSystem final : public files::FileSystem {
public:
    std::map<std::string, Bytes> files;

    int32_t openRead(const std::string& path, std::unique_ptr<files::File>& file) override {
        return openUpdate(path, file);
    }
    int32_t create(const std::string& path, std::unique_ptr<files::File>& file) override {
        Bytes& bytes = files[path];
        bytes.clear();
        file = std::make_unique<MemoryFile>(bytes);
        return 0;
    }
    int32_t openUpdate(const std::string& path, std::unique_ptr<files::File>& file) override {
        const auto it = files.find(path);
        if (it == files.end()) return runtime::err::kFileNotFound;
        file = std::make_unique<MemoryFile>(it->second);
        return 0;
    }
    bool exists(const std::string& path) override { return files.contains(path); }
    int32_t remove(const std::string& path) override {
        return files.erase(path) == 1 ? 0 : runtime::err::kFileNotFound;
    }
    int32_t rename(const std::string& from, const std::string& to) override {
        const auto it = files.find(from);
        if (it == files.end()) return runtime::err::kFileNotFound;
        Bytes bytes = std::move(it->second);
        files.erase(it);
        files[to] = std::move(bytes);
        return 0;
    }
};

} // namespace

void recover(const uint8_t* data, std::size_t size) {
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    const auto line = input.rfind(kJournalLine);
    const std::string_view recording = input.substr(0, line);
    const std::string journal = LogJournal::pathFor(kRecording);
    MemoryFileSystem fs;
    const Bytes original(recording.begin(), recording.end());
    fs.files[kRecording] = original;
    if (line != std::string_view::npos) {
        const std::string_view entries = input.substr(line + kJournalLine.size());
        fs.files[journal] = Bytes(entries.begin(), entries.end());
    }

    if (completeRecording(fs, kRecording, journal) != 0) broken("a completion in memory failed");
    const Bytes once = fs.files[kRecording];
    if (completeRecording(fs, kRecording, journal) != 0) broken("a second completion in memory failed");
    if (fs.files[kRecording] != once) broken("a second completion changed the recording again");
    if (once == original) return; // left as it was: closed already, or too long for its positions
    if (original.size() < std::size_t(kHeaderLength)) broken("a file without a whole header was changed");

    const WavHeaderFields fields = wavHeaderFields(std::span(once).first(std::size_t(kHeaderLength)));
    const int64_t dataEnd = int64_t(kHeaderLength) + fields.dataSize;
    if (fields.dataSize < 0 || dataEnd > int64_t(once.size()) || dataEnd > int64_t(original.size()))
        broken("the header counts samples the file does not hold");
    if (!std::equal(once.begin() + kHeaderLength, once.begin() + dataEnd, original.begin() + kHeaderLength))
        broken("a sample the completion keeps was changed");
    if (!fs.exists(journal)) {
        if (int64_t(once.size()) != dataEnd)
            broken("a recording without a journal got more than its samples");
        return;
    }
    const std::span<const uint8_t> rest = std::span(once).subspan(std::size_t(dataEnd));
    if (rest.size() < std::size_t(kMarkerLength) ||
        std::memcmp(rest.data(), kTrailerMarker, kMarkerLength) != 0)
        broken("the journal's log was not written after the samples");
    std::vector<LogRecord> log;
    const int32_t count = ParseLogText(log, rest.subspan(std::size_t(kMarkerLength)));
    for (int32_t i = 0; i < count; ++i) {
        const LogRecord& r = log[std::size_t(i)];
        if (r.Start < kHeaderLength || r.Start > r.End || r.End > dataEnd)
            broken("a log entry lies outside the recording's samples");
    }
}

} // namespace recorder::fuzz
