// libFuzzer entry for the colour theme reader.
#include "config/fuzz/ThemeFuzzTarget.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    config::fuzz::readTheme(data, size);
    return 0;
}
