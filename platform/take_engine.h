#pragma once
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "platform/sound_error.h"

namespace murmora {

// How a take ended, told once every frame it received is in its file.
struct TakeEnd {
    // The whole seconds the take holds.
    std::int64_t seconds = 0;
    // Empty when it ended as asked; else why it ended early or holds less than was captured:
    // its input was lost, the sound server did not confirm the stop, or the disk refused frames.
    SoundError early;
};

// What the engine tells about the take, on the user-interface thread.
struct TakeHandlers {
    // The take has ended, asked by stopTake() or by itself (the input was lost, the disk
    // filled). It is kept until it is saved or discarded.
    std::function<void(const TakeEnd&)> ended;
    // A save asked by saveTake() is done: the error is empty when the take is at its path and
    // the take is then gone from the engine; otherwise the take is kept for another try.
    std::function<void(const SoundError&)> saved;
};

// One take at a time from the default input into a file of its own, saved off the
// user-interface thread. No call waits on the disk, and none waits on the sound server longer
// than its short deadline.
class TakeEngine {
public:
    virtual ~TakeEngine() = default;
    virtual void setTakeHandlers(TakeHandlers handlers) = 0;
    // Opens a new take and starts recording it; nothing records when it fails.
    [[nodiscard]] virtual SoundError startTake() = 0;
    // Ends the take and returns at once; the `ended` handler follows.
    virtual void stopTake() = 0;
    // Puts the ended take at `path` and returns at once; the `saved` handler follows.
    virtual void saveTake(const std::string& path) = 0;
    // Lets the take go: it is not saved.
    virtual void discardTake() = 0;
    // The largest sample magnitude (0 to 32768) of the input's latest 40 to 50 ms while a take
    // records; nothing when the input cannot tell.
    virtual std::optional<int> inputPeak() const = 0;
};

} // namespace murmora
