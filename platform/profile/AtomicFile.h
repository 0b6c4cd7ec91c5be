// Whole-file reads and crash-safe replacement: a new version is written beside the file, flushed, and
// renamed over it, so a reader sees either the old file or the new one, never a torn mix.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace profile {

enum class FileStatus {
    Ok,
    Missing,
    Denied,
    ReadOnly,
    IoError,
    NotRegular, // a folder, a FIFO, a device: never read, never replaced
    TooLarge,   // more bytes than the reader takes
    Utf16,      // text in UTF-16, which the INI layer does not read
    NotText,    // bytes that are no text (NUL bytes)
};

// A short English text for a trace line.
const char* describe(FileStatus status) noexcept;

// The file's bytes; nullopt with Missing when it does not exist, Denied when it may not be read,
// NotRegular when it is no regular file (found without blocking, so a FIFO never stalls the caller),
// TooLarge when it holds more than maxBytes, IoError when it cannot be read otherwise.
std::optional<std::string> readWholeFile(const std::string& path, std::size_t maxBytes,
                                         FileStatus* status = nullptr);

// Replaces (or creates) the file. A file without any write permission bit counts as read-only and is
// refused (the file's read-only mark), even for a user who could write it anyway. A symbolic link is
// followed and its target replaced. The folder must exist. The new version is first written to
// ".<name>.unfinished-save-XXXXXX" beside the file; such a file left by a crash during an earlier save of
// the same file is removed. systemError, when given, receives the errno of the call that failed (ENOSPC
// for a full disk), 0 when none did or no call failed but the file was refused.
FileStatus replaceFileAtomically(const std::string& path, std::string_view bytes, int* systemError = nullptr);

// The prefix of the temporary files a save of the named file (no folder) writes.
std::string unfinishedSavePrefix(std::string_view fileName);

// Creates the folder and its parents; true when it exists afterwards.
bool makeFolders(const std::string& path);

} // namespace profile
