// The reader's fuzz target: any bytes open with a clear error or play safely, from memory.
#include "recorder/fuzz/ReaderFuzzTarget.h"

#include "platform/runtime/RuntimeError.h"
#include "recorder/clsWavFile.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <span>
#include <vector>

namespace recorder::fuzz {

namespace {

// Blocks played from each input: enough to cross several halves, a seek and the end of a short file, few
// enough that a bounded run gets through a million inputs in minutes.
constexpr int kBlocksPerInput = 12;
// The smallest half the player allows, so that those few blocks reach the disk reads at every factor.
constexpr int32_t kPlayBlock = 2048;

// A read-only file system holding one file in memory, the input itself, so that a run touches no disk
// and copies nothing.
class MemoryFile final : public files::File {
public:
    explicit MemoryFile(std::span<const uint8_t> bytes) : bytes_(bytes) {}
    int32_t size(int64_t& length) override {
        length = int64_t(bytes_.size());
        return 0;
    }
    int32_t readAt(int64_t offset, std::span<uint8_t> data, std::size_t& got) override {
        got = 0;
        if (offset < 0) std::abort(); // the reader never asks for a negative offset
        if (std::size_t(offset) >= bytes_.size()) return 0;
        got = std::min(data.size(), bytes_.size() - std::size_t(offset));
        std::memcpy(data.data(), bytes_.data() + offset, got);
        return 0;
    }
    int32_t writeAt(int64_t, std::span<const uint8_t>, std::size_t& written) override {
        written = 0;
        return runtime::err::kPermissionDenied;
    }
    int32_t truncate(int64_t) override { return runtime::err::kPermissionDenied; }
    int32_t flush() override { return 0; }
    int32_t close() override { return 0; }

private:
    std::span<const uint8_t> bytes_;
};

class MemoryFileSystem final : public files::FileSystem {
public:
    std::span<const uint8_t> bytes;
    int32_t openRead(const std::string&, std::unique_ptr<files::File>& file) override {
        file = std::make_unique<MemoryFile>(bytes);
        return 0;
    }
    int32_t create(const std::string&, std::unique_ptr<files::File>&) override {
        return runtime::err::kPermissionDenied;
    }
    int32_t openUpdate(const std::string&, std::unique_ptr<files::File>&) override {
        return runtime::err::kPermissionDenied;
    }
    bool exists(const std::string&) override { return true; }
    int32_t remove(const std::string&) override { return runtime::err::kPermissionDenied; }
    int32_t rename(const std::string&, const std::string&) override {
        return runtime::err::kPermissionDenied;
    }
};

// The reader reads no settings and the settings written at the end are not its work: kept nowhere.
class NoSettings final : public profile::SettingsStore {
public:
    std::string GetSetting(std::string_view, std::string_view, std::string_view,
                           std::string_view defaultValue) const override {
        return std::string(defaultValue);
    }
    void SaveSetting(std::string_view, std::string_view, std::string_view, std::string_view) override {}
    bool commit() override { return true; }
};

} // namespace

void readAndPlay(const uint8_t* data, std::size_t size) {
    MemoryFileSystem fs;
    fs.bytes = std::span<const uint8_t>(data, size);
    NoSettings settings;
    clsWavFile wav(settings, fs, "/nowhere");
    wav.setFileName("/f.wav");
    wav.setPlayBlockSizeInSamples(kPlayBlock);
    try {
        wav.OpenFile();
    } catch (const runtime::RuntimeError&) {
        if (wav.PlayerMode() != recorder::PlayerMode::Closed || !wav.IsClosed()) std::abort();
        return;
    }
    const auto& log = wav.LogRecords();
    if (log.size() != std::size_t(wav.NumberOfTracks()) + 1 || log.size() > 32768) std::abort();
    for (const LogRecord& r : log)
        if (r.Start < 0 || int64_t(r.Start) > int64_t(size) || int64_t(r.End) > int64_t(size)) std::abort();
    wav.Play();
    std::vector<int16_t> block(2048);
    for (int i = 0; i < kBlocksPerInput && wav.PlayerMode() == recorder::PlayerMode::Playing; ++i) {
        if (i == 3) wav.PlayFrom(int32_t(log.size()) - 1);
        wav.GetNextSamples(block, 2048);
        wav.ReadFromDisk();
    }
    wav.CloseFile();
}

} // namespace recorder::fuzz
