#include "platform/posix/local_clock.h"

#include <ctime>

namespace murmora::posix {

namespace {

std::tm localNow() {
    const std::time_t now = std::time(nullptr);
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

std::string LocalClock::timeOfDayText() const {
    const std::tm local = localNow();
    char text[64];
    const std::size_t length = std::strftime(text, sizeof text, "%X", &local);
    return std::string(text, length);
}

} // namespace murmora::posix
