// The about text, read from the version record the build embeds in the program.
#include "config/ProgramAbout.h"

#include <cstdio>
#include <span>

#include "platform/runtime/Hooks.h"
#include "platform/version/VersionFile.h"
#include "platform/version/VersionRecord.h"

namespace config {
namespace {

constexpr const char* kCrLf = "\r\n";

// The string table path of the record's first translation, or the usual English one.
std::string stringTablePath(std::span<const uint8_t> record) {
    char path[40] = "\\StringFileInfo\\040904B0\\";
    const auto translation = version::VerQueryValue(record, "\\VarFileInfo\\Translation");
    if (translation && translation->value.size() >= 4) {
        const auto& v = translation->value;
        const unsigned language = v[0] | (v[1] << 8);
        const unsigned codePage = v[2] | (v[3] << 8);
        std::snprintf(path, sizeof path, "\\StringFileInfo\\%04X%04X\\", language, codePage);
    }
    return path;
}

} // namespace

ProgramVersion readProgramVersion(const std::string& path, std::string webAddress) {
    ProgramVersion v;
    v.ProductName = runtime::kProductName;
    v.WebAddress = std::move(webAddress);
    const auto record = version::GetFileVersionInfo(path);
    if (!record) return v;
    if (const auto fixed = version::VerQueryValue(*record, "\\");
        fixed && fixed->value.size() >= version::FixedFileInfo::kSize) {
        const auto info =
            version::FixedFileInfo::fromBytes(std::span<const uint8_t, version::FixedFileInfo::kSize>(
                fixed->value.data(), version::FixedFileInfo::kSize));
        v.Major = static_cast<uint16_t>(info.fileVersionMS >> 16);
        v.Minor = static_cast<uint16_t>(info.fileVersionMS & 0xFFFF);
        v.Revision = static_cast<uint16_t>(info.fileVersionLS & 0xFFFF);
    }
    const std::string table = stringTablePath(*record);
    v.LegalCopyright = version::VerQueryString(*record, table + "LegalCopyright").value_or("");
    v.Comments = version::VerQueryString(*record, table + "Comments").value_or("");
    return v;
}

ProgramVersion ownProgramVersion() {
    return readProgramVersion("/proc/self/exe", NERIX_WEB_ADDRESS);
}

std::string aboutText(const ProgramVersion& v) {
    return v.ProductName + " Ver " + std::to_string(v.Major) + "." + std::to_string(v.Minor) + "." +
           std::to_string(v.Revision) + kCrLf + v.LegalCopyright + kCrLf + kCrLf + v.Comments + kCrLf +
           kCrLf + v.WebAddress;
}

} // namespace config
