// The title bar switch through Qt's window flags.
#include "platform/ui/modMemTricks.h"

#include <QWidget>

namespace modMemTricks {

void ShowTitleBar(QWidget& form, bool on) {
    const Qt::WindowFlags flags = form.windowFlags();
    const bool shown = !flags.testFlag(Qt::FramelessWindowHint);
    if (shown == on) return;
    // Changing the flags re-creates the native window, which hides it; put it back where it was.
    const bool visible = form.isVisible();
    const QRect geometry = form.geometry();
    form.setWindowFlag(Qt::FramelessWindowHint, !on);
    form.setGeometry(geometry);
    if (visible) form.show();
}

} // namespace modMemTricks
