#include "platform/x11/hotkey_decisions.h"

#include <algorithm>

#include <xcb/xproto.h>

namespace murmora::x11 {
namespace {
// The keyboard modifiers in an event's state; the bits above are pointer buttons and the
// keyboard group.
constexpr std::uint16_t kKeyboardModifierBits = 0xFF;
} // namespace

ModifierMask modifierMaskHolding(const ModifierMap& map, std::span<const Keycode> keycodes) {
    ModifierMask mask = 0;
    for (std::size_t row = 0; row < map.size(); ++row) {
        const bool holds = std::ranges::any_of(
            keycodes, [&](Keycode code) { return code != 0 && std::ranges::find(map[row], code) != map[row].end(); });
        if (holds) mask |= static_cast<ModifierMask>(1u << row);
    }
    return mask;
}

std::vector<ModifierMask> lockCombinations(std::span<const ModifierMask> lockMasks) {
    std::vector<ModifierMask> combinations{0};
    for (ModifierMask lock : lockMasks) {
        const std::size_t before = combinations.size();
        for (std::size_t i = 0; i < before; ++i)
            combinations.push_back(combinations[i] | lock);
    }
    std::ranges::sort(combinations);
    const auto duplicates = std::ranges::unique(combinations);
    combinations.erase(duplicates.begin(), duplicates.end());
    return combinations;
}

std::optional<XKeys> xKeysOf(const KeyCombination& combination, ModifierMask altMask) {
    if (combination.alt && altMask == 0) return std::nullopt;
    // Latin letter keysyms are the lower-case ASCII codes; digit keysyms are the digits' codes.
    const char key = combination.key;
    const Keysym keysym = key >= 'A' && key <= 'Z' ? Keysym(key - 'A' + 'a') : Keysym(key);
    ModifierMask modifiers = 0;
    if (combination.control) modifiers |= XCB_MOD_MASK_CONTROL;
    if (combination.alt) modifiers |= altMask;
    if (combination.shift) modifiers |= XCB_MOD_MASK_SHIFT;
    return XKeys{keysym, modifiers};
}

std::vector<KeyGrab> grabsFor(std::span<const Keycode> keycodes, ModifierMask modifiers,
                              std::span<const ModifierMask> lockCombinations) {
    std::vector<KeyGrab> grabs;
    for (Keycode keycode : keycodes) {
        for (ModifierMask locks : lockCombinations)
            grabs.push_back({keycode, static_cast<ModifierMask>(modifiers | locks)});
    }
    return grabs;
}

std::vector<KeyGrab> succeededGrabs(std::span<const KeyGrab> grabs, const std::vector<bool>& outcomes) {
    std::vector<KeyGrab> succeeded;
    for (std::size_t i = 0; i < grabs.size() && i < outcomes.size(); ++i) {
        if (outcomes[i]) succeeded.push_back(grabs[i]);
    }
    return succeeded;
}

void HotkeyMatcher::add(HotkeyBinding binding) { bindings_.push_back(std::move(binding)); }

void HotkeyMatcher::remove(int id) {
    std::erase_if(bindings_, [id](const HotkeyBinding& binding) { return binding.id == id; });
}

bool HotkeyMatcher::has(int id) const {
    return std::ranges::any_of(bindings_, [id](const HotkeyBinding& binding) { return binding.id == id; });
}

std::optional<int> HotkeyMatcher::onKeyEvent(const KeyEvent& event) {
    KeyHistory& key = keys_[event.keycode];
    if (event.kind == KeyEventKind::release) {
        if (key.held) key = {false, event.time};
        return std::nullopt;
    }
    const HotkeyBinding* binding = bindingPressedBy(event);
    if (!binding) return std::nullopt;
    const bool repeat = isRepeat(event);
    key.held = true;
    if (repeat) return std::nullopt;
    return binding->id;
}

const HotkeyBinding* HotkeyMatcher::bindingPressedBy(const KeyEvent& event) const {
    const ModifierMask modifiers = event.state & kKeyboardModifierBits & ~lockMask_;
    for (const HotkeyBinding& binding : bindings_) {
        if (binding.modifiers == modifiers &&
            std::ranges::find(binding.keycodes, event.keycode) != binding.keycodes.end()) {
            return &binding;
        }
    }
    return nullptr;
}

bool HotkeyMatcher::isRepeat(const KeyEvent& press) const {
    const KeyHistory& key = keys_[press.keycode];
    return key.held || key.releasedAt == press.time;
}

} // namespace murmora::x11
