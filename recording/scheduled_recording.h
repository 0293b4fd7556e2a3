#pragma once
#include <string>

namespace murmora {

// What the schedule asks of the recorder.
class ScheduledRecording {
public:
    virtual ~ScheduledRecording() = default;
    // A schedule was armed for a take to be saved at `target`: Play looks there while the take
    // saved last was a scheduled one.
    virtual void scheduleArmed(const std::string& target) = 0;
    // True while a take runs.
    virtual bool isRecording() const = 0;
    // True while the recorder holds a stopped take that waits for its file name: no take may
    // start until it is saved or given up.
    virtual bool isHoldingTake() const = 0;
    // Starts the scheduled take; when it cannot start, the user is told why.
    virtual void startScheduledTake() = 0;
};

} // namespace murmora
