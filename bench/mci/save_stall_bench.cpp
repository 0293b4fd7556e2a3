// The longest stall of the user-interface thread while a large take is saved to another file
// system as the panel saves it (the engine copies it on its worker and tells the end as an
// event), against the same save carried out on the user-interface thread itself ("save capture
// PATH" of the MCI command language). A 1 ms timer on the thread measures the stalls: the
// longest gap between two of its ticks. The takes are fed through the scripted backend, so no
// device is needed.
// usage: mci_bench_save_stall MIB TAKE_FOLDER TARGET_FOLDER
#include "bench/mci/recorded_take.h"
#include "bench/offscreen.h"
#include "engine/sound_engine.h"
#include "platform/mci/mci_string_service.h"
#include "platform/qt/qt_ui_thread.h"

#include <QApplication>
#include <QEventLoop>
#include <QTimer>

#include <sys/stat.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>

namespace {

using Clock = std::chrono::steady_clock;
using namespace murmora;

double millisecondsBetween(Clock::time_point from, Clock::time_point to) {
    return std::chrono::duration<double, std::milli>(to - from).count();
}

struct Saved {
    bool ok = false;
    double saveMs = 0;
    double longestStallMs = 0;
};

// Runs the event loop until `finished` is called, unless it was called already.
class Waiter {
public:
    void finished() {
        done_ = true;
        loop_.quit();
    }
    void wait() {
        if (!done_) loop_.exec();
        done_ = false;
    }

private:
    QEventLoop loop_;
    bool done_ = false;
};

// Starts a save with `start` while the 1 ms timer ticks, and waits for its end; the longest gap
// between ticks.
Saved timedSave(Waiter& waiter, const std::function<void()>& start) {
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
    const auto begin = Clock::now();
    last = begin;
    start();
    waiter.wait();
    const auto end = Clock::now();
    saved.saveMs = millisecondsBetween(begin, end);
    saved.longestStallMs = std::max(saved.longestStallMs, millisecondsBetween(last, end));
    return saved;
}

// `key` names the stall's figure for bench/run.
void print(long long mebibytes, const char* how, const char* key, const Saved& saved) {
    std::printf("save of %lld MiB to another file system on the %s: longest UI stall %.1f ms, save %.0f ms (%s)\n",
                mebibytes, how, saved.longestStallMs, saved.saveMs, saved.ok ? "saved" : "failed");
    std::printf("%s=%.1f\n", key, saved.longestStallMs);
}

// The panel's way: the engine on a worker, its end told as an event.
bool saveOnTheWorker(long long mebibytes, const std::filesystem::path& takes, const std::string& target) {
    auto backendOwner = std::make_unique<audio::ScriptedBackend>();
    audio::ScriptedBackend& backend = *backendOwner;
    qt::QtUiThread ui;
    audio::SoundEngine engine(std::move(backendOwner), takes, ui);
    Waiter waiter;
    bool ok = false;
    engine.setTakeHandlers({[&](const TakeEnd&) { waiter.finished(); },
                            [&](const SoundError& error) {
                                ok = !error;
                                waiter.finished();
                            },
                            {}});
    if (!engine.startTake("") || !bench::feedTake(backend, mebibytes)) return false;
    engine.stopTake();
    waiter.wait();
    Saved saved = timedSave(waiter, [&] { engine.saveTake(target, SaveFormat::wav); });
    saved.ok = ok;
    print(mebibytes, "worker", "save_stall_worker_ms", saved);
    return true;
}

// The same save on the user-interface thread.
bool saveOnTheUiThread(long long mebibytes, const std::filesystem::path& takes, const std::string& target) {
    auto backendOwner = std::make_unique<audio::ScriptedBackend>();
    audio::ScriptedBackend& backend = *backendOwner;
    mci::MciStringService service(std::move(backendOwner), takes);
    if (service.sendString("open new type waveaudio alias capture", nullptr, 0) != 0 ||
        service.sendString("record capture", nullptr, 0) != 0 || !bench::feedTake(backend, mebibytes) ||
        service.sendString("stop capture", nullptr, 0) != 0)
        return false;
    Waiter waiter;
    bool ok = false;
    Saved saved = timedSave(waiter, [&] {
        ok = service.sendString("save capture \"" + target + "\"", nullptr, 0) == 0;
        waiter.finished();
    });
    saved.ok = ok;
    print(mebibytes, "user-interface thread", "save_stall_ui_thread_ms", saved);
    return true;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 4) {
        std::fprintf(stderr, "usage: %s MEBIBYTES TAKE_FOLDER TARGET_FOLDER\n", argv[0]);
        return 2;
    }
    int qtArgc = 1;
    QApplication app(murmora::offscreenUnlessTold(qtArgc), argv);
    const long long mebibytes = std::atoll(argv[1]);
    const std::filesystem::path takes = argv[2], targets = argv[3];
    struct stat takeFolder {
    }, targetFolder{};
    if (stat(takes.c_str(), &takeFolder) != 0 || stat(targets.c_str(), &targetFolder) != 0 ||
        takeFolder.st_dev == targetFolder.st_dev)
        std::fprintf(stderr, "warning: %s and %s are not two file systems: the save is a rename\n", argv[2], argv[3]);
    const std::string target = (targets / "bench-saved-take.wav").string();
    for (const auto save : {&saveOnTheWorker, &saveOnTheUiThread}) {
        if (!save(mebibytes, takes, target)) {
            std::fprintf(stderr, "cannot record a take in %s\n", argv[2]);
            return 1;
        }
        std::filesystem::remove(target);
    }
    return 0;
}
