// The front panel as a component of the main window: the front panel's core over the window's
// neighbours, the readout and dial, and the receiver's controls in their frames and the window's panels.
// It offers the start-up the steps that set the panel up, and the window the knob table.
#pragma once

#include <memory>

#include "mainwindow/MainWindowComponents.h"

namespace mainwindow {

// The program's front panel. The display, when the host has one, must outlive it.
std::unique_ptr<FrontPanelComponent> makeFrontPanel(ComponentHost& host);

} // namespace mainwindow
