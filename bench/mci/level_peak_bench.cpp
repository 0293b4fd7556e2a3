// The level meter's own work in the capture path: the peak of every block of a take, timed
// in-process, so that it can be set against the CPU of a whole take.
// usage: mci_bench_level_peak [SECONDS=60]
#include "platform/level.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <numbers>
#include <vector>

namespace {

constexpr int kRate = 44100;
constexpr int kBlockFrames = kRate / 20; // a 50 ms fragment, as the sound server delivers them
constexpr int kRepeats = 50;             // the whole take again, for a figure well above the clock's step

double cpuSeconds() {
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) / 1e9;
}

} // namespace

int main(int argc, char* argv[]) {
    const int seconds = argc > 1 ? std::atoi(argv[1]) : 60;
    std::vector<std::int16_t> block; // stereo, the microphone's 440 Hz tone at -6 dBFS
    for (int frame = 0; frame < kBlockFrames; ++frame) {
        const auto value =
            static_cast<std::int16_t>(std::lround(16384 * std::sin(2 * std::numbers::pi * 440 * frame / kRate)));
        block.insert(block.end(), {value, value});
    }
    const long blocks = static_cast<long>(seconds) * kRate / kBlockFrames;
    long peaks = 0; // used, so that no block's peak is left out
    const double start = cpuSeconds();
    for (int repeat = 0; repeat < kRepeats; ++repeat)
        for (long i = 0; i < blocks; ++i) {
            block[0] = static_cast<std::int16_t>(i); // a block the compiler cannot know in advance
            peaks += murmora::samplePeak(block);
        }
    const double perTake = (cpuSeconds() - start) / kRepeats;
    std::printf("peak of every 50 ms block of a %d s take: %.3f ms CPU (%ld peaks summed to %ld)\n", seconds,
                perTake * 1000, blocks * kRepeats, peaks);
}
