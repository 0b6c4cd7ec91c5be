// The arrays every display mode works on: the loaded samples, the transform and its output, the two
// traces, the step of the last trace drawn, and a count of their changes for the frame's key.
#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <vector>

#include "display/FrameState.h"
#include "display/ScopeSettings.h"
#include "dsp/Nerix.h"
#include "dsp/clsFFTReal.h"
#include "platform/ui/Picture.h"

namespace display {

struct ScopeTraces {
    // Points + 1 values each, made by the set-up; no frame allocates.
    void resize(int32_t points);
    // The set-up's transform; Object variable not set (91) before there is one.
    clsFFTReal& fft(const char* routine) const;

    std::unique_ptr<clsFFTReal> RealFFT;
    std::vector<float> BufI, BufQ;     // the loaded channel 1 and channel 2
    std::vector<float> WorkRe, WorkIm; // the last real transform's output
    std::vector<float> Trace1, Trace2; // what the channels draw
    // The points of the trace being drawn, handed to the picture in one call; its room stays.
    std::vector<ui::ScalePoint> polyline;
    // The horizontal step of the last trace, kept when a frame cannot compute one; the overlays of the
    // spectrum draw on it too.
    float xStep = 0;
    // Every change of the samples, the traces or the filter curve counts one.
    uint64_t changes = 0;
};

// What each display mode works with; the analyser owns all of it.
struct ModeContext {
    const ScopeSettings& settings;
    FrameState& frame;
    ScopeTraces& traces;
    Nerix::Wrappers& nerix;
};

// Gain and shift of the time scope and the X-Y plot on the ScreenWidth values from TrigBin on, unless
// AutoGain is set; a frozen frame or a channel that is off keeps its trace. A failing step is skipped.
void applyGainAndShift(const ModeContext& c);

} // namespace display
