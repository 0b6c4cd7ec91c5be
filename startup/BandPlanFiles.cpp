// Finding the band plan files.
#include "startup/BandPlanFiles.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "platform/runtime/Text.h"

namespace startup {

namespace {

bool isBandPlanName(const std::string& name) {
    return name.size() >= 4 && runtime::equalsNoCase(std::string_view(name).substr(name.size() - 4), ".bpl");
}

// A byte outside UTF-8 reads as its Latin-1 character, so such names sort among the rest.
std::u32string sortKey(const std::string& name) {
    return runtime::foldCase(runtime::toU32(name));
}

} // namespace

std::vector<std::string> bandPlanFiles(const std::string& folder) {
    namespace fs = std::filesystem;
    std::vector<std::string> names;
    std::error_code ec;
    fs::directory_iterator it(folder, ec);
    for (; !ec && it != fs::directory_iterator(); it.increment(ec)) {
        std::error_code typeError;
        if (!it->is_regular_file(typeError)) continue;
        std::string name = it->path().filename().string();
        if (isBandPlanName(name)) names.push_back(std::move(name));
    }
    std::vector<std::pair<std::u32string, std::string>> keyed;
    keyed.reserve(names.size());
    for (auto& n : names)
        keyed.emplace_back(sortKey(n), std::move(n));
    std::sort(keyed.begin(), keyed.end());
    names.clear();
    for (auto& k : keyed)
        names.push_back(std::move(k.second));
    return names;
}

} // namespace startup
