// Prints each model number given that the installed Hamlib has no capabilities for, one a line.
#include <dlfcn.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv) {
    void* hamlib = dlopen("libhamlib.so.4", RTLD_NOW | RTLD_LOCAL);
    if (!hamlib) {
        std::fprintf(stderr, "Hamlib does not load: %s\n", dlerror());
        return 2;
    }
    auto setDebug = reinterpret_cast<void (*)(int)>(dlsym(hamlib, "rig_set_debug"));
    auto loadAllBackends = reinterpret_cast<int (*)()>(dlsym(hamlib, "rig_load_all_backends"));
    auto getCaps = reinterpret_cast<const void* (*)(uint32_t)>(dlsym(hamlib, "rig_get_caps"));
    if (!setDebug || !loadAllBackends || !getCaps) {
        std::fprintf(stderr, "Hamlib lacks a call the probe needs\n");
        return 2;
    }
    setDebug(0);
    // Hamlib knows a model's capabilities only once its backends are loaded.
    loadAllBackends();
    for (int i = 1; i < argc; ++i) {
        char* end = nullptr;
        const unsigned long model = std::strtoul(argv[i], &end, 10);
        if (*end != '\0' || model > UINT32_MAX) {
            std::fprintf(stderr, "not a model number: %s\n", argv[i]);
            return 2;
        }
        if (!getCaps(static_cast<uint32_t>(model))) std::printf("%lu\n", model);
    }
    return 0;
}
