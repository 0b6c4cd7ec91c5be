// A shared library bound by name at its first call, as the program binds its outside libraries.
#pragma once

#include <string>

#include "platform/runtime/RuntimeError.h"

namespace runtime {

class DynamicLibrary {
public:
    // name: a file name ("librigbridge.so"), looked for beside the executable first and then on the
    // system's library path; or a path with a slash, taken as it is.
    explicit DynamicLibrary(std::string name);
    ~DynamicLibrary();
    DynamicLibrary(const DynamicLibrary&) = delete;
    DynamicLibrary& operator=(const DynamicLibrary&) = delete;

    const std::string& name() const noexcept { return name_; }
    bool isLoaded() const noexcept { return handle_ != nullptr; }

    // Loads the library if needed and returns the named function. A missing library raises
    // File not found (53), one that does not load Error in loading DLL (48), a missing function
    // Can't find DLL entry point (453).
    void* symbol(const char* function);
    template <class Fn> Fn* function(const char* name) { return reinterpret_cast<Fn*>(symbol(name)); }

    // Loads without looking anything up; false when the library is not there.
    bool tryLoad() noexcept;

private:
    void load();

    std::string name_;
    void* handle_ = nullptr;
};

// One function of a library, looked up at its first call and kept.
template <class Fn> class BoundFunction {
public:
    BoundFunction(DynamicLibrary& library, const char* name) : library_(library), name_(name) {}
    Fn* get() {
        if (!fn_) fn_ = library_.function<Fn>(name_);
        return fn_;
    }
    template <class... Args> auto operator()(Args&&... args) { return get()(std::forward<Args>(args)...); }

private:
    DynamicLibrary& library_;
    const char* name_;
    Fn* fn_ = nullptr;
};

// The folder that holds the running executable, without a trailing slash.
std::string executableFolder();

} // namespace runtime
