#pragma once
#include <chrono>
#include <functional>
#include <memory>

namespace murmora::audio {

// Runs calls one after the other on a thread of its own, for a library that may hang inside a
// call (a sound server that stopped answering) and is not made for calls from several threads.
// A caller waits for its call until a deadline at most; a call still running then goes on, and
// the calls after it wait their turn. Every call must own what it uses, since it may run after
// its caller has returned.
class CallThread {
public:
    CallThread();
    // Waits a short while for the calls still queued; a thread that hangs is left to the end of
    // the process rather than waited for.
    ~CallThread();
    CallThread(const CallThread&) = delete;
    CallThread& operator=(const CallThread&) = delete;

    // True when `call` had run by `deadline`.
    bool run(std::function<void()> call, std::chrono::steady_clock::time_point deadline);
    // Queues `call` and returns at once.
    void post(std::function<void()> call);
    // Waits, without a deadline, until every call queued before has run.
    void finishQueued();

private:
    // Queues `call`; what it gives tells when the call has run.
    struct Done;
    std::shared_ptr<Done> postTracked(std::function<void()> call);

    struct Queue;
    std::shared_ptr<Queue> queue_;
};

} // namespace murmora::audio
