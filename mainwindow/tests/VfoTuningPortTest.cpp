// The receive path's tuning port over the VFO in use: what it reads without a VFO, an oscillator or a
// multiplier, and that it follows a VFO replaced at run time.
#include <gtest/gtest.h>

#include "mainwindow/tests/DriverRig.h"

using namespace rig;

TEST(PathTuningPort, OscillatorBaseIsTheBaseOverTheMultiplierAndAbsentWithoutOscillatorOrMultiplier) {
    struct Case {
        const char* what;
        bool vfo, oscillator;
        int32_t multiplier;
        std::optional<double> base;
    };
    const Case cases[] = {
        {"base over multiplier", true, true, 4, 1'750'000.25},
        {"multiplier 1", true, true, 1, 7'000'001.0},
        {"no oscillator", true, false, 4, std::nullopt},
        {"zero multiplier", true, true, 0, std::nullopt},
        {"no VFO", false, true, 4, std::nullopt},
    };
    for (const Case& c : cases) {
        profile::MemorySettingsStore store;
        clsVFO vfo(store);
        StubOscillator osc;
        osc.base = 7'000'001;
        vfo.setOscType(&osc);
        vfo.setOscMultiplier(c.multiplier);
        vfo.setOscType(c.oscillator ? &osc : nullptr);
        vfo.setIFFrequency(455);
        vfo.setRXMinFreq(0);
        vfo.setRxMaxFreq(200'000'000);
        vfo.setTunedFrequency(71'000'005);
        vfo.setHiSideLo(false);
        frontpanel::CurrentVfo port([&]() -> clsVFO* { return c.vfo ? &vfo : nullptr; },
                                    frontpanel::CurrentVfo::Absent::ReadsNothing);
        SCOPED_TRACE(c.what);
        EXPECT_EQ(port.OscillatorBase(), c.base);
        EXPECT_EQ(port.TunedFrequency(), c.vfo ? 71'000'005 : 0);
        EXPECT_EQ(port.IFFrequency(), c.vfo ? 455 : 0);
        port.SetHiSideLo(true);
        EXPECT_EQ(vfo.HiSideLo(), c.vfo);
    }
}

TEST(PathTuningPort, FollowsTheVfoThatReplacedTheOneInUse) {
    profile::MemorySettingsStore store;
    clsVFO first(store), second(store);
    for (clsVFO* v : {&first, &second}) {
        v->setRXMinFreq(0);
        v->setRxMaxFreq(200'000'000);
        v->setHiSideLo(false);
    }
    first.setTunedFrequency(70'000'000);
    second.setTunedFrequency(140'000'000);
    clsVFO* inUse = &first;
    frontpanel::CurrentVfo port([&] { return inUse; }, frontpanel::CurrentVfo::Absent::ReadsNothing);
    EXPECT_EQ(port.TunedFrequency(), 70'000'000);
    inUse = &second;
    EXPECT_EQ(port.TunedFrequency(), 140'000'000);
    port.SetHiSideLo(true);
    EXPECT_TRUE(second.HiSideLo());
    EXPECT_FALSE(first.HiSideLo());
}
