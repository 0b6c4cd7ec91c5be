// libFuzzer entry for the crash recovery of a recording with its journal.
#include "recorder/fuzz/RecoveryFuzzTarget.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    recorder::fuzz::recover(data, size);
    return 0;
}
