// FFTW wisdom: where it is kept, when it is read and written, measuring away from the caller, and the
// library's measured plans taking over while transforms run. A binary of its own: measuring leaves
// wisdom in FFTW, which would give the other tests' later plans in the same process other rounding.
#include <chrono>
#include <complex>
#include <condition_variable>
#include <mutex>
#include <thread>

#include "dsp/testing/DspFixture.h"
#include "platform/profile/testing/TempFolder.h"
#include "platform/runtime/Hooks.h"

#include "dsp/FFTWisdom.h"
#include "dsp/clsFFTFilter.h"
#include "dsp/clsFFTReal.h"

namespace {

using Nerix::FFTWisdom;
using profile::testing::ScopedEnv;
using profile::testing::TempFolder;
using SaveStatus = FFTWisdom::SaveStatus;

constexpr auto kCeiling = std::chrono::seconds(120);

// A library that records what it is asked; measure() may be held until the test lets it go.
struct FakeLibrary final : Nerix::PlanLibrary {
    std::optional<std::string> wisdom = "(fftw-3.3.10 fftwf_wisdom #x1\n  (a 1)\n  (b 2)\n)\n";
    bool refuse = false;
    std::vector<int32_t> sizes{256, 4096};

    std::mutex mutex;
    std::condition_variable changed;
    std::vector<std::string> imported;
    std::vector<int32_t> measured;
    std::vector<std::thread::id> measuredOn;
    bool hold = false, holding = false;

    bool importWisdom(const std::string& text) override {
        imported.push_back(text);
        return !refuse;
    }
    std::optional<std::string> exportWisdom() override { return wisdom; }
    std::vector<int32_t> plannedSizes() override { return sizes; }
    bool measure(int32_t points) override {
        std::unique_lock lock(mutex);
        holding = true;
        changed.notify_all();
        changed.wait_for(lock, kCeiling, [&] { return !hold; });
        holding = false;
        measured.push_back(points);
        measuredOn.push_back(std::this_thread::get_id());
        changed.notify_all();
        return true;
    }
    template <class Predicate> bool waitFor(Predicate done) {
        std::unique_lock lock(mutex);
        return changed.wait_for(lock, kCeiling, done);
    }
};

TEST(FFTWisdomFile, IsKeptInTheUserCacheFolder) {
    struct Case {
        std::optional<std::string> xdgCache, home;
        std::string want;
    };
    const Case cases[] = {
        {"/x/cache", "/h", "/x/cache/NerixSDR/fftwf-wisdom"},
        {"", "/h", "/h/.cache/NerixSDR/fftwf-wisdom"},
        {std::nullopt, "/h", "/h/.cache/NerixSDR/fftwf-wisdom"},
    };
    for (const Case& c : cases) {
        ScopedEnv xdg("XDG_CACHE_HOME", c.xdgCache), home("HOME", c.home);
        EXPECT_EQ(FFTWisdom::defaultFile(), c.want) << c.xdgCache.value_or("(unset)");
    }
}

TEST(FFTWisdomFile, IsHandedToTheLibraryAndRewrittenOnlyWhenTheWisdomChanged) {
    TempFolder folder;
    FakeLibrary library;
    const std::string file = folder.file("cache/NerixSDR/fftwf-wisdom");
    FFTWisdom wisdom(library, file);
    EXPECT_FALSE(wisdom.load());
    EXPECT_TRUE(library.imported.empty());

    EXPECT_EQ(wisdom.save(), SaveStatus::Written); // the folders made on the way
    EXPECT_EQ(folder.read("cache/NerixSDR/fftwf-wisdom"), *library.wisdom);
    EXPECT_EQ(wisdom.save(), SaveStatus::Unchanged);
    library.wisdom = "(fftw-3.3.10 fftwf_wisdom #x1\n  (b 2)\n  (a 1)\n)\n"; // the next run's order
    EXPECT_EQ(wisdom.save(), SaveStatus::Unchanged);
    library.wisdom = "(fftw-3.3.10 fftwf_wisdom #x1\n  (b 2)\n  (a 1)\n  (c 3)\n)\n";
    EXPECT_EQ(wisdom.save(), SaveStatus::Written);

    FFTWisdom next(library, file);
    EXPECT_TRUE(next.load());
    EXPECT_EQ(library.imported, std::vector<std::string>{*library.wisdom});
    library.refuse = true;
    EXPECT_FALSE(next.load());
}

TEST(FFTWisdomFile, ThatCannotBeWrittenIsLeftWithATraceLine) {
    std::vector<std::string> trace;
    runtime::ScopedHooks hooks(
        runtime::Hooks{.addLog = [&](const std::string& line) { trace.push_back(line); }});
    TempFolder folder;
    folder.write("cache", "a file where the folder would be");
    FakeLibrary library;
    FFTWisdom wisdom(library, folder.file("cache/NerixSDR/fftwf-wisdom"));
    EXPECT_EQ(wisdom.save(), SaveStatus::NotSaved);
    ASSERT_EQ(trace.size(), 1u);
    EXPECT_EQ(trace[0].rfind("FFTW wisdom not saved: " + wisdom.file() + ": ", 0), 0u) << trace[0];

    library.wisdom.reset(); // the library had none to give
    FFTWisdom nothing(library, folder.file("wisdom"));
    EXPECT_EQ(nothing.save(), SaveStatus::NotSaved);
}

TEST(FFTWisdomMeasuring, MeasuresEveryPlannedSizeAwayFromTheCallerAndThenSaysSo) {
    FakeLibrary library;
    FFTWisdom wisdom(library, "unused");
    std::thread::id doneOn;
    wisdom.measureInBackground([&] {
        std::lock_guard lock(library.mutex);
        doneOn = std::this_thread::get_id();
        library.changed.notify_all();
    });
    ASSERT_TRUE(library.waitFor([&] { return doneOn != std::thread::id{}; }));
    EXPECT_EQ(library.measured, library.sizes);
    for (const std::thread::id on : library.measuredOn)
        EXPECT_NE(on, std::this_thread::get_id());
    EXPECT_EQ(doneOn, library.measuredOn.back());
}

TEST(FFTWisdomMeasuring, StopsAfterTheSizeInHandWithoutSayingItIsDone) {
    FakeLibrary library;
    library.hold = true;
    bool done = false;
    {
        FFTWisdom wisdom(library, "unused");
        wisdom.measureInBackground([&] { done = true; });
        ASSERT_TRUE(library.waitFor([&] { return library.holding; }));
        wisdom.stop();
        {
            std::lock_guard lock(library.mutex);
            library.hold = false;
            library.changed.notify_all();
        }
    } // waits for the thread
    EXPECT_EQ(library.measured, std::vector<int32_t>{256});
    EXPECT_FALSE(done);
}

// The library's own measuring, while this thread keeps transforming and filtering with the plans of that
// size: the results stay right throughout and after the measured plans take over.
TEST(MeasuredPlans, TakeOverFromTheEstimatedOnesWhileTransformsRun) {
    constexpr int32_t kN = 256;
    DspLibraries libs;
    clsFFTReal fft(libs.wrappers);
    fft.FFTInit(kN);
    clsFFTFilter filter(libs.wrappers);
    filter.SegmentSize = kN;
    filter.FSampling = 48000;
    filter.init(kN / 2);
    filter.FLow = 300;
    filter.FHigh = 3000;
    filter.MakeFilter();

    std::vector<int32_t> sizes(32);
    sizes.resize(size_t(libs.nerix.PlannedRealFFTSizes_S(sizes.data(), int32_t(sizes.size()))));
    EXPECT_NE(std::find(sizes.begin(), sizes.end(), kN), sizes.end());

    const auto x = randomFloats(kN, 41);
    std::vector<std::complex<double>> want(kN);
    for (int32_t k = 0; k < kN; ++k)
        for (int32_t t = 0; t < kN; ++t)
            want[size_t(k)] += double(x[size_t(t)]) * std::polar(1.0, -2 * M_PI * double((k * t) % kN) / kN);
    std::vector<float> block(kN), reference(kN);
    std::copy_n(x.begin(), kN / 2, reference.begin());
    filter.init(kN / 2); // the same filter from a clear tail for every block
    filter.MakeFilter();
    filter.Filter_FFT_S_1(reference);

    std::vector<float> re(kN), im(kN);
    const auto check = [&](const char* when) {
        fft.FFT_Real_S_2(x, re, im);
        for (int32_t k = 0; k < kN; ++k) {
            ASSERT_NEAR(re[size_t(k)], want[size_t(k)].real(), 1e-4) << when << " " << k;
            ASSERT_NEAR(im[size_t(k)], want[size_t(k)].imag(), 1e-4) << when << " " << k;
        }
        filter.init(kN / 2);
        filter.MakeFilter();
        std::copy_n(x.begin(), kN / 2, block.begin());
        filter.Filter_FFT_S_1(block);
        for (int32_t k = 0; k < kN; ++k)
            ASSERT_NEAR(block[size_t(k)], reference[size_t(k)], 1e-5) << when << " " << k;
    };

    libs.nerix.MeasureRealFFT_S.get(); // bound on this thread, as the wisdom's measuring binds it
    std::atomic<int32_t> measured{-1};
    std::thread measuring([&] { measured = libs.nerix.MeasureRealFFT_S(kN); });
    const auto start = std::chrono::steady_clock::now();
    do
        check("while measuring");
    while (measured < 0 && std::chrono::steady_clock::now() - start < kCeiling);
    measuring.join();
    EXPECT_EQ(measured, 1);
    check("measured");
    EXPECT_EQ(libs.nerix.MeasureRealFFT_S(3000), 0); // no power of two
}

TEST(MeasuredPlans, LeaveWisdomThatTheNextStartTakesAndRubbishIsRefused) {
    DspLibraries libs;
    clsFFTReal fft(libs.wrappers);
    fft.FFTInit(512);
    Nerix::DllPlanLibrary library(libs.nerix);
    TempFolder folder;
    const std::string file = folder.file("NerixSDR/fftwf-wisdom");
    FFTWisdom wisdom(library, file);
    EXPECT_FALSE(wisdom.load());
    EXPECT_GE(wisdom.measure(), 1);
    EXPECT_EQ(wisdom.save(), SaveStatus::Written);
    EXPECT_EQ(folder.read("NerixSDR/fftwf-wisdom").rfind("(fftw-3", 0), 0u);
    EXPECT_EQ(wisdom.save(), SaveStatus::Unchanged);
    EXPECT_TRUE(FFTWisdom(library, file).load());

    std::vector<std::string> trace;
    runtime::ScopedHooks hooks(
        runtime::Hooks{.addLog = [&](const std::string& line) { trace.push_back(line); }});
    EXPECT_FALSE(FFTWisdom(library, folder.write("rubbish", "no wisdom here")).load());
    EXPECT_EQ(trace, std::vector<std::string>{"FFTW wisdom refused: " + folder.file("rubbish")});
}

} // namespace
