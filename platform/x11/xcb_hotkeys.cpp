#include "platform/x11/xcb_hotkeys.h"

#include <algorithm>
#include <functional>
#include <numeric>

#include <QCoreApplication>
#include <QGuiApplication>

namespace murmora {
using namespace x11;

XcbHotkeys::XcbHotkeys(xcb_connection_t* connection) : keyboard_(connection) {}

std::error_code XcbHotkeys::registerHotkey(const Hotkey& hotkey) {
    const auto combination = parseKeySequence(hotkey.keys);
    if (grabsById_.contains(hotkey.id) || !combination) return std::make_error_code(std::errc::invalid_argument);
    const auto keys = xKeysOf(*combination, keyboard_.altMask());
    if (!keys) return std::make_error_code(std::errc::invalid_argument);

    const std::vector<ModifierMask> locks = keyboard_.lockMasks();
    const std::vector<Keycode> keycodes = keyboard_.keycodesOf(keys->keysym);
    const std::vector<KeyGrab> grabs = grabsFor(keycodes, keys->modifiers, lockCombinations(locks));
    if (grabs.empty()) return std::make_error_code(std::errc::invalid_argument); // the key is not on this keyboard

    const std::vector<bool> outcomes = keyboard_.grab(grabs);
    if (std::ranges::find(outcomes, false) != outcomes.end()) {
        // Half a hotkey would work only under some lock states: give back what was had.
        keyboard_.ungrab(succeededGrabs(grabs, outcomes));
        return std::make_error_code(std::errc::device_or_resource_busy);
    }
    grabsById_.emplace(hotkey.id, grabs);
    matcher_.setLockMask(std::accumulate(locks.begin(), locks.end(), ModifierMask{0}, std::bit_or<ModifierMask>{}));
    matcher_.add({hotkey.id, keycodes, keys->modifiers});
    return {};
}

void XcbHotkeys::unregisterHotkey(int id) {
    const auto found = grabsById_.find(id);
    if (found == grabsById_.end()) return;
    keyboard_.ungrab(found->second);
    matcher_.remove(id);
    grabsById_.erase(found);
}

void XcbHotkeys::setHotkeyHandler(std::function<void(int id)> onHotkey) {
    onHotkey_ = std::move(onHotkey);
    QCoreApplication::instance()->installNativeEventFilter(this);
}

bool XcbHotkeys::nativeEventFilter(const QByteArray& eventType, void* message, qintptr*) {
    if (eventType != "xcb_generic_event_t") return false;
    const auto* event = static_cast<const xcb_generic_event_t*>(message);
    const auto type = event->response_type & ~0x80; // the top bit marks events sent by clients
    if (type != XCB_KEY_PRESS && type != XCB_KEY_RELEASE) return false;

    // Key presses and releases share one layout.
    const auto* key = static_cast<const xcb_key_press_event_t*>(message);
    const auto hotkey = matcher_.onKeyEvent(
        {type == XCB_KEY_PRESS ? KeyEventKind::press : KeyEventKind::release, key->detail, key->state, key->time});
    if (!hotkey) return false;
    QMetaObject::invokeMethod(
        QCoreApplication::instance(), [deliver = onHotkey_, id = *hotkey] { deliver(id); }, Qt::QueuedConnection);
    return true;
}

std::unique_ptr<Hotkeys> makeX11Hotkeys() {
    const auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    xcb_connection_t* connection = x11 ? x11->connection() : nullptr;
    if (!connection || xcb_connection_has_error(connection)) return nullptr;
    return std::make_unique<XcbHotkeys>(connection);
}

} // namespace murmora
