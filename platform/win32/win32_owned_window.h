#pragma once
#include <windows.h>

namespace murmora::win32 {

// The window procedure of a window whose object passed itself as CreateWindowExW's last
// argument: from WM_NCCREATE on, the object holds the window's handle in its `window_` and
// handles the window's messages in its `handle`. The object befriends it.
template <typename Owner>
LRESULT CALLBACK ownedWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* owner = static_cast<Owner*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        owner->window_ = window;
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(owner));
    }
    auto* owner = reinterpret_cast<Owner*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    return owner ? owner->handle(message, wParam, lParam) : DefWindowProcW(window, message, wParam, lParam);
}

} // namespace murmora::win32
