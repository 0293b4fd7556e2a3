#pragma once
#include <span>
#include <vector>

#include <xcb/xcb.h>

#include "platform/x11/hotkey_decisions.h"

struct _XCBKeySymbols;

namespace murmora::x11 {

// Passive key grabs on the root window of an X connection, and what they need to know about
// the keyboard: which keycodes carry a keysym and which modifier a key sets.
class XcbKeyGrabs {
public:
    explicit XcbKeyGrabs(xcb_connection_t* connection);
    ~XcbKeyGrabs();
    XcbKeyGrabs(const XcbKeyGrabs&) = delete;
    XcbKeyGrabs& operator=(const XcbKeyGrabs&) = delete;

    std::vector<Keycode> keycodesOf(Keysym keysym) const;
    // The masks of CapsLock, NumLock and ScrollLock, as the keymap has them now (0 for a
    // lock it lacks).
    std::vector<ModifierMask> lockMasks() const;
    ModifierMask altMask() const;

    // Asks for every grab before waiting for any answer: one round trip for all of them.
    // The outcome of each grab, in order: false when the server refused it (another client
    // holds it: BadAccess).
    std::vector<bool> grab(std::span<const KeyGrab> grabs);
    void ungrab(std::span<const KeyGrab> grabs);

private:
    ModifierMap readModifierMap() const;
    // The modifier bit that `keysym`'s keys set, per the current modifier map; 0 when none.
    ModifierMask modifierOf(Keysym keysym) const;

    xcb_connection_t* connection_;
    xcb_window_t root_;
    _XCBKeySymbols* keySymbols_;
};

} // namespace murmora::x11
