// The start object: runs the start-up sequence, shows the main window, and ends the process once the
// main window is gone.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "frontpanel/frmSplash1.h"
#include "platform/ui/Form.h"
#include "platform/ui/Timer.h"
#include "startup/Application.h"
#include "startup/StartupObjects.h"

class frmSupervisor final : public ui::Form {
public:
    struct Environment {
        std::vector<std::string> arguments; // the command line without the program's own path
        std::string programFolder;
        std::string executableName;
        // True when another instance of the program runs (the program takes the instance lock here).
        std::function<bool()> otherInstanceRunning;
        // Ends the process with this exit code once the supervisor returns to the message loop.
        std::function<void(int)> endProcess;
        // Makes the fourteen oscillator and line objects; the application's own devices when empty.
        std::shared_ptr<startup::ObjectFactory> objects;
        // The window frame's size, when known better than the window system reports it.
        std::optional<mainwindow::ChromeMetrics> chrome;
    };

    frmSupervisor(Application& app, Environment env);
    // Writes "End" to the system log, unless the watchdog ended the process.
    ~frmSupervisor() override;

    // 0 when the sequence ran to its end, 1 when another instance runs, 2 when there is no band plan
    // and the process is to end.
    int32_t Initialise();

    // Set once start-up decided the process ends without a main window.
    std::optional<int> EndedWith() const { return endedWith_; }

    ui::Timer Timer1;

    static constexpr int32_t kAnotherInstance = 1;
    static constexpr int32_t kNoBandPlan = 2;

protected:
    void Form_Load() override;

private:
    void Timer1_Timer();
    // The watchdog's look out of turn, while it runs.
    void watchNow();
    void trace(const std::string& text) const;
    // Tells the user once when the settings file was refused and the settings are the defaults.
    void tellRefusedSettings() const;
    bool scanBandPlans();
    void end(int code);

    Application& app_;
    Environment env_;
    std::unique_ptr<frmSplash1> splash_;
    std::optional<int> endedWith_;
    bool watchdogExit_ = false;
};
