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

} // namespace
