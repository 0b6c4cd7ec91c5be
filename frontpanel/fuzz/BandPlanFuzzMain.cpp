// libFuzzer entry for the band plan store.
#include "frontpanel/fuzz/BandPlanFuzzTarget.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    modBandPlan::fuzz::loadPressSaveLoad(data, size);
    return 0;
}
