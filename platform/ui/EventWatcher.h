// Delivers the mouse, key and focus events of a control's widget to the control's handlers.
#pragma once

#include <QObject>

#include "platform/ui/Control.h"

class QKeyEvent;
class QMouseEvent;

namespace ui {

class EventWatcher final : public QObject {
public:
    // Made as the control's widget's child, so it goes with the widget.
    EventWatcher(QWidget* w, Control& control);
    // The handler a left click runs, for controls whose clicks come from the mouse alone.
    Handler* click = nullptr;

protected:
    bool eventFilter(QObject*, QEvent* e) override;

private:
    bool overChildControl(const QMouseEvent* m) const;
    bool mouse(QMouseEvent* m);
    bool key(QKeyEvent* k);

    Control& control_;
    bool afterDoubleClick_ = false;
};

} // namespace ui
