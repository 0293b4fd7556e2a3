#include "engine/backends/pulse_backend.h"

#include <pulse/pulseaudio.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstring>
#include <string>
#include <vector>

namespace murmora::audio {
namespace {

using Clock = std::chrono::steady_clock;

// Capture comes in small blocks so that a take stops close to the moment asked for; playback is
// not interactive, and a longer buffer wakes the machine less ("stop" drops it at once): the
// server's own default, which paplay has, so that the server asks for about a second at a time.
constexpr pa_usec_t kCaptureFragmentUsec = 50'000;
constexpr pa_usec_t kPlaybackBufferUsec = 2'000'000;
// How often a playback whose last frame is written asks whether the output has started on it.
constexpr pa_usec_t kStartCheckUsec = 20'000;

// Holds the main loop's lock for a scope.
class LoopLock {
public:
    explicit LoopLock(pa_threaded_mainloop* loop) : loop_(loop) { pa_threaded_mainloop_lock(loop_); }
    ~LoopLock() { pa_threaded_mainloop_unlock(loop_); }
    LoopLock(const LoopLock&) = delete;
    LoopLock& operator=(const LoopLock&) = delete;

private:
    pa_threaded_mainloop* loop_;
};

void wakeWaiters(pa_threaded_mainloop* loop) { pa_threaded_mainloop_signal(loop, 0); }

class PulseBackend;

class PulseStream final : public AudioStream {
public:
    PulseStream(PulseBackend& backend, pa_stream* stream, CaptureSink* sink, PlaybackSource* source,
                std::size_t frameBytes);
    ~PulseStream() override;
    // `sourceName`: the input to record from; empty for the default input or for playback.
    std::error_code connect(Clock::time_point deadline, const std::string& sourceName);
    std::error_code start() override;
    std::error_code stop() override;
    StreamState state() const override { return state_.load(); }

private:
    static void onStateChanged(pa_stream* stream, void* self);
    static void disconnectOnceCreated(pa_stream* stream, void*);
    void tellEnded(StreamState state);
    static void onReadable(pa_stream* stream, std::size_t bytes, void* self);
    static void onWritable(pa_stream* stream, std::size_t bytes, void* self);
    static void onTimingAfterLastWrite(pa_stream* stream, int success, void* self);
    static void onStartCheck(pa_mainloop_api*, pa_time_event*, const timeval*, void* self);
    static void onPlayedOut(pa_mainloop_api*, pa_time_event*, const timeval*, void* self);
    void deliverCaptured();
    bool writeFrames(std::size_t bytes);
    std::error_code cork(bool corked);
    void watchForEnd();
    void askWhatIsLeft();
    void tellPlayedOut();
    void dropEndWatch();

    PulseBackend& backend_;
    pa_stream* stream_;
    CaptureSink* sink_;
    PlaybackSource* source_;
    std::size_t frameBytes_;
    std::atomic<StreamState> state_{StreamState::stopped};
    bool lastWritten_ = false;
    pa_operation* timingUpdate_ = nullptr; // asked once the last frame has been written
    pa_time_event* endTimer_ = nullptr;    // rings when the server has played the last frame
};

class PulseBackend final : public AudioBackend {
public:
    PulseBackend() : loop_(pa_threaded_mainloop_new()) {
        pa_threaded_mainloop_set_name(loop_, "murmora-pulse");
        pa_threaded_mainloop_start(loop_);
        LoopLock lock(loop_);
        beginConnect(); // in the background, so that the first take does not wait for it
    }
    ~PulseBackend() override {
        {
            LoopLock lock(loop_);
            dropContext();
        }
        pa_threaded_mainloop_stop(loop_);
        pa_threaded_mainloop_free(loop_);
    }

    Result<std::unique_ptr<AudioStream>> openCapture(const StreamFormat& format, CaptureSink& sink) override {
        const auto deadline = Clock::now() + kDeviceDeadline;
        LoopLock lock(loop_);
        return open(format, &sink, nullptr, {}, deadline);
    }
    Result<std::unique_ptr<AudioStream>> openPlayback(const StreamFormat& format, PlaybackSource& source) override {
        const auto deadline = Clock::now() + kDeviceDeadline;
        LoopLock lock(loop_);
        return open(format, nullptr, &source, {}, deadline);
    }

    Result<OpenedCapture> openCaptureFrom(const std::string& inputName, const StreamFormat& format,
                                          CaptureSink& sink) override {
        const auto deadline = Clock::now() + kDeviceDeadline;
        LoopLock lock(loop_);
        if (const std::error_code error = connectContext(deadline)) return error;
        // PipeWire's server waits for a named input that is not there rather than refusing it:
        // ask first.
        bool there = false;
        if (!inputName.empty()) {
            const auto found = [](pa_context*, const pa_source_info* info, int, void* there) {
                if (info) *static_cast<bool*>(there) = true;
            };
            if (!await(pa_context_get_source_info_by_name(context_, inputName.c_str(), found, &there), deadline))
                return AudioError::notAnswering;
        }
        auto stream = open(format, &sink, nullptr, there ? inputName : std::string(), deadline);
        if (!stream) return stream.error();
        return OpenedCapture{std::move(*stream), !inputName.empty() && !there};
    }

    Result<std::vector<InputDevice>> listInputs() override {
        const auto deadline = Clock::now() + kDeviceDeadline;
        LoopLock lock(loop_);
        if (const std::error_code error = connectContext(deadline)) return error;
        InputListing listing;
        // All three are asked at once, and each is awaited (or cancelled) before the listing goes.
        pa_operation* server = pa_context_get_server_info(context_, &InputListing::onServer, &listing);
        pa_operation* sources = pa_context_get_source_info_list(context_, &InputListing::onSource, &listing);
        pa_operation* sinks = pa_context_get_sink_info_list(context_, &InputListing::onSink, &listing);
        bool answered = true;
        for (pa_operation* operation : {server, sources, sinks})
            answered = await(operation, deadline) && answered;
        if (!answered) return AudioError::notAnswering;
        return listing.inputs();
    }

    pa_threaded_mainloop* loop() const { return loop_; }

    // With the lock held: a timer of the main loop that calls `rang` in `usec`.
    pa_time_event* timerIn(pa_usec_t usec, pa_time_event_cb_t rang, void* data) {
        pa_mainloop_api* api = pa_threaded_mainloop_get_api(loop_);
        timeval at{};
        pa_timeval_add(pa_gettimeofday(&at), usec);
        return api->time_new(api, &at, rang, data);
    }

    // With the lock held: waits until `done()` or `deadline`, whichever comes first.
    template <typename Done>
    bool waitUntil(Done done, Clock::time_point deadline) {
        struct Alarm {
            pa_threaded_mainloop* loop;
            bool rang = false;
        } alarm{loop_};
        const auto left = std::chrono::duration_cast<std::chrono::microseconds>(deadline - Clock::now());
        pa_time_event* timer = timerIn(
            static_cast<pa_usec_t>(std::max<long long>(left.count(), 0)),
            [](pa_mainloop_api*, pa_time_event*, const timeval*, void* data) {
                auto* a = static_cast<Alarm*>(data);
                a->rang = true;
                wakeWaiters(a->loop);
            },
            &alarm);
        while (!done() && !alarm.rang)
            pa_threaded_mainloop_wait(loop_);
        pa_threaded_mainloop_get_api(loop_)->time_free(timer);
        return done();
    }

    // With the lock held: waits for an operation of the server; false when it did not answer in
    // time, and then the operation's callback will not run.
    bool await(pa_operation* operation, Clock::time_point deadline) {
        if (!operation) return false;
        pa_operation_set_state_callback(
            operation, [](pa_operation*, void* loop) { wakeWaiters(static_cast<pa_threaded_mainloop*>(loop)); }, loop_);
        const bool answered =
            waitUntil([operation] { return pa_operation_get_state(operation) != PA_OPERATION_RUNNING; }, deadline);
        if (!answered) pa_operation_cancel(operation);
        pa_operation_unref(operation);
        return answered;
    }

private:
    // The server's answers about its inputs, gathered on the main loop's thread.
    class InputListing {
    public:
        static void onServer(pa_context*, const pa_server_info* info, void* self) {
            if (info && info->default_source_name)
                static_cast<InputListing*>(self)->defaultName_ = info->default_source_name;
        }
        static void onSource(pa_context*, const pa_source_info* info, int, void* self) {
            if (info && info->monitor_of_sink == PA_INVALID_INDEX)
                static_cast<InputListing*>(self)->devices_.push_back(
                    {info->name, describe(info->description, info->name)});
        }
        static void onSink(pa_context*, const pa_sink_info* info, int, void* self) {
            if (info && info->monitor_source_name)
                static_cast<InputListing*>(self)->outputs_.push_back(
                    {info->monitor_source_name, describe(info->description, info->name), false, true});
        }
        std::vector<InputDevice> inputs() {
            std::vector<InputDevice> all = std::move(devices_);
            all.insert(all.end(), outputs_.begin(), outputs_.end());
            for (InputDevice& input : all)
                input.isDefault = input.name == defaultName_;
            return all;
        }

    private:
        static std::string describe(const char* description, const char* name) {
            return description && *description ? description : name;
        }
        std::string defaultName_;
        std::vector<InputDevice> devices_;
        std::vector<InputDevice> outputs_;
    };

    // With the lock held.
    Result<std::unique_ptr<AudioStream>> open(const StreamFormat& format, CaptureSink* sink, PlaybackSource* source,
                                              const std::string& sourceName, Clock::time_point deadline) {
        if (const std::error_code error = connectContext(deadline)) return error;
        const pa_sample_spec sampleFormat{PA_SAMPLE_S16LE, static_cast<std::uint32_t>(format.sampleRate),
                                          static_cast<std::uint8_t>(format.channels)};
        pa_channel_map map{};
        pa_channel_map_init_extend(&map, sampleFormat.channels, PA_CHANNEL_MAP_DEFAULT);
        pa_proplist* properties = pa_proplist_new();
        pa_proplist_sets(properties, PA_PROP_MEDIA_ROLE, "production");
        pa_stream* stream = pa_sample_spec_valid(&sampleFormat)
                                ? pa_stream_new_with_proplist(context_, sink ? "Recording" : "Playback", &sampleFormat,
                                                              &map, properties)
                                : nullptr;
        pa_proplist_free(properties);
        if (!stream) return AudioError::deviceFailed;
        auto opened = std::make_unique<PulseStream>(*this, stream, sink, source, pa_frame_size(&sampleFormat));
        if (const std::error_code error = opened->connect(deadline, sourceName)) return error;
        return opened;
    }

    // With the lock held: a connection that is ready, or why there is none.
    std::error_code connectContext(Clock::time_point deadline) {
        if (context_ && !PA_CONTEXT_IS_GOOD(pa_context_get_state(context_))) dropContext();
        if (!context_ && !beginConnect()) return AudioError::noServer;
        const bool settled = waitUntil(
            [this] {
                const pa_context_state_t state = pa_context_get_state(context_);
                return state == PA_CONTEXT_READY || !PA_CONTEXT_IS_GOOD(state);
            },
            deadline);
        if (!settled) {
            dropContext(); // the server is there but silent: try afresh next time
            return AudioError::notAnswering;
        }
        if (pa_context_get_state(context_) == PA_CONTEXT_READY) return {};
        dropContext();
        return AudioError::noServer;
    }

    bool beginConnect() {
        pa_proplist* properties = pa_proplist_new();
        pa_proplist_sets(properties, PA_PROP_APPLICATION_NAME, "Murmora");
        pa_proplist_sets(properties, PA_PROP_APPLICATION_ICON_NAME, "murmora");
        pa_proplist_sets(properties, PA_PROP_APPLICATION_ID, "murmora");
        context_ = pa_context_new_with_proplist(pa_threaded_mainloop_get_api(loop_), "Murmora", properties);
        pa_proplist_free(properties);
        if (!context_) return false;
        pa_context_set_state_callback(
            context_, [](pa_context*, void* loop) { wakeWaiters(static_cast<pa_threaded_mainloop*>(loop)); }, loop_);
        if (pa_context_connect(context_, nullptr, PA_CONTEXT_NOAUTOSPAWN, nullptr) < 0) {
            dropContext();
            return false;
        }
        return true;
    }

    void dropContext() {
        if (!context_) return;
        pa_context_set_state_callback(context_, nullptr, nullptr);
        pa_context_disconnect(context_);
        pa_context_unref(context_);
        context_ = nullptr;
    }

    pa_threaded_mainloop* loop_;
    pa_context* context_ = nullptr;
};

PulseStream::PulseStream(PulseBackend& backend, pa_stream* stream, CaptureSink* sink, PlaybackSource* source,
                         std::size_t frameBytes)
    : backend_(backend), stream_(stream), sink_(sink), source_(source), frameBytes_(frameBytes) {
    pa_stream_set_state_callback(stream_, &PulseStream::onStateChanged, this);
    if (sink_)
        pa_stream_set_read_callback(stream_, &PulseStream::onReadable, this);
    else
        pa_stream_set_write_callback(stream_, &PulseStream::onWritable, this);
}

PulseStream::~PulseStream() {
    LoopLock lock(backend_.loop());
    dropEndWatch();
    pa_stream_set_read_callback(stream_, nullptr, nullptr);
    pa_stream_set_write_callback(stream_, nullptr, nullptr);
    if (pa_stream_get_state(stream_) == PA_STREAM_CREATING) {
        // The server has not answered the stream's creation yet (it was too slow, or stopped):
        // a stream cannot be disconnected before then, and would stay on the server. It goes
        // once the server answers, or with the connection.
        pa_stream_set_state_callback(stream_, &PulseStream::disconnectOnceCreated, nullptr);
        return;
    }
    pa_stream_set_state_callback(stream_, nullptr, nullptr);
    pa_stream_disconnect(stream_);
    pa_stream_unref(stream_);
}

void PulseStream::disconnectOnceCreated(pa_stream* stream, void*) {
    const pa_stream_state_t state = pa_stream_get_state(stream);
    if (state == PA_STREAM_CREATING) return;
    pa_stream_set_state_callback(stream, nullptr, nullptr);
    if (state == PA_STREAM_READY) pa_stream_disconnect(stream);
    pa_stream_unref(stream);
}

// With the lock held. The stream starts corked: it opens now and records or plays at start().
std::error_code PulseStream::connect(Clock::time_point deadline, const std::string& sourceName) {
    const pa_sample_spec* sampleFormat = pa_stream_get_sample_spec(stream_);
    constexpr auto unset = static_cast<std::uint32_t>(-1);
    pa_buffer_attr buffer{unset, unset, unset, unset, unset};
    const auto flags = static_cast<pa_stream_flags_t>(PA_STREAM_START_CORKED | PA_STREAM_ADJUST_LATENCY);
    int status = 0;
    if (sink_) {
        buffer.fragsize = static_cast<std::uint32_t>(pa_usec_to_bytes(kCaptureFragmentUsec, sampleFormat));
        // The take records the input the user chose, or nothing: never moved to another one.
        status = sourceName.empty()
                     ? pa_stream_connect_record(stream_, nullptr, &buffer, flags)
                     : pa_stream_connect_record(stream_, sourceName.c_str(), &buffer,
                                                static_cast<pa_stream_flags_t>(flags | PA_STREAM_DONT_MOVE));
    } else {
        buffer.tlength = static_cast<std::uint32_t>(pa_usec_to_bytes(kPlaybackBufferUsec, sampleFormat));
        status = pa_stream_connect_playback(stream_, nullptr, &buffer, flags, nullptr, nullptr);
    }
    if (status < 0) return AudioError::deviceFailed;
    const bool settled = backend_.waitUntil(
        [this] {
            const pa_stream_state_t state = pa_stream_get_state(stream_);
            return state == PA_STREAM_READY || !PA_STREAM_IS_GOOD(state);
        },
        deadline);
    if (!settled) return AudioError::notAnswering;
    if (pa_stream_get_state(stream_) != PA_STREAM_READY) return AudioError::deviceFailed;
    return {};
}

std::error_code PulseStream::start() {
    LoopLock lock(backend_.loop());
    if (state_ == StreamState::lost) return AudioError::deviceFailed;
    if (state_ == StreamState::ended) return {};
    const std::error_code error = cork(false);
    if (error) return error;
    state_ = StreamState::running;
    if (lastWritten_ && !timingUpdate_ && !endTimer_) watchForEnd(); // all of it was written before
    return {};
}

std::error_code PulseStream::stop() {
    LoopLock lock(backend_.loop());
    if (state_ != StreamState::running) return {};
    if (sink_) {
        // The server answers the cork after every block it sent before, and those have all
        // reached the sink by then. Without an answer, nothing more reaches it.
        const std::error_code error = cork(true);
        state_ = StreamState::stopped;
        return error;
    }
    // Nothing to wait for: what the server still holds is dropped.
    state_ = StreamState::stopped;
    dropEndWatch();
    lastWritten_ = false;
    for (pa_operation* operation :
         {pa_stream_cork(stream_, 1, nullptr, nullptr), pa_stream_flush(stream_, nullptr, nullptr)})
        if (operation) pa_operation_unref(operation);
    return {};
}

std::error_code PulseStream::cork(bool corked) {
    const auto deadline = Clock::now() + kDeviceDeadline;
    if (!backend_.await(pa_stream_cork(stream_, corked ? 1 : 0, nullptr, nullptr), deadline))
        return AudioError::notAnswering;
    return {};
}

void PulseStream::dropEndWatch() {
    if (timingUpdate_) {
        pa_operation_cancel(timingUpdate_);
        pa_operation_unref(timingUpdate_);
        timingUpdate_ = nullptr;
    }
    if (endTimer_) {
        pa_mainloop_api* api = pa_threaded_mainloop_get_api(backend_.loop());
        api->time_free(endTimer_);
        endTimer_ = nullptr;
    }
}

void PulseStream::onStateChanged(pa_stream* stream, void* self) {
    auto& me = *static_cast<PulseStream*>(self);
    if (!PA_STREAM_IS_GOOD(pa_stream_get_state(stream)) && me.state_ != StreamState::lost) {
        const bool running = me.state_ == StreamState::running;
        me.state_ = StreamState::lost;
        if (running) me.tellEnded(StreamState::lost);
    }
    wakeWaiters(me.backend_.loop());
}

void PulseStream::tellEnded(StreamState state) {
    if (sink_)
        sink_->onStreamEnded(state);
    else
        source_->onStreamEnded(state);
}

void PulseStream::onReadable(pa_stream*, std::size_t, void* self) {
    static_cast<PulseStream*>(self)->deliverCaptured();
}

void PulseStream::deliverCaptured() {
    const void* data = nullptr;
    std::size_t bytes = 0;
    while (pa_stream_readable_size(stream_) > 0 && pa_stream_peek(stream_, &data, &bytes) == 0 && bytes > 0) {
        if (state_ == StreamState::running)
            sink_->onCaptured(static_cast<const std::int16_t*>(data), data ? bytes / frameBytes_ : 0, !data);
        pa_stream_drop(stream_);
    }
}

void PulseStream::onWritable(pa_stream* stream, std::size_t, void* self) {
    auto& me = *static_cast<PulseStream*>(self);
    // One write takes at most a memory block: write until the server has all it asked for.
    for (std::size_t bytes = 0; !me.lastWritten_ && (bytes = pa_stream_writable_size(stream)) >= me.frameBytes_ &&
                                bytes != static_cast<std::size_t>(-1);)
        if (!me.writeFrames(bytes)) break;
}

// Writes what the source has, up to `bytes`; silence only when the source has nothing yet and
// more to come (the file could not be read in time), so that the stream keeps its pace. False
// when nothing could be written.
bool PulseStream::writeFrames(std::size_t bytes) {
    void* buffer = nullptr;
    if (pa_stream_begin_write(stream_, &buffer, &bytes) < 0 || !buffer || bytes < frameBytes_) return false;
    const std::size_t room = bytes / frameBytes_;
    bool last = false;
    std::size_t frames = source_->onPlayback(static_cast<std::int16_t*>(buffer), room, last);
    if (frames == 0 && !last) {
        std::memset(buffer, 0, room * frameBytes_);
        frames = room;
    }
    if (frames > 0)
        pa_stream_write(stream_, buffer, frames * frameBytes_, nullptr, 0, PA_SEEK_RELATIVE);
    else
        pa_stream_cancel_write(stream_);
    if (last) {
        lastWritten_ = true;
        if (state_ == StreamState::running) watchForEnd();
    }
    return true;
}

// With the last frame written and the stream running. A file shorter than the server's
// prebuffer plays only when asked to. The end is told once the server has played the last
// frame, by its own account of how long it still needs: a drain would tell it too, but some
// servers confirm a drain long after the sound has gone (PulseAudio's null output: 1.5 s).
void PulseStream::watchForEnd() {
    if (pa_operation* start = pa_stream_trigger(stream_, nullptr, nullptr)) pa_operation_unref(start);
    askWhatIsLeft();
}

void PulseStream::askWhatIsLeft() {
    timingUpdate_ = pa_stream_update_timing_info(stream_, &PulseStream::onTimingAfterLastWrite, this);
    if (!timingUpdate_) tellPlayedOut();
}

void PulseStream::onTimingAfterLastWrite(pa_stream* stream, int success, void* self) {
    auto& me = *static_cast<PulseStream*>(self);
    pa_operation_unref(me.timingUpdate_);
    me.timingUpdate_ = nullptr;
    const pa_timing_info* timing = success ? pa_stream_get_timing_info(stream) : nullptr;
    pa_usec_t left = 0;
    int negative = 0;
    if (!timing || pa_stream_get_latency(stream, &left, &negative) < 0 || negative) {
        me.tellPlayedOut();
        return;
    }
    // Until the output has started on the stream, its account says nothing of when it will end.
    const bool started = timing->playing || timing->read_index >= timing->write_index;
    me.endTimer_ = me.backend_.timerIn(started ? left : kStartCheckUsec,
                                       started ? &PulseStream::onPlayedOut : &PulseStream::onStartCheck, self);
}

void PulseStream::onStartCheck(pa_mainloop_api* api, pa_time_event* timer, const timeval*, void* self) {
    auto& me = *static_cast<PulseStream*>(self);
    api->time_free(timer);
    me.endTimer_ = nullptr;
    me.askWhatIsLeft();
}

void PulseStream::onPlayedOut(pa_mainloop_api* api, pa_time_event* timer, const timeval*, void* self) {
    auto& me = *static_cast<PulseStream*>(self);
    api->time_free(timer);
    me.endTimer_ = nullptr;
    me.tellPlayedOut();
}

void PulseStream::tellPlayedOut() {
    if (state_ == StreamState::running) {
        state_ = StreamState::ended;
        tellEnded(StreamState::ended);
    }
    wakeWaiters(backend_.loop());
}

} // namespace

std::unique_ptr<AudioBackend> makePulseBackend() { return std::make_unique<PulseBackend>(); }

} // namespace murmora::audio
