#include "platform/portal/shortcut_rules.h"

#include <algorithm>
#include <cctype>
#include <set>
#include <string>
#include <vector>

namespace murmora::portal {

bool PressFilter::activated(int shortcut, std::uint64_t timestampMs) {
    const auto held = lastActivationOfHeld_.find(shortcut);
    const bool repeat = held != lastActivationOfHeld_.end() && timestampMs >= held->second &&
                        timestampMs - held->second < kRepeatGapMs;
    lastActivationOfHeld_[shortcut] = timestampMs;
    return !repeat;
}

void PressFilter::deactivated(int shortcut) { lastActivationOfHeld_.erase(shortcut); }

void PressFilter::clear() { lastActivationOfHeld_.clear(); }

namespace {

// A trigger as a set of modifier names and a key, each lower case and under one name.
struct Keys {
    std::set<std::string> modifiers;
    std::string key;
    bool operator==(const Keys&) const = default;
};

std::string canonicalName(std::string name) {
    std::ranges::transform(name, name.begin(), [](unsigned char c) { return std::tolower(c); });
    if (name == "control" || name == "primary") return "ctrl";
    if (name == "super" || name == "meta" || name == "mod4") return "logo";
    if (name == "mod1") return "alt";
    return name;
}

// Splits "CTRL+ALT+r", "Ctrl + Alt + R" and "<Control><Alt>r" alike.
std::vector<std::string> parts(std::string_view text) {
    std::vector<std::string> found;
    std::string part;
    const auto flush = [&] {
        if (!part.empty()) found.push_back(canonicalName(part));
        part.clear();
    };
    for (const char c : text) {
        if (c == '+' || c == '<' || c == '>') {
            flush();
        } else if (!std::isspace(static_cast<unsigned char>(c))) {
            part += c;
        }
    }
    flush();
    return found;
}

Keys keysOf(std::string_view text) {
    std::vector<std::string> names = parts(text);
    Keys keys;
    if (names.empty()) return keys;
    keys.key = names.back();
    names.pop_back();
    keys.modifiers.insert(names.begin(), names.end());
    return keys;
}

} // namespace

bool triggerChanged(std::string_view asked, std::string_view described) {
    if (parts(described).empty()) return false;
    return keysOf(asked) != keysOf(described);
}

} // namespace murmora::portal
