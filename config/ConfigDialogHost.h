// The main window's side of the configuration dialog: its Config button shows the one dialog, loading it
// first when it is not loaded. A dialog closed through its close box is unloaded, and the next opening
// makes it afresh, as an unloaded form's controls are.
#pragma once

#include <memory>

#include "config/ConfigContext.h"
#include "config/frmConfig.h"

class NerixDX8;
class QWidget;

namespace config {

class ConfigDialogHost {
public:
    // owner: the main window, which owns the dialog's window.
    ConfigDialogHost(ConfigContext& context, QWidget* owner);
    ~ConfigDialogHost();
    ConfigDialogHost(const ConfigDialogHost&) = delete;
    ConfigDialogHost& operator=(const ConfigDialogHost&) = delete;

    // The Config button: nothing while the dialog is open; otherwise hands the sound engine in, shows
    // the dialog (filling it when it is loaded now) and pumps the message loop once.
    void cmdConfig_Click(NerixDX8* soundCard);

    // The dialog, once it has been opened.
    frmConfig* dialog() const noexcept { return dialog_.get(); }

private:
    ConfigContext& context_;
    QWidget* owner_;
    std::unique_ptr<frmConfig> dialog_;
};

} // namespace config
