#pragma once
// What the global shortcuts portal's messages mean, kept apart from D-Bus so they can be
// checked on their own: which activations are presses, and whether a reported trigger is the
// one that was asked for.
#include <cstdint>
#include <map>
#include <string_view>

namespace murmora::portal {

// Tells the presses of a shortcut from the repeats of a held key. Portals send Activated when
// the keys go down and Deactivated when they come up; some send Activated again for every
// auto-repeat while the keys are held. An Activated while the shortcut is held is a repeat,
// unless it comes later than any auto-repeat would: then the portal lost a Deactivated, and
// taking it as a press keeps the shortcut from going dead.
class PressFilter {
public:
    // Longer than any keyboard's delay before auto-repeat starts (500 to 660 ms by default).
    static constexpr std::uint64_t kRepeatGapMs = 1000;

    // True when an Activated at `timestampMs` (the portal's milliseconds) is a new press.
    bool activated(int shortcut, std::uint64_t timestampMs);
    void deactivated(int shortcut);
    void clear();

private:
    std::map<int, std::uint64_t> lastActivationOfHeld_;
};

// False when `described`, a portal's text for the trigger a shortcut got ("Ctrl+Alt+R",
// "<Control><Alt>r"), names the same keys as `asked`, a trigger in the shortcuts
// specification's form ("CTRL+ALT+r"), or when it is empty: the portal did not say.
bool triggerChanged(std::string_view asked, std::string_view described);

} // namespace murmora::portal
