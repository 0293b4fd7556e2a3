#pragma once
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "core/result.h"
#include "platform/settings.h"
#include "platform/sound_error.h"

namespace murmora {

// How a take ended, told once every frame it received is in its file.
struct TakeEnd {
    // The whole seconds the take holds.
    std::int64_t seconds = 0;
    // Empty when it ended as asked; else why it ended early or holds less than was captured:
    // its input was lost, the sound server did not confirm the stop, or the disk refused frames.
    SoundError early;
    // Not one frame reached the take: there is nothing to save.
    bool empty = false;
};

// What the engine tells about the take, on the user-interface thread.
struct TakeHandlers {
    // The take has ended, asked by stopTake() or by itself (the input was lost, the disk
    // filled). It is kept until it is saved or discarded.
    std::function<void(const TakeEnd&)> ended;
    // A save asked by saveTake() is done: the error is empty when the take is at its path and
    // the take is then gone from the engine; otherwise the take is kept for another try.
    std::function<void(const SoundError&)> saved;
    // A save that encodes the take has done this share of it (0 to 1); told now and then, and
    // always before `saved`.
    std::function<void(double done)> saveProgress;
};

// An input a take can record from.
struct SoundInput {
    std::string name;         // the engine's own name for it, which startTake() takes
    std::string description;  // for the user; for the sound an output plays, that output's description
    bool isDefault = false;   // the default input of the machine
    bool outputSound = false; // what an output plays, not a device's input
    bool operator==(const SoundInput&) const = default;
};

// How a take started.
struct TakeStarted {
    // The input asked for is not there: the take records from the default input.
    bool defaultInstead = false;
};

// One take at a time from a chosen input into a file of its own, saved off the user-interface
// thread in the format asked for. No call waits on the disk, and none waits on the sound server
// longer than its short deadline.
class TakeEngine {
public:
    virtual ~TakeEngine() = default;
    virtual void setTakeHandlers(TakeHandlers handlers) = 0;
    // The inputs of the machine as they are now: the devices' inputs, then what each output
    // plays. An engine that records from the default input only lists none.
    [[nodiscard]] virtual Result<std::vector<SoundInput>, SoundError> listInputs() = 0;
    // The formats saveTake() writes: WAV, and those it can encode a take into.
    virtual std::vector<SaveFormat> saveFormats() const = 0;
    // Opens a new take from the input listInputs() named `inputName`, or from the default input
    // when that is empty or not there, and starts recording it; nothing records when it fails.
    [[nodiscard]] virtual Result<TakeStarted, SoundError> startTake(const std::string& inputName) = 0;
    // Ends the take and returns at once; the `ended` handler follows.
    virtual void stopTake() = 0;
    // Holds the take and returns at once: nothing is captured until resumeTake(), and the take's
    // file stays whole meanwhile. A take that the sound server will not hold ends by itself.
    virtual void pauseTake() = 0;
    // Records on into the same take, the frames after the pause right after those before it, and
    // returns at once. A take that cannot record on ends by itself (the `ended` handler says why).
    virtual void resumeTake() = 0;
    // Puts the ended take at `path` in `format` and returns at once; the `saved` handler follows.
    virtual void saveTake(const std::string& path, SaveFormat format) = 0;
    // Gives up the save under way, if it can still be given up: `saved` then tells
    // SoundFailure::saveCancelled, and the take is kept.
    virtual void cancelSave() = 0;
    // Lets the take go: it is not saved.
    virtual void discardTake() = 0;
    // The largest sample magnitude (0 to 32768) of the input's latest 40 to 50 ms while a take
    // records; nothing when the input cannot tell.
    virtual std::optional<int> inputPeak() const = 0;
    // Whether a sample of the take recording now has reached full scale.
    virtual bool inputClipped() const = 0;
};

} // namespace murmora
