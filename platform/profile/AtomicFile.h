// Whole-file reads and crash-safe replacement: a new version is written beside the file, flushed, and
// renamed over it, so a reader sees either the old file or the new one, never a torn mix.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace profile {

enum class FileStatus { Ok, Missing, Denied, ReadOnly, IoError };

// The file's bytes; nullopt with Missing when it does not exist, Denied when it may not be read, IoError
// when it cannot be read otherwise.
std::optional<std::string> readWholeFile(const std::string& path, FileStatus* status = nullptr);

// Replaces (or creates) the file. A file without any write permission bit counts as read-only and is
// refused (the file's read-only mark), even for a user who could write it anyway. A symbolic link is
// followed and its target replaced. The folder must exist.
FileStatus replaceFileAtomically(const std::string& path, std::string_view bytes);

// Creates the folder and its parents; true when it exists afterwards.
bool makeFolders(const std::string& path);

} // namespace profile
