// Platform timers on the Qt event loop.
#pragma once

#include <map>
#include <memory>
#include <utility>

#include "platform/ui/PlatformTimers.h"

class QTimer;

namespace ui {

class QtPlatformTimers final : public PlatformTimers {
public:
    QtPlatformTimers();
    ~QtPlatformTimers() override;
    void SetTimer(const void* owner, int32_t id, int32_t elapseMs, Callback callback) override;
    bool KillTimer(const void* owner, int32_t id) override;
    // The interval an armed timer runs at; 0 when it is not armed.
    int32_t intervalMs(const void* owner, int32_t id) const;

private:
    struct Entry;
    std::map<std::pair<const void*, int32_t>, std::shared_ptr<Entry>> timers_;
};

} // namespace ui
