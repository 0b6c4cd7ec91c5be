// The display panel's, the pointer's and the S-meter's arithmetic, case by case.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "display/ScopeArithmetic.h"
#include "platform/runtime/RuntimeError.h"

namespace {

using namespace display;

TEST(ScopeArithmetic, EachSourcePointGivesItsSpanDirectionAndOffset) {
    const struct {
        int16_t index;
        bool highSide;
        int32_t tuned; // 0.1 Hz
        SourceView view;
    } cases[] = {
        // "AF Out": an eighth of the sample rate, reversed, no offset, whatever the tuning.
        {ScopeSource::AFOut, false, 71000000, {0, 6000, true, 0}},
        {ScopeSource::AFOut, true, 71000000, {0, 6000, true, 0}},
        // The others: twice the base IF, reversed with the LO above, 12 kHz below the tuned frequency.
        {ScopeSource::IFIn, false, 71000000, {0, 24000, false, 7088000}},
        {ScopeSource::PreDemod, true, 71000000, {0, 24000, true, 7088000}},
        {ScopeSource::PostDemod, false, 140741234, {0, 24000, false, 14062123}},
        // Halves of a hertz go to the even neighbour.
        {ScopeSource::IFIn, false, 70880005, {0, 24000, false, 7076000}},
        {ScopeSource::IFIn, false, 70880015, {0, 24000, false, 7076002}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(sourceView(c.index, 48000, 12000, c.highSide, c.tuned), c.view)
            << c.index << " " << c.tuned;
    EXPECT_TRUE(rfView(7088000, 48000));
    EXPECT_FALSE(rfView(0, 48000));
    EXPECT_FALSE(rfView(48000, 48000));
}

TEST(ScopeArithmetic, TheGainSliderHalvesTheGainPerStepAroundItsMiddle) {
    const struct {
        int32_t value;
        float gain;
        const char* toolTip;
    } cases[] = {
        {4, 1.0f, "YGain : 0 dB"},  {0, 16.0f, "YGain : 24 dB"}, {8, 0.0625f, "YGain : -24 dB"},
        {5, 0.5f, "YGain : -6 dB"}, {3, 2.0f, "YGain : 6 dB"},
    };
    for (const auto& c : cases) {
        const SpectrumGain g = spectrumGain(8, c.value);
        EXPECT_EQ(g.Gain, c.gain) << c.value;
        EXPECT_EQ(g.ToolTip, c.toolTip) << c.value;
    }
}

TEST(ScopeArithmetic, SliderMiddlesAndStepsRoundHalvesToEven) {
    EXPECT_EQ(sliderMiddle(0, 8), 4);
    EXPECT_EQ(sliderMiddle(0, 24000), 12000);
    EXPECT_EQ(sliderMiddle(1000, 24000), 11500);
    EXPECT_EQ(sliderMiddle(0, 5), 2);
    EXPECT_EQ(sliderMiddle(0, 7), 4);
    EXPECT_EQ(sweepSliderSteps(24000), (SliderSteps{2400, 240, 2400}));
    EXPECT_EQ(sweepSliderSteps(25), (SliderSteps{2, 0, 2}));
    EXPECT_EQ(sweepSliderSteps(35), (SliderSteps{4, 0, 4}));
}

TEST(ScopeArithmetic, TheWidthSliderKeepsItsSpanAroundTheCentreAndWithinTheRange) {
    const struct {
        int32_t min, max, value, centre;
        SpectrumSpan span;
    } cases[] = {
        {0, 24000, 1000, 12000, {11500, 12500}},    // the mode change's design values
        {1000, 24000, 1000, 12000, {11995, 12005}}, // a width of 0 counts as 10
        {0, 24000, 5, 100, {95, 105}},
        {0, 24000, 11, 100, {95, 106}},          // an odd width: its half rounds up on the right
        {0, 24000, 1000, 100, {0, 600}},         // clipped at 0
        {0, 24000, 1000, 23800, {23300, 24000}}, // clipped at the range
        {0, 24000, 30000, 12000, {0, 24000}},    // never wider than the range
    };
    for (const auto& c : cases)
        EXPECT_EQ(spectrumSpan(c.min, c.max, c.value, c.centre), c.span) << c.value << " " << c.centre;
    EXPECT_EQ(spectrumWidthToolTip(23.4375f, 11500, 12500), "Spectrum Width : 1,953 Hz/div");
    EXPECT_EQ(spectrumWidthToolTip(23.4375f, 0, 1024), "Spectrum Width : 2,000 Hz/div");
    EXPECT_EQ(centreToolTip(23.4375f, 12000, 0), "Center Frequency : 281,250 Hz");
    EXPECT_EQ(centreToolTip(23.4375f, 512, 7088000), "Center Frequency : 7,100,000 Hz");

    EXPECT_EQ(timebaseWidth(0, 24000, 1000), 1000);
    EXPECT_EQ(timebaseWidth(0, 24000, 5), 10);
    EXPECT_EQ(timebaseWidth(1000, 24000, 1000), 10);
    EXPECT_EQ(timebaseWidth(0, 24000, 24000), 24000);
    EXPECT_EQ(timebaseToolTip(0, 999), "Timebase : 01.73 mS/div");
    EXPECT_EQ(timebaseToolTip(0, 23999), "Timebase : 41.66 mS/div");
}

TEST(ScopeArithmetic, ThePointersHeightChoosesTheWheelStep) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const struct {
        double y, scaleHeight;
        std::optional<int32_t> step;
    } cases[] = {
        {5.0, -5.000001, 1000}, // the top of the logarithmic spectrum
        {2.5, -5.0, 500},
        {0.2, -5.000001, 0},          // near the bottom
        {-12000000, -48000000, -200}, // the lower half of the linear spectrum
        {1.0, 0.0, std::nullopt},     // no scale: no step
        {nan, -5.0, std::nullopt},
        {1e300, -1e-300, std::nullopt}, // no Long holds it
    };
    for (const auto& c : cases)
        EXPECT_EQ(wheelStepHz(c.y, c.scaleHeight), c.step) << c.y << " " << c.scaleHeight;
    // The step text never goes below 10 Hz; an empty one counts as 0.
    EXPECT_EQ(flooredWheelStep(""), "10");
    EXPECT_EQ(flooredWheelStep("0"), "10");
    EXPECT_EQ(flooredWheelStep("-200"), "10");
    EXPECT_EQ(flooredWheelStep("9"), "10");
    EXPECT_EQ(flooredWheelStep("10"), "10");
    EXPECT_EQ(flooredWheelStep("1000"), "1000");
    EXPECT_EQ(wheelStepValue("1000"), 1000);
    EXPECT_EQ(wheelStepValue("x"), 0);
}

TEST(ScopeArithmetic, TheFrequencyUnderThePointerAndWhereItsLabelGoes) {
    // 500 entries of 23.4375 Hz, half a hertz up, 12 kHz below 7.1 MHz.
    EXPECT_EQ(frequencyUnderPointer(500, 23.4375f, false, 7088000, true), 7099719.25);
    // An I/Q spectrum's entries cover two bins.
    EXPECT_EQ(frequencyUnderPointer(500, 23.4375f, true, 7088000, true), 7111438.0);
    // The audio view adds no offset.
    EXPECT_EQ(frequencyUnderPointer(500, 23.4375f, false, 0, false), 11719.25);
    EXPECT_EQ(scopeFreqFormat(true), "#0 000 000");
    EXPECT_EQ(scopeFreqFormat(false), "###0");

    EXPECT_EQ(freqLabelLeft(500, 30, 1024, 100), 517);
    EXPECT_EQ(freqLabelLeft(937, 30, 1024, 100), 954);
    EXPECT_EQ(freqLabelLeft(1000, 30, 1024, 100), 954); // held at the right edge
}

TEST(ScopeArithmetic, AClickTunesToTheNearestKilohertzOrNotAtAll) {
    const struct {
        const char* tag;
        std::optional<int32_t> tuned;
    } cases[] = {
        {"7099719.25", 71000000}, {"7099500", 71000000}, {"7099499.99", 70990000}, {"-500", 0},
        {"", std::nullopt},       {"abc", std::nullopt}, {"1e12", std::nullopt},   {"nan", std::nullopt},
    };
    for (const auto& c : cases)
        EXPECT_EQ(clickTuneFrequency(c.tag), c.tuned) << c.tag;
}

TEST(ScopeArithmetic, TheSMeterTicksLabelsAndLevel) {
    for (int32_t i : {0, 1, 14}) {
        const TickPlace t = sMeterTick(i, 15, 2400, -390);
        EXPECT_EQ(t.Width, 160);
        EXPECT_NEAR(t.Height, 390 * 3.0 / 7.0, 1e-9);
        EXPECT_EQ(t.Left, 160 * i);
        EXPECT_EQ(t.Top, 10);
    }
    // Lefts are whole twips, rounded up from a half.
    EXPECT_EQ(sMeterTick(1, 15, 2410, 390).Left, 161);
    EXPECT_EQ(sMeterTick(2, 15, 2410, 390).Left, 321);
    EXPECT_EQ(sMeterSlot(2400, 15), 160);
    EXPECT_EQ(sMeterSlot(2410, 15), 161);
    EXPECT_THROW(sMeterSlot(2400, 0), runtime::RuntimeError);
    EXPECT_THROW(sMeterTick(1, 15, 1e300, 390), runtime::RuntimeError);

    const char* labels[] = {"1",  "2",  "3",  "4",  "5",  "6",  "7",  "8", "9",
                            "+6", "12", "18", "24", "30", "36", "42", "48"};
    for (int32_t L = 1; L <= 17; ++L)
        EXPECT_EQ(sMeterLabel(L), labels[L - 1]) << L;

    EXPECT_EQ(meterBackoffToolTip(0.5f), "Meter Backoff=-6.02 dB");
    EXPECT_EQ(meterBackoffToolTip(1.0f), "Meter Backoff=0.00 dB");
    EXPECT_EQ(meterBackoffToolTip(0.0f), "Meter Backoff=0.00 dB"); // the shared logarithm of 0 is 0

    const struct {
        double level;
        int32_t ticks;
    } levels[] = {{1, 0}, {2, 1}, {1000, 10}, {1e9, 30}, {0.5, -1}, {0, 0}, {1.8, 0}, {1.9, 1}, {3.9, 2}};
    for (const auto& c : levels)
        EXPECT_EQ(sMeterTicks(c.level), c.ticks) << c.level;
    EXPECT_EQ(sMeterTicks(std::numeric_limits<double>::infinity()), 0); // no logarithm: 0 dB
}

} // namespace
