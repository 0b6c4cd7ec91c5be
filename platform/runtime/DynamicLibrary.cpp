// dlopen/dlsym behind the by-name binding of outside libraries.
#include "platform/runtime/DynamicLibrary.h"

#include <dlfcn.h>
#include <unistd.h>

#include <filesystem>
#include <system_error>

namespace runtime {

std::string executableFolder() {
    std::error_code ec;
    const auto exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    if (ec) return ".";
    return exe.parent_path().string();
}

DynamicLibrary::DynamicLibrary(std::string name) : name_(std::move(name)) {}

DynamicLibrary::~DynamicLibrary() {
    if (handle_) dlclose(handle_);
}

void DynamicLibrary::load() {
    if (handle_) return;
    std::string path = name_;
    if (name_.find('/') == std::string::npos) {
        const std::string beside = executableFolder() + "/" + name_;
        if (access(beside.c_str(), F_OK) == 0) path = beside;
    }
    handle_ = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (handle_) return;
    const char* why = dlerror();
    const bool missing = path.find('/') != std::string::npos
                             ? access(path.c_str(), F_OK) != 0
                             : std::string(why ? why : "").find("No such file") != std::string::npos;
    if (missing) raise(err::kFileNotFound, "DynamicLibrary", "File not found: " + name_);
    raise(err::kDllLoad, "DynamicLibrary",
          "Error in loading DLL: " + name_ + (why ? std::string(" (") + why + ")" : ""));
}

bool DynamicLibrary::tryLoad() noexcept {
    return resumeNext([this] { load(); });
}

void* DynamicLibrary::symbol(const char* function) {
    load();
    dlerror();
    void* address = dlsym(handle_, function);
    if (!address)
        raise(err::kDllEntryPoint, "DynamicLibrary",
              std::string("Can't find DLL entry point ") + function + " in " + name_);
    return address;
}

} // namespace runtime
