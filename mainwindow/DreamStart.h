// Starting the DRM decoder when the DRM mode is chosen: Dream.ini's two keys, the command line from the
// sound devices, the I/Q mode, the tuned frequency and the user's arguments, and the started process
// handed to the process watch.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "frame/ReceiverState.h"

namespace mainwindow {

inline constexpr const char* kDreamExe = "DREAM.exe";

// What RunDREAM reaches, each a port of its own kind.
class DreamPorts {
public:
    virtual ~DreamPorts() = default;
    // Process watch: 1 running, 0 not, -1 the list is unreadable; and the decoder started.
    virtual int16_t IsProcessRunning(const std::string& exeName) = 0;
    virtual void setTargetProcessId(int32_t pid) = 0;
    // The window style given to the started decoder's windows that show and had not had it: how many
    // windows had it now.
    virtual int32_t ApplyWindowStyle(int32_t style) = 0;
    // Engine and VFO.
    virtual int32_t CurrentCaptureDevice() = 0;
    virtual int32_t CurrentPlaybackDevice() = 0;
    virtual int32_t TunedFrequency() = 0;
    // Dream.ini in the program folder; a failure is the routine's own to show.
    virtual void ProfileSaveItem(const std::string& section, const std::string& key,
                                 const std::string& value) = 0;
    // The program start: the process id, 0 when it did not start.
    virtual int32_t Launch(const std::string& program, const std::vector<std::string>& args,
                           int32_t showCode) = 0;
    virtual void Pump() = 0;
    virtual void Sleep(int32_t ms) = 0;
    virtual void Trace(const std::string& line) = 0;
    virtual void MsgBox(const std::string& text) = 0;
};

// The show code of a window style: 0 -> 4, 1 -> 6, 2 -> 0, any other -> 1.
int32_t dreamShowCode(int32_t windowStyle);
// The argument text after the path: the generated arguments, two blanks, the user's with "%CurFreq%" (any
// letter case) replaced by the whole kilohertz.
std::string dreamArgumentText(const ReceiverState& state, int32_t captureDevice, int32_t playbackDevice,
                              int32_t tunedFrequency);

class DreamStart {
public:
    // The start pumps messages this many times, 100 ms apart; while a decoder that is to start
    // minimised or hidden shows no window, it goes on up to the second count.
    static constexpr int kPumps = 6;
    static constexpr int kPumpsAwaitingWindows = 50;

    DreamStart(ReceiverState& state, DreamPorts& ports) : state_(state), ports_(ports) {}
    void RunDREAM();

    double DreamTaskId = 0;
    int32_t DreamProcessId = 0;

private:
    ReceiverState& state_;
    DreamPorts& ports_;
};

} // namespace mainwindow
