#pragma once
#include <cstdint>

#include "shell/context.h"
#include "shell/resource_pictures.h"

namespace murmora {

// The schedule arithmetic and the Timer2 trigger that starts the scheduled take.
class ScheduleTrigger {
public:
    ScheduleTrigger(Context& ctx, ResourcePictures& pictures) : ctx_(ctx), pictures_(pictures) {}

    void SetAlarm();
    void AlarmDuration(std::int32_t& a, std::int32_t& s);
    void Timer2Tick();

private:
    void ReadCurrentTime();
    void ReadAlarmTime();

    Context& ctx_;
    ResourcePictures& pictures_;
};

} // namespace murmora
