#pragma once
#include "platform/event_pump.h"
#include "platform/win32/wide.h"

namespace murmora {

// Dispatches the thread's pending window messages (timers, hotkeys, input, painting).
class Win32EventPump final : public EventPump {
public:
    void processPendingEvents(int maxWaitMs) override;
};

// Dispatches one message the way the program's message loops do: a dialog's keys go to the dialog.
void dispatchMessage(MSG& message);

} // namespace murmora
