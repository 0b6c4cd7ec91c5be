// The parallel line interface.
#include "radio/clsDDSParallelIF.h"

#include "platform/runtime/RuntimeError.h"

clsDDSParallelIF::clsDDSParallelIF(profile::SettingsStore& store, modTiming::Timing& timing,
                                   parport::ParallelPort& port)
    : LineInterfaceBase("clsDDSParallelIF", 5e-6, store, &timing), port_(port) {}

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

void clsDDSParallelIF::RestoreSettings() {
    if (!hasSection()) return;
    const SettingsSection settings = section();
    portAddress_ = settings.readInt32("PortAddress", portAddress_);
    restoreWaitTime(settings, "ParallelWaitTime");
    inverting_ = settings.readBool("Inverting", inverting_);
    setIOUPDBitNo(settings.readInt32("IOUPDBitNo", ioupdBit_));
    setSDATABitNo(settings.readInt32("SDATABitNo", sdataBit_));
    setSCLCKBitNo(settings.readInt32("SCLCKBitNo", sclckBit_));
}

void clsDDSParallelIF::SaveSettings() {
    if (!canSaveSettings()) return;
    SettingsSection settings = section();
    settings.writeInt("PortAddress", portAddress_);
    settings.writeDouble("ParallelWaitTime", WaitTime());
    settings.writeBool("Inverting", inverting_);
    settings.writeInt("IOUPDBitNo", ioupdBit_);
    settings.writeInt("SDATABitNo", sdataBit_);
    settings.writeInt("SCLCKBitNo", sclckBit_);
    settings.commit();
}

void clsDDSParallelIF::change(int32_t bitNo, bool level) {
    // Addresses of add-in cards lie above 0x7FFF; any address a port can have is accepted, others raise.
    if (portAddress_ < 0 || portAddress_ > 0xFFFF)
        runtime::raise(runtime::err::kOverflow, "clsDDSParallelIF.PortAddress");
    if (inverting_) level = !level;
    const auto mask = static_cast<uint8_t>(1u << bitNo);
    shadow_ = level ? static_cast<uint8_t>(shadow_ | mask) : static_cast<uint8_t>(shadow_ & ~mask);
    port_.Out32(static_cast<uint16_t>(portAddress_), shadow_);
    settle();
}

void clsDDSParallelIF::IOUPD(int32_t level) {
    change(ioupdBit_, level > 0);
}

void clsDDSParallelIF::SCLCK(int32_t level) {
    change(sclckBit_, level > 0);
}

void clsDDSParallelIF::SDATA(int32_t level) {
    change(sdataBit_, level != 0);
}

int32_t clsDDSParallelIF::SendSeqMSB(std::span<const uint8_t> bytes, int32_t count) {
    return sequenceSend(bytes, count, true);
}

int32_t clsDDSParallelIF::SendSeqLSB(std::span<const uint8_t> bytes, int32_t count) {
    return sequenceSend(bytes, count, false);
}
