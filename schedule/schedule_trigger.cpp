#include "schedule/schedule_trigger.h"

#include "core/texts.h"
#include "schedule/schedule_arithmetic.h"

namespace murmora {

namespace {
const char* const kAlreadyRecording = textKey("AutoRecord not initiated, as already Recording");
// TRANSLATORS: shown on the panel before the start time of an armed schedule; keep it short.
const char* const kArmedCaption = textKey("Record:");
// A tick this far past the second's start reads the new second, even from a timer that fires a
// little early.
constexpr std::chrono::milliseconds kPastTheSecond{20};
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
    controls_.captionLabel.setCaption(translated(kArmedCaption));
    controls_.timeLabel.setCaption(startText);
}

void ScheduleTrigger::clearShown() {
    controls_.captionLabel.setCaption("");
    controls_.timeLabel.setCaption("");
}

void ScheduleTrigger::arm(std::optional<std::int32_t> startSeconds, std::int32_t takeSeconds) {
    base_ = clock_.now();
    // A second reading of the clock, as text. A locale's layout that cannot be read leaves the
    // moment of arming to tell the time of day, so the delay still ends at the chosen time.
    const std::int32_t now = clockTextSeconds(clock_.timeOfDayText()).value_or(secondsAfterMidnight(base_));
    if (startSeconds) startSeconds_ = *startSeconds;
    delaySeconds_ = startDelaySeconds(startSeconds_, now);
    takeSeconds_ = takeSeconds;
    aimAtNextSecond();
    controls_.startTimer.setEnabled(true);
}

void ScheduleTrigger::aimAtNextSecond() { controls_.startTimer.setInterval(clock_.untilNextSecond() + kPastTheSecond); }

void ScheduleTrigger::onTick() {
    // Each tick is aimed anew: one that came late or early starts the next on its second again.
    aimAtNextSecond();
    if (wholeSecondsBetween(base_, clock_.now()) < delaySeconds_) return;
    switch (recording_.state()) {
    case RecorderState::holdingTake:
    case RecorderState::saving:
        // An earlier take waits for its file: the first tick after it is saved starts.
        return;
    case RecorderState::idle:
        disarm();
        recording_.startScheduledTake();
        return;
    case RecorderState::recording:
    case RecorderState::paused:
        disarm();
        messages_.show(translated(kAlreadyRecording), MessageStyle::exclamation, kAppTitle);
        clearShown();
    }
}

} // namespace murmora
