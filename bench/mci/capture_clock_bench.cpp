// Records from the default input with the engine's capture recorder while the calling thread
// stalls now and then, as a busy user interface does, and prints the frames lost and how the
// captured frames follow the wall clock.
// usage: mci_bench_clock [SECONDS=60] [STALL_SECONDS=3] [STALL_EVERY_SECONDS=10]
#include "engine/backends/backends.h"
#include "engine/capture_recorder.h"
#include "engine/take_file.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;
using namespace murmora;

double secondsSince(Clock::time_point start) { return std::chrono::duration<double>(Clock::now() - start).count(); }

struct Sample {
    double seconds;
    double frames;
};

// Least-squares slope of frames over seconds: the rate the device really delivers.
double slope(const std::vector<Sample>& samples) {
    double n = 0, st = 0, sf = 0, stt = 0, stf = 0;
    for (const Sample& s : samples) {
        n += 1;
        st += s.seconds;
        sf += s.frames;
        stt += s.seconds * s.seconds;
        stf += s.seconds * s.frames;
    }
    return (n * stf - st * sf) / (n * stt - st * st);
}

} // namespace

int main(int argc, char** argv) {
    const double seconds = argc > 1 ? std::atof(argv[1]) : 60;
    const double stallSeconds = argc > 2 ? std::atof(argv[2]) : 3;
    const double stallEvery = argc > 3 ? std::atof(argv[3]) : 10;
    const auto backend = audio::makeAudioBackend();
    auto opened = audio::CaptureRecorder::open(*backend, audio::defaultTakeFolder(), audio::StreamFormat{});
    if (!opened) {
        std::fprintf(stderr, "no input device: %s\n", opened.error().message().c_str());
        return 1;
    }
    audio::CaptureRecorder& recorder = **opened;
    const double rate = recorder.format().sampleRate;
    const auto start = Clock::now();
    if (const std::error_code error = recorder.record()) {
        std::fprintf(stderr, "the input does not record: %s\n", error.message().c_str());
        return 1;
    }
    std::vector<Sample> samples;
    double nextStall = stallEvery;
    int stalls = 0;
    while (secondsSince(start) < seconds) {
        if (secondsSince(start) >= nextStall) {
            std::this_thread::sleep_for(std::chrono::duration<double>(stallSeconds)); // the caller is busy
            nextStall += stallEvery;
            ++stalls;
        }
        if (secondsSince(start) > 1.0)
            samples.push_back({secondsSince(start), static_cast<double>(recorder.lengthFrames())});
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    static_cast<void>(recorder.stop());
    const double elapsed = secondsSince(start);
    const double frames = static_cast<double>(recorder.lengthFrames());
    const double measuredRate = slope(samples);
    std::printf("recorded %.1f s with %d stalls of %.1f s of the calling thread\n", elapsed, stalls, stallSeconds);
    std::printf("frames lost in the ring: %lld, device overflows: %lld\n",
                static_cast<long long>(recorder.framesLost()), static_cast<long long>(recorder.deviceOverflows()));
    std::printf("frames in the take: %.0f, wall clock x rate: %.0f (%+.3f%%, start-up latency included)\n", frames,
                elapsed * rate, 100.0 * (frames - elapsed * rate) / (elapsed * rate));
    std::printf("delivery rate after the first second: %.2f frames/s (%+.4f%% against %.0f)\n", measuredRate,
                100.0 * (measuredRate - rate) / rate, rate);
    std::printf("frames_lost=%lld\nframes_in_take=%.0f\ndelivery_rate=%.2f\nnominal_rate=%.0f\n",
                static_cast<long long>(recorder.framesLost()), frames, measuredRate, rate);
    return 0; // the take goes with the recorder
}
