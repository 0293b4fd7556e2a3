#pragma once
#include <optional>
#include <string>

#include "buttons/image_button.h"
#include "buttons/resource_pictures.h"
#include "core/date_time.h"
#include "platform/clock.h"
#include "platform/controls.h"
#include "platform/dialogs.h"
#include "platform/files.h"
#include "platform/level_display.h"
#include "platform/mci_service.h"
#include "platform/take_folder.h"
#include "recording/input_level_meter.h"
#include "recording/latest_take.h"
#include "recording/playback_control.h"
#include "recording/scheduled_recording.h"
#include "recording/take_device.h"
#include "recording/take_schedule.h"

namespace murmora {

// 1 while no take runs, 2 while one does, as the rules number them.
enum class RecorderState {
    idle = 1,
    busy = 2
};

struct RecorderServices {
    Clock& clock;
    MciService& mci;
    MessageBoxes& messages;
    Files& files;
    TakeFolder& takes;
    ResourcePictures& pictures;
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
};

// One take at a time from the default input: started by the record button, the record hotkey
// or the schedule; stopped by the stop button, the stop hotkey, the end of a scheduled take's
// time or the loss of the input; then saved where the user says, or for a scheduled take to the
// schedule's target. It shows the seconds of a manual take and keeps what the Play button plays.
class Recorder final : public LatestTake, public ScheduledRecording {
public:
    Recorder(RecorderServices services, RecorderControls controls, PlaybackControl& playback, TakeSchedule& schedule);

    // Start-up: the timers off, the seconds and size labels empty at their place, no level shown.
    void load();
    // Takes left behind by a run that ended in the middle of them go to the home folder,
    // named for when they were last written, and the user is told where each went.
    void recoverLeftoverTakes();
    // The program ends: the timers stop and a running take is discarded without a question.
    void shutDown();

    // Ctrl+Alt+R: stops a playing file, else starts a take.
    void onRecordHotkey();
    // Ctrl+Alt+S: stops the take and saves it.
    void onStopHotkey() { stop(StopTrigger::stopHotkey); }

    std::string latestTakePath() const override { return lastSaveScheduled_ ? scheduledTakePath_ : manualTakePath_; }
    void scheduleArmed(const std::string& target) override { scheduledTakePath_ = target; }
    bool isRecording() const override { return state_ == RecorderState::busy; }
    bool isHoldingTake() const override { return holdingTake_; }
    void startScheduledTake() override;

private:
    // inputLost: a tick found that the device lost its input; the take ends as if stopped.
    enum class StopTrigger {
        stopHotkey,
        stopButton,
        inputLost
    };

    void onRecordButtonDown();
    void onRecordButtonMove(int buttons, float x, float y);
    void onRecordButtonUp();
    void onElapsedTick();
    void onScheduledStopTick();

    // A take runs, or the device still holds a stopped take that waits for its file name.
    bool startBlocked() const { return isRecording() || holdingTake_; }
    void startManualTake();
    // Opens and records a take; false, with the user told why, when it cannot start.
    bool startTake();
    void stop(StopTrigger trigger);
    void stopManualTake(StopTrigger trigger);
    void stopScheduledTakeByUser(StopTrigger trigger);
    void showStoppedPictures(StopTrigger trigger);
    // The recorder reads idle while the device still holds the take until its save.
    void holdTakeForSave();
    void clearDisplay();
    // Shows a picture of the record button; with the recording picture its status is "recording".
    void showRecordButton(const char* bitmap);

    // Stops the device; when the take ended early (the input was lost, the sound server did not
    // answer, the take file could not be written to the end), says so before the save.
    void stopDevice();
    // Asks for a file name until the take is saved or the user gives up on it.
    void saveWithDialog();
    // Saves a stopped scheduled take to the schedule's target, else to a dated file in the home
    // folder, else lets the user choose the place.
    void saveScheduledTake();
    void closeSavedScheduledTake();
    // Saves the take at `path`: nothing when it is there, else the service's words for why not.
    std::optional<std::string> saveAs(const std::string& path);
    // A file name in the home folder that says the moment `when`, free of any existing file.
    std::string datedTakePath(DateTime when) const;
    void tellTakeNotStarted(int result);
    void tell(const std::string& text, MessageStyle style);

    RecorderServices services_;
    RecorderControls controls_;
    PlaybackControl& playback_;
    TakeSchedule& schedule_;
    TakeDevice device_;
    InputLevelMeter levelMeter_;
    ImageButton stopButton_;

    RecorderState state_ = RecorderState::idle;
    bool scheduledTake_ = false;
    // From a stop until its take has been saved or discarded: the device still holds that take
    // although the recorder reads idle.
    bool holdingTake_ = false;
    DateTime takeStart_ = 0;
    ButtonState recordButtonState_ = ButtonState::released;
    // What Play plays: the file of the last manual save, or while the last save was a scheduled
    // one, where that take went (the schedule's target, since a new arming the new target).
    std::string manualTakePath_;
    std::string scheduledTakePath_;
    bool lastSaveScheduled_ = false;
};

// The name of a scheduled take that could not go to its target: "Murmora take " and the
// moment it started as "YYYY-MM-DD HH-MM-SS", then " (copy)" from the second copy on, ".wav".
std::string fallbackTakeName(DateTime startTime, int copy = 1);

} // namespace murmora
