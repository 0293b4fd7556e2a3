#include "recording/recording_session.h"

#include <chrono>
#include <ctime>

#include "platform/mci/mci_errors.h"
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
constexpr int SaveDialogFlags = cdlOFNOverwritePrompt | cdlOFNHideReadOnly | cdlOFNPathMustExist;

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
    pictures_.SetBitmap(ctx_.ui.PictureRecord, "recordbuttonrecording");
    const int failure = OpenAndRecordCapture(ctx_);
    if (byRecordButton) ctx_.m.RecordButtonState = ButtonReleased;
    if (failure != 0) {
        pictures_.SetBitmap(ctx_.ui.PictureRecord, "recordbuttonup");
        TellTakeNotStarted(ctx_, failure);
        return;
    }
    ctx_.m.RecordingState = RecorderBusy;
    ctx_.m.RecordStartTime = ctx_.os.clock.Now();
    ctx_.ui.Timer1.SetEnabled(true);
}

void RecordingSession::Command1Click() {
    if (PlayModeIsPlaying(ctx_)) {
        StopAndClosePlayback(ctx_);
        ctx_.ui.Label1.SetCaption("");
        ctx_.ui.Label2.SetCaption("");
        return;
    }
    if (StartBlocked()) return;
    StartSequence(false);
}

void RecordingSession::PictureRecordMouseDown(int, int, float, float) {
    if (StartBlocked()) return;
    pictures_.SetBitmap(ctx_.ui.PictureRecord, "recordbuttondown");
    ctx_.m.RecordButtonState = ButtonPressed;
    ctx_.ui.Label1.SetCaption("");
    ctx_.ui.Label2.SetCaption("");
    StopAndClosePlayback(ctx_);
}

void RecordingSession::PictureRecordMouseMove(int button, int, float x, float y) {
    if (StartBlocked() || button != LeftButton) return;
    const bool over = x >= RecordAreaLeftTop && x <= RecordAreaRight && y >= RecordAreaLeftTop &&
                      y <= RecordAreaBottom;
    pictures_.SetBitmap(ctx_.ui.PictureRecord, over ? "recordbuttondown" : "recordbuttonup");
    ctx_.m.RecordButtonState = over ? ButtonPressed : ButtonReleased;
}

void RecordingSession::PictureRecordMouseUp(int, int, float, float) {
    if (StartBlocked()) return;
    if (ctx_.m.RecordButtonState == ButtonPressed) StartSequence(true);
}

bool RecordingSession::CutButtonActive() const { return ctx_.m.RecordingState == RecorderBusy; }

void RecordingSession::Command2Click() { Stop(StopTrigger::Hotkey); }

void RecordingSession::SeeThroughCutMouseUp(int, int, float, float) { Stop(StopTrigger::CutButton); }

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
    pictures_.SetButtonPicture(ctx_.ui.SeeThroughCut, CutNormalPicture);
    pictures_.SetBitmap(ctx_.ui.PictureRecord, "recordbuttonup");
    if (trigger == StopTrigger::CutButton) ctx_.m.CutButtonState = ButtonReleased;
}

void RecordingSession::StopManualTake(StopTrigger trigger) {
    ShowStoppedPictures(trigger);
    HoldTakeForSave();
    ctx_.ui.Timer1.SetEnabled(false);
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
        ctx_.os.messages.MsgBox(InputLostAfter(CaptureSeconds(ctx_)), vbExclamation, AppTitle);
        return;
    case mci::kServerNotAnswering:
        ctx_.os.messages.MsgBox(std::string(ServerDoesNotAnswer) + ". The recording so far is kept.", vbExclamation,
                                AppTitle);
        return;
    default:
        ctx_.os.messages.MsgBox(PartlyWritten, vbExclamation, AppTitle);
    }
}

void RecordingSession::SaveWithDialog() {
    FileDialog& dialog = ctx_.ui.CommonDialog1;
    dialog.Configure({SaveDialogTitle, WavFileFilter, SaveDialogFlags});
    for (;;) {
        const std::optional<std::string> chosen = dialog.ShowSave();
        if (!chosen || chosen->empty()) {
            ctx_.os.messages.MsgBox(NotSaved, vbExclamation, AppTitle);
            break;
        }
        if (SaveCaptureAs(*chosen)) {
            // Set only once the file exists, so that Play never looks for a file that is not there.
            ctx_.mod.LastSaveScheduled = false;
            ctx_.m.PlayFileName = *chosen;
            ctx_.os.messages.MsgBox(SavedAs + *chosen, vbInformation, AppTitle);
            break;
        }
        ctx_.os.messages.MsgBox(CouldNotSaveAs(*chosen) + "\n\nThe recording is kept: choose another name or folder.",
                                vbExclamation, AppTitle);
    }
    SendCaptureCommand(ctx_, "close capture");
    ctx_.m.CaptureSavePending = false;
}

void RecordingSession::StopScheduledTakeByUser(StopTrigger trigger) {
    ctx_.ui.Label5.SetCaption("");
    ctx_.ui.Label6.SetCaption("");
    ShowStoppedPictures(trigger);
    ctx_.ui.Timer3.SetEnabled(false);
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
    ctx_.m.RecordSeconds = WholeSecondsBetween(ctx_.m.RecordStartTime, ctx_.os.clock.Now());
    ctx_.ui.Label1.SetCaption(std::to_string(ctx_.m.RecordSeconds) + " sec");
}

void RecordingSession::Timer3Tick() {
    if (CaptureLost(ctx_)) {
        Stop(StopTrigger::InputLost);
        return;
    }
    ctx_.mod.AutoElapsedSeconds = WholeSecondsBetween(ctx_.mod.AutoStartTime, ctx_.os.clock.Now());
    if (ctx_.mod.AutoElapsedSeconds < ctx_.mod.AutoDurationSeconds) return;
    ctx_.ui.Label5.SetCaption("");
    ctx_.ui.Label6.SetCaption("");
    ctx_.ui.Timer3.SetEnabled(false);
    ctx_.m.AutoRecording = false;
    pictures_.SetBitmap(ctx_.ui.PictureRecord, "recordbuttonup");
    HoldTakeForSave();
    if (PlayModeIsPlaying(ctx_)) StopAndClosePlayback(ctx_);
    StopCapture();
    SaveScheduledTake();
}

void RecordingSession::SaveScheduledTake() {
    ctx_.mod.AutoSavePath = ctx_.form2.Text8.Text();
    const std::string target = ctx_.mod.AutoSavePath;
    if (SaveCaptureAs(target)) {
        CloseSavedScheduledTake();
        return;
    }
    const std::string fallback = DatedTakePath(ctx_.mod.AutoStartTime);
    if (SaveCaptureAs(fallback)) {
        ctx_.mod.AutoSavePath = fallback;
        CloseSavedScheduledTake();
        ctx_.os.messages.MsgBox(CouldNotSaveAs(target) + "\n\nIt was saved as  " + fallback, vbExclamation, AppTitle);
        return;
    }
    // Neither place can be written: the device keeps the take and the user picks the place.
    ctx_.os.messages.MsgBox(CouldNotSaveAs(target) + "\nnor as  " + fallback +
                                "\n\nThe recording is kept: choose where to save it.",
                            vbExclamation, AppTitle);
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
    const std::string home = ctx_.os.files.HomeFolder();
    std::string path = PathInFolder(home, FallbackTakeName(when));
    for (int copy = 2; ctx_.os.files.FileExists(path); ++copy) {
        path = PathInFolder(home, FallbackTakeName(when, copy));
    }
    return path;
}

void RecordingSession::RecoverLeftoverTakes() {
    for (const LeftoverTake& take : ctx_.os.takes.Leftovers()) {
        const std::string recovered = DatedTakePath(take.lastWritten);
        const std::string keptAs = ctx_.os.files.MoveFile(take.path, recovered) ? recovered : take.path;
        ctx_.os.messages.MsgBox(EndedDuringATake + keptAs, vbExclamation, AppTitle);
    }
}

} // namespace murmora
