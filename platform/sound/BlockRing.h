// A single-producer single-consumer ring of whole sample blocks between an audio thread and the UI
// thread: no locks, no allocation after construction.
#pragma once

#include <atomic>
#include <cstdint>
#include <vector>

namespace sound {

class BlockRing {
public:
    BlockRing(int32_t capacityBlocks, int32_t blockSamples)
        : capacity_(capacityBlocks > 0 ? capacityBlocks : 1), blockSamples_(blockSamples),
          storage_(static_cast<size_t>(capacity_) * static_cast<size_t>(blockSamples)) {}

    int32_t capacity() const noexcept { return capacity_; }
    int32_t blockSamples() const noexcept { return blockSamples_; }
    int32_t size() const noexcept {
        return static_cast<int32_t>(tail_.load(std::memory_order_acquire) -
                                    head_.load(std::memory_order_acquire));
    }

    // Producer: the slot to fill, or null when the ring is full.
    int16_t* beginWrite() noexcept {
        const uint64_t tail = tail_.load(std::memory_order_relaxed);
        if (tail - head_.load(std::memory_order_acquire) >= static_cast<uint64_t>(capacity_)) return nullptr;
        return slot(tail);
    }
    void commitWrite() noexcept { tail_.fetch_add(1, std::memory_order_release); }

    // Consumer: the oldest block, or null when the ring is empty.
    const int16_t* beginRead() noexcept {
        const uint64_t head = head_.load(std::memory_order_relaxed);
        if (head == tail_.load(std::memory_order_acquire)) return nullptr;
        return slot(head);
    }
    void endRead() noexcept { head_.fetch_add(1, std::memory_order_release); }

    // Only while neither side runs (the device stream is stopped).
    void clear() noexcept { head_.store(tail_.load(std::memory_order_relaxed), std::memory_order_release); }

private:
    int16_t* slot(uint64_t index) noexcept {
        return storage_.data() + static_cast<size_t>(index % static_cast<uint64_t>(capacity_)) *
                                     static_cast<size_t>(blockSamples_);
    }

    int32_t capacity_;
    int32_t blockSamples_;
    std::vector<int16_t> storage_;
    std::atomic<uint64_t> head_{0};
    std::atomic<uint64_t> tail_{0};
};

} // namespace sound
