// FFTW wisdom in the user's cache folder.
#include "dsp/FFTWisdom.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <string_view>

#include "platform/profile/AtomicFile.h"
#include "platform/runtime/Hooks.h"
#include "platform/runtime/RuntimeError.h"

namespace Nerix {

namespace {

constexpr std::size_t kLargestWisdom = 4 << 20; // a few kilobytes per size; anything near this is no wisdom

// FFTW writes its entries, one a line, in the order of its hash table, which differs from run to run
// for the same wisdom.
std::vector<std::string_view> sortedLines(std::string_view text) {
    std::vector<std::string_view> lines;
    for (size_t at = 0; at < text.size();) {
        const size_t end = std::min(text.find('\n', at), text.size());
        lines.push_back(text.substr(at, end - at));
        at = end + 1;
    }
    std::sort(lines.begin(), lines.end());
    return lines;
}

bool sameWisdom(const std::optional<std::string>& saved, const std::string& wisdom) {
    return saved && sortedLines(*saved) == sortedLines(wisdom);
}

} // namespace

bool DllPlanLibrary::importWisdom(const std::string& text) {
    return dll_.ImportFFTWisdom_S(text.c_str()) == 1;
}

std::optional<std::string> DllPlanLibrary::exportWisdom() {
    const int32_t length = dll_.ExportFFTWisdom_S(nullptr, 0);
    if (length < 0) return std::nullopt;
    std::string text(static_cast<std::size_t>(length) + 1, '\0');
    // Nothing is planned in between, so the length holds.
    if (dll_.ExportFFTWisdom_S(text.data(), length + 1) != length) return std::nullopt;
    text.resize(static_cast<std::size_t>(length));
    return text;
}

std::vector<int32_t> DllPlanLibrary::plannedSizes() {
    dll_.MeasureRealFFT_S.get(); // bound here, so a measuring thread only calls it
    std::vector<int32_t> sizes(32);
    const int32_t count = dll_.PlannedRealFFTSizes_S(sizes.data(), static_cast<int32_t>(sizes.size()));
    sizes.resize(static_cast<std::size_t>(std::clamp<int32_t>(count, 0, static_cast<int32_t>(sizes.size()))));
    return sizes;
}

bool DllPlanLibrary::measure(int32_t points) {
    return dll_.MeasureRealFFT_S(points) == 1;
}

FFTWisdom::~FFTWisdom() {
    stop();
    if (measuring_.joinable()) measuring_.join();
}

std::string FFTWisdom::defaultFile() {
    std::string root;
    if (const char* xdg = std::getenv("XDG_CACHE_HOME"); xdg != nullptr && *xdg != '\0')
        root = xdg;
    else if (const char* home = std::getenv("HOME"))
        root = std::string(home) + "/.cache";
    else
        root = "./.cache";
    return root + "/" + runtime::kProductName + "/fftwf-wisdom";
}

bool FFTWisdom::load() {
    const auto text = profile::readWholeFile(file_, kLargestWisdom);
    if (!text) return false;
    if (library_.importWisdom(*text)) return true;
    runtime::AddLog("FFTW wisdom refused: " + file_);
    return false;
}

int32_t FFTWisdom::measure() {
    int32_t measured = 0;
    for (const int32_t points : library_.plannedSizes()) {
        if (stop_) break;
        if (library_.measure(points)) ++measured;
    }
    return measured;
}

void FFTWisdom::measureInBackground(std::function<void()> done) {
    if (measuring_.joinable()) return;
    std::vector<int32_t> sizes = library_.plannedSizes();
    measuring_ = std::thread([this, sizes = std::move(sizes), done = std::move(done)] {
        try {
            for (const int32_t points : sizes) {
                if (stop_) return;
                library_.measure(points);
            }
            if (done) done();
        } catch (...) {
            // A library that cannot measure leaves its plans as they are; nothing may leave the thread.
        }
    });
}

FFTWisdom::SaveStatus FFTWisdom::save() {
    const std::optional<std::string> wisdom = library_.exportWisdom();
    if (!wisdom) return SaveStatus::NotSaved;
    if (sameWisdom(profile::readWholeFile(file_, kLargestWisdom), *wisdom)) return SaveStatus::Unchanged;
    const std::string folder = std::filesystem::path(file_).parent_path().string();
    const profile::FileStatus status = folder.empty() || profile::makeFolders(folder)
                                           ? profile::replaceFileAtomically(file_, *wisdom)
                                           : profile::FileStatus::IoError;
    if (status == profile::FileStatus::Ok) return SaveStatus::Written;
    runtime::AddLog("FFTW wisdom not saved: " + file_ + ": " + profile::describe(status));
    return SaveStatus::NotSaved;
}

} // namespace Nerix
