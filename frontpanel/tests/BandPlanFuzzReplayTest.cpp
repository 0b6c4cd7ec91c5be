// Seeded hand edits of band plans through the band plan store's fuzz target, under the sanitizers.
#include "frontpanel/fuzz/BandPlanFuzzTarget.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "platform/profile/testing/TempFolder.h"

namespace {

std::vector<std::string> seedPlans() {
    std::vector<std::string> plans;
    for (const char* folder : {BANDPLAN_FIXTURES, NERIX_DATA_DIR}) {
        for (const auto& entry : std::filesystem::directory_iterator(folder)) {
            if (entry.path().extension() == ".bpl")
                plans.push_back(profile::testing::TempFolder::readFile(entry.path().string()));
        }
    }
    return plans;
}

// Lines of the text as they are split at LF, each with its line end.
std::vector<std::string> linesOf(const std::string& text) {
    std::vector<std::string> lines;
    for (std::size_t pos = 0; pos < text.size();) {
        const auto lf = text.find('\n', pos);
        const std::size_t end = lf == std::string::npos ? text.size() : lf + 1;
        lines.push_back(text.substr(pos, end - pos));
        pos = end;
    }
    return lines;
}

std::string joined(const std::vector<std::string>& lines) {
    std::string text;
    for (const auto& l : lines)
        text += l;
    return text;
}

std::string replacedAll(std::string text, const std::string& from, const std::string& to) {
    for (auto at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size()))
        text.replace(at, from.size(), to);
    return text;
}

// One hand edit of the kind users and editors make.
std::string handEdit(std::string text, std::mt19937& rng) {
    auto lines = linesOf(text);
    const std::size_t n = lines.empty() ? 0 : rng() % lines.size();
    switch (rng() % 10) {
    case 0: // indent a line
        if (!lines.empty()) lines[n].insert(0, rng() % 2 ? " " : "\t");
        return joined(lines);
    case 1: // blanks inside a header's brackets, or an old name before it
        if (!lines.empty() && lines[n].starts_with('['))
            lines[n] = rng() % 2 ? "[ " + lines[n].substr(1) : "[Old]" + lines[n];
        return joined(lines);
    case 2: // a tab or blanks around "="
        if (!lines.empty()) {
            if (const auto eq = lines[n].find('='); eq != std::string::npos)
                lines[n].insert(eq + (rng() % 2), rng() % 2 ? "\t" : " ");
        }
        return joined(lines);
    case 3: // a line doubled, or one gone
        if (!lines.empty()) {
            if (rng() % 2)
                lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(n), lines[n]);
            else
                lines.erase(lines.begin() + static_cast<std::ptrdiff_t>(n));
        }
        return joined(lines);
    case 4:
        return "\xEF\xBB\xBF" + text;
    case 5:
        return replacedAll(text, "\r\n", rng() % 2 ? "\r" : "\n");
    case 6: // a Latin-1 or UTF-8 letter in a value
        if (!lines.empty()) {
            if (const auto eq = lines[n].find('='); eq != std::string::npos)
                lines[n].insert(eq + 1, rng() % 2 ? "\xE9" : "\xD0\x94");
        }
        return joined(lines);
    case 7: // the last line break gone
        if (text.ends_with("\r\n")) text.resize(text.size() - 2);
        return text;
    default: { // any byte of the INI syntax
        const std::string bytes = "[]=\r\n \t;\"0-9";
        const std::size_t at = text.empty() ? 0 : rng() % text.size();
        text.insert(at, 1, bytes[rng() % bytes.size()]);
        return text;
    }
    }
}

} // namespace

TEST(BandPlanFuzzReplay, HandEditedPlansKeepEveryValueACaptureDoesNotChange) {
    const auto plans = seedPlans();
    ASSERT_GE(plans.size(), 10u);
    std::mt19937 rng(20261210);
    for (int run = 0; run < 150; ++run) {
        std::string plan = plans[rng() % plans.size()];
        const int edits = static_cast<int>(rng() % 5);
        for (int e = 0; e < edits; ++e)
            plan = handEdit(plan, rng);
        std::vector<uint8_t> input(plan.begin(), plan.end());
        for (int c = 0; c < 3; ++c)
            input.push_back(static_cast<uint8_t>(rng()));
        modBandPlan::fuzz::loadPressSaveLoad(input.data(), input.size());
    }
}
// Inputs the fuzzer once failed on, as a band plan text and the three bytes that choose the press.
TEST(BandPlanFuzzReplay, InputsTheFuzzerFoundKeepTheInvariants) {
    const std::string amateur =
        profile::testing::TempFolder::readFile(std::string(NERIX_DATA_DIR) + "/Amateur.bpl");
    const struct {
        const char* name;
        std::string plan;
    } cases[] = {
        // The save writes the lone CR as a blank, which the next load drops as it drops every leading blank.
        {"a caption opening with a lone CR", replacedAll(amateur, "Caption=160m\r\n", "Caption=\r160m\r\n")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_NE(c.plan, amateur);
        const std::string input = c.plan + std::string("\x01\x01\x0a", 3);
        modBandPlan::fuzz::loadPressSaveLoad(reinterpret_cast<const uint8_t*>(input.data()), input.size());
    }
}
