#pragma once
#include <functional>

namespace murmora {

// Hands work to the user-interface thread, from any thread.
class UiThread {
public:
    virtual ~UiThread() = default;
    // Runs `work` on the user-interface thread among its other events, soon; never within this
    // call. Work still queued when the user interface ends is dropped.
    virtual void post(std::function<void()> work) = 0;
};

} // namespace murmora
