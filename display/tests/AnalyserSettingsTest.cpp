// The analyser's object: creation values, properties and their side effects, and the settings it
// restores at creation and saves when it goes, key by key and in order.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include "display/clsSpectrumAnalyser.h"
#include "dsp/testing/DspFixture.h"
#include "platform/profile/testing/RecordingSettingsStore.h"
#include "platform/runtime/Hooks.h"

namespace {

using profile::testing::RecordingSettingsStore;

constexpr const char* kApp = "NerixSDR";

struct AnalyserRig : DspLibraries {
    RecordingSettingsStore store;
    std::unique_ptr<clsSpectrumAnalyser> make() {
        return std::make_unique<clsSpectrumAnalyser>(store, state, wrappers);
    }
};

// round(byte x level / 100), halves to even, worked in whole numbers.
int32_t scaledByte(int32_t byte, int32_t level) {
    const int32_t q = byte * level / 100;
    const int32_t r = byte * level % 100;
    return (q + (r > 50 || (r == 50 && q % 2 == 1) ? 1 : 0)) & 0xFF;
}

TEST(AnalyserObject, AFreshStoreGivesTheCreationValues) {
    AnalyserRig rig;
    const auto a = rig.make();
    EXPECT_EQ(a->Name, "SpectrumAnalyser");
    EXPECT_EQ(a->mode(), 0);
    EXPECT_TRUE(a->Active);
    EXPECT_TRUE(a->SmoothSpectrum);
    EXPECT_TRUE(a->ShowFilter());
    EXPECT_FALSE(a->ShowNotch());
    EXPECT_FALSE(a->AutoGain);
    EXPECT_FALSE(a->ReverseSpectrum);
    EXPECT_FALSE(a->HideFreqToolTip());
    EXPECT_EQ(a->SpectrumSmooth(), 8);
    EXPECT_EQ(a->SmoothDivider, 4.5f);
    EXPECT_EQ(a->FrameRate(), 1);
    EXPECT_EQ(a->DefaultSmoothCount, 8);
    EXPECT_EQ(a->Gain, 1.0f);
    EXPECT_EQ(a->FOffset, 0);
    EXPECT_EQ(a->Y1Colour, 0x00FF00);
    EXPECT_EQ(a->Y2Colour, 0x00FFFF);
    EXPECT_EQ(a->ControlColourNormal, 192);
    EXPECT_EQ(a->ControlColourFocused, 255);
    EXPECT_EQ(a->ScopeBackColour(), 0);
    EXPECT_EQ(a->GraticuleColour(), 0x007F00);
    EXPECT_EQ(a->NotchFilterColour(), 0xC0FF60);
    EXPECT_EQ(a->FilterCurveColour(), 0xC0C0C0);
    EXPECT_EQ(a->XTextColour(), 0xFFFF00);
    EXPECT_EQ(a->YTextColour(), 0xFF7F00);
    for (int32_t m = 0; m < 3; ++m) {
        SCOPED_TRACE(m);
        const ScopeModeRec& r = a->ScopeModes(m);
        EXPECT_TRUE(r.LogMode);
        EXPECT_FALSE(r.FastMode);
        EXPECT_TRUE(r.Chn1Enabled);
        EXPECT_TRUE(r.Chn2Enabled);
        EXPECT_TRUE(r.Chn1TriggerOn);
        EXPECT_FALSE(r.Chn2TriggerOn);
        EXPECT_EQ(r.TriggerChn, 0);
        // The spectrum's scale takes signals in 16-bit units; the scopes' traces keep theirs.
        const bool spectrum = m == display::kModeSpectrum;
        EXPECT_EQ(r.Chn1Gain, spectrum ? 0.5f : 1.0f);
        EXPECT_EQ(r.Chn2Gain, spectrum ? 0.5f : 1.0f);
        EXPECT_EQ(r.Chn1Shift, spectrum ? -85.0f : 0.0f);
        EXPECT_EQ(r.Chn2Shift, spectrum ? -85.0f : 0.0f);
    }
}

TEST(AnalyserObject, ScaleDefaultsInSingleArithmetic) {
    AnalyserRig rig;
    const auto a = rig.make();
    const ScopeModeRec& spectrum = a->ScopeModes(0);
    EXPECT_EQ(spectrum.LinMax, 24000000.0f);
    EXPECT_EQ(spectrum.LinRange, 48000000.0f);
    EXPECT_EQ(spectrum.LogMax, 5.0f);
    EXPECT_EQ(spectrum.LogMin, -0.000001f);
    EXPECT_EQ(spectrum.LogRange, 5.0f + 0.000001f);
    const float logMax = static_cast<float>(std::log10(32768.0));
    for (int32_t m : {1, 2}) {
        const ScopeModeRec& r = a->ScopeModes(m);
        EXPECT_EQ(r.LinMax, 32768.0f);
        EXPECT_EQ(r.LinRange, 65536.0f);
        EXPECT_EQ(r.LogMax, logMax);
        EXPECT_EQ(r.LogMin, static_cast<float>(-0.01 * logMax));
        EXPECT_EQ(r.LogRange, r.LogMax - r.LogMin);
    }
    EXPECT_EQ(a->YScaleMax(), 5.0f);
    a->setLogMode(false);
    EXPECT_EQ(a->YScaleMax(), 24000000.0f);
    EXPECT_EQ(a->YScaleRange(), 48000000.0f);
}

TEST(AnalyserObject, PropertiesAndTheirSideEffects) {
    AnalyserRig rig;
    const auto a = rig.make();

    // 15/150 of the log range 5.000001 in Single precision, and of the linear range.
    a->setChn1Shift(15);
    EXPECT_EQ(a->ScopeModes(0).Chn1ShiftOffset, 0.5000001f);
    a->setLogMode(false);
    a->setChn2Shift(15);
    EXPECT_EQ(a->ScopeModes(0).Chn2ShiftOffset, 4800000.0f);
    EXPECT_EQ(a->Chn2Shift(), 15.0f);

    a->setChn1Gain(0);
    EXPECT_EQ(a->Chn1Gain(), 0.000001f);
    a->setChn2Gain(3);
    EXPECT_EQ(a->Chn2Gain(), 3.0f);

    a->setTriggerChn(2);
    EXPECT_FALSE(a->Chn1Trig());
    EXPECT_TRUE(a->Chn2Trig());
    a->setTriggerChn(1);
    EXPECT_TRUE(a->Chn1Trig());
    EXPECT_FALSE(a->Chn2Trig());
    a->setTriggerChn(7);
    EXPECT_FALSE(a->Chn1Trig());
    EXPECT_FALSE(a->Chn2Trig());
    EXPECT_EQ(a->TriggerChn(), 7);

    // The X-Y mode shows both channels, whatever its record said.
    a->setMode(2);
    a->setChn1Enabled(false);
    a->setMode(0);
    a->setMode(2);
    EXPECT_TRUE(a->Chn1Enabled());
    EXPECT_TRUE(a->Chn2Enabled());

    // A mode with no record has no per-mode properties.
    a->setMode(7);
    EXPECT_EQ(a->mode(), 7);
    try {
        (void)a->LogMode();
        ADD_FAILURE() << "no error";
    } catch (const runtime::RuntimeError& e) {
        EXPECT_EQ(e.Number(), runtime::err::kSubscriptOutOfRange);
    }
    a->setMode(0);
}

TEST(AnalyserObject, SmoothDividerIsTheSumOfTheWeights) {
    AnalyserRig rig;
    const auto a = rig.make();
    const struct {
        int32_t n;
        float divider;
    } cases[] = {{8, 4.5f}, {1, 1.0f}, {2, 1.5f}, {24, 12.5f}, {0, 0.0f}, {-3, 0.0f}};
    for (const auto& c : cases) {
        a->setSpectrumSmooth(c.n);
        EXPECT_EQ(a->SpectrumSmooth(), c.n);
        EXPECT_FLOAT_EQ(a->SmoothDivider, c.divider) << c.n;
    }
    a->setSpectrumSmooth(3);
    float sum = 0; // 1/3 + 2/3 + 3/3 as Singles, each term in double
    for (int i = 1; i <= 3; ++i)
        sum = static_cast<float>(static_cast<double>(sum) + i / 3.0);
    EXPECT_EQ(a->SmoothDivider, sum);
}

TEST(AnalyserObject, ChannelBrightnessRoundsEachByteHalfToEven) {
    AnalyserRig rig;
    const auto a = rig.make();
    a->SetChannelBrightness(0, 50);
    EXPECT_EQ(a->Y1Colour, 0x008000); // 127.5 rounds to 128
    a->SetChannelBrightness(1, 50);
    EXPECT_EQ(a->Y2Colour, 0x008080);
    a->SetChannelBrightness(2, 50); // no such channel
    EXPECT_EQ(a->Y1Colour, 0x008000);
    EXPECT_EQ(a->Y2Colour, 0x008080);
    // Levels whose product ends in a half: 45 x 70 / 100 = 31.5, 150 x 57 / 100 = 85.5.
    const struct {
        int32_t base;
        int16_t level;
    } cases[] = {{0x2D962D, 70},  {0x9696E6, 57}, {0x4B4B4B, 82},
                 {0x123456, 100}, {0xFFFFFF, 0},  {0x2D2D2D, 30}};
    for (const auto& c : cases) {
        a->setY1BaseColour(c.base);
        a->SetChannelBrightness(0, c.level);
        const int32_t expected = scaledByte(c.base & 0xFF, c.level) +
                                 256 * scaledByte((c.base >> 8) & 0xFF, c.level) +
                                 65536 * scaledByte(c.base >> 16, c.level);
        EXPECT_EQ(a->Y1Colour, expected) << std::hex << c.base << " at " << std::dec << c.level;
    }
}

// The keys of one mode section, in the order they are read and written.
std::vector<std::string> modeKeys(int mode) {
    std::vector<std::string> out;
    for (const char* k : {"LogMode", "FastMode", "Chn1.Shift", "Chn2.Shift", "Chn1.Gain", "Chn2.Gain",
                          "Chn1.Enabled", "Chn2.Enabled", "Chn1.TriggerOn", "Chn2.TriggerOn"})
        out.push_back("SpectrumAnalyser.Mode." + std::to_string(mode) + "/" + k);
    return out;
}

std::vector<std::string> mainKeys(std::initializer_list<const char*> keys) {
    std::vector<std::string> out;
    for (const char* k : keys)
        out.push_back(std::string("SpectrumAnalyser/") + k);
    return out;
}

TEST(AnalyserSettings, RestoreSaveRestoreInTheExactKeyOrder) {
    AnalyserRig rig;
    auto a = rig.make();
    std::vector<std::string> reads = mainKeys({"Active",
                                               "Mode",
                                               "SmoothSpectrum",
                                               "ShowNotch",
                                               "ShowFilter",
                                               "AutoGain",
                                               "ReverseSpectrum",
                                               "HideFreqToolTip",
                                               "SpectrumSmooth",
                                               "FrameRate",
                                               "DefaultSmoothCount",
                                               "Y1BaseColour",
                                               "Y2BaseColour",
                                               "ControlColourNormal",
                                               "ControlColourFocused",
                                               "NotchFilterColour",
                                               "FilterCurveColour",
                                               "ScopeBackColour",
                                               "GraticuleColour",
                                               "XTextColour",
                                               "YTextColour"});
    for (int m = 0; m < 3; ++m)
        for (const auto& k : modeKeys(m))
            reads.push_back(k);
    EXPECT_EQ(rig.store.keys(false), reads);
    EXPECT_TRUE(rig.store.keys(true).empty());

    // Change something of every kind, then let the analyser go.
    a->Active = false;
    a->setMode(1);
    a->setChn1Gain(2.5f);
    a->setChn2Shift(-30);
    a->setTriggerChn(2);
    a->setLogMode(false);
    a->setFastMode(true);
    a->setMode(0);
    a->setShowNotch(true);
    a->ReverseSpectrum = true;
    a->SmoothSpectrum = false;
    a->AutoGain = true;
    a->SpectrumWidth = 24000;
    a->setHideFreqToolTip(true);
    a->setSpectrumSmooth(3);
    a->setFrameRate(4);
    a->DefaultSmoothCount = 12;
    a->setY1BaseColour(0x00FF80);
    a->setNotchFilterColour(0x123456);
    rig.store.log.clear();
    a.reset();

    std::vector<std::string> writes;
    for (int m = 0; m < 3; ++m)
        for (const auto& k : modeKeys(m))
            writes.push_back(k);
    for (const auto& k : mainKeys({"Mode",
                                   "ShowNotch",
                                   "ShowFilter",
                                   "ReverseSpectrum",
                                   "Active",
                                   "SmoothSpectrum",
                                   "AutoGain",
                                   "SpectrumWidth",
                                   "TriggerChn",
                                   "HideFreqTooltip",
                                   "SpectrumSmooth",
                                   "FrameRate",
                                   "DefaultSmoothCount",
                                   "Y1BaseColour",
                                   "Y2BaseColour",
                                   "ControlColourNormal",
                                   "ControlColourFocused",
                                   "NotchFilterColour",
                                   "FilterCurveColour",
                                   "ScopeBackColour",
                                   "GraticuleColour",
                                   "XTextColour",
                                   "YTextColour"}))
        writes.push_back(k);
    EXPECT_EQ(rig.store.keys(true), writes);
    const auto written = [&](const std::string& section, const std::string& key) {
        for (const auto& w : rig.store.log)
            if (w.write && w.section == section && w.key == key) return w.value;
        return std::string("(none)");
    };
    EXPECT_EQ(written("SpectrumAnalyser.Mode.1", "Chn1.Gain"), "2.5");
    EXPECT_EQ(written("SpectrumAnalyser.Mode.1", "Chn2.Shift"), "-30");
    EXPECT_EQ(written("SpectrumAnalyser.Mode.1", "LogMode"), "False");
    EXPECT_EQ(written("SpectrumAnalyser.Mode.0", "LogMode"), "True");
    EXPECT_EQ(written("SpectrumAnalyser", "Mode"), "0");
    EXPECT_EQ(written("SpectrumAnalyser", "TriggerChn"), "0"); // of the current mode
    EXPECT_EQ(written("SpectrumAnalyser", "Active"), "False");
    EXPECT_EQ(written("SpectrumAnalyser", "HideFreqTooltip"), "True");
    EXPECT_EQ(written("SpectrumAnalyser", "Y1BaseColour"), "65408");

    // The case-blind store gives the hide flag back under the other spelling; the stored AutoGain,
    // SpectrumWidth and TriggerChn change nothing.
    rig.store.log.clear();
    a = rig.make();
    EXPECT_EQ(rig.store.keys(false), reads);
    EXPECT_FALSE(a->Active);
    EXPECT_TRUE(a->ShowNotch());
    EXPECT_TRUE(a->ReverseSpectrum);
    EXPECT_FALSE(a->SmoothSpectrum);
    EXPECT_FALSE(a->AutoGain);
    EXPECT_TRUE(a->HideFreqToolTip());
    EXPECT_EQ(a->SpectrumWidth, 0);
    EXPECT_EQ(a->SpectrumSmooth(), 3);
    EXPECT_EQ(a->FrameRate(), 4);
    EXPECT_EQ(a->DefaultSmoothCount, 12);
    EXPECT_EQ(a->Y1BaseColour(), 0x00FF80);
    EXPECT_EQ(a->Y1Colour, 0x00FF00); // full brightness of the default until the knob applies
    EXPECT_EQ(a->NotchFilterColour(), 0x123456);
    const ScopeModeRec& time = a->ScopeModes(1);
    EXPECT_EQ(time.Chn1Gain, 2.5f);
    EXPECT_EQ(time.Chn2Shift, -30.0f);
    EXPECT_EQ(time.Chn2ShiftOffset, 0.0f); // set when the knobs apply
    EXPECT_EQ(time.TriggerChn, 0);
    EXPECT_FALSE(time.Chn1TriggerOn);
    EXPECT_TRUE(time.Chn2TriggerOn);
    EXPECT_FALSE(time.LogMode);
    EXPECT_TRUE(time.FastMode);
}

TEST(AnalyserSettings, ABadStoredValueKeepsItsDefaultAndTheRestAreRead) {
    const struct {
        const char* section;
        const char* key;
        const char* stored;
    } cases[] = {
        {"SpectrumAnalyser", "FrameRate", "fast"},
        {"SpectrumAnalyser", "FrameRate", "0"},
        {"SpectrumAnalyser", "FrameRate", "17"},
        {"SpectrumAnalyser", "Mode", "7"},
        {"SpectrumAnalyser", "Mode", "-1"},
        {"SpectrumAnalyser", "SpectrumSmooth", "100"},
        {"SpectrumAnalyser", "SpectrumSmooth", "0"},
        {"SpectrumAnalyser", "SpectrumSmooth", "-3"},
        {"SpectrumAnalyser", "DefaultSmoothCount", "25"},
        {"SpectrumAnalyser", "Y1BaseColour", "green"},
        {"SpectrumAnalyser", "Y1BaseColour", "99999999999"},
        {"SpectrumAnalyser", "Active", "perhaps"},
        {"SpectrumAnalyser.Mode.0", "Chn1.Gain", "loud"},
        {"SpectrumAnalyser.Mode.0", "Chn1.Gain", "1e300"},
        {"SpectrumAnalyser.Mode.0", "LogMode", "2x"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.section << "/" << c.key << "=" << c.stored);
        AnalyserRig rig;
        std::vector<std::string> lines;
        runtime::ScopedHooks hooks({{}, [&](const std::string& l) { lines.push_back(l); }, {}});
        rig.store.SaveSetting(kApp, c.section, c.key, c.stored);
        rig.store.SaveSetting(kApp, "SpectrumAnalyser", "YTextColour", "255"); // read after the bad one
        const auto a = rig.make();
        EXPECT_EQ(a->FrameRate(), 1);
        EXPECT_EQ(a->mode(), 0);
        EXPECT_EQ(a->SpectrumSmooth(), 8);
        EXPECT_EQ(a->SmoothDivider, 4.5f);
        EXPECT_EQ(a->DefaultSmoothCount, 8);
        EXPECT_EQ(a->Y1BaseColour(), 0x00FF00);
        EXPECT_TRUE(a->Active);
        EXPECT_EQ(a->ScopeModes(0).Chn1Gain, 0.5f);
        EXPECT_TRUE(a->ScopeModes(0).LogMode);
        EXPECT_EQ(a->YTextColour(), 255);
        ASSERT_EQ(lines.size(), 1u);
        EXPECT_NE(lines[0].find(c.key), std::string::npos) << lines[0];
    }
}

TEST(AnalyserSettings, AStoredGainOfZeroIsStoredAsThePropertyStoresIt) {
    AnalyserRig rig;
    rig.store.SaveSetting(kApp, "SpectrumAnalyser.Mode.2", "Chn2.Gain", "0");
    const auto a = rig.make();
    EXPECT_EQ(a->ScopeModes(2).Chn2Gain, 0.000001f);
}

} // namespace
