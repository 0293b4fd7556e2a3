#pragma once
#include "platform/wide/wide.h"

namespace murmora::win32 {

// Dispatches one message the way the program's message loops do: a dialog's keys go to the dialog.
void dispatchMessage(MSG& message);

} // namespace murmora::win32
