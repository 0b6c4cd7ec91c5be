// The program folder: where band plans (*.bpl) and themes (*.thm) are read, and the trace log, Dream.ini
// and the default recordings are written. Every subsystem asks here; nothing else decides it.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace profile {

// What the choice depends on, so that tests can state it without touching the real environment.
struct ProgramFolderInputs {
    std::optional<std::string> nerixHome;   // $NERIXSDR_HOME
    std::optional<std::string> xdgDataHome; // $XDG_DATA_HOME
    std::optional<std::string> home;        // $HOME
    std::string executableDir;              // the folder of the running program
    // Folders holding the installed band plans and themes, first match wins.
    std::vector<std::string> installedDataDirs;
    // Whether a folder may be written; the real check when empty.
    std::function<bool(const std::string&)> writable;
};

// The environment of this process (empty variables count as unset); installed data is looked for in the
// program's own folder and in <program folder>/../share/NerixSDR.
ProgramFolderInputs programFolderInputsFromEnvironment();

// 1. $NERIXSDR_HOME when set; 2. the executable's folder when it holds a *.bpl file and is writable;
// 3. $XDG_DATA_HOME/NerixSDR (default ~/.local/share/NerixSDR), created on first use and then filled with
// the installed band plans and themes while it holds no band plan. No trailing slash.
std::string resolveProgramFolder(const ProgramFolderInputs& inputs);

// The program folder of this process, resolved from the environment at each call.
std::string programFolder();
// A file in the program folder.
std::string programFile(std::string_view name);

// The folder of the running executable (from /proc/self/exe).
std::string executableDir();

// True when the folder holds at least one file with the extension (".bpl"), letter case ignored.
bool folderHoldsExtension(const std::string& folder, std::string_view extension);

} // namespace profile
