#include "platform/audio/scripted_backend.h"

#include <algorithm>

namespace murmora::audio {

class ScriptedBackend::Stream final : public AudioStream {
public:
    Stream(ScriptedBackend& backend, const StreamFormat& format, CaptureSink* sink, PlaybackSource* source)
        : backend_(backend), format_(format), sink_(sink), source_(source) {
        std::lock_guard lock(backend_.mutex_);
        backend_.streams_.push_back(this);
    }
    ~Stream() override {
        std::lock_guard lock(backend_.mutex_);
        std::erase(backend_.streams_, this);
    }
    bool start() override { return setActive(true); }
    void stop() override {
        std::unique_lock lock(backend_.mutex_);
        backend_.stopsReleased_.wait(lock, [this] { return !backend_.holdCaptureStops_ || !sink_; });
        active_ = false;
    }
    void abort() override { setActive(false); }
    bool isActive() const override {
        std::lock_guard lock(backend_.mutex_);
        return active_;
    }

private:
    friend class ScriptedBackend;
    bool setActive(bool active) {
        std::lock_guard lock(backend_.mutex_);
        if (active && !backend_.available_)
            return false;
        active_ = active;
        return true;
    }

    ScriptedBackend& backend_;
    StreamFormat format_;
    CaptureSink* sink_;
    PlaybackSource* source_;
    bool active_ = false;
};

ScriptedBackend::ScriptedBackend() = default;
ScriptedBackend::~ScriptedBackend() = default;

void ScriptedBackend::setDeviceAvailable(bool available) {
    std::lock_guard lock(mutex_);
    available_ = available;
}

void ScriptedBackend::holdCaptureStops(bool held) {
    {
        std::lock_guard lock(mutex_);
        holdCaptureStops_ = held;
    }
    stopsReleased_.notify_all();
}

bool ScriptedBackend::isAvailable() const {
    std::lock_guard lock(mutex_);
    return available_;
}

int ScriptedBackend::openStreamCount() const {
    std::lock_guard lock(mutex_);
    return static_cast<int>(streams_.size());
}

ScriptedBackend::Stream* ScriptedBackend::running(bool capture) const {
    const auto found = std::find_if(streams_.begin(), streams_.end(), [capture](const Stream* stream) {
        return stream->active_ && (stream->sink_ != nullptr) == capture;
    });
    return found == streams_.end() ? nullptr : *found;
}

bool ScriptedBackend::deliverCapture(std::span<const std::int16_t> interleaved, bool deviceOverflow) {
    std::lock_guard lock(mutex_);
    Stream* stream = running(true);
    if (!stream)
        return false;
    const auto channels = static_cast<std::size_t>(stream->format_.channels);
    stream->sink_->onCaptured(interleaved.data(), interleaved.size() / channels, deviceOverflow);
    return true;
}

std::vector<float> ScriptedBackend::pullPlayback(std::size_t frames) {
    std::lock_guard lock(mutex_);
    Stream* stream = running(false);
    if (!stream)
        return {};
    std::vector<float> samples(frames * static_cast<std::size_t>(stream->format_.channels));
    if (stream->source_->onPlayback(samples.data(), frames))
        stream->active_ = false;
    return samples;
}

std::unique_ptr<AudioStream> ScriptedBackend::openCapture(const StreamFormat& format, CaptureSink& sink) {
    if (!isAvailable())
        return nullptr;
    return std::make_unique<Stream>(*this, format, &sink, nullptr);
}

std::unique_ptr<AudioStream> ScriptedBackend::openPlayback(const StreamFormat& format, PlaybackSource& source) {
    if (!isAvailable())
        return nullptr;
    return std::make_unique<Stream>(*this, format, nullptr, &source);
}

} // namespace murmora::audio
