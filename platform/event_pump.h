#pragma once

namespace murmora {

// Lets the user-interface thread handle pending events from inside a handler.
class EventPump {
public:
    virtual ~EventPump() = default;
    // Handles what is pending, waiting up to `maxWaitMs` for something to arrive.
    virtual void processPendingEvents(int maxWaitMs) = 0;
};

} // namespace murmora
