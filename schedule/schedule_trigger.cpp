#include "schedule/schedule_trigger.h"

#include "core/texts.h"
#include "schedule/schedule_arithmetic.h"

namespace murmora {

namespace {
const char* const kAlreadyRecording = "AutoRecord not initiated, as already Recording";
const char* const kArmedCaption = "Record:";
} // namespace

ScheduleTrigger::ScheduleTrigger(const Clock& clock, MessageBoxes& messages, ScheduleTriggerControls controls,
                                 ScheduledRecording& recording)
    : clock_(clock), messages_(messages), controls_(controls), recording_(recording) {
    controls_.startTimer.setTickHandler([this] { onTick(); });
}

void ScheduleTrigger::load() {
    disarm();
    clearShown();
}

void ScheduleTrigger::show(const std::string& startText) {
    controls_.captionLabel.setCaption(kArmedCaption);
    controls_.timeLabel.setCaption(startText);
}

void ScheduleTrigger::clearShown() {
    controls_.captionLabel.setCaption("");
    controls_.timeLabel.setCaption("");
}

void ScheduleTrigger::arm(std::optional<std::int32_t> startSeconds, std::int32_t takeSeconds,
                          const std::string& target) {
    base_ = clock_.now();
    // A second reading of the clock, as text. A locale's layout that cannot be read leaves the
    // moment of arming to tell the time of day, so the delay still ends at the chosen time.
    const std::int32_t now = clockTextSeconds(clock_.timeOfDayText()).value_or(secondsAfterMidnight(base_));
    if (startSeconds) startSeconds_ = *startSeconds;
    delaySeconds_ = startDelaySeconds(startSeconds_, now);
    takeSeconds_ = takeSeconds;
    recording_.scheduleArmed(target);
    controls_.startTimer.setEnabled(true);
}

void ScheduleTrigger::onTick() {
    if (wholeSecondsBetween(base_, clock_.now()) < delaySeconds_) return;
    // The recorder still holds a manual take waiting for its file name: starting now would
    // merge into it or throw it away. Keep ticking; the first tick after its save starts.
    if (recording_.isHoldingTake()) return;
    disarm();
    if (!recording_.isRecording()) {
        recording_.startScheduledTake();
        return;
    }
    messages_.show(kAlreadyRecording, MessageStyle::exclamation, kAppTitle);
    clearShown();
}

} // namespace murmora
