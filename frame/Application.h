// The application object: every long-lived object and the receiver state, created by the start-up before
// the main window and released after it. Components get references to what they use; there are no
// other process-wide objects.
#pragma once

#include <memory>

#include "frame/Profiler.h"
#include "frame/ReceiverState.h"
#include "frame/modTiming.h"
#include "platform/profile/SettingsStore.h"

class Application {
public:
    Application() = default;
    Application(const Application&) = delete;
    Application& operator=(const Application&) = delete;

    // The per-user settings store: a profile::FileSettingsStore made by the start-up (tests put a
    // MemorySettingsStore here). Declared first so it goes last: its destructor commits what the
    // shutdown saved.
    std::unique_ptr<profile::SettingsStore> Settings;
    ReceiverState State;
    modTiming::Timing Timing;
    std::unique_ptr<Profiler> BlockProfiler; // made by the start-up sequence
};
