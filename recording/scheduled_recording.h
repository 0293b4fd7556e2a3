#pragma once

namespace murmora {

// Where the recorder stands with its take.
enum class RecorderState {
    idle,
    recording,
    // The take is held: nothing is recorded until it resumes, and it ends as a recording one does.
    paused,
    // The take has ended and waits for its file: its end to be written, a file name, a new try.
    holdingTake,
    // The take is being put at its file, off the user-interface thread.
    saving
};

// What the schedule asks of the recorder.
class ScheduledRecording {
public:
    virtual ~ScheduledRecording() = default;
    virtual RecorderState state() const = 0;
    // Starts the scheduled take; when it cannot start, the user is told why.
    virtual void startScheduledTake() = 0;
};

} // namespace murmora
