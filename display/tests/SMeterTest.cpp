// The S-meter: its scale printed on a recording picture, its ticks laid out and lit, and the meter's
// widgets offscreen.
#include <gtest/gtest.h>

#include <QApplication>
#include <array>
#include <string>
#include <utility>
#include <vector>

#include "display/SMeter.h"
#include "display/SMeterControls.h"
#include "platform/ui/testing/RecordingPicture.h"

namespace {

using Kind = ui::testing::RecordingPicture::Kind;

struct Shell final : display::DisplayShell {
    bool minimised = false;
    bool Minimised() const override { return minimised; }
};

// A scale picture of 2400 x 390 twips and fifteen ticks that remember their places and whether they are
// lit.
struct MeterView final : display::SMeterView {
    MeterView() { scale.Move(0, 0, 2400, 390); }
    ui::Picture& picSmeterScale() override { return scale; }
    int16_t TickUBound() const override { return 14; }
    void placeTick(int16_t i, const display::TickPlace& p) override { places.at(static_cast<size_t>(i)) = p; }
    void setTickVisible(int16_t i, bool on) override {
        lit.at(static_cast<size_t>(i)) = on;
        if (onTick) onTick();
    }
    void setToolTipText(int16_t picture, const std::string& text) override {
        toolTips.emplace_back(picture, text);
    }

    std::vector<int> litTicks() const {
        std::vector<int> out;
        for (int i = 0; i < 15; ++i)
            if (lit[static_cast<size_t>(i)]) out.push_back(i);
        return out;
    }

    ui::testing::RecordingPicture scale{160, 26};
    std::array<display::TickPlace, 15> places{};
    std::array<bool, 15> lit{};
    std::vector<std::pair<int16_t, std::string>> toolTips;
    std::function<void()> onTick;
};

struct MeterRig {
    MeterRig() { state.NoiseFloor = 0.5f; }
    ReceiverState state;
    MeterView view;
    Shell shell;
    display::SMeter meter{state, view, shell};
};

std::vector<int> ticks(int first, int last) {
    std::vector<int> out;
    for (int i = first; i <= last; ++i)
        out.push_back(i);
    return out;
}

TEST(SMeter, TheScaleLaysOutFifteenTicksAndPrintsSeventeenLabelsCentredInTheirSlots) {
    MeterRig rig;
    rig.view.lit.fill(true);
    rig.meter.DrawSMeterScale();

    for (int i = 0; i < 15; ++i) {
        const display::TickPlace& p = rig.view.places[static_cast<size_t>(i)];
        EXPECT_EQ(p.Left, 160.0 * i) << i;
        EXPECT_EQ(p.Width, 160.0);
        EXPECT_NEAR(p.Height, 390.0 * 3 / 7, 1e-9);
        EXPECT_EQ(p.Top, 10.0);
    }
    const std::vector<std::string> texts = {"1",  "2",  "3",  "4",  "5",  "6",  "7",  "8", "9",
                                            "+6", "12", "18", "24", "30", "36", "42", "48"};
    const auto printed = rig.view.scale.sinceCls();
    ASSERT_EQ(printed.size(), texts.size());
    const double charWidth = ui::testing::RecordingPicture::kCharPixels * 15;
    for (size_t k = 0; k < texts.size(); ++k) {
        const auto& d = printed[k];
        EXPECT_EQ(d.kind, Kind::Print);
        EXPECT_EQ(d.text, texts[k]);
        // Centred in a 160-twip slot, a third of the way down, white in the persistent image.
        EXPECT_DOUBLE_EQ(d.x1, (160 - charWidth * static_cast<double>(texts[k].size())) / 2 +
                                   160.0 * static_cast<double>(k));
        EXPECT_DOUBLE_EQ(d.y1, 130);
        EXPECT_EQ(d.colour, 0xFFFFFF);
        EXPECT_TRUE(d.persistent);
    }
    // The last two lie beyond the right edge.
    EXPECT_GT(printed[15].x1, 2400);
    EXPECT_EQ(rig.view.scale.BackColor(), 0);
    EXPECT_FALSE(rig.view.scale.AutoRedraw());

    // The noise floor as the back-off, then a level of 0 darkens every tick.
    ASSERT_EQ(rig.view.toolTips.size(), 3u);
    EXPECT_EQ(rig.view.toolTips[0], std::make_pair(int16_t{2}, std::string("Meter Backoff=-6.02 dB")));
    EXPECT_EQ(rig.view.toolTips[1], std::make_pair(int16_t{1}, std::string("0")));
    EXPECT_TRUE(rig.view.litTicks().empty());
}

TEST(SMeter, EachSixDecibelsLightsOneMoreTick) {
    const struct {
        double level;
        std::vector<int> lit;
        const char* toolTip;
    } cases[] = {
        {1, {}, "0"},               // 0 dB
        {2, ticks(0, 1), "1"},      // 6 dB
        {1000, ticks(0, 10), "10"}, // 60 dB
        {1e9, ticks(0, 14), "30"},  // 180 dB: every tick, the count as it was
        {0.5, {}, "-1"},            // below the floor
        {0, {}, "0"},
    };
    for (const auto& c : cases) {
        MeterRig rig;
        rig.view.lit.fill(true);
        rig.meter.UpdateSMeter(c.level);
        EXPECT_EQ(rig.view.litTicks(), c.lit) << c.level;
        ASSERT_EQ(rig.view.toolTips.size(), 2u);
        EXPECT_EQ(rig.view.toolTips[0], std::make_pair(int16_t{1}, std::string(c.toolTip)));
        EXPECT_EQ(rig.view.toolTips[1], std::make_pair(int16_t{2}, std::string(c.toolTip)));
    }
}

TEST(SMeter, AMinimisedWindowOrANestedCallKeepsTheTicks) {
    MeterRig rig;
    rig.meter.UpdateSMeter(1000);
    rig.shell.minimised = true;
    rig.view.toolTips.clear();
    rig.meter.UpdateSMeter(1);
    rig.meter.DrawSMeterScale();
    EXPECT_EQ(rig.view.litTicks(), ticks(0, 10));
    ASSERT_EQ(rig.view.toolTips.size(), 1u); // the scale's back-off only
    rig.shell.minimised = false;

    // A tick that raises a nested update: the nested call draws nothing, and the next call works.
    int nested = 0;
    rig.view.onTick = [&] {
        if (nested++ == 0) rig.meter.UpdateSMeter(1);
    };
    rig.meter.UpdateSMeter(2);
    EXPECT_EQ(rig.view.litTicks(), ticks(0, 1));
    rig.view.onTick = nullptr;
    rig.meter.UpdateSMeter(1);
    EXPECT_TRUE(rig.view.litTicks().empty());
}

// The meter's widgets: the ticks lie in their picture where the scale puts them and light up.
TEST(SMeterControls, TheTicksOfTheWidgetsLightForALevel) {
    QWidget window;
    window.resize(300, 100);
    display::SMeterControls controls(&window, 150, 150);
    ReceiverState state;
    state.NoiseFloor = 0.5f;
    Shell shell;
    display::SMeter meter(state, controls, shell);
    window.show();
    meter.DrawSMeterScale();
    meter.UpdateSMeter(1000);
    EXPECT_EQ(controls.TickUBound(), 14);
    for (int16_t i = 0; i <= 14; ++i) {
        const ui::Shape& tick = controls.shpSMeterTick[i];
        EXPECT_EQ(tick.Left(), 165.0 * i) << i; // eleven pixels a slot
        EXPECT_EQ(tick.Visible(), i <= 10) << i;
    }
    EXPECT_EQ(controls.picSmeter[1].ToolTipText(), "10");
    EXPECT_EQ(controls.picSmeter[2].ToolTipText(), "10");
    EXPECT_TRUE(window.grab().save(QString::fromUtf8(RENDER_DIR) + "/smeter.png"));
}

} // namespace
