// Every window the program shows, as the start-up makes it, walked control by control in the program's
// fonts: no caption wider or taller than its control's room, none cut by a container, and no two visible
// controls on one another where the windows do not stack them on purpose. Each window's picture is saved
// beside the test, for a person to look at.
#include <gtest/gtest.h>

#include <QApplication>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "config/ConfigDesign.h"
#include "config/frmConfig.h"
#include "frontpanel/frmEditUserPreset.h"
#include "frontpanel/frmPresetDesc.h"
#include "mainwindow/MainWindowDesign.h"
#include "mainwindow/frmMain.h"
#include "platform/process/testing/FakeProcessSystem.h"
#include "platform/profile/SettingsStore.h"
#include "platform/profile/testing/TempFolder.h"
#include "platform/runtime/Hooks.h"
#include "platform/ui/testing/ScriptedDialogService.h"
#include "platform/ui/testing/TextRoom.h"
#include "radio/frmCalibrate.h"
#include "recorder/RecorderPanelPorts.h"
#include "recorder/frmRecordFileError.h"
#include "startup/frmSupervisor.h"

namespace {

using ui::testing::Allowance;
using ui::testing::textRoomFaults;

// The program as the start-up makes it, over the shipped band plans, tracing, with simulated processes.
struct Program {
    Program() {
        for (const auto& plan : std::filesystem::directory_iterator(NERIX_DATA_DIR))
            if (plan.path().extension() == ".bpl")
                std::filesystem::copy_file(plan.path(), folder.file(plan.path().filename().string()));
        app.Settings = std::make_unique<profile::MemorySettingsStore>();
        app.Processes = std::make_unique<process::testing::FakeProcessTable>();
        app.Windows = std::make_unique<process::testing::FakeWindowSystem>();
        app.ProcessWatch = std::make_unique<modIsProcessRunning::ProcessWatch>(*app.Processes, *app.Windows);
        auto dialogs = std::make_unique<ui::testing::ScriptedDialogService>();
        scripted = dialogs.get();
        app.Dialogs = std::move(dialogs);
        env.arguments = {"trace"};
        env.programFolder = folder.path();
        env.executableName = "NerixSDR";
        env.otherInstanceRunning = [] { return false; };
        env.endProcess = [](int) {};
        supervisor = std::make_unique<frmSupervisor>(app, env);
        supervisor->Load();
    }
    ~Program() {
        if (app.MainWindow) app.MainWindow->close();
    }

    frmMain& main() { return *app.MainWindow; }

    profile::testing::TempFolder folder;
    Application app;
    ui::testing::ScriptedDialogService* scripted = nullptr;
    frmSupervisor::Environment env;
    runtime::ScopedHooks hooks{{.doEvents = [] { QCoreApplication::processEvents(); }}};
    std::unique_ptr<frmSupervisor> supervisor;
};

// Walks the window as it shows now and keeps its picture under the name.
std::vector<std::string> walk(QWidget& window, const std::string& name,
                              const std::vector<Allowance>& allowed = {}) {
    window.show();
    QCoreApplication::processEvents();
    window.grab().save(QString::fromStdString(std::string(RENDER_DIR) + "/" + name + ".png"));
    std::vector<std::string> faults = textRoomFaults(window, allowed);
    for (std::string& f : faults)
        f = "[" + name + "] " + f;
    return faults;
}

void append(std::vector<std::string>& all, const std::vector<std::string>& more) {
    all.insert(all.end(), more.begin(), more.end());
}

TEST(WindowTexts, EveryWindowShowsEveryCaptionWholeAndNoControlOverAnother) {
    Program program;
    ASSERT_TRUE(program.app.MainWindow) << "the start-up did not reach the main window";
    frmMain& w = program.main();
    std::vector<std::string> faults;

    // The main window in each layout; in "Full" the track list a Load shows, over the preset frame.
    const std::vector<Allowance> mainAllowed = {
        {program.main().RecorderControls->picRecorderTrackList.widget(), w.BandControls.frPresets.widget(),
         "the track list takes the preset frame's place while a recording is loaded"},
        {program.main().RecorderControls->txtRecordingLogHeaders.widget(),
         program.main().RecorderControls->lstRecordingLogs.widget(),
         "the list starts under the heading's lower part, as the recorder panel places it"},
    };
    const char* layoutNames[] = {"comp", "std", "ext", "full"};
    for (int16_t layout = 0; layout < 4; ++layout) {
        w.optDisplaySize_Click(layout);
        append(faults, walk(w, std::string("main-") + layoutNames[layout], mainAllowed));
    }
    w.RecorderControls->cmdWavCtls[recorder::transport::kLoad].setValue(true);
    QCoreApplication::processEvents();
    append(faults, walk(w, "main-track-list", mainAllowed));

    // The configuration dialog on each of its tabs, and the calibration dialog over the VFO.
    w.cmdConfig.setValue(true);
    frmConfig* config = nullptr;
    for (QWidget* child : w.findChildren<QWidget*>())
        if (auto* d = dynamic_cast<frmConfig*>(child)) config = d;
    ASSERT_TRUE(config);
    for (int32_t tab = 1; tab <= config->TabStrip1.TabCount(); ++tab) {
        config->TabStrip1.setSelectedItem(tab);
        append(faults, walk(*config, "config-tab-" + std::to_string(tab)));
    }
    ASSERT_TRUE(program.app.Vfo);
    frmCalibrate calibrate(*program.app.Vfo, *program.app.Dialogs);
    calibrate.Load();
    append(faults, walk(calibrate, "calibration"));
    config->close();

    // The preset dialogs, saving and editing, and the pop-up over a preset.
    for (const char* save : {"&Save", "&Update"}) {
        frontpanel::PresetEdit edit;
        edit.PresetEditTitle = "NerixSDR - Save Current Settings to Preset 12";
        edit.PresetEditSaveCaption = save;
        edit.PresetEditBuffer.Caption = "14.230";
        edit.PresetEditBuffer.Description = "SSTV calling frequency";
        edit.PresetEditBuffer.Settings.FreqCurrent = 14'230'000;
        edit.PresetEditBuffer.When = "2026-12-11 23:59:59";
        frmEditUserPreset dialog(edit, *program.app.Dialogs);
        dialog.Load();
        append(faults, walk(dialog, std::string("preset-") + (save[1] == 'S' ? "save" : "edit")));
    }
    frmPresetDesc popup;
    popup.Load();
    popup.setLines("SSTV calling frequency", "Frequency=14.230\r\nModulation=USB\r\nFilter=2.4K\r\n"
                                             "Date=2026/12/11\r\nTime=23:59");
    append(faults, walk(popup, "preset-popup"));

    // The trace log, and the recorder's error window with a message.
    ASSERT_TRUE(program.app.Log);
    append(faults, walk(*program.app.Log, "trace-log"));
    frmRecordFileError error;
    error.report("Unable to Create Temporary File");
    append(faults, walk(error, "record-file-error"));

    std::string listed;
    for (const std::string& f : faults)
        listed += f + "\n";
    EXPECT_TRUE(faults.empty()) << faults.size() << " faults:\n" << listed;
}

} // namespace
