// The rig bridge: passes each of Hamlib's twelve rig calls on to Hamlib, with rig ids for its handles.
#include "rigbridge/rigbridge.h"

#include <dlfcn.h>
#include <unistd.h>

#include <array>
#include <atomic>
#include <clocale>
#include <cmath>
#include <cstdint>
#include <limits>
#include <mutex>
#include <string>
#include <string_view>
#include <type_traits>

#include "rigbridge/HamlibCaps.h"

namespace {

// Hamlib's own types, as its binary interface has them on this system.
struct HamlibRig;
using rig_model_t = uint32_t;
using vfo_t = unsigned int;
using freq_t = double;
using rmode_t = uint64_t;
using pbwidth_t = long;

struct Hamlib {
    int (*load_all_backends)();
    const void* (*get_caps)(rig_model_t);
    void (*set_debug)(int);
    HamlibRig* (*init)(rig_model_t);
    int (*open)(HamlibRig*);
    int (*close)(HamlibRig*);
    int (*cleanup)(HamlibRig*);
    int (*set_freq)(HamlibRig*, vfo_t, freq_t);
    int (*get_freq)(HamlibRig*, vfo_t, freq_t*);
    int (*set_mode)(HamlibRig*, vfo_t, rmode_t, pbwidth_t);
    int (*get_mode)(HamlibRig*, vfo_t, rmode_t*, pbwidth_t*);
    int (*set_vfo)(HamlibRig*, vfo_t);
    int (*get_vfo)(HamlibRig*, vfo_t*);
};

#ifdef RIGBRIDGE_COUNT_CALLS
std::atomic<int64_t> callCount{0};
void countCall() noexcept {
    ++callCount;
}
#else
void countCall() noexcept {}
#endif

// Hamlib lies beside the bridge or on the library path, as it would for a library linked against it.
std::string hamlibPath() {
    Dl_info self{};
    if (dladdr(reinterpret_cast<void*>(&hamlibPath), &self) && self.dli_fname) {
        std::string beside = self.dli_fname;
        const auto slash = beside.rfind('/');
        if (slash != std::string::npos) {
            beside = beside.substr(0, slash + 1) + rigbridge::kHamlibFile;
            if (access(beside.c_str(), F_OK) == 0) return beside;
        }
    }
    return rigbridge::kHamlibFile;
}

template <class Fn> bool bind(void* library, const char* name, Fn*& fn) {
    fn = reinterpret_cast<Fn*>(dlsym(library, name));
    return fn != nullptr;
}

std::mutex hamlibMutex;
Hamlib hamlibCalls;
bool hamlibLoaded = false;
bool backendsLoaded = false;

// Loaded at the first call that needs it and kept until the process ends, since live rigs and Hamlib's
// registered backends point into it. A Hamlib that is missing is tried again at the next call.
const Hamlib* hamlib() {
    std::lock_guard lock(hamlibMutex);
    if (hamlibLoaded) return &hamlibCalls;
    int flags = RTLD_NOW | RTLD_LOCAL;
#if !defined(__SANITIZE_ADDRESS__)
    // Hamlib's calls of its own public functions must bind inside Hamlib whatever else the process
    // exports under those names. The address sanitizer cannot run a library bound this way.
    flags |= RTLD_DEEPBIND;
#endif
    void* library = dlopen(hamlibPath().c_str(), flags);
    if (!library) return nullptr;
    Hamlib h{};
    const bool complete =
        bind(library, "rig_load_all_backends", h.load_all_backends) &&
        bind(library, "rig_get_caps", h.get_caps) && bind(library, "rig_set_debug", h.set_debug) &&
        bind(library, "rig_init", h.init) && bind(library, "rig_open", h.open) &&
        bind(library, "rig_close", h.close) && bind(library, "rig_cleanup", h.cleanup) &&
        bind(library, "rig_set_freq", h.set_freq) && bind(library, "rig_get_freq", h.get_freq) &&
        bind(library, "rig_set_mode", h.set_mode) && bind(library, "rig_get_mode", h.get_mode) &&
        bind(library, "rig_set_vfo", h.set_vfo) && bind(library, "rig_get_vfo", h.get_vfo);
    if (!complete) {
        dlclose(library);
        return nullptr;
    }
    hamlibCalls = h;
    hamlibLoaded = true;
    return &hamlibCalls;
}

// Hamlib knows a model's capabilities only once its backends are loaded, and rig_init of a model it
// does not know can end the process, so rig_init asks first.
bool hamlibKnowsModel(const Hamlib& h, rig_model_t model) {
    {
        std::lock_guard lock(hamlibMutex);
        if (!backendsLoaded) {
            h.load_all_backends();
            backendsLoaded = true;
        }
    }
    return h.get_caps(model) != nullptr;
}

// The table of live rigs. An id is the slot in its low bits and the slot's generation above, so an id
// kept after rig_cleanup never reaches the rig that later takes the slot. The program holds one rig at
// a time; 256 slots leave room for any other caller.
constexpr uint32_t kSlotBits = 8;
constexpr uint32_t kSlotCount = 1u << kSlotBits;
constexpr uint32_t kGenerationLimit = 1u << (31 - kSlotBits); // keeps every id positive

struct Slot {
    std::mutex use; // held for the whole of each call, so rig_cleanup never frees a rig in use
    HamlibRig* rig = nullptr;
    uint32_t generation = 0;
    double highestFrequency = 0; // Hz, from the model's capabilities
};
std::array<Slot, kSlotCount> slots;

// A live rig, its slot held while this object lives.
class HeldRig {
public:
    explicit HeldRig(int32_t id) {
        if (id <= 0) return;
        const auto bits = static_cast<uint32_t>(id);
        slot_ = &slots[bits & (kSlotCount - 1)];
        lock_ = std::unique_lock(slot_->use);
        if (!slot_->rig || slot_->generation != (bits >> kSlotBits)) {
            lock_.unlock();
            slot_ = nullptr;
        }
    }
    explicit operator bool() const noexcept { return slot_ != nullptr; }
    HamlibRig* rig() const noexcept { return slot_->rig; }
    double highestFrequency() const noexcept { return slot_->highestFrequency; }
    void release() noexcept { slot_->rig = nullptr; }

private:
    Slot* slot_ = nullptr;
    std::unique_lock<std::mutex> lock_;
};

int32_t addRig(HamlibRig* rig, double highestFrequency) {
    for (uint32_t i = 0; i < kSlotCount; ++i) {
        Slot& slot = slots[i];
        // A slot that is locked is either in use or briefly checked by a call with a stale id.
        std::unique_lock lock(slot.use, std::try_to_lock);
        if (!lock || slot.rig) continue;
        slot.generation = slot.generation + 1 < kGenerationLimit ? slot.generation + 1 : 1;
        slot.rig = rig;
        slot.highestFrequency = highestFrequency;
        return static_cast<int32_t>((slot.generation << kSlotBits) | i);
    }
    return 0;
}

// Hamlib keeps the pointer setlocale gives for LC_NUMERIC, switches to "C" (which frees that name) and
// restores from the freed pointer. With "C" already in force the switch frees nothing; the caller's
// locale comes back from a copy of its own.
class NumbersInC {
public:
    NumbersInC() : lock_(localeMutex) {
        const char* current = std::setlocale(LC_NUMERIC, nullptr);
        if (current && std::string_view(current) != "C") {
            saved_ = current;
            std::setlocale(LC_NUMERIC, "C");
        }
    }
    ~NumbersInC() {
        if (!saved_.empty()) std::setlocale(LC_NUMERIC, saved_.c_str());
    }
    NumbersInC(const NumbersInC&) = delete;
    NumbersInC& operator=(const NumbersInC&) = delete;

private:
    static inline std::mutex localeMutex;
    std::lock_guard<std::mutex> lock_;
    std::string saved_;
};

// Hamlib is loaded whenever a rig is live, since only Hamlib makes rigs.
const Hamlib& loaded() {
    return hamlibCalls;
}

} // namespace

#define RIGBRIDGE_EXPORT extern "C" __attribute__((visibility("default")))

RIGBRIDGE_EXPORT int32_t rig_load_all_backends() {
    countCall();
    const NumbersInC numbers;
    const Hamlib* h = hamlib();
    if (!h) return rigbridge::kRigENavail;
    std::lock_guard lock(hamlibMutex);
    backendsLoaded = true;
    return h->load_all_backends();
}

RIGBRIDGE_EXPORT int32_t rig_set_debug(int32_t level) {
    countCall();
    const NumbersInC numbers;
    if (const Hamlib* h = hamlib()) h->set_debug(level);
    return 0;
}

RIGBRIDGE_EXPORT int32_t rig_init(int32_t model) {
    countCall();
    const NumbersInC numbers;
    const Hamlib* h = hamlib();
    // The model number's 32 bits go to Hamlib unchanged.
    const auto hamlibModel = static_cast<rig_model_t>(model);
    if (!h || !hamlibKnowsModel(*h, hamlibModel)) return 0;
    HamlibRig* rig = h->init(hamlibModel);
    if (!rig) return 0;
    const int32_t id = addRig(rig, rigbridge::highestReceiveFrequency(h->get_caps(hamlibModel)));
    if (id == 0) h->cleanup(rig);
    return id;
}

RIGBRIDGE_EXPORT int32_t rig_open(int32_t rig) {
    countCall();
    const NumbersInC numbers;
    HeldRig held(rig);
    return held ? loaded().open(held.rig()) : rigbridge::kRigEInval;
}

RIGBRIDGE_EXPORT int32_t rig_close(int32_t rig) {
    countCall();
    const NumbersInC numbers;
    HeldRig held(rig);
    return held ? loaded().close(held.rig()) : rigbridge::kRigEInval;
}

RIGBRIDGE_EXPORT int32_t rig_cleanup(int32_t rig) {
    countCall();
    const NumbersInC numbers;
    HeldRig held(rig);
    if (!held) return rigbridge::kRigEInval;
    // Hamlib frees the rig whatever it reports, so the id dies with it.
    const int status = loaded().cleanup(held.rig());
    held.release();
    return status;
}

RIGBRIDGE_EXPORT int32_t rig_set_freq(int32_t rig, int32_t vfo, double freq) {
    countCall();
    const NumbersInC numbers;
    HeldRig held(rig);
    if (!held) return rigbridge::kRigEInval;
    // The one argument the bridge checks rather than passing on: Hamlib takes any frequency (a NaN stalls
    // a rig for half a second), so one that is no frequency, or above all the rig receives, stays here.
    if (!(freq >= 0) || !std::isfinite(freq) || freq > held.highestFrequency()) return rigbridge::kRigEInval;
    return loaded().set_freq(held.rig(), static_cast<vfo_t>(vfo), freq);
}

RIGBRIDGE_EXPORT int32_t rig_get_freq(int32_t rig, int32_t vfo, double* freq) {
    countCall();
    const NumbersInC numbers;
    HeldRig held(rig);
    if (!held || !freq) return rigbridge::kRigEInval;
    return loaded().get_freq(held.rig(), static_cast<vfo_t>(vfo), freq);
}

RIGBRIDGE_EXPORT int32_t rig_set_mode(int32_t rig, int32_t vfo, int32_t mode, int32_t width) {
    countCall();
    const NumbersInC numbers;
    HeldRig held(rig);
    if (!held) return rigbridge::kRigEInval;
    // The mode is a set of flags and keeps its 32 bits; a width keeps its sign, since -1 means "no change".
    return loaded().set_mode(held.rig(), static_cast<vfo_t>(vfo), static_cast<uint32_t>(mode),
                             static_cast<pbwidth_t>(width));
}

RIGBRIDGE_EXPORT int32_t rig_get_mode(int32_t rig, int32_t vfo, int32_t* mode, int32_t* width) {
    countCall();
    const NumbersInC numbers;
    HeldRig held(rig);
    if (!held || !mode || !width) return rigbridge::kRigEInval;
    rmode_t hamlibMode = 0;
    pbwidth_t hamlibWidth = 0;
    const int status = loaded().get_mode(held.rig(), static_cast<vfo_t>(vfo), &hamlibMode, &hamlibWidth);
    if (status != rigbridge::kRigOk) return status;
    // Modes above bit 31 and widths beyond 32 bits have no 32-bit form: nothing is written then.
    if (hamlibMode > std::numeric_limits<uint32_t>::max() ||
        hamlibWidth < std::numeric_limits<int32_t>::min() ||
        hamlibWidth > std::numeric_limits<int32_t>::max())
        return rigbridge::kRigETrunc;
    *mode = static_cast<int32_t>(static_cast<uint32_t>(hamlibMode));
    *width = static_cast<int32_t>(hamlibWidth);
    return status;
}

RIGBRIDGE_EXPORT int32_t rig_set_vfo(int32_t rig, int32_t vfo) {
    countCall();
    const NumbersInC numbers;
    HeldRig held(rig);
    return held ? loaded().set_vfo(held.rig(), static_cast<vfo_t>(vfo)) : rigbridge::kRigEInval;
}

RIGBRIDGE_EXPORT int32_t rig_get_vfo(int32_t rig, int32_t* vfo) {
    countCall();
    const NumbersInC numbers;
    HeldRig held(rig);
    if (!held || !vfo) return rigbridge::kRigEInval;
    vfo_t hamlibVfo = 0;
    const int status = loaded().get_vfo(held.rig(), &hamlibVfo);
    if (status == rigbridge::kRigOk) *vfo = static_cast<int32_t>(hamlibVfo);
    return status;
}

#ifdef RIGBRIDGE_COUNT_CALLS
RIGBRIDGE_EXPORT int64_t rigbridge_call_count() {
    return callCount.load();
}
#endif

// The exports keep the types the program binds them with.
static_assert(std::is_same_v<decltype(rig_load_all_backends), rigbridge::RigLoadAllBackendsFn>);
static_assert(std::is_same_v<decltype(rig_get_vfo), rigbridge::RigGetVfoFn>);
static_assert(std::is_same_v<decltype(rig_set_vfo), rigbridge::RigSetVfoFn>);
static_assert(std::is_same_v<decltype(rig_get_mode), rigbridge::RigGetModeFn>);
static_assert(std::is_same_v<decltype(rig_set_mode), rigbridge::RigSetModeFn>);
static_assert(std::is_same_v<decltype(rig_get_freq), rigbridge::RigGetFreqFn>);
static_assert(std::is_same_v<decltype(rig_set_freq), rigbridge::RigSetFreqFn>);
static_assert(std::is_same_v<decltype(rig_cleanup), rigbridge::RigCleanupFn>);
static_assert(std::is_same_v<decltype(rig_close), rigbridge::RigCloseFn>);
static_assert(std::is_same_v<decltype(rig_open), rigbridge::RigOpenFn>);
static_assert(std::is_same_v<decltype(rig_init), rigbridge::RigInitFn>);
static_assert(std::is_same_v<decltype(rig_set_debug), rigbridge::RigSetDebugFn>);
