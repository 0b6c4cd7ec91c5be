// The recorder's file dialogs over clsComDlg.
#include "recorder/RecorderFileDialogs.h"

namespace recorder {

void ComDlgFileDialogs::setUp(const FileDialogRequest& request) {
    dialogs_.setAllowMultiSelect(false);
    dialogs_.setDialogTitle(request.DialogTitle);
    if (request.RestoreCurDir) dialogs_.setRestoreCurDir(true);
    if (!request.Directory.empty()) dialogs_.setDirectory(request.Directory);
    dialogs_.clearExistFlags();
    dialogs_.setExistFlags(request.ExistFlags);
    dialogs_.setFileName(request.FileName);
    dialogs_.setExtension(request.Extension);
    dialogs_.setFilter(request.Filter);
    dialogs_.setReadOnlyIsVisible(request.ReadOnlyIsVisible);
}

std::optional<std::string> ComDlgFileDialogs::ShowOpen(const FileDialogRequest& request) {
    setUp(request);
    if (!dialogs_.ShowOpen()) return std::nullopt;
    return dialogs_.FileName();
}

std::optional<std::string> ComDlgFileDialogs::ShowSave(const FileDialogRequest& request) {
    setUp(request);
    if (!dialogs_.ShowSave()) return std::nullopt;
    return dialogs_.FileName();
}

} // namespace recorder
