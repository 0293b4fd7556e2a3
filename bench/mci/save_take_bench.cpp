// How long "save capture PATH" takes for a large take on the same file system, and how long
// "stop capture" waits for the writer. The take is fed through the scripted backend as fast as
// the writer keeps up, so no device is needed.
// usage: mci_bench_save MIB FOLDER
#include "platform/audio/scripted_backend.h"
#include "platform/mci/mci_string_service.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;
using namespace murmora;

double millisecondsSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

int timed(mci::MciStringService& service, const std::string& command, double& milliseconds) {
    const auto start = Clock::now();
    const int result = service.SendString(command, nullptr, 0);
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
    if (service.SendString("open new type waveaudio alias capture", nullptr, 0) != 0 ||
        service.SendString("record capture", nullptr, 0) != 0) {
        std::fprintf(stderr, "cannot open a take in %s\n", folder.c_str());
        return 1;
    }
    const auto& recorder = dynamic_cast<const mci::CaptureDevice&>(*service.device("capture")).recorder();
    constexpr std::size_t kBlockFrames = 4410;
    std::vector<std::int16_t> block(kBlockFrames * 2, 1000);
    const long long frames = mebibytes * 1024 * 1024 / 4;
    const auto feedStart = Clock::now();
    for (long long fed = 0; fed < frames; fed += kBlockFrames) {
        // Keep the ring under half full, so that nothing is lost while the disk catches up.
        while (recorder.bufferedFrames() > recorder.ringCapacityFrames() / 2)
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        backend.deliverCapture(block);
    }
    double stopMs = 0, saveMs = 0, closeMs = 0;
    const int stopResult = timed(service, "stop capture", stopMs);
    const double feedSeconds = millisecondsSince(feedStart) / 1000.0;
    const long long lost = recorder.framesLost();
    const int saveResult = timed(service, "save capture " + target.string(), saveMs);
    const int closeResult = timed(service, "close capture", closeMs);
    const auto size = std::filesystem::file_size(target);
    std::printf("take: %.1f MiB written in %.1f s (%lld frames lost)\n", static_cast<double>(size) / (1 << 20),
                feedSeconds, lost);
    std::printf("stop capture: %.1f ms (result %d)\n", stopMs, stopResult);
    std::printf("save capture, same file system: %.2f ms (result %d)\n", saveMs, saveResult);
    std::printf("close capture: %.2f ms (result %d)\n", closeMs, closeResult);
    return 0;
}
