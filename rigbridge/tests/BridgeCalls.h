// The bridge's twelve calls bound through the loader, as the program binds them.
#pragma once

#include <string>

#include "platform/runtime/DynamicLibrary.h"
#include "rigbridge/rigbridge.h"

struct BridgeCalls {
    explicit BridgeCalls(const std::string& path) : library(path) {}

    runtime::DynamicLibrary library;
    runtime::BoundFunction<rigbridge::RigLoadAllBackendsFn> rig_load_all_backends{library,
                                                                                  "rig_load_all_backends"};
    runtime::BoundFunction<rigbridge::RigGetVfoFn> rig_get_vfo{library, "rig_get_vfo"};
    runtime::BoundFunction<rigbridge::RigSetVfoFn> rig_set_vfo{library, "rig_set_vfo"};
    runtime::BoundFunction<rigbridge::RigGetModeFn> rig_get_mode{library, "rig_get_mode"};
    runtime::BoundFunction<rigbridge::RigSetModeFn> rig_set_mode{library, "rig_set_mode"};
    runtime::BoundFunction<rigbridge::RigGetFreqFn> rig_get_freq{library, "rig_get_freq"};
    runtime::BoundFunction<rigbridge::RigSetFreqFn> rig_set_freq{library, "rig_set_freq"};
    runtime::BoundFunction<rigbridge::RigCleanupFn> rig_cleanup{library, "rig_cleanup"};
    runtime::BoundFunction<rigbridge::RigCloseFn> rig_close{library, "rig_close"};
    runtime::BoundFunction<rigbridge::RigOpenFn> rig_open{library, "rig_open"};
    runtime::BoundFunction<rigbridge::RigInitFn> rig_init{library, "rig_init"};
    runtime::BoundFunction<rigbridge::RigSetDebugFn> rig_set_debug{library, "rig_set_debug"};
};

// Hamlib's models that tests may create: neither opens a serial device.
inline constexpr int32_t kDummyRig = 1;
inline constexpr int32_t kNetworkRig = 2;
