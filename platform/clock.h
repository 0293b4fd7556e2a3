#pragma once
#include <chrono>
#include <string>

#include "core/date_time.h"

namespace murmora {

// The local wall clock.
class Clock {
public:
    virtual ~Clock() = default;
    virtual DateTime now() const = 0;
    // The present time of day in the user's locale format (strftime "%X"), without a date.
    virtual std::string timeOfDayText() const = 0;
    // How long until the clock's next whole second (1 ms to 1 s).
    virtual std::chrono::milliseconds untilNextSecond() const = 0;
};

} // namespace murmora
