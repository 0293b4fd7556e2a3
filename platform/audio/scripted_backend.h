#pragma once
#include "platform/audio/audio_backend.h"

#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <span>
#include <vector>

namespace murmora::audio {

// A backend without hardware: the caller plays the audio thread and decides which frames come
// in and when output is pulled, so that tests and benchmarks see exactly what the devices do.
class ScriptedBackend final : public AudioBackend {
public:
    ScriptedBackend();
    ~ScriptedBackend() override;

    // While false, no stream opens, as when no sound device can be found.
    void setDeviceAvailable(bool available);
    // While true, a capture stream's stop() waits, as a device that is slow to stop does.
    void holdCaptureStops(bool held);
    int openStreamCount() const;

    // Hands frames to the running capture stream as its callback would; false when none runs.
    bool deliverCapture(std::span<const std::int16_t> interleaved, bool deviceOverflow = false);
    // Pulls frames from the running playback stream; empty when none runs. Once the source has
    // handed over its last frame the stream ends, as a device's does.
    std::vector<float> pullPlayback(std::size_t frames);

    std::unique_ptr<AudioStream> openCapture(const StreamFormat& format, CaptureSink& sink) override;
    std::unique_ptr<AudioStream> openPlayback(const StreamFormat& format, PlaybackSource& source) override;

    class Stream;

private:
    Stream* running(bool capture) const;
    bool isAvailable() const;

    mutable std::mutex mutex_; // held while a callback runs, so that stop() waits for it
    bool available_ = true;
    bool holdCaptureStops_ = false;
    std::condition_variable stopsReleased_;
    std::vector<Stream*> streams_;
};

} // namespace murmora::audio
