#pragma once
#include <functional>
#include <string>
#include <system_error>
#include <vector>

namespace murmora {

// A system-wide key combination the program asks for.
struct Hotkey {
    int id;                  // what a press of it delivers
    std::string name;        // short and stable: desktops keep the keys a user chose for it under this name
    std::string description; // what the desktop lists it as
    std::string keys;        // the key sequence, e.g. "Ctrl+Alt+R"
    bool operator==(const Hotkey&) const = default;
};

// System-wide key combinations, delivered to the user-interface thread.
class Hotkeys {
public:
    virtual ~Hotkeys() = default;
    // Takes the hotkey's key sequence for the program, under its id. Fails with
    // errc::device_or_resource_busy when another program holds it, errc::invalid_argument when
    // the keys cannot be had here or the id is taken, errc::not_supported when the desktop
    // offers no hotkeys.
    [[nodiscard]] virtual std::error_code registerHotkey(const Hotkey& hotkey) = 0;
    virtual void unregisterHotkey(int id) = 0;
    // From now on a registered combination's id goes to `onHotkey`, after the key event has
    // been handled; every other event passes on untouched.
    virtual void setHotkeyHandler(std::function<void(int id)> onHotkey) = 0;
    // From now on the ids of registered combinations that the desktop takes back later go to
    // `onRefused`: a desktop that asks the user first (the Wayland portal) registers at once
    // and learns the user's answer afterwards. Hotkeys that are had or refused at registration
    // never call it.
    virtual void setRefusalHandler(std::function<void(std::vector<int> ids)> /*onRefused*/) {}
    // The keys a registered hotkey is on, as the desktop writes them: a user may give it others
    // in the desktop's settings. The keys asked for until the desktop tells.
    virtual std::string keysOf(const Hotkey& hotkey) const { return hotkey.keys; }
    // Whether the presses reach the program whatever has the focus: under Wayland, X11 grabs see
    // only the keys typed into X11 windows.
    virtual bool global() const { return true; }
    // Where the user gives the hotkeys keys in the desktop's settings ("System Settings,
    // Shortcuts"); empty where there is no such place, or it is not known.
    virtual std::string keysSettingsPlace() const { return {}; }
    // From now on `onChanged` runs when keysOf() or global() may tell something new.
    virtual void setChangeHandler(std::function<void()> /*onChanged*/) {}
};

} // namespace murmora
