// The main window's start-up.
#include "mainwindow/frmMain.h"

#include "frame/ScopedFlag.h"
#include "platform/runtime/Hooks.h"

frmMain::frmMain(ReceiverState& state) : state_(state) {
    setObjectName("frmMain");
    setClientSize(14160, 4245);
}

void frmMain::trace(const char* step) const {
    runtime::AddLog(std::string("frmMain:frmMain:Form_Load") + step);
}

void frmMain::Form_Load() {
    trace(":Start");
    setCaption(runtime::kProductName);
    if (FormLoadBusy) return;
    const ScopedFlag busy(FormLoadBusy);
    const ScopedFlag loading(FormLoading);

    trace(":Making frmMain Visible");
    show();
    setBackColor(state_.SDRColourSchemes.Background);
}
