#include "platform/audio/call_thread.h"

#include <condition_variable>
#include <deque>
#include <mutex>
#include <thread>

namespace murmora::audio {
namespace {

constexpr auto kFinishWait = std::chrono::seconds(1);

} // namespace

struct CallThread::Queue {
    std::mutex mutex;
    std::condition_variable changed;
    std::deque<std::function<void()>> calls;
    bool closing = false;
    bool finished = false;

    void work() {
        std::unique_lock lock(mutex);
        for (;;) {
            changed.wait(lock, [this] { return closing || !calls.empty(); });
            if (calls.empty()) break;
            auto call = std::move(calls.front());
            calls.pop_front();
            lock.unlock();
            call();
            lock.lock();
        }
        finished = true;
        changed.notify_all();
    }
};

CallThread::CallThread() : queue_(std::make_shared<Queue>()) {
    std::thread([queue = queue_] { queue->work(); }).detach();
}

CallThread::~CallThread() {
    std::unique_lock lock(queue_->mutex);
    queue_->closing = true;
    queue_->changed.notify_all();
    queue_->changed.wait_for(lock, kFinishWait, [this] { return queue_->finished; });
}

void CallThread::post(std::function<void()> call) {
    std::lock_guard lock(queue_->mutex);
    queue_->calls.push_back(std::move(call));
    queue_->changed.notify_all();
}

// Tells a waiting caller that its call has run.
struct CallThread::Done {
    std::mutex mutex;
    std::condition_variable changed;
    bool done = false;
};

std::shared_ptr<CallThread::Done> CallThread::postTracked(std::function<void()> call) {
    auto done = std::make_shared<Done>();
    post([call = std::move(call), done] {
        call();
        std::lock_guard lock(done->mutex);
        done->done = true;
        done->changed.notify_all();
    });
    return done;
}

void CallThread::finishQueued() {
    const auto done = postTracked([] {});
    std::unique_lock lock(done->mutex);
    done->changed.wait(lock, [&done] { return done->done; });
}

bool CallThread::run(std::function<void()> call, std::chrono::steady_clock::time_point deadline) {
    const auto done = postTracked(std::move(call));
    std::unique_lock lock(done->mutex);
    return done->changed.wait_until(lock, deadline, [&done] { return done->done; });
}

} // namespace murmora::audio
