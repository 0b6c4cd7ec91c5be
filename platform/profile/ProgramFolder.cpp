// Resolution of the program folder from the environment, and its first filling.
#include "platform/profile/ProgramFolder.h"

#include <cstdlib>
#include <filesystem>
#include <unistd.h>

#include "platform/profile/AtomicFile.h"
#include "platform/runtime/Text.h"

namespace profile {

namespace fs = std::filesystem;

namespace {

std::optional<std::string> envValue(const char* name) {
    const char* value = std::getenv(name);
    if (value == nullptr || *value == '\0') return std::nullopt;
    return std::string(value);
}

std::string withoutTrailingSlash(std::string path) {
    while (path.size() > 1 && path.back() == '/')
        path.pop_back();
    return path;
}

bool hasExtension(const fs::path& file, std::string_view extension) {
    return runtime::equalsNoCase(file.extension().string(), extension);
}

// Copies the installed band plans and themes that the folder lacks.
void fillFromInstalled(const std::string& folder, const std::vector<std::string>& installedDirs) {
    for (const std::string& source : installedDirs) {
        if (source.empty() || fs::path(source) == fs::path(folder) || !folderHoldsExtension(source, ".bpl"))
            continue;
        std::error_code ec;
        for (const auto& entry : fs::directory_iterator(source, ec)) {
            if (!entry.is_regular_file(ec)) continue;
            if (!hasExtension(entry.path(), ".bpl") && !hasExtension(entry.path(), ".thm")) continue;
            fs::copy_file(entry.path(), fs::path(folder) / entry.path().filename(),
                          fs::copy_options::skip_existing, ec);
        }
        return;
    }
}

} // namespace

bool folderHoldsExtension(const std::string& folder, std::string_view extension) {
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator(folder, ec)) {
        if (entry.is_regular_file(ec) && hasExtension(entry.path(), extension)) return true;
    }
    return false;
}

std::string executableDir() {
    std::error_code ec;
    const fs::path exe = fs::read_symlink("/proc/self/exe", ec);
    return ec ? std::string(".") : exe.parent_path().string();
}

ProgramFolderInputs programFolderInputsFromEnvironment() {
    ProgramFolderInputs inputs;
    inputs.nerixHome = envValue("NERIXSDR_HOME");
    inputs.xdgDataHome = envValue("XDG_DATA_HOME");
    inputs.home = envValue("HOME");
    inputs.executableDir = executableDir();
    inputs.installedDataDirs = {
        inputs.executableDir,
        (fs::path(inputs.executableDir) / ".." / "share" / "NerixSDR").lexically_normal().string()};
    return inputs;
}

std::string resolveProgramFolder(const ProgramFolderInputs& inputs) {
    if (inputs.nerixHome) return withoutTrailingSlash(*inputs.nerixHome);

    const auto writable = [&inputs](const std::string& folder) {
        return inputs.writable ? inputs.writable(folder) : ::access(folder.c_str(), W_OK) == 0;
    };
    if (!inputs.executableDir.empty() && folderHoldsExtension(inputs.executableDir, ".bpl") &&
        writable(inputs.executableDir))
        return withoutTrailingSlash(inputs.executableDir);

    const std::string dataHome = inputs.xdgDataHome
                                     ? *inputs.xdgDataHome
                                     : (inputs.home ? *inputs.home : std::string(".")) + "/.local/share";
    const std::string folder = withoutTrailingSlash(dataHome) + "/NerixSDR";
    if (makeFolders(folder) && !folderHoldsExtension(folder, ".bpl"))
        fillFromInstalled(folder, inputs.installedDataDirs);
    return folder;
}

std::string programFolder() {
    return resolveProgramFolder(programFolderInputsFromEnvironment());
}

std::string programFile(std::string_view name) {
    return programFolder() + "/" + std::string(name);
}

} // namespace profile
