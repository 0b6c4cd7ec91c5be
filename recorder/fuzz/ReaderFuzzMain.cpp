// libFuzzer entry for the recording reader.
#include "recorder/fuzz/ReaderFuzzTarget.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    recorder::fuzz::readAndPlay(data, size);
    return 0;
}
