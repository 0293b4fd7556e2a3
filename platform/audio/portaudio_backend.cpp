#include "platform/audio/portaudio_backend.h"

#include <alsa/asoundlib.h>
#include <jack/jack.h>
#include <portaudio.h>

#include <algorithm>

namespace murmora::audio {
namespace {

// The ALSA and JACK host APIs report every device they probe on stderr; none of it is ours.
void quietAlsa(const char*, int, const char*, int, const char*, ...) {}
void quietJack(const char*) {}

// Neither recording nor playing a file is interactive: longer device buffers cost nothing and
// wake the machine less ("stop" still ends playback at once: it drops what the device holds).
struct BufferSizes {
    PaTime latency;
    unsigned long framesPerBuffer;
};
constexpr BufferSizes kCaptureBuffers{0.25, 4096};
constexpr BufferSizes kPlaybackBuffers{0.5, 8192};

class PortAudioBackend;

// What the playback callback keeps between calls. Once the source has handed over its last
// frame the stream plays silence for as long as the device holds, then ends: ending at once
// would drop the end of the file still in the device's buffer.
struct PlaybackState {
    PlaybackSource* source = nullptr;
    int channels = 0;
    unsigned long tailFrames = 0; // set once the stream is open, before it first starts
    unsigned long tailLeft = 0;
    bool sourceFinished = false;
};

class PortAudioStream final : public AudioStream {
public:
    PortAudioStream(PortAudioBackend& backend, PaStream* stream, std::unique_ptr<PlaybackState> playback)
        : backend_(backend), stream_(stream), playback_(std::move(playback)) {}
    ~PortAudioStream() override;
    bool start() override { return Pa_StartStream(stream_) == paNoError; }
    void stop() override { Pa_StopStream(stream_); }
    void abort() override { Pa_AbortStream(stream_); }
    bool isActive() const override { return Pa_IsStreamActive(stream_) == 1; }

private:
    PortAudioBackend& backend_;
    PaStream* stream_;
    std::unique_ptr<PlaybackState> playback_; // the playback callback's; null for capture
};

int captureCallback(const void* input, void*, unsigned long frames, const PaStreamCallbackTimeInfo*,
                    PaStreamCallbackFlags flags, void* sink) {
    if (input)
        static_cast<CaptureSink*>(sink)->onCaptured(static_cast<const std::int16_t*>(input), frames,
                                                    (flags & paInputOverflow) != 0);
    return paContinue;
}

int playbackCallback(const void*, void* output, unsigned long frames, const PaStreamCallbackTimeInfo*,
                     PaStreamCallbackFlags, void* userData) {
    auto& state = *static_cast<PlaybackState*>(userData);
    auto* samples = static_cast<float*>(output);
    if (!state.sourceFinished) {
        state.sourceFinished = state.source->onPlayback(samples, frames);
        state.tailLeft = state.tailFrames; // counted from the buffer that holds the last frame
        return paContinue;
    }
    std::fill(samples, samples + frames * static_cast<unsigned long>(state.channels), 0.0f);
    if (state.tailLeft <= frames)
        return paComplete;
    state.tailLeft -= frames;
    return paContinue;
}

class PortAudioBackend final : public AudioBackend {
public:
    ~PortAudioBackend() override {
        if (initialised_)
            Pa_Terminate();
    }

    std::unique_ptr<AudioStream> openCapture(const StreamFormat& format, CaptureSink& sink) override {
        PaStream* stream = open(format, true, &captureCallback, &sink);
        return stream ? std::make_unique<PortAudioStream>(*this, stream, nullptr) : nullptr;
    }
    std::unique_ptr<AudioStream> openPlayback(const StreamFormat& format, PlaybackSource& source) override {
        auto state = std::make_unique<PlaybackState>();
        state->source = &source;
        state->channels = format.channels;
        PaStream* stream = open(format, false, &playbackCallback, state.get());
        if (!stream)
            return nullptr;
        const PaStreamInfo* info = Pa_GetStreamInfo(stream);
        state->tailFrames =
            static_cast<unsigned long>(info->outputLatency * info->sampleRate) + kPlaybackBuffers.framesPerBuffer;
        return std::make_unique<PortAudioStream>(*this, stream, std::move(state));
    }

    void streamClosed() { --openStreams_; }

private:
    PaStream* open(const StreamFormat& format, bool input, PaStreamCallback* callback, void* userData) {
        if (!initialise())
            return nullptr;
        PaStream* stream = openDefault(format, input, callback, userData);
        if (!stream) {
            forgetDevicesWhenIdle();
            return nullptr;
        }
        ++openStreams_;
        return stream;
    }

    bool initialise() {
        if (initialised_)
            return true;
        snd_lib_error_set_handler(&quietAlsa);
        jack_set_error_function(&quietJack);
        jack_set_info_function(&quietJack);
        initialised_ = Pa_Initialize() == paNoError;
        return initialised_;
    }

    // PortAudio lists devices only when it starts: start it afresh at the next attempt.
    void forgetDevicesWhenIdle() {
        if (openStreams_ == 0) {
            Pa_Terminate();
            initialised_ = false;
        }
    }

    static PaStream* openDefault(const StreamFormat& format, bool input, PaStreamCallback* callback, void* userData) {
        const PaDeviceIndex device = input ? Pa_GetDefaultInputDevice() : Pa_GetDefaultOutputDevice();
        const PaDeviceInfo* info = device == paNoDevice ? nullptr : Pa_GetDeviceInfo(device);
        if (!info)
            return nullptr;
        PaStreamParameters parameters{};
        parameters.device = device;
        parameters.channelCount = format.channels;
        parameters.sampleFormat = input ? paInt16 : paFloat32;
        const BufferSizes& sizes = input ? kCaptureBuffers : kPlaybackBuffers;
        parameters.suggestedLatency =
            std::max(input ? info->defaultHighInputLatency : info->defaultHighOutputLatency, sizes.latency);
        PaStream* stream = nullptr;
        const PaError error =
            Pa_OpenStream(&stream, input ? &parameters : nullptr, input ? nullptr : &parameters, format.sampleRate,
                          sizes.framesPerBuffer, paNoFlag, callback, userData);
        return error == paNoError ? stream : nullptr;
    }

    bool initialised_ = false;
    int openStreams_ = 0;
};

PortAudioStream::~PortAudioStream() {
    Pa_CloseStream(stream_);
    backend_.streamClosed();
}

} // namespace

std::unique_ptr<AudioBackend> makePortAudioBackend() { return std::make_unique<PortAudioBackend>(); }

} // namespace murmora::audio
