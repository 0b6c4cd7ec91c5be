// The seam over the outside DSP library: each function bound by name at its first call.
#pragma once

#include <string>

#include "platform/nerix/NerixApi.h"
#include "platform/runtime/DynamicLibrary.h"

namespace nerixdll {

inline constexpr const char* kLibraryName = "libnerix.so";

// A missing library or function raises the run-time error of the binder (53, 48 or 453) at the call.
class NerixDll {
public:
    explicit NerixDll(std::string name = kLibraryName) : Library(std::move(name)) {}
    NerixDll(const NerixDll&) = delete;
    NerixDll& operator=(const NerixDll&) = delete;

    runtime::DynamicLibrary Library;
#define NERIX_BIND(name) runtime::BoundFunction<decltype(::name)> name{Library, #name};
    NERIX_FUNCTIONS(NERIX_BIND)
#undef NERIX_BIND
};

} // namespace nerixdll
