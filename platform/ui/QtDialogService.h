// The dialog service over Qt's own dialogs (owned by the active window).
#pragma once

#include "platform/ui/DialogService.h"

namespace ui {

class QtDialogService final : public DialogService {
public:
    int32_t MsgBox(const std::string& prompt, int32_t buttons, const std::string& title) override;
    std::optional<std::string> InputBox(const std::string& prompt, const std::string& title,
                                        const std::string& defaultText) override;
    int32_t PopupMenu(const std::vector<MenuItem>& items) override;
    std::optional<FileDialogResult> FileDialog(const FileDialogRequest& request) override;
    std::optional<ColourDialogResult> ColourDialog(const ColourDialogRequest& request) override;
};

} // namespace ui
