// Reads any time-of-day text a locale might give, and checks that a time read lies within the
// day and that the delay to any start is less than a day.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "core/date_time.h"
#include "schedule/schedule_arithmetic.h"

using namespace murmora;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    const auto now = clockTextSeconds(text);
    if (!now) return 0;
    if (*now < 0 || *now >= kSecondsPerDay) std::abort();
    for (const std::int32_t start : {0, 3600, 43200, 86399}) {
        const std::int32_t delay = startDelaySeconds(start, *now);
        if (delay < 0 || delay >= kSecondsPerDay) std::abort();
    }
    return 0;
}
