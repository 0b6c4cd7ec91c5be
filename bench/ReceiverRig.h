// The receiver as the offline receiver and the chain benchmarks run it: one receiver state over the
// vector libraries, the filter bank and the oscillator as the start-up makes them, and the receive path,
// with the knobs they start from.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "dsp/FilterBank.h"
#include "dsp/Nerix.h"
#include "dsp/NerixNCO.h"
#include "dsp/ReceivePath.h"
#include "frame/Profiler.h"
#include "frame/ReceiverState.h"
#include "frontpanel/FilterSetup.h"

namespace offline {

struct ReceiverRig {
    explicit ReceiverRig(std::string nerixLibrary = nerixdll::kLibraryName,
                         std::string nspLibrary = nspdll::kLibraryName,
                         const Nerix::ReceivePathPorts& ports = {});

    // AGC attack 50 and decay 20, the noise blanker's levels, a full AGC history (the AGC settled), the
    // BFO, then the mode and its filters. Set the state's own fields (IQMode, FilterLo, ...) first.
    void SetUp(int32_t mode, float bfo);

    ReceiverState state;
    nerixdll::NerixDll nerix;
    nspdll::NspDll nsp;
    Nerix::Wrappers wrappers{state, nerix, nsp};
    std::unique_ptr<Nerix::FilterBank> bank;
    Nerix::NCO nco{wrappers};
    Profiler profiler;
    std::unique_ptr<Nerix::ReceivePath> path;
    frontpanel::FilterTables tables = frontpanel::DefaultFilterTables();
};

} // namespace offline
