#pragma once
#include <cstdint>
#include <string>

namespace murmora {

// The schedule as a scheduled take sees it, asked at the moment it matters.
class TakeSchedule {
public:
    virtual ~TakeSchedule() = default;
    // How long a scheduled take runs: the duration armed last.
    virtual std::int32_t takeSeconds() const = 0;
    // Where the scheduled take is saved: the target as the schedule reads it now.
    virtual std::string targetPath() const = 0;
    // The scheduled take has ended or could not start: the panel stops showing the schedule.
    virtual void takeOver() = 0;
};

} // namespace murmora
