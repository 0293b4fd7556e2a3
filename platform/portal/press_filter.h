#pragma once
#include <cstdint>
#include <map>

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

} // namespace murmora::portal
