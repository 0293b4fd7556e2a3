#include "platform/x11/xcb_key_grabs.h"

#include <cstdlib>
#include <memory>

#include <X11/keysym.h>
#include <xcb/xcb_keysyms.h>

namespace murmora::x11 {
namespace {
template <typename Reply>
using ReplyPtr = std::unique_ptr<Reply, decltype(&std::free)>;

template <typename Reply>
ReplyPtr<Reply> owned(Reply* reply) {
    return {reply, &std::free};
}
} // namespace

XcbKeyGrabs::XcbKeyGrabs(xcb_connection_t* connection)
    : connection_(connection), root_(xcb_setup_roots_iterator(xcb_get_setup(connection)).data->root),
      keySymbols_(xcb_key_symbols_alloc(connection)) {}

XcbKeyGrabs::~XcbKeyGrabs() { xcb_key_symbols_free(keySymbols_); }

std::vector<Keycode> XcbKeyGrabs::keycodesOf(Keysym keysym) const {
    std::vector<Keycode> keycodes;
    const auto found = owned(xcb_key_symbols_get_keycode(keySymbols_, keysym));
    for (const xcb_keycode_t* code = found.get(); code && *code != XCB_NO_SYMBOL; ++code)
        keycodes.push_back(*code);
    return keycodes;
}

std::vector<ModifierMask> XcbKeyGrabs::lockMasks() const {
    // CapsLock always sets Lock; NumLock and ScrollLock set whichever ModN the keymap gives them.
    return {XCB_MOD_MASK_LOCK, modifierOf(XK_Num_Lock), modifierOf(XK_Scroll_Lock)};
}

ModifierMask XcbKeyGrabs::altMask() const {
    // Alt is Mod1 on nearly every keymap; the modifier map has the last word.
    const ModifierMask alt = modifierOf(XK_Alt_L);
    return alt ? alt : ModifierMask{XCB_MOD_MASK_1};
}

ModifierMask XcbKeyGrabs::modifierOf(Keysym keysym) const {
    return modifierMaskHolding(readModifierMap(), keycodesOf(keysym));
}

ModifierMap XcbKeyGrabs::readModifierMap() const {
    ModifierMap map;
    const auto reply =
        owned(xcb_get_modifier_mapping_reply(connection_, xcb_get_modifier_mapping(connection_), nullptr));
    if (!reply) return map;
    const xcb_keycode_t* codes = xcb_get_modifier_mapping_keycodes(reply.get());
    const int perModifier = reply->keycodes_per_modifier;
    for (std::size_t row = 0; row < map.size(); ++row) {
        map[row].assign(codes + row * perModifier, codes + (row + 1) * perModifier);
    }
    return map;
}

std::vector<bool> XcbKeyGrabs::grab(std::span<const KeyGrab> grabs) {
    std::vector<xcb_void_cookie_t> cookies;
    for (const KeyGrab& each : grabs) {
        cookies.push_back(xcb_grab_key_checked(connection_, /*owner_events=*/0, root_, each.modifiers, each.keycode,
                                               XCB_GRAB_MODE_ASYNC, XCB_GRAB_MODE_ASYNC));
    }
    std::vector<bool> outcomes;
    for (xcb_void_cookie_t cookie : cookies)
        outcomes.push_back(owned(xcb_request_check(connection_, cookie)) == nullptr);
    return outcomes;
}

void XcbKeyGrabs::ungrab(std::span<const KeyGrab> grabs) {
    for (const KeyGrab& each : grabs)
        xcb_ungrab_key(connection_, each.keycode, root_, each.modifiers);
    xcb_flush(connection_);
}

} // namespace murmora::x11
