// The bench every pin test stands on: a counter at 10 ticks per microsecond that moves one tick at each
// reading (so settle waits pass at once, in order, without real time), the timing over it, a settings
// store, one trace, and a simulator of each port kind writing into it, with nothing plugged in.
#pragma once

#include "frame/modTiming.h"
#include "platform/profile/SettingsStore.h"
#include "platform/runtime/testing/FakePerformanceCounter.h"
#include "radio/testing/PinTrace.h"
#include "radio/testing/SimFtdiDriver.h"
#include "radio/testing/SimParallelPort.h"
#include "radio/testing/SimSerialLines.h"

namespace pins {

// Store is the settings store the objects on the bench are built with (a recording one, where a test
// watches the keys).
template <class Store = profile::MemorySettingsStore> struct BasicPinBench {
    runtime::testing::FakePerformanceCounter counter{10'000'000, 1};
    modTiming::Timing timing{counter};
    Store store;
    PinTrace trace{counter};
    SimSerialPorts ports{trace};
    SimParallelPort lpt{trace};
    SimFtdiDriver driver{trace};
};

using PinBench = BasicPinBench<>;

} // namespace pins
