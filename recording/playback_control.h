#pragma once

namespace murmora {

// What the recorder asks of the playback: a take and a playing file do not mix.
class PlaybackControl {
public:
    virtual ~PlaybackControl() = default;
    // True while the last look at the playback found it playing.
    virtual bool isPlaying() const = 0;
    // Stops and closes the playback, whether or not a file plays.
    virtual void stop() = 0;
};

} // namespace murmora
