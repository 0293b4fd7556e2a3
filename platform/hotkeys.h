#pragma once
#include <functional>
#include <system_error>
#include <vector>

namespace murmora {

// Modifier bits of a hotkey (the numbers of Windows' MOD_ALT and MOD_CONTROL).
inline constexpr unsigned kAltModifier = 1;
inline constexpr unsigned kControlModifier = 2;

// System-wide key combinations, delivered to the user-interface thread.
class Hotkeys {
public:
    virtual ~Hotkeys() = default;
    // Takes the combination of `modifiers` and the key with Windows' virtual-key code
    // `virtualKey` ('A'..'Z', '0'..'9') for the program, under `id`. Fails with
    // errc::device_or_resource_busy when another program holds it, errc::invalid_argument when
    // the key or the modifiers cannot be had, errc::not_supported when the desktop offers no hotkeys.
    [[nodiscard]] virtual std::error_code registerHotkey(int id, unsigned modifiers, unsigned virtualKey) = 0;
    virtual void unregisterHotkey(int id) = 0;
    // From now on a registered combination's id goes to `onHotkey`, after the key event has
    // been handled; every other event passes on untouched.
    virtual void setHotkeyHandler(std::function<void(int id)> onHotkey) = 0;
    // From now on the ids of registered combinations that the desktop takes back later go to
    // `onRefused`: a desktop that asks the user first (the Wayland portal) registers at once
    // and learns the user's answer afterwards. Hotkeys that are had or refused at registration
    // never call it.
    virtual void setRefusalHandler(std::function<void(std::vector<int> ids)> /*onRefused*/) {}
};

} // namespace murmora
