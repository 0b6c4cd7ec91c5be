// Hands work from a device backend's thread to the UI thread: any thread posts, the UI thread drains.
// An eventfd is readable while work waits, so the UI layer can watch it without the core knowing Qt.
#pragma once

#include <chrono>
#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>

namespace runtime {

class PostQueue {
public:
    PostQueue();
    ~PostQueue();
    PostQueue(const PostQueue&) = delete;
    PostQueue& operator=(const PostQueue&) = delete;

    // Any thread.
    void post(std::function<void()> task);
    // UI thread: runs the tasks posted so far, in order; a task that raises is logged and the rest run.
    // The number run.
    std::size_t drain();
    // Readable while tasks wait; -1 when the system gave no eventfd (then only drain() polling works).
    int notifyFd() const noexcept { return fd_; }
    // Blocks until a task waits or limit passes; true when one waits. For a caller with no event loop.
    bool waitForTask(std::chrono::milliseconds limit);
    std::size_t pending() const;

private:
    mutable std::mutex mutex_;
    std::condition_variable posted_;
    std::deque<std::function<void()>> tasks_;
    int fd_ = -1;
};

} // namespace runtime
