// The recorder and player: the object's construction, properties, settings and open file, and the WAV
// header and frequency log that recording and playback share.
#include "recorder/clsWavFile.h"

#include "platform/runtime/Convert.h"
#include "platform/runtime/Hooks.h"
#include "platform/runtime/RuntimeError.h"
#include "recorder/WavFileParts.h"

#include <algorithm>
#include <cmath>
#include <ctime>
#include <optional>

namespace recorder {

namespace {

// A half larger than this would only waste memory: 2^20 samples are 22 s at 48 kHz.
constexpr int32_t kMaxRecBlockSize = 1 << 20;

} // namespace

clsWavFile::clsWavFile(profile::SettingsStore& settings, files::FileSystem& fileSystem,
                       std::string programFolder, WavFilePorts ports)
    : settings_(settings), fs_(fileSystem), programFolder_(std::move(programFolder)), ports_(ports),
      recording_([this](RecorderFault fault, int32_t errorNumber) { recordingStopped(fault, errorNumber); }) {
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
    const bool playingBack =
        playerMode_ == PlayerMode::PlayingBack ||
        (playerMode_ == PlayerMode::Paused && prevPlayerMode_ == PlayerMode::PlayingBack);
    return recording_.open() && !playingBack;
}

int32_t clsWavFile::NumSamples() const {
    return clamp32(recordingSideShown() ? recording_.numSamples() : playback_.numSamples());
}

int32_t clsWavFile::FileSize() const {
    return clamp32(recordingSideShown() ? kHeaderLength + recording_.dataBytes() : playback_.fileSize());
}

int32_t clsWavFile::SamplesQueued() const {
    return clamp32(recording_.samplesQueued());
}
int32_t clsWavFile::TotSamplesOut() const {
    return clamp32(recording_.numSamples());
}

void clsWavFile::setDecimator(int32_t n) {
    if (n == 0) runtime::raise(runtime::err::kDivisionByZero, kWavFileSource);
    if (!isRateFactor(n)) runtime::raise(runtime::err::kInvalidCall, kWavFileSource);
    decimator_ = n;
    wavSamplingRate_ = samplingRate_ / n;
}

void clsWavFile::setRecBlockSizeInSamples(int32_t v) {
    if (v <= 0 || v % 2048 != 0 || v > kMaxRecBlockSize)
        runtime::raise(runtime::err::kInvalidCall, kWavFileSource);
    recBlockSize_ = v;
}

// Every block of 2048 must fall inside one half at every upsampling factor.
void clsWavFile::setPlayBlockSizeInSamples(int32_t v) {
    if (v <= 0 || v % 2048 != 0 || v > kMaxRecBlockSize)
        runtime::raise(runtime::err::kInvalidCall, kWavFileSource);
    playBlockSize_ = v;
}

// The capture runs at 48000 Hz only; the decimators and the player's factors are built on it.
void clsWavFile::setSamplingRate(int32_t v) {
    if (v != 48000) runtime::raise(runtime::err::kInvalidCall, kWavFileSource);
    samplingRate_ = v;
}

void clsWavFile::setBitsPerSample(int32_t v) {
    if (v != 8 && v != 16) runtime::raise(runtime::err::kInvalidCall, kWavFileSource);
    bitsPerSample_ = v;
}

void clsWavFile::setNumChannels(int32_t v) {
    if (v != 1) runtime::raise(runtime::err::kInvalidCall, kWavFileSource);
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
    const bool recording = recording_.halfSize() > 0;
    WavFormat format;
    format.bytesPerSample = recording ? recording_.bytesPerSample() : bitsPerSample_ / 8;
    format.sampleRate = recording ? samplingRate_ / recording_.decimator() : wavSamplingRate_;
    format.channels = numChannels_;
    return wavHeader(format, recording_.dataBytes());
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
        std::floor(double(recording_.samplesQueued()) / recording_.decimator() * recording_.bytesPerSample() +
                   kHeaderLength + 0.5);
    r.Start = clamp32(int64_t(start));
    if (logCount_ > 0) logRecords_[std::size_t(logCount_ - 1)].End = r.Start;
    LogTunedFrequency = TunedFrequency;
    ++logCount_;
    LastTunedFrequency = TunedFrequency;
    logRecords_.emplace_back();
    journalEntry(logRecords_[std::size_t(logCount_ - 1)]);
    return 0;
}

// Entries are made by the timers and the presets, never in the sound path, so the write happens here.
void clsWavFile::journalEntry(const LogRecord& r) {
    const int32_t rc = journal_.append(r);
    if (rc == 0 || journalFailed_) return;
    journalFailed_ = true;
    runtime::AddLog(
        "clsWavFile.NewLogRecord: the frequency log journal " + LogJournal::pathFor(TempFileName) +
        " could not be written, a crash would lose the entries from here: Code=" + std::to_string(rc) +
        " Description=" + files::describeError(rc));
}

int16_t clsWavFile::UpdateWavHeader() {
    if (!diskFile_) return 0;
    const int64_t dataEnd = kHeaderLength + recording_.dataBytes();
    BoundLogToData(logRecords_, logCount_, dataEnd);
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
    const WavHeaderFields fields = wavHeaderFields(header);
    wavSamplingRate_ = fields.sampleRate;
    playback_.takeHeader(fields, samplingRate_);
}

void clsWavFile::ReadTrailer() {
    numberOfTracks_ = playback_.readTrailer(*diskFile_, logRecords_);
}

// ---- the open file ----

int32_t clsWavFile::closeHandle() {
    int32_t rc = 0;
    if (diskFile_) rc = diskFile_->close();
    diskFile_.reset();
    recording_.setOpen(false);
    return rc;
}

// The player's half size goes with its buffers: a block asked for after a close reads nothing.
void clsWavFile::resetBuffers() {
    playback_.releaseBuffers();
}

int32_t clsWavFile::CloseFile() {
    if (!diskFile_) {
        resetBuffers();
        setPlayerMode(PlayerMode::Closed);
        isClosed_ = true;
        isRecording_ = isPaused_ = isPlaying_ = false;
        return 0;
    }
    flushRecording();
    const int32_t rc = closeHandle();
    if (rc != 0) {
        setPlayerMode(PlayerMode::Closed);
        return rc;
    }
    recordFileName_.clear();
    playback_.setNumSamples(0);
    resetBuffers();
    playerMode_ = PlayerMode::Closed;
    isClosed_ = true;
    isRecording_ = isPaused_ = isPlaying_ = false;
    return 0;
}

// ---- settings ----

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
