// Priority classes: the nice each class asks for, and what happens when the system refuses.
#include <gtest/gtest.h>

#include "platform/process/ProcessPriority.h"

namespace {

// Refuses to go below a floor, as the system does for an unprivileged process.
class FloorNice final : public process::NiceBackend {
public:
    explicit FloorNice(int32_t start) : nice(start), floor(start) {}
    int32_t getNice() override { return nice; }
    bool setNice(int32_t n) override {
        if (n < floor) return false;
        nice = n;
        return true;
    }
    int32_t nice;
    int32_t floor;
};

TEST(ProcessPriority, IdleAndBackToNormalWhenAllowed) {
    FloorNice backend(0);
    backend.floor = -20; // privileged
    process::ProcessPriority priority(backend);
    EXPECT_NE(priority.SetPriorityClass(process::kIdle), 0);
    EXPECT_EQ(backend.nice, 19);
    EXPECT_NE(priority.SetPriorityClass(process::kNormal), 0);
    EXPECT_EQ(backend.nice, 0);
    EXPECT_NE(priority.SetPriorityClass(process::kRealtime), 0);
    EXPECT_EQ(backend.nice, -20);
}

TEST(ProcessPriority, UnprivilegedRealtimeFailsAndKeepsTheStartingNice) {
    FloorNice backend(0);
    process::ProcessPriority priority(backend);
    EXPECT_EQ(priority.SetPriorityClass(process::kRealtime), 0);
    EXPECT_EQ(backend.nice, 0);
    EXPECT_EQ(priority.SetPriorityClass(12345), 0);
    EXPECT_EQ(backend.nice, 0);
}

} // namespace
