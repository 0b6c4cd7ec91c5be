// libFuzzer entry for the settings store.
#include "platform/profile/fuzz/SettingsFuzzTarget.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    profile::fuzz::readSaveCommit(data, size);
    return 0;
}
