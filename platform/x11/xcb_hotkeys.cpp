#include "platform/x11/xcb_hotkeys.h"

#include <algorithm>
#include <functional>
#include <numeric>

#include <QCoreApplication>
#include <QGuiApplication>

namespace murmora {
using namespace x11;

XcbHotkeys::XcbHotkeys(xcb_connection_t* connection) : keyboard(connection) {}

bool XcbHotkeys::RegisterHotKey(int id, unsigned modifiers, unsigned virtualKey) {
    const auto xModifiers = xModifiersOf(modifiers);
    const auto keysym = keysymOfVirtualKey(virtualKey);
    if (grabsById.contains(id) || !xModifiers || !keysym) return false;

    const std::vector<ModifierMask> locks = keyboard.lockMasks();
    const std::vector<Keycode> keycodes = keyboard.keycodesOf(*keysym);
    const std::vector<KeyGrab> grabs = grabsFor(keycodes, *xModifiers, lockCombinations(locks));
    if (grabs.empty()) return false; // the key is not on this keyboard

    const std::vector<bool> outcomes = keyboard.grab(grabs);
    if (std::ranges::find(outcomes, false) != outcomes.end()) {
        // Half a hotkey would work only under some lock states: give back what was had.
        keyboard.ungrab(succeededGrabs(grabs, outcomes));
        return false;
    }
    grabsById.emplace(id, grabs);
    matcher.setLockMask(std::accumulate(locks.begin(), locks.end(), ModifierMask{0}, std::bit_or<ModifierMask>{}));
    matcher.add({static_cast<unsigned long>(id), keycodes, *xModifiers});
    return true;
}

void XcbHotkeys::UnregisterHotKey(int id) {
    const auto found = grabsById.find(id);
    if (found == grabsById.end()) return;
    keyboard.ungrab(found->second);
    matcher.remove(static_cast<unsigned long>(id));
    grabsById.erase(found);
}

void XcbHotkeys::InstallFilter(std::function<void(unsigned long id)> onHotkeyPressed) {
    onHotkey = std::move(onHotkeyPressed);
    QCoreApplication::instance()->installNativeEventFilter(this);
}

bool XcbHotkeys::nativeEventFilter(const QByteArray& eventType, void* message, qintptr*) {
    if (eventType != "xcb_generic_event_t") return false;
    const auto* event = static_cast<const xcb_generic_event_t*>(message);
    const auto type = event->response_type & ~0x80; // the top bit marks events sent by clients
    if (type != XCB_KEY_PRESS && type != XCB_KEY_RELEASE) return false;

    // Key presses and releases share one layout.
    const auto* key = static_cast<const xcb_key_press_event_t*>(message);
    const auto hotkey = matcher.onKeyEvent({type == XCB_KEY_PRESS ? KeyEventKind::Press : KeyEventKind::Release,
                                            key->detail, key->state, key->time});
    if (!hotkey) return false;
    QMetaObject::invokeMethod(
        QCoreApplication::instance(), [deliver = onHotkey, id = *hotkey] { deliver(id); }, Qt::QueuedConnection);
    return true;
}

std::optional<ModifierMask> XcbHotkeys::xModifiersOf(unsigned modifiers) const {
    if (modifiers & ~unsigned{MOD_ALT | MOD_CONTROL}) return std::nullopt;
    ModifierMask mask = 0;
    if (modifiers & MOD_CONTROL) mask |= XCB_MOD_MASK_CONTROL;
    if (modifiers & MOD_ALT) mask |= keyboard.altMask();
    return mask;
}

std::unique_ptr<Hotkeys> makeX11Hotkeys() {
    const auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    xcb_connection_t* connection = x11 ? x11->connection() : nullptr;
    if (!connection || xcb_connection_has_error(connection)) return nullptr;
    return std::make_unique<XcbHotkeys>(connection);
}

} // namespace murmora
