// The main window's settings section: defaults of an empty store, the conversions, the exact save, and a
// restore and save that keep every value (the noise floor does not drift down).
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include "dsp/NerixDX8.h"
#include "dsp/clsFFTFilter.h"
#include "dsp/testing/DspFixture.h"
#include "mainwindow/FormSettings.h"
#include "platform/profile/SettingsStore.h"
#include "platform/profile/testing/TempFolder.h"
#include "platform/runtime/Convert.h"
#include "platform/runtime/Hooks.h"
#include "platform/sound/testing/SimulatedSoundSystem.h"

namespace {

using KeyValues = std::vector<std::pair<std::string, std::string>>;

// A store that writes down every save in order, and counts commits.
class RecordingStore final : public profile::SettingsStore {
public:
    std::string GetSetting(std::string_view app, std::string_view section, std::string_view key,
                           std::string_view def) const override {
        return store_.GetSetting(app, section, key, def);
    }
    void SaveSetting(std::string_view app, std::string_view section, std::string_view key,
                     std::string_view value) override {
        EXPECT_EQ(app, "NerixSDR");
        EXPECT_EQ(section, "frmMain");
        saved.emplace_back(key, value);
        store_.SaveSetting(app, section, key, value);
    }
    bool commit() override {
        commitsAfter.push_back(saved.size());
        return true;
    }
    void put(std::string_view key, std::string_view value) {
        store_.SaveSetting("NerixSDR", "frmMain", key, value);
    }

    KeyValues saved;
    std::vector<std::size_t> commitsAfter; // saves written before each commit

private:
    profile::MemorySettingsStore store_;
};

constexpr const char* kProgramFolder = "/home/user/.local/share/NerixSDR";

struct Rig {
    DspLibraries dsp;
    ReceiverState& state = dsp.state;
    RecordingStore store;
    sound::testing::SimulatedSoundSystem sound;
    NerixDX8 soundCard{sound, dsp.wrappers};
    clsFFTFilter hilbert{dsp.wrappers};
    float nbKnob = 0.5f;
    mainwindow::FormSettings settings{store, state, kProgramFolder};

    mainwindow::SettingsObjects objects() {
        return {&soundCard, &hilbert, [this] { return nbKnob; }};
    }
    void restore() { settings.RestoreSettings(objects()); }
    void save() { settings.SaveSettings(objects()); }

    // Every field the section keeps, away from its default, so a test sees which ones a restore set.
    void presetAwayFromDefaults() {
        state.SDRModelNo = 7;
        state.CurrentMainBandIndex = 2;
        state.NoiseFloor = 5;
        state.DisplayMode = 1;
        state.ScopeSource = 1;
        state.PerfStatsOn = true;
        state.SPLAvailable = true;
        state.UseSPL = true;
        state.ShaftAutoRate = true;
        state.EnableShaftEncoder = true;
        state.ScrollWheelEnableOverScope = true;
        soundCard.setCurrentPlaybackDevice(5);
        soundCard.setCurrentCaptureDevice(6);
        state.MuteAf = true;
        state.NBOn = true;
        state.HiLiteBorder = true;
        state.DRM.RunDreamOnDRM = true;
        state.DRM.MuteAFOnDRM = true;
        state.DRM.CloseSoundcardOnDRM = true;
        state.DRM.PathToDream = "/opt/decoder";
        state.DRM.DreamProgArgs = "-x";
        state.DRM.DreamWindowStyle = 2;
        state.DRM.DreamCloseOnExit = false;
        state.DRM.DreamCloseOnModeChange = true;
        state.KBDSupport = true;
        state.AutoTrackPresets = false;
        state.FormCaptionOffOnPwrOn = true;
        state.AutoStartSDR = true;
        state.SaveRecordingsPath = "/tmp/old";
        state.PhaseBitCorrection = true;
        state.FlipIQ = true;
        hilbert.PhaseAngle = 1.5;
        state.SoundcardCorrectionAmpBalance = 0.25f;
        state.RunPriority = 64;
    }
};

// Trace lines for one scope.
struct Trace {
    std::vector<std::string> lines;
    runtime::ScopedHooks hooks{{.addLog = [this](const std::string& l) { lines.push_back(l); }}};
};

} // namespace

TEST(FormSettings, AnEmptyStoreGivesTheDefaults) {
    Rig r;
    r.presetAwayFromDefaults();
    Trace trace;
    r.restore();
    const ReceiverState& s = r.state;
    EXPECT_EQ(trace.lines, (std::vector<std::string>{"RestoreSettings : Start", "RestoreSettings : End"}));
    // Model and band keep the values they had.
    EXPECT_EQ(s.SDRModelNo, 7);
    EXPECT_EQ(s.CurrentMainBandIndex, 2);
    EXPECT_EQ(s.NoiseFloor, 10.0f);
    EXPECT_EQ(s.DisplayMode, 2);
    EXPECT_EQ(s.ScopeSource, 0);
    EXPECT_EQ(r.soundCard.CurrentPlaybackDevice(), 1);
    EXPECT_EQ(r.soundCard.CurrentCaptureDevice(), 1);
    EXPECT_EQ(s.DRM.DreamWindowStyle, 1);
    EXPECT_TRUE(s.DRM.DreamCloseOnExit);
    EXPECT_TRUE(s.AutoTrackPresets);
    EXPECT_EQ(s.SaveRecordingsPath, kProgramFolder);
    EXPECT_EQ(r.hilbert.PhaseAngle, 0.0);
    EXPECT_EQ(s.SoundcardCorrectionAmpBalance, 1.0f);
    EXPECT_EQ(s.RunPriority, 256);
    // The two flags whose default is the field's own value keep it; every other flag is off.
    EXPECT_TRUE(s.PhaseBitCorrection);
    EXPECT_TRUE(s.FlipIQ);
    for (const bool flag :
         {s.PerfStatsOn, s.UseSPL, s.ShaftAutoRate, s.EnableShaftEncoder, s.ScrollWheelEnableOverScope,
          s.MuteAf, s.NBOn, s.HiLiteBorder, s.DRM.RunDreamOnDRM, s.DRM.MuteAFOnDRM, s.DRM.CloseSoundcardOnDRM,
          s.DRM.DreamCloseOnModeChange, s.KBDSupport, s.FormCaptionOffOnPwrOn, s.AutoStartSDR})
        EXPECT_FALSE(flag);
    EXPECT_EQ(s.DRM.PathToDream, "");
    EXPECT_EQ(s.DRM.DreamProgArgs, "");
}

namespace {

// The field a key restores into, as text, so one table covers every type.
std::string fieldText(Rig& r, const std::string& key) {
    const ReceiverState& s = r.state;
    const auto b = [](bool v) { return std::string(v ? "True" : "False"); };
    if (key == "DisplayMode") return std::to_string(s.DisplayMode);
    if (key == "ScopeSource") return std::to_string(s.ScopeSource);
    if (key == "SDRModelNo") return std::to_string(s.SDRModelNo);
    if (key == "RunPriority") return std::to_string(s.RunPriority);
    if (key == "CurrentPlaybackDevice") return std::to_string(r.soundCard.CurrentPlaybackDevice());
    if (key == "PerfStatsOn") return b(s.PerfStatsOn);
    if (key == "DRM.DreamCloseOnExit") return b(s.DRM.DreamCloseOnExit);
    if (key == "NoiseFloor") return runtime::singleText(s.NoiseFloor);
    if (key == "SoundcardCorrectionAmpBalance") return runtime::singleText(s.SoundcardCorrectionAmpBalance);
    if (key == "SoundcardCorrection") return runtime::CStr(r.hilbert.PhaseAngle);
    if (key == "SaveRecordingspath") return s.SaveRecordingsPath;
    ADD_FAILURE() << key;
    return {};
}

} // namespace

TEST(FormSettings, EachKeyIsConvertedByItsTypeAndOneThatDoesNotConvertKeepsItsField) {
    const struct {
        const char* key;
        const char* stored;
        const char* expected; // after presetAwayFromDefaults
    } cases[] = {
        {"DisplayMode", "3", "3"},
        {"DisplayMode", "2.5", "2"}, // halves to even
        {"DisplayMode", "3.5", "4"},
        {"DisplayMode", "1e1", "10"},
        {"DisplayMode", "abc", "1"},
        {"DisplayMode", "", "1"},
        {"DisplayMode", "99999999999", "1"}, // past a Long
        {"ScopeSource", "2abc", "2"},
        {"ScopeSource", " 3", "3"},
        {"ScopeSource", "2.5x", "2"},
        {"ScopeSource", "-1", "-1"},
        {"ScopeSource", "abc", "0"},
        {"ScopeSource", "", "0"},
        {"ScopeSource", "1e99999", "1"}, // a number past any Long is refused, not undefined
        {"SDRModelNo", "13", "13"},
        {"RunPriority", "128", "128"},
        {"CurrentPlaybackDevice", "3", "3"},
        {"CurrentPlaybackDevice", "x", "5"},
        {"PerfStatsOn", "1", "True"},
        {"PerfStatsOn", "-1", "True"},
        {"DRM.DreamCloseOnExit", "true", "True"},
        {"DRM.DreamCloseOnExit", "TRUE", "True"},
        {"PerfStatsOn", "false", "False"},
        {"PerfStatsOn", "0", "False"},
        {"PerfStatsOn", "yes", "True"},
        {"PerfStatsOn", "", "True"},
        {"SoundcardCorrectionAmpBalance", "0.5", "0.5"},
        {"SoundcardCorrectionAmpBalance", "1,5", "0.25"},
        {"SoundcardCorrectionAmpBalance", "nan", "0.25"},
        {"SoundcardCorrectionAmpBalance", "inf", "0.25"},
        {"SoundcardCorrectionAmpBalance", "1e39", "0.25"}, // past a Single
        {"SoundcardCorrection", "-2.25", "-2.25"},
        {"SoundcardCorrection", "nan", "1.5"},
        {"NoiseFloor", "1000000", "10"},
        {"NoiseFloor", "250000", "2.5"},
        // A noise floor that does not convert: the one before the restore, divided.
        {"NoiseFloor", "abc", "5e-05"},
        {"SaveRecordingspath", "/data/rec", "/data/rec"},
    };
    for (const auto& c : cases) {
        Rig r;
        r.presetAwayFromDefaults();
        r.store.put(c.key, c.stored);
        r.restore();
        EXPECT_EQ(fieldText(r, c.key), c.expected) << c.key << "=\"" << c.stored << '"';
    }
}

TEST(FormSettings, TheNextKeysAreStillReadAfterOneThatFails) {
    Rig r;
    r.presetAwayFromDefaults();
    r.store.put("DisplayMode", "letters");
    r.store.put("ScopeSource", "3");
    r.store.put("SoundcardCorrectionAmpBalance", "bad");
    r.store.put("RunPriority", "32");
    r.restore();
    EXPECT_EQ(r.state.DisplayMode, 1);
    EXPECT_EQ(r.state.ScopeSource, 3);
    EXPECT_EQ(r.state.SoundcardCorrectionAmpBalance, 0.25f);
    EXPECT_EQ(r.state.RunPriority, 32);
}

TEST(FormSettings, TheRecordingsPathIsFoundUnderEitherSpelling) {
    Rig r;
    r.store.put("SaveRecordingsPath", "/data/rec");
    r.restore();
    EXPECT_EQ(r.state.SaveRecordingsPath, "/data/rec");
}

TEST(FormSettings, UseSplIsReadOnlyWhileTheLibraryIsAvailableAndAlwaysSaved) {
    for (const bool available : {false, true}) {
        Rig r;
        r.state.SPLAvailable = available;
        r.store.put("UseSPL", "True");
        r.restore();
        EXPECT_EQ(r.state.UseSPL, available);
        r.save();
        const auto it = std::find_if(r.store.saved.begin(), r.store.saved.end(),
                                     [](const auto& kv) { return kv.first == "UseSPL"; });
        ASSERT_NE(it, r.store.saved.end());
        EXPECT_EQ(it->second, available ? "True" : "False");
    }
}

TEST(FormSettings, TheSaveWritesEveryKeyInItsOrderThenCommitsOnce) {
    Rig r;
    r.presetAwayFromDefaults();
    SDRColourScheme& c = r.state.SDRColourSchemes;
    c = {0x101010, 0x202020, 0x303030, 0x404040, 0x505050, 0x606060, 0x707070};
    r.state.NoiseFloor = 12.5f;
    r.state.SoundcardCorrectionAmpBalance = 0.1f;
    r.nbKnob = 0.3f;
    r.save();
    const KeyValues expected = {
        {"SDRModelNo", "7"},
        {"SDRBackgroundColour", "1052688"},
        {"SDRFrameFocusColour", "3158064"},
        {"SDRFrameNormalColour", "4210752"},
        {"SDRLabelColour", "2105376"},
        {"SDRTuningColour", "5263440"},
        {"ScrollableLabelFocusColour", "7368816"},
        {"ScrollableLabelNormalColour", "6316128"},
        {"CurrentMainBandIndex", "2"},
        {"NoiseFloor", "1250000"},
        {"DisplayMode", "1"},
        {"PerfStatsOn", "True"},
        {"UseSPL", "True"},
        {"ShaftAutoRate", "True"},
        {"EnableShaftEncoder", "True"},
        {"ScrollWheelEnableOverScope", "True"},
        {"ScopeSource", "1"},
        {"NBOn", "True"},
        {"NB", "0.3"},
        {"CurrentPlaybackDevice", "5"},
        {"CurrentCaptureDevice", "6"},
        {"MuteAf", "True"},
        {"AutoDDSRefresh", "False"},
        {"MouseOverS.HiLiteBorder", "True"},
        {"KBDSupport", "True"},
        {"DRM.RunDreamOnDRM", "True"},
        {"DRM.MuteAFOnDRM", "True"},
        {"DRM.CloseSoundcardOnDRM", "True"},
        {"DRM.PathToDream", "/opt/decoder"},
        {"DRM.DreamProgArgs", "-x"},
        {"DRM.DreamWindowStyle", "2"},
        {"DRM.DreamCloseOnExit", "False"},
        {"DRM.DreamCloseOnModeChange", "True"},
        {"AutoTrackPresets", "False"},
        {"FormCaptionOffOnPwrOn", "True"},
        {"AutoStartSDR", "True"},
        {"SaveRecordingsPath", "/tmp/old"},
        {"PhaseBitCorrection", "True"},
        {"FlipIQ", "True"},
        {"SoundcardCorrection", "1.5"},
        {"SoundcardCorrectionAmpBalance", "0.1"},
        {"DDSIFType", "0"},
        {"RunPriority", "64"},
    };
    EXPECT_EQ(r.store.saved, expected);
    EXPECT_EQ(r.store.commitsAfter, std::vector<std::size_t>{expected.size()});
}

TEST(FormSettings, AbsentObjectsSkipOnlyTheirOwnKeys) {
    Rig r;
    r.store.put("CurrentPlaybackDevice", "3");
    r.store.put("RunPriority", "32");
    r.settings.RestoreSettings({});
    EXPECT_EQ(r.state.RunPriority, 32);
    r.settings.SaveSettings({});
    std::vector<std::string> keys;
    for (const auto& [key, value] : r.store.saved)
        keys.push_back(key);
    for (const char* skipped : {"NB", "CurrentPlaybackDevice", "CurrentCaptureDevice", "SoundcardCorrection"})
        EXPECT_EQ(std::count(keys.begin(), keys.end(), skipped), 0) << skipped;
    EXPECT_EQ(keys.size(), 39u);
    EXPECT_EQ(keys.back(), "RunPriority");
}

namespace {

// A full section restored and saved again: every key comes back with an equal value.
void expectRestoreSaveRestoreKeepsEverything() {
    Rig first;
    first.presetAwayFromDefaults();
    first.state.SDRColourSchemes = {0x101010, 0x202020, 0x303030, 0x404040, 0x505050, 0x606060, 0x707070};
    first.state.NoiseFloor = 10.00001f;
    first.state.SoundcardCorrectionAmpBalance = 1.0123f;
    first.hilbert.PhaseAngle = -0.123456789;
    first.save();

    Rig second;
    second.state.SPLAvailable = true;
    for (const auto& [key, value] : first.store.saved)
        second.store.put(key, value);
    second.settings.RestoreColourScheme();
    second.restore();
    second.nbKnob = first.nbKnob; // the knob is not restored from here
    second.save();
    EXPECT_EQ(second.store.saved, first.store.saved);
    EXPECT_EQ(second.state.NoiseFloor, first.state.NoiseFloor);
    EXPECT_EQ(second.state.SoundcardCorrectionAmpBalance, first.state.SoundcardCorrectionAmpBalance);
    EXPECT_EQ(second.hilbert.PhaseAngle, first.hilbert.PhaseAngle);
}

} // namespace

TEST(FormSettings, RestoreThenSaveKeepsEveryValue) {
    expectRestoreSaveRestoreKeepsEverything();
}

TEST(FormSettings, RestoreThenSaveKeepsEveryValueUnderAGermanLocale) {
    const profile::testing::ScopedGermanLocale german;
    if (!german.active()) GTEST_SKIP() << "no German locale on this machine";
    expectRestoreSaveRestoreKeepsEverything();
}

TEST(FormSettings, TheNoiseFloorNoLongerDriftsDownFromRunToRun) {
    std::vector<int64_t> stored = {1, 7, 99999, 100001, 123457, 1000000, 3276700};
    for (int64_t n = 999'900; n <= 1'000'100; ++n)
        stored.push_back(n);
    Rig r;
    for (const int64_t n : stored) {
        r.store.put("NoiseFloor", std::to_string(n));
        r.restore();
        r.store.saved.clear();
        r.save();
        const auto it = std::find_if(r.store.saved.begin(), r.store.saved.end(),
                                     [](const auto& kv) { return kv.first == "NoiseFloor"; });
        ASSERT_NE(it, r.store.saved.end());
        ASSERT_EQ(it->second, std::to_string(n)) << "stored " << n;
    }
}

TEST(FormSettings, TheColourSchemeKeepsADefaultForEachKeyThatDoesNotConvert) {
    Rig r;
    r.state.SDRColourSchemes = {1, 2, 3, 4, 5, 6, 7};
    r.store.put("SDRBackgroundColour", "abc");
    r.store.put("SDRLabelColour", "255");
    r.store.put("SDRTuningColour", "4294967295"); // past a Long
    r.store.put("ScrollableLabelFocusColour", "65280");
    r.settings.RestoreColourScheme();
    const SDRColourScheme& c = r.state.SDRColourSchemes;
    EXPECT_EQ(c.Background, 1);
    EXPECT_EQ(c.Label, 255);
    EXPECT_EQ(c.FrameFocus, 3);
    EXPECT_EQ(c.FrameNormal, 4);
    EXPECT_EQ(c.Tuning, 5);
    EXPECT_EQ(c.ScrollLabelNormal, 6);
    EXPECT_EQ(c.ScrollLabelFocus, 65280);
}
