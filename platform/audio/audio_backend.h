#pragma once
#include <cstddef>
#include <cstdint>
#include <memory>

namespace murmora::audio {

// Interleaved frames at a given rate; capture is 16-bit, playback 32-bit float.
struct StreamFormat {
    int sampleRate = 44100;
    int channels = 2;
};

// Receives captured frames on the audio thread. Must not block, lock, allocate or touch files.
class CaptureSink {
public:
    virtual void onCaptured(const std::int16_t* samples, std::size_t frames, bool deviceOverflow) noexcept = 0;

protected:
    ~CaptureSink() = default;
};

// Fills every requested frame on the audio thread (silence where it has none) and answers
// true once the last frame has been handed over. Same restrictions as CaptureSink.
class PlaybackSource {
public:
    virtual bool onPlayback(float* samples, std::size_t frames) noexcept = 0;

protected:
    ~PlaybackSource() = default;
};

// An open stream on a device; closed when destroyed.
class AudioStream {
public:
    virtual ~AudioStream() = default;
    virtual bool start() = 0;
    // Returns once the callback has handed over its last buffer.
    virtual void stop() = 0;
    // Ends at once, dropping what the device still holds.
    virtual void abort() = 0;
    // False once stopped, or once a playback source has delivered its last frame and it has played.
    virtual bool isActive() const = 0;
};

// The machine's default input and output. Streams must be destroyed before the backend.
class AudioBackend {
public:
    virtual ~AudioBackend() = default;
    // Null when there is no usable default device.
    virtual std::unique_ptr<AudioStream> openCapture(const StreamFormat& format, CaptureSink& sink) = 0;
    virtual std::unique_ptr<AudioStream> openPlayback(const StreamFormat& format, PlaybackSource& source) = 0;
};

} // namespace murmora::audio
