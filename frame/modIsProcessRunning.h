// The watch over the DRM decoder: whether a program of a given name runs, and asking the windows of the
// decoder this program started to close.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

#include "platform/process/ProcessSystem.h"

namespace modIsProcessRunning {

// The decoder's window styles (DRM.DreamWindowStyle): shown as it opens, minimised, hidden.
inline constexpr int32_t kWindowStyleDefault = 0;
inline constexpr int32_t kWindowStyleMin = 1;
inline constexpr int32_t kWindowStyleHide = 2;

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

    // Gives every unowned window of the recorded decoder that shows, and was not given it before, the
    // window style chosen for the decoder; the number of windows it gave it now. A style of 0 (shown as
    // the decoder opens it) or one it does not know, an ended decoder and a missing window server give
    // none.
    int32_t ApplyWindowStyle(int32_t style) noexcept;

private:
    bool targetStillRuns() const;

    process::ProcessTable& processes_;
    process::WindowSystem& windows_;
    int32_t targetPid_ = 0;
    std::optional<process::ProcessIdentity> target_;
    // The decoder's windows given its style: one the user shows again keeps the user's choice.
    std::vector<process::WindowId> styled_;
};

} // namespace modIsProcessRunning
