// The longest stall of the panel's user-interface thread while a long take is encoded at its save,
// as the user saves it: the real Qt panel (offscreen) on the real engine, the format chosen in its
// settings, the take recorded through the scripted backend, Stop, a name typed into the save
// dialog, the progress window with its percentage, until "Recording saved as". A 1 ms timer on
// the thread measures the stalls: the longest gap between two of its ticks from the save dialog's
// answer to the confirmation.
// usage: encode-stall-bench flac|opus|mp3 MINUTES TAKE_FOLDER TARGET_FOLDER
#include "bench/bench_panel.h"
#include "bench/offscreen.h"
#include "engine/sound_engine.h"
#include "platform/qt/qt_ui_thread.h"
#include "tests/support/scripted_backend.h"

#include <QApplication>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QProgressDialog>
#include <QTimer>

#include <sndfile.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <numbers>
#include <thread>

namespace {

using namespace murmora;
using Steady = std::chrono::steady_clock;

constexpr int kRate = 44100;

double millisecondsBetween(Steady::time_point from, Steady::time_point to) {
    return std::chrono::duration<double, std::milli>(to - from).count();
}

class NoLeftovers final : public TakeFolder {
public:
    std::vector<LeftoverTake> leftovers() const override { return {}; }
    std::error_code recover(const LeftoverTake&, const std::string&) override {
        return std::make_error_code(std::errc::no_such_file_or_directory);
    }
};

// Feeds `minutes` of a 440 Hz tone over noise to the running capture stream, 25 times as fast as
// it plays: the take's writer empties the ring (6 s) every 200 ms, 5 s each time at this pace.
void feedTake(audio::ScriptedBackend& backend, int minutes, std::atomic<bool>& fed) {
    std::vector<std::int16_t> second(2 * kRate);
    unsigned noise = 1;
    for (int i = 0; i < kRate; ++i) {
        noise = noise * 1103515245 + 12345;
        const double tone = 12000 * std::sin(2 * std::numbers::pi * 440 * i / kRate);
        second[2 * i] = second[2 * i + 1] =
            static_cast<std::int16_t>(tone + static_cast<int>(noise >> 16) % 4000 - 2000);
    }
    constexpr auto kSecondEvery = std::chrono::milliseconds(40);
    auto next = Steady::now();
    for (int s = 0; s < minutes * 60; ++s) {
        while (!backend.deliverCapture(second))
            std::this_thread::sleep_for(std::chrono::milliseconds(5)); // the take starting
        next += kSecondEvery;
        std::this_thread::sleep_until(next);
    }
    fed = true;
}

} // namespace

int main(int argc, char** argv) {
    const std::map<std::string, std::pair<SaveFormat, const char*>> formats{
        {"flac", {SaveFormat::flac, "flac"}}, {"opus", {SaveFormat::opus, "opus"}}, {"mp3", {SaveFormat::mp3, "mp3"}}};
    const auto format = argc == 5 ? formats.find(argv[1]) : formats.end();
    if (format == formats.end()) {
        std::fprintf(stderr, "usage: %s flac|opus|mp3 MINUTES TAKE_FOLDER TARGET_FOLDER\n", argv[0]);
        return 2;
    }
    int qtArgc = 1;
    QApplication app(murmora::offscreenUnlessTold(qtArgc), argv);
    QApplication::setQuitOnLastWindowClosed(false);
    const int minutes = std::atoi(argv[2]);
    const std::string target = std::string(argv[4]) + "/bench-take." + format->second.second;

    auto backendOwner = std::make_unique<audio::ScriptedBackend>();
    audio::ScriptedBackend& backend = *backendOwner;
    qt::QtUiThread ui;
    audio::SoundEngine engine(std::move(backendOwner), argv[3], ui);
    NoLeftovers takes;
    GrantedHotkeys hotkeys;
    GivenSettings settings({"", format->second.first, ""});
    qt::QtPanel panel(engine, engine, takes, hotkeys, settings);
    if (const auto failure = panel.start()) {
        std::fprintf(stderr, "the panel did not start: %s\n", failure->c_str());
        return 1;
    }

    // The user's side: the take recorded, then Stop, the name typed, and the confirmation closed.
    std::atomic<bool> fed = false;
    std::thread feeder;
    QTimer::singleShot(100, [&] {
        panel.panel.recorder.onRecordHotkey();
        feeder = std::thread(feedTake, std::ref(backend), minutes, std::ref(fed));
    });
    Steady::time_point saveStart, lastTick, saveEnd;
    double longestStall = 0;
    double longestStallAt = 0; // seconds after the save began
    bool progressShown = false;
    int lastPercent = -1;
    QTimer ticker;
    ticker.setTimerType(Qt::PreciseTimer);
    QObject::connect(&ticker, &QTimer::timeout, [&] {
        const auto now = Steady::now();
        const double stall = millisecondsBetween(lastTick, now);
        if (saveStart != Steady::time_point{} && saveEnd == Steady::time_point{} && stall > longestStall) {
            longestStall = stall;
            longestStallAt = millisecondsBetween(saveStart, now) / 1000;
        }
        lastTick = now;
    });
    ticker.start(1);
    QTimer user;
    QObject::connect(&user, &QTimer::timeout, [&] {
        if (fed.exchange(false)) panel.panel.recorder.onStopHotkey();
        QWidget* modal = QApplication::activeModalWidget();
        if (auto* dialog = qobject_cast<QFileDialog*>(modal)) {
            // Typed as a user types it: the dialog may still be reading its folder.
            auto* name = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
            if (!name) return;
            name->setText(QString::fromStdString(target));
            saveStart = lastTick = Steady::now();
            static_cast<QDialog*>(dialog)->accept(); // as the Save button does
        } else if (auto* progress = qobject_cast<QProgressDialog*>(modal)) {
            progressShown = true;
            lastPercent = std::max(lastPercent, progress->value());
        } else if (auto* box = qobject_cast<QMessageBox*>(modal)) {
            saveEnd = Steady::now();
            SF_INFO info{};
            if (SNDFILE* saved = sf_open(target.c_str(), SFM_READ, &info)) sf_close(saved);
            std::printf("encoding a %d min take to %s as the panel saves it: longest panel stall %.1f ms (%.1f s in), "
                        "save %.1f s, "
                        "progress window %s (last seen at %d %%), the file holds %.2f min; \"%s\"\n",
                        minutes, format->first.c_str(), longestStall, longestStallAt,
                        millisecondsBetween(saveStart, saveEnd) / 1000, progressShown ? "shown" : "not shown",
                        lastPercent, static_cast<double>(info.frames) / std::max(info.samplerate, 1) / 60,
                        box->text().toStdString().c_str());
            std::printf("encode_stall_ms=%.1f\n", longestStall);
            box->accept();
            QApplication::exit(0);
        }
    });
    user.start(20);
    const int status = QApplication::exec();
    feeder.join();
    std::remove(target.c_str());
    return status;
}
