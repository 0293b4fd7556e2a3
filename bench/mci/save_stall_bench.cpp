// The longest stall of the user-interface thread while "save capture PATH" copies a large take to
// another file system, as the panel sends it (the copy on a worker, the thread handling events),
// against the same save sent on the user-interface thread itself. A 1 ms timer on the thread
// measures the stalls: the longest gap between two of its ticks. The take is fed through the
// scripted backend, so no device is needed.
// usage: mci_bench_save_stall MIB TAKE_FOLDER TARGET_FOLDER
#include "bench/mci/recorded_take.h"
#include "platform/qt/background_save_mci.h"

#include <QApplication>
#include <QTimer>

#include <sys/stat.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

namespace {

using Clock = std::chrono::steady_clock;
using namespace murmora;

double millisecondsBetween(Clock::time_point from, Clock::time_point to) {
    return std::chrono::duration<double, std::milli>(to - from).count();
}

struct Saved {
    int result = -1;
    double saveMs = 0;
    double longestStallMs = 0;
};

// Sends the save through `mci` while the 1 ms timer ticks; the longest gap between ticks.
Saved timedSave(MciService& mci, const std::string& target) {
    Saved saved;
    QTimer ticker;
    ticker.setTimerType(Qt::PreciseTimer);
    auto last = Clock::now();
    QObject::connect(&ticker, &QTimer::timeout, [&] {
        const auto now = Clock::now();
        saved.longestStallMs = std::max(saved.longestStallMs, millisecondsBetween(last, now));
        last = now;
    });
    ticker.start(1);
    const auto start = Clock::now();
    last = start;
    saved.result = mci.sendString("save capture \"" + target + "\"", nullptr, 0);
    const auto end = Clock::now();
    saved.saveMs = millisecondsBetween(start, end);
    saved.longestStallMs = std::max(saved.longestStallMs, millisecondsBetween(last, end));
    return saved;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 4) {
        std::fprintf(stderr, "usage: %s MEBIBYTES TAKE_FOLDER TARGET_FOLDER\n", argv[0]);
        return 2;
    }
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    int qtArgc = 1;
    QApplication app(qtArgc, argv);
    const long long mebibytes = std::atoll(argv[1]);
    const std::filesystem::path takes = argv[2], targets = argv[3];
    struct stat takeFolder {
    }, targetFolder{};
    if (stat(takes.c_str(), &takeFolder) != 0 || stat(targets.c_str(), &targetFolder) != 0 ||
        takeFolder.st_dev == targetFolder.st_dev)
        std::fprintf(stderr, "warning: %s and %s are not two file systems: the save is a rename\n", argv[2], argv[3]);
    auto backendOwner = std::make_unique<audio::ScriptedBackend>();
    audio::ScriptedBackend& backend = *backendOwner;
    mci::MciStringService service(std::move(backendOwner), takes);
    BackgroundSaveMci panelMci(service);

    const struct {
        const char* how;
        MciService& mci;
    } runs[] = {{"worker", panelMci}, {"user-interface thread", service}};
    for (const auto& run : runs) {
        const std::string target = (targets / "bench-saved-take.wav").string();
        if (!bench::recordTake(service, backend, mebibytes) || service.sendString("stop capture", nullptr, 0) != 0) {
            std::fprintf(stderr, "cannot record a take in %s\n", argv[2]);
            return 1;
        }
        const Saved saved = timedSave(run.mci, target);
        service.sendString("close capture", nullptr, 0);
        std::filesystem::remove(target);
        std::printf("save of %lld MiB to another file system on the %s: longest UI stall %.1f ms, save %.0f ms "
                    "(result %d)\n",
                    mebibytes, run.how, saved.longestStallMs, saved.saveMs, saved.result);
    }
    return 0;
}
