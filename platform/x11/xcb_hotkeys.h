#pragma once
#include <functional>
#include <map>
#include <memory>
#include <vector>

#include <QAbstractNativeEventFilter>
#include <xcb/xcb.h>

#include "platform/hotkeys.h"
#include "platform/x11/hotkey_decisions.h"
#include "platform/x11/xcb_key_grabs.h"

namespace murmora {

// Hotkeys as passive grabs on the X root window, caught in Qt's stream of XCB events.
// Each hotkey is grabbed once for every state of NumLock, CapsLock and ScrollLock, so that it
// works whatever lock is on; it counts as registered only when every one of those grabs was had.
// Lives on the user-interface thread, between the creation and the end of the Qt application
// whose connection it uses; grabs left at its end go with the connection.
class XcbHotkeys final : public Hotkeys, private QAbstractNativeEventFilter {
public:
    explicit XcbHotkeys(xcb_connection_t* connection);

    std::error_code registerHotkey(const Hotkey& hotkey) override;
    void unregisterHotkey(int id) override;
    // A hotkey's id reaches `onHotkey` through the event loop, after the key event's dispatch
    // has returned, so that the action may open dialogs of its own.
    void setHotkeyHandler(std::function<void(int id)> onHotkey) override;

private:
    bool nativeEventFilter(const QByteArray& eventType, void* message, qintptr* result) override;

    x11::XcbKeyGrabs keyboard_;
    x11::HotkeyMatcher matcher_;
    std::map<int, std::vector<x11::KeyGrab>> grabsById_;
    std::function<void(int)> onHotkey_;
};

// The hotkeys of the running Qt application's X connection; nullptr when it has none
// (offscreen, a Wayland session without XWayland, no application yet).
std::unique_ptr<Hotkeys> makeX11Hotkeys();

} // namespace murmora
