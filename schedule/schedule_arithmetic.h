#pragma once
#include <cstdint>
#include <optional>
#include <string>

namespace murmora {

// Times of day are seconds after midnight, 0 to 86399.

// The time of day a clock's text tells, in one of the four layouts it is read in ("7:05:07",
// "21:05:07", "9:05:07 PM", "11:05:07 AM"), each field at its fixed place; on the 12-hour clock
// hour 12 is the first hour of its half. Anything else (other characters where a digit or
// separator belongs, a day half other than "AM" or "PM", a field out of a clock's range) is
// no reading of the clock: nothing.
std::optional<std::int32_t> clockTextSeconds(const std::string& text);

// The time of day of a start chosen on the 12-hour clock (hour 1 to 12); nothing when the day
// half is neither "AM" nor "PM".
std::optional<std::int32_t> startTimeSeconds(int hour, int minute, int second, const std::string& dayHalf);

// Seconds from the time of day `now` to the next time the clock shows `start`: 0 when they
// are equal, on the next day when `start` has passed.
std::int32_t startDelaySeconds(std::int32_t start, std::int32_t now);

} // namespace murmora
