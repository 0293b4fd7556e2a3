#include "recording/recorder.h"

#include <chrono>
#include <ctime>
#include <string_view>

#include "core/paths.h"
#include "core/texts.h"

namespace murmora {

namespace {

// The record button's active area, in twips from its top-left corner; bounds included.
constexpr float kRecordAreaLeftTop = 5.0f;
constexpr float kRecordAreaRight = 1495.0f;
constexpr float kRecordAreaBottom = 310.0f;

const char* const kRecordButtonUp = "recordbuttonup";
const char* const kRecordButtonDown = "recordbuttondown";
const char* const kRecordButtonRecording = "recordbuttonrecording";
// What screen readers hear of the record button while it shows the recording picture.
const char* const kRecordingStatus = "recording";

const char* const kSaveDialogTitle = "Save Recorded File";
constexpr int kSaveDialogFlags = kAskBeforeOverwrite | kHideReadOnly | kFolderMustExist;

const char* const kSavedAs = "Recording saved as  ";
const char* const kNotSaved = "Recording Not Saved";

const char* const kKeptAndSaved = ".\n\nWhat was recorded until then is kept and will be saved.";

const char* const kEndedDuringATake = "Murmora ended during a recording.\n\nWhat was recorded until then is kept as  ";

std::string couldNotSaveAs(const std::string& path, const std::string& why) {
    return "Recording could not be saved as  " + path + "\n" + why;
}

std::string inputLostAfter(long seconds) {
    return "The sound input was lost after " + std::to_string(seconds) + " sec. The recording so far is kept.";
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
                   TakeSchedule& schedule)
    : services_(services), controls_(controls), playback_(playback), schedule_(schedule), device_(services.mci),
      levelMeter_(services.clock, device_, controls.levelTimer, controls.levelDisplay),
      stopButton_(
          services.pictures, controls.stopButton, kStopButtonLayout, [this] { stop(StopTrigger::stopButton); },
          [this] { return isRecording(); }) {
    controls_.recordButton.setMouseHandlers({
        [this](int, float, float) { onRecordButtonDown(); },
        [this](int buttons, float x, float y) { onRecordButtonMove(buttons, x, y); },
        [this](int, float, float) { onRecordButtonUp(); },
    });
    controls_.elapsedTimer.setTickHandler([this] { onElapsedTick(); });
    controls_.scheduledStopTimer.setTickHandler([this] { onScheduledStopTick(); });
}

void Recorder::load() {
    controls_.elapsedTimer.setEnabled(false);
    controls_.scheduledStopTimer.setEnabled(false);
    levelMeter_.endTake();
    controls_.secondsLabel.setLeft(10);
    controls_.sizeLabel.setLeft(10);
    clearDisplay();
}

void Recorder::shutDown() {
    controls_.elapsedTimer.setEnabled(false);
    controls_.scheduledStopTimer.setEnabled(false);
    levelMeter_.endTake();
    if (!isRecording()) return;
    static_cast<void>(device_.stop()); // the take is discarded whatever the device says
    device_.close();
}

void Recorder::clearDisplay() {
    controls_.secondsLabel.setCaption("");
    controls_.sizeLabel.setCaption("");
}

void Recorder::showRecordButton(const char* bitmap) {
    services_.pictures.showBitmap(controls_.recordButton, bitmap);
    const bool recording = std::string_view(bitmap) == kRecordButtonRecording;
    controls_.recordButton.setStatusText(recording ? kRecordingStatus : "");
}

void Recorder::onRecordHotkey() {
    if (playback_.isPlaying()) {
        playback_.stop();
        clearDisplay();
        return;
    }
    if (!startBlocked()) startManualTake();
}

void Recorder::onRecordButtonDown() {
    if (startBlocked()) return;
    showRecordButton(kRecordButtonDown);
    recordButtonState_ = ButtonState::pressed;
    clearDisplay();
    playback_.stop();
}

void Recorder::onRecordButtonMove(int buttons, float x, float y) {
    if (startBlocked() || buttons != kLeftButton) return;
    const bool over =
        x >= kRecordAreaLeftTop && x <= kRecordAreaRight && y >= kRecordAreaLeftTop && y <= kRecordAreaBottom;
    showRecordButton(over ? kRecordButtonDown : kRecordButtonUp);
    recordButtonState_ = over ? ButtonState::pressed : ButtonState::released;
}

void Recorder::onRecordButtonUp() {
    if (startBlocked() || recordButtonState_ != ButtonState::pressed) return;
    recordButtonState_ = ButtonState::released;
    startManualTake();
}

bool Recorder::startTake() {
    showRecordButton(kRecordButtonRecording);
    if (const int failure = device_.openAndRecord(); failure != mci::kSuccess) {
        showRecordButton(kRecordButtonUp);
        tellTakeNotStarted(failure);
        return false;
    }
    state_ = RecorderState::busy;
    takeStart_ = services_.clock.now();
    levelMeter_.startTake();
    return true;
}

void Recorder::startManualTake() {
    if (startTake()) controls_.elapsedTimer.setEnabled(true);
}

void Recorder::startScheduledTake() {
    if (!startTake()) {
        schedule_.takeOver();
        return;
    }
    scheduledTake_ = true;
    controls_.scheduledStopTimer.setEnabled(true);
}

void Recorder::tellTakeNotStarted(int result) {
    const std::string why =
        result == mci::kServerNotAnswering
            ? std::string(kServerDoesNotAnswer) + ": nothing is being recorded. Try again in a moment."
            : device_.errorText(result) + ": nothing is being recorded.";
    tell(why, MessageStyle::exclamation);
}

void Recorder::tell(const std::string& text, MessageStyle style) { services_.messages.show(text, style, kAppTitle); }

void Recorder::stop(StopTrigger trigger) {
    if (!isRecording()) return;
    if (scheduledTake_) {
        stopScheduledTakeByUser(trigger);
    } else {
        stopManualTake(trigger);
    }
}

void Recorder::showStoppedPictures(StopTrigger trigger) {
    // Released by the user, the stop button has shown its released picture already.
    if (trigger != StopTrigger::stopButton) stopButton_.showReleasedPicture();
    showRecordButton(kRecordButtonUp);
}

void Recorder::holdTakeForSave() {
    state_ = RecorderState::idle;
    levelMeter_.endTake();
    // The recorder reads idle from here, but the device holds the take until it is saved: the
    // messages and the dialog of the stop let other events run, and none may start or stop a take.
    holdingTake_ = true;
}

void Recorder::stopManualTake(StopTrigger trigger) {
    showStoppedPictures(trigger);
    holdTakeForSave();
    controls_.elapsedTimer.setEnabled(false);
    stopDevice();
    saveWithDialog();
}

void Recorder::stopScheduledTakeByUser(StopTrigger trigger) {
    schedule_.takeOver();
    showStoppedPictures(trigger);
    controls_.scheduledStopTimer.setEnabled(false);
    scheduledTake_ = false;
    holdTakeForSave();
    stopDevice();
    if (playback_.isPlaying()) playback_.stop();
    saveScheduledTake();
}

void Recorder::onElapsedTick() {
    if (device_.inputLost()) {
        stop(StopTrigger::inputLost);
        return;
    }
    const std::int32_t seconds = wholeSecondsBetween(takeStart_, services_.clock.now());
    controls_.secondsLabel.setCaption(std::to_string(seconds) + " sec");
}

void Recorder::onScheduledStopTick() {
    if (device_.inputLost()) {
        stop(StopTrigger::inputLost);
        return;
    }
    if (wholeSecondsBetween(takeStart_, services_.clock.now()) < schedule_.takeSeconds()) return;
    schedule_.takeOver();
    controls_.scheduledStopTimer.setEnabled(false);
    scheduledTake_ = false;
    showRecordButton(kRecordButtonUp);
    holdTakeForSave();
    if (playback_.isPlaying()) playback_.stop();
    stopDevice();
    saveScheduledTake();
}

void Recorder::stopDevice() {
    switch (const int result = device_.stop()) {
    case mci::kSuccess:
        return;
    case mci::kDeviceLost:
        tell(inputLostAfter(device_.seconds()), MessageStyle::exclamation);
        return;
    case mci::kServerNotAnswering:
        tell(std::string(kServerDoesNotAnswer) + ". The recording so far is kept.", MessageStyle::exclamation);
        return;
    default:
        tell(device_.errorText(result) + kKeptAndSaved, MessageStyle::exclamation);
    }
}

void Recorder::saveWithDialog() {
    FileDialog& dialog = controls_.saveTakeDialog;
    dialog.configure({kSaveDialogTitle, kWavFileFilter, kSaveDialogFlags});
    for (;;) {
        const std::optional<std::string> chosen = dialog.showSave();
        if (!chosen || chosen->empty()) {
            tell(kNotSaved, MessageStyle::exclamation);
            break;
        }
        const auto failure = saveAs(*chosen);
        if (!failure) {
            // Set only once the file exists, so that Play never looks for a file that is not there.
            lastSaveScheduled_ = false;
            manualTakePath_ = *chosen;
            tell(kSavedAs + *chosen, MessageStyle::information);
            break;
        }
        tell(couldNotSaveAs(*chosen, *failure) + "\n\nThe recording is kept: choose another name or folder.",
             MessageStyle::exclamation);
    }
    device_.close();
    holdingTake_ = false;
}

void Recorder::saveScheduledTake() {
    const std::string target = schedule_.targetPath();
    scheduledTakePath_ = target;
    const auto targetFailure = saveAs(target);
    if (!targetFailure) {
        closeSavedScheduledTake();
        return;
    }
    const std::string fallback = datedTakePath(takeStart_);
    const auto fallbackFailure = saveAs(fallback);
    if (!fallbackFailure) {
        scheduledTakePath_ = fallback;
        closeSavedScheduledTake();
        tell(couldNotSaveAs(target, *targetFailure) + "\n\nIt was saved as  " + fallback, MessageStyle::exclamation);
        return;
    }
    // Neither place can be written: the device keeps the take and the user picks the place.
    tell(couldNotSaveAs(target, *targetFailure) + "\nnor as  " + fallback + "\n" + *fallbackFailure +
             "\n\nThe recording is kept: choose where to save it.",
         MessageStyle::exclamation);
    saveWithDialog();
}

std::optional<std::string> Recorder::saveAs(const std::string& path) {
    const int result = device_.saveAs(path);
    if (result == mci::kSuccess) return std::nullopt;
    return device_.errorText(result);
}

void Recorder::closeSavedScheduledTake() {
    device_.close();
    holdingTake_ = false;
    lastSaveScheduled_ = true;
}

std::string Recorder::datedTakePath(DateTime when) const {
    const std::string home = services_.files.homeFolder();
    if (home.empty()) return {}; // no such place: a move or save there fails, the take stays
    std::string path = pathInFolder(home, fallbackTakeName(when));
    for (int copy = 2; services_.files.fileExists(path); ++copy)
        path = pathInFolder(home, fallbackTakeName(when, copy));
    return path;
}

void Recorder::recoverLeftoverTakes() {
    for (const LeftoverTake& take : services_.takes.leftovers()) {
        const std::string recovered = datedTakePath(take.lastWritten);
        const std::string keptAs = services_.files.moveFile(take.path, recovered) ? take.path : recovered;
        tell(kEndedDuringATake + keptAs, MessageStyle::exclamation);
    }
}

} // namespace murmora
