// The whole-file INI reader: lines split at LF (a CR before it dropped), headers indexed once.
#include "frame/clsINIFile.h"

#include "platform/profile/AtomicFile.h"
#include "platform/profile/IniDocument.h"
#include "platform/runtime/RuntimeError.h"
#include "platform/runtime/Text.h"

void clsINIFile::init(const std::string& IniFilename) {
    lines_.clear();
    folded_.clear();
    sectionLines_.clear();
    sectionCount_ = 0;
    lastLineIndex_ = 0;

    profile::FileStatus status = profile::FileStatus::Ok;
    const auto bytes = profile::readWholeFile(IniFilename, &status);
    if (!bytes) {
        const int32_t number = status == profile::FileStatus::Missing  ? runtime::err::kFileNotFound
                               : status == profile::FileStatus::Denied ? runtime::err::kPermissionDenied
                                                                       : runtime::err::kPathFileAccess;
        runtime::raise(number, "clsINIFile.init");
    }
    const std::string text = profile::decodeText(*bytes, profile::detectEncoding(*bytes));

    for (std::size_t pos = 0; pos < text.size();) {
        std::size_t end = text.find('\n', pos);
        const std::size_t next = end == std::string::npos ? text.size() : end + 1;
        if (end == std::string::npos)
            end = text.size();
        else if (end > pos && text[end - 1] == '\r')
            --end;
        lines_.push_back(text.substr(pos, end - pos));
        pos = next;
        if (pos == text.size() && next != end) lines_.emplace_back(); // a text ending in a line break
    }
    lastLineIndex_ = static_cast<int32_t>(lines_.size()) - 1;

    for (std::size_t i = 0; i < lines_.size(); ++i) {
        if (!lines_[i].empty() && lines_[i].front() == '[') {
            lines_[i] = std::string(runtime::trimSpaces(lines_[i]));
            sectionLines_.push_back(static_cast<int32_t>(i));
        }
        folded_.push_back(runtime::foldCase(runtime::toU32(lines_[i])));
    }
    sectionCount_ = static_cast<int32_t>(sectionLines_.size());
    // The end marker lies one past the last line, so a key on a last line without a line break is found.
    sectionLines_.push_back(lastLineIndex_ + 1);
}

std::string clsINIFile::GetItem(std::string_view Section, std::string_view Key,
                                std::string_view DefaultValue) const {
    std::u32string target = U"[";
    target += runtime::foldCase(runtime::toU32(Section));
    target += U']';
    int32_t section = -1;
    for (int32_t i = 0; i < sectionCount_; ++i) {
        if (folded_[static_cast<std::size_t>(sectionLines_[static_cast<std::size_t>(i)])].find(target) !=
            std::u32string::npos) {
            section = i;
            break;
        }
    }
    if (section < 0) return std::string(DefaultValue);

    const std::u32string key = runtime::foldCase(runtime::toU32(Key));
    const int32_t first = sectionLines_[static_cast<std::size_t>(section)] + 1;
    const int32_t last = sectionLines_[static_cast<std::size_t>(section) + 1] - 1;
    for (int32_t i = first; i <= last; ++i) {
        const std::u32string& line = folded_[static_cast<std::size_t>(i)];
        if (line.compare(0, key.size(), key) != 0) continue;
        std::size_t p = key.size();
        while (p < line.size() && line[p] == U' ')
            ++p;
        if (p == line.size() || line[p] != U'=') continue;
        ++p;
        while (p < line.size() && line[p] == U' ')
            ++p;
        // Folding keeps one character per character, so the position holds in the original line.
        return runtime::toUtf8(runtime::toU32(lines_[static_cast<std::size_t>(i)]).substr(p));
    }
    return std::string(DefaultValue);
}
