// The analyser's frames: the graticule, its labels, the traces and the overlays, on real pictures 1024
// pixels wide (a scale unit a pixel) and, for texts and positions, on recording pictures.
#include <gtest/gtest.h>

#include <QImage>
#include <QWidget>
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include "display/tests/AnalyserFixture.h"
#include "platform/ui/PictureBox.h"
#include "platform/ui/testing/RecordingPicture.h"

namespace {

using Kind = ui::testing::RecordingPicture::Kind;
using ui::testing::RecordingPicture;

// 0x00BBGGRR as the image holds it, 0xRRGGBB.
uint32_t onScreen(int32_t bgr) {
    const auto v = static_cast<uint32_t>(bgr);
    return ((v & 0xFF) << 16) | (v & 0xFF00) | ((v >> 16) & 0xFF);
}

uint32_t pixel(ui::PictureBox& pic, int x, int y) {
    return pic.surface().image().pixel(x, y) & 0xFFFFFF;
}

struct Container {
    Container() { widget.resize(1100, 400); }
    QWidget widget;
};

// Pictures of 1024 x 385 pixels: the set-up makes them 400 x 15 - 230 twips high.
struct RealRig : Container, AnalyserOn<ui::PictureBox> {
    RealRig() : AnalyserOn<ui::PictureBox>(&widget) { setUp(1024, 300); }
    // The picture the last frame went into.
    ui::PictureBox& shown() { return pic0.Visible() ? pic0 : pic1; }
    // Nothing of the traces on screen: both channels far below the bottom of the log scale.
    void quietInput() { load(std::vector<float>(kPoints, 0.0f), std::vector<float>(kPoints, 0.0f)); }
};

struct FakeRig : AnalyserOn<RecordingPicture> {
    FakeRig() : AnalyserOn<RecordingPicture>(1024, 300) { setUp(1024, 300); }
    RecordingPicture& shown() { return pic0.Visible() ? pic0 : pic1; }
};

std::vector<RecordingPicture::Drawn> ofKind(const std::vector<RecordingPicture::Drawn>& all, Kind kind,
                                            int32_t colour) {
    std::vector<RecordingPicture::Drawn> out;
    for (const auto& d : all)
        if (d.kind == kind && d.colour == colour) out.push_back(d);
    return out;
}

std::vector<std::string> texts(const std::vector<RecordingPicture::Drawn>& prints) {
    std::vector<std::string> out;
    for (const auto& p : prints)
        out.push_back(p.text);
    return out;
}

// The frame's last drawing left the persistent image and brought the picture to the front.
void expectFrameEnded(const RecordingPicture& pic) {
    const auto& e = pic.events;
    const auto on = std::find(e.rbegin(), e.rend(), "AutoRedraw on");
    const auto off = std::find(e.rbegin(), e.rend(), "AutoRedraw off");
    ASSERT_NE(off, e.rend());
    EXPECT_LT(off, on);
    ASSERT_NE(off, e.rbegin());
    EXPECT_EQ(*(off - 1), "ZOrder");
}

TEST(AnalyserGraticule, GridColumnsAndTheCentreOrIqMarkerOnARealPicture) {
    RealRig rig;
    ASSERT_EQ(rig.pic0.surface().image().width(), 1024);
    ASSERT_EQ(rig.pic0.surface().image().height(), 385);
    const int row = 30; // between the first two grid rows, clear of the labels
    const auto columns = [] {
        std::vector<int> out;
        float x = 0;
        const auto step = static_cast<float>(1024 / 12.01);
        for (int k = 0; k <= 12; ++k, x += step)
            out.push_back(static_cast<int>(std::lround(x)));
        return out;
    }();
    for (const int x : columns) {
        if (x == 512) continue; // under the centre line
        EXPECT_EQ(pixel(rig.pic0, x, row), onScreen(0x007F00)) << "column " << x;
        EXPECT_EQ(pixel(rig.pic0, x < 1000 ? x + 3 : x - 3, row), 0u) << "beside column " << x;
    }
    EXPECT_EQ(columns.back(), 1023); // the last line just inside the right edge
    EXPECT_EQ(pixel(rig.pic0, 512, row), onScreen(0x00C0C0));
    EXPECT_EQ(pixel(rig.pic0, 256, row), onScreen(0x007F00));

    // I/Q: the marker at FSampling / 4 instead of the centre.
    rig.a.setIQMode(true);
    rig.a.setMode(display::kModeSpectrum);
    EXPECT_EQ(pixel(rig.pic0, 256, row), onScreen(0x00C0C0));
    EXPECT_EQ(pixel(rig.pic0, 512, row), onScreen(0x007F00));
}

// A graticule is drawn once and put back from the picture's copy while nothing it reads has changed; a
// change of any of them draws it anew, so each page shows what a fresh analyser in that state draws.
TEST(AnalyserGraticule, AKeptGraticuleIsPutBackOnlyWhileNothingItReadsChanges) {
    struct Change {
        const char* what;
        void (*apply)(clsSpectrumAnalyser&);
    };
    const Change changes[] = {
        {"nothing", [](clsSpectrumAnalyser&) {}},
        {"graticule colour", [](clsSpectrumAnalyser& a) { a.setGraticuleColour(0x0000FF); }},
        {"back colour", [](clsSpectrumAnalyser& a) { a.setScopeBackColour(0x303030); }},
        {"decibel colour", [](clsSpectrumAnalyser& a) { a.setYTextColour(0xFF00FF); }},
        {"frequency colour", [](clsSpectrumAnalyser& a) { a.setXTextColour(0x00FFFF); }},
        {"offset", [](clsSpectrumAnalyser& a) { a.FOffset = 7'088'000; }},
        {"reversed", [](clsSpectrumAnalyser& a) { a.ReverseSpectrum = true; }},
        {"I/Q", [](clsSpectrumAnalyser& a) { a.setIQMode(true); }},
        {"linear", [](clsSpectrumAnalyser& a) { a.setLogMode(false); }},
        {"gain", [](clsSpectrumAnalyser& a) { a.setChn1Gain(2.0f); }},
        {"span", [](clsSpectrumAnalyser& a) { a.StopBin = 512; }},
        {"time scope", [](clsSpectrumAnalyser& a) { a.setMode(display::kModeTime); }},
    };
    for (const Change& c : changes) {
        SCOPED_TRACE(c.what);
        RealRig kept, fresh;
        for (RealRig* rig : {&kept, &fresh})
            rig->a.setFastMode(true);
        for (int frame = 0; frame < 2; ++frame) {
            kept.quietInput();
            kept.a.Display();
        }
        c.apply(kept.a);
        c.apply(fresh.a);
        // The fresh pictures lose the copies their set-up kept, so the fresh analyser draws anew.
        fresh.pic0.KeepImage(0);
        fresh.pic1.KeepImage(0);
        for (RealRig* rig : {&kept, &fresh})
            for (int frame = 0; frame < 4; ++frame) {
                rig->quietInput();
                rig->a.Display();
            }
        EXPECT_TRUE(kept.pic0.surface().image() == fresh.pic0.surface().image());
        EXPECT_TRUE(kept.pic1.surface().image() == fresh.pic1.surface().image());
    }

    // Unchanged, a frame draws no graticule line of its own: both pages put theirs back.
    FakeRig rig;
    rig.a.setFastMode(true);
    rig.a.Display();
    rig.a.Display();
    for (RecordingPicture* pic : {&rig.pic0, &rig.pic1})
        pic->forget();
    rig.a.Display();
    rig.a.Display();
    for (RecordingPicture* pic : {&rig.pic0, &rig.pic1}) {
        EXPECT_EQ(std::count(pic->events.begin(), pic->events.end(), "RestoreImage"), 1);
        const auto grid = ofKind(pic->drawn, Kind::Line, 0x007F00);
        EXPECT_FALSE(grid.empty()); // the copy holds them
        EXPECT_TRUE(std::all_of(grid.begin(), grid.end(), [](const auto& d) { return d.restored; }));
    }
}

TEST(AnalyserGraticule, DecibelLabelsUpTheMiddleAt20DbPerDecadeOverTheGain) {
    for (const float gain : {1.0f, 2.0f}) {
        SCOPED_TRACE(gain);
        FakeRig rig;
        rig.a.setChn1Gain(gain);
        rig.a.setMode(display::kModeSpectrum);
        const auto labels = ofKind(rig.pic0.sinceCls(), Kind::Print, rig.a.YTextColour());
        const std::vector<std::string> expected =
            gain == 1.0f ? std::vector<std::string>{"-100", "-090", "-080", "-070", "-060", "-050",
                                                    "-040", "-030", "-020", "-010", "000"}
                         : std::vector<std::string>{"-050", "-045", "-040", "-035", "-030", "-025",
                                                    "-020", "-015", "-010", "-005", "000"};
        EXPECT_EQ(texts(labels), expected);
        const double unitsPerPixelY = 5.000001f / 300.0;
        const double labelHeight = 0.9 * RecordingPicture::kLinePixels * unitsPerPixelY;
        for (std::size_t k = 0; k < labels.size(); ++k) {
            // Centred on the grid row, just right of the middle, under the mask-not-pen mode.
            EXPECT_DOUBLE_EQ(labels[k].x1, 512 + RecordingPicture::kCharPixels);
            EXPECT_NEAR(labels[k].y1, -0.000001 + 0.5000001 * static_cast<double>(k) - labelHeight / 2, 1e-5);
            EXPECT_EQ(labels[k].mode, ui::rop::kMaskNotPen);
        }
    }
}

TEST(AnalyserGraticule, FrequencyLabelsAlongTheMiddleRow) {
    struct Case {
        const char* name;
        bool reverse, iq;
        int32_t fOffset;
        std::vector<std::string> labels; // left to right
        double firstX;                   // the first label's centre
    };
    const Case cases[] = {
        {"audio band",
         false,
         false,
         0,
         {".0", "2.0", "4.0", "6.0", "8.0", "10.0", "12.0", "13.9", "15.9", "17.9", "19.9", "21.9", "23.9"},
         0},
        {"7.038 MHz",
         false,
         false,
         7038000,
         {"7 038", "7 040", "7 042", "7 044", "7 046", "7 048", "7 050", "7 052", "7 054", "7 056", "7 058",
          "7 060", "7 062"},
         0},
        {"reversed",
         true,
         false,
         0,
         {".1", "2.1", "4.1", "6.1", "8.1", "10.1", "12.0", "14.0", "16.0", "18.0", "20.0", "22.0", "24.0"},
         1},
        {"I/Q",
         false,
         true,
         0,
         {".0", "4.0", "8.0", "12.0", "16.0", "20.0", "24.0", "28.0", "32.0", "36.0", "40.0", "44.0", "48.0"},
         0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        FakeRig rig;
        rig.a.ReverseSpectrum = c.reverse;
        rig.a.setIQMode(c.iq);
        rig.a.FOffset = c.fOffset;
        rig.a.setMode(display::kModeSpectrum);
        auto labels = ofKind(rig.pic0.sinceCls(), Kind::Print, rig.a.XTextColour());
        ASSERT_EQ(labels.size(), 13u);
        // Written in the order of the walk; the reversed walk runs from the right edge.
        if (c.reverse) std::reverse(labels.begin(), labels.end());
        EXPECT_EQ(texts(labels), c.labels);
        const double half = rig.a.LabelWidth() / 2.0;
        // Thirteen positions 1023 / 12 apart, each label centred on its own, save that the end ones keep
        // inside the picture's edges.
        EXPECT_NEAR(labels.front().x1, std::max(0.0, c.firstX - half), 1e-4);
        EXPECT_NEAR(labels[1].x1 + half, c.firstX + 1023.0 / 12, 1e-3);
        const double lastWidth = std::max(2 * half, rig.pic0.TextWidth(labels.back().text));
        EXPECT_NEAR(labels.back().x1, std::min(c.firstX + 1023 - half, 1024 - lastWidth), 1e-4);
        const double rowY = 5.000001f / 2 - rig.a.LabelHeight();
        for (const auto& l : labels)
            EXPECT_NEAR(l.y1, rowY, 1e-6);
    }
}

TEST(AnalyserTraces, AToneAtBin300PeaksAtColumn724UnreversedAnd300Reversed) {
    for (const bool reverse : {false, true}) {
        SCOPED_TRACE(reverse);
        RealRig rig;
        rig.a.setFastMode(true);
        rig.a.setChn2Enabled(false);
        rig.a.ReverseSpectrum = reverse;
        // A power of 10^7 sits at 4.5 on the log scale; the rest falls off the bottom.
        rig.load(tone(300, 3.0), std::vector<float>(kPoints, 0.0f));
        rig.a.Display();
        const QImage& image = rig.shown().surface().image();
        int topRow = image.height(), topColumn = -1;
        for (int x = 0; x < image.width(); ++x)
            for (int y = 0; y < topRow; ++y)
                if ((image.pixel(x, y) & 0xFFFFFF) == onScreen(rig.a.Y1Colour)) {
                    topRow = y;
                    topColumn = x;
                    break;
                }
        EXPECT_EQ(topColumn, reverse ? 300 : 724);
        const double level = std::log10(std::pow(3.0 * 1024, 2)) - 2.5;
        EXPECT_NEAR(topRow, (5.0 - level) * 385 / 5.000001, 1.0);
    }
}

TEST(AnalyserTraces, AveragingWeighsOlderSpectraMore) {
    // Three spectra A (oldest), B, C (newest) of one bin show (C/3 + 2B/3 + A)/2 with n = 3.
    const float A = 900.0f, B = 90.0f, C = 9.0f;
    for (const int32_t n : {1, 3}) {
        SCOPED_TRACE(n);
        FakeRig rig;
        rig.a.setLogMode(false);
        rig.a.setSpectrumSmooth(n);
        auto trace = rig.a.Trace1();
        for (const float value : {A, B, C}) {
            std::fill(trace.begin(), trace.end(), value);
            rig.a.DrawSpectrum(rig.pic0);
        }
        const double want = n == 1 ? C : (C / 3.0 + 2.0 * B / 3.0 + A) / 2.0;
        EXPECT_NEAR(trace[0], want, 1e-4);
        EXPECT_NEAR(trace[1023], want, 1e-4);
        EXPECT_EQ(trace[1024], C); // beyond the averaged half
    }
    // Fast mode leaves both the trace and the histories alone.
    FakeRig rig;
    rig.a.setLogMode(false);
    rig.a.setSpectrumSmooth(2);
    auto trace = rig.a.Trace1();
    std::fill(trace.begin(), trace.end(), 10.0f);
    rig.a.setFastMode(true);
    rig.a.DrawSpectrum(rig.pic0);
    EXPECT_EQ(trace[5], 10.0f);
    rig.a.setFastMode(false);
    rig.a.DrawSpectrum(rig.pic0); // the history holds only this one frame
    EXPECT_FLOAT_EQ(trace[5], 10.0f * 0.5f / 1.5f);
}

// The history as a row of frames that each new frame shifts down by one, over the first n only: the
// average of a count that changes from frame to frame, to the last bit.
TEST(AnalyserTraces, AveragingOverAChangingCountMatchesAShiftedHistory) {
    FakeRig rig;
    rig.a.setLogMode(false);
    const std::size_t h = kPoints / 2;
    std::vector<std::vector<float>> shifted(display::kSmoothHistoryLength / h, std::vector<float>(h, 0.0f));
    std::mt19937 rng(11);
    std::uniform_real_distribution<float> value(0.0f, 1e4f);
    for (const int32_t n : {3, 3, 5, 5, 5, 2, 2, 6, 1, 4, 4, 64}) {
        SCOPED_TRACE(n);
        rig.a.setSpectrumSmooth(n);
        auto trace = rig.a.Trace1();
        std::vector<float> input(h);
        for (float& v : input)
            v = value(rng);
        std::copy(input.begin(), input.end(), trace.begin());
        rig.a.DrawSpectrum(rig.pic0);

        for (int32_t k = n - 1; k >= 1; --k)
            shifted[static_cast<std::size_t>(k)] = shifted[static_cast<std::size_t>(k - 1)];
        shifted[0] = input;
        for (std::size_t i = 0; i < h; i += 97) {
            float sum = 0.0f;
            for (int32_t k = 0; k < n; ++k)
                sum = static_cast<float>(static_cast<double>(sum) +
                                         static_cast<double>(shifted[static_cast<std::size_t>(k)][i]) *
                                             (k + 1) / n);
            ASSERT_EQ(trace[i], sum / rig.a.SmoothDivider) << i;
        }
    }
}

TEST(AnalyserTraces, LinearGainAndShiftApplyOncePerFrameAndAFrozenFrameRedrawsAsStored) {
    FakeRig rig;
    rig.plainSpectrum();
    rig.a.setChn2Enabled(false);
    rig.a.setShowFilter(false);
    rig.a.setChn1Gain(2);
    rig.a.setChn1Shift(1000.0f * 150 / 48000000); // a shift of 1000 display units
    const float offset = rig.a.ScopeModes(0).Chn1ShiftOffset;
    ASSERT_NEAR(offset, 1000.0f, 0.01f);
    rig.load(std::vector<float>(kPoints, 0.0f), std::vector<float>(kPoints, 0.0f));
    const auto traceLines = [&] { return ofKind(rig.shown().sinceCls(), Kind::Line, rig.a.Y1Colour); };
    // A frame computes its own spectrum (all 0 here) and draws (0 + offset) x 2.
    rig.a.Display();
    ASSERT_EQ(traceLines().size(), 1025u);
    EXPECT_EQ(traceLines()[10].y2, (0.0f + offset) * 2.0f);
    // A value of 100 in a stored frame is drawn at (100 + 1000) x 2, once, however often it is redrawn.
    auto trace = rig.a.Trace1();
    std::fill(trace.begin(), trace.end(), 100.0f);
    rig.a.Freeze = false;
    rig.a.DrawSpectrum(rig.pic0);
    const float drawn = (100.0f + offset) * 2.0f;
    EXPECT_NEAR(drawn, 2200.0f, 0.05f);
    rig.a.Freeze = true;
    for (int i = 0; i < 3; ++i) {
        rig.a.DisplayFrozen();
        const auto lines = traceLines();
        ASSERT_EQ(lines.size(), 1025u);
        EXPECT_EQ(lines[500].y2, drawn);
    }
}

struct IqBoxRig : RealRig {
    IqBoxRig() {
        filters.IfFilter.FLow = 7500;
        filters.IfFilter.FHigh = 16500;
        vfo.setHiSideLo(false);
        a.setPorts({&filters, &vfo});
        a.setIQMode(true);
        a.setMode(display::kModeSpectrum);
        quietInput();
    }
    Nerix::FilterBank filters{wrappers};
    profile::MemorySettingsStore vfoStore;
    clsVFO vfo{vfoStore};
};

TEST(AnalyserOverlays, TheIqPassBandIsABoxOfTheScreenOrTheInvertedPen) {
    IqBoxRig rig;
    rig.a.Display();
    ui::PictureBox& pic = rig.shown();
    const uint32_t merged = onScreen(~rig.a.FilterCurveColour() & 0xFFFFFF); // black OR NOT pen
    const int row = 150;
    EXPECT_EQ(pixel(pic, 672, row), merged);
    EXPECT_EQ(pixel(pic, 864, row), merged);
    EXPECT_EQ(pixel(pic, 671, row), 0u);
    EXPECT_EQ(pixel(pic, 700, row), 0u); // an outline
    EXPECT_EQ(pixel(pic, 865, row), 0u);

    // The recording: from 31500 / 46.875 = 672 over 192 units, the full height, then the copy pen again.
    FakeRig fake;
    fake.a.setPorts({&rig.filters, &rig.vfo});
    fake.a.setIQMode(true);
    fake.a.setMode(display::kModeSpectrum);
    fake.a.Display();
    const auto boxes = ofKind(fake.shown().sinceCls(), Kind::Box, fake.a.FilterCurveColour());
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_DOUBLE_EQ(boxes[0].x1, 672);
    EXPECT_DOUBLE_EQ(boxes[0].x2, 864);
    EXPECT_DOUBLE_EQ(boxes[0].y1, 5.0);
    EXPECT_DOUBLE_EQ(boxes[0].y2, 5.0 - 5.000001f);
    EXPECT_EQ(boxes[0].mode, ui::rop::kMergeNotPen);
    EXPECT_EQ(fake.shown().DrawMode(), ui::rop::kCopyPen);

    // The LO side and the direction choose the reference edge.
    const struct {
        bool reverse, high;
        double left;
    } sides[] = {
        {false, true, (24000 - 16500) / 46.875}, {true, true, 7500 / 46.875}, {true, false, 31500 / 46.875}};
    for (const auto& s : sides) {
        fake.a.ReverseSpectrum = s.reverse;
        rig.vfo.setHiSideLo(s.high);
        fake.a.Display();
        const auto b = ofKind(fake.shown().sinceCls(), Kind::Box, fake.a.FilterCurveColour());
        ASSERT_EQ(b.size(), 1u);
        EXPECT_DOUBLE_EQ(b[0].x1, s.left) << s.reverse << s.high;
    }
}

TEST(AnalyserOverlays, TheNotchMarkerIsNotScreenXorPenOnBlackAndOnWhite) {
    for (const int32_t back : {0x000000, 0xFFFFFF}) {
        SCOPED_TRACE(back);
        RealRig rig;
        rig.a.setScopeBackColour(back);
        rig.a.setShowNotch(true);
        rig.a.setShowFilter(false);
        rig.state.NotchCentre = 1000;
        rig.state.NotchWidth = 200; // 200 x 1.2 x 23.4375 / 1024 = 5.49: five pixels
        rig.quietInput();
        rig.a.Display();
        ui::PictureBox& pic = rig.shown();
        const uint32_t want = onScreen(~(back ^ rig.a.NotchFilterColour()) & 0xFFFFFF);
        const int row = 100;
        for (int x = 979; x <= 983; ++x)
            EXPECT_EQ(pixel(pic, x, row), want) << "column " << x;
        EXPECT_EQ(pixel(pic, 978, row), onScreen(back));
        EXPECT_EQ(pixel(pic, 984, row), onScreen(back));
    }
    // With the I/Q pass band shown the marker uses the half step: 1024 / 2 - 42.67 / 2.
    IqBoxRig iq;
    FakeRig fake;
    fake.state.NotchCentre = 1000;
    fake.state.NotchWidth = 200;
    fake.a.setPorts({&iq.filters, &iq.vfo});
    fake.a.setIQMode(true);
    fake.a.setShowNotch(true);
    fake.a.setMode(display::kModeSpectrum);
    fake.a.Display();
    const auto notch = ofKind(fake.shown().sinceCls(), Kind::Line, fake.a.NotchFilterColour());
    ASSERT_EQ(notch.size(), 1u);
    EXPECT_EQ(notch[0].x1, 491); // 512 - 21.33
    EXPECT_EQ(notch[0].mode, ui::rop::kNotXorPen);
    EXPECT_EQ(notch[0].width, 3); // 200 x 1.2 x 23.4375 / 1024 x 0.5 = 2.75
}

TEST(AnalyserTraces, TheTimeScopeDrawsScreenWidthPlusOneSamples) {
    FakeRig rig;
    rig.a.setMode(display::kModeTime);
    rig.a.ScreenWidth = 2;
    rig.a.setChn2Enabled(false);
    std::vector<float> c1(kPoints, 0.0f);
    c1[0] = 100;
    c1[1] = -200;
    c1[2] = 300;
    rig.load(c1, c1);
    rig.a.Display();
    const auto lines = ofKind(rig.shown().sinceCls(), Kind::Line, rig.a.Y1Colour);
    ASSERT_EQ(lines.size(), 3u);
    const double w = rig.shown().ScaleWidth();
    const double xs[] = {0, w, 2 * w}, ys[] = {100, -200, 300};
    for (std::size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(lines[i].x2, xs[i]);
        EXPECT_EQ(lines[i].y2, ys[i]);
    }
    EXPECT_EQ(lines[0].x1, 0);
    EXPECT_EQ(lines[0].y1, 100); // the first segment has no length

    // A width of 1 gives no step of its own: the last frame's stays in use.
    rig.a.ScreenWidth = 1;
    rig.a.Display();
    const auto two = ofKind(rig.shown().sinceCls(), Kind::Line, rig.a.Y1Colour);
    ASSERT_EQ(two.size(), 2u);
    EXPECT_EQ(two[1].x2, w);
    expectFrameEnded(rig.shown());
}

TEST(AnalyserTraces, TheXyPlotDrawsItsSegmentsWhateverTheChannelSwitches) {
    FakeRig rig;
    rig.a.setMode(display::kModeXY);
    rig.a.setChn1Enabled(false);
    rig.a.setChn2Enabled(false);
    rig.a.StartBin = 100;
    rig.a.StopBin = 400;
    rig.load(tone(7, 1000), tone(7, 1000, 1.8));
    rig.a.Display();
    const auto segments = ofKind(rig.shown().sinceCls(), Kind::Line, 0x00FF00);
    EXPECT_EQ(segments.size(), 400u - 100u - 1u);
    EXPECT_FLOAT_EQ(segments.front().x1, rig.a.Trace2()[100]);
    EXPECT_FLOAT_EQ(segments.front().y1, rig.a.Trace1()[100]);
    EXPECT_FLOAT_EQ(segments.back().x2, rig.a.Trace2()[399]);
}

// ---- what a careless value must not do ----

TEST(AnalyserRobustness, WalksBeyondTheArraysSkipThePointsOutside) {
    // The span sliders can leave bins 11500 to 12500 or a 24000-sample time base before the knobs apply.
    FakeRig rig;
    rig.a.StartBin = 11500;
    rig.a.StopBin = 12500;
    rig.load(tone(3, 100), tone(3, 100));
    rig.a.Display();
    EXPECT_TRUE(ofKind(rig.pic0.sinceCls(), Kind::Line, rig.a.Y1Colour).empty());
    expectFrameEnded(rig.pic0);

    rig.a.setMode(display::kModeTime);
    rig.a.ScreenWidth = 24000;
    rig.a.setChn1Gain(2);
    rig.a.setChn1Shift(10);
    rig.a.setChn2Enabled(false);
    rig.a.Display();
    // Samples 0 to 2048 are there, one point each.
    EXPECT_EQ(ofKind(rig.shown().sinceCls(), Kind::Line, rig.a.Y1Colour).size(), 2049u);
    expectFrameEnded(rig.shown());
}

TEST(AnalyserRobustness, LoopsWithoutAUsableStepDrawNothingAndTheFrameGoesOn) {
    // A span of one bin leaves the frequency labels a step of 0.
    FakeRig rig;
    rig.a.StartBin = 0;
    rig.a.StopBin = 1;
    rig.a.setMode(display::kModeSpectrum);
    EXPECT_TRUE(ofKind(rig.pic0.sinceCls(), Kind::Print, rig.a.XTextColour()).empty());
    EXPECT_EQ(ofKind(rig.pic0.sinceCls(), Kind::Print, rig.a.YTextColour()).size(), 11u);
    rig.load(tone(3, 100), tone(3, 100));
    rig.a.Display();
    expectFrameEnded(rig.pic0);

    // A scale whose rows would number 10^30: no rows, no decibel labels, the rest drawn.
    FakeRig tiny;
    tiny.load(tone(3, 100), tone(3, 100));
    tiny.pic0.Scale(0, -1, 1024, -1e-29);
    tiny.a.Display();
    const auto drawn = tiny.pic0.sinceCls();
    const auto grid = ofKind(drawn, Kind::Line, tiny.a.GraticuleColour());
    EXPECT_EQ(grid.size(), 13u); // the columns only
    for (const auto& g : grid)
        EXPECT_EQ(g.x1, g.x2);
    EXPECT_TRUE(ofKind(drawn, Kind::Print, tiny.a.YTextColour()).empty());
    expectFrameEnded(tiny.pic0);
}

TEST(AnalyserRobustness, NoDivisionByAZeroDividerAndNoFramePastTheHistories) {
    FakeRig rig;
    rig.a.setLogMode(false);
    auto trace = rig.a.Trace1();
    // A caller's zero divider leaves the trace unaveraged.
    rig.a.SmoothDivider = 0;
    std::fill(trace.begin(), trace.end(), 7.0f);
    rig.a.DrawSpectrum(rig.pic0);
    EXPECT_EQ(trace[3], 7.0f);
    // 100 frames of 1024 do not fit 65537 values: the 64 that fit are averaged as a count of 64.
    rig.a.setSpectrumSmooth(100);
    std::fill(trace.begin(), trace.end(), 64.0f * 32.5f);
    rig.a.DrawSpectrum(rig.pic0);
    EXPECT_FLOAT_EQ(trace[3], 1.0f); // the newest of 64 frames weighs 1/64, the divider 32.5
    EXPECT_FLOAT_EQ(trace[1023], 1.0f);
    // A weighted sum beyond the Single range is the runtime's Overflow, raised to the caller.
    rig.a.setSpectrumSmooth(2);
    std::fill(trace.begin(), trace.end(), std::numeric_limits<float>::max());
    rig.a.DrawSpectrum(rig.pic0);
    std::fill(trace.begin(), trace.end(), std::numeric_limits<float>::max());
    try {
        rig.a.DrawSpectrum(rig.pic0);
        ADD_FAILURE() << "no error";
    } catch (const runtime::RuntimeError& e) {
        EXPECT_EQ(e.Number(), runtime::err::kOverflow);
    }
}

TEST(AnalyserRobustness, ValuesWithoutAPixelOrAWholeNumberAreSkipped) {
    FakeRig rig;
    rig.plainSpectrum();
    rig.a.setChn2Enabled(false);
    rig.a.setShowNotch(true);
    rig.state.NotchCentre = 1000;
    rig.load(tone(3, 100), tone(3, 100));
    rig.a.Display();
    const auto normal = ofKind(rig.shown().sinceCls(), Kind::Line, rig.a.Y1Colour).size();
    // A NaN gain makes every point of the trace unplaceable; a notch too wide for a line width is drawn
    // one pixel wide; a centre beyond any whole pixel leaves the marker out.
    rig.a.setChn1Gain(std::numeric_limits<float>::quiet_NaN());
    rig.state.NotchWidth = std::numeric_limits<int32_t>::max();
    rig.a.Display();
    EXPECT_EQ(normal, 1025u);
    EXPECT_TRUE(ofKind(rig.shown().sinceCls(), Kind::Line, rig.a.Y1Colour).empty());
    auto notch = ofKind(rig.shown().sinceCls(), Kind::Line, rig.a.NotchFilterColour());
    ASSERT_EQ(notch.size(), 1u);
    EXPECT_EQ(notch[0].width, 1);
    expectFrameEnded(rig.shown());
    rig.a.setChn1Gain(1);
    rig.state.NotchCentre = std::numeric_limits<int32_t>::max();
    rig.a.setHzPerBin(1e-30f);
    rig.a.Display();
    EXPECT_TRUE(ofKind(rig.shown().sinceCls(), Kind::Line, rig.a.NotchFilterColour()).empty());
    expectFrameEnded(rig.shown());
}

// A real frame as a person sees it, written where NERIX_DISPLAY_PNG points.
TEST(AnalyserPicture, ARealFrameRendersToAPng) {
    const char* path = std::getenv("NERIX_DISPLAY_PNG");
    if (!path) GTEST_SKIP() << "set NERIX_DISPLAY_PNG to write the frame";
    Container c;
    c.widget.resize(900, 350);
    AnalyserOn<ui::PictureBox> rig(&c.widget);
    rig.setUp(830, 300, 0, 24000);
    rig.a.setShowNotch(true);
    rig.state.NotchCentre = 3000;
    // A windowed-sinc low-pass to 3 kHz of unit gain, as the filter set-up hands over its taps.
    std::vector<float> taps(display::kFilterTaps, 0.0f);
    for (int k = 0; k < 255; ++k) {
        const double x = k - 127, fc = 3000.0 / 48000;
        const double sinc =
            x == 0 ? 2 * fc : std::sin(2 * std::numbers::pi * fc * x) / (std::numbers::pi * x);
        taps[static_cast<std::size_t>(k)] =
            static_cast<float>(sinc * (0.54 - 0.46 * std::cos(2 * std::numbers::pi * k / 254)) / 12);
    }
    rig.a.LoadFilterCoeffs_T_S(taps);
    for (int frame = 0; frame < 8; ++frame) {
        const auto noise = randomFloats(kPoints, 100 + frame, 30.0f);
        rig.load(plus(plus(tone(150, 400), tone(600.5, 60)), noise), plus(tone(80, 100), noise));
        rig.a.Display();
    }
    ui::PictureBox& shown = rig.pic0.Visible() ? rig.pic0 : rig.pic1;
    ASSERT_TRUE(shown.surface().image().save(path));
}

} // namespace
