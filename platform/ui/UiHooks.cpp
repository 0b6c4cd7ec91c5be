// The UI's hooks.
#include "platform/ui/UiHooks.h"

#include <QCoreApplication>

namespace ui {

namespace {
runtime::Hooks make(DialogService& dialogs, std::function<void(const std::string&)> addLog) {
    runtime::Hooks h;
    h.doEvents = [] { QCoreApplication::processEvents(QEventLoop::AllEvents); };
    h.addLog = std::move(addLog);
    h.msgBox = [&dialogs](const std::string& prompt, int32_t buttons, const std::string& title) {
        return dialogs.MsgBox(prompt, buttons, title);
    };
    return h;
}
} // namespace

UiHooks::UiHooks(DialogService& dialogs, std::function<void(const std::string&)> addLog)
    : hooks_(make(dialogs, std::move(addLog))) {}

} // namespace ui
