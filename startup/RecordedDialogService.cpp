// The program's test mode for dialogs: answers from a file, and a record of every dialog.
#include "startup/RecordedDialogService.h"

#include <charconv>
#include <fstream>
#include <optional>
#include <sstream>
#include <vector>

#include "platform/runtime/Hooks.h"
#include "platform/runtime/NestedLoops.h"

namespace startup {

namespace {

std::string escaped(const std::string& text) {
    std::string out;
    for (const char c : text) {
        if (c == '\r')
            out += "\\r";
        else if (c == '\n')
            out += "\\n";
        else
            out += c;
    }
    return out;
}

// Only complete lines: the writer may be half-way through the last one.
std::vector<std::string> completeLines(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    std::vector<std::string> lines;
    const std::string all = text.str();
    std::size_t start = 0;
    for (std::size_t end = all.find('\n'); end != std::string::npos; end = all.find('\n', start)) {
        std::string line = all.substr(start, end - start);
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back(std::move(line));
        start = end + 1;
    }
    return lines;
}

// The filter index after the tab, when it is a whole number naming one of the request's filters.
std::optional<int32_t> filterIndexOf(const std::string& text, const ui::FileDialogRequest& request) {
    int32_t index = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), index);
    if (error != std::errc() || end != text.data() + text.size()) return std::nullopt;
    if (index < 1 || static_cast<std::size_t>(index) > request.filters.size()) return std::nullopt;
    return index;
}

} // namespace

RecordedDialogService::RecordedDialogService(std::string recordPath, std::string answersPath)
    : recordPath_(std::move(recordPath)), answersPath_(std::move(answersPath)) {}

void RecordedDialogService::record(const std::string& line) const {
    if (recordPath_.empty()) return;
    std::ofstream(recordPath_, std::ios::binary | std::ios::app) << line << '\n';
}

int32_t RecordedDialogService::MsgBox(const std::string& prompt, int32_t buttons, const std::string& title) {
    // As the real service: once the session ends nobody answers, and the question goes to the trace.
    if (runtime::sessionEnding()) {
        runtime::AddLog(title + ": " + prompt);
        return runtime::sessionEndAnswer(buttons);
    }
    record(title + '\t' + std::to_string(buttons) + '\t' + escaped(prompt));
    switch (buttons & 7) {
    case runtime::mb::kAbortRetryIgnore:
        return runtime::mb::kAbort;
    case runtime::mb::kYesNoCancel:
    case runtime::mb::kYesNo:
        return runtime::mb::kYes;
    case runtime::mb::kRetryCancel:
        return runtime::mb::kRetry;
    default:
        return runtime::mb::kOk;
    }
}

std::optional<ui::FileDialogResult> RecordedDialogService::FileDialog(const ui::FileDialogRequest& request) {
    if (runtime::sessionEnding()) return std::nullopt;
    const std::string head = escaped(request.title) + (request.isOpen ? "\tfile open\t" : "\tfile save\t");
    const auto lines = answersPath_.empty() ? std::vector<std::string>{} : completeLines(answersPath_);
    if (answersTaken_ >= lines.size()) {
        record(head + "no answer");
        return std::nullopt;
    }
    const std::string& answer = lines[answersTaken_++];
    if (answer.empty()) {
        record(head + "cancel");
        return std::nullopt;
    }
    ui::FileDialogResult result;
    result.filterIndex = request.filterIndex;
    result.readOnly = request.readOnly;
    const auto tab = answer.find('\t');
    if (tab != std::string::npos) {
        const auto index = filterIndexOf(answer.substr(tab + 1), request);
        if (!index) {
            record(head + "bad answer: " + escaped(answer));
            return std::nullopt;
        }
        result.filterIndex = *index;
    }
    result.files.push_back(answer.substr(0, tab));
    record(head + escaped(answer));
    return result;
}

int32_t RecordedDialogService::PopupMenu(const std::vector<ui::MenuItem>& items) {
    if (runtime::sessionEnding()) return -1;
    static const std::string kMenu = "menu\t";
    const auto lines = answersPath_.empty() ? std::vector<std::string>{} : completeLines(answersPath_);
    if (answersTaken_ >= lines.size() || lines[answersTaken_].rfind(kMenu, 0) != 0) return -1;
    const std::string caption = lines[answersTaken_++].substr(kMenu.size());
    for (std::size_t i = 0; i < items.size(); ++i) {
        if (items[i].choosable() && items[i].Caption == caption) {
            record("popup menu\t" + escaped(caption));
            return static_cast<int32_t>(i);
        }
    }
    record("popup menu\tbad answer: " + escaped(caption));
    return -1;
}

} // namespace startup
