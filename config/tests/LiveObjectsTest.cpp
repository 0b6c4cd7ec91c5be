// The live objects behind Apply's ports: the replacement of the VFO in use (no user left on the old one,
// which is released last and saves its settings), its refusal while the old one is tuning, and the
// set-up of the model in use on the VFO in the slot.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>

#include "config/LiveObjects.h"
#include "platform/profile/SettingsStore.h"
#include "platform/runtime/RuntimeError.h"
#include "radio/clsDDSNullIF.h"
#include "radio/clsSoftDDS.h"

namespace {

// An oscillator that keeps its parent and may do something while it is sent a frequency.
class ParentedOscillator final : public Oscillator {
public:
    clsVFO* parent = nullptr;
    std::function<void()> whileSending;
    clsVFO* Parent() const override { return parent; }
    void setParent(clsVFO* v) override { parent = v; }
    void setFreqScaling(double) override {}
    double MaxFreq() const override { return 2e9; }
    double MinFreq() const override { return 0; }
    std::optional<int32_t> SetFrequency(int32_t f) override {
        if (whileSending) whileSending();
        return f;
    }

protected:
    std::string_view className() const override { return "ParentedOscillator"; }
};

struct Radio {
    profile::MemorySettingsStore store;
    ReceiverState state;
    RXDefinitions::RxModelTable models;
    modSetupRX::ReceiverSetup setup;
    ParentedOscillator inUse, other, unrelated;
    clsVFO elsewhere{store};
    clsSoftDDS softDds{store};
    clsDDSNullIF nullLine{store};
    std::unique_ptr<clsVFO> slot = std::make_unique<clsVFO>(store);
    config::LiveRadio live{{store,
                            state,
                            models,
                            setup,
                            slot,
                            [this] {
                                modSetupRX::RadioObjects o;
                                o.Ad9850Osc = &inUse;
                                o.Ad9851Osc = &other;
                                o.Ad9951Osc = &unrelated;
                                o.SoftDdsOsc = &softDds;
                                o.NullLine = &nullLine;
                                return o;
                            },
                            {}}};

    Radio() {
        RXDefinitions::Initialise(models, state.BaseIF);
        slot->setName("RXModel.Old");
        slot->setRXMinFreq(0);
        slot->setRxMaxFreq(100'000'000);
        slot->setOscType(&inUse);
        inUse.parent = slot.get();
        other.parent = slot.get();
        unrelated.parent = &elsewhere;
    }
    ~Radio() {
        if (slot) slot->setOscType(nullptr);
    }
};

} // namespace

TEST(LiveRadio, AReplacedVfoIsReleasedOnlyAfterEveryUserHasTheNewOne) {
    Radio r;
    clsVFO* old = r.slot.get();
    r.slot->setTunedFrequency(70'000'000);
    std::optional<std::string> savedWhenRepointed;
    clsVFO* repointedTo = nullptr;
    r.live.onReplaced([&](clsVFO& v) {
        repointedTo = &v;
        // The old one is still there: its release saves its settings, and that has not happened.
        savedWhenRepointed = r.store.GetSetting("NerixSDR", "RXModel.Old", "TunedFrequency", "none");
    });
    r.live.ReplaceVfo();
    ASSERT_NE(r.slot.get(), nullptr);
    EXPECT_NE(r.slot.get(), old);
    EXPECT_EQ(repointedTo, r.slot.get());
    EXPECT_EQ(savedWhenRepointed, "none");
    EXPECT_EQ(r.store.GetSetting("NerixSDR", "RXModel.Old", "TunedFrequency", "none"), "70000000");
    // No oscillator keeps the released one as its parent; another VFO's oscillator keeps its own.
    EXPECT_EQ(r.inUse.parent, nullptr);
    EXPECT_EQ(r.other.parent, nullptr);
    EXPECT_EQ(r.unrelated.parent, &r.elsewhere);
    // A new VFO: no oscillator, the multipliers at 1, on the high side.
    EXPECT_EQ(r.slot->OscType(), nullptr);
    EXPECT_EQ(r.slot->OscMultiplier(), 1);
    EXPECT_TRUE(r.slot->HiSideLo());
    EXPECT_EQ(r.live.Objects().Vfo, r.slot.get());
}

TEST(LiveRadio, AVfoWhoseTuningIsRunningIsNotReplaced) {
    Radio r;
    clsVFO* old = r.slot.get();
    int32_t refused = 0;
    r.inUse.whileSending = [&] {
        // A settle wait's message pumping reached Apply.
        try {
            r.live.ReplaceVfo();
        } catch (const runtime::RuntimeError& e) {
            refused = e.Number();
        }
    };
    r.slot->setTunedFrequency(70'000'000);
    EXPECT_EQ(refused, runtime::err::kInvalidCall);
    EXPECT_EQ(r.slot.get(), old);
    EXPECT_EQ(r.slot->OscType(), &r.inUse);
    r.inUse.whileSending = nullptr;
    EXPECT_FALSE(r.slot->InUse());
    r.live.ReplaceVfo();
    EXPECT_NE(r.slot.get(), old);
}

TEST(LiveRadio, TheSetUpBuildsTheModelInUseOnTheVfoInTheSlot) {
    Radio r;
    r.live.ReplaceVfo();
    r.state.SDRModelNo = 13;
    r.live.InitialiseRX();
    EXPECT_EQ(r.slot->Name(), "RXModel.Soft Rock 40-7.055MHz");
    EXPECT_EQ(r.slot->OscType(), &r.softDds);
    EXPECT_EQ(r.softDds.Parent(), r.slot.get());
    EXPECT_EQ(r.softDds.IFHandler(), &r.nullLine);
    EXPECT_EQ(r.live.Vfo().OscType(), &r.softDds);

    r.slot.reset();
    EXPECT_THROW(r.live.Vfo(), runtime::RuntimeError);
}
