// Reading INI files from disk, with the refusals traced.
#include "platform/profile/IniFile.h"

#include "platform/runtime/Hooks.h"

namespace profile {

std::optional<IniDocument> readIniFile(const std::string& path, FileStatus* status) {
    FileStatus read = FileStatus::Ok;
    auto bytes = readWholeFile(path, kIniFileLimit, &read);
    if (bytes) {
        if (const auto refusal = refuseText(*bytes))
            read = *refusal == TextRefusal::Utf16 ? FileStatus::Utf16 : FileStatus::NotText;
    }
    if (status) *status = read;
    if (read == FileStatus::Ok) return IniDocument::fromBytes(*bytes);
    if (read != FileStatus::Missing)
        runtime::AddLog("INI file " + path + " not read: " + describe(read) + "; it is left as it is");
    return std::nullopt;
}

} // namespace profile
