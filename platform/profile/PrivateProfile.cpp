// The private-profile INI service over IniDocument and the atomic file replacement.
#include "platform/profile/PrivateProfile.h"

#include <cmath>

#include "platform/profile/AtomicFile.h"
#include "platform/profile/IniFile.h"
#include "platform/runtime/Convert.h"
#include "platform/runtime/Text.h"

namespace profile {

namespace {

bool holdsAny(std::string_view text, std::string_view chars) {
    return text.find_first_of(chars) != std::string_view::npos;
}

ProfileStatus fromFileStatus(FileStatus status) {
    switch (status) {
    case FileStatus::Ok:
    case FileStatus::Missing:
        return ProfileStatus::Ok;
    case FileStatus::ReadOnly:
        return ProfileStatus::ReadOnly;
    case FileStatus::Denied:
    case FileStatus::IoError:
    case FileStatus::NotRegular:
    case FileStatus::TooLarge:
    case FileStatus::Utf16:
    case FileStatus::NotText:
        break;
    }
    return ProfileStatus::IoError;
}

} // namespace

const char* describe(ProfileStatus status) noexcept {
    switch (status) {
    case ProfileStatus::Ok:
        return "written";
    case ProfileStatus::BadSection:
        return "the section name would break the file's structure";
    case ProfileStatus::BadKey:
        return "the key name would break the file's structure";
    case ProfileStatus::BadValue:
        return "the value holds a line break";
    case ProfileStatus::ReadOnly:
        return "the file is read-only";
    case ProfileStatus::IoError:
        return "the file could not be read or replaced";
    }
    return "unknown";
}

ProfileStatus checkEntry(std::string_view section, std::string_view key, std::string_view value) noexcept {
    using namespace std::string_view_literals;
    if (runtime::trimSpaces(section).empty() || holdsAny(section, "\r\n\0]"sv))
        return ProfileStatus::BadSection;
    const auto keyStart = key.find_first_not_of(" \t");
    if (keyStart == std::string_view::npos || key[keyStart] == '[' || holdsAny(key, "\r\n\0="sv))
        return ProfileStatus::BadKey;
    if (holdsAny(value, "\r\n\0"sv)) return ProfileStatus::BadValue;
    return ProfileStatus::Ok;
}

std::string cutToChars(std::string_view utf8, std::size_t maxChars) {
    if (utf8.size() <= maxChars) return std::string(utf8); // never more characters than bytes
    const std::u32string text = runtime::toU32(utf8);
    if (text.size() <= maxChars) return std::string(utf8);
    return runtime::toUtf8(std::u32string_view(text).substr(0, maxChars));
}

std::string GetPrivateProfileString(std::string_view section, std::string_view key,
                                    std::string_view defaultValue, const std::string& file,
                                    std::size_t maxChars) {
    const auto doc = readIniFile(file);
    std::optional<std::string> value;
    if (doc) value = doc->get(section, key);
    return cutToChars(value ? *value : defaultValue, maxChars);
}

int32_t GetPrivateProfileInt(std::string_view section, std::string_view key, int32_t defaultValue,
                             const std::string& file) {
    const auto number = runtime::parseDouble(GetPrivateProfileString(section, key, {}, file));
    if (!number || std::fabs(*number) > 2147483647.0) return defaultValue;
    return runtime::CLng(*number);
}

ProfileStatus WritePrivateProfileString(std::string_view section, std::string_view key,
                                        std::string_view value, const std::string& file) {
    ProfileBatch batch(file);
    const ProfileStatus status = batch.write(section, key, value);
    return status == ProfileStatus::Ok ? batch.commit() : status;
}

ProfileBatch::ProfileBatch(std::string file) : file_(std::move(file)) {
    FileStatus status = FileStatus::Ok;
    if (auto doc = readIniFile(file_, &status)) doc_ = std::move(*doc);
    read_ = status == FileStatus::Ok;
    unreadable_ = status != FileStatus::Ok && status != FileStatus::Missing;
}

std::string ProfileBatch::read(std::string_view section, std::string_view key, std::string_view defaultValue,
                               std::size_t maxChars) const {
    const auto value = doc_.get(section, key);
    return cutToChars(value ? *value : defaultValue, maxChars);
}

ProfileStatus ProfileBatch::write(std::string_view section, std::string_view key, std::string_view value) {
    const ProfileStatus status = checkEntry(section, key, value);
    if (status != ProfileStatus::Ok) return status;
    // Kept at the first write, so a batch that only reads never writes the file out in memory.
    if (read_ && !original_) original_ = doc_.toBytes();
    doc_.set(section, key, value);
    dirty_ = true;
    return ProfileStatus::Ok;
}

ProfileStatus ProfileBatch::commit() {
    if (!dirty_) return ProfileStatus::Ok;
    if (unreadable_) return ProfileStatus::IoError;
    std::string bytes = doc_.toBytes();
    const ProfileStatus status = fromFileStatus(replaceFileAtomically(file_, bytes));
    if (status == ProfileStatus::Ok) {
        original_ = std::move(bytes);
        dirty_ = false;
    }
    return status;
}

bool ProfileBatch::changesFile() const {
    return dirty_ && !(original_ && doc_.toBytes() == *original_);
}

} // namespace profile
