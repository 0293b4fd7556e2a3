// How long "save capture PATH" takes for a large take on the same file system, and how long
// "stop capture" waits for the writer. The take is fed through the scripted backend as fast as
// the writer keeps up, so no device is needed.
// usage: mci_bench_save MIB FOLDER
#include "bench/mci/recorded_take.h"
#include "platform/mci/mci_string_service.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

namespace {

using Clock = std::chrono::steady_clock;
using namespace murmora;

double millisecondsSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

int timed(mci::MciStringService& service, const std::string& command, double& milliseconds) {
    const auto start = Clock::now();
    const int result = service.sendString(command, nullptr, 0);
    milliseconds = millisecondsSince(start);
    return result;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s MEBIBYTES FOLDER  (the saved take is left in FOLDER)\n", argv[0]);
        return 2;
    }
    const long long mebibytes = std::atoll(argv[1]);
    const std::filesystem::path folder = argv[2];
    const std::filesystem::path target = folder / "bench-saved-take.wav";
    auto backendOwner = std::make_unique<audio::ScriptedBackend>();
    audio::ScriptedBackend& backend = *backendOwner;
    mci::MciStringService service(std::move(backendOwner), folder);
    const auto feedStart = Clock::now();
    if (service.sendString("open new type waveaudio alias capture", nullptr, 0) != 0 ||
        service.sendString("record capture", nullptr, 0) != 0 || !bench::feedTake(backend, mebibytes)) {
        std::fprintf(stderr, "cannot record a take in %s\n", folder.c_str());
        return 1;
    }
    double stopMs = 0, saveMs = 0, closeMs = 0;
    const int stopResult = timed(service, "stop capture", stopMs);
    const double feedSeconds = millisecondsSince(feedStart) / 1000.0;
    const int saveResult = timed(service, "save capture " + target.string(), saveMs);
    const int closeResult = timed(service, "close capture", closeMs);
    const auto size = std::filesystem::file_size(target);
    std::printf("take: %.1f MiB written in %.1f s (%lld MiB fed)\n", static_cast<double>(size) / (1 << 20), feedSeconds,
                mebibytes);
    std::printf("stop capture: %.1f ms (result %d)\n", stopMs, stopResult);
    std::printf("save capture, same file system: %.2f ms (result %d)\nsave_ms=%.2f\n", saveMs, saveResult, saveMs);
    std::printf("close capture: %.2f ms (result %d)\n", closeMs, closeResult);
    return 0;
}
