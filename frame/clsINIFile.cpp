// The whole-file INI reader over the INI layer's document.
#include "frame/clsINIFile.h"

#include "platform/profile/IniFile.h"
#include "platform/runtime/RuntimeError.h"
#include "platform/runtime/Text.h"

void clsINIFile::init(const std::string& IniFilename) {
    doc_ = profile::IniDocument();
    lines_.clear();
    linesMade_ = true;
    sectionCount_ = 0;
    lastLineIndex_ = 0;

    profile::FileStatus status = profile::FileStatus::Ok;
    auto doc = profile::readIniFile(IniFilename, &status);
    if (!doc) {
        switch (status) {
        case profile::FileStatus::Missing:
            runtime::raise(runtime::err::kFileNotFound, "clsINIFile.init");
        case profile::FileStatus::Denied:
            runtime::raise(runtime::err::kPermissionDenied, "clsINIFile.init");
        case profile::FileStatus::NotRegular:
        case profile::FileStatus::TooLarge:
        case profile::FileStatus::Utf16:
        case profile::FileStatus::NotText:
            runtime::raise(runtime::err::kPathFileAccess, "clsINIFile.init", profile::describe(status));
        default:
            runtime::raise(runtime::err::kPathFileAccess, "clsINIFile.init");
        }
    }
    doc_ = std::move(*doc);
    const std::size_t lines = doc_.lineCount();
    lastLineIndex_ = static_cast<int32_t>(lines + (lines > 0 && doc_.endsWithLineBreak() ? 1 : 0)) - 1;
    sectionCount_ = static_cast<int32_t>(doc_.headerCount());
    linesMade_ = false;
}

const std::vector<std::string>& clsINIFile::Lines() const {
    if (linesMade_) return lines_;
    for (auto& line : doc_.lines())
        lines_.push_back(line.header ? std::string(runtime::trimSpaces(line.text)) : std::move(line.text));
    if (!lines_.empty() && doc_.endsWithLineBreak()) lines_.emplace_back();
    linesMade_ = true;
    return lines_;
}

std::string clsINIFile::GetItem(std::string_view Section, std::string_view Key,
                                std::string_view DefaultValue) const {
    auto value = doc_.textAfterEquals(Section, Key);
    return value ? std::move(*value) : std::string(DefaultValue);
}
