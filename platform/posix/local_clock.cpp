#include "platform/posix/local_clock.h"

#include <ctime>

namespace murmora::posix {

namespace {

// The clock's reading; now() and untilNextSecond() read the same clock, so that a second begun
// by the one is begun by the other.
timespec wallNow() {
    timespec now{};
    clock_gettime(CLOCK_REALTIME, &now);
    return now;
}

std::tm localNow() {
    const std::time_t now = wallNow().tv_sec;
    std::tm local{};
    localtime_r(&now, &local);
    return local;
}

} // namespace

DateTime LocalClock::now() const {
    // The local reading taken as if it were UTC: seconds since 1970 on the wall clock.
    std::tm local = localNow();
    return static_cast<DateTime>(timegm(&local));
}

std::chrono::milliseconds LocalClock::untilNextSecond() const {
    return std::chrono::milliseconds(1000 - wallNow().tv_nsec / 1000000);
}

std::string LocalClock::timeOfDayText() const {
    const std::tm local = localNow();
    char text[64];
    const std::size_t length = std::strftime(text, sizeof text, "%X", &local);
    return std::string(text, length);
}

} // namespace murmora::posix
