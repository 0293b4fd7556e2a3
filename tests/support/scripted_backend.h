#pragma once
#include "engine/audio_backend.h"

#include <cstdint>
#include <mutex>
#include <span>
#include <vector>

namespace murmora::audio {

// A backend without hardware: the caller plays the audio thread and decides which frames come
// in and when output is pulled, so that tests and benchmarks see exactly what the devices do.
// Streams that end by themselves tell their sink or source, as a real backend's do.
class ScriptedBackend final : public AudioBackend {
public:
    ScriptedBackend();
    ~ScriptedBackend() override;

    // While false, no stream opens, as when no sound device can be found.
    void setDeviceAvailable(bool available);
    // While false, every open, start and stop fails with notAnswering, as a server that stopped does.
    void setAnswering(bool answering);
    // Every open stream ends as when the server goes away; those running are told so.
    void loseStreams();
    int openStreamCount() const;

    // Hands frames to the running capture stream as its callback would; false when none runs.
    bool deliverCapture(std::span<const std::int16_t> interleaved, bool deviceOverflow = false);
    // Pulls frames from the running playback stream; empty when none runs. The source's frames
    // come first, then silence; once the source has handed over its last frame the stream ends
    // and tells the source, as a device's does once that frame has been played.
    std::vector<std::int16_t> pullPlayback(std::size_t frames);

    Result<std::unique_ptr<AudioStream>> openCapture(const StreamFormat& format, CaptureSink& sink) override;
    Result<std::unique_ptr<AudioStream>> openPlayback(const StreamFormat& format, PlaybackSource& source) override;

    class Stream;

private:
    Stream* running(bool capture) const;
    Result<std::unique_ptr<AudioStream>> open(const StreamFormat& format, CaptureSink* sink, PlaybackSource* source);

    mutable std::mutex mutex_; // held while a callback runs, so that stop() waits for it
    bool available_ = true;
    bool answering_ = true;
    std::vector<Stream*> streams_;
};

} // namespace murmora::audio
