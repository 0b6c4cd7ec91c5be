// The window colours: what each kind of control takes, the colours derived channel by channel from the
// tuning colour (and those fixed whatever the scheme), and the knob labels' highlight.
#include <gtest/gtest.h>

#include <map>
#include <set>
#include <vector>

#include "mainwindow/FormColours.h"
#include "platform/runtime/RuntimeError.h"

using mainwindow::ControlColours;
using mainwindow::ControlKind;
using mainwindow::KnobHighlight;

namespace {

const SDRColourScheme kScheme{.Background = 0x112233,
                              .Label = 0x445566,
                              .FrameFocus = 0x778899,
                              .FrameNormal = 0xAABBCC,
                              .Tuning = 0x00FFFF,
                              .ScrollLabelNormal = 0x00C000,
                              .ScrollLabelFocus = 0x00FF00};

} // namespace

TEST(FormColours, EachKindOfControlTakesTheColoursOfItsRow) {
    constexpr int32_t back = 0x123456;
    const struct {
        ControlKind kind;
        ControlColours expected;
    } cases[] = {
        {ControlKind::Frame, {back, kScheme.FrameNormal}},  {ControlKind::Label, {back, kScheme.Label}},
        {ControlKind::OptionButton, {back, kScheme.Label}}, {ControlKind::CheckBox, {back, kScheme.Label}},
        {ControlKind::TextBox, {back, std::nullopt}},       {ControlKind::PictureBox, {back, std::nullopt}},
        {ControlKind::ComboBox, {back, std::nullopt}},      {ControlKind::Shape, {back, std::nullopt}},
        {ControlKind::Other, {std::nullopt, std::nullopt}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(mainwindow::recolour(c.kind, back, kScheme), c.expected) << static_cast<int>(c.kind);
}

TEST(FormColours, DerivedColoursScaleEachChannelOfTheTuningColourTiesToEven) {
    const struct {
        int32_t tuning;
        int32_t digits85, points50, scale75;
    } cases[] = {
        {0xFFFFFF, 0xD9D9D9, 0x808080, 0xBFBFBF}, // 216.75, 127.5 (to 128), 191.25
        {0x0A0A0A, 0x080808, 0x050505, 0x080808}, // 8.5 (to 8), 5, 7.5 (to 8)
        {0x00FF80, 0x00D96D, 0x008040, 0x00BF60}, // channels apart: 0x80 -> 108.8, 64, 96
        {0x000000, 0x000000, 0x000000, 0x000000},
    };
    for (const auto& c : cases) {
        SDRColourScheme scheme = kScheme;
        scheme.Tuning = c.tuning;
        const auto d = mainwindow::derivedColours(scheme);
        EXPECT_EQ(d.TuningDigits, c.digits85) << std::hex << c.tuning;
        EXPECT_EQ(d.DecimalPoints, c.points50) << std::hex << c.tuning;
        EXPECT_EQ(d.ScaleLabels, c.scale75) << std::hex << c.tuning;
        EXPECT_EQ(d.Clock, c.scale75) << std::hex << c.tuning;
        EXPECT_EQ(d.TuningFocus, c.tuning);
        EXPECT_EQ(d.TuningText, c.tuning);
    }
}

TEST(FormColours, PowerButtonsTheSMeterAndTheDialRateKeepTheirColoursOnAnyScheme) {
    for (const int32_t background : {0xFFFFFF, 0x000000, 0x00FF00}) {
        SDRColourScheme scheme = kScheme;
        scheme.Background = background;
        scheme.Label = background;
        const auto d = mainwindow::derivedColours(scheme);
        EXPECT_EQ(d.PowerOn, 0x00FF00);
        EXPECT_EQ(d.PowerOff, 0x0000FF);
        EXPECT_EQ(d.PowerClose, 0x00FFFF);
        EXPECT_EQ(d.SMeterBack, 0);
        EXPECT_EQ(d.TuneDialRate, 0);
        EXPECT_EQ(d.RecorderLabels, scheme.ScrollLabelFocus);
    }
}

namespace {

// Knobs 0 to 24 as records with labels; knob 12 has none, knob 14 is disabled.
struct FakeKnobs final : mainwindow::KnobLabels {
    struct Knob {
        bool disabled = false, label = true;
        int32_t normal = 0x111111, focus = 0x222222;
        int32_t labelColour = -1;
        bool border = false;
    };
    std::map<int16_t, Knob> knobs;
    std::set<int16_t> failing; // setColours raises for these

    FakeKnobs() {
        for (int16_t i = 0; i <= 24; ++i)
            knobs[i] = {};
        knobs[12].label = false;
        knobs[14].disabled = true;
    }
    Knob& at(int16_t k) {
        const auto it = knobs.find(k);
        if (it == knobs.end()) runtime::raise(runtime::err::kSubscriptOutOfRange, "ctlArray");
        return it->second;
    }
    const Knob& at(int16_t k) const { return const_cast<FakeKnobs*>(this)->at(k); }
    int16_t LBound() const override { return 0; }
    int16_t UBound() const override { return 24; }
    bool Disabled(int16_t k) const override { return at(k).disabled; }
    bool HasLabel(int16_t k) const override { return at(k).label; }
    int32_t NormalColour(int16_t k) const override { return at(k).normal; }
    int32_t FocusColour(int16_t k) const override { return at(k).focus; }
    void setColours(int16_t k, int32_t normal, int32_t focus) override {
        if (failing.count(k)) runtime::raise(runtime::err::kObjectNotSet, "ctlArray");
        at(k).normal = normal;
        at(k).focus = focus;
    }
    void setLabelColour(int16_t k, int32_t colour) override {
        if (!at(k).label) runtime::raise(runtime::err::kObjectNotSet, "ctlArray.Label");
        at(k).labelColour = colour;
    }
    void setLabelBorder(int16_t k, bool single) override {
        if (!at(k).label) runtime::raise(runtime::err::kObjectNotSet, "ctlArray.Label");
        at(k).border = single;
    }
};

struct Rig {
    ReceiverState state;
    FakeKnobs knobs;
    int focusGiven = 0;
    std::function<void()> onFocus;
    KnobHighlight highlight{state, knobs, [this] {
                                ++focusGiven;
                                if (onFocus) onFocus();
                            }};
    Rig() { state.SDRColourSchemes = kScheme; }
    void mark(int16_t index) { highlight.HighlightValueLabel(index); }
};

} // namespace

TEST(KnobHighlight, MarkingAKnobMakesItActiveGivesTheFocusAndColoursItsLabel) {
    for (const bool border : {false, true}) {
        Rig r;
        r.state.HiLiteBorder = border;
        r.mark(5);
        EXPECT_EQ(r.state.ActiveKnob, 5);
        EXPECT_EQ(r.focusGiven, 1);
        EXPECT_EQ(r.knobs.at(5).labelColour, 0x222222);
        EXPECT_EQ(r.knobs.at(5).border, border);
        r.highlight.UnhighlightValueLabel();
        EXPECT_EQ(r.state.ActiveKnob, 0);
        EXPECT_EQ(r.knobs.at(5).labelColour, 0x111111);
        EXPECT_FALSE(r.knobs.at(5).border);
    }
}

TEST(KnobHighlight, TheActiveKnobAndADisabledKnobAreLeftAsTheyAre) {
    Rig r;
    r.mark(5);
    r.knobs.at(5).labelColour = 0x333333; // a mark of its own, to see that nothing repaints it
    r.state.HiLiteBorder = true;
    r.mark(5);
    EXPECT_EQ(r.focusGiven, 1);
    EXPECT_EQ(r.knobs.at(5).labelColour, 0x333333);
    EXPECT_FALSE(r.knobs.at(5).border);
    r.mark(14); // disabled
    EXPECT_EQ(r.state.ActiveKnob, 5);
    EXPECT_EQ(r.knobs.at(14).labelColour, -1);
}

TEST(KnobHighlight, ANegativeIndexReMarksTheActiveKnobAndHandsItsNumberBack) {
    Rig r;
    r.mark(7);
    r.knobs.at(7).labelColour = 0x333333;
    int16_t index = -1;
    r.highlight.HighlightValueLabel(index);
    EXPECT_EQ(index, 7);
    EXPECT_EQ(r.state.ActiveKnob, 7);
    EXPECT_EQ(r.knobs.at(7).labelColour, 0x222222);
    EXPECT_EQ(r.focusGiven, 2);
}

TEST(KnobHighlight, UnmarkingTheBfoKnobGivesItTheTuningColour) {
    Rig r;
    r.mark(KnobHighlight::kBfoKnob);
    r.highlight.UnhighlightValueLabel(KnobHighlight::kBfoKnob);
    EXPECT_EQ(r.knobs.at(KnobHighlight::kBfoKnob).labelColour, kScheme.Tuning);
    EXPECT_EQ(r.state.ActiveKnob, 0);
    r.mark(12); // no label: active, nothing painted
    EXPECT_EQ(r.state.ActiveKnob, 12);
    r.highlight.UnhighlightValueLabel();
    EXPECT_EQ(r.state.ActiveKnob, 0);
}

TEST(KnobHighlight, ANestedMarkReturnsAndAFailedMarkLeavesTheNextOneWorking) {
    Rig r;
    r.onFocus = [&] { r.mark(9); }; // the focus change raises events that reach the highlight again
    r.mark(3);
    EXPECT_EQ(r.state.ActiveKnob, 3);
    EXPECT_EQ(r.knobs.at(9).labelColour, -1);
    r.onFocus = nullptr;
    EXPECT_THROW(r.mark(30), runtime::RuntimeError);
    r.mark(4);
    EXPECT_EQ(r.state.ActiveKnob, 4);
}

TEST(KnobHighlight, DarkeningPutsEveryLabelBackWithoutBorderAndTheBfoInTheTuningColour) {
    Rig r;
    r.state.HiLiteBorder = true;
    r.mark(5);
    r.highlight.DarkenKnobLabels();
    for (const auto& [index, knob] : r.knobs.knobs) {
        if (!knob.label) continue;
        EXPECT_FALSE(knob.border) << index;
        EXPECT_EQ(knob.labelColour, index == KnobHighlight::kBfoKnob ? kScheme.Tuning : knob.normal) << index;
    }
}

TEST(KnobHighlight, RecolouringGivesEveryKnobTheSchemeAndTheReadoutTheTuningColours) {
    Rig r;
    r.knobs.failing = {3};
    r.highlight.RecolourKnobs();
    for (const auto& [index, knob] : r.knobs.knobs) {
        if (index == 3) {
            EXPECT_EQ(knob.normal, 0x111111) << "a knob that fails is skipped";
            continue;
        }
        const bool readout = index == KnobHighlight::kReadoutKnob;
        EXPECT_EQ(knob.normal, readout ? 0x00D9D9 : kScheme.ScrollLabelNormal) << index;
        EXPECT_EQ(knob.focus, readout ? kScheme.Tuning : kScheme.ScrollLabelFocus) << index;
        if (knob.label) {
            EXPECT_EQ(knob.labelColour, kScheme.ScrollLabelNormal) << index;
        }
    }
}
