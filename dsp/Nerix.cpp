// The vector wrappers, the library probe and the decimal logarithm that never fails.
#include "dsp/Nerix.h"

#include <dlfcn.h>
#include <link.h>
#include <unistd.h>

#include <cmath>
#include <cstring>
#include <filesystem>

#include "frame/CFileVersionInfo.h"
#include "frame/DebugTools.h"
#include "platform/runtime/Convert.h"

namespace Nerix {

void Wrappers::CopySingles(const float* src, float* dst, int32_t n) {
    if (n <= 0) return;
    if (state_.UseSPL)
        nsp_.nspsbCopy(src, dst, n);
    else
        std::memmove(dst, src, static_cast<size_t>(n) * sizeof(float));
}

void Wrappers::ZeroIntegers(int16_t* v, int32_t n) {
    if (n <= 0) return;
    if (state_.UseSPL)
        nsp_.nspwbZero(v, n);
    else
        std::memset(v, 0, static_cast<size_t>(n) * sizeof(int16_t));
}

void Wrappers::ZeroSingles(float* v, int32_t n) {
    if (n <= 0) return;
    if (state_.UseSPL)
        nsp_.nspsbZero(v, n);
    else
        std::memset(v, 0, static_cast<size_t>(n) * sizeof(float));
}

void Wrappers::CartToPolar(const float* re, const float* im, float* mag, float* ph, int32_t n) {
    if (n <= 0) return;
    if (state_.UseSPL)
        nsp_.nspsbrCartToPolar(re, im, mag, ph, n);
    else
        nerix_.CartToPolar_S_2(re, im, mag, ph, n);
}

void Wrappers::ScaleSingles(float c, float* v, int32_t n) {
    if (n <= 0) return;
    if (state_.UseSPL)
        nsp_.nspsbMpy1(c, v, n);
    else
        nerix_.Mpy_S_1(c, v, n);
}

void Wrappers::MpyInPlace(const float* a, float* v, int32_t n) {
    if (n <= 0) return;
    if (state_.UseSPL)
        nsp_.nspsbMpy2(a, v, n);
    else
        nerix_.Mpy_S_2(a, v, n);
}

void Wrappers::Mpy3(const float* a, const float* b, float* dst, int32_t n) {
    if (n <= 0) return;
    if (state_.UseSPL)
        nsp_.nspsbMpy3(a, b, dst, n);
    else
        nerix_.Mpy_S_3(a, b, dst, n);
}

void Wrappers::AddInPlace(const float* src, float* dst, int32_t n) {
    if (n <= 0) return;
    if (state_.UseSPL)
        nsp_.nspsbAdd2(src, dst, n);
    else
        nerix_.Add_S_2(src, dst, n);
}

float Wrappers::MaxAbs(const float* v, int32_t n) {
    if (n <= 0) return 0.0f;
    if (state_.UseSPL) return std::fmax(std::fabs(nsp_.nspsMax(v, n)), std::fabs(nsp_.nspsMin(v, n)));
    return nerix_.MaxValueAbs_S(v, n);
}

void Wrappers::ComplexFFT(const float* reIn, const float* imIn, float* reOut, float* imOut, int32_t points,
                          int32_t order, const int32_t* bitReverse, const float* cosTable,
                          const float* sinTable) {
    if (points <= 0) return;
    if (state_.UseSPL)
        nsp_.nspcrFftNip(reIn, imIn, reOut, imOut, order, 1);
    else
        nerix_.FFT_S_2(reIn, imIn, reOut, imOut, points, order, bitReverse, cosTable, sinTable);
}

void Wrappers::CopyWords(const int16_t* src, int16_t* dst, int32_t n) {
    DebugTools::CopyWords(src, dst, n, state_.UseSPL, *this);
}

void Wrappers::Copy(const int16_t* src, int16_t* dst, int32_t n) {
    nsp_.nspwbCopy(src, dst, n);
}

FileVersionReader versionRecordReader() {
    return [](const std::string& fullPath) -> std::optional<std::string> {
        CFileVersionInfo info;
        info.FullPathName(fullPath);
        if (!info.Available()) return std::nullopt;
        return info.FileVersion();
    };
}

int16_t ProbeSPL(ReceiverState& state, const FileVersionReader& versions, const std::string& libraryName) {
    state.UseSPL = false;
    state.SPLAvailable = false;
    std::string fullPath;
    if (!GetDLLVer::GetDLLVersion(libraryName, fullPath, versions)) return 0;
    const std::optional<std::string> version = versions(fullPath);
    if (version && *version == kSplVersion) state.SPLAvailable = true;
    return 0;
}

double Log10(double x) noexcept {
    if (x == 0.0 || !std::isfinite(x)) return 0.0;
    return std::log(std::fabs(x)) / 2.30258509299405;
}

double Log10(std::string_view text) noexcept {
    try {
        const std::optional<double> x = runtime::parseDouble(text);
        return x ? Log10(*x) : 0.0;
    } catch (...) {
        return 0.0;
    }
}

} // namespace Nerix

namespace GetDLLVer {

namespace {

// The library stays loaded only while its path is read, as the probe frees it again.
class LoadedModule {
public:
    explicit LoadedModule(const std::string& name) {
        std::string path = name;
        if (name.find('/') == std::string::npos) {
            const std::string beside = runtime::executableFolder() + "/" + name;
            if (access(beside.c_str(), F_OK) == 0) path = beside;
        }
        handle_ = dlopen(path.c_str(), RTLD_LAZY | RTLD_LOCAL);
    }
    ~LoadedModule() {
        if (handle_) dlclose(handle_);
    }
    LoadedModule(const LoadedModule&) = delete;
    LoadedModule& operator=(const LoadedModule&) = delete;

    bool loaded() const noexcept { return handle_ != nullptr; }
    std::string path() const {
        link_map* map = nullptr;
        if (dlinfo(handle_, RTLD_DI_LINKMAP, &map) != 0 || !map || !map->l_name || !*map->l_name) return {};
        std::error_code ec;
        const auto absolute = std::filesystem::absolute(map->l_name, ec);
        return ec ? std::string(map->l_name) : absolute.string();
    }

private:
    void* handle_ = nullptr;
};

} // namespace

bool GetDLLVersion(const std::string& libraryName, std::string& fullPath,
                   const Nerix::FileVersionReader& versions) {
    LoadedModule module(libraryName);
    if (!module.loaded()) return false;
    const std::string path = module.path();
    if (!path.empty()) fullPath = path;
    return versions(path).has_value();
}

} // namespace GetDLLVer
