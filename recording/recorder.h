#pragma once
#include <functional>
#include <optional>
#include <string>

#include "buttons/image_button.h"
#include "buttons/resource_pictures.h"
#include "core/date_time.h"
#include "platform/announcer.h"
#include "platform/clock.h"
#include "platform/controls.h"
#include "platform/dialogs.h"
#include "platform/files.h"
#include "platform/level_display.h"
#include "platform/screen_metrics.h"
#include "platform/take_engine.h"
#include "platform/take_folder.h"
#include "recording/input_level_meter.h"
#include "recording/latest_take.h"
#include "recording/playback_control.h"
#include "recording/scheduled_recording.h"
#include "recording/take_choices.h"
#include "recording/take_schedule.h"

namespace murmora {

struct RecorderServices {
    Clock& clock;
    TakeEngine& engine;
    MessageBoxes& messages;
    Files& files;
    TakeFolder& takes;
    ResourcePictures& pictures;
    const ScreenMetrics& screen;
};

struct RecorderControls {
    PictureButton& recordButton;
    PictureButton& stopButton;
    Label& secondsLabel; // the seconds of a manual take
    Label& sizeLabel;    // emptied with the seconds when a take is about to start
    Timer& elapsedTimer;
    Timer& scheduledStopTimer;
    Timer& levelTimer; // the input level while a take records
    LevelDisplay& levelDisplay;
    FileDialog& saveTakeDialog;
    Timer& saveProgressTimer; // how long a save may run before its progress window shows
    ProgressWindow& saveProgress;
    Announcer& announcer; // the take's start, pause, resume, end and a save no message tells
};

// One take at a time from the input chosen in the panel's menu: started by the record button,
// the record hotkey or the schedule; ended by the stop button, the stop hotkey, the end of a
// scheduled take's time or by itself (its input lost, the disk full); then saved where the user
// says, or for a scheduled take to the schedule's target, in the format chosen when it started
// unless the file's name says another. It shows the seconds of a manual take and keeps what the
// Play button plays.
class Recorder final : public LatestTake, public ScheduledRecording, public TakeCommands {
public:
    Recorder(RecorderServices services, RecorderControls controls, PlaybackControl& playback, TakeSchedule& schedule,
             const TakeChoices& choices);

    // Start-up: the timers off, the seconds and size labels empty at their place, no level shown.
    void load();
    // Takes left behind by a run that ended in the middle of them go to the home folder,
    // named for when they were last written, and the user is told where each went.
    void recoverLeftoverTakes();
    // Before the panel closes: `closePanel` runs at once when no take runs. During a take the
    // user is asked whether to save it first: Save ends it as Stop does and closes the panel once
    // it is saved or given up; Discard discards it and closes; Cancel lets it record on. A take
    // that has ended and waits for its file closes the panel once it is saved or given up.
    void askBeforeClosing(std::function<void()> closePanel);
    // The program ends: the timers stop. A take that was neither saved nor discarded stays with
    // the engine, which keeps it where the next start recovers it.
    void shutDown();

    // Ctrl+Alt+R: stops a playing file, else starts a take.
    void onRecordHotkey();
    // Ctrl+Alt+S: ends the take and saves it, or when no take runs, stops a playing file.
    void onStopHotkey() { onStop(TakeEnder::stopHotkey); }
    // Ctrl+Alt+P: pauses the take recording, or resumes the take paused.
    void onPauseHotkey() { pauseOrResume(); }

    // The menu's entry for the take running: "Pause" or "Resume".
    std::optional<std::string> takeCommand() const override;
    void runTakeCommand() override { pauseOrResume(); }

    std::string latestTakePath() const override { return latestTake_; }
    RecorderState state() const override { return state_; }
    void startScheduledTake() override;

private:
    enum class TakeEnder {
        stopHotkey,
        stopButton,
        scheduledTime,
        panelClosing,
        itself // the engine ended the take: its input was lost, or the disk refused it
    };
    // Where a save puts the take.
    enum class SaveTarget {
        chosenName,
        scheduleTarget,
        datedFallback // the schedule's target could not be written
    };
    // The take running or held, from its start until it is saved or given up.
    struct TakeInHand {
        // The input and format as chosen when it started.
        ChosenInput input{};
        SaveFormat format = SaveFormat::wav;
        DateTime start = 0;
        // Its seconds before its latest resume, and when that was (its start, if none).
        std::int32_t secondsBeforeResume = 0;
        DateTime resumedAt = 0;
        bool scheduled = false;
        // It records from the default input, as its own was not there: not told yet.
        bool defaultInstead = false;
        // A scheduled take's target, once it is saved, and why a save there failed.
        std::string scheduleTarget{};
        std::string targetFailure{};
    };
    // A save of the take, from its start until the engine tells how it went.
    struct SaveUnderWay {
        SaveTarget target = SaveTarget::chosenName;
        std::string path{};
        // It encodes the take: the share of it done, in percent, once told.
        bool encoding = false;
        std::optional<int> percent{};
        bool progressShown = false;
    };
    // The user is asked whether to save the take before the panel closes; the take's end, when
    // it came meanwhile.
    struct ClosingQuestion {
        std::optional<TakeEnd> endMeanwhile;
    };

    // The stop button and hotkey.
    void onStop(TakeEnder ender);
    void onRecordButtonDown();
    void onRecordButtonMove(int buttons, double x, double y);
    void onRecordButtonUp();
    // A take recording or paused.
    bool takeRuns() const { return state_ == RecorderState::recording || state_ == RecorderState::paused; }
    void pauseOrResume();
    void pauseTake();
    void resumeTake();
    // The whole seconds the take has recorded, as the display shows them.
    std::int32_t recordedSeconds() const;
    void onElapsedTick();
    void onScheduledStopTick();

    // Opens and records a take; false, with the user told why, when it cannot start.
    bool startTake();
    // Says that the take records from the default input, when its own was not there.
    void tellIfDefaultInstead();
    void startManualTake();
    void tellTakeNotStarted(const SoundError& error);
    // The one way a take ends, whatever ends it: the pictures, the timers and the playback as
    // the ender wants them, then the engine writes the take's end.
    void endTake(TakeEnder ender);
    // Tells screen readers that the take ended after `seconds`.
    void announceEnd(std::int64_t seconds);
    void onTakeEnded(const TakeEnd& end);
    // The take has ended and is held: says why it ended early, then saves it, or lets it go
    // when it holds nothing.
    void keepEndedTake(const TakeEnd& end);
    // Says why the take ended early or holds less than was recorded, before it is saved.
    void tellEarlyEnd(const TakeEnd& end);
    void clearDisplay();
    // The seconds of a paused take as the display shows them, and so as screen readers hear them.
    std::string pausedCaption() const;
    // Shows a picture of the record button, and what screen readers hear of it then.
    void showRecordButton(const char* bitmap, const char* status = "");
    // The picture the record button shows when it is not pressed.
    void showRecordButtonAtRest();
    // What screen readers hear of the record button: "recording", "paused" or nothing.
    const char* takeStatus() const;

    // Asks for a file name and saves there; a cancel discards the take.
    void askForNameAndSave();
    void save(const std::string& path, SaveTarget target);
    void onSaveProgressTick();
    void onSaveProgress(double done);
    void onTakeSaved(const SoundError& error);
    void onScheduledSaveFailed(const SaveUnderWay& failed, const SoundError& error);
    // The take is saved, or given up: the recorder is idle again.
    void finishTake();
    // A file name in the home folder that says the moment `when`, free of any existing file.
    std::string datedTakePath(DateTime when) const;
    void tell(const std::string& text, MessageStyle style);

    RecorderServices services_;
    RecorderControls controls_;
    PlaybackControl& playback_;
    TakeSchedule& schedule_;
    const TakeChoices& choices_;
    InputLevelMeter levelMeter_;
    ImageButton stopButton_;

    RecorderState state_ = RecorderState::idle;
    std::optional<TakeInHand> take_;
    std::optional<SaveUnderWay> save_;
    std::optional<ClosingQuestion> closingQuestion_;
    ButtonState recordButtonState_ = ButtonState::released;
    // What Play plays: the take saved last.
    std::string latestTake_;
    // The panel's closing, waiting for the take to be saved or given up.
    std::function<void()> closeAfterTake_;
};

// The name of a scheduled take that could not go to its target: "Murmora take " and the
// moment it started as "YYYY-MM-DD HH-MM-SS", then " (N)" from the second copy N on, ".wav".
std::string fallbackTakeName(DateTime startTime, int copy = 1);

} // namespace murmora
