#pragma once
#include "platform/wide/wide.h"

namespace murmora {

// Dispatches one message the way the program's message loops do: a dialog's keys go to the dialog.
void dispatchMessage(MSG& message);

} // namespace murmora
