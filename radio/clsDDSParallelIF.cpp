// The parallel line interface.
#include "radio/clsDDSParallelIF.h"

#include "platform/runtime/RuntimeError.h"

clsDDSParallelIF::clsDDSParallelIF(profile::SettingsStore& store, modTiming::Timing& timing,
                                   parport::ParallelPort& port)
    : ThreeWireLine("clsDDSParallelIF", 5e-6, store, &timing), port_(port) {}

clsDDSParallelIF::~clsDDSParallelIF() {
    runtime::resumeNext([&] { SaveSettings(); });
}

int32_t clsDDSParallelIF::Initialise() {
    timing()->InitTiming();
    RestoreSettings();
    IOUPD(1);
    SDATA(0);
    SCLCK(1);
    markInitialised();
    return 0;
}

void clsDDSParallelIF::change(int32_t bitNo, bool level) {
    // Addresses of add-in cards lie above 0x7FFF; any address a port can have is accepted, others raise.
    if (keys_.PortAddress < 0 || keys_.PortAddress > 0xFFFF)
        runtime::raise(runtime::err::kOverflow, "clsDDSParallelIF.PortAddress");
    if (keys_.Inverting) level = !level;
    const auto mask = static_cast<uint8_t>(1u << bitNo);
    shadow_ = level ? static_cast<uint8_t>(shadow_ | mask) : static_cast<uint8_t>(shadow_ & ~mask);
    port_.Out32(static_cast<uint16_t>(keys_.PortAddress), shadow_);
    settle();
}

void clsDDSParallelIF::IOUPD(int32_t level) {
    change(keys_.IOUPDBitNo, level > 0);
}

void clsDDSParallelIF::SCLCK(int32_t level) {
    change(keys_.SCLCKBitNo, level > 0);
}

void clsDDSParallelIF::SDATA(int32_t level) {
    change(keys_.SDATABitNo, level != 0);
}
