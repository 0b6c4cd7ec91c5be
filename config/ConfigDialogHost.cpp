// The Config button's opening of the configuration dialog.
#include "config/ConfigDialogHost.h"

#include "platform/runtime/Hooks.h"

namespace config {

ConfigDialogHost::ConfigDialogHost(ConfigContext& context, QWidget* owner)
    : context_(context), owner_(owner) {}

ConfigDialogHost::~ConfigDialogHost() = default;

void ConfigDialogHost::cmdConfig_Click(NerixDX8* soundCard) {
    if (context_.State.ConfigDialogOpen) return;
    if (!dialog_ || !dialog_->Loaded()) dialog_ = std::make_unique<frmConfig>(context_, owner_);
    dialog_->SoundCard = soundCard;
    dialog_->Show();
    dialog_->raise();
    dialog_->activateWindow();
    runtime::DoEvents();
}

} // namespace config
