// libFuzzer entry for the version record reader.
#include "frame/fuzz/VersionFuzzTarget.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    version::fuzz::readVersion(data, size);
    return 0;
}
