// The seam over the signal processing library: each function bound by name at its first call.
#pragma once

#include <string>

#include "platform/nsp/NspApi.h"
#include "platform/runtime/DynamicLibrary.h"

namespace nspdll {

inline constexpr const char* kLibraryName = "libnsp.so";

class NspDll {
public:
    explicit NspDll(std::string name = kLibraryName) : Library(std::move(name)) {}
    NspDll(const NspDll&) = delete;
    NspDll& operator=(const NspDll&) = delete;

    runtime::DynamicLibrary Library;
#define NSP_BIND(name) runtime::BoundFunction<decltype(::name)> name{Library, #name};
    NSP_FUNCTIONS(NSP_BIND)
#undef NSP_BIND
};

} // namespace nspdll
