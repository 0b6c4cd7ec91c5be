// The recorder's open and save dialogs through the program's one shared dialog object.
#pragma once

#include "frame/clsComDlg.h"
#include "recorder/RecorderPorts.h"

namespace recorder {

// Sets the shared object up as each request asks and runs its dialog. A setting the request leaves
// empty (a folder, the restoring of the current directory) stays as the last caller left it; the exist
// flags are the request's alone.
class ComDlgFileDialogs final : public FileDialogService {
public:
    explicit ComDlgFileDialogs(clsComDlg& dialogs) : dialogs_(dialogs) {}
    std::optional<std::string> ShowOpen(const FileDialogRequest& request) override;
    std::optional<std::string> ShowSave(const FileDialogRequest& request) override;

private:
    void setUp(const FileDialogRequest& request);
    clsComDlg& dialogs_;
};

} // namespace recorder
