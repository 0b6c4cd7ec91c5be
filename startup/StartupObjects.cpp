// The start-up's long-lived objects and tables.
#include "startup/StartupObjects.h"

#include "platform/ui/QtDialogService.h"
#include "platform/ui/QtPlatformTimers.h"

#include "platform/runtime/Hooks.h"
#include "platform/runtime/RuntimeError.h"
#include "radio/SettingsSection.h"

namespace startup {
namespace {

template <class T> T& device(const std::unique_ptr<T>& held, const char* name) {
    if (!held) runtime::raise(runtime::err::kObjectNotSet, name);
    return *held;
}

profile::SettingsStore& settings(Application& app) {
    return device(app.Settings, "Application.Settings");
}

} // namespace

std::unique_ptr<clsVFO> ObjectFactory::makeVfo(Application& app) {
    return std::make_unique<clsVFO>(settings(app));
}
std::unique_ptr<clsDDSSerialIF> ObjectFactory::makeSerialLine(Application& app) {
    return std::make_unique<clsDDSSerialIF>(settings(app), app.Timing,
                                            device(app.SerialPorts, "Application.SerialPorts"));
}
std::unique_ptr<clsDDSParallelIF> ObjectFactory::makeParallelLine(Application& app) {
    return std::make_unique<clsDDSParallelIF>(settings(app), app.Timing,
                                              device(app.ParallelPort, "Application.ParallelPort"));
}
std::unique_ptr<clsDDSNullIF> ObjectFactory::makeNullLine(Application& app) {
    return std::make_unique<clsDDSNullIF>(settings(app));
}
std::unique_ptr<clsFTDIDRB30> ObjectFactory::makeDrb30Line(Application& app) {
    return std::make_unique<clsFTDIDRB30>(device(app.FtdiDriver, "Application.FtdiDriver"), settings(app),
                                          app.Timing);
}
std::unique_ptr<clsFTDIUS232C> ObjectFactory::makeUs232cLine(Application& app) {
    return std::make_unique<clsFTDIUS232C>(device(app.FtdiDriver, "Application.FtdiDriver"), settings(app),
                                           app.Timing);
}
std::unique_ptr<clsFT232IF> ObjectFactory::makeFt232Line(Application& app) {
    return std::make_unique<clsFT232IF>(device(app.FtdiDriver, "Application.FtdiDriver"), settings(app),
                                        app.Timing);
}
std::unique_ptr<clsAD9835> ObjectFactory::makeAd9835Osc(Application& app) {
    return std::make_unique<clsAD9835>(settings(app));
}
std::unique_ptr<clsAD9850> ObjectFactory::makeAd9850Osc(Application& app) {
    return std::make_unique<clsAD9850>(settings(app));
}
std::unique_ptr<clsAD9851> ObjectFactory::makeAd9851Osc(Application& app) {
    return std::make_unique<clsAD9851>(settings(app));
}
std::unique_ptr<clsAD9951> ObjectFactory::makeAd9951Osc(Application& app) {
    return std::make_unique<clsAD9951>(settings(app));
}
std::unique_ptr<clsCY27EE16> ObjectFactory::makeCy27ee16Osc(Application& app) {
    return std::make_unique<clsCY27EE16>(settings(app));
}
std::unique_ptr<clsSoftDDS> ObjectFactory::makeSoftDdsOsc(Application& app) {
    return std::make_unique<clsSoftDDS>(settings(app));
}
std::unique_ptr<clsHamlib> ObjectFactory::makeHamlibOsc(Application& app) {
    return std::make_unique<clsHamlib>(settings(app), device(app.Rigs, "Application.Rigs"));
}

void CreateGlobalObjects(Application& app, ObjectFactory& factory) {
    runtime::resumeNext([&] { app.Vfo = factory.makeVfo(app); });
    runtime::resumeNext([&] { app.SerialLine = factory.makeSerialLine(app); });
    runtime::resumeNext([&] { app.ParallelLine = factory.makeParallelLine(app); });
    runtime::resumeNext([&] { app.NullLine = factory.makeNullLine(app); });
    runtime::resumeNext([&] { app.Drb30Line = factory.makeDrb30Line(app); });
    runtime::resumeNext([&] { app.Us232cLine = factory.makeUs232cLine(app); });
    runtime::resumeNext([&] { app.Ft232Line = factory.makeFt232Line(app); });
    runtime::resumeNext([&] { app.Ad9835Osc = factory.makeAd9835Osc(app); });
    runtime::resumeNext([&] { app.Ad9850Osc = factory.makeAd9850Osc(app); });
    runtime::resumeNext([&] { app.Ad9851Osc = factory.makeAd9851Osc(app); });
    runtime::resumeNext([&] { app.Ad9951Osc = factory.makeAd9951Osc(app); });
    runtime::resumeNext([&] { app.Cy27ee16Osc = factory.makeCy27ee16Osc(app); });
    runtime::resumeNext([&] { app.SoftDdsOsc = factory.makeSoftDdsOsc(app); });
    runtime::resumeNext([&] { app.HamlibOsc = factory.makeHamlibOsc(app); });
}

void CreateFilterBank(Application& app) {
    runtime::resumeNext([&] { app.Filters = Nerix::CreateFilterBank(app.Nerix, app.State.BaseIF); });
}

void BuildTables(Application& app) {
    runtime::resumeNext([&] { RXDefinitions::Initialise(app.RxModels, app.State.BaseIF); });
    runtime::resumeNext([&] { app.RigList.BuildRigList(); });
}

void InitialiseRX(Application& app, comm::MSComm* msComm1) {
    const SettingsSection frmMain(settings(app), "frmMain", "frmMain");
    app.State.SDRModelNo = frmMain.readInt32("SDRModelNo", 0);
    app.State.EnableShaftEncoder = frmMain.readBool("EnableShaftEncoder", false);
    runtime::AddLog("frmMain.InitialiseRX:Start");
    int32_t model = -1;
    app.SetupRX.InitialiseRX(model, app.receiverGlobals(msComm1));
    runtime::AddLog("frmMain.InitialiseRX:End");
}

} // namespace startup

std::unique_ptr<mainwindow::MainWindowContext>
Application::mainWindowContext(const std::string& programFolder) {
    if (!Settings) runtime::raise(runtime::err::kObjectNotSet, "Application.Settings");
    // What the program's main() did not give is the platform's own.
    if (!Dialogs) Dialogs = std::make_unique<ui::QtDialogService>();
    if (!Timers) Timers = std::make_unique<ui::QtPlatformTimers>();
    if (!Files) Files = std::make_unique<files::PosixFileSystem>();
    auto c = std::unique_ptr<mainwindow::MainWindowContext>(new mainwindow::MainWindowContext{
        *Settings,
        State,
        Nerix,
        Nco,
        [this] { return Vfo.get(); },
        [this] { return radioObjects(); },
        Filters.get(),
        BlockProfiler.get(),
        MainBands,
        BandPlan,
        TuningSteps,
        RxModels,
        RigList,
        SetupRX,
        *Dialogs,
        *Timers,
        *Files,
        Sound.get(),
        SerialPorts.get(),
        ProcessWatch.get(),
        programFolder,
        [this](comm::MSComm* msComm1) { startup::InitialiseRX(*this, msComm1); },
        std::nullopt});
    c->ReleaseRX = [this] { SetupRX.ReleaseRX(); };
    // The shutdown's order; each release on its own guard, as the shutdown's steps are.
    c->ReleaseRadioObjects = [this] {
        const auto step = [](auto&& f) { runtime::resumeNext(f); };
        step([&] {
            if (Vfo && Vfo->OscType()) Vfo->OscType()->setIFHandler(nullptr);
        });
        step([&] { ParallelLine.reset(); });
        step([&] { SerialLine.reset(); });
        step([&] { NullLine.reset(); });
        step([&] { Drb30Line.reset(); });
        step([&] { Us232cLine.reset(); });
        step([&] { Ft232Line.reset(); });
        step([&] {
            if (Vfo) Vfo->setOscType(nullptr);
        });
        step([&] { SoftDdsOsc.reset(); });
        step([&] { Ad9835Osc.reset(); });
        step([&] { Ad9951Osc.reset(); });
        step([&] { Ad9850Osc.reset(); });
        step([&] { Vfo.reset(); });
    };
    return c;
}
