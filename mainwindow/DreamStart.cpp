// The DRM decoder's start.
#include "mainwindow/DreamStart.h"

#include <algorithm>

#include "frame/NerixStrings.h"
#include "frame/ScopedFlag.h"
#include "frame/modIsProcessRunning.h"
#include "platform/process/ProgramLauncher.h"
#include "platform/runtime/RuntimeError.h"

namespace mainwindow {

int32_t dreamShowCode(int32_t windowStyle) {
    switch (windowStyle) {
    case 0:
        return 4;
    case 1:
        return 6;
    case 2:
        return 0;
    default:
        return 1;
    }
}

namespace {

std::string generatedArguments(bool iqMode, int32_t capture, int32_t playback) {
    const int64_t c = std::max<int64_t>(int64_t{capture} - 2, 0);
    const int64_t p = std::max<int64_t>(int64_t{playback} - 2, 0);
    return " -M 0 -I " + std::to_string(c) + " -O " + std::to_string(p) + (iqMode ? " -C 3" : " ");
}

std::string userArguments(const ReceiverState& state, int32_t tunedFrequency) {
    const std::string k = std::to_string(tunedFrequency / 10000);
    return Nerix::Replace(state.DRM.DreamProgArgs, "%CurFreq%", k, 1, -1, Nerix::kTextCompare);
}

} // namespace

std::string dreamArgumentText(const ReceiverState& state, int32_t captureDevice, int32_t playbackDevice,
                              int32_t tunedFrequency) {
    return generatedArguments(state.IQMode, captureDevice, playbackDevice) + "  " +
           userArguments(state, tunedFrequency);
}

void DreamStart::RunDREAM() {
    const DrmOptions& drm = state_.DRM;
    if (!drm.RunDreamOnDRM || drm.PathToDream.empty()) return;
    const int16_t r = ports_.IsProcessRunning(kDreamExe);
    if (r == 1) return;
    if (r != 0) {
        ports_.MsgBox("System Error checking for process DREAM.EXE - Please report Problem to Nerix");
        return;
    }
    const int32_t c = ports_.CurrentCaptureDevice();
    const int32_t p = ports_.CurrentPlaybackDevice();
    const int32_t f = ports_.TunedFrequency();
    const std::string text = dreamArgumentText(state_, c, p, f);
    const int32_t show = dreamShowCode(drm.DreamWindowStyle);

    ports_.ProfileSaveItem("window geometry", "analdemvis", "0");
    ports_.ProfileSaveItem("receiver", "flipspectrum", state_.HiSideLoActive ? "0" : "1");

    {
        const ScopedFlag starting(state_.DreamStarting);
        // No shell: the program, the generated words, then the user's words split at blanks.
        std::vector<std::string> args = process::splitArguments(generatedArguments(state_.IQMode, c, p));
        for (std::string& a : process::splitArguments(userArguments(state_, f)))
            args.push_back(std::move(a));
        ports_.Trace("frmMain.RunDREAM: " + drm.PathToDream + text);
        DreamTaskId = ports_.Launch(drm.PathToDream, args, show);
        // The decoder's id goes to the watch at once, so a later close acts on this process only.
        if (DreamTaskId != 0) ports_.setTargetProcessId(static_cast<int32_t>(DreamTaskId));
        // The show code reaches no window on this platform, so the style is given to the decoder's
        // windows as they appear.
        bool styling = DreamTaskId != 0 && (drm.DreamWindowStyle == modIsProcessRunning::kWindowStyleMin ||
                                            drm.DreamWindowStyle == modIsProcessRunning::kWindowStyleHide);
        int32_t styled = 0;
        for (int i = 0; i < kPumpsAwaitingWindows; ++i) {
            if (i >= kPumps && (!styling || styled > 0)) break;
            ports_.Pump();
            ports_.Sleep(100);
            // A watch that cannot style leaves the decoder as it opens and the start as it was.
            if (styling &&
                !runtime::resumeNext([&] { styled += ports_.ApplyWindowStyle(drm.DreamWindowStyle); }))
                styling = false;
        }
    }
    if (DreamTaskId != 0)
        DreamProcessId = static_cast<int32_t>(DreamTaskId);
    else
        ports_.MsgBox("DREAM program located at : " + drm.PathToDream + "\r\n failed to execute");
}

} // namespace mainwindow
