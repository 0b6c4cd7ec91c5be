// NerixSDR's entry point: checks for a display, then hands over to the start-up.
#include <QApplication>
#include <QWidget>
#include <cstdio>
#include <cstdlib>

#include "frame/Application.h"
#include "platform/runtime/Hooks.h"
#include "platform/ui/QtDialogService.h"
#include "platform/ui/UiHooks.h"

namespace {

bool haveDisplay() {
    return std::getenv("DISPLAY") || std::getenv("WAYLAND_DISPLAY") || std::getenv("QT_QPA_PLATFORM");
}

} // namespace

int main(int argc, char** argv) {
    if (!haveDisplay()) {
        std::fprintf(stderr,
                     "%s needs a graphical display, and none is set (DISPLAY and WAYLAND_DISPLAY are "
                     "empty). Start it from a desktop session.\n",
                     runtime::kProductName);
        return 1;
    }
    QApplication qapp(argc, argv);
    QApplication::setApplicationName(runtime::kProductName);

    int result = 0;
    {
        // Message boxes and the message-loop pump reach Qt-free code from here on; the trace log joins
        // when the start-up creates it.
        ui::QtDialogService dialogs;
        ui::UiHooks hooks(dialogs, {});
        Application app;
        app.BlockProfiler = std::make_unique<Profiler>();
        QWidget window;
        window.setWindowTitle(runtime::kProductName);
        window.resize(800, 600);
        window.show();
        result = QApplication::exec();
    }
    return result;
}
