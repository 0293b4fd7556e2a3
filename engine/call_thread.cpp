#include "engine/call_thread.h"

#include "engine/guarded.h"

#include <condition_variable>
#include <deque>
#include <thread>

namespace murmora::audio {
namespace {

constexpr auto kFinishWait = std::chrono::seconds(1);

} // namespace

// The calls waiting for the thread; the thread's own state, told to whoever waits for its end.
struct CallThread::Queue {
    Mutex mutex;
    std::condition_variable changed;
    std::deque<std::function<void()>> calls GUARDED_BY(mutex);
    bool closing GUARDED_BY(mutex) = false;
    bool finished GUARDED_BY(mutex) = false;

    void work() {
        Lock lock(mutex);
        for (;;) {
            while (!closing && calls.empty())
                lock.wait(changed);
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
    Queue& queue = *queue_;
    Lock lock(queue.mutex);
    queue.closing = true;
    queue.changed.notify_all();
    const auto deadline = std::chrono::steady_clock::now() + kFinishWait;
    while (!queue.finished && lock.waitUntil(queue.changed, deadline)) {}
}

void CallThread::post(std::function<void()> call) {
    Queue& queue = *queue_;
    Lock lock(queue.mutex);
    queue.calls.push_back(std::move(call));
    queue.changed.notify_all();
}

// Tells a waiting caller that its call has run.
struct CallThread::Done {
    Mutex mutex;
    std::condition_variable changed;
    bool done GUARDED_BY(mutex) = false;

    void wait() {
        Lock lock(mutex);
        while (!done)
            lock.wait(changed);
    }
    // False when `deadline` passed first.
    bool waitUntil(std::chrono::steady_clock::time_point deadline) {
        Lock lock(mutex);
        while (!done)
            if (!lock.waitUntil(changed, deadline)) return done;
        return true;
    }
};

std::shared_ptr<CallThread::Done> CallThread::postTracked(std::function<void()> call) {
    auto done = std::make_shared<Done>();
    post([call = std::move(call), done] {
        call();
        Lock lock(done->mutex);
        done->done = true;
        done->changed.notify_all();
    });
    return done;
}

void CallThread::finishQueued() {
    postTracked([] {})->wait();
}

bool CallThread::run(std::function<void()> call, std::chrono::steady_clock::time_point deadline) {
    return postTracked(std::move(call))->waitUntil(deadline);
}

} // namespace murmora::audio
