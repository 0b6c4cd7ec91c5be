// Binding the rig bridge, and checking that the Hamlib behind it loads.
#include "radio/RigBridge.h"

#include <utility>

RigBridgeLibrary::RigBridgeLibrary(std::string bridgeFile, std::string hamlibFile)
    : bridge_(std::move(bridgeFile)), hamlibFile_(std::move(hamlibFile)) {}

void RigBridgeLibrary::bind() {
    if (hamlibChecked_) return;
    // Loads the bridge, with its own load errors.
    bridge_.symbol("rig_init");
    // Hamlib is the bridge's dependency, so its failure is the bridge's failure to load. Only the check's
    // own reference is dropped: the bridge loads Hamlib itself.
    runtime::DynamicLibrary hamlib(hamlibFile_);
    try {
        hamlib.symbol("rig_init");
    } catch (const runtime::RuntimeError& e) {
        runtime::raise(runtime::err::kDllLoad, "DynamicLibrary",
                       "Error in loading DLL: " + bridge_.name() + " (" + e.Description() + ")");
    }
    hamlibChecked_ = true;
}

int32_t RigBridgeLibrary::rig_set_debug(int32_t level) {
    bind();
    return setDebug_(level);
}

int32_t RigBridgeLibrary::rig_init(int32_t model) {
    bind();
    return init_(model);
}

int32_t RigBridgeLibrary::rig_open(int32_t rig) {
    bind();
    return open_(rig);
}

int32_t RigBridgeLibrary::rig_set_freq(int32_t rig, int32_t vfo, double freq) {
    bind();
    return setFreq_(rig, vfo, freq);
}

int32_t RigBridgeLibrary::rig_close(int32_t rig) {
    bind();
    return close_(rig);
}

int32_t RigBridgeLibrary::rig_cleanup(int32_t rig) {
    bind();
    return cleanup_(rig);
}
