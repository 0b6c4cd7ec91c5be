// Reading an INI file from disk: the one place that decides which files the layer reads and which it
// refuses, and says why in the trace log.
#pragma once

#include <cstddef>
#include <optional>
#include <string>

#include "platform/profile/AtomicFile.h"
#include "platform/profile/IniDocument.h"

namespace profile {

// A full band plan, the largest file the program keeps, is tens of kilobytes. The limit leaves room for
// a hundred times that, and still stops a file that is no settings file (a log or a recording saved
// under the name) from costing memory and seconds at every read.
inline constexpr std::size_t kIniFileLimit = 4 * 1024 * 1024;

// The file as a document. nullopt with Missing when there is none; with another status when it is
// refused (not a regular file, larger than the limit, UTF-16 or no text, or unreadable), which leaves
// a trace line naming the file and why. Callers never write a refused file.
std::optional<IniDocument> readIniFile(const std::string& path, FileStatus* status = nullptr);

} // namespace profile
