// Change events from looks at a serial port's inputs.
#include "platform/comm/ModemWatch.h"

#include <sys/ioctl.h>

#include <algorithm>

namespace comm {

int32_t modemStatusFromLines(int lines) noexcept {
    int32_t status = 0;
    if (lines & TIOCM_CTS) status |= kMsCtsOn;
    if (lines & TIOCM_DSR) status |= kMsDsrOn;
    return status;
}

namespace {
// A counter that jumps by more than this was reset or is garbage, not a knob turned between two looks.
constexpr uint32_t kMostEdgesPerLook = 1024;

void addEdges(std::vector<ModemEvent>& out, int32_t& status, uint32_t edges, int16_t event, int32_t bit,
              int32_t sampled) {
    edges = std::min(edges, kMostEdgesPerLook);
    for (uint32_t i = 0; i < edges; ++i) {
        status ^= bit;
        if (i + 1 == edges) status = (status & ~bit) | (sampled & bit);
        out.push_back({event, status});
    }
}
} // namespace

std::vector<ModemEvent> modemEventsBetween(const ModemLook& before, const ModemLook& after) {
    std::vector<ModemEvent> out;
    int32_t status = before.status;
    // Unsigned differences survive the counters wrapping.
    addEdges(out, status, after.ctsEdges - before.ctsEdges, kEvCts, kMsCtsOn, after.status);
    addEdges(out, status, after.dsrEdges - before.dsrEdges, kEvDsr, kMsDsrOn, after.status);
    return out;
}

ModemWatcher::ModemWatcher(Look look, ModemEventSink sink, std::chrono::microseconds interval)
    : look_(std::move(look)), sink_(std::move(sink)), interval_(interval), thread_([this] { run(); }) {}

void ModemWatcher::stop() {
    {
        const std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    wake_.notify_all();
    if (thread_.joinable()) thread_.join();
}

void ModemWatcher::run() {
    std::optional<ModemLook> previous;
    std::unique_lock lock(mutex_);
    while (!stopping_) {
        lock.unlock();
        const std::optional<ModemLook> now = look_();
        if (now) {
            if (previous)
                for (const ModemEvent& e : modemEventsBetween(*previous, *now))
                    sink_(e);
            previous = now;
        }
        lock.lock();
        wake_.wait_for(lock, interval_, [&] { return stopping_; });
    }
}

} // namespace comm
