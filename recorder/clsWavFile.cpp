// The recorder and player: the modes, events, files and settings around the recording and playback halves,
// and the frequency log both share.
#include "recorder/clsWavFile.h"

#include "frame/ScopedFlag.h"
#include "platform/runtime/Convert.h"
#include "platform/runtime/Hooks.h"
#include "platform/runtime/RuntimeError.h"

#include <algorithm>
#include <cmath>
#include <ctime>

namespace recorder {

namespace {

constexpr const char* kSource = "clsWavFile";
// A half larger than this would only waste memory: 2^20 samples are 22 s at 48 kHz.
constexpr int32_t kMaxRecBlockSize = 1 << 20;

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
    if (n == 0) runtime::raise(runtime::err::kDivisionByZero, kSource);
    if (!isRateFactor(n)) runtime::raise(runtime::err::kInvalidCall, kSource);
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

// ---- recording ----

int32_t clsWavFile::OpenRecording() {
    if (isRecording_) return status::kRecordingOpen;
    // A recording stopped by a fault is finished before it is moved aside.
    if (recording_.open()) CloseRecording();
    journal_.close();
    // A recording that cannot be moved aside is not deleted by a new one.
    if (const int32_t rc = recoverUnsavedRecording(); rc != 0) return rc;
    CloseFile();
    recording_.begin(recBlockSize_, decimator_, bitsPerSample_ / 8);
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
    // Either the journal or the marker tells a later Record that this recording is undecided; with
    // neither, a crash would leave it to be deleted, so it does not start.
    const int32_t journalError = journal_.create(fs_, LogJournal::pathFor(TempFileName));
    if (!setUnsavedMarker(TempFileName) && journalError != 0) {
        closeHandle();
        fs_.remove(TempFileName);
        setUnsavedMarker("");
        return journalError;
    }
    journalFailed_ = false;
    if (journalError != 0)
        runtime::AddLog(
            "clsWavFile.OpenRecording: the frequency log journal " + LogJournal::pathFor(TempFileName) +
            " could not be created, a crash would lose the log: Code=" + std::to_string(journalError) +
            " Description=" + files::describeError(journalError));
    recording_.setOpen(true);
    isRecording_ = true;
    isClosed_ = false;
    isPaused_ = false;
    statusOfMedia_ = MediaStatus::RecordingUnsaved;
    playerMode_ = PlayerMode::Recording;
    SaveFileName.clear();
    const int32_t tuned = ports_.vfo ? ports_.vfo->TunedFrequency() : 0;
    NewLogRecord(tuned);
    return 0;
}

int16_t clsWavFile::AddSamples(std::span<const int16_t> Samples, int32_t NoSamples) {
    if (!isRecording_) return int16_t(status::kAddNotRecording);
    if (playerMode_ == PlayerMode::Paused || playerMode_ == PlayerMode::Stopped)
        return int16_t(status::kWrongMode);
    return recording_.add(Samples, NoSamples, ports_.listener);
}

// A write failure or the size limit stopped the recording: the file stays open, unsaved.
void clsWavFile::recordingStopped(RecorderFault fault, int32_t errorNumber) {
    isRecording_ = false;
    isPaused_ = false;
    playerMode_ = PlayerMode::Stopped;
    raiseFault(fault, errorNumber);
}

int32_t clsWavFile::WriteToDisk() {
    if (!isRecording_) return status::kNotRecording;
    if (isPaused_) return status::kPaused;
    if (inWrite_) return status::kWriteBusy;
    const ScopedFlag guard(inWrite_);
    if (recording_.pendingHalves() == 0) return status::kNoFullHalf;
    return recording_.writePending(diskFile_.get(), ports_.maxFileBytes);
}

int32_t clsWavFile::flushRecording() {
    return recording_.flush(diskFile_.get(), ports_.maxFileBytes);
}

void clsWavFile::StopRecording() {
    if (inStopRecording_) return;
    const ScopedFlag guard(inStopRecording_);
    setPlayerMode(PlayerMode::Stopped);
    if (isRecording_) {
        isPaused_ = false;
        isRecording_ = false;
    }
}

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

int32_t clsWavFile::CloseRecording() {
    if (!diskFile_) return status::kNothingOpen;
    int32_t headerError = 0;
    if (recording_.open()) {
        flushRecording();
        headerError = UpdateWavHeader();
    }
    // A failed final header is reported like a failed close: the file is closed either way.
    int32_t rc = closeHandle();
    journal_.close();
    if (rc == 0) rc = headerError;
    logRecords_.assign(1, LogRecord{});
    recording_.clearCounts();
    playback_.setNumSamples(0);
    playback_.setFileSize(0);
    isClosed_ = true;
    isRecording_ = false;
    isPaused_ = false;
    return rc;
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

// ---- unsaved recordings ----

// False when the store could not keep it (a read-only settings file).
bool clsWavFile::setUnsavedMarker(const std::string& path) {
    settings_.SaveSetting(runtime::kProductName, name_, kUnsavedRecordingKey, path);
    return settings_.commit();
}

// The recording is decided: nothing marks it any more.
void clsWavFile::dropJournal() {
    journal_.close();
    const std::string journal = LogJournal::pathFor(TempFileName);
    if (fs_.exists(journal)) fs_.remove(journal);
}

void clsWavFile::DiscardRecording() {
    setUnsavedMarker("");
    dropJournal();
}

// A temporary recording is undecided while the marker names it or its journal is there: the marker alone
// is not enough, as a read-only settings file cannot keep it.
int32_t clsWavFile::recoverUnsavedRecording() {
    const std::string marked = settings_.GetSetting(runtime::kProductName, name_, kUnsavedRecordingKey, "");
    if (!marked.empty()) {
        if (!fs_.exists(marked))
            setUnsavedMarker("");
        else if (const int32_t rc = moveAside(marked, true); rc != 0)
            return rc;
    }
    if (TempFileName != marked && fs_.exists(TempFileName) && fs_.exists(LogJournal::pathFor(TempFileName)))
        return moveAside(TempFileName, false);
    return 0;
}

// Completes the recording with its log, then moves it to "recovered_<date>_<time>.wav" beside it. Nothing
// is moved or dropped before the step ahead of it worked, so a failure loses nothing and the next Record
// tries again.
int32_t clsWavFile::moveAside(const std::string& path, bool marked) {
    const std::string journal = LogJournal::pathFor(path);
    int32_t rc = completeRecording(fs_, path, journal);
    if (rc != 0) return rc;
    std::string stamp = formatLogDate(now());
    std::replace(stamp.begin(), stamp.end(), ':', '-');
    std::replace(stamp.begin(), stamp.end(), ' ', '_');
    const std::string folder = folderOf(path);
    const std::string base = (folder.empty() ? std::string() : folder + "/") + "recovered_" + stamp;
    std::string target = base + ".wav";
    for (int i = 2; fs_.exists(target); ++i)
        target = base + "_" + std::to_string(i) + ".wav";
    rc = fs_.rename(path, target);
    if (rc != 0) return rc;
    RecoveredFileName = target;
    if (fs_.exists(journal)) fs_.remove(journal);
    if (marked) setUnsavedMarker("");
    return 0;
}

// ---- playback ----

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
    if ((playerMode_ != PlayerMode::Playing && playerMode_ != PlayerMode::PlayingBack) || PlayEnd)
        return status::kWrongMode;
    if (playback_.seekPending()) {
        playback_.startSeek();
        ReadFromDisk();
        playback_.endSeek();
        if (PlayEnd) return status::kWrongMode;
    }
    bool switched = false;
    const int32_t m = playback_.take(OutSamples, n, switched);
    if (m <= 0) return 0;
    if (playback_.numSamples() % (16 * int64_t(m)) != 0 && ports_.listener)
        ports_.listener->SamplesPlayed(0, clamp32(playback_.numSamples()));
    if (switched) {
        if (playback_.endOfData()) PlayEnd = true;
        if (ports_.listener) ports_.listener->DiskRead(clamp32(playback_.filePosition()));
    }
    if (PlayEnd) {
        playback_.rewind();
        playerMode_ = PlayerMode::Stopped;
        if (ports_.listener) ports_.listener->PlayEnd();
        if (PlayEnd) return 0;
    }
    if (switched && ports_.listener) ports_.listener->ReadNextBlockFromDisk();
    return 0;
}

int32_t clsWavFile::ReadFromDisk() {
    if (inRead_) return 0;
    const ScopedFlag guard(inRead_);
    if (!diskFile_ || playback_.halfSize() <= 0) return 0;
    const bool ownRecording = recording_.open();
    if (ownRecording) playback_.setDataEnd(kHeaderLength + recording_.dataBytes());
    bool ended = false;
    if (playback_.fill(*diskFile_, ended) != 0) {
        PlayEnd = true;
        ReadNextBufferFromDisk = false;
        // A failed read of the open recording ends its playback, never the recording.
        if (!ownRecording) closeHandle();
        playerMode_ = PlayerMode::Stopped;
        return 0;
    }
    if (!ended) ReadNextBufferFromDisk = false;
    return 0;
}

int32_t clsWavFile::Play() {
    if (playerMode_ == PlayerMode::Closed || !diskFile_ || recording_.open()) return 0;
    playerMode_ = PlayerMode::Playing;
    playback_.setEndOfData(false);
    PlayEnd = false;
    ReadFromDisk();
    return FileSize();
}

int32_t clsWavFile::RecordPlayback() {
    if (isPlaying_ || !recording_.open() || !diskFile_) return 0;
    isPaused_ = false;
    PlayEnd = false;
    int64_t length = 0;
    diskFile_->size(length);
    const int32_t rate = samplingRate_ / recording_.decimator();
    playback_.startOnRecording(length, samplingRate_ / rate, recording_.bytesPerSample());
    wavSamplingRate_ = rate;
    selectRateOption();
    playback_.sizeBuffers(playBlockSize_);
    playback_.rewindCursors();
    playerMode_ = PlayerMode::PlayingBack;
    ReadFromDisk();
    return FileSize();
}

int32_t clsWavFile::PlayRecording() {
    if (!recording_.open()) return 0;
    playerMode_ = PlayerMode::PlayingBack;
    playback_.setEndOfData(false);
    PlayEnd = false;
    ReadFromDisk();
    return FileSize();
}

// Shared by OpenFile and OpenPlayback: open FileName, read header and trailer, size the player.
int32_t clsWavFile::openForPlayback(bool startReading) {
    playback_.reset();
    recording_.reset();
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
        if (rc != 0) runtime::raise(rc, kSource);
        // Every size and position in a recording is 32-bit.
        if (length > INT32_MAX)
            runtime::raise(kInvalidFileFormat, kSource,
                           "The file is larger than 2 GiB, the largest size a recording can have");
        if (length == 0) runtime::raise(runtime::err::kDivisionByZero, kSource, "The file is empty");
        playback_.setFileSize(length);
        std::vector<uint8_t> header(kHeaderLength, 0);
        std::size_t got = 0;
        if ((rc = diskFile_->readAt(0, header, got)) != 0) runtime::raise(rc, kSource);
        if (got < std::size_t(kHeaderLength))
            runtime::raise(runtime::err::kDivisionByZero, kSource,
                           "The file is too short to hold a WAV header (" + std::to_string(got) + " bytes)");
        playback_.setFilePosition(WavPlayback::kFirstSamplePosition);
        ParseWavHeader(header);
        playback_.sizeBuffers(playBlockSize_);
        ReadTrailer();
    } catch (const runtime::RuntimeError&) {
        // A file the player refuses leaves nothing open.
        CloseFile();
        throw;
    }
    playback_.setFilePosition(WavPlayback::kFirstSamplePosition);
    logCount_ = 0;
    if (ports_.listener) ports_.listener->CatalogueLoaded(numberOfTracks_);
    playback_.rewindCursors();
    if (startReading) ReadFromDisk();
    return FileSize();
}

int32_t clsWavFile::OpenPlayback() {
    // The open recording is played back through RecordPlayback, never reopened under it.
    if (isPlaying_ || recording_.open()) return 0;
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
    playerMode_ = PlayerMode::Stopped;
    statusOfMedia_ = MediaStatus::FileLoaded;
    return result;
}

void clsWavFile::StopPlayer() {
    playerMode_ = PlayerMode::Stopped;
    isPaused_ = false;
}

void clsWavFile::Pause() {
    if (playerMode_ == PlayerMode::Paused) {
        isPaused_ = false;
        playerMode_ = prevPlayerMode_;
        // A half that filled before the pause goes to the disk now.
        if (playerMode_ == PlayerMode::Recording && recording_.pendingHalves() > 0 && ports_.listener)
            ports_.listener->WriteNextBlockToDisk();
    } else {
        prevPlayerMode_ = playerMode_;
        playerMode_ = PlayerMode::Paused;
        isPaused_ = true;
    }
}

void clsWavFile::StopPlayBack() {
    if (inStopPlayBack_) return;
    const ScopedFlag guard(inStopPlayBack_);
    setPlayerMode(PlayerMode::Stopped);
    if (isPlaying_) {
        isPaused_ = isRecording_ = isPlaying_ = false;
        playerMode_ = PlayerMode::Stopped;
    }
}

void clsWavFile::PlayFrom(int32_t Index) {
    if (playerMode_ != PlayerMode::Playing || Index < 0 || std::size_t(Index) >= logRecords_.size()) return;
    playback_.seek(std::max<int64_t>(logRecords_[std::size_t(Index)].Start, kHeaderLength));
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
    statusOfMedia_ = MediaStatus::FileLoaded;
    setPlayerMode(PlayerMode::Stopped);
    const auto slash = chosen->find_last_of('/');
    fileShortName_ = slash == std::string::npos ? *chosen : chosen->substr(slash + 1);
    fileName_ = *chosen;
    return fileName_;
}

void clsWavFile::Save() {
    if (inSave_) return;
    const ScopedFlag guard(inSave_);
    if (LastDirectory.empty()) LastDirectory = programFolder_;
    if (statusOfMedia_ != MediaStatus::RecordingUnsaved) return;
    // A recording already closed (a cancelled Save) goes straight to the name.
    if (recording_.open()) {
        const int32_t rc = CloseRecording();
        if (rc != 0) {
            runtime::MsgBox("Unable to close temporary file " + TempFileName +
                            "\n Please report this problem to Nerix" +
                            "\n Error Code=" + std::to_string(int16_t(rc)));
            return;
        }
    }
    isRecording_ = false;
    setPlayerMode(PlayerMode::Stopped);
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
    statusOfMedia_ = MediaStatus::RecordingSaved;
    isPaused_ = false;
    isRecording_ = false;
    setUnsavedMarker("");
    dropJournal();
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
