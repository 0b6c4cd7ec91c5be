// The application object: every long-lived object and the receiver state, created by the start-up before
// the main window and released after it. Components get references to what they use; there are no
// other process-wide objects.
#pragma once

#include <memory>

#include "frame/Profiler.h"
#include "frame/ReceiverState.h"
#include "frame/modTiming.h"

class Application {
public:
    Application() = default;
    Application(const Application&) = delete;
    Application& operator=(const Application&) = delete;

    ReceiverState State;
    modTiming::Timing Timing;
    std::unique_ptr<Profiler> BlockProfiler; // made by the start-up sequence
};
