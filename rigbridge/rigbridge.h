// The calls librigbridge.so exports under Hamlib's names: 32-bit arguments, and a rig id in place of
// Hamlib's rig handle, which is a 64-bit pointer here.
#pragma once

#include <cstdint>

namespace rigbridge {

// The file the program loads, beside itself, and the Hamlib library the bridge loads in turn.
inline constexpr const char* kBridgeFile = "librigbridge.so";
inline constexpr const char* kHamlibFile = "libhamlib.so.4";

// Function types of the exports; a rig is the positive id rig_init gave, 0 meaning none.
using RigLoadAllBackendsFn = int32_t();
using RigGetVfoFn = int32_t(int32_t rig, int32_t* vfo);
using RigSetVfoFn = int32_t(int32_t rig, int32_t vfo);
using RigGetModeFn = int32_t(int32_t rig, int32_t vfo, int32_t* mode, int32_t* width);
using RigSetModeFn = int32_t(int32_t rig, int32_t vfo, int32_t mode, int32_t width);
using RigGetFreqFn = int32_t(int32_t rig, int32_t vfo, double* freq);
using RigSetFreqFn = int32_t(int32_t rig, int32_t vfo, double freq);
using RigCleanupFn = int32_t(int32_t rig);
using RigCloseFn = int32_t(int32_t rig);
using RigOpenFn = int32_t(int32_t rig);
using RigInitFn = int32_t(int32_t model);
using RigSetDebugFn = int32_t(int32_t level); // Hamlib gives no result; always 0

// Hamlib's values that cross the bridge.
inline constexpr int32_t kRigOk = 0;
inline constexpr int32_t kRigEInval = -1;  // invalid argument: also an unknown, zero or stale rig id, or a
                                           // frequency no rig takes
inline constexpr int32_t kRigETrunc = -10; // a result that does not fit its 32-bit place
inline constexpr int32_t kRigENavail = -11;
inline constexpr int32_t kRigVfoCurr = 0x20000000; // the rig's current VFO

} // namespace rigbridge
