// The receive chain as the offline receiver and the chain benchmarks build it: one receiver state, the
// filter bank, the 4096-point transform, the oscillator and the chain, with the knobs they start from.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "dsp/FilterBank.h"
#include "dsp/Nerix.h"
#include "dsp/NerixNCO.h"
#include "dsp/ReceiveChain.h"
#include "dsp/clsFFTReal.h"
#include "frame/ReceiverState.h"
#include "frontpanel/FilterSetup.h"

namespace offline {

struct ChainRig {
    explicit ChainRig(std::string nerixLibrary = nerixdll::kLibraryName,
                      std::string nspLibrary = nspdll::kLibraryName);

    // AGC attack 50 and decay 20, the noise blanker's levels, a full AGC history (the AGC settled), the
    // BFO, then the mode and its filters. Set the state's own fields (IQMode, FilterLo, ...) first.
    void SetUp(int32_t mode, float bfo);

    ReceiverState state;
    nerixdll::NerixDll nerix;
    nspdll::NspDll nsp;
    Nerix::Wrappers wrappers{state, nerix, nsp};
    std::unique_ptr<Nerix::FilterBank> bank;
    clsFFTReal fft{wrappers};
    Nerix::NCO nco{wrappers};
    std::unique_ptr<Nerix::ReceiveChain> chain;
    frontpanel::FilterTables tables = frontpanel::DefaultFilterTables();
};

} // namespace offline
