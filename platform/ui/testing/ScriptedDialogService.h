// A dialog service that answers from a script and records every request, so tests drive dialogs
// without a window. A dialog with no scripted answer is recorded as unexpected and cancelled.
#pragma once

#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "platform/runtime/Hooks.h"
#include "platform/ui/DialogService.h"

namespace ui::testing {

class ScriptedDialogService final : public DialogService {
public:
    struct Message {
        std::string prompt;
        int32_t buttons;
        std::string title;
    };

    std::deque<int32_t> msgBoxAnswers;
    std::deque<std::optional<std::string>> inputAnswers;
    std::deque<int32_t> menuAnswers;
    std::deque<std::optional<FileDialogResult>> fileAnswers;
    std::deque<std::optional<ColourDialogResult>> colourAnswers;

    std::vector<Message> messages;
    std::vector<std::string> inputPrompts;
    std::vector<std::vector<MenuItem>> menus;
    std::vector<FileDialogRequest> fileRequests;
    std::vector<ColourDialogRequest> colourRequests;
    int unexpected = 0;

    int32_t MsgBox(const std::string& prompt, int32_t buttons, const std::string& title) override {
        messages.push_back({prompt, buttons, title});
        return next(msgBoxAnswers, runtime::mb::kCancel);
    }
    std::optional<std::string> InputBox(const std::string& prompt, const std::string&,
                                        const std::string&) override {
        inputPrompts.push_back(prompt);
        return next(inputAnswers, std::optional<std::string>{});
    }
    // An answer naming a separator or a disabled item is one no user could give: it counts as
    // unexpected and the menu is dismissed.
    int32_t PopupMenu(const std::vector<MenuItem>& items) override {
        menus.push_back(items);
        const int32_t answer = next(menuAnswers, -1);
        if (answer < 0) return -1;
        if (answer >= static_cast<int32_t>(items.size()) ||
            !items[static_cast<std::size_t>(answer)].choosable()) {
            ++unexpected;
            return -1;
        }
        return answer;
    }
    std::optional<FileDialogResult> FileDialog(const FileDialogRequest& request) override {
        fileRequests.push_back(request);
        return next(fileAnswers, std::optional<FileDialogResult>{});
    }
    std::optional<ColourDialogResult> ColourDialog(const ColourDialogRequest& request) override {
        colourRequests.push_back(request);
        return next(colourAnswers, std::optional<ColourDialogResult>{});
    }

private:
    template <class T> T next(std::deque<T>& answers, T cancelled) {
        if (answers.empty()) {
            ++unexpected;
            return cancelled;
        }
        T answer = std::move(answers.front());
        answers.pop_front();
        return answer;
    }
};

} // namespace ui::testing
