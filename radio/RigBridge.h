// The program's side of the rig bridge: the six rig calls the Hamlib oscillator makes.
#pragma once

#include <cstdint>
#include <string>

#include "platform/runtime/DynamicLibrary.h"
#include "rigbridge/rigbridge.h"

// The calls as the oscillator sees them, so its tests can put a fake in the bridge's place.
class RigBridge {
public:
    virtual ~RigBridge() = default;
    virtual int32_t rig_set_debug(int32_t level) = 0;
    virtual int32_t rig_init(int32_t model) = 0; // a rig id, 0 for none
    virtual int32_t rig_open(int32_t rig) = 0;
    virtual int32_t rig_set_freq(int32_t rig, int32_t vfo, double freq) = 0;
    virtual int32_t rig_close(int32_t rig) = 0;
    virtual int32_t rig_cleanup(int32_t rig) = 0;
};

// librigbridge.so, bound by name at the first call and kept loaded for the object's life.
//
// The bridge loads Hamlib only when a call needs it and cannot report a missing Hamlib, so the first
// call also checks that Hamlib's library loads. Until both do, every call raises the load error: a
// missing bridge File not found (53), a bridge that does not load or a Hamlib that does not load
// Error in loading DLL (48), a missing call Can't find DLL entry point (453). The next call tries again.
class RigBridgeLibrary final : public RigBridge {
public:
    // Bare file names are looked for beside the program first, then on the library path.
    explicit RigBridgeLibrary(std::string bridgeFile = rigbridge::kBridgeFile,
                              std::string hamlibFile = rigbridge::kHamlibFile);

    int32_t rig_set_debug(int32_t level) override;
    int32_t rig_init(int32_t model) override;
    int32_t rig_open(int32_t rig) override;
    int32_t rig_set_freq(int32_t rig, int32_t vfo, double freq) override;
    int32_t rig_close(int32_t rig) override;
    int32_t rig_cleanup(int32_t rig) override;

private:
    void bind();

    runtime::DynamicLibrary bridge_;
    std::string hamlibFile_;
    bool hamlibChecked_ = false;
    runtime::BoundFunction<rigbridge::RigSetDebugFn> setDebug_{bridge_, "rig_set_debug"};
    runtime::BoundFunction<rigbridge::RigInitFn> init_{bridge_, "rig_init"};
    runtime::BoundFunction<rigbridge::RigOpenFn> open_{bridge_, "rig_open"};
    runtime::BoundFunction<rigbridge::RigSetFreqFn> setFreq_{bridge_, "rig_set_freq"};
    runtime::BoundFunction<rigbridge::RigCloseFn> close_{bridge_, "rig_close"};
    runtime::BoundFunction<rigbridge::RigCleanupFn> cleanup_{bridge_, "rig_cleanup"};
};
