// The process's priority class (SetPriorityClass): each class mapped onto a nice value relative to the
// nice the process started with.
#pragma once

#include <cstdint>

namespace process {

// Priority classes, by the values the configuration stores.
inline constexpr int32_t kIdle = 0x40;
inline constexpr int32_t kBelowNormal = 0x4000;
inline constexpr int32_t kNormal = 0x20;
inline constexpr int32_t kAboveNormal = 0x8000;
inline constexpr int32_t kHigh = 0x80;
inline constexpr int32_t kRealtime = 0x100;

// What the class asks of the nice value, relative to the starting nice (negative runs faster).
int32_t niceOffset(int32_t priorityClass);

class NiceBackend {
public:
    virtual ~NiceBackend() = default;
    virtual int32_t getNice() = 0;
    // False when the system refused (an unprivileged process may not lower its nice).
    virtual bool setNice(int32_t nice) = 0;
    // The lowest nice this process may set.
    virtual int32_t lowestNice() = 0;
};

// setpriority on the calling process.
class SystemNice final : public NiceBackend {
public:
    int32_t getNice() override;
    bool setNice(int32_t nice) override;
    int32_t lowestNice() override;
};

class ProcessPriority {
public:
    explicit ProcessPriority(NiceBackend& backend);
    // Nonzero when the class is in force, 0 otherwise, as SetPriorityClass answers. A class above what the
    // system allows gets the highest priority allowed. A lower class is refused when the system would not
    // let the process come back to its starting priority: "Off" must not leave the receiver slow after
    // the next "On".
    int32_t SetPriorityClass(int32_t priorityClass);

private:
    NiceBackend& backend_;
    int32_t base_;
};

} // namespace process
