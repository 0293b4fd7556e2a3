#pragma once
#include "platform/event_pump.h"

namespace murmora {

// Runs pending events of the user-interface thread from inside a handler. While nothing is
// pending it sleeps in the event dispatcher, so a loop around it costs no processor time.
class QtEventPump final : public EventPump {
public:
    void processPendingEvents(int maxWaitMs) override;
};

} // namespace murmora
