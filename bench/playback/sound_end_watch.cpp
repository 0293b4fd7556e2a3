// Listens to what the default output plays (its monitor) and, once it has heard sound followed
// by SILENCE_MS of silence, prints when the output played the first and the last loud frame,
// in seconds of the monotonic clock (that of std::chrono::steady_clock and QElapsedTimer):
// "LAST FIRST". When a frame was played comes from the server's own account of the monitor
// stream's latency, taken after every block. The monitor asks for 5 ms blocks, which hold the
// output to a short latency: an output that renders far ahead rewinds when a stream comes or
// goes, and the monitor would then have heard frames that were never played.
// usage: sound-end-watch [SILENCE_MS=1000]
#include <pulse/pulseaudio.h>

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

constexpr int kRate = 44100;
constexpr int kChannels = 2;
constexpr pa_usec_t kBlockUsec = 5000;
constexpr int kSoundThreshold = 1000; // above the noise of any resampling

double monotonicSeconds() {
    return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

struct Watch {
    pa_threaded_mainloop* loop = nullptr;
    double silenceFrames = kRate;
    std::int64_t framesRead = 0;
    std::int64_t lastLoudFrame = -1; // the last loud frame heard, counted from the monitor's start
    std::int64_t firstLoudFrame = -1;
    // A frame of the monitor and when the output played it, by the server's latest account.
    std::int64_t timedFrame = -1;
    double timedFramePlayed = 0;
    pa_operation* timing = nullptr;
    std::string monitorName;
    bool done = false;
    bool failed = false;
};

// The server's account of the stream's latency, just received: the next frame to read was
// played that long ago, or will be played in that long when negative.
void onTiming(pa_stream* stream, int success, void* data) {
    auto& watch = *static_cast<Watch*>(data);
    pa_operation_unref(watch.timing);
    watch.timing = nullptr;
    pa_usec_t age = 0;
    int negative = 0;
    if (!success || pa_stream_get_latency(stream, &age, &negative) < 0) return;
    watch.timedFrame = watch.framesRead;
    watch.timedFramePlayed = monotonicSeconds() - (negative ? -1.0 : 1.0) * static_cast<double>(age) / 1e6;
    if (watch.lastLoudFrame >= 0 && watch.framesRead - watch.lastLoudFrame >= watch.silenceFrames) {
        watch.done = true;
        pa_threaded_mainloop_signal(watch.loop, 0);
    }
}

void onReadable(pa_stream* stream, std::size_t, void* data) {
    auto& watch = *static_cast<Watch*>(data);
    const void* samples = nullptr;
    std::size_t bytes = 0;
    while (pa_stream_readable_size(stream) > 0 && pa_stream_peek(stream, &samples, &bytes) == 0 && bytes > 0) {
        const auto* frames = static_cast<const std::int16_t*>(samples);
        const auto count = static_cast<std::int64_t>(bytes / (kChannels * sizeof(std::int16_t)));
        for (std::int64_t frame = 0; samples && frame < count; ++frame) {
            if (std::abs(frames[frame * kChannels]) <= kSoundThreshold) continue;
            if (watch.firstLoudFrame < 0) watch.firstLoudFrame = watch.framesRead + frame;
            watch.lastLoudFrame = watch.framesRead + frame;
        }
        watch.framesRead += count;
        pa_stream_drop(stream);
    }
    if (!watch.timing) watch.timing = pa_stream_update_timing_info(stream, &onTiming, data);
}

void onStateChanged(pa_stream* stream, void* data) {
    auto& watch = *static_cast<Watch*>(data);
    if (!PA_STREAM_IS_GOOD(pa_stream_get_state(stream))) watch.failed = watch.done = true;
    pa_threaded_mainloop_signal(watch.loop, 0);
}

// The monitor of the default output. PipeWire takes "@DEFAULT_MONITOR@" for the default input
// when that is a monitor, as the test servers' microphone is.
void onServerInfo(pa_context*, const pa_server_info* info, void* data) {
    auto& watch = *static_cast<Watch*>(data);
    if (info && info->default_sink_name) watch.monitorName = std::string(info->default_sink_name) + ".monitor";
    pa_threaded_mainloop_signal(watch.loop, 0);
}

void onContextChanged(pa_context* context, void* data) {
    auto& watch = *static_cast<Watch*>(data);
    const pa_context_state_t state = pa_context_get_state(context);
    if (state == PA_CONTEXT_READY || !PA_CONTEXT_IS_GOOD(state)) pa_threaded_mainloop_signal(watch.loop, 0);
}

} // namespace

int main(int argc, char** argv) {
    Watch watch;
    watch.silenceFrames = (argc > 1 ? std::atoi(argv[1]) : 1000) * kRate / 1000;
    watch.loop = pa_threaded_mainloop_new();
    pa_context* context = pa_context_new(pa_threaded_mainloop_get_api(watch.loop), "sound-end-watch");
    pa_context_set_state_callback(context, &onContextChanged, &watch);
    pa_threaded_mainloop_lock(watch.loop);
    pa_threaded_mainloop_start(watch.loop);
    pa_context_connect(context, nullptr, PA_CONTEXT_NOAUTOSPAWN, nullptr);
    while (PA_CONTEXT_IS_GOOD(pa_context_get_state(context)) && pa_context_get_state(context) != PA_CONTEXT_READY)
        pa_threaded_mainloop_wait(watch.loop);
    if (pa_context_get_state(context) != PA_CONTEXT_READY) {
        std::fprintf(stderr, "sound-end-watch: no sound server\n");
        return EXIT_FAILURE;
    }
    pa_operation* asked = pa_context_get_server_info(context, &onServerInfo, &watch);
    while (pa_operation_get_state(asked) == PA_OPERATION_RUNNING)
        pa_threaded_mainloop_wait(watch.loop);
    pa_operation_unref(asked);
    if (watch.monitorName.empty()) {
        std::fprintf(stderr, "sound-end-watch: the server names no default output\n");
        return EXIT_FAILURE;
    }
    const pa_sample_spec format{PA_SAMPLE_S16LE, kRate, kChannels};
    pa_stream* stream = pa_stream_new(context, "monitor", &format, nullptr);
    pa_stream_set_state_callback(stream, &onStateChanged, &watch);
    pa_stream_set_read_callback(stream, &onReadable, &watch);
    constexpr auto unset = static_cast<std::uint32_t>(-1);
    const pa_buffer_attr buffer{unset, unset, unset, unset,
                                static_cast<std::uint32_t>(pa_usec_to_bytes(kBlockUsec, &format))};
    pa_stream_connect_record(stream, watch.monitorName.c_str(), &buffer, PA_STREAM_ADJUST_LATENCY);
    while (pa_stream_get_state(stream) == PA_STREAM_CREATING)
        pa_threaded_mainloop_wait(watch.loop);
    std::printf("listening\n");
    std::fflush(stdout);
    while (!watch.done)
        pa_threaded_mainloop_wait(watch.loop);
    pa_threaded_mainloop_unlock(watch.loop);
    pa_threaded_mainloop_stop(watch.loop);
    if (watch.failed) {
        std::fprintf(stderr, "sound-end-watch: the monitor stream failed\n");
        return EXIT_FAILURE;
    }
    const auto played = [&watch](std::int64_t frame) {
        return watch.timedFramePlayed + static_cast<double>(frame - watch.timedFrame) / kRate;
    };
    std::printf("%.6f %.6f\n", played(watch.lastLoudFrame), played(watch.firstLoudFrame));
    return EXIT_SUCCESS;
}
