// The start-up's objects and tables: the fourteen objects made in their order and left unwired, a step
// that fails leaving its object absent and a clear error behind, the filter bank and tables, the saved
// model's radio built as the main window loads, and the release order at exit.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "platform/process/testing/FakeProcessSystem.h"
#include "platform/profile/testing/TempFolder.h"
#include "platform/runtime/Hooks.h"
#include "radio/testing/PinBench.h"
#include "radio/testing/SimFtdiDriver.h"
#include "radio/testing/SimParallelPort.h"
#include "radio/testing/SimSerialLines.h"
#include "startup/StartupObjects.h"
#include "startup/frmSupervisor.h"

using profile::testing::TempFolder;

namespace {

class NoRig final : public RigBridge {
public:
    int32_t rig_set_debug(int32_t) override { return 0; }
    int32_t rig_init(int32_t) override { return 0; }
    int32_t rig_open(int32_t) override { return 0; }
    int32_t rig_set_freq(int32_t, int32_t, double) override { return 0; }
    int32_t rig_close(int32_t) override { return 0; }
    int32_t rig_cleanup(int32_t) override { return 0; }
};

// Makes the objects over simulated devices and a simulated clock, writing down each one it makes; one
// object can be made to fail as a constructor would.
class SimObjects final : public startup::ObjectFactory, public pins::PinBench {
public:
    SimObjects() {
        ports.plugIn(1);
        driver.plugIn("DRB USB ADP");
        driver.plugIn("US232C");
        driver.plugIn("FT232R USB UART");
    }

    std::unique_ptr<clsVFO> makeVfo(Application& app) override {
        made("Vfo");
        return std::make_unique<clsVFO>(*app.Settings);
    }
    std::unique_ptr<clsDDSSerialIF> makeSerialLine(Application& app) override {
        made("SerialLine");
        return std::make_unique<clsDDSSerialIF>(*app.Settings, timing, ports);
    }
    std::unique_ptr<clsDDSParallelIF> makeParallelLine(Application& app) override {
        made("ParallelLine");
        return std::make_unique<clsDDSParallelIF>(*app.Settings, timing, lpt);
    }
    std::unique_ptr<clsDDSNullIF> makeNullLine(Application& app) override {
        made("NullLine");
        return std::make_unique<clsDDSNullIF>(*app.Settings);
    }
    std::unique_ptr<clsFTDIDRB30> makeDrb30Line(Application& app) override {
        made("Drb30Line");
        return std::make_unique<clsFTDIDRB30>(driver, *app.Settings, timing);
    }
    std::unique_ptr<clsFTDIUS232C> makeUs232cLine(Application& app) override {
        made("Us232cLine");
        return std::make_unique<clsFTDIUS232C>(driver, *app.Settings, timing);
    }
    std::unique_ptr<clsFT232IF> makeFt232Line(Application& app) override {
        made("Ft232Line");
        return std::make_unique<clsFT232IF>(driver, *app.Settings, timing);
    }
    std::unique_ptr<clsAD9835> makeAd9835Osc(Application& app) override {
        made("Ad9835Osc");
        return ObjectFactory::makeAd9835Osc(app);
    }
    std::unique_ptr<clsAD9850> makeAd9850Osc(Application& app) override {
        made("Ad9850Osc");
        return ObjectFactory::makeAd9850Osc(app);
    }
    std::unique_ptr<clsAD9851> makeAd9851Osc(Application& app) override {
        made("Ad9851Osc");
        return ObjectFactory::makeAd9851Osc(app);
    }
    std::unique_ptr<clsAD9951> makeAd9951Osc(Application& app) override {
        made("Ad9951Osc");
        return ObjectFactory::makeAd9951Osc(app);
    }
    std::unique_ptr<clsCY27EE16> makeCy27ee16Osc(Application& app) override {
        made("Cy27ee16Osc");
        return ObjectFactory::makeCy27ee16Osc(app);
    }
    std::unique_ptr<clsSoftDDS> makeSoftDdsOsc(Application& app) override {
        made("SoftDdsOsc");
        return ObjectFactory::makeSoftDdsOsc(app);
    }
    std::unique_ptr<clsHamlib> makeHamlibOsc(Application& app) override {
        made("HamlibOsc");
        return std::make_unique<clsHamlib>(*app.Settings, rigs);
    }

    std::vector<std::string> order;
    std::string failing;

    NoRig rigs;

private:
    void made(const std::string& global) {
        order.push_back(global);
        if (global == failing) runtime::raise(runtime::err::kOutOfMemory, "SimObjects");
    }
};

// A store that writes down, in order, the sections saves go to.
class RecordingStore final : public profile::SettingsStore {
public:
    explicit RecordingStore(std::vector<std::string>& sections) : sections_(sections) {}
    std::string GetSetting(std::string_view app, std::string_view section, std::string_view key,
                           std::string_view def) const override {
        return store_.GetSetting(app, section, key, def);
    }
    void SaveSetting(std::string_view app, std::string_view section, std::string_view key,
                     std::string_view value) override {
        if (sections_.empty() || sections_.back() != section) sections_.emplace_back(section);
        store_.SaveSetting(app, section, key, value);
    }
    bool commit() override { return true; }

private:
    std::vector<std::string>& sections_;
    profile::MemorySettingsStore store_;
};

const std::vector<std::string> kCreationOrder = {
    "Vfo",       "SerialLine", "ParallelLine", "NullLine",  "Drb30Line",   "Us232cLine", "Ft232Line",
    "Ad9835Osc", "Ad9850Osc",  "Ad9851Osc",    "Ad9951Osc", "Cy27ee16Osc", "SoftDdsOsc", "HamlibOsc"};

// Each object with its global's name, as pointers to the member set it offers.
std::vector<std::pair<std::string, Oscillator*>> oscillators(Application& app) {
    return {{"Ad9835Osc", app.Ad9835Osc.get()},     {"Ad9850Osc", app.Ad9850Osc.get()},
            {"Ad9851Osc", app.Ad9851Osc.get()},     {"Ad9951Osc", app.Ad9951Osc.get()},
            {"Cy27ee16Osc", app.Cy27ee16Osc.get()}, {"SoftDdsOsc", app.SoftDdsOsc.get()},
            {"HamlibOsc", app.HamlibOsc.get()}};
}
std::vector<std::pair<std::string, LineInterface*>> lines(Application& app) {
    return {{"SerialLine", app.SerialLine.get()}, {"ParallelLine", app.ParallelLine.get()},
            {"NullLine", app.NullLine.get()},     {"Drb30Line", app.Drb30Line.get()},
            {"Us232cLine", app.Us232cLine.get()}, {"Ft232Line", app.Ft232Line.get()}};
}

} // namespace

TEST(StartupObjects, TheFourteenObjectsAreMadeInTheirOrderAndLeftUnwired) {
    SimObjects objects;
    Application app;
    app.Settings = std::make_unique<profile::MemorySettingsStore>();
    startup::CreateGlobalObjects(app, objects);
    EXPECT_EQ(objects.order, kCreationOrder);
    ASSERT_TRUE(app.Vfo);
    EXPECT_EQ(app.Vfo->OscType(), nullptr);
    for (const auto& [name, osc] : oscillators(app)) {
        ASSERT_NE(osc, nullptr) << name;
        EXPECT_EQ(osc->Parent(), nullptr) << name;
        EXPECT_EQ(osc->IFHandler(), nullptr) << name;
    }
    for (const auto& [name, line] : lines(app)) {
        ASSERT_NE(line, nullptr) << name;
        EXPECT_EQ(line->RxName(), "") << name;
    }
}

// Without its device an object cannot be made: it stays absent, the rest are made, and a model that
// needs it gets a clear error instead of a crash.
TEST(StartupObjects, AnObjectThatCannotBeMadeStaysAbsentAndTheSetUpSaysSo) {
    for (const std::string& failing : kCreationOrder) {
        SCOPED_TRACE(failing);
        SimObjects objects;
        objects.failing = failing;
        Application app;
        app.Settings = std::make_unique<profile::MemorySettingsStore>();
        startup::CreateGlobalObjects(app, objects);
        EXPECT_EQ(objects.order, kCreationOrder);
        const modSetupRX::RadioObjects r = app.radioObjects();
        const void* held[] = {r.Vfo,        r.SerialLine,  r.ParallelLine, r.NullLine,  r.Drb30Line,
                              r.Us232cLine, r.Ft232Line,   r.Ad9835Osc,    r.Ad9850Osc, r.Ad9851Osc,
                              r.Ad9951Osc,  r.Cy27ee16Osc, r.SoftDdsOsc,   r.HamlibOsc};
        for (size_t i = 0; i < kCreationOrder.size(); ++i)
            EXPECT_EQ(held[i] == nullptr, kCreationOrder[i] == failing) << kCreationOrder[i];
    }

    // The program's own factory without a serial backend: model 0 needs the serial line.
    Application app;
    app.Settings = std::make_unique<profile::MemorySettingsStore>();
    startup::ObjectFactory real;
    startup::CreateGlobalObjects(app, real);
    EXPECT_FALSE(app.SerialLine);
    EXPECT_TRUE(app.Vfo);
    EXPECT_TRUE(app.NullLine);
    EXPECT_TRUE(app.SoftDdsOsc);
    EXPECT_FALSE(app.HamlibOsc);
    runtime::ScopedHooks quiet({.doEvents = [] {}, .addLog = [](const std::string&) {}});
    try {
        startup::InitialiseRX(app);
        FAIL() << "no error";
    } catch (const runtime::RuntimeError& e) {
        EXPECT_EQ(e.Number(), runtime::err::kObjectNotSet);
    }
}

// The start-up makes the objects, the filter bank and both tables; as the main window loads, the model
// saved under "frmMain" is built on them.
TEST(StartupObjects, TheSupervisorBuildsEverythingAndTheSavedModelsRadio) {
    auto objects = std::make_shared<SimObjects>();
    TempFolder folder;
    folder.write("Amateur.bpl", "[MainBand]\r\n");
    Application app;
    app.Settings = std::make_unique<profile::MemorySettingsStore>();
    app.Settings->SaveSetting("NerixSDR", "frmMain", "SDRModelNo", "13");
    app.Processes = std::make_unique<process::testing::FakeProcessTable>();
    app.Windows = std::make_unique<process::testing::FakeWindowSystem>();
    app.ProcessWatch = std::make_unique<modIsProcessRunning::ProcessWatch>(*app.Processes, *app.Windows);
    frmSupervisor::Environment env;
    env.programFolder = folder.path();
    env.executableName = "NerixSDR";
    env.otherInstanceRunning = [] { return false; };
    env.endProcess = [](int) {};
    env.objects = objects;
    std::vector<std::string> log;
    runtime::ScopedHooks hooks(
        {.doEvents = [] {}, .addLog = [&](const std::string& l) { log.push_back(l); }});
    {
        frmSupervisor sup(app, env);
        sup.Load();
        EXPECT_FALSE(sup.EndedWith());
    }
    EXPECT_EQ(objects->order, kCreationOrder);
    EXPECT_TRUE(app.RxModels.RxModelsBuilt);
    EXPECT_EQ(app.RxModels.RxModels.size(), 20u);
    EXPECT_GT(app.RigList.RigListCount, 0);

    EXPECT_EQ(app.State.SDRModelNo, 13);
    ASSERT_TRUE(app.Vfo);
    EXPECT_EQ(app.Vfo->OscType(), app.SoftDdsOsc.get());
    EXPECT_EQ(app.SoftDdsOsc->IFHandler(), app.NullLine.get());
    // The empty band plan's block tunes below the model's range, which holds it at its lowest.
    EXPECT_EQ(app.Vfo->TunedFrequency(), 70'310'000);
    EXPECT_TRUE(app.State.IQMode);
    const auto at = [&](const std::string& line) {
        return std::find(log.begin(), log.end(), line) - log.begin();
    };
    EXPECT_LT(at("RxDefinitions.Initialise:End"), at("frmMain.InitialiseRX:Start"));
    EXPECT_LT(at("modSetupRx.InitialiseRX:End"), at("frmMain.InitialiseRX:End"));
    // The receiver set-up is the main window's load step, after its trace line and before the AGC sliders.
    EXPECT_LT(at("frmMain:frmMain:Form_Load : Initialising Interface Objects"),
              at("frmMain.InitialiseRX:Start"));
    EXPECT_LT(at("frmMain.InitialiseRX:End"), at("frmMain:frmMain:Form_Load:Initialising sldAGCAttack"));
    app.MainWindow.reset();
}

// The DSP library is found beside the program only, so this test runs without it: the filter bank's step
// is skipped and the start-up goes on.
TEST(StartupObjects, AFilterBankThatCannotBeDesignedIsSkipped) {
    Application app;
    EXPECT_NO_THROW(startup::CreateFilterBank(app));
    EXPECT_FALSE(app.Filters);
}

// At exit the line objects go first (Parallel, Serial, Null, Drb30, Us232c, Ft232), then the oscillators
// SoftDds, Ad9835, Ad9951 and Ad9850, then the VFO, then the rest; each saves as it goes, so the
// order is the order of the sections written.
TEST(StartupObjects, ReleasedAtExitInTheShutdownsOrder) {
    SimObjects objects;
    std::vector<std::string> sections;
    {
        Application app;
        app.Settings = std::make_unique<RecordingStore>(sections);
        startup::CreateGlobalObjects(app, objects);
        runtime::ScopedHooks quiet(
            {.doEvents = [] {},
             .addLog = [](const std::string&) {},
             .msgBox = [](const std::string&, int32_t, const std::string&) { return 1; }});
        app.Vfo->setName("Vfo");
        for (const auto& [name, line] : lines(app)) {
            line->setRxName(name);
            line->Initialise();
        }
        for (const auto& [name, osc] : oscillators(app)) {
            osc->setRxName(name);
            // The clock generator needs a line with I2C.
            osc->setIFHandler(name == "Cy27ee16Osc" ? static_cast<LineInterface*>(app.Ft232Line.get())
                                                    : app.NullLine.get());
            osc->Initialise();
        }
        sections.clear();
    }
    EXPECT_EQ(sections,
              (std::vector<std::string>{"ParallelLine", "SerialLine", "Drb30Line", "Us232cLine", "Ft232Line",
                                        "SoftDdsOsc", "Ad9835Osc", "Ad9951Osc", "Ad9850Osc", "Vfo",
                                        "Ad9851Osc", "Cy27ee16Osc", "HamlibOsc"}));
}
