#pragma once
#include <array>
#include <optional>
#include <string_view>

#include "core/texts.h"

namespace murmora {

// The combination a key sequence names: modifiers and one key joined by "+", as in
// "Ctrl+Alt+R". The modifiers are Ctrl, Alt and Shift, each at most once and in any order; the
// key is a letter A to Z or a digit. Case does not matter.
// TRANSLATORS: the names of the modifier keys as keyboards in your language label them, as
// German "Strg" and "Umschalt"; the tooltip names the hotkeys with them ("Ctrl+Alt+R").
inline constexpr std::array<const char*, 3> kModifierNames{textKey("Ctrl"), textKey("Alt"), textKey("Shift")};

struct KeyCombination {
    bool control = false;
    bool alt = false;
    bool shift = false;
    char key = 0; // 'A'..'Z' or '0'..'9'
    bool operator==(const KeyCombination&) const = default;
};

// Nothing when the sequence names no combination of that form.
std::optional<KeyCombination> parseKeySequence(std::string_view keys);

} // namespace murmora
