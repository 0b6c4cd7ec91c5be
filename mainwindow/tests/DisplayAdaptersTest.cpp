// The adapters that join the analyser to its neighbours.
#include <gtest/gtest.h>

#include "dsp/testing/ChainFixture.h"
#include "mainwindow/DisplayAdapters.h"
#include "platform/profile/SettingsStore.h"
#include "platform/ui/testing/RecordingPicture.h"

namespace {

// A rebuild of the filters reaches the display: its curve stands high over the IF filter's pass band
// and low outside it.
TEST(DisplayAdapters, TheFilterSetUpDrawsTheIfPassBandIntoTheFilterCurve) {
    DspLibraries libs;
    libs.state.MixerCentre = 12500;
    libs.state.FilterHi = 3000;
    libs.state.FilterLo = 300;
    const auto bank = Nerix::CreateFilterBank(libs.wrappers, 12000);
    auto tables = frontpanel::DefaultFilterTables();
    profile::MemorySettingsStore store;
    clsSpectrumAnalyser analyser(store, libs.state, libs.wrappers);
    ui::testing::RecordingPicture p0(1024, 300), p1(1024, 300);
    analyser.picDisplay0(p0);
    analyser.picDisplay1(p1);
    analyser.FSampling = 48000;
    analyser.Order = 11;
    analyser.FEnd = 24000;
    analyser.init();
    mainwindow::AnalyserFilterCurve curve(analyser);
    frontpanel::FilterSetup setup(libs.state, *bank, tables, &curve);
    setup.MakeFilters();

    const double hzPerBin = 23.4375;
    const int32_t low = bank->IfFilter.FLow, high = bank->IfFilter.FHigh;
    ASSERT_LT(low + 1000, high);
    const auto at = [&](double hz) {
        return analyser.FilterCurve()[static_cast<std::size_t>(hz / hzPerBin)];
    };
    // In the log scale a gain of 1 stands at log10(12^2 + 1.01) x 0.89 x 5, no gain at log10(1.01) x 4.45.
    EXPECT_NEAR(at((low + high) / 2.0), std::log10(145.01) * 0.89 * 5, 0.5);
    EXPECT_LT(at(low - 2000), 0.5);
    EXPECT_LT(at(high + 2000), 0.5);
}

// The dialog's Apply and Preview reach the analyser's own members: a colour set through the port is the
// one the next redraw uses, and the traces take their base colours at the brightness asked for.
TEST(DisplayAdapters, TheConfigurationDialogSetsTheAnalysersColoursAndCount) {
    DspLibraries libs;
    profile::MemorySettingsStore store;
    clsSpectrumAnalyser analyser(store, libs.state, libs.wrappers);
    mainwindow::ConfigAnalyser port(analyser);
    port.setScopeBackColour(0x010203);
    port.setFilterCurveColour(0x0000C0);
    port.setY1BaseColour(0x00FF00);
    port.setY2BaseColour(0x0000FF);
    port.SetChannelBrightness(0, 50);
    port.SetChannelBrightness(1, 100);
    port.setControlColourNormal(0xBFBF00);
    port.setDefaultSmoothCount(12);
    port.setHideFreqToolTip(true);
    EXPECT_EQ(analyser.ScopeBackColour(), 0x010203);
    EXPECT_EQ(analyser.FilterCurveColour(), 0x0000C0);
    EXPECT_EQ(analyser.Y1Colour, 0x008000); // 255 x 50 % rounds half to even: 128
    EXPECT_EQ(port.Y2Colour(), 0x0000FF);
    EXPECT_EQ(analyser.ControlColourNormal, 0xBFBF00);
    EXPECT_EQ(analyser.DefaultSmoothCount, 12);
    EXPECT_TRUE(analyser.HideFreqToolTip());
    port.setY1Colour(0x123456);
    EXPECT_EQ(analyser.Y1Colour, 0x123456);
}

} // namespace
