// The null line interface.
#include "radio/clsDDSNullIF.h"

clsDDSNullIF::clsDDSNullIF(profile::SettingsStore& store)
    : LineInterfaceBase("clsDDSNullIF", 1.0 / 230400.0, store, nullptr) {}

int32_t clsDDSNullIF::Initialise() {
    markInitialised();
    return 0;
}

int32_t clsDDSNullIF::SendSeqMSB(std::span<const uint8_t> bytes, int32_t count) {
    return sequenceSend(bytes, count, true);
}

int32_t clsDDSNullIF::SendSeqLSB(std::span<const uint8_t> bytes, int32_t count) {
    return sequenceSend(bytes, count, false);
}
