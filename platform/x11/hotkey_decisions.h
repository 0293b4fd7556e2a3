#pragma once
// The decisions behind the X11 hotkeys, kept apart from the X connection so they can be
// checked on their own: which grabs a hotkey needs, and which key events are hotkey presses.
#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "core/key_sequence.h"
#include "platform/hotkeys.h"

namespace murmora::x11 {

using Keycode = std::uint8_t;
using Keysym = std::uint32_t;
using ModifierMask = std::uint16_t;
using Timestamp = std::uint32_t;

// The eight rows of the X modifier map (Shift, Lock, Control, Mod1..Mod5), each the keycodes
// that set that modifier.
using ModifierMap = std::array<std::vector<Keycode>, 8>;

// The mask of the modifier row that holds any of `keycodes`; 0 when none does (a keyboard
// without ScrollLock, say).
ModifierMask modifierMaskHolding(const ModifierMap& map, std::span<const Keycode> keycodes);

// Every mask the lock keys can add to a key press: each combination of the given lock masks,
// without duplicates (an absent lock has mask 0 and adds nothing new).
std::vector<ModifierMask> lockCombinations(std::span<const ModifierMask> lockMasks);

// A key combination as X has it: the keysym of its key, and the modifiers' mask.
struct XKeys {
    Keysym keysym;
    ModifierMask modifiers;
    bool operator==(const XKeys&) const = default;
};

// Alt is the modifier that the keymap gives the Alt keys (`altMask`); nothing when it gives
// them none.
std::optional<XKeys> xKeysOf(const KeyCombination& combination, ModifierMask altMask);

struct KeyGrab {
    Keycode keycode;
    ModifierMask modifiers;
    bool operator==(const KeyGrab&) const = default;
};

// One grab for each keycode of the key under each lock combination.
std::vector<KeyGrab> grabsFor(std::span<const Keycode> keycodes, ModifierMask modifiers,
                              std::span<const ModifierMask> lockCombinations);

// The grabs whose outcome was a success, to be released when any other one failed.
std::vector<KeyGrab> succeededGrabs(std::span<const KeyGrab> grabs, const std::vector<bool>& outcomes);

struct HotkeyBinding {
    int id;
    std::vector<Keycode> keycodes;
    ModifierMask modifiers;
};

enum class KeyEventKind {
    press,
    release
};

struct KeyEvent {
    KeyEventKind kind;
    Keycode keycode;
    std::uint16_t state; // modifiers and pointer buttons held, as X reports them
    Timestamp time;
};

// Picks the key presses that are hotkeys out of the stream of key events. A press counts only
// with exactly the hotkey's modifiers (lock keys and pointer buttons aside) and only once while
// the key is held: X repeats a held key either as presses without releases in between
// (detectable auto-repeat) or as release/press pairs that share one timestamp.
class HotkeyMatcher {
public:
    void setLockMask(ModifierMask locks) { lockMask_ = locks; }
    void add(HotkeyBinding binding);
    void remove(int id);
    bool has(int id) const;

    // The id of the hotkey that `event` presses, or nothing.
    std::optional<int> onKeyEvent(const KeyEvent& event);

private:
    struct KeyHistory {
        bool held = false;
        std::optional<Timestamp> releasedAt;
    };
    const HotkeyBinding* bindingPressedBy(const KeyEvent& event) const;
    bool isRepeat(const KeyEvent& press) const;

    std::vector<HotkeyBinding> bindings_;
    std::array<KeyHistory, 256> keys_{};
    ModifierMask lockMask_ = 0;
};

} // namespace murmora::x11
