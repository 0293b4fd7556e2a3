#include "platform/win32/win32_messages.h"

namespace murmora::win32 {

void dispatchMessage(MSG& message) {
    // Tab, Return and Escape work in windows with controls (WS_EX_CONTROLPARENT), as in a dialog.
    const HWND top = message.hwnd ? GetAncestor(message.hwnd, GA_ROOT) : nullptr;
    if (top && (GetWindowLongPtrW(top, GWL_EXSTYLE) & WS_EX_CONTROLPARENT) && IsDialogMessageW(top, &message)) return;
    TranslateMessage(&message);
    DispatchMessageW(&message);
}

} // namespace murmora::win32
