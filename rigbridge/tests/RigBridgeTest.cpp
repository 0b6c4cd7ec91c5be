// The rig bridge loaded as the program loads it, over Hamlib's dummy rig.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <bit>
#include <climits>
#include <cmath>
#include <limits>
#include <thread>
#include <vector>

#include "rigbridge/tests/BridgeCalls.h"
#include "rigbridge/tests/ElfFile.h"

using namespace rigbridge;

namespace {

constexpr int32_t kVfoMain = 1 << 26;
constexpr int32_t kModeUsb = 1 << 2;

class RigBridge : public ::testing::Test {
protected:
    void SetUp() override { bridge.rig_set_debug(0); }
    BridgeCalls bridge{RIGBRIDGE_FILE};
};

TEST_F(RigBridge, TunesTheDummyRigAndReadsTheFrequencyBackBitForBit) {
    EXPECT_EQ(bridge.rig_load_all_backends(), kRigOk);
    const int32_t rig = bridge.rig_init(kDummyRig);
    ASSERT_GT(rig, 0);
    ASSERT_EQ(bridge.rig_open(rig), kRigOk);

    const double frequency = 14074000.123456789;
    EXPECT_EQ(bridge.rig_set_freq(rig, kRigVfoCurr, frequency), kRigOk);
    double readBack = 0;
    EXPECT_EQ(bridge.rig_get_freq(rig, kRigVfoCurr, &readBack), kRigOk);
    EXPECT_EQ(std::bit_cast<uint64_t>(readBack), std::bit_cast<uint64_t>(frequency));

    EXPECT_EQ(bridge.rig_set_mode(rig, kRigVfoCurr, kModeUsb, 2400), kRigOk);
    int32_t mode = 0, width = 0;
    EXPECT_EQ(bridge.rig_get_mode(rig, kRigVfoCurr, &mode, &width), kRigOk);
    EXPECT_EQ(mode, kModeUsb);
    EXPECT_EQ(width, 2400);
    // A mode flag in bit 31 is a flag, not a sign: it must come back, not be widened into Hamlib's upper
    // bits.
    EXPECT_EQ(bridge.rig_set_mode(rig, kRigVfoCurr, INT32_MIN, -1), kRigOk);
    EXPECT_EQ(bridge.rig_get_mode(rig, kRigVfoCurr, &mode, &width), kRigOk);
    EXPECT_EQ(mode, INT32_MIN);
    EXPECT_EQ(width, 2400) << "width -1 leaves it as it was";

    EXPECT_EQ(bridge.rig_set_vfo(rig, kVfoMain), kRigOk);
    int32_t vfo = 0;
    EXPECT_EQ(bridge.rig_get_vfo(rig, &vfo), kRigOk);
    EXPECT_EQ(vfo, kVfoMain);

    EXPECT_EQ(bridge.rig_close(rig), kRigOk);
    EXPECT_EQ(bridge.rig_cleanup(rig), kRigOk);
}

// A frequency that is no frequency, or one above the dummy rig's highest receive frequency (1.5 GHz in
// Hamlib's capabilities), is refused as a bad argument and never reaches the rig: it keeps the last one.
TEST_F(RigBridge, RefusesFrequenciesNoRigCanTakeWithoutReachingHamlib) {
    const int32_t rig = bridge.rig_init(kDummyRig);
    ASSERT_GT(rig, 0);
    ASSERT_EQ(bridge.rig_open(rig), kRigOk);
    ASSERT_EQ(bridge.rig_set_freq(rig, kRigVfoCurr, 7.1e6), kRigOk);

    constexpr double kInfinity = std::numeric_limits<double>::infinity();
    for (const double refused :
         {std::numeric_limits<double>::quiet_NaN(), -std::numeric_limits<double>::quiet_NaN(), kInfinity,
          -kInfinity, -1.0, -std::numeric_limits<double>::denorm_min(), std::nextafter(1.5e9, kInfinity),
          2.5e9, 1e12, 1e30, std::numeric_limits<double>::max()}) {
        EXPECT_EQ(bridge.rig_set_freq(rig, kRigVfoCurr, refused), kRigEInval) << refused;
        double kept = 0;
        EXPECT_EQ(bridge.rig_get_freq(rig, kRigVfoCurr, &kept), kRigOk);
        EXPECT_EQ(kept, 7.1e6) << refused;
    }
    // The ends of what the rig receives, and zero, still reach it.
    for (const double taken : {0.0, 150e3, 1.5e9}) {
        EXPECT_EQ(bridge.rig_set_freq(rig, kRigVfoCurr, taken), kRigOk) << taken;
        double readBack = -1;
        EXPECT_EQ(bridge.rig_get_freq(rig, kRigVfoCurr, &readBack), kRigOk);
        EXPECT_EQ(readBack, taken);
    }
    EXPECT_EQ(bridge.rig_close(rig), kRigOk);
    EXPECT_EQ(bridge.rig_cleanup(rig), kRigOk);
}

TEST_F(RigBridge, ModelsHamlibDoesNotKnowGetNoRig) {
    // 15008 is a receiver of the rig list that this Hamlib was built without.
    for (const int32_t model : {0, -1, INT32_MIN, 15008})
        EXPECT_EQ(bridge.rig_init(model), 0) << model;
}

// Every call that takes a rig, made with one id; true when all of them refuse it.
std::vector<int32_t> callsWith(BridgeCalls& bridge, int32_t rig) {
    double frequency = 0;
    int32_t mode = 0, width = 0, vfo = 0;
    return {bridge.rig_open(rig),
            bridge.rig_set_freq(rig, kRigVfoCurr, 7e6),
            bridge.rig_get_freq(rig, kRigVfoCurr, &frequency),
            bridge.rig_set_mode(rig, kRigVfoCurr, kModeUsb, 0),
            bridge.rig_get_mode(rig, kRigVfoCurr, &mode, &width),
            bridge.rig_set_vfo(rig, kVfoMain),
            bridge.rig_get_vfo(rig, &vfo),
            bridge.rig_close(rig),
            bridge.rig_cleanup(rig)};
}

TEST_F(RigBridge, RefusesZeroUnknownAndStaleRigIdsWithoutReachingHamlib) {
    const int32_t stale = bridge.rig_init(kDummyRig);
    ASSERT_GT(stale, 0);
    ASSERT_EQ(bridge.rig_cleanup(stale), kRigOk);
    // The next rig takes the freed slot; the old id must not reach it.
    const int32_t live = bridge.rig_init(kDummyRig);
    ASSERT_GT(live, 0);
    EXPECT_NE(live, stale);

    for (const int32_t id : {0, -1, INT32_MIN, INT32_MAX, stale, live + 1, live ^ (1 << 20)}) {
        const auto statuses = callsWith(bridge, id);
        EXPECT_TRUE(std::ranges::all_of(statuses, [](int32_t s) { return s == kRigEInval; })) << id;
    }

    // Result places that are not there are refused too, and the live rig is untouched by all this.
    EXPECT_EQ(bridge.rig_get_freq(live, kRigVfoCurr, nullptr), kRigEInval);
    int32_t value = 0;
    EXPECT_EQ(bridge.rig_get_mode(live, kRigVfoCurr, &value, nullptr), kRigEInval);
    EXPECT_EQ(bridge.rig_get_vfo(live, nullptr), kRigEInval);
    ASSERT_EQ(bridge.rig_open(live), kRigOk);
    EXPECT_EQ(bridge.rig_set_freq(live, kRigVfoCurr, 3.5e6), kRigOk);
    EXPECT_EQ(bridge.rig_close(live), kRigOk);
    EXPECT_EQ(bridge.rig_cleanup(live), kRigOk);
}

TEST_F(RigBridge, ACleanupWhileAnotherThreadCallsNeverFreesTheRigUnderIt) {
    const int32_t rig = bridge.rig_init(kDummyRig);
    ASSERT_GT(rig, 0);
    ASSERT_EQ(bridge.rig_open(rig), kRigOk);
    std::atomic<int> calls{0};
    std::vector<int32_t> unexpected;
    std::thread caller([&] {
        for (;;) {
            double frequency = 0;
            const int32_t set = bridge.rig_set_freq(rig, kRigVfoCurr, 7.1e6);
            const int32_t get = bridge.rig_get_freq(rig, kRigVfoCurr, &frequency);
            ++calls;
            if (set == kRigEInval || get == kRigEInval) return;
            if (set != kRigOk) unexpected.push_back(set);
            if (get != kRigOk) unexpected.push_back(get);
        }
    });
    while (calls < 10)
        std::this_thread::yield();
    EXPECT_EQ(bridge.rig_cleanup(rig), kRigOk);
    caller.join();
    EXPECT_TRUE(unexpected.empty());
}

TEST(RigBridgeLibrary, ExportsExactlyTheTwelveCallsAndDoesNotLinkHamlib) {
    auto exported = elffile::exportedSymbols(RIGBRIDGE_FILE);
    std::ranges::sort(exported);
    const std::vector<std::string> twelve = {
        "rig_cleanup",           "rig_close", "rig_get_freq",  "rig_get_mode", "rig_get_vfo",  "rig_init",
        "rig_load_all_backends", "rig_open",  "rig_set_debug", "rig_set_freq", "rig_set_mode", "rig_set_vfo"};
    EXPECT_EQ(exported, twelve);

    const auto needed = elffile::neededLibraries(RIGBRIDGE_FILE);
    EXPECT_TRUE(std::ranges::none_of(needed, [](const std::string& n) { return n.find("hamlib") != n.npos; }))
        << "the bridge loads Hamlib itself";
}

TEST(RigBridgeLibrary, NoCallFromHamlibReachesTheBridge) {
    BridgeCalls bridge(RIGBRIDGE_COUNTING_FILE);
    runtime::BoundFunction<int64_t()> callCount(bridge.library, "rigbridge_call_count");

    // Opening, tuning, reading and closing make Hamlib call its own public functions of these names.
    bridge.rig_set_debug(0);
    bridge.rig_load_all_backends();
    const int32_t rig = bridge.rig_init(kDummyRig);
    ASSERT_GT(rig, 0);
    bridge.rig_open(rig);
    bridge.rig_set_vfo(rig, kVfoMain);
    bridge.rig_set_mode(rig, kRigVfoCurr, kModeUsb, 0);
    bridge.rig_set_freq(rig, kRigVfoCurr, 10.1e6);
    double frequency = 0;
    bridge.rig_get_freq(rig, kRigVfoCurr, &frequency);
    int32_t mode = 0, width = 0, vfo = 0;
    bridge.rig_get_mode(rig, kRigVfoCurr, &mode, &width);
    bridge.rig_get_vfo(rig, &vfo);
    bridge.rig_close(rig);
    bridge.rig_cleanup(rig);
    EXPECT_EQ(callCount(), 12);
    EXPECT_EQ(frequency, 10.1e6);
}

} // namespace
