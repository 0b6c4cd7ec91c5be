// The band plan store's fuzz target: whatever a band plan file holds, a save after a preset capture keeps
// every value the capture did not change, and a file the store refused is never written.
#include "frontpanel/fuzz/BandPlanFuzzTarget.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "frame/ReceiverState.h"
#include "frontpanel/modBandPlan.h"
#include "platform/profile/fuzz/RunFolder.h"
#include "platform/runtime/Hooks.h"

namespace modBandPlan::fuzz {

namespace {

[[noreturn]] void broken(const char* what) {
    std::fprintf(stderr, "band plan store: %s\n", what);
    std::abort();
}

const std::string& runFolder() {
    static const profile::fuzz::RunFolder folder("nerix-bandplan-fuzz");
    return folder.path();
}

// The store as the program holds it, with one band read from the run's file.
struct Store {
    std::vector<MainBandRec> bands{newMainBand(runFolder(), "fuzz.bpl", 0)};
    ReceiverState state;
    BandPlanStore store{bands, state, [] { return std::string("2026-12-10 13:45:00"); }};

    Store() {
        store.InitBandPlanArrays(bands[0]);
        if (!store.LoadBandPlan(bands[0])) broken("a load was refused with no other load or save running");
    }
    MainBandRec& band() { return bands[0]; }
};

// Text as a save writes it and the next load reads it back: line breaks become blanks and NUL bytes go,
// and the load drops the blanks and tabs a value opens with (a lone CR at its start among them).
std::string asSaved(const std::string& text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') continue;
        if (c == '\r' || c == '\n')
            out += ' ';
        else if (c != '\0')
            out += c;
    }
    return out.substr(std::min(out.find_first_not_of(" \t"), out.size()));
}

// What a load gives, with the flags that say where a block came from left out.
struct Records {
    std::string caption, description;
    bool active;
    int32_t activeSubBand, numSubBands;
    std::vector<SubBandRec> subBands;
    bool operator==(const Records&) const = default;
};

Records recordsOf(const MainBandRec& band) {
    Records r{asSaved(band.Caption), asSaved(band.Description), band.Active,
              band.ActiveSubBand,    band.NumSubBands,          band.SubBand};
    for (SubBandRec& s : r.subBands) {
        s.Caption = asSaved(s.Caption);
        s.Description = asSaved(s.Description);
        s.Settings.Dirty = s.Settings.Loaded = false;
        for (PresetRec& p : s.Preset) {
            p.Caption = asSaved(p.Caption);
            p.Description = asSaved(p.Description);
            p.When = asSaved(p.When);
            p.Settings.Dirty = p.Settings.Loaded = false;
        }
    }
    return r;
}

} // namespace

void loadPressSaveLoad(const uint8_t* data, std::size_t size) {
    if (size < 3) return;
    const std::string file(reinterpret_cast<const char*>(data), size - 3);
    const uint8_t* choice = data + size - 3;
    const std::string path = runFolder() + "/fuzz.bpl";
    std::ofstream(path, std::ios::binary | std::ios::trunc) << file;
    const runtime::ScopedHooks quiet{
        runtime::Hooks{[] {}, [](const std::string&) {},
                       [](const std::string&, int32_t, const std::string&) { return runtime::mb::kOk; }}};

    Store first;
    MainBandRec& band = first.band();
    // A press, as the user makes it: on a preset of a sub-band whose button is shown.
    const int32_t s = choice[0] % (band.NumSubBands + 1);
    const int32_t p = choice[1] % kPresetUpperBound;
    const bool pressed = band.SubBand[static_cast<std::size_t>(s)].InUse;
    if (pressed) {
        first.store.LoadPresetOnDemand(0, s, p);
        PresetRec& preset = band.SubBand[static_cast<std::size_t>(s)].Preset[static_cast<std::size_t>(p)];
        preset.Caption = "F" + std::to_string(choice[2]);
        preset.Settings.NotchFilterCenter = 500 + choice[2];
        if (preset.Settings.FreqCurrent <= 0) preset.Settings.FreqCurrent = 7000000 + choice[2];
        preset.Settings.Dirty = true;
    }
    const bool saved = first.store.SaveBandPlan(band);
    if (band.FileUnreadable) {
        if (saved) broken("a file the load refused was saved");
        if (profile::fuzz::readFile(path) != file) broken("a file the load refused was written");
        return;
    }
    if (!saved) broken("a band plan that was read could not be saved");

    Store second;
    if (second.band().FileUnreadable) broken("the saved file is refused");
    if (pressed) second.store.LoadPresetOnDemand(0, s, p);
    if (recordsOf(second.band()) != recordsOf(band)) broken("a value reads differently after the save");
}

} // namespace modBandPlan::fuzz
