// The thin layer over the two vector libraries: each wrapper runs on the signal processing library
// while UseSPL is on and on the outside DSP library (or a plain move or fill) otherwise.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "frame/DebugTools.h"
#include "frame/ReceiverState.h"
#include "platform/nerix/NerixDll.h"
#include "platform/nsp/NspDll.h"

namespace Nerix {

// Every wrapper treats n <= 0 as nothing to do: a negative count never becomes a byte count.
class Wrappers : public DebugTools::WordCopy {
public:
    Wrappers(ReceiverState& state, nerixdll::NerixDll& nerix, nspdll::NspDll& nsp)
        : state_(state), nerix_(nerix), nsp_(nsp) {}

    void CopySingles(const float* src, float* dst, int32_t n);
    void ZeroIntegers(int16_t* v, int32_t n);
    void ZeroSingles(float* v, int32_t n);
    void CartToPolar(const float* re, const float* im, float* mag, float* ph, int32_t n);
    void ScaleSingles(float c, float* v, int32_t n);
    void MpyInPlace(const float* a, float* v, int32_t n);
    void Mpy3(const float* a, const float* b, float* dst, int32_t n);
    void AddInPlace(const float* src, float* dst, int32_t n);
    // The largest absolute value on both paths (the limiter must see negative peaks); 0 for n <= 0.
    float MaxAbs(const float* v, int32_t n);
    void ComplexFFT(const float* reIn, const float* imIn, float* reOut, float* imOut, int32_t points,
                    int32_t order, const int32_t* bitReverse, const float* cosTable, const float* sinTable);

    // The 16-bit copy that follows the library choice.
    void CopyWords(const int16_t* src, int16_t* dst, int32_t n);
    // The signal processing library's 16-bit copy, for DebugTools::CopyWords.
    void Copy(const int16_t* src, int16_t* dst, int32_t n) override;

    bool UseSPL() const noexcept { return state_.UseSPL; }
    ReceiverState& State() noexcept { return state_; }
    nerixdll::NerixDll& Dll() noexcept { return nerix_; }

private:
    ReceiverState& state_;
    nerixdll::NerixDll& nerix_;
    nspdll::NspDll& nsp_;
};

// A file's version text (the file version of its version record) for a full path; nullopt when the
// file carries no version record. The version-information layer supplies the real one.
using FileVersionReader = std::function<std::optional<std::string>(const std::string& fullPath)>;

// The reader over our version records (CFileVersionInfo).
FileVersionReader versionRecordReader();

inline constexpr const char* kSplVersion = "4, 5, 2, 2";

// Decides whether the signal processing library may be used: SPLAvailable only when it loads and
// its file version is exactly "4, 5, 2, 2". UseSPL is always left off. Returns 0.
int16_t ProbeSPL(ReceiverState& state, const FileVersionReader& versions,
                 const std::string& libraryName = nspdll::kLibraryName);

// ln|x| / 2.30258509299405; 0 for 0, empty and anything that is not a number.
double Log10(double x) noexcept;
double Log10(std::string_view text) noexcept;

} // namespace Nerix

namespace GetDLLVer {

// Loads the library by name, sets fullPath to where it was found, and says whether the file carries
// a version record. A library that does not load leaves fullPath as it was and gives false.
bool GetDLLVersion(const std::string& libraryName, std::string& fullPath,
                   const Nerix::FileVersionReader& versions);

} // namespace GetDLLVer
