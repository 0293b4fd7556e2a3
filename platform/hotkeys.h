#pragma once
#include <functional>

namespace murmora {

// Modifier bits of a hotkey.
enum HotkeyModifier : unsigned { MOD_ALT = 1, MOD_CONTROL = 2 };

// System-wide key combinations, delivered to the user-interface thread.
class Hotkeys {
public:
    virtual ~Hotkeys() = default;
    // Takes the combination for the program; false when it is taken or cannot be had.
    virtual bool RegisterHotKey(int id, unsigned modifiers, unsigned virtualKey) = 0;
    virtual void UnregisterHotKey(int id) = 0;
    // Puts the filter in place that catches a registered combination and hands its id to
    // `onHotkey`; every other event passes on untouched.
    virtual void InstallFilter(std::function<void(unsigned long id)> onHotkey) = 0;
};

} // namespace murmora
