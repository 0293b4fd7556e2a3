#pragma once
#include <cstdint>
#include <optional>
#include <string>

#include "core/date_time.h"
#include "platform/clock.h"
#include "platform/controls.h"
#include "platform/dialogs.h"
#include "recording/scheduled_recording.h"

namespace murmora {

struct ScheduleTriggerControls {
    Label& captionLabel; // "Record:" while a schedule is armed
    Label& timeLabel;    // the start time of the armed schedule
    Timer& startTimer;
};

// The armed schedule: the delay from the moment of arming to the chosen start, counted on the
// clock once a second, just after each of its seconds begins, and the start of the scheduled
// take when it is reached: within a tick's lateness of its second. One-shot: it
// fires once and is then disarmed.
class ScheduleTrigger {
public:
    ScheduleTrigger(const Clock& clock, MessageBoxes& messages, ScheduleTriggerControls controls,
                    ScheduledRecording& recording);

    // Start-up: not armed, nothing shown.
    void load();
    // Shows on the panel that a take is to start at `startText`.
    void show(const std::string& startText);
    void clearShown();
    // Arms from now: the scheduled take starts at `startSeconds` after midnight (when nothing,
    // the start armed before) and runs `takeSeconds`.
    void arm(std::optional<std::int32_t> startSeconds, std::int32_t takeSeconds);
    void disarm() { controls_.startTimer.setEnabled(false); }
    // How long the scheduled take runs: the duration armed last.
    std::int32_t takeSeconds() const { return takeSeconds_; }

private:
    void onTick();
    // Aims the timer's next tick just past the clock's next whole second.
    void aimAtNextSecond();

    const Clock& clock_;
    MessageBoxes& messages_;
    ScheduleTriggerControls controls_;
    ScheduledRecording& recording_;
    DateTime base_ = 0;             // the moment of arming: all waiting is counted from it
    std::int32_t delaySeconds_ = 0; // from the base to the start
    std::int32_t startSeconds_ = 0; // the chosen start, after midnight
    std::int32_t takeSeconds_ = 0;
};

} // namespace murmora
