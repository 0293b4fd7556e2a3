#pragma once
#include <cstdint>
#include <functional>
#include <string>

#include "core/result.h"
#include "platform/sound_error.h"

namespace murmora {

// A sound file opened for playing.
struct PlaybackLength {
    std::int64_t milliseconds = 0;
    std::int64_t bytes = 0; // of its sound, as stored in the file
};

// One file at a time on the default output.
class PlaybackEngine {
public:
    virtual ~PlaybackEngine() = default;
    // Called on the user-interface thread once the playback has played its last frame, or lost
    // its output. Never after stopPlayback().
    virtual void setPlaybackEndedHandler(std::function<void()> handler) = 0;
    // Opens `path` to play, in place of the file open before.
    virtual Result<PlaybackLength, SoundError> openPlayback(const std::string& path) = 0;
    // Plays the open file from where it stands and returns at once.
    [[nodiscard]] virtual SoundError play() = 0;
    // Stops and closes the open file, if any.
    virtual void stopPlayback() = 0;
};

} // namespace murmora
