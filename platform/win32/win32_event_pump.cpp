#include "platform/win32/win32_event_pump.h"

#include "platform/win32/wide.h"

namespace murmora {

void dispatchMessage(MSG& message) {
    // Tab, Return and Escape work in windows with controls (WS_EX_CONTROLPARENT), as in a dialog.
    const HWND top = message.hwnd ? GetAncestor(message.hwnd, GA_ROOT) : nullptr;
    if (top && (GetWindowLongPtrW(top, GWL_EXSTYLE) & WS_EX_CONTROLPARENT) && IsDialogMessageW(top, &message)) return;
    TranslateMessage(&message);
    DispatchMessageW(&message);
}

void Win32EventPump::processPendingEvents(int maxWaitMs) {
    if (maxWaitMs > 0) MsgWaitForMultipleObjectsEx(0, nullptr, static_cast<DWORD>(maxWaitMs), QS_ALLINPUT, 0);
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT) {
            // The program is ending: the outer loop must see it too.
            PostQuitMessage(static_cast<int>(message.wParam));
            return;
        }
        dispatchMessage(message);
    }
}

} // namespace murmora
