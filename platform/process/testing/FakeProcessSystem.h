// A process table and a window server for tests: they hold what the test puts in and record what is done.
#pragma once

#include <map>
#include <memory>
#include <optional>
#include <vector>

#include "platform/process/ProcessSystem.h"

namespace process::testing {

class FakeProcessTable final : public ProcessTable {
public:
    struct Process {
        ProcessNames names;
        uint64_t startTime = 0;
    };

    std::vector<Process> processes;
    bool listAvailable = true;
    std::vector<ProcessIdentity> terminated; // every identity that got SIGTERM

    std::optional<std::vector<ProcessNames>> list() const override {
        if (!listAvailable) return std::nullopt;
        std::vector<ProcessNames> names;
        for (const Process& p : processes)
            names.push_back(p.names);
        return names;
    }
    std::optional<ProcessIdentity> identify(Pid pid) const override {
        for (const Process& p : processes) {
            if (p.names.pid == pid) return ProcessIdentity{pid, p.startTime};
        }
        return std::nullopt;
    }
    bool terminate(const ProcessIdentity& target) override {
        if (identify(target.pid) != target) return false;
        terminated.push_back(target);
        return true;
    }
};

class FakeWindowSystem final : public WindowSystem {
public:
    std::vector<TopLevelWindow> windows;
    bool serverPresent = true;
    std::vector<WindowId> closeRequests; // in the order they were made
    std::vector<WindowId> iconified, withdrawn;
    int sessionsOpen = 0;

    std::unique_ptr<WindowSession> open() override {
        if (!serverPresent) return nullptr;
        return std::make_unique<Session>(*this);
    }

private:
    class Session final : public WindowSession {
    public:
        explicit Session(FakeWindowSystem& system) : system_(system) { ++system_.sessionsOpen; }
        ~Session() override { --system_.sessionsOpen; }
        std::vector<TopLevelWindow> topLevelWindows() override { return system_.windows; }
        void requestClose(WindowId window) override { system_.closeRequests.push_back(window); }
        void iconify(WindowId window) override { system_.iconified.push_back(window); }
        void withdraw(WindowId window) override { system_.withdrawn.push_back(window); }

    private:
        FakeWindowSystem& system_;
    };
};

} // namespace process::testing
