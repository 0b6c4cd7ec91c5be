// The watch over the DRM decoder: whether a program of a given name runs, and asking the windows of the
// decoder this program started to close.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

#include "platform/process/ProcessSystem.h"

namespace modIsProcessRunning {

class ProcessWatch {
public:
    ProcessWatch(process::ProcessTable& processes, process::WindowSystem& windows);

    // 1 when a process of that executable file name runs, 0 when none does, -1 when the process list
    // is unavailable. Letter case does not count, nor a trailing ".exe" on either side; a name with a
    // folder in it never matches.
    int16_t IsProcessRunning(std::string_view exeName) const;

    // 0 until the main window records a started decoder.
    int32_t TargetProcessId() const noexcept { return targetPid_; }
    // Call right after the decoder started: its start time is taken now, so a later process that gets
    // the same pid is never mistaken for it.
    void setTargetProcessId(int32_t pid);

    // Asks every unowned top-level window of the recorded decoder to close, hidden ones included, and
    // does not wait for it. Without a window server the decoder gets SIGTERM instead. Nothing happens
    // when the recorded process has ended, even if its pid now names another. Reports nothing.
    void CloseProcessWindows() noexcept;

private:
    bool targetStillRuns() const;

    process::ProcessTable& processes_;
    process::WindowSystem& windows_;
    int32_t targetPid_ = 0;
    std::optional<process::ProcessIdentity> target_;
};

} // namespace modIsProcessRunning
