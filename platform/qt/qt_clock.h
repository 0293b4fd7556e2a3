#pragma once
#include "platform/clock.h"

namespace murmora {

// The local wall clock to the second. TimeText follows the user's LC_TIME, so the program
// sets that locale category once at start.
class QtClock final : public Clock {
public:
    DateTime Now() const override;
    std::string TimeText() const override;
};

} // namespace murmora
