#pragma once
#include <algorithm>
#include <atomic>
#include <bit>
#include <cstddef>
#include <vector>

namespace murmora::audio {

// Lock-free ring of interleaved frames for exactly one producer thread and one consumer
// thread. Positions only grow; the buffer index is the position masked by the power-of-two
// size, so neither side ever waits on the other.
template <typename Sample>
class SpscRing {
public:
    SpscRing(std::size_t minimumFrames, std::size_t channels)
        : channels_(channels), buffer_(std::bit_ceil(minimumFrames * channels)), mask_(buffer_.size() - 1) {}

    std::size_t capacityFrames() const noexcept { return buffer_.size() / channels_; }
    std::size_t readableFrames() const noexcept {
        return (head_.load(std::memory_order_acquire) - tail_.load(std::memory_order_acquire)) / channels_;
    }

    // Producer side: copies as many whole frames as fit and returns how many.
    std::size_t write(const Sample* samples, std::size_t frames) noexcept {
        const std::size_t head = head_.load(std::memory_order_relaxed);
        const std::size_t tail = tail_.load(std::memory_order_acquire);
        const std::size_t count = std::min(frames, (buffer_.size() - (head - tail)) / channels_) * channels_;
        const std::size_t first = std::min(count, buffer_.size() - (head & mask_));
        std::copy_n(samples, first, buffer_.data() + (head & mask_));
        std::copy_n(samples + first, count - first, buffer_.data());
        head_.store(head + count, std::memory_order_release);
        return count / channels_;
    }

    // Consumer side: copies out up to `frames` whole frames and returns how many.
    std::size_t read(Sample* samples, std::size_t frames) noexcept {
        const std::size_t tail = tail_.load(std::memory_order_relaxed);
        const std::size_t head = head_.load(std::memory_order_acquire);
        const std::size_t count = std::min(frames * channels_, head - tail);
        const std::size_t first = std::min(count, buffer_.size() - (tail & mask_));
        std::copy_n(buffer_.data() + (tail & mask_), first, samples);
        std::copy_n(buffer_.data(), count - first, samples + first);
        tail_.store(tail + count, std::memory_order_release);
        return count / channels_;
    }

private:
    static_assert(std::atomic<std::size_t>::is_always_lock_free);
    const std::size_t channels_;
    std::vector<Sample> buffer_;
    const std::size_t mask_;
    alignas(64) std::atomic<std::size_t> head_{0}; // written by the producer only
    alignas(64) std::atomic<std::size_t> tail_{0}; // written by the consumer only
};

} // namespace murmora::audio
