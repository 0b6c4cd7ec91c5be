// The one sequence by which a source point feeds the display: what it is told, in which order, and what a
// missing or failing centre leaves.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "dsp/DisplayTap.h"
#include "platform/runtime/RuntimeError.h"

namespace {

// Records every call as a word; takes I/Q when told so unless refusing.
struct CallLog final : Nerix::SpectrumSink {
    bool active = true, refusesIq = false, iq = false;
    std::vector<std::string> calls;
    bool Active() const override { return active; }
    void SetIQMode(bool v) override {
        calls.push_back(v ? "iq" : "two");
        iq = v && !refusesIq;
    }
    bool IQMode() const override { return iq; }
    void LoadSamples_S(const float* a, const float*) override {
        calls.push_back("float " + std::to_string(*a));
    }
    void LoadSamples_INT16(const int16_t* a, const int16_t*) override {
        calls.push_back("int16 " + std::to_string(*a));
    }
    double FStart() const override { return 1000; }
    double FEnd() const override { return 25000; }
    void SetFOffset(int32_t hz) override { calls.push_back("offset " + std::to_string(hz)); }
    void SetReverseSpectrum(bool r) override { calls.push_back(r ? "reverse" : "forward"); }
    void RequestRedraw() override { calls.push_back("redraw"); }
};

using Calls = std::vector<std::string>;

const float kFirst[1] = {1.0f}, kSecond[1] = {2.0f};
const int16_t kSamples[1] = {7};

} // namespace

TEST(DisplayTap, TellsTheModeFirstThenLoadsOffsetsAndTurnsOnlyAnActiveDisplayAtTheChosenPoint) {
    struct Case {
        Nerix::TapAnnounce announce;
        bool active;
        int32_t chosen;
        Calls calls;
    };
    using A = Nerix::TapAnnounce;
    // The span is 24 kHz: the offset is the centre less 12 kHz, rounded half to even.
    const Calls fed{"iq", "float 1.000000", "offset 7088000", "reverse"};
    const Case cases[] = {
        {A::Always, true, 2, fed},  {A::WhenFed, true, 2, fed},   {A::Always, false, 2, {"iq"}},
        {A::WhenFed, false, 2, {}}, {A::Always, true, 1, {"iq"}}, {A::WhenFed, true, 1, {}},
    };
    for (const Case& c : cases) {
        CallLog d;
        d.active = c.active;
        Nerix::tapDisplay(
            &d, c.chosen, {2, true, c.announce},
            [](bool) {
                return Nerix::TapView<float>{kFirst, kSecond, true};
            },
            [](bool) { return std::optional<double>(7'100'000.5); });
        EXPECT_EQ(d.calls, c.calls) << int(c.announce) << " " << c.active << " " << c.chosen;
    }
    Nerix::tapDisplay(
        nullptr, 2, {2, true, A::Always},
        [](bool) {
            return Nerix::TapView<float>{kFirst, kSecond, true};
        },
        [](bool) { return std::optional<double>(0.0); }); // no display: nothing to do
}

TEST(DisplayTap, TheViewAndCentreFollowTheModeTheDisplayTookAndA16BitViewLoadsAs16Bit) {
    for (bool refuses : {false, true}) {
        CallLog d;
        d.refusesIq = refuses;
        Nerix::tapDisplay(
            &d, 0, {0, true, Nerix::TapAnnounce::WhenFed},
            [](bool iq) {
                return Nerix::TapView<int16_t>{kSamples, kSamples, !iq};
            },
            [](bool iq) { return std::optional<double>(iq ? 20'000.0 : 30'000.0); });
        EXPECT_EQ(d.calls, (Calls{"iq", "int16 7", refuses ? "offset 18000" : "offset 8000",
                                  refuses ? "reverse" : "forward"}));
    }
}

TEST(DisplayTap, WithoutACentreTheOffsetIsKeptAndAFailingCentreLeavesTheDisplayLoadedAndUnturned) {
    CallLog kept;
    Nerix::tapDisplay(
        &kept, 3, {3, false, Nerix::TapAnnounce::Always},
        [](bool) {
            return Nerix::TapView<float>{kFirst, kSecond, true};
        },
        [](bool) { return std::optional<double>(); });
    EXPECT_EQ(kept.calls, (Calls{"two", "float 1.000000", "reverse"}));

    CallLog failing;
    EXPECT_THROW(Nerix::tapDisplay(
                     &failing, 3, {3, false, Nerix::TapAnnounce::Always},
                     [](bool) {
                         return Nerix::TapView<float>{kFirst, kSecond, true};
                     },
                     [](bool) -> std::optional<double> {
                         runtime::raise(runtime::err::kUnsupportedMember, "Oscillator.BaseFrequency");
                     }),
                 runtime::RuntimeError);
    EXPECT_EQ(failing.calls, (Calls{"two", "float 1.000000"}));
}
