// The picture surface: user scale with y running upward, the current point, and the raster modes checked
// pixel by pixel against each mode's bitwise formula.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <limits>
#include <random>
#include <vector>

#include "platform/runtime/RuntimeError.h"
#include "platform/ui/PictureSurface.h"

namespace {

uint32_t rgb(const QImage& image, int x, int y) {
    return image.pixel(x, y) & 0xFFFFFF;
}

TEST(PictureSurface, UpwardScaleAndCurrentPoint) {
    ui::PictureSurface pic(100, 50);
    pic.Scale(0, 5, 1000, -5); // x 0..1000, y 5 at the top down to 0
    pic.setBackColor(0x000000);
    pic.Cls();
    EXPECT_EQ(pic.CurrentY(), 5);
    pic.setForeColor(0x0000FF);  // red
    pic.Line(0, 0.1, 1000, 0.1); // just above the bottom edge
    EXPECT_EQ(rgb(pic.image(), 50, 49), 0xFF0000u);
    EXPECT_EQ(rgb(pic.image(), 50, 0), 0u);
    EXPECT_EQ(pic.CurrentX(), 1000);
    pic.setCurrentX(0);
    pic.setCurrentY(4.9);
    pic.LineTo(1000, 4.9); // near the top
    EXPECT_EQ(rgb(pic.image(), 50, 1), 0xFF0000u);
    EXPECT_THROW(pic.Scale(0, 0, 0, 1), runtime::RuntimeError);
}

TEST(PictureSurface, RasterModesFollowThePlatformFormulas) {
    const uint32_t screen = 0x00336699;
    const uint32_t pen = 0x000F0F0F; // 0x00BBGGRR, grey: the same in either byte order
    const std::function<uint32_t(uint32_t, uint32_t)> formula[17] = {
        nullptr,
        [](uint32_t, uint32_t) { return 0u; },
        [](uint32_t d, uint32_t p) { return ~(d | p); },
        [](uint32_t d, uint32_t p) { return d & ~p; },
        [](uint32_t, uint32_t p) { return ~p; },
        [](uint32_t d, uint32_t p) { return p & ~d; },
        [](uint32_t d, uint32_t) { return ~d; },
        [](uint32_t d, uint32_t p) { return d ^ p; },
        [](uint32_t d, uint32_t p) { return ~(d & p); },
        [](uint32_t d, uint32_t p) { return d & p; },
        [](uint32_t d, uint32_t p) { return ~(d ^ p); },
        [](uint32_t d, uint32_t) { return d; },
        [](uint32_t d, uint32_t p) { return d | ~p; },
        [](uint32_t, uint32_t p) { return p; },
        [](uint32_t d, uint32_t p) { return p | ~d; },
        [](uint32_t d, uint32_t p) { return d | p; },
        [](uint32_t, uint32_t) { return 0xFFFFFFu; },
    };
    for (int16_t mode = 1; mode <= 16; ++mode) {
        ui::PictureSurface pic(20, 20);
        pic.Scale(0, 0, 20, 20);
        pic.setBackColor(static_cast<int32_t>(0x00996633)); // 0x336699 on the screen
        pic.Cls();
        pic.setForeColor(static_cast<int32_t>(pen));
        pic.setDrawMode(mode);
        pic.Line(0, 10, 20, 10);
        EXPECT_EQ(rgb(pic.image(), 5, 10), formula[mode](screen, pen) & 0xFFFFFF) << "mode " << mode;
        EXPECT_EQ(rgb(pic.image(), 5, 2), screen) << "mode " << mode;
    }
}

TEST(PictureSurface, BoxOutlineAndTextMeasures) {
    ui::PictureSurface pic(40, 40);
    pic.Scale(0, 0, 40, 40);
    pic.setBackColor(0);
    pic.Cls();
    pic.setForeColor(0xFFFFFF);
    pic.Box(10, 10, 30, 30);
    EXPECT_EQ(rgb(pic.image(), 10, 20), 0xFFFFFFu);
    EXPECT_EQ(rgb(pic.image(), 20, 20), 0u); // an outline, not a fill
    EXPECT_GT(pic.TextWidth("000"), pic.TextWidth("0"));
    EXPECT_GT(pic.TextHeight("0"), 0);
    pic.Scale(0, 40, 40, -40);
    pic.setCurrentX(0);
    pic.setCurrentY(30);
    pic.Print("-100", true);
    EXPECT_DOUBLE_EQ(pic.CurrentX(), 0);
    EXPECT_LT(pic.CurrentY(), 30); // the next line is lower on the screen, so y decreases
    EXPECT_THROW(pic.setDrawMode(17), runtime::RuntimeError);
}

TEST(PictureSurface, CoordinatesWithoutAPixelRaiseOverflowAndLeaveThePictureAlone) {
    const double inf = std::numeric_limits<double>::infinity();
    const double far = 1e12; // pixels far beyond int
    const std::function<void(ui::PictureSurface&, double)> draws[] = {
        [](ui::PictureSurface& pic, double v) { pic.Line(5, 5, 10, v); },
        [](ui::PictureSurface& pic, double v) { pic.Line(v, 5, 10, 10); },
        [](ui::PictureSurface& pic, double v) { pic.Box(5, 5, v, 10); },
        [](ui::PictureSurface& pic, double v) { pic.PSet(v, 5); },
    };
    for (const double v : {std::nan(""), inf, -inf, far, -far}) {
        for (std::size_t d = 0; d < std::size(draws); ++d) {
            SCOPED_TRACE(testing::Message() << "value " << v << ", draw " << d);
            ui::PictureSurface pic(20, 20);
            pic.Scale(0, 0, 20, 20);
            pic.setBackColor(0);
            pic.Cls();
            pic.setForeColor(0xFFFFFF);
            try {
                draws[d](pic, v);
                ADD_FAILURE() << "no error raised";
            } catch (const runtime::RuntimeError& e) {
                EXPECT_EQ(e.Number(), runtime::err::kOverflow);
            }
            EXPECT_EQ(rgb(pic.image(), 5, 5), 0u);
        }
    }
    // Far outside the picture but within reach, a line is still drawn across it.
    ui::PictureSurface pic(20, 20);
    pic.Scale(0, 0, 20, 20);
    pic.setBackColor(0);
    pic.Cls();
    pic.setForeColor(0xFFFFFF);
    pic.Line(-1e6, 10, 1e6, 10);
    EXPECT_EQ(rgb(pic.image(), 5, 10), 0xFFFFFFu);
}

} // namespace

namespace {

// One frame of everything a picture draws: clear, lines and boxes in several raster modes and widths,
// a point, text.
void drawFrame(ui::PictureSurface& pic) {
    pic.Scale(0, 40, 80, -40);
    pic.setBackColor(0x102030);
    pic.Cls();
    pic.setForeColor(0x00FF00);
    pic.Line(0, 5, 80, 35);
    pic.setDrawMode(ui::rop::kMergeNotPen);
    pic.setForeColor(0xC0C0C0);
    pic.Box(10, 10, 50, 30);
    pic.setDrawMode(ui::rop::kNotXorPen);
    pic.setDrawWidth(5);
    pic.Line(60, 0, 60, 40);
    pic.setDrawWidth(1);
    pic.setDrawMode(ui::rop::kMaskNotPen);
    pic.setCurrentX(2);
    pic.setCurrentY(38);
    pic.Print("-090", true);
    pic.setDrawMode(ui::rop::kCopyPen);
    pic.PSet(70, 20);
    pic.Line(0, 20, 80, 20);
}

} // namespace

TEST(PictureSurface, ThePersistentImageDrawsTheSameWithOnePainterAndShowsItWhenSwitchedOff) {
    ui::PictureSurface each(80, 40), once(80, 40);
    drawFrame(each);
    int flips = 0;
    once.onFlip = [&] { ++flips; };
    once.setAutoRedraw(true);
    EXPECT_TRUE(once.AutoRedraw());
    drawFrame(once);
    EXPECT_EQ(flips, 0);
    once.setAutoRedraw(false);
    EXPECT_EQ(flips, 1);
    EXPECT_FALSE(once.AutoRedraw());
    EXPECT_EQ(once.image(), each.image());
    // Text is copied under any mode; the masked mode would have hidden it. The glyphs are smoothed into
    // the ground (0x102030), so the text shows as pixels near its grey, far above anything masking gives.
    uint32_t lightest = 0;
    for (int x = 0; x < 30; ++x)
        for (int y = 0; y < 15; ++y) {
            const uint32_t c = rgb(once.image(), x, y);
            lightest = std::max(lightest, std::min({c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF}));
        }
    EXPECT_GE(lightest, 0x80u);
}

TEST(PictureSurface, AResizeWhileThePersistentImageIsOnKeepsDrawingIntoTheNewBuffer) {
    ui::PictureSurface pic(20, 20);
    pic.Scale(0, 0, 100, 100);
    pic.setBackColor(0);
    pic.setAutoRedraw(true);
    pic.Cls();
    pic.resize(20, 20); // the same size keeps the drawing
    pic.setForeColor(0xFFFFFF);
    pic.Line(0, 50, 100, 50);
    EXPECT_EQ(rgb(pic.image(), 5, 10), 0xFFFFFFu);
    pic.resize(40, 40);
    pic.Cls();
    pic.Line(0, 50, 100, 50);
    pic.setAutoRedraw(false);
    EXPECT_EQ(rgb(pic.image(), 30, 20), 0xFFFFFFu);
}

namespace {

// A trace of n points wandering over and beyond a 200 x 100 picture, with points that have no pixel.
std::vector<ui::ScalePoint> wanderingTrace(int n, unsigned seed) {
    std::mt19937 rng(seed);
    std::uniform_real_distribution<double> x(-20, 220), y(-10, 110);
    std::vector<ui::ScalePoint> points;
    for (int i = 0; i < n; ++i) {
        if (i % 37 == 5) points.push_back({std::numeric_limits<double>::quiet_NaN(), 3});
        if (i % 53 == 7) points.push_back({1e12, 40});
        if (i % 41 == 9)
            points.push_back(points.empty() ? ui::ScalePoint{50, 50} : points.back()); // no length
        points.push_back({x(rng), y(rng)});
    }
    return points;
}

} // namespace

// One call draws the pixels LineTo to each point draws, in every raster mode and width: the overlaps
// of a mode that inverts come out alike, and a point without a pixel is left out.
TEST(PictureSurface, APolylineDrawsWhatLineToEachPointDraws) {
    const auto points = wanderingTrace(400, 7);
    for (const int16_t mode :
         {ui::rop::kCopyPen, ui::rop::kXorPen, ui::rop::kNotXorPen, ui::rop::kMergeNotPen, ui::rop::kNop}) {
        for (const int16_t width : {1, 3}) {
            for (const bool persistent : {false, true}) {
                SCOPED_TRACE(testing::Message()
                             << "mode " << mode << " width " << width << " " << persistent);
                ui::PictureSurface one(200, 100), many(200, 100);
                for (ui::PictureSurface* pic : {&one, &many}) {
                    pic->Scale(0, 100, 200, -100);
                    pic->setBackColor(0x204060);
                    pic->Cls();
                    pic->setAutoRedraw(persistent);
                    pic->setForeColor(0x33CC99);
                    pic->setDrawMode(mode);
                    pic->setDrawWidth(width);
                    pic->setCurrentX(10);
                    pic->setCurrentY(10);
                }
                one.PolyLineTo(points);
                for (const ui::ScalePoint& p : points)
                    runtime::resumeNext([&] { many.LineTo(p.x, p.y); });
                one.setAutoRedraw(false);
                many.setAutoRedraw(false);
                EXPECT_TRUE(one.image() == many.image());
                EXPECT_EQ(one.CurrentX(), many.CurrentX());
                EXPECT_EQ(one.CurrentY(), many.CurrentY());
            }
        }
    }
    // From a current point without a pixel nothing is drawn and the point stays.
    ui::PictureSurface pic(20, 20);
    pic.Scale(0, 0, 20, 20);
    pic.setBackColor(0);
    pic.Cls();
    const QImage before = pic.image();
    pic.setCurrentY(std::numeric_limits<double>::infinity());
    const ui::ScalePoint two[] = {{1, 1}, {15, 15}};
    pic.PolyLineTo(two);
    EXPECT_TRUE(pic.image() == before);
    EXPECT_TRUE(std::isinf(pic.CurrentY()));
}

// A kept image comes back over whatever was drawn since, only under its key and at its size.
TEST(PictureSurface, AKeptImageComesBackOnlyUnderItsKeyAndSize) {
    ui::PictureSurface pic(40, 30);
    pic.Scale(0, 0, 40, 30);
    pic.setBackColor(0x000000);
    pic.Cls();
    pic.setForeColor(0x00FF00);
    pic.Line(0, 10, 40, 10);
    pic.KeepImage(42);
    const QImage kept = pic.image();
    for (const bool persistent : {false, true}) {
        pic.setAutoRedraw(persistent);
        pic.setForeColor(0x0000FF);
        pic.setDrawMode(ui::rop::kXorPen);
        pic.Line(0, 20, 40, 20);
        pic.setCurrentX(7);
        EXPECT_FALSE(pic.RestoreImage(41));
        EXPECT_FALSE(pic.image() == kept);
        EXPECT_TRUE(pic.RestoreImage(42));
        pic.setAutoRedraw(false);
        EXPECT_TRUE(pic.image() == kept) << persistent;
        EXPECT_EQ(pic.CurrentX(), 7); // the current point and the pen stay
        EXPECT_EQ(pic.DrawMode(), ui::rop::kXorPen);
    }
    pic.resize(41, 30);
    EXPECT_FALSE(pic.RestoreImage(42));
}
