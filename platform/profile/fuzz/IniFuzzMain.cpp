// libFuzzer entry for the INI engine.
#include "platform/profile/fuzz/IniFuzzTarget.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    profile::fuzz::readAndWrite(data, size);
    return 0;
}
