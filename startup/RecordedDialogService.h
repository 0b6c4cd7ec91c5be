// The program's test mode for dialogs: message boxes and file dialogs answered without a person, and
// every one written down for the test to read.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "platform/ui/DialogService.h"

namespace startup {

// Set up by main() when NERIXSDR_DIALOG_RECORD or NERIXSDR_DIALOG_ANSWERS names a file.
// - Message boxes get their first button. Record line: title, buttons (a number), prompt.
// - File dialogs take the next line of the answers file: a full path, optionally followed by a tab and
//   the 1-based filter index (otherwise the dialog's own); an empty line cancels. Only lines ended by a
//   line feed count, so a half-written answer is never taken. The file is read again at every dialog
//   and a count of answers taken is kept, so a test may append answers while the program runs; with
//   none left the dialog is cancelled. Record line: title, "file open" or "file save", then the answer
//   as given, "cancel" for an empty line, "bad answer: " and the line for a filter index out of range
//   (cancelled too), or "no answer" when they ran out.
// - A popup menu takes the next answer when it reads "menu", a tab and the caption of the item to
//   choose; the first choosable item with that caption is chosen. Record line: "popup menu", then the
//   caption, or "bad answer: " and the caption when no choosable item carries it (dismissed). When the
//   next answer is not a menu answer, or there is none, the menu is dismissed, nothing is recorded and
//   the answer stays for the dialog it was meant for.
// - Input boxes and colour dialogs are cancelled and not recorded.
// - Once the session ends nothing is recorded or taken: message boxes are answered as the Qt service
//   answers them then (runtime::sessionEndAnswer, the question traced), the other dialogs cancelled.
// Record fields are tab-separated, one dialog a line, line breaks in them written as \r and \n; an
// empty record path records nothing.
class RecordedDialogService final : public ui::CancellingDialogService {
public:
    RecordedDialogService(std::string recordPath, std::string answersPath);

    int32_t MsgBox(const std::string& prompt, int32_t buttons, const std::string& title) override;
    std::optional<ui::FileDialogResult> FileDialog(const ui::FileDialogRequest& request) override;
    int32_t PopupMenu(const std::vector<ui::MenuItem>& items) override;

private:
    void record(const std::string& line) const;

    std::string recordPath_;
    std::string answersPath_;
    std::size_t answersTaken_ = 0;
};

} // namespace startup
