// The journal of an undecided recording's frequency log, kept beside its temporary file as entries are
// made, and what recovery does with it: a crashed recording becomes a whole file with its log.
#pragma once

#include "platform/files/FileSystem.h"
#include "recorder/LogRecord.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace recorder {

// Entries are appended in the trailer's own record form, so the journal never needs its own reader.
class LogJournal {
public:
    // The journal that belongs to a temporary recording.
    static std::string pathFor(const std::string& recordingPath);

    // Starts an empty journal (one left at the path is replaced).
    int32_t create(files::FileSystem& fs, const std::string& path);
    // Adds an entry; nothing while no journal is open. A failed write leaves the entries before it whole.
    int32_t append(const LogRecord& r);
    bool isOpen() const { return file_ != nullptr; }
    // Releases the handle; the journal stays until the recording is saved or discarded.
    void close();

private:
    std::unique_ptr<files::File> file_;
    int64_t end_ = 0;
};

// The whole records of a journal, in order, then the blank entry; false when it cannot be read.
bool readJournal(files::FileSystem& fs, const std::string& path, std::vector<LogRecord>& log, int32_t& count);

// Makes a temporary recording whole after a crash or an exit without a decision: its header counts every
// whole sample that reached the file, and, when the journal can be read, its trailer holds the log from it
// (otherwise a trailer already there stays). Returns 0 or the error of the failed read or write.
int32_t completeRecording(files::FileSystem& fs, const std::string& recordingPath,
                          const std::string& journalPath);

} // namespace recorder
