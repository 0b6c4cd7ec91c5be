// The start-up supervisor and its watchdog.
#include "startup/frmSupervisor.h"

#include <QApplication>
#include <QPointer>
#include <QTimer>
#include <QWidget>
#include <syslog.h>

#include "platform/runtime/Hooks.h"
#include "platform/runtime/RuntimeError.h"
#include "startup/BandPlanFiles.h"

namespace {

constexpr const char* kTracePrefix = "frmSupervisor.Initialise";

constexpr std::array<int32_t, kTuningStepCount> kTuningSteps = {
    100000, 90000, 50000, 30000, 25000, 10000, 5000, 2500, 1000, 500, 250, 100, 50, 25, 10, 5, 2, 1};

std::string upper(const std::string& text) {
    std::string out = text;
    for (char& c : out)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return out;
}

} // namespace

frmSupervisor::frmSupervisor(Application& app, Environment env) : app_(app), env_(std::move(env)) {
    setObjectName("frmSupervisor");
    setCaption(runtime::kProductName);
    Timer1.Timer_ = [this] { Timer1_Timer(); };
    Timer1.setEnabled(false);
}

frmSupervisor::~frmSupervisor() {
    if (watchdogExit_) return;
    openlog(runtime::kProductName, LOG_PID, LOG_USER);
    syslog(LOG_INFO, "End");
    closelog();
}

void frmSupervisor::trace(const std::string& text) const {
    runtime::AddLog(kTracePrefix + text);
}

void frmSupervisor::end(int code) {
    endedWith_ = code;
    if (env_.endProcess) env_.endProcess(code);
}

// The supervisor offers the user nothing, so it is never shown.
void frmSupervisor::Form_Load() {
    const int32_t status = Initialise();
    if (status != 0) {
        end(1);
        return;
    }
    // The main window's load builds the radio of the saved model itself, with its serial event control.
    if (!app_.MainWindow) {
        app_.MainContext = app_.mainWindowContext(env_.programFolder);
        if (env_.chrome) app_.MainContext->Chrome = env_.chrome;
        app_.MainWindow = std::make_unique<frmMain>(*app_.MainContext);
    }
    // The watchdog also looks as soon as the main window has unloaded, so the process ends when the
    // shutdown is done rather than up to a tick later. The look is posted: the unload is still on the stack.
    app_.MainWindow->setUnloadedHandler([self = QPointer<frmSupervisor>(this)] {
        if (self) QTimer::singleShot(0, self.data(), [self] { self->watchNow(); });
    });
    app_.MainWindow->Show();
    Timer1.setInterval(1000);
    Timer1.setEnabled(true);
}

void frmSupervisor::watchNow() {
    if (Timer1.Enabled()) Timer1_Timer();
}

int32_t frmSupervisor::Initialise() {
    std::string commandLine;
    for (const auto& arg : env_.arguments)
        commandLine += (commandLine.empty() ? "" : " ") + arg;
    app_.State.TraceOn = commandLine.find("trace") != std::string::npos;

    // Asked before the log window exists: starting the log anew would wipe the running instance's log.
    bool another = false;
    runtime::resumeNext([&] { another = env_.otherInstanceRunning && env_.otherInstanceRunning(); });

    // The log file goes only into a folder the program takes band plans from, so a program folder set to
    // "/", a file or a missing folder never gets one; the lines still reach the list.
    const std::string logFolder =
        startup::bandPlanFiles(env_.programFolder).empty() ? "" : env_.programFolder;
    app_.Log = std::make_unique<frmLog>(app_.State.TraceOn && !another, logFolder, env_.executableName);
    if (app_.State.TraceOn && !another) {
        app_.Log->Show();
        runtime::DoEvents();
    }

    if (another) {
        runtime::resumeNext([] {
            runtime::MsgBox(std::string(runtime::kProductName) + " is already running", runtime::mb::kOkOnly,
                            runtime::kProductName);
        });
        return kAnotherInstance;
    }
    runtime::resumeNext([&] { tellRefusedSettings(); });

    runtime::resumeNext([&] {
        splash_ = std::make_unique<frmSplash1>();
        splash_->Show();
        runtime::DoEvents();
    });

    trace(" : Start");
    trace(" : Initialising Objects");
    {
        startup::ObjectFactory realObjects;
        startup::CreateGlobalObjects(app_, env_.objects ? *env_.objects : realObjects);
    }

    app_.State.BaseIF = 12000;
    trace(" : Nerix.INIT");
    runtime::resumeNext([&] { Nerix::ProbeSPL(app_.State, Nerix::versionRecordReader()); });
    runtime::resumeNext([&] { app_.Nco.InitNCO(30, 16, Nerix::kNcoBlock); });

    trace(" : PublicVars.SDRColourSchemes.Defaults");
    auto& colours = app_.State.SDRColourSchemes;
    colours.Background = 0;
    colours.Label = 0xBFBF00; // 0xFFFF00 at 75 %
    colours.FrameFocus = 0xFFFF00;
    colours.FrameNormal = 0xBFBF00;
    colours.Tuning = 255;
    colours.ScrollLabelNormal = 0xBFBF00;
    colours.ScrollLabelFocus = 255;

    trace(":Initialising BandPlans");
    if (!scanBandPlans()) return kNoBandPlan;

    trace(":Initialising Digital Filter Objects");
    startup::CreateFilterBank(app_);
    trace(":Creating Profiler Object");
    runtime::resumeNext([&] { app_.BlockProfiler = std::make_unique<Profiler>(); });
    trace(":Initialising Tuning Step Array");
    app_.TuningSteps = kTuningSteps;

    app_.State.DRM.PathToDream.clear();
    app_.State.DRM.DreamProgArgs.clear();
    startup::BuildTables(app_);

    trace(":End");
    runtime::resumeNext([&] {
        if (splash_) splash_->Unload();
        splash_.reset();
    });
    trace(" :Initialisation Completed");
    return 0;
}

// Without a word the user would run on defaults and wonder where the settings went.
void frmSupervisor::tellRefusedSettings() const {
    if (!app_.Settings) return;
    const auto refusal = app_.Settings->readRefusal(runtime::kProductName);
    if (!refusal) return;
    runtime::MsgBox("Unable to read the settings file " + refusal->file + "\r\n" + refusal->reason +
                        "\r\nDefault settings are in use, and the file is left as it is",
                    runtime::mb::kExclamation, runtime::kProductName);
}

bool frmSupervisor::scanBandPlans() {
    const std::vector<std::string> files = startup::bandPlanFiles(env_.programFolder);
    if (files.empty()) {
        trace(":No BandPlans found in " + env_.programFolder);
        runtime::resumeNext([&] {
            if (splash_) splash_->Unload();
            runtime::MsgBox("No Bandplan (.bpl) files found - You must have at least 1 Bandplan \r\n"
                            "Please Re-Install Application or find a .BPL file\r\n"
                            "Folder searched: " +
                                env_.programFolder,
                            runtime::mb::kCritical | runtime::mb::kOkOnly,
                            std::string(runtime::kProductName) + " - No Bandplan found");
        });
        return false;
    }
    for (const auto& file : files) {
        trace(":Processing " + file);
        const auto index = static_cast<int32_t>(app_.MainBands.size());
        app_.MainBands.push_back(modBandPlan::newMainBand(env_.programFolder, file, index));
    }
    return true;
}

void frmSupervisor::Timer1_Timer() {
    for (QWidget* w : QApplication::topLevelWidgets()) {
        const auto* form = dynamic_cast<const ui::Form*>(w);
        if (form && form->Loaded() && upper(form->objectName().toStdString()) == "FRMMAIN") return;
    }
    Timer1.setEnabled(false);
    if (app_.State.DRM.DreamCloseOnExit && app_.ProcessWatch) app_.ProcessWatch->CloseProcessWindows();
    for (QWidget* w : QApplication::topLevelWidgets()) {
        auto* form = dynamic_cast<ui::Form*>(w);
        if (form == nullptr || form->objectName() == objectName()) continue;
        runtime::resumeNext([form] { form->Unload(); });
    }
    watchdogExit_ = true;
    if (env_.endProcess) env_.endProcess(0);
}
