#pragma once
#include <cstdint>

namespace murmora {

// A local date and time to the second: the wall clock's reading as seconds since
// 1970-01-01 00:00:00 local time. The difference of two readings is the difference the
// clock shows, so setting the clock or a daylight-saving night moves it with the clock.
using DateTime = std::int64_t;

inline constexpr int kSecondsPerDay = 86400;

// Seconds after local midnight of a reading (0 to 86399).
inline int secondsAfterMidnight(DateTime t) {
    const auto s = static_cast<int>(t % kSecondsPerDay);
    return s < 0 ? s + kSecondsPerDay : s;
}

// Whole seconds from `from` to `to` as a 32-bit signed number; negative when `to` is earlier.
inline std::int32_t wholeSecondsBetween(DateTime from, DateTime to) { return static_cast<std::int32_t>(to - from); }

} // namespace murmora
