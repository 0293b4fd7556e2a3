#include "engine/backends/portaudio_backend.h"

#include "engine/call_thread.h"

#include <dlfcn.h>
#include <portaudio.h>

#include <algorithm>
#include <atomic>
#include <thread>

namespace murmora::audio {
namespace {

using Clock = std::chrono::steady_clock;

// PortAudio lists every device when it starts, which takes longer than a device call may; it
// starts once, before the first open (on a machine without a server, or after it went away).
constexpr auto kLibraryStartDeadline = std::chrono::seconds(1);

// PortAudio's calls, from the library loaded the first time a stream is asked of it: it is the
// fallback of machines without a sound server, and linked in, it and the ALSA and JACK libraries
// it brings would be loaded at every start of the program and of mci-shell.
struct PortAudioCalls {
    void* library = nullptr;
    decltype(&Pa_Initialize) initialize = nullptr;
    decltype(&Pa_Terminate) terminate = nullptr;
    decltype(&Pa_GetDefaultInputDevice) getDefaultInputDevice = nullptr;
    decltype(&Pa_GetDefaultOutputDevice) getDefaultOutputDevice = nullptr;
    decltype(&Pa_GetDeviceInfo) getDeviceInfo = nullptr;
    decltype(&Pa_OpenStream) openStream = nullptr;
    decltype(&Pa_GetStreamInfo) getStreamInfo = nullptr;
    decltype(&Pa_SetStreamFinishedCallback) setStreamFinishedCallback = nullptr;
    decltype(&Pa_StartStream) startStream = nullptr;
    decltype(&Pa_StopStream) stopStream = nullptr;
    decltype(&Pa_AbortStream) abortStream = nullptr;
    decltype(&Pa_CloseStream) closeStream = nullptr;
};
PortAudioCalls pa; // filled once by portAudioLoaded(), before any call

template <typename Function>
bool resolve(Function& function, const char* name) {
    function = reinterpret_cast<Function>(::dlsym(pa.library, name));
    return function != nullptr;
}

// The ALSA and JACK host APIs report every device they probe on stderr; none of it is ours.
// PortAudio brings both libraries in itself: their loggers are quieted through the functions
// they export, so that building needs neither library's headers.
void quietAlsa(const char*, int, const char*, int, const char*, ...) {}
void quietJack(const char*) {}

template <typename Handler>
void setHandlerIfLoaded(const char* setterName, Handler handler) {
    if (void* setter = ::dlsym(pa.library, setterName)) reinterpret_cast<void (*)(Handler)>(setter)(handler);
}

void quietHostApis() {
    setHandlerIfLoaded("snd_lib_error_set_handler", &quietAlsa);
    setHandlerIfLoaded("jack_set_error_function", &quietJack);
    setHandlerIfLoaded("jack_set_info_function", &quietJack);
}

bool loadPortAudio() {
    void* library = ::dlopen("libportaudio.so.2", RTLD_NOW | RTLD_LOCAL);
    if (!library) return false;
    pa.library = library;
    const bool complete = resolve(pa.initialize, "Pa_Initialize") && resolve(pa.terminate, "Pa_Terminate") &&
                          resolve(pa.getDefaultInputDevice, "Pa_GetDefaultInputDevice") &&
                          resolve(pa.getDefaultOutputDevice, "Pa_GetDefaultOutputDevice") &&
                          resolve(pa.getDeviceInfo, "Pa_GetDeviceInfo") && resolve(pa.openStream, "Pa_OpenStream") &&
                          resolve(pa.getStreamInfo, "Pa_GetStreamInfo") &&
                          resolve(pa.setStreamFinishedCallback, "Pa_SetStreamFinishedCallback") &&
                          resolve(pa.startStream, "Pa_StartStream") && resolve(pa.stopStream, "Pa_StopStream") &&
                          resolve(pa.abortStream, "Pa_AbortStream") && resolve(pa.closeStream, "Pa_CloseStream");
    if (!complete) {
        pa = {}; // a library without the calls is no PortAudio; it stays loaded, unused
        return false;
    }
    quietHostApis();
    return true;
}

// Whether PortAudio is there to call; loads it the first time, once whichever thread asks.
bool portAudioLoaded() {
    static const bool loaded = loadPortAudio();
    return loaded;
}

// Playing a file is not interactive: a long device buffer costs nothing and wakes the machine
// less ("stop" still ends playback at once: it drops what the device holds). Capture keeps its
// buffer short, since a stop within the deadline drops what the device still holds too.
struct BufferSizes {
    PaTime latency;
    unsigned long framesPerBuffer;
};
constexpr BufferSizes kCaptureBuffers{0.1, 2048};
constexpr BufferSizes kPlaybackBuffers{0.5, 8192};

// What PortAudio's callback reaches. It outlives the stream object, since PortAudio may still
// call back until the stream is closed on the call thread; detach() cuts it off from the sink
// or source, and waits for a callback that is running to return.
struct Relay {
    std::atomic<CaptureSink*> sink{nullptr};
    std::atomic<PlaybackSource*> source{nullptr};
    std::atomic<int> callbacksRunning{0};
    std::atomic<StreamState> state{StreamState::stopped};
    int channels = 0;
    double sampleRate = 0;
    PaTime outputLatency = 0;
    // Playback, on the callback's thread only: once the source has handed over its last frame,
    // the stream time at which that frame leaves the device.
    bool lastHandedOver = false;
    PaTime endTime = 0;

    void detach() {
        sink = nullptr;
        source = nullptr;
        while (callbacksRunning.load() > 0)
            std::this_thread::yield();
    }
};

// PortAudio's own state, touched on the call thread only.
struct Library {
    bool initialised = false;
    int openStreams = 0;

    bool initialise() {
        if (!initialised) initialised = portAudioLoaded() && pa.initialize() == paNoError;
        return initialised;
    }
    // PortAudio lists devices only when it starts: with no stream open, start it afresh at the
    // next attempt, so that a device (or server) that came later is found.
    void forgetDevicesWhenIdle() {
        if (initialised && openStreams == 0) {
            static_cast<void>(pa.terminate()); // it ends what it can, and starts afresh at the next open
            initialised = false;
        }
    }
};

struct Handle {
    PaStream* stream = nullptr;
    bool ok = false; // the last call on the stream succeeded
};

int captureCallback(const void* input, void*, unsigned long frames, const PaStreamCallbackTimeInfo*,
                    PaStreamCallbackFlags flags, void* data) {
    auto& relay = *static_cast<Relay*>(data);
    ++relay.callbacksRunning;
    if (CaptureSink* sink = relay.sink.load(); sink && input && relay.state == StreamState::running)
        sink->onCaptured(static_cast<const std::int16_t*>(input), frames, (flags & paInputOverflow) != 0);
    --relay.callbacksRunning;
    return paContinue;
}

// Plays the source, then silence until the last frame has left the device by the stream's
// clock: at a low rate the device holds seconds of sound, and counting buffers ended early.
int playbackCallback(const void*, void* output, unsigned long frames, const PaStreamCallbackTimeInfo* time,
                     PaStreamCallbackFlags, void* data) {
    auto& relay = *static_cast<Relay*>(data);
    auto* samples = static_cast<std::int16_t*>(output);
    const auto channels = static_cast<unsigned long>(relay.channels);
    std::size_t written = 0;
    ++relay.callbacksRunning;
    PlaybackSource* source = relay.source.load();
    if (source && !relay.lastHandedOver) {
        written = source->onPlayback(samples, frames, relay.lastHandedOver);
        if (relay.lastHandedOver) {
            const PaTime leaves =
                time->outputBufferDacTime > 0 ? time->outputBufferDacTime : time->currentTime + relay.outputLatency;
            relay.endTime = leaves + static_cast<PaTime>(written) / relay.sampleRate;
        }
    }
    --relay.callbacksRunning;
    std::fill(samples + written * channels, samples + frames * channels, std::int16_t{0});
    if (relay.lastHandedOver && time->currentTime >= relay.endTime) {
        relay.state = StreamState::ended;
        return paComplete;
    }
    return paContinue;
}

// A stream that ends while it should run has lost its device; one that played its source's
// last frame has ended. Either is told to the sink or source; a stop asked for is not.
void streamFinished(void* data) {
    auto& relay = *static_cast<Relay*>(data);
    StreamState running = StreamState::running;
    relay.state.compare_exchange_strong(running, StreamState::lost);
    const StreamState state = relay.state.load();
    if (state != StreamState::lost && state != StreamState::ended) return;
    ++relay.callbacksRunning;
    if (CaptureSink* sink = relay.sink.load()) sink->onStreamEnded(state);
    if (PlaybackSource* source = relay.source.load()) source->onStreamEnded(state);
    --relay.callbacksRunning;
}

class PortAudioStream final : public AudioStream {
public:
    PortAudioStream(std::shared_ptr<CallThread> calls, std::shared_ptr<Library> library, std::shared_ptr<Relay> relay,
                    std::shared_ptr<Handle> handle)
        : calls_(std::move(calls)), library_(std::move(library)), relay_(std::move(relay)), handle_(std::move(handle)) {
    }

    ~PortAudioStream() override {
        relay_->detach();
        close(calls_, library_, relay_, handle_);
    }

    std::error_code start() override {
        if (relay_->state == StreamState::lost) return AudioError::deviceFailed;
        if (relay_->state != StreamState::stopped) return {};
        relay_->lastHandedOver = false;
        relay_->state = StreamState::running;
        const std::error_code error = call([](Handle& h) {
            // A stream that ended by itself must be stopped before it starts again.
            const PaError stopped = pa.stopStream(h.stream);
            h.ok = (stopped == paNoError || stopped == paStreamIsStopped) && pa.startStream(h.stream) == paNoError;
        });
        if (error) relay_->state = StreamState::stopped;
        return error;
    }

    // Drops what the device holds: waiting for it would take longer than the deadline allows.
    // A stream that is stopped already, or whose device went away, has nothing to drop.
    std::error_code stop() override {
        StreamState running = StreamState::running;
        relay_->state.compare_exchange_strong(running, StreamState::stopped);
        const std::error_code error = call([](Handle& h) { h.ok = pa.abortStream(h.stream) == paNoError; });
        return error == AudioError::deviceFailed ? std::error_code() : error;
    }

    StreamState state() const override { return relay_->state.load(); }

    // Closes the stream on the call thread, once every call before has run.
    static void close(const std::shared_ptr<CallThread>& calls, const std::shared_ptr<Library>& library,
                      const std::shared_ptr<Relay>& relay, const std::shared_ptr<Handle>& handle) {
        calls->post([library, relay, handle] {
            if (!handle->stream) return;
            // A stream that will not close goes with PortAudio itself once no other is open.
            static_cast<void>(pa.closeStream(handle->stream));
            handle->stream = nullptr;
            --library->openStreams;
            library->forgetDevicesWhenIdle();
        });
    }

private:
    template <typename Call>
    std::error_code call(Call work) {
        auto handle = handle_;
        if (!calls_->run([handle, work] { work(*handle); }, Clock::now() + kDeviceDeadline))
            return AudioError::notAnswering;
        return handle->ok ? std::error_code() : AudioError::deviceFailed;
    }

    std::shared_ptr<CallThread> calls_;
    std::shared_ptr<Library> library_;
    std::shared_ptr<Relay> relay_;
    std::shared_ptr<Handle> handle_;
};

// PortAudio is one library for the whole process: every backend calls it on the same thread
// and shares its state. A backend of its own thread would call it alongside a call of an earlier
// backend still hanging on a stopped server, which corrupts PortAudio's memory.
struct SharedLibrary {
    std::shared_ptr<CallThread> calls = std::make_shared<CallThread>();
    std::shared_ptr<Library> library = std::make_shared<Library>();
};

const SharedLibrary& sharedLibrary() {
    static const SharedLibrary shared;
    return shared;
}

class PortAudioBackend final : public AudioBackend {
public:
    // A library start that outlived its deadline leaves PortAudio started with no stream open.
    ~PortAudioBackend() override {
        calls_->post([library = library_] { library->forgetDevicesWhenIdle(); });
    }

    Result<std::unique_ptr<AudioStream>> openCapture(const StreamFormat& format, CaptureSink& sink) override {
        auto relay = std::make_shared<Relay>();
        relay->sink = &sink;
        return open(format, true, relay);
    }
    Result<std::unique_ptr<AudioStream>> openPlayback(const StreamFormat& format, PlaybackSource& source) override {
        auto relay = std::make_shared<Relay>();
        relay->source = &source;
        return open(format, false, relay);
    }

private:
    Result<std::unique_ptr<AudioStream>> open(const StreamFormat& format, bool input,
                                              const std::shared_ptr<Relay>& relay) {
        relay->channels = format.channels;
        relay->sampleRate = format.sampleRate;
        auto handle = std::make_shared<Handle>();
        if (!calls_->run([library = library_] { library->initialise(); }, Clock::now() + kLibraryStartDeadline))
            return AudioError::notAnswering;
        const bool answered = calls_->run(
            [library = library_, relay, handle, format, input] {
                if (!library->initialise()) return;
                handle->stream = openDefault(format, input, relay.get());
                if (handle->stream) {
                    ++library->openStreams;
                    const PaStreamInfo* info = pa.getStreamInfo(handle->stream);
                    relay->outputLatency = info ? info->outputLatency : 0;
                    pa.setStreamFinishedCallback(handle->stream, &streamFinished);
                } else {
                    library->forgetDevicesWhenIdle();
                }
            },
            Clock::now() + kDeviceDeadline);
        if (!answered) {
            relay->detach();
            PortAudioStream::close(calls_, library_, relay, handle); // once the open is done
            return AudioError::notAnswering;
        }
        if (!handle->stream) return AudioError::deviceFailed;
        return std::make_unique<PortAudioStream>(calls_, library_, relay, handle);
    }

    static PaStream* openDefault(const StreamFormat& format, bool input, Relay* relay) {
        const PaDeviceIndex device = input ? pa.getDefaultInputDevice() : pa.getDefaultOutputDevice();
        const PaDeviceInfo* info = device == paNoDevice ? nullptr : pa.getDeviceInfo(device);
        if (!info) return nullptr;
        PaStreamParameters parameters{};
        parameters.device = device;
        parameters.channelCount = format.channels;
        parameters.sampleFormat = paInt16;
        const BufferSizes& sizes = input ? kCaptureBuffers : kPlaybackBuffers;
        parameters.suggestedLatency =
            std::max(input ? info->defaultHighInputLatency : info->defaultHighOutputLatency, sizes.latency);
        PaStream* stream = nullptr;
        const PaError error =
            pa.openStream(&stream, input ? &parameters : nullptr, input ? nullptr : &parameters, format.sampleRate,
                          sizes.framesPerBuffer, paNoFlag, input ? &captureCallback : &playbackCallback, relay);
        return error == paNoError ? stream : nullptr;
    }

    std::shared_ptr<CallThread> calls_ = sharedLibrary().calls;
    std::shared_ptr<Library> library_ = sharedLibrary().library;
};

} // namespace

std::unique_ptr<AudioBackend> makePortAudioBackend() { return std::make_unique<PortAudioBackend>(); }

} // namespace murmora::audio
