// Plays FILE through the panel's Play button with the real sound engine, on the offscreen
// platform, until the engine tells the end of the playback, or for SECONDS when given (then the
// panel's Play is stopped as the record hotkey stops it). Prints, on one line:
//   CPU WALL END PRESS_WALL PRESS_CPU
// the CPU seconds the process used from the press of Play to the end, the wall seconds of it,
// the moment the panel heard of the end in seconds of the monotonic clock (0 when stopped), and
// the wall and CPU milliseconds of the press itself, in which the panel answers nothing else.
// Everything the action costs is in the process: the panel's event loop, and the engine's
// reader and device threads.
// usage: play-action-bench FILE.wav [SECONDS]
#include <sys/resource.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTest>
#include <QTimer>

#include "bench/bench_panel.h"
#include "bench/offscreen.h"
#include "playback/player.h"

namespace {

// The file a manual save would have chosen.
struct ChosenTake final : murmora::LatestTake {
    std::string path;
    std::string latestTakePath() const override { return path; }
};

// The panel's engine, which also tells `onEnded` when a playback has ended.
class EndWatch final : public murmora::PlaybackEngine {
public:
    EndWatch(murmora::PlaybackEngine& engine, std::function<void()> onEnded)
        : engine_(engine), onEnded_(std::move(onEnded)) {}
    void setPlaybackEndedHandler(std::function<void()> handler) override {
        engine_.setPlaybackEndedHandler([this, handler = std::move(handler)] {
            handler();
            onEnded_();
        });
    }
    murmora::Result<murmora::PlaybackLength, murmora::SoundError> openPlayback(const std::string& path) override {
        return engine_.openPlayback(path);
    }
    murmora::SoundError play() override { return engine_.play(); }
    void stopPlayback() override { engine_.stopPlayback(); }

private:
    murmora::PlaybackEngine& engine_;
    std::function<void()> onEnded_;
};

double cpuSeconds(int who = RUSAGE_SELF) {
    rusage usage{};
    getrusage(who, &usage);
    const auto seconds = [](const timeval& t) { return static_cast<double>(t.tv_sec) + t.tv_usec / 1e6; };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

} // namespace

double monotonicSeconds() {
    return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

int main(int argc, char* argv[]) {
    if (argc != 2 && argc != 3) {
        std::fprintf(stderr, "usage: %s FILE.wav [SECONDS]\n", argv[0]);
        return EXIT_FAILURE;
    }
    const int seconds = argc == 3 ? std::atoi(argv[2]) : 0;
    QApplication app(murmora::offscreenUnlessTold(argc), argv);
    murmora::BenchPanel bench;
    murmora::qt::QtPanel& panel = bench.panel;
    if (panel.start()) return 1;
    ChosenTake chosen;
    chosen.path = argv[1];
    // The panel's Play button, playing that file, on the panel's engine.
    QEventLoop playing;
    double endHeard = 0;
    EndWatch engine(bench.engine, [&playing, &endHeard] {
        endHeard = monotonicSeconds();
        playing.quit();
    });
    murmora::Player player({engine, panel.files, panel.messages, panel.panel.pictures, panel.screen},
                           {*panel.window.playButton, *panel.window.secondsLabel, *panel.window.sizeLabel}, chosen);
    // The panel is shown and painted, as it is long before anyone presses Play.
    if (!QTest::qWaitForWindowExposed(&panel.window)) return 1;
    QTest::qWait(500);

    QWidget* play = panel.window.playButton;
    const QPoint middle = play->rect().center();
    QTest::mousePress(play, Qt::LeftButton, {}, middle);
    QElapsedTimer wall;
    const double cpuBefore = cpuSeconds();
    const double panelCpuBefore = cpuSeconds(RUSAGE_THREAD);
    wall.start();
    QTest::mouseRelease(play, Qt::LeftButton, {}, middle); // the Play action: the playback starts
    const double pressWall = static_cast<double>(wall.nsecsElapsed()) / 1e6;
    const double pressCpu = 1000 * (cpuSeconds(RUSAGE_THREAD) - panelCpuBefore);
    if (!player.isPlaying()) {
        std::fprintf(stderr, "the Play action did not play %s\n", argv[1]);
        return EXIT_FAILURE;
    }
    if (seconds > 0)
        QTimer::singleShot(seconds * 1000, &playing, [&player, &playing] {
            player.stop();
            playing.quit();
        });
    playing.exec(); // the program's own event loop, until the engine tells the end
    const double cpu = cpuSeconds() - cpuBefore;
    std::printf("%.3f %.3f %.6f %.1f %.1f\n", cpu, static_cast<double>(wall.elapsed()) / 1000, endHeard, pressWall,
                pressCpu);
    return EXIT_SUCCESS;
}
