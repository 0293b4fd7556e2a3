#include "recording/input_level_meter.h"

#include "core/texts.h"
#include "platform/level.h"

namespace murmora {

namespace {

// The note for a silent `input`, named when it is known; short enough for the display.
std::string silentNote(const ChosenInput& input) {
    if (input.outputSound) return translated("What the computer plays is silent: nothing is playing.");
    if (input.description.empty())
        return translated("The sound input is silent: check that the microphone is on and not muted.");
    return translated("%s is silent: check that it is on and not muted.", {input.description});
}

} // namespace

InputLevelMeter::InputLevelMeter(Clock& clock, TakeEngine& engine, Timer& levelTimer, LevelDisplay& display)
    : clock_(clock), engine_(engine), levelTimer_(levelTimer), display_(display) {
    levelTimer_.setInterval(kInterval);
    levelTimer_.setTickHandler([this] { onTick(); });
}

void InputLevelMeter::startTake(const ChosenInput& input) {
    silentNote_ = silentNote(input);
    warnedThisTake_ = false;
    resumeTake();
}

void InputLevelMeter::resumeTake() {
    silentSince_.reset();
    clipMarkShown_ = false; // the display has let it go
    levelTimer_.setEnabled(true);
}

void InputLevelMeter::endTake() {
    levelTimer_.setEnabled(false);
    display_.clear();
    hideNote();
}

void InputLevelMeter::onTick() {
    const std::optional<int> peak = engine_.inputPeak();
    if (!peak) {
        // A level the input cannot tell is neither shown nor taken for silence.
        display_.clear();
        clipMarkShown_ = false;
        silentSince_.reset();
        return;
    }
    const double dbfs = peakDbfs(*peak);
    display_.setLevel(dbfs);
    if (!clipMarkShown_ && engine_.inputClipped()) {
        clipMarkShown_ = true;
        display_.showClipMark();
    }
    watchSilence(dbfs);
}

void InputLevelMeter::watchSilence(double dbfs) {
    if (dbfs > kSilenceDbfs) {
        silentSince_.reset();
        hideNote();
        return;
    }
    const DateTime now = clock_.now();
    if (!silentSince_ || now < *silentSince_) silentSince_ = now; // a clock set back starts the count again
    // The clock reads whole seconds: readings more than kSilentSeconds apart are at least that long.
    if (warnedThisTake_ || wholeSecondsBetween(*silentSince_, now) <= kSilentSeconds) return;
    warnedThisTake_ = true;
    noteShown_ = true;
    display_.showNote(silentNote_);
}

void InputLevelMeter::hideNote() {
    if (!noteShown_) return;
    noteShown_ = false;
    display_.hideNote();
}

} // namespace murmora
