// The watch over the DRM decoder: whether a program of a given name runs, and asking the windows of the
// decoder this program started to close.
#include "frame/modIsProcessRunning.h"

#include <algorithm>
#include <exception>
#include <vector>

#include "platform/runtime/Text.h"

namespace modIsProcessRunning {

namespace {

// A Linux build of the decoder has no ".exe", so the suffix is left out on both sides before comparing.
std::string_view withoutExe(std::string_view name) {
    constexpr std::string_view kExe = ".exe";
    if (name.size() > kExe.size() && runtime::equalsNoCase(name.substr(name.size() - kExe.size()), kExe)) {
        name.remove_suffix(kExe.size());
    }
    return name;
}

bool sameName(std::string_view processName, std::string_view wanted) {
    return !processName.empty() && runtime::equalsNoCase(withoutExe(processName), withoutExe(wanted));
}

} // namespace

ProcessWatch::ProcessWatch(process::ProcessTable& processes, process::WindowSystem& windows)
    : processes_(processes), windows_(windows) {}

int16_t ProcessWatch::IsProcessRunning(std::string_view exeName) const {
    const auto list = processes_.list();
    if (!list) return -1;
    for (const process::ProcessNames& p : *list) {
        // The executable's own name, or the name it was started under when the executable cannot be
        // read (another user's process) or is an interpreter.
        if (sameName(p.exeName, exeName) || sameName(p.commandName, exeName)) return 1;
    }
    return 0;
}

void ProcessWatch::setTargetProcessId(int32_t pid) {
    targetPid_ = pid;
    styled_.clear();
    target_ = pid > 0 ? processes_.identify(pid) : std::nullopt;
}

bool ProcessWatch::targetStillRuns() const {
    return target_ && processes_.identify(target_->pid) == target_;
}

void ProcessWatch::CloseProcessWindows() noexcept {
    try {
        if (!targetStillRuns()) return;
        const std::unique_ptr<process::WindowSession> session = windows_.open();
        if (!session) {
            processes_.terminate(*target_);
            return;
        }
        // Each call collects its own list, so no handle from an earlier call is ever asked again.
        std::vector<process::WindowId> targetWindows;
        for (const process::TopLevelWindow& w : session->topLevelWindows()) {
            if (w.pid == target_->pid && !w.owned) targetWindows.push_back(w.id);
        }
        // The pid may have been taken over while the windows were listed.
        if (targetWindows.empty() || !targetStillRuns()) return;
        for (const process::WindowId w : targetWindows)
            session->requestClose(w);
    } catch (const std::exception&) {
        // Both callers go on with their own work whatever happened here.
    }
}

int32_t ProcessWatch::ApplyWindowStyle(int32_t style) noexcept {
    try {
        if (style != kWindowStyleMin && style != kWindowStyleHide) return 0;
        if (!targetStillRuns()) return 0;
        const std::unique_ptr<process::WindowSession> session = windows_.open();
        if (!session) return 0;
        int32_t count = 0;
        for (const process::TopLevelWindow& w : session->topLevelWindows()) {
            if (w.pid != target_->pid || w.owned || !w.shown) continue;
            if (std::find(styled_.begin(), styled_.end(), w.id) != styled_.end()) continue;
            if (style == kWindowStyleMin)
                session->iconify(w.id);
            else
                session->withdraw(w.id);
            styled_.push_back(w.id);
            ++count;
        }
        return count;
    } catch (const std::exception&) {
        // The decoder runs on whatever its windows show.
        return 0;
    }
}

} // namespace modIsProcessRunning
