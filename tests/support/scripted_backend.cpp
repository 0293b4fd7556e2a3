#include "tests/support/scripted_backend.h"

#include <algorithm>

namespace murmora::audio {

class ScriptedBackend::Stream final : public AudioStream {
public:
    Stream(ScriptedBackend& backend, const StreamFormat& format, CaptureSink* sink, PlaybackSource* source)
        : backend_(backend), format_(format), sink_(sink), source_(source) {
        backend_.streams_.push_back(this);
    }
    ~Stream() override {
        std::lock_guard lock(backend_.mutex_);
        std::erase(backend_.streams_, this);
    }
    std::error_code start() override { return change(StreamState::running); }
    std::error_code stop() override { return change(StreamState::stopped); }
    StreamState state() const override {
        std::lock_guard lock(backend_.mutex_);
        return state_;
    }

private:
    friend class ScriptedBackend;
    // With the backend's lock held: the stream ends by itself, and tells its sink or source.
    void endItself(StreamState state) {
        state_ = state;
        if (sink_) sink_->onStreamEnded(state);
        if (source_) source_->onStreamEnded(state);
    }
    std::error_code change(StreamState next) {
        std::lock_guard lock(backend_.mutex_);
        return changeLocked(next);
    }
    std::error_code changeLocked(StreamState next) {
        if (!backend_.answering_) return AudioError::notAnswering;
        if (state_ == StreamState::lost) return AudioError::deviceFailed;
        if (next == StreamState::running && !backend_.available_) return AudioError::deviceFailed;
        if (state_ != StreamState::ended) state_ = next;
        return {};
    }

    ScriptedBackend& backend_;
    StreamFormat format_;
    CaptureSink* sink_;
    PlaybackSource* source_;
    StreamState state_ = StreamState::stopped;
};

ScriptedBackend::ScriptedBackend() = default;
ScriptedBackend::~ScriptedBackend() = default;

void ScriptedBackend::setDeviceAvailable(bool available) {
    std::lock_guard lock(mutex_);
    available_ = available;
}

void ScriptedBackend::setAnswering(bool answering) {
    std::lock_guard lock(mutex_);
    answering_ = answering;
}

void ScriptedBackend::loseStreams() {
    std::lock_guard lock(mutex_);
    for (Stream* stream : streams_) {
        if (stream->state_ == StreamState::running)
            stream->endItself(StreamState::lost);
        else
            stream->state_ = StreamState::lost;
    }
}

int ScriptedBackend::openStreamCount() const {
    std::lock_guard lock(mutex_);
    return static_cast<int>(streams_.size());
}

ScriptedBackend::Stream* ScriptedBackend::running(bool capture) const {
    const auto found = std::find_if(streams_.begin(), streams_.end(), [capture](const Stream* stream) {
        return stream->state_ == StreamState::running && (stream->sink_ != nullptr) == capture;
    });
    return found == streams_.end() ? nullptr : *found;
}

bool ScriptedBackend::deliverCapture(std::span<const std::int16_t> interleaved, bool deviceOverflow) {
    std::lock_guard lock(mutex_);
    Stream* stream = running(true);
    if (!stream) return false;
    const auto channels = static_cast<std::size_t>(stream->format_.channels);
    stream->sink_->onCaptured(interleaved.data(), interleaved.size() / channels, deviceOverflow);
    return true;
}

std::vector<std::int16_t> ScriptedBackend::pullPlayback(std::size_t frames) {
    std::lock_guard lock(mutex_);
    Stream* stream = running(false);
    if (!stream) return {};
    std::vector<std::int16_t> samples(frames * static_cast<std::size_t>(stream->format_.channels));
    bool last = false;
    stream->source_->onPlayback(samples.data(), frames, last);
    if (last) stream->endItself(StreamState::ended);
    return samples;
}

Result<std::unique_ptr<AudioStream>> ScriptedBackend::open(const StreamFormat& format, CaptureSink* sink,
                                                           PlaybackSource* source) {
    std::lock_guard lock(mutex_);
    if (!answering_) return AudioError::notAnswering;
    if (!available_) return AudioError::deviceFailed;
    return std::make_unique<Stream>(*this, format, sink, source);
}

Result<std::unique_ptr<AudioStream>> ScriptedBackend::openCapture(const StreamFormat& format, CaptureSink& sink) {
    return open(format, &sink, nullptr);
}

Result<std::unique_ptr<AudioStream>> ScriptedBackend::openPlayback(const StreamFormat& format, PlaybackSource& source) {
    return open(format, nullptr, &source);
}

} // namespace murmora::audio
