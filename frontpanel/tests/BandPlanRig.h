// The band plan panel over the front panel's core (PanelRig: real handlers, fakes at the devices) and a
// band plan store over temporary files: the main window's side, the popup and the preset dialog faked,
// the recorder's log recorded.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "frontpanel/BandPlanPanel.h"
#include "frontpanel/BandPlanStartUp.h"
#include "frontpanel/ControlsStartUp.h"
#include "frontpanel/tests/PanelRig.h"
#include "platform/profile/testing/TempFolder.h"
#include "platform/runtime/Hooks.h"

namespace paneltest {

inline constexpr const char* kStoreNow = "2026-12-10 13:45:00";

struct FakeBandShell final : frontpanel::BandPlanShell {
    bool formLoading = false;
    bool dreamStarting = false;
    std::vector<std::string> splashes;
    bool splashShown = false;
    bool FormLoading() const override { return formLoading; }
    bool DreamStarting() const override { return dreamStarting; }
    int32_t WindowLeft() const override { return 1500; }
    int32_t WindowTop() const override { return 3000; }
    void ShowSplash(const std::string& name) override {
        splashes.push_back(name);
        splashShown = true;
    }
    void HideSplash() override { splashShown = false; }
};

struct FakePopup final : frontpanel::PresetDescPopup {
    bool shown = false;
    int32_t left = 0, top = 0;
    std::string caption, text;
    void setShown(bool on) override { shown = on; }
    bool Shown() const override { return shown; }
    void MoveTo(int32_t l, int32_t t) override {
        left = l;
        top = t;
    }
    void BringToFront() override {}
    void setLines(const std::string& c, const std::string& t) override {
        caption = c;
        text = t;
    }
};

// The dialog as a script: each opening runs the next step on the edit, as a user at the window would.
struct ScriptedPresetDialog final : frontpanel::PresetDialog {
    std::vector<std::function<void(frontpanel::PresetEdit&)>> steps;
    std::vector<frontpanel::PresetEdit> opened;
    void ShowModal(frontpanel::PresetEdit& edit) override {
        edit.PresetEditSaved = false;
        opened.push_back(edit);
        if (steps.empty()) return;
        auto step = steps.front();
        steps.erase(steps.begin());
        step(edit);
    }
};

struct RecordingLog final : frontpanel::FrequencyLog {
    std::vector<int32_t> records;
    std::function<void()> during;
    void NewLogRecord(int32_t f) override {
        records.push_back(f);
        if (during) during();
    }
};

struct BandPlanRig : PanelRig {
    BandPlanRig() {
        namespace s = frontpanel::startup;
        core->knobs.FillKnobTable(core->levels.twinSetUp());
        s::InitialiseAgcSliders(*core);
        s::SelectFastAgc(*core);
        s::FillDefaultTables(*core);
        bands.reserve(8);
    }

    // A band plan file in the program folder, its record made as the start-up makes it.
    MainBandRec& addBand(const std::string& fileName, const std::string& text) {
        dir.write(fileName, text);
        bands.push_back(modBandPlan::newMainBand(dir.path(), fileName, static_cast<int32_t>(bands.size())));
        return bands.back();
    }
    // The start-up's steps of the band plan, once the bands are there.
    void startUp() {
        namespace s = frontpanel::startup;
        s::FillBandSelector(panel, bands);
        s::InitialiseSubBandButtons(panel);
        s::InitialisePresetButtons(panel);
        for (int16_t i = 0; i < frontpanel::kSubBandButtons; ++i)
            panel.SubBandDescPos[static_cast<size_t>(i)] = {100.0f * i, 900};
        for (int16_t j = 0; j < frontpanel::kPresetButtons; ++j)
            panel.PresetDescPos[static_cast<size_t>(j)] = {1000.0f * j, 1500};
        panel.bandSelectPlace = {120, 0, 2600, 315};
        panel.subBandSelectPlace = {2900, 0, 1500, 315};
        panel.subBandListPlace = {2900, 0, 1500, 315};
        s::SelectBandUsedLast(panel, state().CurrentMainBandIndex);
    }

    int32_t tunedHz() const { return vfoObject.TunedFrequency() / 10; }
    SubBandRec& sub(int32_t band, int32_t i) {
        return bands[static_cast<size_t>(band)].SubBand[static_cast<size_t>(i)];
    }
    PresetRec& preset(int32_t band, int32_t i, int32_t j) {
        return sub(band, i).Preset[static_cast<size_t>(j)];
    }

    profile::testing::TempFolder dir;
    std::function<void()> onPump;
    runtime::ScopedHooks hooks{runtime::Hooks{[this] {
                                                  if (onPump) onPump();
                                              },
                                              {},
                                              {}}};
    modBandPlan::BandPlanStore store{bands, state(), [] { return std::string(kStoreNow); }};
    FakeBandShell bandShell;
    FakePopup popup;
    ScriptedPresetDialog presetDialog;
    RecordingLog log;
    frontpanel::BandPlanPanel panel{*core, {bands, store, dialogs, bandShell, popup, presetDialog, &log, [] {
                                                return std::string("2027-01-02 03:04:05");
                                            }}};
};

} // namespace paneltest
