#pragma once
#include <cstdint>
#include <string>

#include "shell/context.h"
#include "shell/resource_pictures.h"

namespace murmora {

// The schedule arithmetic and the Timer2 trigger that starts the scheduled take.
class ScheduleTrigger {
public:
    ScheduleTrigger(Context& ctx, ResourcePictures& pictures) : ctx_(ctx), pictures_(pictures) {}

    // Arms the schedule from the schedule window's choices; the caller enables Timer2.
    void SetAlarm();
    // StartDelaySeconds from the current time of day `s` to the start time of day `a`,
    // on the next day when `a` has passed.
    void AlarmDuration(std::int32_t& a, std::int32_t& s);
    void Timer2Tick();

private:
    void ReadCurrentTime();
    void ReadAlarmTime();
    // 0 before noon; after noon PmOffsetSeconds, which it sets.
    std::int32_t DayHalfOffset(const std::string& dayHalf);
    void StartScheduledTake();
    void RefuseStart();

    Context& ctx_;
    ResourcePictures& pictures_;
};

// The length the scheduled take is to have, from the schedule window's duration spinners.
std::int32_t ChosenDurationSeconds(const Form2Controls& form2);

inline constexpr std::int32_t PmOffset = 43200;

} // namespace murmora
