#pragma once
#include "platform/hotkeys.h"

namespace murmora::qt {

// Hotkeys where the display offers no way to take a key combination for the whole desktop
// (no X connection): nothing can be registered, so nothing ever arrives.
class NoHotkeys final : public Hotkeys {
public:
    std::error_code registerHotkey(const Hotkey&) override { return std::make_error_code(std::errc::not_supported); }
    void unregisterHotkey(int) override {}
    void setHotkeyHandler(std::function<void(int)>) override {}
};

} // namespace murmora::qt
