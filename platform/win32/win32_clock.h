#pragma once
#include "platform/clock.h"

namespace murmora::win32 {

class Win32Clock final : public Clock {
public:
    DateTime now() const override;
    // GetTimeFormatEx in the user's format: "21:05:07" or "9:05:07 PM".
    std::string timeOfDayText() const override;
    std::chrono::milliseconds untilNextSecond() const override;
};

} // namespace murmora::win32
