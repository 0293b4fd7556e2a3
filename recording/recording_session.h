#pragma once
#include <string>

#include "shell/context.h"
#include "shell/resource_pictures.h"

namespace murmora {

// One take at a time from the default input: the start by the record button or Command1,
// the stop by the Cut button or Command2, the save, the seconds display and the scheduled stop.
class RecordingSession {
public:
    RecordingSession(Context& ctx, ResourcePictures& pictures) : ctx_(ctx), pictures_(pictures) {}

    void Command1Click();
    void Command2Click();

    void PictureRecordMouseDown();
    void PictureRecordMouseMove(int button, float x, float y);
    void PictureRecordMouseUp();

    // The Cut button's mouse-down and mouse-move count only during a take.
    bool CutButtonActive() const;
    void SeeThroughCutMouseUp();

    void Timer1Tick();
    void Timer3Tick();

    // Takes left behind by a run that ended in the middle of them go to the home folder,
    // named for when they were last written, and the user is told where each went.
    void RecoverLeftoverTakes();

private:
    // InputLost: a tick found that the device lost its input; the take ends as if stopped.
    enum class StopTrigger { Hotkey, CutButton, InputLost };

    // A take runs, or the device still holds a stopped take that waits for its file name.
    bool StartBlocked() const;
    void StartSequence(bool byRecordButton);
    void Stop(StopTrigger trigger);
    void StopManualTake(StopTrigger trigger);
    void StopScheduledTakeByUser(StopTrigger trigger);
    void ShowStoppedPictures(StopTrigger trigger);
    // The recorder reads idle while the device still holds the take until its save.
    void HoldTakeForSave();

    // "stop capture"; when the take ended early (the input was lost, the sound server did not
    // answer, the take file could not be written to the end), says so before the save.
    void StopCapture();
    // Asks for a file name until the take is saved or the user gives up on it.
    void SaveWithDialog();
    // Saves a stopped scheduled take to the schedule window's path, else to a dated file in
    // the home folder, else lets the user choose the place.
    void SaveScheduledTake();
    void CloseSavedScheduledTake();
    // "save capture" with the path in quotes; true when the file was written.
    bool SaveCaptureAs(const std::string& path);
    // A file name in the home folder that says the moment `when`, free of any existing file.
    std::string DatedTakePath(DateTime when) const;

    Context& ctx_;
    ResourcePictures& pictures_;
};

// The name of a scheduled take that could not go to its target: "Murmora take " and the
// moment it started as "YYYY-MM-DD HH-MM-SS", then " (copy)" from the second copy on, ".wav".
std::string FallbackTakeName(DateTime startTime, int copy = 1);

} // namespace murmora
