// The UI thread's queue of work posted by backend threads.
#include "platform/runtime/PostQueue.h"

#include <sys/eventfd.h>
#include <unistd.h>

#include <cstdint>
#include <exception>

#include "platform/runtime/Hooks.h"

namespace runtime {

PostQueue::PostQueue() : fd_(::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK)) {}

PostQueue::~PostQueue() {
    if (fd_ >= 0) ::close(fd_);
}

void PostQueue::post(std::function<void()> task) {
    {
        const std::lock_guard lock(mutex_);
        tasks_.push_back(std::move(task));
    }
    posted_.notify_all();
    if (fd_ >= 0) {
        const uint64_t one = 1;
        // A full counter still reads as readable, so a failed write loses no wake-up.
        [[maybe_unused]] const auto n = ::write(fd_, &one, sizeof one);
    }
}

std::size_t PostQueue::drain() {
    std::deque<std::function<void()>> batch;
    {
        const std::lock_guard lock(mutex_);
        batch.swap(tasks_);
        if (fd_ >= 0) {
            uint64_t count = 0;
            [[maybe_unused]] const auto n = ::read(fd_, &count, sizeof count);
        }
    }
    for (auto& task : batch) {
        try {
            task();
        } catch (const std::exception& e) {
            AddLog(std::string("PostQueue.drain : ") + e.what());
        }
    }
    return batch.size();
}

bool PostQueue::waitForTask(std::chrono::milliseconds limit) {
    std::unique_lock lock(mutex_);
    return posted_.wait_for(lock, limit, [&] { return !tasks_.empty(); });
}

std::size_t PostQueue::pending() const {
    const std::lock_guard lock(mutex_);
    return tasks_.size();
}

} // namespace runtime
