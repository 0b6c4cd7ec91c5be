// Answering the dialogs that are up when the session ends.
#include "platform/ui/SessionAnswers.h"

#include <QApplication>
#include <QDialog>
#include <QMenu>
#include <QPointer>

#include "platform/runtime/NestedLoops.h"

namespace ui {

void answerDialogsForSessionEnd() {
    // Closing one may destroy another (a dialog's own popup): each is looked at through a guard.
    QList<QPointer<QWidget>> windows;
    for (QWidget* w : QApplication::topLevelWidgets())
        windows.push_back(w);
    for (const QPointer<QWidget>& w : windows) {
        if (!w || !w->isVisible()) continue;
        if (auto* menu = qobject_cast<QMenu*>(w.data())) {
            menu->close();
        } else if (auto* dialog = qobject_cast<QDialog*>(w.data())) {
            dialog->reject();
        } else if (w->property(kWaitingProperty).toBool()) {
            w->close();
            // A form that refused its unload still ends the wait.
            if (w && w->isVisible()) w->hide();
        }
    }
}

void beginSessionEnd() {
    runtime::setSessionEnding(true);
    answerDialogsForSessionEnd();
}

} // namespace ui
