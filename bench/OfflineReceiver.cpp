// The offline receiver over the receive path, streaming its files.
#include "bench/OfflineReceiver.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstring>

#include "bench/ReceiverRig.h"
#include "dsp/FFTWisdom.h"
#include "platform/runtime/RuntimeError.h"
#include "recorder/WavHeader.h"
#include "recorder/WavPlayback.h"

namespace offline {

namespace {

constexpr int32_t kN = WavReader::kBlockFrames;
// Blocks the input buffer holds, and the output buffer's bytes: large reads and writes, a fixed quarter
// megabyte at most.
constexpr size_t kBufferBlocks = 32;
constexpr size_t kBufferBytes = kBufferBlocks * kN * 2;
constexpr const char* kTakes = "48 kHz, 16-bit, one or two channels";

using Clock = std::chrono::steady_clock;

double since(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
}

uint32_t le32(const uint8_t* p) {
    return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}
uint16_t le16(const uint8_t* p) {
    return uint16_t(p[0] | p[1] << 8);
}

[[noreturn]] void refuse(const std::string& path, const std::string& what) {
    runtime::raise(recorder::kInvalidFileFormat, "offline.WavReader",
                   path + " " + what + "; the offline receiver takes " + kTakes);
}

[[noreturn]] void fileError(int32_t number, const std::string& path, const char* source) {
    runtime::raise(number, source, path + ": " + files::describeError(number));
}

// A mono 16-bit file written a block at a time through a buffer; the sizes in its header are set when
// it is finished.
class WavWriter {
public:
    WavWriter(files::FileSystem& fileSystem, std::string path, int32_t channels)
        : path_(std::move(path)), channels_(channels) {
        if (const int32_t e = fileSystem.create(path_, file_)) fileError(e, path_, "offline.WavWriter");
        buffer_ = recorder::wavHeader({48000, 2, channels_}, 0);
        buffer_.reserve(kBufferBytes);
    }
    ~WavWriter() {
        if (file_) file_->close();
    }

    // Interleaved samples, as many at a time as the buffer has room for.
    void write(std::span<const int16_t> samples) {
        dataBytes_ += int64_t(samples.size()) * 2;
        while (!samples.empty()) {
            const size_t at = buffer_.size(), n = std::min(samples.size(), (kBufferBytes - at) / 2);
            buffer_.resize(at + 2 * n);
            uint8_t* p = buffer_.data() + at;
            for (size_t k = 0; k < n; ++k) {
                p[2 * k] = uint8_t(uint16_t(samples[k]));
                p[2 * k + 1] = uint8_t(uint16_t(samples[k]) >> 8);
            }
            samples = samples.subspan(n);
            if (buffer_.size() >= kBufferBytes) flushBuffer();
        }
    }

    void finish() {
        flushBuffer();
        put(recorder::kRiffSizeOffset, recorder::riffSizeField(dataBytes_));
        put(recorder::kDataSizeOffset, recorder::dataSizeField(dataBytes_));
        std::unique_ptr<files::File> file = std::move(file_);
        if (const int32_t e = file->close()) fileError(e, path_, "offline.WavWriter");
    }

private:
    void put(int64_t offset, std::span<const uint8_t> bytes) {
        size_t written = 0;
        if (const int32_t e = file_->writeAt(offset, bytes, written))
            fileError(e, path_, "offline.WavWriter");
    }
    void flushBuffer() {
        put(at_, buffer_);
        at_ += int64_t(buffer_.size());
        buffer_.clear();
    }

    std::unique_ptr<files::File> file_;
    std::string path_;
    int32_t channels_;
    std::vector<uint8_t> buffer_;
    int64_t at_ = 0, dataBytes_ = 0;
};

// The played blocks, held one at a time, so the file is written outside the block's own time.
struct Collector final : Nerix::BlockOutput {
    std::vector<int16_t> block = std::vector<int16_t>(size_t(kN));
    bool played = false;
    void SetOutputAttenuation(int32_t) override {}
    void Output(const int16_t* left, const int16_t*, int32_t n) override {
        std::copy_n(left, std::min<int32_t>(n, kN), block.begin());
        played = true;
    }
};

constexpr double kSmallestTime = 1e-7;
const double kLogBinWidth = std::log(1.01);

} // namespace

void BlockTimes::add(double seconds) {
    ++count_;
    total_ += seconds;
    max_ = std::max(max_, seconds);
    const double position = seconds > kSmallestTime ? std::log(seconds / kSmallestTime) / kLogBinWidth : 0.0;
    bins_[size_t(std::clamp(position, 0.0, double(kBins - 1)))] += 1;
}

double BlockTimes::quantile(double p) const {
    if (count_ == 0) return 0;
    const auto rank = std::max<int64_t>(1, int64_t(std::ceil(p * double(count_))));
    int64_t seen = 0;
    for (int32_t i = 0; i < kBins; ++i) {
        seen += bins_[size_t(i)];
        if (seen >= rank) return std::min(max_, kSmallestTime * std::exp((i + 0.5) * kLogBinWidth));
    }
    return max_;
}

WavReader::WavReader(files::FileSystem& fileSystem, const std::string& path) : path_(path) {
    if (const int32_t e = fileSystem.openRead(path, file_)) fileError(e, path, "offline.WavReader");
    int64_t length = 0;
    if (const int32_t e = file_->size(length)) fileError(e, path, "offline.WavReader");
    const auto readExactly = [&](int64_t offset, uint8_t* into, size_t n) {
        size_t got = 0;
        if (const int32_t e = file_->readAt(offset, std::span<uint8_t>(into, n), got))
            fileError(e, path, "offline.WavReader");
        return got == n;
    };
    uint8_t riff[12];
    if (!readExactly(0, riff, sizeof riff) || std::memcmp(riff, "RIFF", 4) != 0 ||
        std::memcmp(riff + 8, "WAVE", 4) != 0)
        refuse(path, "is no WAV file");
    bool format = false;
    for (int64_t at = 12; at + 8 <= length;) {
        uint8_t chunk[8];
        if (!readExactly(at, chunk, sizeof chunk)) break;
        const int64_t size = le32(chunk + 4), body = at + 8;
        if (std::memcmp(chunk, "fmt ", 4) == 0 && size >= 16) {
            uint8_t fmt[16];
            if (!readExactly(body, fmt, sizeof fmt)) break;
            const uint16_t tag = le16(fmt), channels = le16(fmt + 2), bits = le16(fmt + 14);
            const uint32_t rate = le32(fmt + 4);
            if (tag != 1 || bits != 16 || rate != 48000 || channels < 1 || channels > 2)
                refuse(path, "is " + std::to_string(rate) + " Hz, " + std::to_string(bits) + "-bit" +
                                 (tag == 1 ? "" : " (not PCM)") + ", " + std::to_string(channels) +
                                 (channels == 1 ? " channel" : " channels"));
            channels_ = channels;
            format = true;
        } else if (std::memcmp(chunk, "data", 4) == 0 && format) {
            // A recorder that stopped before its sizes were written leaves them too large: the data
            // ends with the file.
            dataStart_ = body;
            dataBytes_ = std::min(size, length - body);
            dataBytes_ -= dataBytes_ % (2 * channels_);
            // Every byte is read from the file before it is used.
            bufferSize_ = kBufferBlocks * kN * 2 * size_t(channels_);
            buffer_ = std::make_unique_for_overwrite<uint8_t[]>(bufferSize_);
            return;
        }
        at = body + size + (size & 1);
    }
    refuse(path, format ? "holds no samples" : "has no format");
}

WavReader::~WavReader() {
    if (file_) file_->close();
}

void WavReader::refill() {
    const size_t left = bufferEnd_ - bufferAt_;
    std::memmove(buffer_.get(), buffer_.get() + bufferAt_, left);
    const size_t want = size_t(std::min<int64_t>(int64_t(bufferSize_ - left), dataBytes_ - position_));
    size_t got = 0;
    if (const int32_t e = file_->readAt(dataStart_ + position_, std::span(buffer_.get() + left, want), got))
        fileError(e, path_, "offline.WavReader");
    if (got != want) fileError(runtime::err::kDeviceIo, path_, "offline.WavReader");
    position_ += int64_t(got);
    bufferAt_ = 0;
    bufferEnd_ = left + got;
}

bool WavReader::next(std::span<int16_t> a, std::span<int16_t> b) {
    const size_t frameBytes = 2 * size_t(channels_), blockBytes = frameBytes * kN;
    if (bufferEnd_ - bufferAt_ < blockBytes) {
        if (int64_t(bufferEnd_ - bufferAt_) + (dataBytes_ - position_) < int64_t(blockBytes)) return false;
        refill();
    }
    const uint8_t* p = buffer_.get() + bufferAt_;
    for (int32_t k = 0; k < kN; ++k, p += frameBytes) {
        a[size_t(k)] = int16_t(le16(p));
        b[size_t(k)] = channels_ == 2 ? int16_t(le16(p + 2)) : int16_t{0};
    }
    bufferAt_ += blockBytes;
    return true;
}

void writeWav(const std::string& path, const Wav& wav) {
    files::PosixFileSystem fileSystem;
    WavWriter writer(fileSystem, path, wav.channels);
    writer.write(wav.samples);
    writer.finish();
}

Result run(const Options& o) {
    files::PosixFileSystem fileSystem;
    return run(o, fileSystem);
}

Result run(const Options& o, files::FileSystem& fileSystem) {
    Result result;
    const Clock::time_point start = Clock::now();
    WavReader in(fileSystem, o.input);
    WavWriter out(fileSystem, o.output, 1);

    // The rig holds the engine as its output, so the two are kept together.
    struct Receiver {
        Collector engine;
        ReceiverRig rig;
        explicit Receiver(const Options& o)
            : rig(o.nerixLibrary, o.nspLibrary, {nullptr, nullptr, &engine, nullptr, nullptr}) {}
    };
    auto receiver = std::make_unique<Receiver>(o);
    Collector& engine = receiver->engine;
    ReceiverRig& rig = receiver->rig;
    ReceiverState& state = rig.state;
    Nerix::BlockDrivers& drivers = rig.path->Drivers();

    // With no VFO the LO side is the user's choice, as under a receiver model's own VFO control.
    state.IQMode = in.channels() == 2;
    state.VFOControl = true;
    state.IQSelectUpper = o.upper;
    state.HiSideLoActive = o.hiSideLo;
    state.FilterLo = o.filterLo;
    state.FilterHi = o.filterHi;
    state.AGCOn = o.agc;
    state.NBOn = o.noiseReduction;
    state.FlipIQ = o.flip;
    state.PhaseBitCorrection = o.phaseBit;
    state.SoundcardCorrectionAmpBalance = o.balance;
    rig.SetUp(o.mode, o.bfo);
    if (o.notch) {
        rig.bank->NotchFilter.FLow = 900;
        rig.bank->NotchFilter.FHigh = 1100;
        rig.bank->NotchFilter.MakeFilter();
        rig.bank->NotchFilter.Active = true;
        state.NotchType = NotchType::AF;
    }
    if (!o.wisdom.empty()) {
        Nerix::DllPlanLibrary library(rig.nerix);
        Nerix::FFTWisdom wisdom(library, o.wisdom);
        wisdom.load();
        wisdom.measure();
        wisdom.save();
    }
    result.setupSeconds = since(start);

    std::vector<int16_t> a(kN), b(kN);
    for (;;) {
        Clock::time_point t = Clock::now();
        const bool more = in.next(a, b);
        result.fileSeconds += since(t);
        if (!more) break;
        t = Clock::now();
        drivers.DataReady(a, b, kN);
        result.blockTimes.add(since(t));
        ++result.blocks;
        if (engine.played) {
            t = Clock::now();
            out.write(engine.block);
            engine.played = false;
            result.fileSeconds += since(t);
        }
    }
    const Clock::time_point t = Clock::now();
    out.finish();
    result.fileSeconds += since(t);
    if (o.keepReceiver) result.receiver = std::move(receiver);
    return result;
}

} // namespace offline
