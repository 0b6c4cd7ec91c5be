// The analyser's data path: the set-up, the loads, the transforms per mode against a direct DFT, the
// trigger, the filter curve and the swap of the two pictures, drawn on recording pictures.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "display/tests/AnalyserFixture.h"
#include "platform/ui/testing/RecordingPicture.h"

namespace {

using ui::testing::RecordingPicture;
using Rig = AnalyserOn<RecordingPicture>;

struct Fixture : Rig {
    Fixture() : Rig(1024, 300) { setUp(1024, 300); }
};

void expectPower(float got, double want, double scale, const char* what, int32_t index) {
    EXPECT_NEAR(got, want, 1e-5 * scale) << what << " entry " << index;
}

TEST(AnalyserSetUp, InitTurnsTheBandIntoBinsRoundedHalfToEven) {
    const struct {
        int32_t fSampling, fStart, fEnd;
        float hzPerBin;
        int32_t startBin, stopBin;
    } cases[] = {
        {48000, 0, 24000, 23.4375f, 0, 1024},
        {48000, 12, 36, 23.4375f, 1, 2}, // 0.512 and 1.536 bins
        {48000, 0, 6000, 23.4375f, 0, 256},
        {4096, 1, 5, 2.0f, 0, 2}, // 0.5 and 2.5 bins
        {4096, 3, 7, 2.0f, 2, 4}, // 1.5 and 3.5 bins
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.fSampling << " Hz, " << c.fStart << " to " << c.fEnd);
        Rig rig(1024, 300);
        rig.setUp(1024, 300);
        rig.a.FSampling = c.fSampling;
        rig.a.FStart = c.fStart;
        rig.a.FEnd = c.fEnd;
        rig.a.init();
        EXPECT_EQ(rig.a.Points, 2048);
        EXPECT_EQ(rig.a.SpectrumWidth, c.fSampling / 2);
        EXPECT_EQ(rig.a.HzPerBin(), c.hzPerBin);
        EXPECT_EQ(rig.a.StartBin, c.startBin);
        EXPECT_EQ(rig.a.StopBin, c.stopBin);
        EXPECT_TRUE(rig.a.Initialised);
    }
}

TEST(AnalyserSetUp, FitsBothPicturesAndShowsTheFirst) {
    Fixture f;
    for (RecordingPicture* p : {&f.pic0, &f.pic1}) {
        EXPECT_EQ(p->ScaleLeft(), 0);
        EXPECT_EQ(p->ScaleWidth(), 1024);
        EXPECT_EQ(p->ScaleTop(), 5.0);
        EXPECT_EQ(p->ScaleHeight(), -static_cast<double>(5.000001f));
        EXPECT_EQ(p->Left(), 30);
        EXPECT_EQ(p->Top(), 180);
        EXPECT_EQ(p->Height(), 6000 - 180 - 50);
        EXPECT_EQ(p->Width(), 1024 * 15);
        EXPECT_EQ(p->FontName(), "Tahoma");
        EXPECT_EQ(p->FontSize(), 7);
        EXPECT_EQ(p->BackColor(), 0);
        // A graticule on each, ending in the colour the X-Y trace uses.
        EXPECT_EQ(p->ForeColor(), 0x00FF00);
        EXPECT_FALSE(p->sinceCls().empty());
    }
    EXPECT_TRUE(f.pic0.Visible());
    EXPECT_FALSE(f.pic1.Visible());
    EXPECT_EQ(f.pic0.events.back(), "ZOrder");
    EXPECT_EQ(f.a.DrawPage(), 0);

    // The X-Y plot has the same scale per unit of length on both axes (the outer size as it stands).
    f.a.setMode(display::kModeXY);
    const double r = 15360.0 / 5770;
    EXPECT_NEAR(f.pic0.ScaleWidth() / -f.pic0.ScaleHeight(), r, 1e-9);
    EXPECT_NEAR(f.pic0.ScaleLeft(), -r * f.a.YScaleMax(), 1e-9);
    EXPECT_EQ(f.pic1.ScaleLeft(), f.pic0.ScaleLeft());
}

TEST(AnalyserSetUp, AnEmptySpanSetsOnlyTheScaleWidthAndStillDrawsBothGraticules) {
    Rig rig(1024, 300);
    rig.setUp(1024, 300, 12000, 12000);
    EXPECT_EQ(rig.a.StartBin, rig.a.StopBin);
    for (RecordingPicture* p : {&rig.pic0, &rig.pic1}) {
        EXPECT_EQ(p->ScaleWidth(), 100);
        EXPECT_EQ(p->ScaleTop(), 0); // the picture's own default, untouched
        EXPECT_EQ(std::count(p->events.begin(), p->events.end(), "AutoRedraw off"), 1);
        EXPECT_FALSE(p->sinceCls().empty());
    }
}

TEST(AnalyserDataPath, ATonesPowerMatchesADirectDft) {
    Fixture f;
    f.plainSpectrum();
    const auto noise = randomFloats(kPoints, 11, 100.0f);
    const auto c1 = plus(tone(300, 8000), noise);
    const auto c2 = plus(tone(123.5, 3000, 1.1), randomFloats(kPoints, 12, 10.0f));
    f.load(c1, c2);
    f.a.Display();
    const double scale1 = dftPower(c1, 300), scale2 = dftPower(c2, 123);
    for (int32_t k : {0, 1, 150, 299, 300, 301, 700, 1023}) {
        expectPower(f.a.Trace1()[static_cast<std::size_t>(k)], dftPower(c1, k), scale1, "channel 1", k);
        expectPower(f.a.Trace2()[static_cast<std::size_t>(k)], dftPower(c2, k), scale2, "channel 2", k);
    }
    const auto peak = std::max_element(f.a.Trace1().begin(), f.a.Trace1().begin() + 1024);
    EXPECT_EQ(peak - f.a.Trace1().begin(), 300);
}

TEST(AnalyserDataPath, IqTonesLandInTheEntriesTheMappingGives) {
    Fixture f;
    f.plainSpectrum();
    f.a.setIQMode(true);
    // I carries a level and a tone at bin 100, Q a tone at bin 200.
    std::vector<float> i = tone(100, 5000);
    for (float& v : i)
        v += 700.0f;
    const std::vector<float> q = tone(200, 4000, 0.7);
    f.load(i, q);
    f.a.Display();
    const auto t = f.a.Trace1();
    // Entries 0 and n/4 are both I's lowest bin; above n/4 every second I bin going up; below it every
    // second Q bin coming down from n/2 - 2.
    const double scale = dftPower(i, 0);
    expectPower(t[0], dftPower(i, 0), scale, "I bin 0 at", 0);
    expectPower(t[512], dftPower(i, 0), scale, "I bin 0 at", 512);
    expectPower(t[512 + 50], dftPower(i, 100), scale, "I bin 100 at", 562);
    expectPower(t[412], dftPower(q, 200), scale, "Q bin 200 at", 412); // (1024 - 200) / 2
    expectPower(t[1], dftPower(q, 1022), scale, "Q bin 1022 at", 1);
    expectPower(t[511], dftPower(q, 2), scale, "Q bin 2 at", 511);
    expectPower(t[1023], dftPower(i, 1022), scale, "I bin 1022 at", 1023);
    const auto peakUpper = std::max_element(t.begin() + 513, t.begin() + 1024) - t.begin();
    const auto peakLower = std::max_element(t.begin() + 1, t.begin() + 512) - t.begin();
    EXPECT_EQ(peakUpper, 562);
    EXPECT_EQ(peakLower, 412);
}

TEST(AnalyserDataPath, TheTimeScopeTriggersOnTheFirstRiseAboveMinus400) {
    struct Case {
        const char* name;
        int16_t channel;
        std::vector<float> samples; // the start of the triggering channel; the rest is 0
        int32_t trigBin;
    };
    const auto ramp = [](std::initializer_list<std::pair<int, float>> runs) {
        std::vector<float> v;
        for (const auto& [count, value] : runs)
            v.insert(v.end(), static_cast<std::size_t>(count), value);
        return v;
    };
    const Case cases[] = {
        {"rise at 37", 1, ramp({{37, -1000.0f}}), 37},
        {"first two samples at or above -400", 1, ramp({{2, -400.0f}, {5, -1000.0f}}), 0},
        {"a single sample above does not count", 1, ramp({{10, -1000.0f}, {1, 0.0f}, {1, -500.0f}}), 12},
        {"channel 2", 2, ramp({{100, -401.0f}}), 100},
        {"never above within the screen's starts", 1, ramp({{1100, -2000.0f}}), 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Fixture f;
        f.a.setMode(display::kModeTime);
        f.a.ScreenWidth = 1000;
        f.a.setTriggerChn(c.channel);
        std::vector<float> trig(kPoints, 0.0f), other(kPoints, -3000.0f);
        std::copy(c.samples.begin(), c.samples.end(), trig.begin());
        if (c.channel == 1)
            f.load(trig, other);
        else
            f.load(other, trig);
        f.a.Display();
        EXPECT_EQ(f.a.TrigBin, c.trigBin);
        EXPECT_EQ(f.a.StartBin, c.trigBin);
        EXPECT_EQ(f.a.StopBin, c.trigBin + 1000 - 1);
    }
    // Without a trigger channel the view stays where it was, frame after frame.
    Fixture f;
    f.a.setMode(display::kModeTime);
    f.a.ScreenWidth = 500;
    f.a.StartBin = 5;
    f.a.StopBin = 504;
    f.a.setTriggerChn(0);
    f.load(tone(3, 10000), tone(4, 10000));
    f.a.Display();
    f.a.Display();
    EXPECT_EQ(f.a.StartBin, 5);
    EXPECT_EQ(f.a.StopBin, 504);
}

TEST(AnalyserDataPath, TheFirstFrameGoesIntoTheVisiblePictureAndLaterOnesIntoTheHiddenOne) {
    Fixture f;
    f.load(tone(50, 1000), tone(60, 1000));
    f.pic0.forget();
    f.pic1.forget();
    f.a.Display();
    EXPECT_FALSE(f.pic0.sinceCls().empty());
    EXPECT_TRUE(f.pic1.drawn.empty());
    EXPECT_TRUE(f.pic0.Visible());
    EXPECT_FALSE(f.pic1.Visible());
    EXPECT_EQ(f.a.DrawPage(), 1);
    f.pic0.forget();
    f.a.Display();
    EXPECT_TRUE(f.pic0.drawn.empty());
    EXPECT_FALSE(f.pic1.sinceCls().empty());
    EXPECT_FALSE(f.pic0.Visible());
    EXPECT_TRUE(f.pic1.Visible());
    // Picture 0 is hidden before picture 1 is shown, after picture 1 was drawn.
    EXPECT_EQ(f.pic0.events, (std::vector<std::string>{"Hidden"}));
    EXPECT_EQ(f.pic1.events.back(), "Visible");
    EXPECT_EQ(f.a.DrawPage(), 0);
    EXPECT_FALSE(f.a.InDisplay);
}

TEST(AnalyserDataPath, AnInactiveAnalyserKeepsItsBuffersAndDrawsNothing) {
    Fixture f;
    const auto first = tone(20, 100);
    f.load(first, first);
    f.a.Active = false;
    f.load(tone(40, 900), tone(40, 900));
    f.a.LoadSamples_INT16(std::vector<int16_t>(kPoints, 5), std::vector<int16_t>(kPoints, 5));
    EXPECT_TRUE(std::equal(first.begin(), first.end(), f.a.BufI().begin()));
    EXPECT_TRUE(std::equal(first.begin(), first.end(), f.a.BufQ().begin()));
    f.pic0.forget();
    f.pic1.forget();
    f.a.Display();
    EXPECT_TRUE(f.pic0.drawn.empty());
    EXPECT_TRUE(f.pic1.drawn.empty());
    f.a.Active = true;
    f.a.LoadSamples_INT16(std::vector<int16_t>(kPoints, -32768), std::vector<int16_t>(kPoints, 32767));
    EXPECT_EQ(f.a.BufI()[kPoints - 1], -32768.0f);
    EXPECT_EQ(f.a.BufQ()[0], 32767.0f);
    // A block shorter than the transform is refused, not read past its end.
    EXPECT_THROW(f.a.LoadSamples_S(std::vector<float>(100), std::vector<float>(kPoints)),
                 runtime::RuntimeError);
}

TEST(AnalyserDataPath, TheFilterTapsBecomeTheFilterCurve) {
    Fixture f;
    const double top = f.a.YScaleMax();
    // No taps: a flat curve at log10(1.01) x 0.89 x the top of the log scale.
    f.a.LoadFilterCoeffs_T_S(std::vector<float>(display::kFilterTaps, 0.0f));
    for (int32_t k : {0, 1, 500, 1023})
        EXPECT_NEAR(f.a.FilterCurve()[static_cast<std::size_t>(k)], std::log10(1.01) * 0.89 * top, 1e-6) << k;
    // One tap of 1: every bin has the power 12^2 in the log scale, and (the linear top)^2 in the linear one.
    std::vector<float> impulse(display::kFilterTaps, 0.0f);
    impulse[0] = 1.0f;
    f.a.LoadFilterCoeffs_T_S(impulse);
    EXPECT_NEAR(f.a.FilterPower()[700], 145.01, 1e-3);
    EXPECT_NEAR(f.a.FilterCurve()[700], std::log10(145.01) * 0.89 * top, 1e-5);
    f.a.setLogMode(false);
    f.a.LoadFilterCoeffs_T_S(impulse);
    EXPECT_NEAR(f.a.FilterPower()[3], 24000000.0 * 24000000.0, 1e9);
    const double linearCurve = std::log10(24000000.0 * 24000000.0) * 0.9 * 24000000.0;
    EXPECT_NEAR(f.a.FilterCurve()[3], linearCurve, 1e-6 * linearCurve);

    // Magnitudes straight: 20 log10 each; one of 0 stops there, the entries before it converted.
    std::vector<float> mags(kPoints, 10.0f);
    mags[5] = 0.0f;
    mags[4] = 100.0f;
    try {
        f.a.LoadFilterCoeffs_F_S(mags);
        ADD_FAILURE() << "no error";
    } catch (const runtime::RuntimeError& e) {
        EXPECT_EQ(e.Number(), runtime::err::kInvalidCall);
    }
    EXPECT_FLOAT_EQ(f.a.FilterCurve()[4], 2.0f); // converted, not yet scaled
    mags[5] = 1000.0f;
    f.a.LoadFilterCoeffs_F_S(mags);
    EXPECT_FLOAT_EQ(f.a.FilterCurve()[4], 40.0f);
    EXPECT_FLOAT_EQ(f.a.FilterCurve()[5], 60.0f);
    EXPECT_FLOAT_EQ(f.a.FilterCurve()[kPoints - 1], 20.0f);
}

TEST(AnalyserDataPath, AnErrorInTheFrameReachesTheCallerAndClearsEveryFlag) {
    Fixture f;
    f.load(tone(50, 1000), tone(60, 1000));
    // The I/Q marker of an empty span divides by zero in the graticule, which raises.
    f.a.setIQMode(true);
    f.a.StopBin = f.a.StartBin;
    try {
        f.a.Display();
        ADD_FAILURE() << "no error";
    } catch (const runtime::RuntimeError& e) {
        EXPECT_EQ(e.Number(), runtime::err::kDivisionByZero);
    }
    EXPECT_FALSE(f.a.InDisplay);
    f.a.DisplayFrozen(); // ends quietly
    EXPECT_FALSE(f.a.InDisplay);
    // The next frame runs normally.
    f.a.StopBin = 1024;
    f.pic0.forget();
    f.a.Display();
    EXPECT_EQ(f.pic0.events.back(), "Visible");
    EXPECT_EQ(f.a.DrawPage(), 1);
}

} // namespace
