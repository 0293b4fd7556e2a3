#include "platform/win32/win32_hotkeys.h"

namespace murmora::win32 {

namespace {

const wchar_t* const kHotkeysProperty = L"Murmora.Hotkeys";

} // namespace

Win32Hotkeys::~Win32Hotkeys() {
    if (!previous_ || !IsWindow(window_)) return;
    SetWindowLongPtrW(window_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previous_));
    RemovePropW(window_, kHotkeysProperty);
}

Win32Keys win32KeysOf(const KeyCombination& keys) {
    UINT modifiers = 0;
    if (keys.control) modifiers |= MOD_CONTROL;
    if (keys.alt) modifiers |= MOD_ALT;
    if (keys.shift) modifiers |= MOD_SHIFT;
    // The virtual-key codes of the letters and digits are their upper-case ASCII codes.
    return {modifiers, static_cast<UINT>(keys.key)};
}

std::error_code Win32Hotkeys::registerHotkey(const Hotkey& hotkey) {
    const auto combination = parseKeySequence(hotkey.keys);
    if (!combination) return std::make_error_code(std::errc::invalid_argument);
    const Win32Keys keys = win32KeysOf(*combination);
    if (RegisterHotKey(window_, hotkey.id, keys.modifiers, keys.virtualKey)) return {};
    if (GetLastError() == ERROR_HOTKEY_ALREADY_REGISTERED)
        return std::make_error_code(std::errc::device_or_resource_busy);
    return std::make_error_code(std::errc::invalid_argument);
}

void Win32Hotkeys::setHotkeyHandler(std::function<void(int id)> onHotkey) {
    onHotkey_ = std::move(onHotkey);
    if (previous_) return;
    SetPropW(window_, kHotkeysProperty, this);
    previous_ = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(window_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&Win32Hotkeys::subclassProc)));
}

LRESULT CALLBACK Win32Hotkeys::subclassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* self = static_cast<Win32Hotkeys*>(GetPropW(window, kHotkeysProperty));
    const LRESULT result = CallWindowProcW(self->previous_, window, message, wParam, lParam);
    if (message == WM_HOTKEY && self->onHotkey_) self->onHotkey_(static_cast<int>(wParam));
    return result;
}

} // namespace murmora::win32
