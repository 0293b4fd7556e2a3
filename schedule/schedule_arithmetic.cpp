#include "schedule/schedule_arithmetic.h"

#include <cctype>

#include "core/date_time.h"

namespace murmora {

namespace {

constexpr std::int32_t kNoonOffset = 43200;

int fieldValue(const std::string& text, std::size_t position, std::size_t length) {
    return std::stoi(text.substr(position, length));
}

// `layout` holds '9' where a digit belongs, 'A' where any character does, and the separators.
bool matchesLayout(const std::string& text, const std::string& layout) {
    if (text.size() != layout.size()) return false;
    for (std::size_t i = 0; i < layout.size(); ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        const bool fits = layout[i] == '9' ? std::isdigit(c) != 0 : layout[i] == 'A' || text[i] == layout[i];
        if (!fits) return false;
    }
    return true;
}

std::int32_t twelveHourSeconds(int hour, int minute, int second, bool afternoon) {
    const std::int32_t hourSeconds = hour == 12 ? 0 : hour * 3600;
    return hourSeconds + (afternoon ? kNoonOffset : 0) + minute * 60 + second;
}

} // namespace

std::optional<std::int32_t> clockTextSeconds(const std::string& text) {
    static const std::string layouts[] = {"9:99:99", "99:99:99", "9:99:99 AA", "99:99:99 AA"};
    for (const std::string& layout : layouts) {
        if (!matchesLayout(text, layout)) continue;
        const std::size_t hourWidth = layout.find(':');
        const int hour = fieldValue(text, 0, hourWidth);
        const int minute = fieldValue(text, hourWidth + 1, 2);
        const int second = fieldValue(text, hourWidth + 4, 2);
        if (minute > 59 || second > 59) return std::nullopt;
        if (layout.back() != 'A') {
            if (hour > 23) return std::nullopt;
            return hour * 3600 + minute * 60 + second;
        }
        if (hour > 12) return std::nullopt;
        return startTimeSeconds(hour, minute, second, text.substr(text.size() - 2));
    }
    return std::nullopt;
}

std::optional<std::int32_t> startTimeSeconds(int hour, int minute, int second, const std::string& dayHalf) {
    if (dayHalf != "AM" && dayHalf != "PM") return std::nullopt;
    return twelveHourSeconds(hour, minute, second, dayHalf == "PM");
}

std::int32_t startDelaySeconds(std::int32_t start, std::int32_t now) {
    return start >= now ? start - now : kSecondsPerDay - (now - start);
}

} // namespace murmora
