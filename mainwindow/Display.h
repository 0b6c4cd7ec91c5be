// The display as a component of the main window: the spectrum analyser the load creates, its two
// pictures and its switch in the scope panel, and the adapters through which the receive path, the front
// panel and the configuration dialog reach the analyser (each raises Object variable not set, or feeds
// nothing, while the analyser is missing).
#pragma once

#include <memory>

#include "mainwindow/MainWindowComponents.h"

namespace mainwindow {

std::unique_ptr<DisplayComponent> makeDisplay(ComponentHost& host);

} // namespace mainwindow
