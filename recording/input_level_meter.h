#pragma once
#include <chrono>
#include <optional>
#include <string>

#include "core/date_time.h"
#include "platform/clock.h"
#include "platform/controls.h"
#include "platform/level_display.h"
#include "platform/take_engine.h"
#include "recording/take_choices.h"

namespace murmora {

// The input level on the panel's display while a take records, and a note when the input stays
// silent, so that a muted or wrong microphone is found at once rather than at the end of a take
// started by a hotkey from another program. The note neither stops nor holds the take. Once a
// sample has reached full scale, a clip mark shows until the take ends.
class InputLevelMeter {
public:
    static constexpr auto kInterval = std::chrono::milliseconds(50);
    // At or below this level the input counts as silent: a muted input's noise floor, well under
    // any voice or room the microphone hears.
    static constexpr double kSilenceDbfs = -70.0;
    static constexpr int kSilentSeconds = 5;

    InputLevelMeter(Clock& clock, TakeEngine& engine, Timer& levelTimer, LevelDisplay& display);

    // The level shows from the next tick; a new take may warn of silence once, naming `input`.
    void startTake(const ChosenInput& input);
    // The level shows again from the next tick, after a pause; the note comes at most once a take.
    void resumeTake();
    // Neither the bar nor the note is left on the display: the take has ended, or is paused.
    void endTake();

private:
    void onTick();
    void watchSilence(double dbfs);
    void hideNote();

    Clock& clock_;
    TakeEngine& engine_;
    Timer& levelTimer_;
    LevelDisplay& display_;
    // The clock's reading when the input fell silent, while it stays so.
    std::optional<DateTime> silentSince_;
    std::string silentNote_;
    bool warnedThisTake_ = false;
    bool noteShown_ = false;
    bool clipMarkShown_ = false;
};

} // namespace murmora
