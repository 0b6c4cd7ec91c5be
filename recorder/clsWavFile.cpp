// The recorder and player engine: recording halves, the header and trailer, playback with zero-stuffing.
#include "recorder/clsWavFile.h"

#include "frame/DebugTools.h"
#include "frame/ScopedFlag.h"
#include "platform/runtime/Convert.h"
#include "platform/runtime/Hooks.h"
#include "platform/runtime/RuntimeError.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <ctime>
#include <filesystem>

namespace recorder {

namespace {

constexpr const char* kSource = "clsWavFile";
// A half larger than this would only waste memory: 2^20 samples are 22 s at 48 kHz.
constexpr int32_t kMaxRecBlockSize = 1 << 20;

void putLE(std::vector<uint8_t>& b, std::size_t at, uint32_t v, int width) {
    for (int i = 0; i < width; ++i)
        b[at + std::size_t(i)] = uint8_t(v >> (8 * i));
}

int32_t getLE32(std::span<const uint8_t> b, std::size_t at) {
    return int32_t(uint32_t(b[at]) | uint32_t(b[at + 1]) << 8 | uint32_t(b[at + 2]) << 16 |
                   uint32_t(b[at + 3]) << 24);
}

int32_t getLE16(std::span<const uint8_t> b, std::size_t at) {
    return int32_t(uint32_t(b[at]) | uint32_t(b[at + 1]) << 8);
}

bool isValidDecimator(int64_t d) {
    return d == 1 || d == 2 || d == 4 || d == 8 || d == 16;
}

int32_t clamp32(int64_t v) {
    return int32_t(std::clamp<int64_t>(v, INT32_MIN, INT32_MAX));
}

std::string folderOf(const std::string& path) {
    const auto slash = path.find_last_of('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash);
}

} // namespace

clsWavFile::clsWavFile(profile::SettingsStore& settings, files::FileSystem& fileSystem,
                       std::string programFolder, WavFilePorts ports)
    : settings_(settings), fs_(fileSystem), programFolder_(std::move(programFolder)), ports_(ports) {
    TempFileName = programFolder_ + "/~NerixWAV.TMP";
    LastDirectory = programFolder_;
}

clsWavFile::~clsWavFile() {
    runtime::resumeNext([&] { CloseRecording(); });
    runtime::resumeNext([&] {
        const std::string app(runtime::kProductName);
        settings_.SaveSetting(app, name_, "RecBlockSizeInSamples", runtime::CStr(int64_t(recBlockSize_)));
        settings_.SaveSetting(app, name_, "Decimator", runtime::CStr(int64_t(decimator_)));
        settings_.SaveSetting(app, name_, "WavSamplingRate", runtime::CStr(int64_t(wavSamplingRate_)));
        settings_.SaveSetting(app, name_, "SamplingRate", runtime::CStr(int64_t(samplingRate_)));
        settings_.SaveSetting(app, name_, "BitsPerSample", runtime::CStr(int64_t(bitsPerSample_)));
        settings_.SaveSetting(app, name_, "LastDirectory", LastDirectory);
        settings_.SaveSetting(app, name_, "RecordFileName", recordFileName_);
        settings_.commit();
    });
}

void clsWavFile::setPorts(const WavFilePorts& ports) {
    ports_ = ports;
}

void clsWavFile::raiseFault(RecorderFault fault, int32_t errorNumber) {
    if (ports_.listener) ports_.listener->RecordingFault(fault, errorNumber);
}

// ---- properties ----

void clsWavFile::setPlayerMode(int32_t v) {
    prevPlayerMode_ = playerMode_;
    playerMode_ = v;
}

// While a recording is open and not being played back, the counters are the recording's own.
bool clsWavFile::recordingSideShown() const {
    const bool playingBack = playerMode_ == 5 || (playerMode_ == 3 && prevPlayerMode_ == 5);
    return rec_.open && !playingBack;
}

int32_t clsWavFile::NumSamples() const {
    return clamp32(recordingSideShown() ? rec_.numSamples : play_.numSamples);
}

int32_t clsWavFile::FileSize() const {
    return clamp32(recordingSideShown() ? kHeaderLength + rec_.dataBytes : play_.fileSize);
}

int32_t clsWavFile::SamplesQueued() const {
    return clamp32(rec_.samplesQueued);
}
int32_t clsWavFile::TotSamplesOut() const {
    return clamp32(rec_.numSamples);
}

void clsWavFile::setDecimator(int32_t n) {
    if (n == 0) runtime::raise(runtime::err::kDivisionByZero, kSource);
    if (!isValidDecimator(n)) runtime::raise(runtime::err::kInvalidCall, kSource);
    decimator_ = n;
    wavSamplingRate_ = samplingRate_ / n;
}

void clsWavFile::setRecBlockSizeInSamples(int32_t v) {
    if (v <= 0 || v % 2048 != 0 || v > kMaxRecBlockSize) runtime::raise(runtime::err::kInvalidCall, kSource);
    recBlockSize_ = v;
}

// Every block of 2048 must fall inside one half at every upsampling factor.
void clsWavFile::setPlayBlockSizeInSamples(int32_t v) {
    if (v <= 0 || v % 2048 != 0 || v > kMaxRecBlockSize) runtime::raise(runtime::err::kInvalidCall, kSource);
    playBlockSize_ = v;
}

// The capture runs at 48000 Hz only; the decimators and the player's factors are built on it.
void clsWavFile::setSamplingRate(int32_t v) {
    if (v != 48000) runtime::raise(runtime::err::kInvalidCall, kSource);
    samplingRate_ = v;
}

void clsWavFile::setBitsPerSample(int32_t v) {
    if (v != 8 && v != 16) runtime::raise(runtime::err::kInvalidCall, kSource);
    bitsPerSample_ = v;
}

void clsWavFile::setNumChannels(int32_t v) {
    if (v != 1) runtime::raise(runtime::err::kInvalidCall, kSource);
    numChannels_ = v;
}

double clsWavFile::now() const {
    if (ports_.clock) return ports_.clock->Now();
    const std::time_t t = std::time(nullptr);
    std::tm local{};
    ::localtime_r(&t, &local);
    return dateFromParts(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour, local.tm_min,
                         local.tm_sec);
}

// ---- header and log ----

std::vector<uint8_t> clsWavFile::BuildWavHeader() {
    // A recording keeps the rate and width it began with, whatever the panel shows later.
    const bool recording = rec_.R > 0;
    const int32_t bps = recording ? rec_.bytesPerSample : bitsPerSample_ / 8;
    const int32_t rate = recording ? samplingRate_ / rec_.D : wavSamplingRate_;
    const int64_t dataBytes = rec_.dataBytes;
    std::vector<uint8_t> h(kHeaderLength, 0);
    std::memcpy(&h[0], "RIFF", 4);
    putLE(h, 4, uint32_t(36 + dataBytes), 4);
    std::memcpy(&h[8], "WAVE", 4);
    std::memcpy(&h[12], "fmt ", 4);
    putLE(h, 16, 16, 4);
    putLE(h, 20, 1, 2);
    putLE(h, 22, uint32_t(numChannels_), 2);
    putLE(h, 24, uint32_t(rate), 4);
    putLE(h, 28, uint32_t(rate * numChannels_ * bps), 4);
    putLE(h, 32, uint32_t(numChannels_ * bps), 2);
    putLE(h, 34, uint32_t(bps * 8), 2);
    std::memcpy(&h[36], "data", 4);
    putLE(h, 40, uint32_t(dataBytes), 4);
    return h;
}

int32_t clsWavFile::NewLogRecord(const int32_t& TunedFrequency) {
    const int64_t move = int64_t(TunedFrequency) - LastTunedFrequency;
    if (std::llabs(move) <= 999 || !isRecording_) return 0;
    // LogCount is 16-bit; past its range the recording goes on without new tracks.
    if (logCount_ >= kMaxLogEntries) return 0;
    LogRecord& r = logRecords_[std::size_t(logCount_)];
    r.TunedFrequency = TunedFrequency;
    r.Date = now();
    const double start =
        std::floor(double(rec_.samplesQueued) / rec_.D * rec_.bytesPerSample + kHeaderLength + 0.5);
    r.Start = clamp32(int64_t(start));
    if (logCount_ > 0) logRecords_[std::size_t(logCount_ - 1)].End = r.Start;
    LogTunedFrequency = TunedFrequency;
    ++logCount_;
    LastTunedFrequency = TunedFrequency;
    logRecords_.emplace_back();
    return 0;
}

int16_t clsWavFile::UpdateWavHeader() {
    if (!diskFile_) return 0;
    const int64_t dataEnd = kHeaderLength + rec_.dataBytes;
    // Entries made after the last sample that reached the file point no further than its end.
    for (int32_t i = 0; i < logCount_; ++i) {
        LogRecord& r = logRecords_[std::size_t(i)];
        r.Start = clamp32(std::clamp<int64_t>(r.Start, kHeaderLength, dataEnd));
        r.End = clamp32(std::clamp<int64_t>(r.End, r.Start, dataEnd));
    }
    if (logCount_ > 0) logRecords_[std::size_t(logCount_ - 1)].End = clamp32(dataEnd);
    const std::vector<uint8_t> text = BuildLogText(logRecords_);
    const std::vector<uint8_t> header = BuildWavHeader();
    std::size_t written = 0;
    int32_t rc = diskFile_->writeAt(0, header, written);
    if (rc != 0) {
        closeHandle();
        return int16_t(rc);
    }
    // The trailer's place comes from the data written, not from the file's length.
    diskFile_->truncate(dataEnd);
    std::vector<uint8_t> trailer(kTrailerMarker, kTrailerMarker + kMarkerLength);
    trailer.insert(trailer.end(), text.begin(), text.end());
    rc = diskFile_->writeAt(dataEnd, trailer, written);
    if (rc == 0) rc = diskFile_->flush();
    if (rc != 0) {
        diskFile_->truncate(dataEnd);
        raiseFault(RecorderFault::TrailerNotWritten, rc);
    }
    return 0;
}

void clsWavFile::ParseWavHeader(std::span<const uint8_t> header) {
    const int32_t rate = getLE32(header, 24);
    headerBits_ = getLE16(header, 34);
    headerDataSize_ = getLE32(header, 40);
    wavSamplingRate_ = rate;
    if (rate <= 0 || rate > samplingRate_) runtime::raise(runtime::err::kDivisionByZero, kSource);
    const int32_t f = samplingRate_ / rate;
    // Only whole factors whose blocks tile a half can be zero-stuffed.
    if (!isValidDecimator(f)) runtime::raise(kInvalidFileFormat, kSource, "Invalid file format");
    play_.F = f;
    play_.bytesPerSample = headerBits_ == 8 ? 1 : 2;
    const int64_t dataBytes = headerDataSize_;
    trailerPosition_ = headerDataSize_ >= 0 ? dataBytes + 45 : 0;
    if (trailerPosition_ >= play_.fileSize) trailerPosition_ = 0;
    // A data size that the file holds ends the samples; otherwise they run to the end of the file.
    play_.dataEnd = (headerDataSize_ > 0 && kHeaderLength + dataBytes <= play_.fileSize)
                        ? kHeaderLength + dataBytes
                        : play_.fileSize;
}

void clsWavFile::ReadTrailer() {
    logRecords_.assign(1, LogRecord{});
    numberOfTracks_ = 0;
    auto markerAt = [&](int64_t position) {
        if (position <= 0 || position + kMarkerLength - 1 > play_.fileSize) return false;
        uint8_t m[kMarkerLength];
        std::size_t got = 0;
        return diskFile_->readAt(position - 1, m, got) == 0 && got == std::size_t(kMarkerLength) &&
               std::memcmp(m, kTrailerMarker, kMarkerLength) == 0;
    };
    if (trailerPosition_ != 0 && !markerAt(trailerPosition_)) {
        trailerPosition_ = 0;
        // Older recordings hold 16-bit samples under an 8-bit header; where the marker lies tells.
        const int64_t wide = int64_t(headerDataSize_) * 2 + 45;
        if (headerBits_ == 8 && headerDataSize_ > 0 && markerAt(wide)) {
            play_.bytesPerSample = 2;
            trailerPosition_ = wide;
        }
    }
    if (trailerPosition_ != 0) {
        play_.dataEnd = trailerPosition_ - 1;
        const int64_t textStart = trailerPosition_ - 1 + kMarkerLength;
        const int64_t textBytes = std::min<int64_t>(play_.fileSize - textStart, kMaxTrailerBytes);
        std::vector<uint8_t> text(std::size_t(std::max<int64_t>(0, textBytes)));
        std::size_t got = 0;
        if (!text.empty() && diskFile_->readAt(textStart, text, got) == 0) {
            text.resize(got);
            numberOfTracks_ = ParseLogText(logRecords_, text);
        }
    }
    // Samples are whole: the data ends on a sample boundary.
    play_.dataEnd =
        kHeaderLength +
        (std::max<int64_t>(0, play_.dataEnd - kHeaderLength) / play_.bytesPerSample) * play_.bytesPerSample;
    for (LogRecord& r : logRecords_) {
        if (r.TunedFrequency == 0 && r.Start == 0 && r.End == 0) continue;
        auto clampOffset = [&](int32_t v) {
            const int64_t c = std::clamp<int64_t>(v, kHeaderLength, play_.dataEnd);
            return clamp32(kHeaderLength + (c - kHeaderLength) / play_.bytesPerSample * play_.bytesPerSample);
        };
        r.Start = clampOffset(r.Start);
        r.End = clampOffset(r.End);
    }
}

// ---- recording ----

int32_t clsWavFile::OpenRecording() {
    if (isRecording_) return status::kRecordingOpen;
    // A recording stopped by a fault is finished before it is moved aside.
    if (rec_.open) CloseRecording();
    // A recording that cannot be moved aside is not deleted by a new one.
    if (const int32_t rc = recoverUnsavedRecording(); rc != 0) return rc;
    CloseFile();
    rec_ = Recording{};
    rec_.R = recBlockSize_;
    rec_.D = decimator_;
    rec_.bytesPerSample = bitsPerSample_ / 8;
    rec_.decimatedHalfSize = rec_.R / rec_.D;
    recordBuffer_.assign(std::size_t(2 * rec_.R + 1), 0);
    halfBuffer_.assign(std::size_t(rec_.R), 0);
    writeBytes_.assign(std::size_t(rec_.decimatedHalfSize) * std::size_t(rec_.bytesPerSample), 0);
    logCount_ = 0;
    logRecords_.assign(1, LogRecord{});
    LastTunedFrequency = 0;
    if (ports_.listener) ports_.listener->SamplesPlayed(0, 0);
    const std::vector<uint8_t> header = BuildWavHeader();
    if (fs_.exists(TempFileName)) {
        const int32_t rc = fs_.remove(TempFileName);
        if (rc != 0) return rc;
    }
    int32_t rc = fs_.create(TempFileName, diskFile_);
    if (rc != 0) {
        diskFile_.reset();
        return rc;
    }
    std::size_t written = 0;
    rc = diskFile_->writeAt(0, header, written);
    if (rc != 0) {
        closeHandle();
        return rc;
    }
    rec_.open = true;
    setUnsavedMarker(TempFileName);
    isRecording_ = true;
    isClosed_ = false;
    isPaused_ = false;
    statusOfMedia_ = 3;
    playerMode_ = 1;
    SaveFileName.clear();
    const int32_t tuned = ports_.vfo ? ports_.vfo->TunedFrequency() : 0;
    NewLogRecord(tuned);
    return 0;
}

int16_t clsWavFile::AddSamples(std::span<const int16_t> Samples, int32_t NoSamples) {
    if (!isRecording_) return int16_t(status::kAddNotRecording);
    if (playerMode_ == 3 || playerMode_ == 4) return int16_t(status::kWrongMode);
    const int32_t n = NoSamples;
    if (n <= 0) return 0;
    if (std::size_t(n) > Samples.size() || n > rec_.R - rec_.fillPosition)
        runtime::raise(runtime::err::kSubscriptOutOfRange, kSource);
    // Both halves still wait for the disk: the block is dropped, counted and reported once per run.
    if (rec_.pending == 2) {
        rec_.dropped += n;
        if (!rec_.dropping) {
            rec_.dropping = true;
            raiseFault(RecorderFault::SamplesDropped, 0);
        }
        return 0;
    }
    rec_.dropping = false;
    DebugTools::CopyWords(Samples.data(),
                          recordBuffer_.data() + std::size_t(rec_.R) * std::size_t(rec_.fillHalf) +
                              std::size_t(rec_.fillPosition),
                          n);
    rec_.samplesQueued += n;
    rec_.fillPosition += n;
    if (rec_.samplesQueued % (16 * int64_t(n)) != 0 && ports_.listener)
        ports_.listener->SamplesPlayed(0, clamp32(rec_.samplesQueued / rec_.D));
    if (rec_.fillPosition >= rec_.R) {
        rec_.fillPosition = 0;
        rec_.fillHalf = 1 - rec_.fillHalf;
        ++rec_.pending;
        if (ports_.listener) ports_.listener->WriteNextBlockToDisk();
    }
    return 0;
}

int32_t clsWavFile::writeSizes() {
    std::vector<uint8_t> h = BuildWavHeader();
    std::size_t written = 0;
    int32_t rc = diskFile_->writeAt(4, std::span<const uint8_t>(h).subspan(4, 4), written);
    if (rc == 0) rc = diskFile_->writeAt(40, std::span<const uint8_t>(h).subspan(40, 4), written);
    return rc;
}

void clsWavFile::stopOnFault(RecorderFault fault, int32_t errorNumber, bool cutBack) {
    rec_.failed = true;
    rec_.pending = 0;
    rec_.fillPosition = 0;
    isRecording_ = false;
    isPaused_ = false;
    playerMode_ = 4;
    if (cutBack && diskFile_) {
        diskFile_->truncate(kHeaderLength + rec_.dataBytes);
        writeSizes();
    }
    raiseFault(fault, errorNumber);
}

// Writes `samples` captured samples of one half, decimated, after the data already in the file.
int32_t clsWavFile::writeHalf(int32_t half, int32_t samples) {
    const int32_t count = samples / rec_.D;
    const int64_t bytes = int64_t(count) * rec_.bytesPerSample;
    if (kHeaderLength + rec_.dataBytes + bytes + kMaxTrailerBytes > ports_.maxFileBytes) {
        stopOnFault(RecorderFault::FileLimit, 0, false);
        return 0;
    }
    DebugTools::CopyWords(recordBuffer_.data() + std::size_t(half) * std::size_t(rec_.R), halfBuffer_.data(),
                          samples);
    for (int32_t k = 0; k < count; ++k) {
        const int16_t s = halfBuffer_[std::size_t(k) * std::size_t(rec_.D)];
        if (rec_.bytesPerSample == 1) {
            writeBytes_[std::size_t(k)] = uint8_t((s >> 8) + 128);
        } else {
            writeBytes_[2 * std::size_t(k)] = uint8_t(uint16_t(s));
            writeBytes_[2 * std::size_t(k) + 1] = uint8_t(uint16_t(s) >> 8);
        }
    }
    std::size_t written = 0;
    int32_t rc = diskFile_->writeAt(kHeaderLength + rec_.dataBytes,
                                    std::span<const uint8_t>(writeBytes_).first(std::size_t(bytes)), written);
    if (rc == 0 && written != std::size_t(bytes)) rc = files::err::kDiskFull;
    if (rc == 0) {
        rec_.dataBytes += bytes;
        rec_.numSamples += count;
        // A crash leaves a file whose header counts every half written.
        rc = writeSizes();
    }
    if (rc != 0) stopOnFault(RecorderFault::WriteFailed, rc, true);
    return rc;
}

int32_t clsWavFile::writePending() {
    while (rec_.pending > 0 && !rec_.failed) {
        const int32_t oldest = rec_.pending == 2 ? rec_.fillHalf : 1 - rec_.fillHalf;
        --rec_.pending;
        const int32_t rc = writeHalf(oldest, rec_.R);
        if (rc != 0) return rc;
    }
    return 0;
}

int32_t clsWavFile::WriteToDisk() {
    if (!isRecording_) return status::kNotRecording;
    if (isPaused_) return status::kPaused;
    if (inWrite_) return status::kWriteBusy;
    const ScopedFlag guard(inWrite_);
    if (rec_.pending == 0) return status::kNoFullHalf;
    return writePending();
}

// Everything captured reaches the file: halves still waiting, then the half being filled.
int32_t clsWavFile::flushRecording() {
    if (!rec_.open || rec_.failed || !diskFile_) return 0;
    int32_t rc = writePending();
    if (rc == 0 && !rec_.failed && rec_.fillPosition > 0) {
        const int32_t samples = rec_.fillPosition;
        rec_.fillPosition = 0;
        rc = writeHalf(rec_.fillHalf, samples);
    }
    return rc;
}

void clsWavFile::StopRecording() {
    if (inStopRecording_) return;
    const ScopedFlag guard(inStopRecording_);
    setPlayerMode(4);
    if (isRecording_) {
        isPaused_ = false;
        isRecording_ = false;
    }
}

int32_t clsWavFile::closeHandle() {
    int32_t rc = 0;
    if (diskFile_) rc = diskFile_->close();
    diskFile_.reset();
    rec_.open = false;
    return rc;
}

// The player's half size goes with its buffers: a block asked for after a close reads nothing.
void clsWavFile::resetBuffers() {
    playBuffer_.assign(1, 0);
    readBuffer_.assign(1, 0);
    play_.H = 0;
    play_.halfOffset = 0;
}

int32_t clsWavFile::CloseRecording() {
    if (!diskFile_) return status::kNothingOpen;
    int32_t headerError = 0;
    if (rec_.open) {
        flushRecording();
        headerError = UpdateWavHeader();
    }
    // A failed final header is reported like a failed close: the file is closed either way.
    int32_t rc = closeHandle();
    if (rc == 0) rc = headerError;
    logRecords_.assign(1, LogRecord{});
    rec_.samplesQueued = 0;
    rec_.numSamples = 0;
    play_.numSamples = 0;
    play_.fileSize = 0;
    isClosed_ = true;
    isRecording_ = false;
    isPaused_ = false;
    return rc;
}

int32_t clsWavFile::CloseFile() {
    if (!diskFile_) {
        resetBuffers();
        setPlayerMode(0);
        isClosed_ = true;
        isRecording_ = isPaused_ = isPlaying_ = false;
        return 0;
    }
    flushRecording();
    const int32_t rc = closeHandle();
    if (rc != 0) {
        setPlayerMode(0);
        return rc;
    }
    recordFileName_.clear();
    play_.numSamples = 0;
    resetBuffers();
    playerMode_ = 0;
    isClosed_ = true;
    isRecording_ = isPaused_ = isPlaying_ = false;
    return 0;
}

// ---- unsaved recordings ----

void clsWavFile::setUnsavedMarker(const std::string& path) {
    settings_.SaveSetting(runtime::kProductName, name_, kUnsavedRecordingKey, path);
    settings_.commit();
}

void clsWavFile::DiscardRecording() {
    setUnsavedMarker("");
}

int32_t clsWavFile::recoverUnsavedRecording() {
    const std::string marked = settings_.GetSetting(runtime::kProductName, name_, kUnsavedRecordingKey, "");
    if (marked.empty()) return 0;
    if (!fs_.exists(marked)) {
        setUnsavedMarker("");
        return 0;
    }
    std::string stamp = formatLogDate(now());
    std::replace(stamp.begin(), stamp.end(), ':', '-');
    std::replace(stamp.begin(), stamp.end(), ' ', '_');
    const std::string folder = folderOf(marked);
    const std::string base = (folder.empty() ? std::string() : folder + "/") + "recovered_" + stamp;
    std::string target = base + ".wav";
    for (int i = 2; fs_.exists(target); ++i)
        target = base + "_" + std::to_string(i) + ".wav";
    const int32_t rc = fs_.rename(marked, target);
    if (rc == 0) {
        RecoveredFileName = target;
        setUnsavedMarker("");
    }
    return rc;
}

// ---- playback ----

void clsWavFile::sizePlayBuffers() {
    play_.H = playBlockSize_ / play_.F;
    playBuffer_.assign(std::size_t(2 * play_.H + 1), 0);
    readBuffer_.assign(std::size_t(play_.H), 0);
    readBytes_.assign(std::size_t(play_.H) * 2, 0);
}

void clsWavFile::selectRateOption() {
    if (!ports_.rateChoice) return;
    int32_t index = -1;
    for (int32_t i = 0; i < 5; ++i)
        if (wavSamplingRate_ == 48000 >> i) index = i;
    ports_.rateChoice->SelectRecordSampleRate(index);
}

int32_t clsWavFile::GetNextSamples(std::span<int16_t> OutSamples, int16_t NoSamples) {
    if (inGetNext_) return 0;
    const ScopedFlag guard(inGetNext_);
    const int32_t n =
        std::clamp<int32_t>(NoSamples, 0, int32_t(std::min<std::size_t>(OutSamples.size(), INT16_MAX)));
    std::fill_n(OutSamples.begin(), n, int16_t(0));
    if ((playerMode_ != 2 && playerMode_ != 5) || PlayEnd) return status::kWrongMode;
    if (play_.seekPosition != 0) {
        play_.filePosition = play_.seekPosition;
        play_.fillHalf = play_.fillPosition = play_.halfOffset = play_.playingHalf = 0;
        play_.endOfData = false;
        ReadFromDisk();
        play_.seekPosition = 0;
        if (PlayEnd) return status::kWrongMode;
    }
    const int32_t F = play_.F;
    const int32_t H = play_.H;
    const int32_t m = std::min(n / F, H - play_.halfOffset);
    if (m <= 0) return 0;
    play_.numSamples += m;
    const int16_t* src =
        playBuffer_.data() + std::size_t(H) * std::size_t(play_.playingHalf) + std::size_t(play_.halfOffset);
    for (int32_t k = 0; k < m; ++k)
        OutSamples[std::size_t(k) * std::size_t(F)] = src[k];
    if (play_.numSamples % (16 * int64_t(m)) != 0 && ports_.listener)
        ports_.listener->SamplesPlayed(0, clamp32(play_.numSamples));
    play_.halfOffset += m;
    bool switched = false;
    if (play_.halfOffset >= H) {
        if (play_.endOfData) PlayEnd = true;
        play_.halfOffset = 0;
        play_.playingHalf = 1 - play_.playingHalf;
        switched = true;
        if (ports_.listener) ports_.listener->DiskRead(clamp32(play_.filePosition));
    }
    if (PlayEnd) {
        play_.filePosition = 45;
        playerMode_ = 4;
        play_.halfOffset = 0;
        play_.playingHalf = 0;
        if (ports_.listener) ports_.listener->PlayEnd();
        if (PlayEnd) return 0;
    }
    if (switched && ports_.listener) ports_.listener->ReadNextBlockFromDisk();
    return 0;
}

int32_t clsWavFile::ReadFromDisk() {
    if (inRead_) return 0;
    const ScopedFlag guard(inRead_);
    if (!diskFile_ || play_.H <= 0) return 0;
    const bool ownRecording = rec_.open;
    if (ownRecording) play_.dataEnd = kHeaderLength + rec_.dataBytes;
    const int32_t H = play_.H;
    const int32_t bps = play_.bytesPerSample;
    const int64_t wanted = int64_t(H) * bps;
    const int64_t available = std::clamp<int64_t>(play_.dataEnd - (play_.filePosition - 1), 0, wanted);
    std::size_t got = 0;
    const int32_t rc =
        available > 0 ? diskFile_->readAt(play_.filePosition - 1,
                                          std::span<uint8_t>(readBytes_).first(std::size_t(available)), got)
                      : 0;
    if (rc != 0) {
        play_.endOfData = true;
        PlayEnd = true;
        ReadNextBufferFromDisk = false;
        // A failed read of the open recording ends its playback, never the recording.
        if (!ownRecording) closeHandle();
        playerMode_ = 4;
        return 0;
    }
    // Past the data (or a file cut short) is silence, never trailer bytes.
    const std::size_t whole = got / std::size_t(bps);
    for (std::size_t k = 0; k < std::size_t(H); ++k) {
        int16_t s = 0;
        if (k < whole)
            s = bps == 1 ? int16_t((int32_t(readBytes_[k]) - 128) * 256)
                         : int16_t(uint16_t(readBytes_[2 * k] | uint16_t(readBytes_[2 * k + 1]) << 8));
        readBuffer_[k] = s;
    }
    DebugTools::CopyWords(readBuffer_.data(), playBuffer_.data() + play_.fillPosition, H);
    play_.filePosition += wanted;
    if (play_.filePosition - 1 >= play_.dataEnd) {
        play_.endOfData = true;
        play_.filePosition = 45;
        play_.fillHalf = 0;
        play_.fillPosition = 0;
    } else {
        play_.fillHalf = 1 - play_.fillHalf;
        play_.fillPosition = play_.fillHalf * H;
        ReadNextBufferFromDisk = false;
    }
    return 0;
}

int32_t clsWavFile::Play() {
    if (playerMode_ == 0 || !diskFile_ || rec_.open) return 0;
    playerMode_ = 2;
    play_.endOfData = false;
    PlayEnd = false;
    ReadFromDisk();
    return FileSize();
}

int32_t clsWavFile::RecordPlayback() {
    if (isPlaying_ || !rec_.open || !diskFile_) return 0;
    isPaused_ = false;
    play_.numSamples = 0;
    play_.endOfData = false;
    PlayEnd = false;
    int64_t length = 0;
    diskFile_->size(length);
    play_.fileSize = length;
    play_.F = samplingRate_ / (samplingRate_ / rec_.D);
    play_.bytesPerSample = rec_.bytesPerSample;
    play_.filePosition = 45;
    wavSamplingRate_ = samplingRate_ / rec_.D;
    selectRateOption();
    sizePlayBuffers();
    play_.fillHalf = play_.fillPosition = play_.halfOffset = play_.playingHalf = 0;
    playerMode_ = 5;
    ReadFromDisk();
    return FileSize();
}

int32_t clsWavFile::PlayRecording() {
    if (!rec_.open) return 0;
    playerMode_ = 5;
    play_.endOfData = false;
    PlayEnd = false;
    ReadFromDisk();
    return FileSize();
}

// Shared by OpenFile and OpenPlayback: open FileName, read header and trailer, size the player.
int32_t clsWavFile::openForPlayback(bool startReading) {
    play_ = Playback{};
    rec_ = Recording{};
    PlayEnd = false;
    if (!diskFile_) {
        const int32_t rc = fs_.openRead(fileName_, diskFile_);
        if (rc != 0) {
            diskFile_.reset();
            isRecording_ = false;
            return rc;
        }
    }
    try {
        int64_t length = 0;
        int32_t rc = diskFile_->size(length);
        if (rc == 0 && length > INT32_MAX) rc = kInvalidFileFormat;
        if (rc != 0) runtime::raise(rc, kSource);
        play_.fileSize = length;
        std::vector<uint8_t> header(kHeaderLength, 0);
        std::size_t got = 0;
        diskFile_->readAt(0, header, got);
        play_.filePosition = 45;
        ParseWavHeader(header);
        sizePlayBuffers();
        ReadTrailer();
    } catch (const runtime::RuntimeError&) {
        // A file the player refuses leaves nothing open.
        CloseFile();
        throw;
    }
    play_.filePosition = 45;
    logCount_ = 0;
    if (ports_.listener) ports_.listener->CatalogueLoaded(numberOfTracks_);
    play_.fillHalf = play_.fillPosition = play_.halfOffset = play_.playingHalf = 0;
    if (startReading) ReadFromDisk();
    return FileSize();
}

int32_t clsWavFile::OpenPlayback() {
    // The open recording is played back through RecordPlayback, never reopened under it.
    if (isPlaying_ || rec_.open) return 0;
    isPaused_ = false;
    const int32_t rc = openForPlayback(true);
    if (!diskFile_) return rc;
    selectRateOption();
    isPlaying_ = true;
    return rc;
}

int32_t clsWavFile::OpenFile() {
    CloseFile();
    const int32_t result = openForPlayback(false);
    if (!diskFile_) return result;
    playerMode_ = 4;
    statusOfMedia_ = 1;
    return result;
}

void clsWavFile::StopPlayer() {
    playerMode_ = 4;
    isPaused_ = false;
}

void clsWavFile::Pause() {
    if (playerMode_ == 3) {
        isPaused_ = false;
        playerMode_ = prevPlayerMode_;
        // A half that filled before the pause goes to the disk now.
        if (playerMode_ == 1 && rec_.pending > 0 && ports_.listener) ports_.listener->WriteNextBlockToDisk();
    } else {
        prevPlayerMode_ = playerMode_;
        playerMode_ = 3;
        isPaused_ = true;
    }
}

void clsWavFile::StopPlayBack() {
    if (inStopPlayBack_) return;
    const ScopedFlag guard(inStopPlayBack_);
    setPlayerMode(4);
    if (isPlaying_) {
        isPaused_ = isRecording_ = isPlaying_ = false;
        playerMode_ = 4;
    }
}

void clsWavFile::PlayFrom(int32_t Index) {
    if (playerMode_ != 2 || Index < 0 || std::size_t(Index) >= logRecords_.size()) return;
    const int64_t start = std::max<int64_t>(logRecords_[std::size_t(Index)].Start, kHeaderLength);
    play_.seekPosition = start + 1;
    play_.numSamples = (start - kHeaderLength) / play_.bytesPerSample;
}

int32_t clsWavFile::ClosePlayback() {
    if (!isPlaying_) return status::kNothingOpen;
    const int32_t rc = closeHandle();
    if (rc != 0) return rc;
    resetBuffers();
    isClosed_ = true;
    isRecording_ = isPaused_ = isPlaying_ = false;
    return 0;
}

// ---- media and settings ----

std::string clsWavFile::LoadMedia() {
    if (!ports_.dialogs) return {};
    FileDialogRequest request;
    request.DialogTitle = "Select Filename";
    request.RestoreCurDir = true;
    request.ExistFlags = 2048;
    request.FileName = "*.wav";
    request.Extension = "wav";
    request.Filter = "Sound Files (*.wav)|*.wav";
    request.ReadOnlyIsVisible = false;
    const std::optional<std::string> chosen = ports_.dialogs->ShowOpen(request);
    if (!chosen || chosen->empty()) return {};
    statusOfMedia_ = 1;
    setPlayerMode(4);
    const auto slash = chosen->find_last_of('/');
    fileShortName_ = slash == std::string::npos ? *chosen : chosen->substr(slash + 1);
    fileName_ = *chosen;
    return fileName_;
}

void clsWavFile::Save() {
    if (inSave_) return;
    const ScopedFlag guard(inSave_);
    if (LastDirectory.empty()) LastDirectory = programFolder_;
    if (statusOfMedia_ != 3) return;
    // A recording already closed (a cancelled Save) goes straight to the name.
    if (rec_.open) {
        const int32_t rc = CloseRecording();
        if (rc != 0) {
            runtime::MsgBox("Unable to close temporary file " + TempFileName +
                            "\n Please report this problem to Nerix" +
                            "\n Error Code=" + std::to_string(int16_t(rc)));
            return;
        }
    }
    isRecording_ = false;
    setPlayerMode(4);
    isPaused_ = true;
    std::string name;
    if (ports_.dialogs) {
        FileDialogRequest request;
        request.DialogTitle = "Select Filename to Save Recording";
        request.Directory = LastDirectory;
        request.FileName = "untitled.wav";
        request.Extension = "wav";
        request.Filter = "Sound Files (*.wav)|*.wav";
        request.ReadOnlyIsVisible = false;
        if (const std::optional<std::string> chosen = ports_.dialogs->ShowSave(request)) name = *chosen;
        if (!name.empty() && name.find(".wav") == std::string::npos) name += ".wav";
    }
    if (name.empty()) return;
    // The rename replaces an existing file atomically, so the old one goes only when the new one is there.
    const bool existed = fs_.exists(name);
    const int32_t rc = fs_.rename(TempFileName, name);
    if (rc != 0) {
        if (existed)
            runtime::MsgBox("Unable to overwrite " + name + "\n Try a different filename");
        else
            runtime::MsgBox("Problem creating " + name + "\nSystem Reported Error Code " +
                            std::to_string(rc) + "\n" + files::describeError(rc));
        return;
    }
    LastDirectory = folderOf(name);
    SaveFileName = name;
    statusOfMedia_ = 4;
    isPaused_ = false;
    isRecording_ = false;
    setUnsavedMarker("");
}

void clsWavFile::readSettings() {
    const std::string app(runtime::kProductName);
    // Each value is checked on its own; one that does not fit keeps the value in force.
    auto readInt = [&](const char* key, int32_t current) -> std::optional<int32_t> {
        const std::string text = settings_.GetSetting(app, name_, key, runtime::CStr(int64_t(current)));
        const std::optional<int64_t> v = runtime::parseInt(text);
        if (!v || *v < INT32_MIN || *v > INT32_MAX) return std::nullopt;
        return int32_t(*v);
    };
    auto apply = [&](const char* key, int32_t current, auto setter) {
        if (const auto v = readInt(key, current)) runtime::resumeNext([&] { setter(*v); });
    };
    apply("RecBlockSizeInSamples", recBlockSize_, [&](int32_t v) { setRecBlockSizeInSamples(v); });
    apply("SamplingRate", samplingRate_, [&](int32_t v) { setSamplingRate(v); });
    if (const auto v = readInt("WavSamplingRate", samplingRate_)) wavSamplingRate_ = *v;
    apply("BitsPerSample", bitsPerSample_, [&](int32_t v) { setBitsPerSample(v); });
    apply("NumChannels", numChannels_, [&](int32_t v) { setNumChannels(v); });
    LastDirectory = settings_.GetSetting(app, name_, "LastDirectory", LastDirectory);
    apply("Decimator", decimator_, [&](int32_t v) { setDecimator(v); });
    wavSamplingRate_ = samplingRate_ / decimator_;
}

void clsWavFile::init() {
    readSettings();
    recoverUnsavedRecording();
}

} // namespace recorder
