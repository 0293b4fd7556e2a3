#include "platform/win32/win32_clock.h"

#include "platform/wide/wide.h"

namespace murmora::win32 {

namespace {

// 100-nanosecond steps from 1601-01-01 to 1970-01-01.
constexpr std::int64_t kFileTimeAt1970 = 116444736000000000LL;
constexpr std::int64_t kFileTimeStepsPerSecond = 10000000LL;

} // namespace

DateTime Win32Clock::now() const {
    // The local reading taken as if it were UTC: seconds since 1970 on the wall clock.
    SYSTEMTIME local{};
    GetLocalTime(&local);
    FILETIME asFileTime{};
    SystemTimeToFileTime(&local, &asFileTime);
    const std::int64_t steps = (static_cast<std::int64_t>(asFileTime.dwHighDateTime) << 32) | asFileTime.dwLowDateTime;
    return (steps - kFileTimeAt1970) / kFileTimeStepsPerSecond;
}

std::chrono::milliseconds Win32Clock::untilNextSecond() const {
    SYSTEMTIME local{};
    GetLocalTime(&local);
    return std::chrono::milliseconds(1000 - local.wMilliseconds);
}

std::string Win32Clock::timeOfDayText() const {
    wchar_t text[64] = L"";
    const int length = GetTimeFormatEx(LOCALE_NAME_USER_DEFAULT, 0, nullptr, nullptr, text, 64);
    return length > 0 ? fromWide(text) : std::string();
}

} // namespace murmora::win32
