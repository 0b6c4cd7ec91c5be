// Priority classes over nice values.
#include "platform/process/ProcessPriority.h"

#include <algorithm>
#include <cerrno>
#include <sys/resource.h>
#include <unistd.h>

namespace process {

int32_t niceOffset(int32_t priorityClass) {
    switch (priorityClass) {
    case kIdle:
        return 19;
    case kBelowNormal:
        return 5;
    case kNormal:
        return 0;
    case kAboveNormal:
        return -5;
    case kHigh:
        return -10;
    case kRealtime:
        // Real-time scheduling could starve the desktop; the strongest nice is as far as we go.
        return -20;
    default:
        return 1000;
    }
}

int32_t SystemNice::getNice() {
    errno = 0;
    const int n = getpriority(PRIO_PROCESS, 0);
    return errno ? 0 : n;
}

bool SystemNice::setNice(int32_t nice) {
    return setpriority(PRIO_PROCESS, 0, nice) == 0;
}

int32_t SystemNice::lowestNice() {
    if (geteuid() == 0) return -20;
    // Without privilege the soft nice limit decides: 20 - limit is the lowest nice allowed.
    rlimit limit{};
    if (getrlimit(RLIMIT_NICE, &limit) != 0) return 20;
    // Limits above 40 mean the same as 40, and capping first keeps a huge one from turning negative.
    const auto cur = static_cast<int64_t>(std::min<rlim_t>(limit.rlim_cur, 40));
    return static_cast<int32_t>(std::clamp<int64_t>(20 - cur, -20, 20));
}

ProcessPriority::ProcessPriority(NiceBackend& backend) : backend_(backend), base_(backend.getNice()) {}

int32_t ProcessPriority::SetPriorityClass(int32_t priorityClass) {
    const int32_t offset = niceOffset(priorityClass);
    if (offset == 1000) return 0;
    const int32_t wanted = std::clamp(base_ + offset, -20, 19);
    const int32_t lowest = backend_.lowestNice();
    if (wanted > base_ && lowest > base_) return 0;
    const int32_t target = std::max(wanted, std::min(lowest, base_));
    if (!backend_.setNice(target)) return 0;
    return target == wanted ? 1 : 0;
}

} // namespace process
