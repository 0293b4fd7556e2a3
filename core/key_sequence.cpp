#include "core/key_sequence.h"

#include <algorithm>

namespace murmora {

namespace {

char upperAscii(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

bool sameIgnoringCase(std::string_view a, std::string_view b) {
    return std::ranges::equal(a, b, [](char x, char y) { return upperAscii(x) == upperAscii(y); });
}

} // namespace

std::optional<KeyCombination> parseKeySequence(std::string_view keys) {
    KeyCombination combination;
    for (std::size_t plus = keys.find('+'); plus != std::string_view::npos; plus = keys.find('+')) {
        const std::string_view modifier = keys.substr(0, plus);
        bool* held = sameIgnoringCase(modifier, kModifierNames[0])   ? &combination.control
                     : sameIgnoringCase(modifier, kModifierNames[1]) ? &combination.alt
                     : sameIgnoringCase(modifier, kModifierNames[2]) ? &combination.shift
                                                                     : nullptr;
        if (!held || *held) return std::nullopt;
        *held = true;
        keys.remove_prefix(plus + 1);
    }
    if (keys.size() != 1) return std::nullopt;
    combination.key = upperAscii(keys.front());
    const bool letter = combination.key >= 'A' && combination.key <= 'Z';
    const bool digit = combination.key >= '0' && combination.key <= '9';
    if (!letter && !digit) return std::nullopt;
    return combination;
}

} // namespace murmora
