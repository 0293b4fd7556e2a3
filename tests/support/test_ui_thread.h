#pragma once
// The user-interface thread of the engine's tests: work posted from any thread waits in a queue
// until the test runs it, so that every event reaches the handlers on the test's thread and never
// within a call of the engine.
#include "platform/ui_thread.h"

#include <chrono>
#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>

namespace murmora::testing {

class TestUiThread final : public UiThread {
public:
    void post(std::function<void()> work) override {
        const std::lock_guard lock(mutex_);
        posted_.push_back(std::move(work));
        wake_.notify_one();
    }
    // Runs what was posted until `done`, for `limit` at most; whether `done` came.
    bool runUntil(const std::function<bool()>& done, std::chrono::seconds limit = std::chrono::seconds(60)) {
        const auto deadline = std::chrono::steady_clock::now() + limit;
        while (!done()) {
            std::unique_lock lock(mutex_);
            if (!wake_.wait_until(lock, deadline, [this] { return !posted_.empty(); })) return false;
            auto work = std::move(posted_.front());
            posted_.pop_front();
            lock.unlock();
            work();
        }
        return true;
    }
    // Runs what was posted so far.
    void runPosted() {
        std::unique_lock lock(mutex_);
        while (!posted_.empty()) {
            auto work = std::move(posted_.front());
            posted_.pop_front();
            lock.unlock();
            work();
            lock.lock();
        }
    }

private:
    std::mutex mutex_;
    std::condition_variable wake_;
    std::deque<std::function<void()>> posted_;
};

} // namespace murmora::testing
