#pragma once
#include "core/key_sequence.h"
#include "platform/hotkeys.h"
#include "platform/wide/wide.h"

namespace murmora::win32 {

// A key combination as RegisterHotKey takes it: MOD_* bits and a virtual-key code.
struct Win32Keys {
    UINT modifiers;
    UINT virtualKey;
    bool operator==(const Win32Keys&) const = default;
};
Win32Keys win32KeysOf(const KeyCombination& keys);

// RegisterHotKey on the panel's window. The handler is put in place by subclassing the window
// (SetWindowLongPtrW): its procedure handles each message first, then the hotkey's id goes on.
class Win32Hotkeys final : public Hotkeys {
public:
    explicit Win32Hotkeys(HWND window) : window_(window) {}
    ~Win32Hotkeys() override;
    Win32Hotkeys(const Win32Hotkeys&) = delete;
    Win32Hotkeys& operator=(const Win32Hotkeys&) = delete;

    std::error_code registerHotkey(const Hotkey& hotkey) override;
    void unregisterHotkey(int id) override { UnregisterHotKey(window_, id); }
    void setHotkeyHandler(std::function<void(int id)> onHotkey) override;

private:
    static LRESULT CALLBACK subclassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    HWND window_;
    WNDPROC previous_ = nullptr;
    std::function<void(int)> onHotkey_;
};

} // namespace murmora::win32
