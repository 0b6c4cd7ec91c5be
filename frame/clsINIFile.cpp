// The whole-file INI reader over the INI layer's document.
#include "clsINIFile.h"

#include "platform/profile/IniFile.h"
#include "platform/runtime/RuntimeError.h"
#include "platform/runtime/Text.h"

void clsINIFile::init(const std::string& IniFilename) {
    doc_ = profile::IniDocument();
    lines_.clear();
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
    for (auto& line : doc_.lines()) {
        if (line.header) {
            lines_.emplace_back(runtime::trimSpaces(line.text));
            ++sectionCount_;
        } else {
            lines_.push_back(std::move(line.text));
        }
    }
    if (!lines_.empty() && doc_.endsWithLineBreak()) lines_.emplace_back();
    lastLineIndex_ = static_cast<int32_t>(lines_.size()) - 1;
}

std::string clsINIFile::GetItem(std::string_view Section, std::string_view Key,
                                std::string_view DefaultValue) const {
    auto value = doc_.textAfterEquals(Section, Key);
    return value ? std::move(*value) : std::string(DefaultValue);
}
