#include "recording/recorder.h"

#include <algorithm>
#include <chrono>
#include <ctime>
#include <string_view>
#include <utility>

#include "core/paths.h"
#include "core/texts.h"

namespace murmora {

namespace {

// In twips from the record button's top-left corner.
constexpr ActiveArea kRecordButtonArea{5.0f, 5.0f, 1495.0f, 310.0f};

const char* const kRecordButtonUp = "recordbuttonup";
const char* const kRecordButtonDown = "recordbuttondown";
const char* const kRecordButtonRecording = "recordbuttonrecording";
// What screen readers hear of the record button during a take.
const char* const kRecordingStatus = textKey("recording");
const char* const kPausedStatus = textKey("paused");

const char* const kPauseCommand = textKey("Pause");
const char* const kResumeCommand = textKey("Resume");

const char* const kSaveDialogTitle = textKey("Save Recorded File");

const char* const kSavedAs = textKey("Recording saved as  %s");
const char* const kNotSaved = textKey("Recording Not Saved");

const char* const kSavingAs = textKey("Saving the recording as  %s");
// A save that ends within this time shows no progress window.
constexpr auto kQuietSave = std::chrono::milliseconds(500);

const char* const kSaveBeforeClosing = textKey("A recording is running. Save it before closing?");

const char* const kEndedDuringATake =
    textKey("Murmora ended during a recording.\n\nWhat was recorded until then is kept as  %s");
const char* const kEndedDuringASave =
    textKey("Murmora ended while it saved a recording: the save did not finish.\n\nThe recording is kept as  %s");

std::string couldNotSaveAs(const std::string& path, const std::string& why) {
    return translated("Recording could not be saved as  %s\n%s", {path, why});
}

std::string inputNotThere(const ChosenInput& input) {
    return translated("The input %s is not there; recording from the default input",
                      {input.description.empty() ? input.name : input.description});
}

// What a take that ended before its first frame says: why it ended, if it was cut off.
std::string nothingRecorded(const SoundError& early) {
    switch (early.failure) {
    case SoundFailure::none:
        return translated("No sound was recorded: there is nothing to save.");
    case SoundFailure::deviceLost:
        return translated("The sound input was lost before any sound was recorded: there is nothing to save.");
    case SoundFailure::notAnswering:
        return translated("The sound server does not answer and no sound was recorded: there is nothing to save.");
    default:
        return translated("%s, before any sound was recorded: there is nothing to save.", {early.text});
    }
}

std::string inputLostAfter(long seconds) {
    return translated("The sound input was lost after %s sec. The recording so far is kept.",
                      {std::to_string(seconds)});
}

} // namespace

std::string fallbackTakeName(DateTime startTime, int copy) {
    // DateTime counts local wall-clock seconds, so plain calendar arithmetic gives the local
    // fields, with no time zone involved.
    using namespace std::chrono;
    const sys_seconds moment{seconds{startTime}};
    const sys_days day = floor<days>(moment);
    char stamp[32] = "";
    if (day >= sys_days{year::min() / January / 1} && day <= sys_days{year::max() / December / 31}) {
        const year_month_day date{day};
        const hh_mm_ss time{moment - day};
        std::tm fields{};
        fields.tm_year = static_cast<int>(date.year()) - 1900;
        fields.tm_mon = static_cast<int>(static_cast<unsigned>(date.month())) - 1;
        fields.tm_mday = static_cast<int>(static_cast<unsigned>(date.day()));
        fields.tm_hour = static_cast<int>(time.hours().count());
        fields.tm_min = static_cast<int>(time.minutes().count());
        fields.tm_sec = static_cast<int>(time.seconds().count());
        std::strftime(stamp, sizeof stamp, "%Y-%m-%d %H-%M-%S", &fields);
    }
    const std::string copyMark = copy > 1 ? " (" + std::to_string(copy) + ")" : "";
    return std::string("Murmora take ") + stamp + copyMark + ".wav";
}

Recorder::Recorder(RecorderServices services, RecorderControls controls, PlaybackControl& playback,
                   TakeSchedule& schedule, const TakeChoices& choices)
    : services_(services), controls_(controls), playback_(playback), schedule_(schedule), choices_(choices),
      levelMeter_(services.clock, services.engine, controls.levelTimer, controls.levelDisplay),
      stopButton_(
          services.pictures, services.screen, controls.stopButton, kStopButtonLayout,
          [this] { onStop(TakeEnder::stopButton); }, [this] { return takeRuns() || playback_.isPlaying(); }) {
    controls_.recordButton.setMouseHandlers({
        [this](int, double, double) { onRecordButtonDown(); },
        [this](int buttons, double x, double y) { onRecordButtonMove(buttons, x, y); },
        [this](int, double, double) { onRecordButtonUp(); },
    });
    controls_.elapsedTimer.setTickHandler([this] { onElapsedTick(); });
    controls_.scheduledStopTimer.setTickHandler([this] { onScheduledStopTick(); });
    controls_.saveProgressTimer.setInterval(kQuietSave);
    controls_.saveProgressTimer.setTickHandler([this] { onSaveProgressTick(); });
    services_.engine.setTakeHandlers({.ended = [this](const TakeEnd& end) { onTakeEnded(end); },
                                      .saved = [this](const SoundError& error) { onTakeSaved(error); },
                                      .saveProgress = [this](double done) { onSaveProgress(done); }});
}

void Recorder::load() {
    controls_.elapsedTimer.setEnabled(false);
    controls_.scheduledStopTimer.setEnabled(false);
    controls_.saveProgressTimer.setEnabled(false);
    levelMeter_.endTake();
    controls_.secondsLabel.setLeft(10);
    controls_.sizeLabel.setLeft(10);
    clearDisplay();
}

void Recorder::askBeforeClosing(std::function<void()> closePanel) {
    if (state_ == RecorderState::idle) {
        closePanel();
        return;
    }
    if (!takeRuns()) {
        closeAfterTake_ = std::move(closePanel);
        return;
    }
    // The question is modal but lets the engine's events through: a take that ends by itself
    // meanwhile is told and saved only once the user has answered, as the answer says.
    closingQuestion_ = ClosingQuestion{};
    const SaveAnswer answer = services_.messages.askToSave(translated(kSaveBeforeClosing), kAppTitle);
    const std::optional<ClosingQuestion> asked = std::exchange(closingQuestion_, std::nullopt);
    const std::optional<TakeEnd> endedMeanwhile = asked ? asked->endMeanwhile : std::nullopt;
    switch (answer) {
    case SaveAnswer::save:
        closeAfterTake_ = std::move(closePanel);
        if (endedMeanwhile)
            keepEndedTake(*endedMeanwhile);
        else
            endTake(TakeEnder::panelClosing);
        return;
    case SaveAnswer::discard:
        endTake(TakeEnder::panelClosing);
        services_.engine.discardTake();
        finishTake();
        closePanel();
        return;
    case SaveAnswer::cancel:
        if (endedMeanwhile) keepEndedTake(*endedMeanwhile);
        return;
    }
}

void Recorder::shutDown() {
    controls_.elapsedTimer.setEnabled(false);
    controls_.scheduledStopTimer.setEnabled(false);
    controls_.saveProgressTimer.setEnabled(false);
    levelMeter_.endTake();
}

void Recorder::clearDisplay() {
    controls_.secondsLabel.setCaption("");
    controls_.sizeLabel.setCaption("");
}

void Recorder::showRecordButton(const char* bitmap, const char* status) {
    services_.pictures.showBitmap(controls_.recordButton, bitmap);
    controls_.recordButton.setStatusText(status);
}

// A paused take shows the up picture, steady: a blink would draw the eye from whatever the user
// paused for, and the display says "paused" beside it.
void Recorder::showRecordButtonAtRest() {
    showRecordButton(state_ == RecorderState::recording ? kRecordButtonRecording : kRecordButtonUp, takeStatus());
}

const char* Recorder::takeStatus() const {
    if (state_ == RecorderState::recording) return translated(kRecordingStatus);
    if (state_ == RecorderState::paused) return translated(kPausedStatus);
    return "";
}

void Recorder::onRecordHotkey() {
    if (playback_.isPlaying()) {
        playback_.stop();
        clearDisplay();
        return;
    }
    if (state_ == RecorderState::idle) startManualTake();
}

void Recorder::onStop(TakeEnder ender) {
    if (takeRuns())
        endTake(ender);
    else if (playback_.isPlaying())
        playback_.stop();
}

// The record button starts a take, and pauses or resumes the take running.
void Recorder::onRecordButtonDown() {
    if (state_ != RecorderState::idle && !takeRuns()) return;
    showRecordButton(kRecordButtonDown, takeStatus());
    recordButtonState_ = ButtonState::pressed;
    if (takeRuns()) return;
    clearDisplay();
    playback_.stop();
}

void Recorder::onRecordButtonMove(int buttons, double x, double y) {
    if ((state_ != RecorderState::idle && !takeRuns()) || buttons != kLeftButton) return;
    const bool over = kRecordButtonArea.holds(x, y, services_.screen);
    recordButtonState_ = over ? ButtonState::pressed : ButtonState::released;
    if (over)
        showRecordButton(kRecordButtonDown, takeStatus());
    else
        showRecordButtonAtRest();
}

void Recorder::onRecordButtonUp() {
    if (recordButtonState_ != ButtonState::pressed) return;
    recordButtonState_ = ButtonState::released;
    if (state_ == RecorderState::idle)
        startManualTake();
    else if (takeRuns())
        pauseOrResume();
}

std::optional<std::string> Recorder::takeCommand() const {
    if (state_ == RecorderState::recording) return translated(kPauseCommand);
    if (state_ == RecorderState::paused) return translated(kResumeCommand);
    return std::nullopt;
}

void Recorder::pauseOrResume() {
    if (state_ == RecorderState::recording)
        pauseTake();
    else if (state_ == RecorderState::paused)
        resumeTake();
}

void Recorder::pauseTake() {
    const std::int32_t seconds = recordedSeconds();
    state_ = RecorderState::paused;
    services_.engine.pauseTake();
    take_->secondsBeforeResume = seconds;
    showRecordButtonAtRest();
    levelMeter_.endTake();
    controls_.elapsedTimer.setEnabled(false);
    controls_.secondsLabel.setCaption(pausedCaption());
    controls_.announcer.announce(pausedCaption());
}

std::string Recorder::pausedCaption() const { return translated("%s sec paused", {std::to_string(recordedSeconds())}); }

void Recorder::resumeTake() {
    state_ = RecorderState::recording;
    services_.engine.resumeTake();
    take_->resumedAt = services_.clock.now();
    showRecordButtonAtRest();
    controls_.announcer.announce(translated(kRecordingStatus));
    levelMeter_.resumeTake();
    if (take_->scheduled) {
        clearDisplay(); // a scheduled take shows no seconds
        return;
    }
    controls_.elapsedTimer.setEnabled(true);
    onElapsedTick();
}

std::int32_t Recorder::recordedSeconds() const {
    if (!take_) return 0;
    if (state_ == RecorderState::paused) return take_->secondsBeforeResume;
    return take_->secondsBeforeResume + wholeSecondsBetween(take_->resumedAt, services_.clock.now());
}

bool Recorder::startTake() {
    showRecordButton(kRecordButtonRecording, translated(kRecordingStatus));
    ChosenInput input = choices_.input();
    const SaveFormat format = choices_.format();
    const Result<TakeStarted, SoundError> started = services_.engine.startTake(input.name);
    if (!started) {
        showRecordButton(kRecordButtonUp);
        tellTakeNotStarted(started.error());
        return false;
    }
    state_ = RecorderState::recording;
    const DateTime now = services_.clock.now();
    take_ = TakeInHand{.input = std::move(input),
                       .format = format,
                       .start = now,
                       .resumedAt = now,
                       .defaultInstead = started->defaultInstead};
    levelMeter_.startTake(take_->defaultInstead ? choices_.defaultInput() : take_->input);
    controls_.announcer.announce(translated(kRecordingStatus));
    return true;
}

void Recorder::tellIfDefaultInstead() {
    if (std::exchange(take_->defaultInstead, false)) tell(inputNotThere(take_->input), MessageStyle::exclamation);
}

void Recorder::startManualTake() {
    if (!startTake()) return;
    controls_.elapsedTimer.setEnabled(true);
    tellIfDefaultInstead();
}

void Recorder::startScheduledTake() {
    if (!startTake()) {
        schedule_.takeOver();
        return;
    }
    // The seconds and size of an earlier take or playback say nothing of this one.
    clearDisplay();
    take_->scheduled = true;
    controls_.scheduledStopTimer.setEnabled(true);
    tellIfDefaultInstead();
}

void Recorder::tellTakeNotStarted(const SoundError& error) {
    const std::string why =
        error.failure == SoundFailure::notAnswering
            ? translated("The sound server does not answer: nothing is being recorded. Try again in a moment.")
            : translated("%s: nothing is being recorded.", {error.text});
    tell(why, MessageStyle::exclamation);
}

void Recorder::tell(const std::string& text, MessageStyle style) { services_.messages.show(text, style, kAppTitle); }

void Recorder::endTake(TakeEnder ender) {
    if (!takeRuns()) return;
    if (ender != TakeEnder::itself) announceEnd(recordedSeconds());
    if (take_->scheduled) schedule_.takeOver();
    // Released by the user, the stop button shows its released picture already; the end of a
    // scheduled take's time leaves it alone.
    if (ender != TakeEnder::stopButton && ender != TakeEnder::scheduledTime) stopButton_.showReleasedPicture();
    showRecordButton(kRecordButtonUp);
    controls_.elapsedTimer.setEnabled(false);
    controls_.scheduledStopTimer.setEnabled(false);
    levelMeter_.endTake();
    state_ = RecorderState::holdingTake;
    // A scheduled take stops a playing file: at the end of its time before its input stops,
    // stopped by the user after.
    const bool stopsPlayback = take_->scheduled && playback_.isPlaying();
    if (stopsPlayback && ender == TakeEnder::scheduledTime) playback_.stop();
    if (ender != TakeEnder::itself) services_.engine.stopTake();
    if (stopsPlayback && ender != TakeEnder::scheduledTime) playback_.stop();
}

void Recorder::onElapsedTick() {
    controls_.secondsLabel.setCaption(translated("%s sec", {std::to_string(recordedSeconds())}));
}

void Recorder::onScheduledStopTick() {
    if (take_ && wholeSecondsBetween(take_->start, services_.clock.now()) >= schedule_.takeSeconds())
        endTake(TakeEnder::scheduledTime);
}

void Recorder::announceEnd(std::int64_t seconds) {
    controls_.announcer.announce(translated("recording stopped, %s sec", {std::to_string(seconds)}));
}

void Recorder::onTakeEnded(const TakeEnd& end) {
    if (takeRuns()) { // it ended by itself: the seconds it holds, as its message says them
        announceEnd(end.seconds);
        endTake(TakeEnder::itself);
    }
    if (state_ != RecorderState::holdingTake) return;
    if (closingQuestion_) {
        closingQuestion_->endMeanwhile = end;
        return;
    }
    keepEndedTake(end);
}

void Recorder::keepEndedTake(const TakeEnd& end) {
    if (end.empty) {
        // An empty file would be told as a saved take that holds nothing.
        tell(nothingRecorded(end.early), MessageStyle::exclamation);
        services_.engine.discardTake();
        finishTake();
        return;
    }
    tellEarlyEnd(end);
    if (!take_->scheduled) {
        askForNameAndSave();
        return;
    }
    take_->scheduleTarget = schedule_.targetPath();
    save(take_->scheduleTarget, SaveTarget::scheduleTarget);
}

void Recorder::tellEarlyEnd(const TakeEnd& end) {
    switch (end.early.failure) {
    case SoundFailure::none:
        return;
    case SoundFailure::deviceLost:
        tell(inputLostAfter(end.seconds), MessageStyle::exclamation);
        return;
    case SoundFailure::notAnswering:
        tell(translated("The sound server does not answer. The recording so far is kept."), MessageStyle::exclamation);
        return;
    default:
        tell(translated("%s.\n\nWhat was recorded until then is kept and will be saved.", {end.early.text}),
             MessageStyle::exclamation);
    }
}

void Recorder::askForNameAndSave() {
    FileDialog& dialog = controls_.saveTakeDialog;
    dialog.configure({.title = translated(kSaveDialogTitle),
                      .filter = saveFilterOf(take_->format),
                      .askBeforeOverwrite = true,
                      .folderMustExist = true});
    const std::optional<std::string> chosen = dialog.showSave();
    if (!chosen || chosen->empty()) {
        tell(translated(kNotSaved), MessageStyle::exclamation);
        services_.engine.discardTake();
        finishTake();
        return;
    }
    save(*chosen, SaveTarget::chosenName);
}

void Recorder::save(const std::string& path, SaveTarget target) {
    state_ = RecorderState::saving;
    const SaveFormat format = choices_.formatOfSave(path, take_->format);
    save_ = SaveUnderWay{.target = target, .path = path, .encoding = format != SaveFormat::wav};
    controls_.saveProgressTimer.setEnabled(true);
    services_.engine.saveTake(path, format);
}

void Recorder::onSaveProgressTick() {
    controls_.saveProgressTimer.setEnabled(false);
    if (!save_) return;
    controls_.saveProgress.show(translated(kSavingAs, {save_->path}));
    save_->progressShown = true;
    if (!save_->encoding) return;
    controls_.saveProgress.offerCancel([this] { services_.engine.cancelSave(); });
    if (save_->percent) controls_.saveProgress.setPercent(*save_->percent);
}

void Recorder::onSaveProgress(double done) {
    if (!save_) return;
    const int percent = static_cast<int>(std::clamp(done, 0.0, 1.0) * 100);
    if (save_->percent == percent) return;
    save_->percent = percent;
    if (save_->progressShown) controls_.saveProgress.setPercent(percent);
}

void Recorder::onTakeSaved(const SoundError& error) {
    if (!save_) return;
    const SaveUnderWay done = *std::exchange(save_, std::nullopt);
    controls_.saveProgressTimer.setEnabled(false);
    controls_.saveProgress.hide();
    state_ = RecorderState::holdingTake;
    // Given up by the user, who is there to say where else it goes.
    if (error.failure == SoundFailure::saveCancelled) {
        askForNameAndSave();
        return;
    }
    if (!error) latestTake_ = done.path; // only once the file is there, so that Play never looks in vain
    switch (done.target) {
    case SaveTarget::chosenName:
        if (!error) {
            tell(translated(kSavedAs, {done.path}), MessageStyle::information);
            finishTake();
            return;
        }
        tell(translated("%s\n\nThe recording is kept: choose another name or folder.",
                        {couldNotSaveAs(done.path, error.text)}),
             MessageStyle::exclamation);
        askForNameAndSave();
        return;
    case SaveTarget::scheduleTarget:
    case SaveTarget::datedFallback:
        if (!error) {
            // No message tells that the take went to its target: the schedule's user may be away.
            if (done.target == SaveTarget::scheduleTarget) {
                controls_.announcer.announce(translated(kSavedAs, {done.path}));
                finishTake();
                return;
            }
            const std::string notAtTarget = couldNotSaveAs(take_->scheduleTarget, take_->targetFailure);
            finishTake();
            tell(translated("%s\n\nIt was saved as  %s", {notAtTarget, done.path}), MessageStyle::exclamation);
            return;
        }
        onScheduledSaveFailed(done, error);
    }
}

void Recorder::onScheduledSaveFailed(const SaveUnderWay& failed, const SoundError& error) {
    if (failed.target == SaveTarget::scheduleTarget) take_->targetFailure = error.text;
    std::string notSaved = couldNotSaveAs(take_->scheduleTarget, take_->targetFailure);
    if (failed.target == SaveTarget::scheduleTarget) {
        if (const std::string fallback = datedTakePath(take_->start); !fallback.empty()) {
            save(fallback, SaveTarget::datedFallback);
            return;
        }
    } else {
        notSaved = translated("%s\nnor as  %s\n%s", {notSaved, failed.path, error.text});
    }
    // Neither place can be written, or there is no home folder for a dated name: the engine
    // keeps the take and the user picks the place.
    tell(translated("%s\n\nThe recording is kept: choose where to save it.", {notSaved}), MessageStyle::exclamation);
    askForNameAndSave();
}

void Recorder::finishTake() {
    state_ = RecorderState::idle;
    take_.reset();
    if (auto closePanel = std::exchange(closeAfterTake_, {})) closePanel();
}

std::string Recorder::datedTakePath(DateTime when) const {
    const std::string home = services_.files.homeFolder();
    if (home.empty()) return {}; // no place for it
    std::string path = pathInFolder(home, fallbackTakeName(when));
    for (int copy = 2; services_.files.fileExists(path); ++copy)
        path = pathInFolder(home, fallbackTakeName(when, copy));
    return path;
}

void Recorder::recoverLeftoverTakes() {
    for (const LeftoverTake& take : services_.takes.leftovers()) {
        const std::string recovered = datedTakePath(take.lastWritten);
        const std::string keptAs =
            recovered.empty() || services_.takes.recover(take, recovered) ? take.path : recovered;
        tell(translated(take.saveUnfinished ? kEndedDuringASave : kEndedDuringATake, {keptAs}),
             MessageStyle::exclamation);
    }
}

} // namespace murmora
