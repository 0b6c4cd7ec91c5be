// NerixSDR's entry point: checks for a display, makes the application object and hands over to the
// start-up supervisor.
#include <QApplication>
#include <QCoreApplication>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "dsp/FFTWisdom.h"
#include "platform/comm/LinuxSerialPorts.h"
#include "platform/files/FileSystem.h"
#include "platform/ftdi/LibFtdiDriver.h"
#include "platform/parport/PpdevParallelPort.h"
#include "platform/process/InstanceLock.h"
#include "platform/process/ProcProcessTable.h"
#include "platform/process/X11WindowSystem.h"
#include "platform/profile/FileSettingsStore.h"
#include "platform/profile/ProgramFolder.h"
#include "platform/runtime/Hooks.h"
#include "platform/runtime/NestedLoops.h"
#include "platform/runtime/PostQueue.h"
#include "platform/runtime/RuntimeError.h"
#include "platform/sound/RtAudioSoundSystem.h"
#include "platform/ui/Fonts.h"
#include "platform/ui/PostQueueWatcher.h"
#include "platform/ui/QtDialogService.h"
#include "platform/ui/QtPlatformTimers.h"
#include "platform/ui/SessionAnswers.h"
#include "platform/ui/UiHooks.h"
#include "startup/Application.h"
#include "startup/RecordedDialogService.h"
#include "startup/SessionEnd.h"
#include "startup/frmSupervisor.h"

namespace {

bool haveDisplay() {
    return std::getenv("DISPLAY") || std::getenv("WAYLAND_DISPLAY") || std::getenv("QT_QPA_PLATFORM");
}

std::string environment(const char* name) {
    const char* value = std::getenv(name);
    return value ? value : "";
}

std::string fileName(const char* path) {
    const std::string p = path ? path : runtime::kProductName;
    const auto slash = p.rfind('/');
    return slash == std::string::npos ? p : p.substr(slash + 1);
}

// The application object's long-lived parts: the settings store, the dialogs (recorded in the test mode),
// the platform's services and the receiver's devices, none of which opens anything yet.
void makeApplication(Application& app) {
    app.Settings = std::make_unique<profile::FileSettingsStore>();
    // The test mode: dialogs answered from a file and written down, no person at the screen.
    if (const std::string record = environment("NERIXSDR_DIALOG_RECORD"),
        answers = environment("NERIXSDR_DIALOG_ANSWERS");
        !record.empty() || !answers.empty())
        app.Dialogs = std::make_unique<startup::RecordedDialogService>(record, answers);
    else
        app.Dialogs = std::make_unique<ui::QtDialogService>();
    app.Timers = std::make_unique<ui::QtPlatformTimers>();
    app.Files = std::make_unique<files::PosixFileSystem>();
    // Without a sound server the program still starts; the power button then reports the failure.
    runtime::resumeNext([&app] { app.Sound = sound::createRtAudioSoundSystem(); });
    app.Processes = std::make_unique<process::ProcProcessTable>();
    app.Windows = std::make_unique<process::X11WindowSystem>();
    app.ProcessWatch = std::make_unique<modIsProcessRunning::ProcessWatch>(*app.Processes, *app.Windows);
    // The receiver's devices; none opens anything before the receiver set-up asks for it.
    comm::LinuxSerialPorts::Options serial;
    serial.store = app.Settings.get();
    app.SerialPorts = std::make_unique<comm::LinuxSerialPorts>(serial);
    app.ParallelPort = std::make_unique<parport::PpdevParallelPort>();
    app.FtdiDriver = std::make_unique<ftdi::LibFtdiDriver>();
    app.Rigs = std::make_unique<RigBridgeLibrary>();
}

frmSupervisor::Environment supervisorEnvironment(Application& app, std::vector<std::string> arguments,
                                                 const std::string& executableName) {
    frmSupervisor::Environment env;
    env.arguments = std::move(arguments);
    env.programFolder = profile::programFolder();
    env.executableName = executableName;
    env.otherInstanceRunning = [&app] {
        app.Instance = std::make_unique<process::InstanceLock>(runtime::kProductName);
        return app.Instance->result() == process::InstanceLockResult::HeldByAnother;
    };
    env.endProcess = [](int code) { QCoreApplication::exit(code); };
    return env;
}

// Runs the supervisor and the event loop; the exit code.
int run(Application& app, frmSupervisor::Environment env) {
    // Message boxes, the message-loop pump and the trace log reach Qt-free code from here on.
    ui::UiHooks hooks(*app.Dialogs, [&app](const std::string& line) {
        if (app.Log) app.Log->AddLog(line);
    });
    // The session's end answers what waits for a person and closes the main window as its close box does,
    // so the run's settings are saved; a close that arrives inside a handler waits for its return.
    std::unique_ptr<startup::SessionEnd> sessionEnd;
    runtime::resumeNext([&] {
        sessionEnd = std::make_unique<startup::SessionEnd>([&app] {
            ui::beginSessionEnd();
            if (app.MainWindow) app.MainWindow->close();
        });
    });

    // FFTW's measured plans of earlier runs reach the library before the filter bank makes its plans.
    runtime::PostQueue posted;
    ui::PostQueueWatcher postedWatcher(posted);
    Nerix::DllPlanLibrary planLibrary(app.NerixLibrary);
    Nerix::FFTWisdom wisdom(planLibrary, Nerix::FFTWisdom::defaultFile());
    runtime::resumeNext([&] { wisdom.load(); });

    frmSupervisor supervisor(app, std::move(env));
    supervisor.Load();
    int result = 0;
    if (const auto ended = supervisor.EndedWith()) {
        result = *ended;
    } else {
        // The session ended before the main window was there to be closed.
        if (runtime::sessionEnding() && app.MainWindow) app.MainWindow->close();
        // Measured once the window is up, so no start waits for FFTW's timing, and saved from this thread,
        // which makes every other plan.
        runtime::resumeNext([&] {
            wisdom.measureInBackground([&posted, &wisdom] {
                posted.post([&wisdom] { runtime::resumeNext([&wisdom] { wisdom.save(); }); });
            });
        });
        result = QApplication::exec();
    }
    // The main window goes before what it uses; the rest goes with the application object, the
    // settings store last, which writes what the shutdown saved.
    app.MainWindow.reset();
    app.MainContext.reset();
    return result;
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
    // Taken before Qt removes its own options from the command line.
    std::vector<std::string> arguments(argv + 1, argv + argc);
    const std::string executableName = fileName(argv[0]);

    QApplication qapp(argc, argv);
    QApplication::setApplicationName(runtime::kProductName);
    // The watchdog ends the program once the main window has gone, after closing the decoder.
    QApplication::setQuitOnLastWindowClosed(false);
    ui::installDesignFonts();

    Application app;
    makeApplication(app);
    return run(app, supervisorEnvironment(app, std::move(arguments), executableName));
}
