#include "platform/portal/press_filter.h"

namespace murmora::portal {

bool PressFilter::activated(int shortcut, std::uint64_t timestampMs) {
    const auto held = lastActivationOfHeld_.find(shortcut);
    const bool repeat =
        held != lastActivationOfHeld_.end() && timestampMs >= held->second && timestampMs - held->second < kRepeatGapMs;
    lastActivationOfHeld_[shortcut] = timestampMs;
    return !repeat;
}

void PressFilter::deactivated(int shortcut) { lastActivationOfHeld_.erase(shortcut); }

void PressFilter::clear() { lastActivationOfHeld_.clear(); }

} // namespace murmora::portal
