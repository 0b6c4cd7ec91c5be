// FFTW wisdom kept in the user's cache folder: the transforms measured once (FFTW_MEASURE) and reused by
// every later start, since measuring costs seconds that no start-up should wait for.
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "platform/nerix/NerixDll.h"

namespace Nerix {

// What the wisdom asks of the DSP library.
class PlanLibrary {
public:
    virtual ~PlanLibrary() = default;
    // False when the text is refused.
    virtual bool importWisdom(const std::string& text) = 0;
    // Nothing when the library gives none.
    virtual std::optional<std::string> exportWisdom() = 0;
    // The real transform sizes planned so far. Also readies measure() for a thread of its own.
    virtual std::vector<int32_t> plannedSizes() = 0;
    // Plans that size measured, on the calling thread; false when it could not.
    virtual bool measure(int32_t points) = 0;
};

// The library's own functions.
class DllPlanLibrary final : public PlanLibrary {
public:
    explicit DllPlanLibrary(nerixdll::NerixDll& dll) : dll_(dll) {}
    bool importWisdom(const std::string& text) override;
    std::optional<std::string> exportWisdom() override;
    std::vector<int32_t> plannedSizes() override;
    bool measure(int32_t points) override;

private:
    nerixdll::NerixDll& dll_;
};

class FFTWisdom {
public:
    FFTWisdom(PlanLibrary& library, std::string file) : library_(library), file_(std::move(file)) {}
    // Stops a measuring thread after the size in hand and waits for it.
    ~FFTWisdom();
    FFTWisdom(const FFTWisdom&) = delete;
    FFTWisdom& operator=(const FFTWisdom&) = delete;

    // "NerixSDR/fftwf-wisdom" in $XDG_CACHE_HOME, or in ~/.cache when that is unset or empty.
    static std::string defaultFile();

    // Hands the file's wisdom to the library, before the first plan is made; false when there is no file
    // or the library refuses it (the plans are then measured again).
    bool load();
    // Measures every size planned so far, on this thread; the number measured.
    int32_t measure();
    // The same on a thread of its own. done runs on that thread once every size is measured (not when
    // stopped): the place to hand save() to the thread that plans.
    void measureInBackground(std::function<void()> done);
    // Asks measuring to end after the size in hand.
    void stop() noexcept { stop_ = true; }

    enum class SaveStatus { Written, Unchanged, NotSaved };
    // Writes the library's wisdom over the file when it holds other entries (making the folder); a failure
    // is traced.
    // FFTW's wisdom may not be read while a plan is being made, so this runs on the thread that plans,
    // and never while measuring.
    SaveStatus save();

    const std::string& file() const noexcept { return file_; }

private:
    PlanLibrary& library_;
    std::string file_;
    std::atomic<bool> stop_{false};
    std::thread measuring_;
};

} // namespace Nerix
