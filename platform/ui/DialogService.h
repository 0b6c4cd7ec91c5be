// Modal dialogs as a service (message and input boxes, popup menus, file and colour dialogs), so that
// tests replace them with a scripted fake and no headless test waits on a window.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace ui {

struct FileDialogRequest {
    bool isOpen = true;
    std::string title;
    std::string initialDirectory;
    std::string fileName;
    std::vector<std::pair<std::string, std::string>> filters; // description, pattern
    int32_t filterIndex = 1;                                  // 1-based
    std::string defaultExtension;
    bool allowMultiSelect = false;
    bool fileMustExist = false;   // open only
    bool pathMustExist = false;   // the chosen file's folder must exist
    bool createPrompt = false;    // open only: offer to create a missing file
    bool overwritePrompt = false; // save only
    bool showReadOnly = false;
    bool readOnly = false;
};

struct FileDialogResult {
    std::vector<std::string> files; // full paths
    int32_t filterIndex = 1;
    bool readOnly = false;
};

// One item of a popup menu: a caption of "-" is a separator; a disabled item is shown greyed and
// cannot be chosen.
struct MenuItem {
    MenuItem(std::string caption, bool enabled = true) : Caption(std::move(caption)), Enabled(enabled) {}
    MenuItem(const char* caption, bool enabled = true) : Caption(caption), Enabled(enabled) {}
    bool separator() const { return Caption == "-"; }
    bool choosable() const { return Enabled && !separator(); }
    bool operator==(const MenuItem&) const = default;

    std::string Caption;
    bool Enabled = true;
};

struct ColourDialogRequest {
    int32_t initialColour = 0; // 0x00BBGGRR
    std::array<int32_t, 16> customColours{};
    bool fullOpen = false;
};

struct ColourDialogResult {
    int32_t colour = 0;
    std::array<int32_t, 16> customColours{};
};

class DialogService {
public:
    virtual ~DialogService() = default;

    // Buttons, icon and answers as in runtime::mb.
    virtual int32_t MsgBox(const std::string& prompt, int32_t buttons, const std::string& title) = 0;
    // The text entered, or nothing when cancelled (callers that read a cancel as empty text take
    // value_or("")).
    virtual std::optional<std::string> InputBox(const std::string& prompt, const std::string& title,
                                                const std::string& defaultText) = 0;
    // The 0-based index of the item chosen (separators count), or -1 when the menu was dismissed.
    virtual int32_t PopupMenu(const std::vector<MenuItem>& items) = 0;
    // Nothing when cancelled.
    virtual std::optional<FileDialogResult> FileDialog(const FileDialogRequest& request) = 0;
    virtual std::optional<ColourDialogResult> ColourDialog(const ColourDialogRequest& request) = 0;
};

// Where no person answers: every dialog but the message box is cancelled.
class CancellingDialogService : public DialogService {
public:
    std::optional<std::string> InputBox(const std::string&, const std::string&, const std::string&) override {
        return std::nullopt;
    }
    int32_t PopupMenu(const std::vector<MenuItem>&) override { return -1; }
    std::optional<FileDialogResult> FileDialog(const FileDialogRequest&) override { return std::nullopt; }
    std::optional<ColourDialogResult> ColourDialog(const ColourDialogRequest&) override {
        return std::nullopt;
    }
};

} // namespace ui
