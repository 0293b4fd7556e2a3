#pragma once
#include "platform/clock.h"

namespace murmora::posix {

// The local wall clock to the second. TimeText follows the user's LC_TIME, so the program
// sets that locale category once at start.
class LocalClock final : public Clock {
public:
    DateTime now() const override;
    std::string timeOfDayText() const override;
    std::chrono::milliseconds untilNextSecond() const override;
};

} // namespace murmora::posix
