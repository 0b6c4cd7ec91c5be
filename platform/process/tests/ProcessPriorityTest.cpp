// Priority classes: the nice each class asks for, and what happens when the system refuses.
#include <gtest/gtest.h>

#include "platform/process/ProcessPriority.h"

namespace {

// Lowers the nice only down to a floor, as the system does: 20 - the soft nice limit, -20 with privilege.
class FloorNice final : public process::NiceBackend {
public:
    FloorNice(int32_t start, int32_t lowest) : nice(start), floor(lowest) {}
    int32_t getNice() override { return nice; }
    bool setNice(int32_t n) override {
        if (n < nice && n < floor) return false;
        nice = n;
        return true;
    }
    int32_t lowestNice() override { return floor; }
    int32_t nice;
    int32_t floor;
};

TEST(ProcessPriority, IdleAndBackToNormalWhenAllowed) {
    FloorNice backend(0, -20); // privileged
    process::ProcessPriority priority(backend);
    EXPECT_NE(priority.SetPriorityClass(process::kIdle), 0);
    EXPECT_EQ(backend.nice, 19);
    EXPECT_NE(priority.SetPriorityClass(process::kNormal), 0);
    EXPECT_EQ(backend.nice, 0);
    EXPECT_NE(priority.SetPriorityClass(process::kRealtime), 0);
    EXPECT_EQ(backend.nice, -20);
}

TEST(ProcessPriority, UnprivilegedNeverDropsWhereItCannotComeBackFrom) {
    FloorNice backend(0, 20); // no nice limit: it may never lower its nice
    process::ProcessPriority priority(backend);
    EXPECT_EQ(priority.SetPriorityClass(process::kIdle), 0);
    EXPECT_EQ(backend.nice, 0);
    EXPECT_EQ(priority.SetPriorityClass(process::kRealtime), 0);
    EXPECT_EQ(backend.nice, 0);
    EXPECT_EQ(priority.SetPriorityClass(12345), 0);
    EXPECT_EQ(backend.nice, 0);
    EXPECT_NE(priority.SetPriorityClass(process::kNormal), 0);
}

TEST(ProcessPriority, ANiceLimitGivesWhatItAllowsAndTheWayBack) {
    FloorNice backend(0, -5); // a soft nice limit of 25
    process::ProcessPriority priority(backend);
    EXPECT_EQ(priority.SetPriorityClass(process::kRealtime), 0); // not all it asked for
    EXPECT_EQ(backend.nice, -5);
    EXPECT_NE(priority.SetPriorityClass(process::kIdle), 0);
    EXPECT_EQ(backend.nice, 19);
    EXPECT_NE(priority.SetPriorityClass(process::kAboveNormal), 0);
    EXPECT_EQ(backend.nice, -5);
}

} // namespace
