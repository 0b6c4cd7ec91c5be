// Priority classes over nice values.
#include "ProcessPriority.h"

#include <algorithm>
#include <cerrno>
#include <sys/resource.h>

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

ProcessPriority::ProcessPriority(NiceBackend& backend) : backend_(backend), base_(backend.getNice()) {}

int32_t ProcessPriority::SetPriorityClass(int32_t priorityClass) {
    const int32_t offset = niceOffset(priorityClass);
    if (offset == 1000) return 0;
    const int32_t wanted = std::clamp(base_ + offset, -20, 19);
    if (backend_.setNice(wanted)) return 1;
    // Unprivileged, we cannot go below the starting nice: take the nearest we may have.
    if (offset < 0 && wanted < base_) backend_.setNice(base_);
    return 0;
}

} // namespace process
