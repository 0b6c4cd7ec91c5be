// The housekeeping tick over prepared histories: statistics and their colours, the S-meter, the peak
// tracking, the dynamic filter and notch rules, the deferred rebuild and a tick held below a block.
#include <cmath>
#include <functional>
#include <limits>
#include <map>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "dsp/clsFFTFilter.h"
#include "dsp/testing/DspFixture.h"
#include "mainwindow/Housekeeping.h"

namespace {

class FakeHousekeeping final : public mainwindow::HousekeepingPorts {
public:
    explicit FakeHousekeeping(ReceiverState& st) : st_(st) {
        for (clsFFTFilter* f : {&af, &notch}) {
            f->HzPerBin = 11.71875;
            f->FSampling = 48000;
            f->Points = 2048;
        }
        stats.Peak1 = peak1;
        stats.Peak2 = peak2;
        stats.BlockTimes = times;
    }
    bool minimised = false;
    std::array<int16_t, 48> peak1{}, peak2{};
    std::array<int32_t, 48> times{};
    mainwindow::BlockStatistics stats;
    std::map<int16_t, std::string> captions;
    std::map<int16_t, int32_t> colours;
    std::vector<double> meter;
    std::string meterTip, notchCaption, notchTip;
    DspLibraries dsp;
    clsFFTFilter af{dsp.wrappers}, notch{dsp.wrappers};
    std::vector<std::string> designs;
    int makeFilters = 0;
    std::function<void()> onPump;
    std::function<bool()> makeFiltersResult = [] { return true; };
    mainwindow::ModelFlags model;
    std::vector<bool> shown;

    bool Minimised() override { return minimised; }
    void UpdateSMeter(double level) override { meter.push_back(level); }
    void SetSMeterToolTip(const std::string& t) override { meterTip = t; }
    const mainwindow::BlockStatistics* Statistics() override { return &stats; }
    void SetStat(int16_t i, const std::string& c) override { captions[i] = c; }
    void SetStatColour(int16_t i, int32_t c) override { colours[i] = c; }
    void Pump() override {
        if (onPump) onPump();
    }
    bool RebuildFilters() override {
        ++makeFilters;
        return makeFiltersResult();
    }
    clsFFTFilter& AfFilter() override { return af; }
    clsFFTFilter& NotchFilter() override { return notch; }
    void MakeFilter(clsFFTFilter& f) override {
        designs.push_back(&f == &af ? "af " + std::to_string(f.FLow) + " " + std::to_string(f.FHigh)
                                    : "notch " + std::to_string(f.FLow) + " " + std::to_string(f.FHigh) +
                                          (f.BandReject ? " reject" : " pass"));
    }
    void ShowNotchPeak(const std::string& c, const std::string& t) override {
        notchCaption = c;
        notchTip = t;
    }
    int32_t OscOut() override { return 70'500'000; }
    mainwindow::ModelFlags Model() override { return model; }
    void ShowModelControls(bool iq, bool tuneLo, bool sam) override { shown = {iq, tuneLo, sam}; }

private:
    ReceiverState& st_;
};

TEST(Housekeeping, ShowsTheStatisticsWithTheirColoursAndFormats) {
    struct Case {
        int16_t peak;
        int32_t blockUs;
        std::string caption0, load;
        int32_t colour0, loadColour;
    };
    const Case cases[] = {
        {2047, 1000, "2,047  -24 dB", "2%", mainwindow::kStatYellow, mainwindow::kStatGreen},
        {2048, 38399, "2,048  -24 dB", "90%", mainwindow::kStatGreen, mainwindow::kStatGreen},
        {16383, 38400, "16,383  -6 dB", "90%", mainwindow::kStatGreen, mainwindow::kStatRed},
        {16384, 42667, "16,384  -6 dB", "100%", mainwindow::kStatRed, mainwindow::kStatRed},
    };
    for (const Case& c : cases) {
        ReceiverState st;
        st.PerfStatsOn = true;
        st.AgcGain = 2.5f;
        FakeHousekeeping p(st);
        p.peak1.fill(c.peak);
        p.peak1[47] = 30000; // past the 47 averaged
        p.peak2.fill(100);
        p.times.fill(c.blockUs);
        mainwindow::Housekeeping h(st, p);
        h.tmrPerfStats_Timer();
        EXPECT_EQ(p.captions[0], c.caption0) << c.peak;
        EXPECT_EQ(p.colours[0], c.colour0) << c.peak;
        EXPECT_EQ(p.captions[1], "100  -50 dB");
        EXPECT_EQ(p.colours.count(1), 0u);
        EXPECT_EQ(p.captions[2], "2.50  8.0 dB");
        EXPECT_EQ(p.captions[4], c.load) << c.blockUs;
        EXPECT_EQ(p.colours[4], c.loadColour) << c.blockUs;
        EXPECT_EQ(p.colours[5], c.loadColour);
        EXPECT_EQ(p.captions[3], "7 050 000 Hz");
    }
}

TEST(Housekeeping, AMinimisedWindowOrStatisticsOffStillDoTheRest) {
    for (const bool minimised : {true, false}) {
        ReceiverState st;
        st.PerfStatsOn = !minimised ? false : true;
        st.FiltersDirty = true;
        st.NotchDirty = true;
        FakeHousekeeping p(st);
        p.minimised = minimised;
        mainwindow::Housekeeping h(st, p);
        h.tmrPerfStats_Timer();
        EXPECT_EQ(p.captions.count(0), 0u);
        EXPECT_EQ(p.captions[3], "7 050 000 Hz");
        EXPECT_EQ(p.meter.size(), 1u);
        EXPECT_EQ(p.makeFilters, 1);
        EXPECT_FALSE(st.FiltersDirty);
        EXPECT_FALSE(st.NotchDirty);
        EXPECT_EQ(p.shown.size(), 3u);
    }
}

TEST(Housekeeping, FeedsTheSMeterNeverBelowZeroAndZeroesOnRequest) {
    const float nan = std::numeric_limits<float>::quiet_NaN();
    struct Case {
        float level, floor;
        bool zero;
        double shown;
    };
    const Case cases[] = {{0.5f, 0.25f, false, 0.25}, {0.1f, 1e30f, false, 0}, {nan, 0, false, 0}};
    for (const Case& c : cases) {
        ReceiverState st;
        for (size_t i = 0; i < 6; ++i)
            st.LevelRing[i] = c.level;
        st.NoiseFloor = c.floor;
        FakeHousekeeping p(st);
        mainwindow::Housekeeping h(st, p);
        h.tmrPerfStats_Timer();
        EXPECT_DOUBLE_EQ(p.meter.at(0), c.shown);
    }
    // ZeroS: the RMS over 234 blocks of 2048 samples becomes the floor; the request is served once.
    ReceiverState st;
    for (size_t i = 0; i < 235; ++i)
        st.BlockPowerRing[i] = i < 234 ? 2048.0f * 0.01f : 1e9f;
    for (size_t i = 0; i < 6; ++i)
        st.LevelRing[i] = 0.3f;
    FakeHousekeeping p(st);
    mainwindow::Housekeeping h(st, p);
    h.CalibrateSMeterRequest = true;
    h.tmrPerfStats_Timer();
    EXPECT_NEAR(st.NoiseFloor, 0.1f, 1e-6);
    EXPECT_EQ(p.meterTip, "Meter Backoff=-20.00 dB");
    EXPECT_NEAR(p.meter.at(0), 0.2, 1e-6);
    EXPECT_FALSE(h.CalibrateSMeterRequest);
}

TEST(Housekeeping, TracksThePeakAndMovesTheDynamicFilterAndNotchPastTheirThresholds) {
    struct Case {
        const char* what;
        int32_t filterLo, binSum, lastPeak;
        bool dyn;
        int32_t notchMode, notchWidth, builtCentre;
        int32_t peak;
        std::vector<std::string> designs;
    };
    // PeakFrequency = 24000 * (bins / 100 + FilterLo \ 12) \ 2048.
    const Case cases[] = {
        {"zeros", 300, 0, 0, false, 1, 200, 0, 292, {"notch 192 392 reject"}},
        {"FilterLo 300, 100 bins, notch moved 25", 300, 10000, 0, false, 1, 200, 1439, 1464, {}},
        {"notch moved 26", 300, 10000, 0, false, 1, 200, 1438, 1464, {"notch 1364 1564 reject"}},
        {"dyn 100", 0, 0, -100, true, 0, 200, 0, 0, {}},
        {"dyn 101", 0, 0, -101, true, 0, 200, 0, 0, {"af 300 2400"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ReceiverState st;
        st.FilterLo = c.filterLo;
        st.FilterHi = 3000;
        st.PeakBinRing[0] = c.binSum;
        st.PeakBinRing[100] = 99999; // not part of the ring
        st.DynFilterActive = c.dyn;
        st.NotchMode = c.notchMode;
        st.NotchWidth = c.notchWidth;
        st.NotchBuiltCentre = c.builtCentre;
        FakeHousekeeping p(st);
        p.notch.Active = true;
        p.af.Active = c.dyn;
        p.af.FLow = 1000;
        p.af.FHigh = 2000;
        mainwindow::Housekeeping h(st, p);
        h.DynFilterLastPeak = c.lastPeak;
        h.tmrPerfStats_Timer();
        EXPECT_EQ(h.PeakFrequency, c.peak);
        EXPECT_EQ(st.NotchCentre, c.peak);
        EXPECT_EQ(p.designs, c.designs);
    }
    // The notch caption and tooltip.
    ReceiverState st;
    st.NotchMode = 1;
    st.FilterLo = 12 * 1000;
    FakeHousekeeping p(st);
    mainwindow::Housekeeping h(st, p);
    h.tmrPerfStats_Timer();
    EXPECT_EQ(p.notchCaption, "11718");
    EXPECT_EQ(p.notchTip, "Fcentre : 11,718 Hz");
}

TEST(Housekeeping, ClampsAnActiveDynamicFilterIntoItsBand) {
    ReceiverState st;
    st.DynFilterActive = true;
    st.FilterLo = 300;
    st.FilterHi = 3300; // w = 3000: FHigh within [2700, 3300], FLow within [300, 600]
    FakeHousekeeping p(st);
    p.af.Active = true;
    p.af.FLow = 900;
    p.af.FHigh = 2000;
    mainwindow::Housekeeping h(st, p);
    h.DynFilterLastPeak = -500; // the peak (292) moved 792 up: 1692 and 2792, the low edge clamped
    h.tmrPerfStats_Timer();
    EXPECT_EQ(p.designs, std::vector<std::string>{"af 600 2792"});
    EXPECT_EQ(h.DynFilterLastPeak, 292);
}

TEST(Housekeeping, RebuildsOncePerFlagAndLeavesDesignsForLaterWhileABlockIsHeldBelow) {
    ReceiverState st;
    st.FiltersDirty = true;
    st.NotchDirty = true;
    st.DspBusy = true; // the tick runs inside a block's pump
    FakeHousekeeping p(st);
    mainwindow::Housekeeping h(st, p);
    h.tmrPerfStats_Timer();
    EXPECT_EQ(p.makeFilters, 0);
    EXPECT_TRUE(st.FiltersDirty);
    EXPECT_TRUE(st.NotchDirty);
    EXPECT_EQ(p.meter.size(), 1u); // what needs no design is done

    st.DspBusy = false;
    h.tmrPerfStats_Timer();
    h.tmrPerfStats_Timer();
    EXPECT_EQ(p.makeFilters, 1);
    EXPECT_FALSE(st.FiltersDirty);
    EXPECT_EQ(p.designs.size(), 1u);

    // A rebuild that stopped keeps the flag for the next tick.
    st.FiltersDirty = true;
    p.makeFiltersResult = [] { return false; };
    h.tmrPerfStats_Timer();
    EXPECT_TRUE(st.FiltersDirty);
}

TEST(Housekeeping, ANestedTickDoesNothing) {
    ReceiverState st;
    st.FiltersDirty = true;
    FakeHousekeeping p(st);
    mainwindow::Housekeeping h(st, p);
    int nested = 0;
    p.onPump = [&] {
        if (nested++ == 0) h.tmrPerfStats_Timer();
    };
    h.tmrPerfStats_Timer();
    EXPECT_EQ(p.meter.size(), 1u);
    EXPECT_EQ(p.makeFilters, 1);
}

TEST(Housekeeping, FollowsTheModelsSettings) {
    struct Case {
        mainwindow::ModelFlags m;
        std::vector<bool> shown;
        bool upper, hiSide;
    };
    const Case cases[] = {{{true, false, true}, {false, false, false}, false, false},
                          {{false, true, false}, {true, true, true}, true, true}};
    for (const Case& c : cases) {
        ReceiverState st;
        st.IQSelectUpper = true;
        FakeHousekeeping p(st);
        p.model = c.m;
        mainwindow::Housekeeping h(st, p);
        h.tmrPerfStats_Timer();
        EXPECT_EQ(p.shown, c.shown);
        EXPECT_EQ(st.IQSelectUpper, c.upper);
        EXPECT_EQ(st.HiSideLoActive, c.hiSide);
    }
}

} // namespace
