// The frequency log's journal and the completion of a recording left without its close.
#include "recorder/LogJournal.h"

#include "recorder/WavHeader.h"

#include <algorithm>
#include <cstring>

namespace recorder {

namespace {

// More than the longest journal a recording can write (a record grows by two bytes at most).
constexpr int64_t kMaxJournalBytes = int64_t(kMaxLogEntries) * (kRecordBytes + 2);

int32_t writeAll(files::File& file, int64_t offset, std::span<const uint8_t> bytes) {
    std::size_t written = 0;
    const int32_t rc = file.writeAt(offset, bytes, written);
    return rc == 0 && written != bytes.size() ? files::err::kDiskFull : rc;
}

} // namespace

std::string LogJournal::pathFor(const std::string& recordingPath) {
    return recordingPath + ".frequency-log";
}

int32_t LogJournal::create(files::FileSystem& fs, const std::string& path) {
    close();
    const int32_t rc = fs.create(path, file_);
    if (rc != 0) file_.reset();
    return rc;
}

int32_t LogJournal::append(const LogRecord& r) {
    if (!file_) return 0;
    const std::vector<uint8_t> text = LogRecordText(r);
    const int32_t rc = writeAll(*file_, end_, text);
    if (rc != 0) {
        // A part of a record would read as nothing, but the next entry must not follow it.
        file_->truncate(end_);
        return rc;
    }
    end_ += int64_t(text.size());
    return 0;
}

void LogJournal::close() {
    if (file_) file_->close();
    file_.reset();
    end_ = 0;
}

bool readJournal(files::FileSystem& fs, const std::string& path, std::vector<LogRecord>& log,
                 int32_t& count) {
    log.assign(1, LogRecord{});
    count = 0;
    std::unique_ptr<files::File> file;
    int64_t length = 0;
    if (fs.openRead(path, file) != 0 || file->size(length) != 0) return false;
    std::vector<uint8_t> bytes(std::size_t(std::clamp<int64_t>(length, 0, kMaxJournalBytes)));
    std::size_t got = 0;
    if (file->readAt(0, bytes, got) != 0) return false;
    file->close();
    bytes.resize(got);
    // A record a crash cut short ends at no NUL: only the records before it are taken.
    std::size_t whole = 0;
    for (std::size_t i = 0; i + 1 < bytes.size(); i += 2)
        if (bytes[i] == 0) whole = i + 2;
    bytes.resize(whole);
    count = ParseLogText(log, bytes);
    return true;
}

int32_t completeRecording(files::FileSystem& fs, const std::string& recordingPath,
                          const std::string& journalPath) {
    std::vector<LogRecord> log;
    int32_t count = 0;
    const bool journaled = fs.exists(journalPath) && readJournal(fs, journalPath, log, count);

    std::unique_ptr<files::File> file;
    int32_t rc = fs.openUpdate(recordingPath, file);
    if (rc != 0) return rc;
    int64_t length = 0;
    if ((rc = file->size(length)) != 0) return rc;
    // A file without a whole header holds no samples to keep in order.
    if (length < kHeaderLength) return file->close();
    std::vector<uint8_t> header(kHeaderLength);
    std::size_t got = 0;
    if ((rc = file->readAt(0, header, got)) != 0) return rc;
    const WavHeaderFields fields = wavHeaderFields(header);
    const int64_t bytesPerSample = fields.bitsPerSample == 8 ? 1 : 2;

    // The header counts every half written; a trailer follows them only when the recording was closed.
    const int64_t counted = kHeaderLength + int64_t(fields.dataSize);
    bool trailer = false;
    if (fields.dataSize >= 0 && counted + kMarkerLength <= length) {
        uint8_t marker[kMarkerLength];
        trailer = file->readAt(counted, marker, got) == 0 && got == std::size_t(kMarkerLength) &&
                  std::memcmp(marker, kTrailerMarker, kMarkerLength) == 0;
    }
    if (trailer && !journaled) return file->close();
    // Samples past the count reached the file before the crash could count them: they are kept.
    const int64_t dataEnd =
        trailer ? counted : kHeaderLength + (length - kHeaderLength) / bytesPerSample * bytesPerSample;

    std::vector<uint8_t> tail;
    if (journaled) {
        for (int32_t i = 0; i + 1 < count; ++i)
            log[std::size_t(i)].End = log[std::size_t(i) + 1].Start;
        BoundLogToData(log, count, dataEnd);
        tail.assign(kTrailerMarker, kTrailerMarker + kMarkerLength);
        const std::vector<uint8_t> text = BuildLogText(log);
        tail.insert(tail.end(), text.begin(), text.end());
    }
    // The file's positions are 32-bit: a file that would outgrow them is left as it is.
    if (dataEnd + int64_t(tail.size()) > INT32_MAX) return file->close();

    const int64_t dataBytes = dataEnd - kHeaderLength;
    if ((rc = file->truncate(dataEnd)) != 0) return rc;
    if ((rc = writeAll(*file, int64_t(kRiffSizeOffset), riffSizeField(dataBytes))) != 0) return rc;
    if ((rc = writeAll(*file, int64_t(kDataSizeOffset), dataSizeField(dataBytes))) != 0) return rc;
    if (!tail.empty() && (rc = writeAll(*file, dataEnd, tail)) != 0) return rc;
    if ((rc = file->flush()) != 0) return rc;
    return file->close();
}

} // namespace recorder
