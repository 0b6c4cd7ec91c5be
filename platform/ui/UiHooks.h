// Installs the run-time hooks for the life of the UI: the message-loop pump, the trace log and message
// boxes through the dialog service, so that Qt-free code reaches them.
#pragma once

#include <functional>
#include <string>

#include "platform/runtime/Hooks.h"
#include "platform/ui/DialogService.h"

namespace ui {

class UiHooks {
public:
    UiHooks(DialogService& dialogs, std::function<void(const std::string&)> addLog);

private:
    runtime::ScopedHooks hooks_;
};

} // namespace ui
