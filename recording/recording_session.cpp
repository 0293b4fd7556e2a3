#include "recording/recording_session.h"

#include <chrono>
#include <ctime>

#include "platform/mci_service.h"
#include "recording/mci_commands.h"
#include "shell/paths.h"

namespace murmora {

namespace {

// The record button's active area, in twips from its top-left corner; bounds included.
constexpr float RecordAreaLeftTop = 5.0f;
constexpr float RecordAreaRight = 1495.0f;
constexpr float RecordAreaBottom = 310.0f;

constexpr int CutNormalPicture = 105;

const char* const SaveDialogTitle = "Save Recorded File";
constexpr int SaveDialogFlags = kAskBeforeOverwrite | kHideReadOnly | kFolderMustExist;

const char* const SavedAs = "Recording saved as  ";
const char* const NotSaved = "Recording Not Saved";

const char* const PartlyWritten = "The recording could not be written to its end (is the disk full?).\n\n"
                                  "What was recorded until then is kept and will be saved.";

const char* const EndedDuringATake =
    "Murmora ended during a recording.\n\nWhat was recorded until then is kept as  ";

std::string CouldNotSaveAs(const std::string& path) { return "Recording could not be saved as  " + path; }

std::string InputLostAfter(long seconds) {
    return "The sound input was lost after " + std::to_string(seconds) + " sec. The recording so far is kept.";
}

} // namespace

std::string FallbackTakeName(DateTime startTime, int copy) {
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

bool RecordingSession::StartBlocked() const {
    return ctx_.m.RecordingState == RecorderBusy || ctx_.m.CaptureSavePending;
}

void RecordingSession::StartSequence(bool byRecordButton) {
    pictures_.showBitmap(ctx_.ui.PictureRecord, "recordbuttonrecording");
    const int failure = OpenAndRecordCapture(ctx_);
    if (byRecordButton) ctx_.m.RecordButtonState = ButtonReleased;
    if (failure != 0) {
        pictures_.showBitmap(ctx_.ui.PictureRecord, "recordbuttonup");
        TellTakeNotStarted(ctx_, failure);
        return;
    }
    ctx_.m.RecordingState = RecorderBusy;
    ctx_.m.RecordStartTime = ctx_.os.clock.now();
    ctx_.ui.Timer1.setEnabled(true);
}

void RecordingSession::Command1Click() {
    if (PlayModeIsPlaying(ctx_)) {
        StopAndClosePlayback(ctx_);
        ctx_.ui.Label1.setCaption("");
        ctx_.ui.Label2.setCaption("");
        return;
    }
    if (StartBlocked()) return;
    StartSequence(false);
}

void RecordingSession::PictureRecordMouseDown() {
    if (StartBlocked()) return;
    pictures_.showBitmap(ctx_.ui.PictureRecord, "recordbuttondown");
    ctx_.m.RecordButtonState = ButtonPressed;
    ctx_.ui.Label1.setCaption("");
    ctx_.ui.Label2.setCaption("");
    StopAndClosePlayback(ctx_);
}

void RecordingSession::PictureRecordMouseMove(int button, float x, float y) {
    if (StartBlocked() || button != kLeftButton) return;
    const bool over = x >= RecordAreaLeftTop && x <= RecordAreaRight && y >= RecordAreaLeftTop &&
                      y <= RecordAreaBottom;
    pictures_.showBitmap(ctx_.ui.PictureRecord, over ? "recordbuttondown" : "recordbuttonup");
    ctx_.m.RecordButtonState = over ? ButtonPressed : ButtonReleased;
}

void RecordingSession::PictureRecordMouseUp() {
    if (StartBlocked()) return;
    if (ctx_.m.RecordButtonState == ButtonPressed) StartSequence(true);
}

bool RecordingSession::CutButtonActive() const { return ctx_.m.RecordingState == RecorderBusy; }

void RecordingSession::Command2Click() { Stop(StopTrigger::Hotkey); }

void RecordingSession::SeeThroughCutMouseUp() { Stop(StopTrigger::CutButton); }

void RecordingSession::Stop(StopTrigger trigger) {
    if (ctx_.m.RecordingState != RecorderBusy) return;
    if (trigger == StopTrigger::CutButton && ctx_.m.CutButtonState != ButtonPressed) return;
    if (ctx_.m.AutoRecording) {
        StopScheduledTakeByUser(trigger);
    } else {
        StopManualTake(trigger);
    }
}

void RecordingSession::ShowStoppedPictures(StopTrigger trigger) {
    pictures_.showCustomPicture(ctx_.ui.SeeThroughCut, CutNormalPicture);
    pictures_.showBitmap(ctx_.ui.PictureRecord, "recordbuttonup");
    if (trigger == StopTrigger::CutButton) ctx_.m.CutButtonState = ButtonReleased;
}

void RecordingSession::StopManualTake(StopTrigger trigger) {
    ShowStoppedPictures(trigger);
    HoldTakeForSave();
    ctx_.ui.Timer1.setEnabled(false);
    StopCapture();
    SaveWithDialog();
}

void RecordingSession::HoldTakeForSave() {
    ctx_.m.RecordingState = RecorderIdle;
    // The recorder reads idle from here, but the device holds the take until it is saved: the
    // messages and the dialog of the stop let other events run, and none may start or stop a take.
    ctx_.m.CaptureSavePending = true;
}

void RecordingSession::StopCapture() {
    switch (SendCaptureCommand(ctx_, "stop capture")) {
    case mci::kSuccess:
        return;
    case mci::kDeviceLost:
        ctx_.os.messages.show(InputLostAfter(CaptureSeconds(ctx_)), MessageStyle::exclamation, AppTitle);
        return;
    case mci::kServerNotAnswering:
        ctx_.os.messages.show(std::string(ServerDoesNotAnswer) + ". The recording so far is kept.", MessageStyle::exclamation,
                                AppTitle);
        return;
    default:
        ctx_.os.messages.show(PartlyWritten, MessageStyle::exclamation, AppTitle);
    }
}

void RecordingSession::SaveWithDialog() {
    FileDialog& dialog = ctx_.ui.CommonDialog1;
    dialog.configure({SaveDialogTitle, WavFileFilter, SaveDialogFlags});
    for (;;) {
        const std::optional<std::string> chosen = dialog.showSave();
        if (!chosen || chosen->empty()) {
            ctx_.os.messages.show(NotSaved, MessageStyle::exclamation, AppTitle);
            break;
        }
        if (SaveCaptureAs(*chosen)) {
            // Set only once the file exists, so that Play never looks for a file that is not there.
            ctx_.mod.LastSaveScheduled = false;
            ctx_.m.PlayFileName = *chosen;
            ctx_.os.messages.show(SavedAs + *chosen, MessageStyle::information, AppTitle);
            break;
        }
        ctx_.os.messages.show(CouldNotSaveAs(*chosen) + "\n\nThe recording is kept: choose another name or folder.",
                                MessageStyle::exclamation, AppTitle);
    }
    SendCaptureCommand(ctx_, "close capture");
    ctx_.m.CaptureSavePending = false;
}

void RecordingSession::StopScheduledTakeByUser(StopTrigger trigger) {
    ctx_.ui.Label5.setCaption("");
    ctx_.ui.Label6.setCaption("");
    ShowStoppedPictures(trigger);
    ctx_.ui.Timer3.setEnabled(false);
    ctx_.m.AutoRecording = false;
    HoldTakeForSave();
    StopCapture();
    if (PlayModeIsPlaying(ctx_)) StopAndClosePlayback(ctx_);
    SaveScheduledTake();
}

void RecordingSession::Timer1Tick() {
    if (CaptureLost(ctx_)) {
        Stop(StopTrigger::InputLost);
        return;
    }
    ctx_.m.RecordSeconds = wholeSecondsBetween(ctx_.m.RecordStartTime, ctx_.os.clock.now());
    ctx_.ui.Label1.setCaption(std::to_string(ctx_.m.RecordSeconds) + " sec");
}

void RecordingSession::Timer3Tick() {
    if (CaptureLost(ctx_)) {
        Stop(StopTrigger::InputLost);
        return;
    }
    ctx_.mod.AutoElapsedSeconds = wholeSecondsBetween(ctx_.mod.AutoStartTime, ctx_.os.clock.now());
    if (ctx_.mod.AutoElapsedSeconds < ctx_.mod.AutoDurationSeconds) return;
    ctx_.ui.Label5.setCaption("");
    ctx_.ui.Label6.setCaption("");
    ctx_.ui.Timer3.setEnabled(false);
    ctx_.m.AutoRecording = false;
    pictures_.showBitmap(ctx_.ui.PictureRecord, "recordbuttonup");
    HoldTakeForSave();
    if (PlayModeIsPlaying(ctx_)) StopAndClosePlayback(ctx_);
    StopCapture();
    SaveScheduledTake();
}

void RecordingSession::SaveScheduledTake() {
    ctx_.mod.AutoSavePath = ctx_.form2.Text8.text();
    const std::string target = ctx_.mod.AutoSavePath;
    if (SaveCaptureAs(target)) {
        CloseSavedScheduledTake();
        return;
    }
    const std::string fallback = DatedTakePath(ctx_.mod.AutoStartTime);
    if (SaveCaptureAs(fallback)) {
        ctx_.mod.AutoSavePath = fallback;
        CloseSavedScheduledTake();
        ctx_.os.messages.show(CouldNotSaveAs(target) + "\n\nIt was saved as  " + fallback, MessageStyle::exclamation, AppTitle);
        return;
    }
    // Neither place can be written: the device keeps the take and the user picks the place.
    ctx_.os.messages.show(CouldNotSaveAs(target) + "\nnor as  " + fallback +
                                "\n\nThe recording is kept: choose where to save it.",
                            MessageStyle::exclamation, AppTitle);
    SaveWithDialog();
}

void RecordingSession::CloseSavedScheduledTake() {
    SendCaptureCommand(ctx_, "close capture");
    ctx_.m.CaptureSavePending = false;
    ctx_.mod.LastSaveScheduled = true;
}

bool RecordingSession::SaveCaptureAs(const std::string& path) {
    return SendCaptureCommand(ctx_, "save capture " + QuotedPath(path)) == 0;
}

std::string RecordingSession::DatedTakePath(DateTime when) const {
    const std::string home = ctx_.os.files.homeFolder();
    std::string path = PathInFolder(home, FallbackTakeName(when));
    for (int copy = 2; ctx_.os.files.fileExists(path); ++copy) {
        path = PathInFolder(home, FallbackTakeName(when, copy));
    }
    return path;
}

void RecordingSession::RecoverLeftoverTakes() {
    for (const LeftoverTake& take : ctx_.os.takes.leftovers()) {
        const std::string recovered = DatedTakePath(take.lastWritten);
        const std::string keptAs = !ctx_.os.files.moveFile(take.path, recovered) ? recovered : take.path;
        ctx_.os.messages.show(EndedDuringATake + keptAs, MessageStyle::exclamation, AppTitle);
    }
}

} // namespace murmora
