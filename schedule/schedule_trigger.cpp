#include "schedule/schedule_trigger.h"

// Placeholder bodies so the panel links while the schedule rules are written.
namespace murmora {
void ScheduleTrigger::SetAlarm() {}
void ScheduleTrigger::AlarmDuration(std::int32_t&, std::int32_t&) {}
void ScheduleTrigger::Timer2Tick() {}
void ScheduleTrigger::ReadCurrentTime() {}
void ScheduleTrigger::ReadAlarmTime() {}
} // namespace murmora
